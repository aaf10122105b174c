#include "testscreen.h"

#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

int TestScreen::destroyed = 0;
bool TestScreen::aliveAfterCloseTab = false;
QList<QString> TestScreen::closeOrder;

TestScreen::TestScreen(const QString &programId)
{
    setObjectName(QStringLiteral("frm") + programId);
    edtFirst = new QLineEdit(panMain);
    edtFirst->setObjectName(QStringLiteral("edtFirst"));
    addToMain(edtFirst);
    mainLayout()->addStretch();
}

TestScreen::~TestScreen()
{
    ++destroyed;
}

bool TestScreen::FormCloseQuery()
{
    closeOrder.append(programId());
    const QPointer<QWidget> self(this);
    const bool allowed = TfrmZZI000::FormCloseQuery();
    // The base asked the host to remove the tab; the guard only tells whether
    // the host destroyed the screen too early.
    aliveAfterCloseTab = !self.isNull();
    return allowed;
}

void TestScreen::resizeEvent(QResizeEvent *event)
{
    TfrmZZI000::resizeEvent(event);
    resizes.append(size());
}
