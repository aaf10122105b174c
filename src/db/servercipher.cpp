#include "servercipher.h"

#include <memory>
#include <openssl/evp.h>
#include <QByteArray>
#include <QCryptographicHash>

namespace ServerCipher {

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

QByteArray keyBytes(const QString &key)
{
    return QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).left(16);
}

std::optional<QByteArray> run(const QByteArray &input, const QString &key, bool encrypt)
{
    CipherContext ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!ctx)
        return std::nullopt;
    const QByteArray k = keyBytes(key);
    const unsigned char iv[16] = {};
    if (EVP_CipherInit_ex(ctx.get(),
                          EVP_aes_128_cbc(),
                          nullptr,
                          reinterpret_cast<const unsigned char *>(k.constData()),
                          iv,
                          encrypt ? 1 : 0)
        != 1)
        return std::nullopt;
    QByteArray out(input.size() + 32, Qt::Uninitialized);
    int written = 0;
    int last = 0;
    if (EVP_CipherUpdate(ctx.get(),
                         reinterpret_cast<unsigned char *>(out.data()),
                         &written,
                         reinterpret_cast<const unsigned char *>(input.constData()),
                         int(input.size()))
                != 1
        || EVP_CipherFinal_ex(ctx.get(),
                              reinterpret_cast<unsigned char *>(out.data()) + written,
                              &last)
                   != 1)
        return std::nullopt;
    out.truncate(written + last);
    return out;
}

} // namespace

QString encode(const QString &plain, const QString &key)
{
    const auto bytes = run(plain.toUtf8(), key, true);
    return bytes ? QString::fromLatin1(bytes->toHex().toUpper()) : QString();
}

std::optional<QString> decode(const QString &code, const QString &key)
{
    static const QString hexDigits = QStringLiteral("0123456789abcdefABCDEF");
    if (code.isEmpty() || code.size() % 32 != 0)
        return std::nullopt;
    for (const QChar c : code) {
        if (!hexDigits.contains(c))
            return std::nullopt;
    }
    const auto bytes = run(QByteArray::fromHex(code.toLatin1()), key, false);
    if (!bytes)
        return std::nullopt;
    const QString text = QString::fromUtf8(*bytes);
    if (text.toUtf8() != *bytes)
        return std::nullopt;
    return text;
}

} // namespace ServerCipher
