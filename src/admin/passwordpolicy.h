#pragma once

#include <QString>

/// The rules every new password typed by a user must pass, in the order they
/// are checked. Lengths and repeated characters count the bytes of the text in
/// cp949, as the suite's other programs do.
namespace PasswordPolicy {

enum class Rule {
    None, ///< every rule passes
    ConfirmationDiffers,
    RefusedCharacter, ///< NUL or a character cp949 cannot hold (see refusedPasswordCharacter)
    EqualsEmpNo,
    EqualsPrevious,
    TooShort,
    RepeatedCharacter,
};

constexpr int MinimumBytes = 5;
constexpr int MaximumRun = 3;

/// The first rule the password breaks (exact, case-sensitive text comparisons).
Rule firstBrokenRule(const QString &password,
                     const QString &confirmation,
                     const QString &empNo,
                     const QString &previousPassword);

/// True when some byte of the cp949 text repeats more than MaximumRun times in a row.
bool hasLongRun(const QString &password);

} // namespace PasswordPolicy
