#include "bytelimit.h"

#include "framework/bytelengthvalidator.h"

#include <QLineEdit>

void LimitTextBytes(QLineEdit *edit, int maxBytes)
{
    edit->setMaxLength(maxBytes);
    edit->setValidator(new ByteLengthValidator(maxBytes, edit));
}
