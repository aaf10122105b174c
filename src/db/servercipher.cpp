#include "servercipher.h"

#include <dlfcn.h>
#include <memory>
#include <openssl/evp.h>
#include <type_traits>
#include <QByteArray>
#include <QCryptographicHash>

namespace ServerCipher {

namespace {

// libcrypto's cipher functions, looked up when a password is first encoded or
// decoded, so that a start that never does so does not load the library.
// Without the library nothing encodes or decodes (the callers refuse).
struct Crypto
{
    decltype(&EVP_CIPHER_CTX_new) contextNew = nullptr;
    decltype(&EVP_CIPHER_CTX_free) contextFree = nullptr;
    decltype(&EVP_aes_128_cbc) aes128cbc = nullptr;
    decltype(&EVP_CipherInit_ex) init = nullptr;
    decltype(&EVP_CipherUpdate) update = nullptr;
    decltype(&EVP_CipherFinal_ex) finish = nullptr;

    bool loaded() const
    {
        return contextNew && contextFree && aes128cbc && init && update && finish;
    }
};

const Crypto &crypto()
{
    static const Crypto functions = [] {
        Crypto c;
        void *library = dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return c;
        const auto find = [library](auto &pointer, const char *name) {
            pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
                    dlsym(library, name));
        };
        find(c.contextNew, "EVP_CIPHER_CTX_new");
        find(c.contextFree, "EVP_CIPHER_CTX_free");
        find(c.aes128cbc, "EVP_aes_128_cbc");
        find(c.init, "EVP_CipherInit_ex");
        find(c.update, "EVP_CipherUpdate");
        find(c.finish, "EVP_CipherFinal_ex");
        return c;
    }();
    return functions;
}

QByteArray keyBytes(const QString &key)
{
    return QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).left(16);
}

std::optional<QByteArray> run(const QByteArray &input, const QString &key, bool encrypt)
{
    const Crypto &c = crypto();
    if (!c.loaded())
        return std::nullopt;
    std::unique_ptr<EVP_CIPHER_CTX, decltype(c.contextFree)> ctx(c.contextNew(), c.contextFree);
    if (!ctx)
        return std::nullopt;
    const QByteArray k = keyBytes(key);
    const unsigned char iv[16] = {};
    if (c.init(ctx.get(),
               c.aes128cbc(),
               nullptr,
               reinterpret_cast<const unsigned char *>(k.constData()),
               iv,
               encrypt ? 1 : 0)
        != 1)
        return std::nullopt;
    QByteArray out(input.size() + 32, Qt::Uninitialized);
    int written = 0;
    int last = 0;
    if (c.update(ctx.get(),
                 reinterpret_cast<unsigned char *>(out.data()),
                 &written,
                 reinterpret_cast<const unsigned char *>(input.constData()),
                 int(input.size()))
                != 1
        || c.finish(ctx.get(), reinterpret_cast<unsigned char *>(out.data()) + written, &last) != 1)
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
