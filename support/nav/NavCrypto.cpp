#include "support/nav/NavCrypto.h"

#include <openssl/evp.h>

#include <memory>

#include "foundation/RuleError.h"

namespace kavina::nav {

namespace {

QString digestHex(const EVP_MD* md, const QByteArray& data) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data.constData(), static_cast<size_t>(data.size()), out, &length, md, nullptr) != 1)
        throw RuleError(QStringLiteral("A kivonat nem számítható ki."));
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(length)).toHex())
        .toUpper();
}

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

QByteArray runCipher(const QByteArray& input, const QByteArray& key, bool encrypt) {
    if (key.size() != 16) throw RuleError(QStringLiteral("A cserekulcs nem 16 karakteres."));
    CipherContext ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    const auto* k = reinterpret_cast<const unsigned char*>(key.constData());
    if (!ctx || EVP_CipherInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, k, nullptr, encrypt ? 1 : 0) != 1)
        throw RuleError(QStringLiteral("A titkosítás nem indítható."));
    QByteArray out(input.size() + 16, '\0');
    int written = 0;
    int last = 0;
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    const bool ok = EVP_CipherUpdate(ctx.get(), o, &written, reinterpret_cast<const unsigned char*>(input.constData()),
                                     static_cast<int>(input.size())) == 1 &&
                    EVP_CipherFinal_ex(ctx.get(), o + written, &last) == 1;
    if (!ok) throw RuleError(QStringLiteral("A cseretoken nem fejthető vissza a cserekulccsal."));
    out.truncate(written + last);
    return out;
}

}  // namespace

QString sha512Hex(const QByteArray& data) {
    return digestHex(EVP_sha512(), data);
}

QString sha3_512Hex(const QByteArray& data) {
    return digestHex(EVP_sha3_512(), data);
}

QString requestTimestamp(const QDateTime& when) {
    return when.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QString requestSignature(const QString& requestId, const QString& timestamp, const QString& signingKey,
                         const std::vector<SignedOperation>& operations) {
    // Only the seconds are signed: milliseconds, separators and the zone letter are left out.
    const QDateTime when = QDateTime::fromString(timestamp, Qt::ISODateWithMs);
    if (!when.isValid()) throw RuleError(QStringLiteral("Hibás kérés időpont: %1").arg(timestamp));
    QString partial = requestId + when.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")) + signingKey;
    for (const SignedOperation& op : operations) partial += sha3_512Hex(op.operation.toUtf8() + op.base64Data);
    return sha3_512Hex(partial.toUtf8());
}

QByteArray aes128EcbEncrypt(const QByteArray& plain, const QByteArray& key) {
    return runCipher(plain, key, true);
}

QByteArray aes128EcbDecrypt(const QByteArray& cipher, const QByteArray& key) {
    return runCipher(cipher, key, false);
}

QString decodeExchangeToken(const QByteArray& encodedToken, const QString& exchangeKey) {
    const auto decoded =
        QByteArray::fromBase64Encoding(encodedToken.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) throw RuleError(QStringLiteral("A cseretoken nem olvasható."));
    return QString::fromUtf8(aes128EcbDecrypt(*decoded, exchangeKey.toUtf8()));
}

}  // namespace kavina::nav
