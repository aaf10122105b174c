#include "passwordpolicy.h"

#include "common/passwordcipher.h"
#include "platform/cp949.h"

namespace PasswordPolicy {

bool hasLongRun(const QString &password)
{
    const QByteArray bytes = Cp949::fromUnicode(password);
    int run = 1;
    for (qsizetype i = 1; i < bytes.size(); ++i) {
        run = bytes.at(i) == bytes.at(i - 1) ? run + 1 : 1;
        if (run > MaximumRun)
            return true;
    }
    return false;
}

Rule firstBrokenRule(const QString &password,
                     const QString &confirmation,
                     const QString &empNo,
                     const QString &previousPassword)
{
    if (password != confirmation)
        return Rule::ConfirmationDiffers;
    if (!refusedPasswordCharacter(password).isEmpty())
        return Rule::RefusedCharacter;
    if (password == empNo)
        return Rule::EqualsEmpNo;
    if (password == previousPassword)
        return Rule::EqualsPrevious;
    if (Cp949::byteLength(password) < MinimumBytes)
        return Rule::TooShort;
    if (hasLongRun(password))
        return Rule::RepeatedCharacter;
    return Rule::None;
}

} // namespace PasswordPolicy
