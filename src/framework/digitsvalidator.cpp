#include "digitsvalidator.h"

#include <QLineEdit>

DigitsValidator::DigitsValidator(int minimum, int maximum, QObject *parent)
    : QValidator(parent)
    , m_minimum(minimum)
    , m_maximum(maximum)
{}

int DigitsValidator::maxDigits() const
{
    return int(QString::number(m_maximum).size());
}

QValidator::State DigitsValidator::validate(QString &input, int &) const
{
    if (input.isEmpty())
        return Intermediate;
    if (input.size() > maxDigits())
        return Invalid;
    for (const QChar c : std::as_const(input)) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) // not QChar::isDigit: no other scripts
            return Invalid;
    }
    const int value = input.toInt();
    if (value > m_maximum)
        return Invalid;
    return value < m_minimum ? Intermediate : Acceptable;
}

DigitsValidator *DigitsValidator::apply(QLineEdit *field, int minimum, int maximum)
{
    auto *validator = new DigitsValidator(minimum, maximum, field);
    field->setValidator(validator);
    field->setMaxLength(validator->maxDigits());
    return validator;
}
