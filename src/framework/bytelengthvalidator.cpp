#include "bytelengthvalidator.h"

#include "platform/cp949.h"

ByteLengthValidator::ByteLengthValidator(int maxBytes, QObject *parent)
    : QValidator(parent)
    , m_maxBytes(maxBytes)
{}

QValidator::State ByteLengthValidator::validate(QString &input, int &) const
{
    return Cp949::byteLength(input) <= m_maxBytes ? Acceptable : Invalid;
}
