#include "ZZH010.h"

#include "messagetexts.h"
#include "useraction.h"

#include "common/silentabort.h"

#include <QAction>
#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

TfrmZZH010::TfrmZZH010(QWidget *owner)
    : TfrmZZH000(owner)
{
    setObjectName(QStringLiteral("frmZZH010"));

    createSearchArea(*this, [this] { bbtSearchClick(); });
}

void TfrmZZH010::bbtSearchClick()
{
    if (!isUsable(bbtSearch))
        Abort();
}
