#include "testscreen.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

#include "framework/screenhost.h"

int TestScreen::destroyed = 0;
bool TestScreen::aliveAfterCloseTab = false;
QList<QString> TestScreen::closeOrder;

TestScreen::TestScreen(const QString &id)
    : programId(id)
{
    setObjectName(QStringLiteral("frm") + id);
    setWindowTitle(id);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("화면 ") + id, this));
    edtFirst = new QLineEdit(this);
    edtFirst->setObjectName(QStringLiteral("edtFirst"));
    layout->addWidget(edtFirst);
    layout->addStretch();
}

TestScreen::~TestScreen()
{
    ++destroyed;
}

void TestScreen::closeEvent(QCloseEvent *event)
{
    ++closeRequests;
    closeOrder.append(programId);
    event->ignore();
    const QPointer<QWidget> self(this);
    ScreenHost::current()->closeActiveTab();
    // Nothing of the screen is used after the host has been told; the guard
    // only tells whether the host destroyed it too early.
    aliveAfterCloseTab = !self.isNull();
}

void TestScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    resizes.append(size());
}
