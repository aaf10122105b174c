#include "codes/ZXB000.h"
#include "common/passwordcipher.h"
#include "platform/cp949.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// QTest::keyClicks only knows Latin-1 keys; Hangul arrives as key events with text.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class tst_ZXB000 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void encryptsTheTypedPassword();
    void enterEncryptsAndAChangeClearsTheResult();
    void buttonFitsItsCaptionAndNothingTouches();
    void resultIsReadOnlyButSelectable();
    void entryStopsAtSixteenBytes_data();
    void entryStopsAtSixteenBytes();
    void refusesWhatCannotBeStored();

private:
    TfrmZXB000 *m_screen = nullptr;
};

void tst_ZXB000::init()
{
    m_screen = new TfrmZXB000;
    m_screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_screen));
    m_screen->activateWindow();
}

void tst_ZXB000::cleanup()
{
    delete m_screen;
    m_screen = nullptr;
}

void tst_ZXB000::encryptsTheTypedPassword()
{
    QCOMPARE(m_screen->statusPanel(0)->text(), QStringLiteral("ZXB000"));
    auto *input = m_screen->findChild<QLineEdit *>(QStringLiteral("edtDBPassword"));
    auto *output = m_screen->findChild<QLineEdit *>(QStringLiteral("edtEncDBPassword"));
    auto *button = m_screen->findChild<QPushButton *>(QStringLiteral("btnDBPassword"));
    QVERIFY(input && output && button);

    input->setFocus();
    typeText(input, QStringLiteral("Ks'pw;한글"));
    QTest::mouseClick(button, Qt::LeftButton);
    const QString first = output->text();
    QCOMPARE(first.size(), 64);
    QCOMPARE(DecryptPassword(first, PasswordStartKey), QStringLiteral("Ks'pw;한글"));
    QCOMPARE(QApplication::focusWidget(), input);

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(output->text(), first);
}

void tst_ZXB000::enterEncryptsAndAChangeClearsTheResult()
{
    auto *input = m_screen->edtDBPassword;
    auto *output = m_screen->edtEncDBPassword;
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("secret"));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(DecryptPassword(output->text(), PasswordStartKey), QStringLiteral("secret"));

    // An old result never stands beside another password.
    QTest::keyClick(input, Qt::Key_Backspace);
    QVERIFY(output->text().isEmpty());
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(DecryptPassword(output->text(), PasswordStartKey), QStringLiteral("secre"));

    // The button with an empty password changes nothing.
    input->clear();
    m_screen->btnDBPasswordClick();
    QVERIFY(output->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), input);
}

void tst_ZXB000::buttonFitsItsCaptionAndNothingTouches()
{
    auto *button = m_screen->btnDBPassword;
    QVERIFY(button->width() >= button->fontMetrics().horizontalAdvance(button->text()) + 16);
    QVERIFY(button->x() >= m_screen->edtDBPassword->geometry().right() + 6);
    QVERIFY(m_screen->lblDBPasswordLimit->x() >= button->geometry().right() + 6);
}

void tst_ZXB000::resultIsReadOnlyButSelectable()
{
    auto *output = m_screen->findChild<QLineEdit *>(QStringLiteral("edtEncDBPassword"));
    m_screen->edtDBPassword->setText(QStringLiteral("secret"));
    m_screen->btnDBPasswordClick();
    const QString shown = output->text();
    output->setFocus();
    QTest::keyClicks(output, QStringLiteral("xyz"));
    QCOMPARE(output->text(), shown);
    output->selectAll();
    QCOMPARE(output->selectedText(), shown);
}

void tst_ZXB000::entryStopsAtSixteenBytes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("warned");

    QTest::newRow("sixteen ASCII") << QString(16, 'a') << QString(16, 'a') << false;
    QTest::newRow("seventeen ASCII") << QString(17, 'a') << QString(16, 'a') << false;
    QTest::newRow("eight Hangul") << QString(8, QChar(0xD55C)) << QString(8, QChar(0xD55C))
                                  << false;
    QTest::newRow("nine Hangul") << QString(9, QChar(0xD55C)) << QString(8, QChar(0xD55C)) << true;
    QTest::newRow("odd byte before Hangul")
            << QStringLiteral("a") + QString(8, QChar(0xD55C))
            << QStringLiteral("a") + QString(7, QChar(0xD55C)) << true;
}

void tst_ZXB000::entryStopsAtSixteenBytes()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(bool, warned);

    auto *input = m_screen->edtDBPassword;
    input->setFocus();
    typeText(input, typed);
    QCOMPARE(input->text(), kept);
    QVERIFY(Cp949::byteLength(input->text()) <= TfrmZXB000::MaxPasswordBytes);
    QCOMPARE(!m_screen->statusMessage().isEmpty(), warned);
}

void tst_ZXB000::refusesWhatCannotBeStored()
{
    // 'é' and '😀' would both be stored as '?': the same stored form for two
    // passwords, neither of which opens the database.
    m_screen->edtDBPassword->setText(QStringLiteral("secret"));
    m_screen->btnDBPasswordClick();
    m_screen->edtDBPassword->setText(QStringLiteral("caf\u00E9"));
    m_screen->btnDBPasswordClick();
    QVERIFY(m_screen->edtEncDBPassword->text().isEmpty());
    QCOMPARE(m_screen->statusPanel(1)->text(),
             QStringLiteral("암호에 사용할 수 없는 문자가 있습니다: 'é' (U+00E9)"));
    QCOMPARE(QApplication::focusWidget(), m_screen->edtDBPassword);
}

QTEST_MAIN(tst_ZXB000)
#include "tst_ZXB000.moc"
