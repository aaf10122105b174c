// kesa-password: the stored form of a database password, for deployment scripts.
//
//   kesa-password                 reads a password, prints its stored form
//   kesa-password --verify STORED reads a password; exit 0 when STORED holds
//                                 it, 1 when it holds another, 2 when STORED
//                                 cannot be decoded; 3 on wrong usage

#include "common/passwordcipher.h"
#include "platform/cp949.h"
#include "platform/secretinput.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

constexpr int ExitMatch = 0;
constexpr int ExitMismatch = 1;
constexpr int ExitUndecodable = 2;
constexpr int ExitUsage = 3;
constexpr int MaxPasswordBytes = MaxStoredPasswordBytes;

void printUsage(std::FILE *to)
{
    std::fputs("usage: kesa-password [--verify STORED]\n"
               "Reads a password from standard input (one line).\n"
               "Without arguments prints its stored form (64 hexadecimal digits).\n"
               "With --verify exits 0 when STORED holds the password, 1 when it holds\n"
               "another one, 2 when STORED cannot be decoded.\n"
               "Exits 3 on wrong usage, on no input, on a password longer than\n"
               "16 bytes (the stored form cannot hold it) and on a password with NUL\n"
               "or a character the code page cp949 cannot hold.\n",
               to);
}

std::optional<QString> readPassword()
{
    return readSecretLine("Password: ");
}

bool isHexDigits(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
               || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
               || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

int encrypt()
{
    const std::optional<QString> password = readPassword();
    if (!password) {
        std::fputs("kesa-password: no password on standard input\n", stderr);
        return ExitUsage;
    }
    // A password stored as '?' or cut to 16 bytes would lock every
    // workstation out without a word.
    if (const QString refused = refusedPasswordCharacter(*password); !refused.isEmpty()) {
        std::fprintf(stderr,
                     "kesa-password: the password cannot contain the character U+%04X "
                     "(NUL, or one the code page cp949 cannot hold)\n",
                     uint(refused.size() == 2 ? QChar::surrogateToUcs4(refused.at(0), refused.at(1))
                                              : refused.at(0).unicode()));
        return ExitUsage;
    }
    if (Cp949::byteLength(*password) > MaxPasswordBytes) {
        std::fprintf(stderr,
                     "kesa-password: the password takes %d bytes; at most %d can be stored\n",
                     Cp949::byteLength(*password),
                     MaxPasswordBytes);
        return ExitUsage;
    }
    std::printf("%s\n", qPrintable(EncryptPassword(*password, PasswordStartKey)));
    return 0;
}

int verify(const QString &stored)
{
    const std::optional<QString> decoded = DecryptPassword(stored, PasswordStartKey);
    if (!decoded) {
        if (stored.size() != 64 || !isHexDigits(stored))
            std::fputs("kesa-password: the stored value is not 64 hexadecimal digits\n", stderr);
        else
            std::fputs("kesa-password: the stored value does not decode to a password\n", stderr);
        return ExitUndecodable;
    }
    const std::optional<QString> password = readPassword();
    if (!password) {
        std::fputs("kesa-password: no password on standard input\n", stderr);
        return ExitUsage;
    }
    return *decoded == *password ? ExitMatch : ExitMismatch;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (argc == 1)
        return encrypt();
    if (argc == 2 && (first == QLatin1String("--help") || first == QLatin1String("-h"))) {
        printUsage(stdout);
        return 0;
    }
    if (argc == 3 && first == QLatin1String("--verify"))
        return verify(QString::fromLocal8Bit(argv[2]));
    printUsage(stderr);
    return ExitUsage;
}
