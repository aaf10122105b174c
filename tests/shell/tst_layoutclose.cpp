// Closing the coupon screen's and the ticket designer's tab (F12) with a
// layout changed since it was opened or saved: the edit screens' question, a
// save to the layout file, and a close that stops while the save does not
// complete.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "common/loginvalues.h"
#include "shell/Z0Main.h"

#include "framework/messagetexts.h"
#include "platform/inifile.h"
#include "tickets/ZXS090.h"
#include "tickets/ZXS095.h"
#include "tickets/couponlayout.h"
#include "tickets/ticketlayout.h"
#include "tickets/ticketpictures.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

enum class Start { New, Opened };
enum class Answer { None, No, YesToTheLayoutFile, YesToANamedFile, YesCancelled };

struct Screen
{
    QPointer<TfrmZZI000> widget;
    std::function<void()> change;
    /// What the layout file at `path` holds of the change (empty: not there).
    std::function<bool(const QString &path)> fileHasChange;
    std::function<void(const QString &path)> writeLayout;
};

Screen coupon(QWidget *widget)
{
    auto *screen = qobject_cast<TfrmZXS090 *>(widget);
    return {screen,
            [screen] { screen->prn(3)->setText(QStringLiteral("바뀐 줄")); },
            [](const QString &path) {
                const auto lines = CouponLayout::load(path);
                return lines && lines->size() > 2 && lines->at(2).text == QStringLiteral("바뀐 줄");
            },
            [](const QString &path) {
                QVERIFY(CouponLayout::save(path, {{QStringLiteral("첫 줄")}}));
            }};
}

Screen ticket(QWidget *widget)
{
    auto *screen = qobject_cast<TfrmZXS095 *>(widget);
    return {screen,
            [screen] {
                QTest::mouseClick(screen->btnPropertyLabel, Qt::LeftButton);
                screen->edtPropertyText->setText(QStringLiteral("CHANGED"));
            },
            [](const QString &path) {
                const auto layout = TicketLayout::load(path);
                return layout && !layout->labels.isEmpty()
                       && layout->labels.last().text == QStringLiteral("CHANGED");
            },
            [](const QString &path) {
                TicketDesign design;
                design.labels.append({QStringLiteral("Label1"), QStringLiteral("FIRST")});
                QVERIFY(TicketLayout::save(path, design));
            }};
}

} // namespace

Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(Answer)

class tst_LayoutClose : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void closeWithChanges_data();
    void closeWithChanges();

private:
    QTemporaryDir m_dir;
};

void tst_LayoutClose::initTestCase()
{
    TicketPictures::setFolder(m_dir.filePath(QStringLiteral("pictures")));
}

void tst_LayoutClose::closeWithChanges_data()
{
    QTest::addColumn<bool>("isTicket");
    QTest::addColumn<Start>("start");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("closes");
    for (const bool isTicket : {false, true}) {
        const char *id = isTicket ? "ZXS095 " : "ZXS090 ";
        const auto row = [id](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(QLatin1String(id) + QLatin1String(name)));
        };
        row("unchanged new: closes unasked")
                << isTicket << Start::New << false << Answer::None << true;
        row("unchanged opened: closes unasked")
                << isTicket << Start::Opened << false << Answer::None << true;
        row("changed, no: closes, file as it was")
                << isTicket << Start::Opened << true << Answer::No << true;
        row("changed, yes: saved to the opened file")
                << isTicket << Start::Opened << true << Answer::YesToTheLayoutFile << true;
        row("changed new, yes: saved to the file named")
                << isTicket << Start::New << true << Answer::YesToANamedFile << true;
        row("changed new, yes, name cancelled: stays")
                << isTicket << Start::New << true << Answer::YesCancelled << false;
    }
}

void tst_LayoutClose::closeWithChanges()
{
    QFETCH(bool, isTicket);
    QFETCH(Start, start);
    QFETCH(bool, changed);
    QFETCH(Answer, answer);
    QFETCH(bool, closes);

    KESA_TEST_DATABASE(tdb, QStringLiteral("sqlite"), TestDatabase::Demo);
    loginAs(QStringLiteral("A0001"), QStringLiteral("김관리"));
    login().dbUser = QStringLiteral("kesa");
    RecordingMessageService boxes;
    TfrmZ0Main window(tdb.db(), QStringLiteral("KESA_Z"));
    activate(&window);
    const QString id = QLatin1String(isTicket ? "ZXS095" : "ZXS090");
    QVERIFY(window.OpenProgram(id, id));
    Screen screen = isTicket ? ticket(window.tabScreen(0)) : coupon(window.tabScreen(0));
    QVERIFY(screen.widget);
    QTRY_VERIFY_WITH_TIMEOUT(screen.widget->isVisible(), PatienceMs);
    const QString layout = m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentDataTag()));
    const QString named = m_dir.filePath(
            QStringLiteral("named %1.ini").arg(QTest::currentDataTag()));
    if (start == Start::Opened) {
        screen.writeLayout(layout);
        boxes.fileNames = {layout};
        QTest::mouseClick(screen.widget->findChild<QPushButton *>(QStringLiteral("bbtOpen")),
                          Qt::LeftButton);
        QVERIFY(boxes.texts(RecordingMessageService::Error).isEmpty());
    }
    if (changed)
        screen.change();
    boxes.clear();
    boxes.answers = {answer != Answer::No};
    boxes.fileNames.clear();
    if (answer == Answer::YesToANamedFile)
        boxes.fileNames = {named};

    QTRY_VERIFY_WITH_TIMEOUT(QApplication::focusWidget(), PatienceMs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);

    const QStringList asked = boxes.texts(RecordingMessageService::Question);
    QCOMPARE(asked, changed ? QStringList{MessageText::closeQuestion()} : QStringList());
    // The opened layout is saved in place: no file dialog.
    QCOMPARE(boxes.texts(RecordingMessageService::SaveFile).size(),
             answer == Answer::YesToANamedFile || answer == Answer::YesCancelled ? 1 : 0);
    QVERIFY(boxes.texts(RecordingMessageService::Error).isEmpty());
    QCOMPARE(window.tabCount(), closes ? 0 : 1);
    if (closes)
        QTRY_VERIFY_WITH_TIMEOUT(!screen.widget, PatienceMs);
    if (start == Start::Opened)
        QCOMPARE(screen.fileHasChange(layout), answer == Answer::YesToTheLayoutFile);
    QCOMPARE(QFile::exists(named), answer == Answer::YesToANamedFile);
    if (answer == Answer::YesToANamedFile)
        QVERIFY(screen.fileHasChange(named));
}

QTEST_MAIN(tst_LayoutClose)
#include "tst_layoutclose.moc"
