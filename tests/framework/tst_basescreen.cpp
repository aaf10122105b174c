// The base screen: status bar, affiliation, focus colours, close protocol,
// button guard and the user-action guard. No database needed.
#include "recordingmessageservice.h"
#include "screentest.h"

#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/dberror.h"
#include "framework/ZZI020.h"
#include "framework/dbedit.h"
#include "framework/editcolour.h"
#include "framework/useraction.h"
#include "platform/inifile.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class CountingScreen : public TfrmZZI020
{
public:
    int adds = 0;
    void bbtAddClick() override
    {
        TfrmZZI020::bbtAddClick();
        ++adds;
    }
};

} // namespace

class tst_BaseScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void statusPanels();
    void affiliation_data();
    void affiliation();
    void focusColours();
    void closeProtocol();
    void guardStopsHiddenAndDisabledButtons();
    void userActionGuard_data();
    void userActionGuard();

private:
    QTemporaryDir m_programDir;
};

void tst_BaseScreen::initTestCase()
{
    QVERIFY(m_programDir.isValid());
    login().programDir = m_programDir.path() + QLatin1Char('/');
    login().empName = QStringLiteral("홍길동");
}

void tst_BaseScreen::statusPanels()
{
    TfrmZZI000 screen;
    screen.setObjectName(QStringLiteral("frmZXB000"));
    screen.ensureCreated();
    QCOMPARE(screen.statusPanel(0)->text(), QStringLiteral("ZXB000"));
    QCOMPARE(screen.statusPanel(2)->text(), QStringLiteral("사용자 : 홍길동"));
    const QFontMetrics metrics(screen.font());
    QCOMPARE(screen.statusPanel(0)->width(),
             metrics.horizontalAdvance(QStringLiteral("ZXB000")) + 20);
    // The message panel takes the room the others leave, and no more: it ends
    // where the user panel begins.
    screen.resize(1008, 600);
    screen.show();
    QTRY_VERIFY_WITH_TIMEOUT(screen.statusPanel(1)->width() > 800, PatienceMs);
    QVERIFY(screen.statusPanel(1)->geometry().right() < screen.statusPanel(2)->x());
    QVERIFY(screen.statusPanel(1)->width()
            <= screen.width() - screen.statusPanel(0)->width() - screen.statusPanel(2)->width());

    // A message wider than the screen is cut, never widens the window, and
    // is whole in the panel's tip.
    const QSize shown = screen.size();
    const QString wide = QStringLiteral("출력 여부를 직접 확인할 번호: 0000000001").repeated(8);
    screen.ShowStatusMessage(wide);
    QCoreApplication::processEvents();
    QCOMPARE(screen.size(), shown);
    QVERIFY(screen.statusPanel(1)->geometry().right() < screen.statusPanel(2)->x());
    QCOMPARE(screen.statusPanel(1)->toolTip(), wide);

    screen.ShowStatusMessage(QStringLiteral("조회할 내용이 없습니다."));
    QCOMPARE(screen.statusMessage(), QStringLiteral("조회할 내용이 없습니다."));
    screen.ShowStatusMessage(QString());
    QVERIFY(screen.statusMessage().isEmpty());
}

void tst_BaseScreen::affiliation_data()
{
    QTest::addColumn<QString>("type"); // empty: no INI file at all
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("business site") << "1"
                                   << "본점"
                                   << "사업장 - 본점";
    QTest::newRow("team") << "2"
                          << "기획팀"
                          << "팀 - 기획팀";
    QTest::newRow("sales outlet") << "3"
                                  << "식당"
                                  << "영업장 - 식당";
    QTest::newRow("team without name") << "2"
                                       << ""
                                       << "";
    QTest::newRow("other type") << "4"
                                << "본점"
                                << "";
    QTest::newRow("no file") << ""
                             << ""
                             << "";
}

void tst_BaseScreen::affiliation()
{
    QFETCH(QString, type);
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QFile::remove(TfrmZZI000::programIniPath());
    if (!type.isEmpty()) {
        IniFile ini(TfrmZZI000::programIniPath());
        QVERIFY(ini.writeString(QStringLiteral("Role"), QStringLiteral("Type"), type));
        QVERIFY(ini.writeString(QStringLiteral("Role"),
                                QStringLiteral("Code"),
                                QStringLiteral("C1")));
        QVERIFY(ini.writeString(QStringLiteral("Role"), QStringLiteral("Name"), name));
    }
    TfrmZZI000 screen;
    screen.ensureCreated();
    QCOMPARE(screen.statusPanel(3)->text(), shown);
    if (shown.isEmpty())
        QCOMPARE(screen.statusPanel(3)->width(), 0);
    else
        QCOMPARE(screen.statusPanel(3)->width(),
                 QFontMetrics(screen.font()).horizontalAdvance(shown) + 20);
}

