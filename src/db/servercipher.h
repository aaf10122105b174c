#pragma once

#include <optional>
#include <QString>

/// The reversible password encoding behind FN_ZA010MS_01/02: AES-128-CBC with a
/// zero IV and PKCS#7 padding, the key being the first 16 bytes of SHA-256 of
/// the key text, the result in upper-case hexadecimal. pgcrypto's
/// encrypt(..., 'aes') computes the same, so both engines store equal codes.
namespace ServerCipher {

/// An empty text when the cipher cannot be had (libcrypto missing): a code is
/// never empty otherwise.
QString encode(const QString &plain, const QString &key);
/// nullopt when the code is not hexadecimal or does not decrypt.
std::optional<QString> decode(const QString &code, const QString &key);

} // namespace ServerCipher
