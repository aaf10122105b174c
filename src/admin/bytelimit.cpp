#include "bytelimit.h"

#include "platform/cp949.h"

#include <QLineEdit>
#include <QValidator>

namespace {

class ByteLengthValidator : public QValidator
{
public:
    ByteLengthValidator(int maxBytes, QObject *parent)
        : QValidator(parent)
        , m_maxBytes(maxBytes)
    {}

    State validate(QString &input, int &) const override
    {
        return Cp949::byteLength(input) <= m_maxBytes ? Acceptable : Invalid;
    }

private:
    int m_maxBytes;
};

} // namespace

void LimitTextBytes(QLineEdit *edit, int maxBytes)
{
    edit->setMaxLength(maxBytes);
    edit->setValidator(new ByteLengthValidator(maxBytes, edit));
}
