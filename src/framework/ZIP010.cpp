#include "ZIP010.h"

TfrmZIP010::TfrmZIP010(QWidget *parent)
    : TfrmZZI080(parent)
{
    setObjectName(QStringLiteral("frmZIP010"));
    setWindowTitle(QStringLiteral("frmZIP010"));
}
