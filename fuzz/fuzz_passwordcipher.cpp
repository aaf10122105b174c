// The connection password cipher: every password the program accepts comes
// back from its stored form; any stored form either decodes to a password
// that round-trips or is refused.
#include "fuzzcheck.h"

#include "common/passwordcipher.h"
#include "platform/cp949.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (const QString &password :
         {Fuzz::utf16(data, size), QString::fromUtf8(Fuzz::bytes(data, size))}) {
        const QString stored = EncryptPassword(password, PasswordStartKey);
        FUZZ_CHECK(stored.size() == 64);
        if (refusedPasswordCharacter(password).isEmpty()
            && Cp949::byteLength(password) <= MaxStoredPasswordBytes)
            FUZZ_CHECK(DecryptPassword(stored, PasswordStartKey) == password);
    }

    // Stored forms: as given, and as 64 hexadecimal digits of the input.
    const QByteArray bytes = Fuzz::bytes(data, size);
    for (const QString &stored : {QString::fromLatin1(bytes.left(64)),
                                  QString::fromLatin1(bytes.left(32).toHex().toUpper())}) {
        const std::optional<QString> password = DecryptPassword(stored, PasswordStartKey);
        if (password) {
            FUZZ_CHECK(refusedPasswordCharacter(*password).isEmpty());
            FUZZ_CHECK(
                    DecryptPassword(EncryptPassword(*password, PasswordStartKey), PasswordStartKey)
                    == password);
        }
    }
    return 0;
}