void tst_BaseScreen::focusColours()
{
    TfrmZZI000 screen;
    auto *readOnly = new QLineEdit(screen.panMain);
    readOnly->setReadOnly(true);
    auto *plain = new QLineEdit(screen.panMain);
    auto *combo = new QComboBox(screen.panMain);
    auto *memo = new QPlainTextEdit(screen.panMain);
    memo->setReadOnly(true);
    auto *bound = new DbEdit(screen.panMain);
    const QColor boundColour = EditColour::colourOf(bound);
    for (QWidget *w : {static_cast<QWidget *>(readOnly),
                       static_cast<QWidget *>(plain),
                       static_cast<QWidget *>(combo),
                       static_cast<QWidget *>(memo),
                       static_cast<QWidget *>(bound)})
        screen.panMain->layout()->addWidget(w);
    screen.attachFocusColours({readOnly, plain, combo, memo, bound});
    screen.ensureCreated();
    activate(&screen);

    struct Case
    {
        QWidget *control;
        QColor entered;
        QColor left;
    };
    const QList<Case> cases = {
            {readOnly, EditColour::readOnly(), EditColour::readOnly()},
            {plain, EditColour::focus(), EditColour::normal()},
            {combo, EditColour::focus(), EditColour::normal()},
            {memo, EditColour::readOnly(), EditColour::readOnly()},
            {bound, boundColour, boundColour}, // data-aware fields keep their colour
    };
    for (const Case &c : cases) {
        c.control->setFocus();
        QCOMPARE(EditColour::colourOf(c.control), c.entered);
        screen.bbtClose->setFocus();
        QCOMPARE(EditColour::colourOf(c.control), c.left);
    }
    // A disabled box looks disabled, whatever colour it has while enabled.
    plain->setEnabled(false);
    QCOMPARE(plain->palette().color(QPalette::Disabled, QPalette::Base),
             QApplication::palette().color(QPalette::Disabled, QPalette::Base));
}

void tst_BaseScreen::closeProtocol()
{
    RecordingMessageService boxes;
    TestHost host;

    // Embedded: the close button and the host's close request both end in the
    // close-tab request; the screen never frees itself.
    QWidget page;
    QPointer<TfrmZZI000> embedded = new TfrmZZI000(&page);
    embedded->ensureCreated();
    activate(&page);
    QVERIFY(!embedded->hasBorder());
    QTest::mouseClick(embedded->bbtClose, Qt::LeftButton);
    QCOMPARE(host.closes, 1);
    QVERIFY(!embedded->close());
    QCOMPARE(host.closes, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(embedded);

    embedded->RequestOpenProgram(QStringLiteral("공통코드 등록"), QStringLiteral("ZXI010"));
    QCOMPARE(host.opened,
             (QList<QPair<QString, QString>>{
                     {QStringLiteral("공통코드 등록"), QStringLiteral("ZXI010")}}));

    // A window of its own closes normally and is freed.
    QPointer<TfrmZZI000> window = new TfrmZZI000;
    window->ensureCreated();
    activate(window);
    QVERIFY(window->hasBorder());
    QTest::mouseClick(window->bbtClose, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);
    QCOMPARE(host.closes, 2);
    QVERIFY(boxes.entries.isEmpty());
}

void tst_BaseScreen::guardStopsHiddenAndDisabledButtons()
{
    RecordingMessageService boxes;
    QWidget page; // the screen's tab: hot keys work while the focus is inside it
    auto *screen = new CountingScreen;
    screen->setParent(&page);
    screen->ensureCreated();
    activate(&page);
    screen->SetSearchMode(false);
    screen->panMain->setFocus();

    screen->ShowStatusMessage(QStringLiteral("이전 메시지"));
    screen->bbtAdd->hide();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    QCOMPARE(screen->adds, 0); // the base handler aborted: the derived one did not go on
    QVERIFY(screen->statusMessage().isEmpty());

    screen->bbtAdd->show();
    screen->bbtAdd->setEnabled(false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    QCOMPARE(screen->adds, 0);

    screen->bbtAdd->setEnabled(true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    QCOMPARE(screen->adds, 1);
    QTest::mouseClick(screen->bbtAdd, Qt::LeftButton);
    QCOMPARE(screen->adds, 2);
    QVERIFY(boxes.entries.isEmpty());
}

void tst_BaseScreen::userActionGuard_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("silent abort") << 0 << QStringList();
    QTest::newRow("database error") << 1 << QStringList{QStringLiteral("서버 메시지 (XX000)")};
    QTest::newRow("other failure") << 2 << QStringList{QStringLiteral("boom")};
    QTest::newRow("success") << 3 << QStringList();
}

void tst_BaseScreen::userActionGuard()
{
    QFETCH(int, kind);
    QFETCH(QStringList, shown);
    RecordingMessageService boxes;
    bool finished = false;
    RunUserAction([&] {
        switch (kind) {
        case 0:
            Abort();
        case 1:
            throw DbError(QStringLiteral("서버 메시지 (XX000)"), QStringLiteral("XX000"));
        case 2:
            throw std::runtime_error("boom");
        default:
            finished = true;
        }
    });
    QCOMPARE(boxes.texts(RecordingMessageService::Error), shown);
    QCOMPARE(finished, kind == 3);
}

QTEST_MAIN(tst_BaseScreen)
#include "tst_basescreen.moc"
