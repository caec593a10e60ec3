#include "shell/users/LoginPassword.h"

#include <sodium.h>

#include <QByteArray>
#include <QStringList>
#include <stdexcept>

namespace kavina::shell {
namespace {

const QString kPrefix = QStringLiteral("$argon2id$");
PasswordHashCost g_cost = PasswordHashCost::Interactive;

void requireSodium() {
    static const bool ready = sodium_init() >= 0;
    if (!ready) throw std::runtime_error("libsodium could not be initialised");
}

QString hashOf(const QString& password) {
    requireSodium();
    const QByteArray bytes = password.toUtf8();
    const bool minimum = g_cost == PasswordHashCost::Minimum;
    char out[crypto_pwhash_STRBYTES];
    const int rc = crypto_pwhash_str(out, bytes.constData(), size_t(bytes.size()),
                                     minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                     minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE);
    if (rc != 0) throw std::runtime_error("not enough memory to hash a password");
    return QString::fromLatin1(out);
}

bool verify(const QString& hash, const QString& password) {
    requireSodium();
    const QByteArray stored = hash.toLatin1();
    const QByteArray bytes = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), bytes.constData(), size_t(bytes.size())) == 0;
}

// The two hashes of the stored form: upper case first, exact case second.
QStringList partsOf(const QString& stored) {
    return stored.split(QLatin1Char(' '));
}

}  // namespace

void setPasswordHashCost(PasswordHashCost cost) {
    g_cost = cost;
}

bool isPasswordHash(const QString& stored) {
    const QStringList parts = partsOf(stored);
    return parts.size() == 2 && parts[0].startsWith(kPrefix) && parts[1].startsWith(kPrefix);
}

QString storedPassword(const QString& password, int fieldWidth) {
    if (password.isEmpty()) return {};
    const QString hashes = hashOf(password.toUpper()) + QLatin1Char(' ') + hashOf(password);
    return hashes.size() <= fieldWidth ? hashes : password;
}

bool passwordMatchesIgnoringCase(const QString& stored, const QString& typed) {
    if (!isPasswordHash(stored)) return stored.toUpper() == typed.toUpper();
    return verify(partsOf(stored)[0], typed.toUpper());
}

bool passwordMatchesExactly(const QString& stored, const QString& typed) {
    if (!isPasswordHash(stored)) return stored == typed;
    return verify(partsOf(stored)[1], typed);
}

}  // namespace kavina::shell
