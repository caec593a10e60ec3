#pragma once
// The hashes and the cipher of the exchange with the tax authority. Every hash the authority
// compares is upper-case hexadecimal: it refuses lower-case ones.
//
//  - the password travels only as its SHA-512;
//  - each request is signed with SHA3-512 over its id, its UTC time (to the second, without
//    separators) and the signing key; a manageInvoice request also covers every invoice data it
//    carries, each hashed over its operation and its base64 text exactly as sent;
//  - the exchange token comes back AES-128-ECB encrypted with the exchange key.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

namespace kavina::nav {

// Upper-case hexadecimal digests.
QString sha512Hex(const QByteArray& data);
QString sha3_512Hex(const QByteArray& data);

// One invoice operation of a manageInvoice request, for its signature: the operation
// ("CREATE", "MODIFY", "STORNO", or "ANNUL" of an annulment) and the base64 text as sent.
struct SignedOperation {
    QString operation;
    QByteArray base64Data;
};

// The request time as the header carries it: UTC with milliseconds, "2017-12-30T18:25:45.000Z".
QString requestTimestamp(const QDateTime& when);

// The requestSignature of a request with the given id and header timestamp (as sent). The
// operations are those of a manageInvoice or manageAnnulment request in index order; empty for
// every other operation. Throws RuleError when the timestamp cannot be read.
QString requestSignature(const QString& requestId, const QString& timestamp, const QString& signingKey,
                         const std::vector<SignedOperation>& operations = {});

// AES-128-ECB with PKCS#5 padding under the 16-character exchange key. Decryption throws
// RuleError for a key of another length or a text that does not decrypt.
QByteArray aes128EcbEncrypt(const QByteArray& plain, const QByteArray& key);
QByteArray aes128EcbDecrypt(const QByteArray& cipher, const QByteArray& key);

// The exchange token from the base64 text of a tokenExchange answer.
QString decodeExchangeToken(const QByteArray& encodedToken, const QString& exchangeKey);

}  // namespace kavina::nav
