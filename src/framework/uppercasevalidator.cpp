#include "uppercasevalidator.h"

QValidator::State UpperCaseValidator::validate(QString &input, int &position) const
{
    Q_UNUSED(position)
    input = input.toUpper();
    return Acceptable;
}
