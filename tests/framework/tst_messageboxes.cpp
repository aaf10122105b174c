// The message boxes the program's message service shows: title, icon, buttons.
#include "framework/widgetmessageservice.h"

#include <QApplication>
#include <QInputDialog>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

struct Seen
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    Qt::WindowFlags flags;
    bool toolbarType = false;
};

// Reads the next modal box once it shows and closes it with the given button.
void closeNextBox(Seen &seen, QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, qApp, [&seen, answer] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            closeNextBox(seen, answer); // not shown yet
            return;
        }
        seen.title = box->windowTitle();
        seen.flags = box->windowFlags();
        seen.toolbarType = box->testAttribute(Qt::WA_X11NetWmWindowTypeToolBar);
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            seen.buttons.append(b->text().remove(QLatin1Char('&')));
        seen.buttons.sort();
        if (box->defaultButton())
            seen.defaultButton = box->defaultButton()->text().remove(QLatin1Char('&'));
        box->button(answer)->click();
    });
}

} // namespace

class TestMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void titledError();
    void titledYesNo_data();
    void titledYesNo();
    void plainMessage();
    void inputBox_data();
    void inputBox();

private:
    WidgetMessageService m_boxes;
};

void TestMessageBoxes::initTestCase()
{
    QApplication::setApplicationName(QStringLiteral("kesa_z"));
    MessageService::setInstance(&m_boxes);
    MessageService::setApplicationTitle(QStringLiteral("시스템 관리"));
}

void TestMessageBoxes::titledError()
{
    Seen seen;
    closeNextBox(seen, QMessageBox::Ok);
    MessageService::instance().titledError(QStringLiteral("보카 출력"),
                                           QStringLiteral("프린터 티켓이 없습니다.\r다시"));
    QCOMPARE(seen.title, QStringLiteral("보카 출력"));
    QCOMPARE(seen.text, QStringLiteral("프린터 티켓이 없습니다.\n다시"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, QStringList{"OK"});
    // A box is answered: no minimise or maximise button. The flags say so to
    // every window manager; Openbox reads only the window type.
    QVERIFY(!(seen.flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(seen.flags & Qt::WindowCloseButtonHint);
    QVERIFY(seen.toolbarType);
}

void TestMessageBoxes::titledYesNo_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("result");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("no") << int(QMessageBox::No) << false;
}

void TestMessageBoxes::titledYesNo()
{
    QFETCH(int, answer);
    QFETCH(bool, result);
    Seen seen;
    closeNextBox(seen, QMessageBox::StandardButton(answer));
    QCOMPARE(MessageService::instance().titledYesNo(QStringLiteral("보카 출력"),
                                                    QStringLiteral("계속 하시겠습니까?")),
             result);
    QCOMPARE(seen.title, QStringLiteral("보카 출력"));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons, (QStringList{"No", "Yes"}));
    QCOMPARE(seen.defaultButton, QStringLiteral("Yes"));
    QVERIFY(!(seen.flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(seen.toolbarType);
}

void TestMessageBoxes::plainMessage()
{
    Seen seen;
    closeNextBox(seen, QMessageBox::Ok);
    MessageService::instance().plainMessage(QStringLiteral("출력이 완료되었습니다."));
    QCOMPARE(seen.title, QStringLiteral("시스템 관리"));
    QCOMPARE(seen.text, QStringLiteral("출력이 완료되었습니다."));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QStringList{"OK"});
}

void TestMessageBoxes::inputBox_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("ok") << true;
    QTest::newRow("cancel") << false;
}

void TestMessageBoxes::inputBox()
{
    QFETCH(bool, accept);
    QString label;
    QString shownValue;
    bool toolbarType = false;
    bool fixedSize = false;
    QTimer::singleShot(0, qApp, [&] {
        auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        QVERIFY(box);
        label = box->labelText();
        shownValue = box->textValue();
        toolbarType = box->testAttribute(Qt::WA_X11NetWmWindowTypeToolBar);
        fixedSize = box->layout() && box->layout()->sizeConstraint() == QLayout::SetFixedSize;
        box->setTextValue(QStringLiteral("설날"));
        if (accept)
            box->accept();
        else
            box->reject();
    });
    QString value = QStringLiteral("추석");
    QCOMPARE(MessageService::instance().inputBox(QStringLiteral("휴일 등록"),
                                                 QStringLiteral("휴일명을\r입력하십시오."),
                                                 value),
             accept);
    QCOMPARE(label, QStringLiteral("휴일명을\n입력하십시오."));
    QCOMPARE(shownValue, QStringLiteral("추석"));
    // OK takes what was typed; Cancel leaves the value as it was.
    QCOMPARE(value, accept ? QStringLiteral("설날") : QStringLiteral("추석"));
    QVERIFY(toolbarType);
    QVERIFY(fixedSize);
}

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
