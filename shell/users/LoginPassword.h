#pragma once
// How passwords are kept in Jogok.dbf. Every workstation can read that file, so a password is
// stored as two salted argon2id hashes (libsodium) separated by a blank: one of the password
// in upper case, which sign-in and the password change check, since they ignore letter case,
// and one of the password as typed, which the lock prompt checks, since it wants the exact
// case. An empty password stays empty: it means "no password" to the automatic sign-in and
// the lock.
//
// Folders written before hashing hold plain text; such a password keeps working and is
// replaced by its hashes at the user's next sign-in. A JELSZO field too narrow for the hashes
// (a folder not yet upgraded) keeps plain text.

#include <QString>

namespace kavina::shell {

// The cost of a new hash. The program uses libsodium's interactive level; tests may use the
// minimum, which is far faster.
enum class PasswordHashCost { Interactive, Minimum };
void setPasswordHashCost(PasswordHashCost cost);

// True when the stored text is in the hashed form.
bool isPasswordHash(const QString& stored);

// The text to store for a password in a field of the given width: the hashes when they fit,
// otherwise the password itself; empty for an empty password.
QString storedPassword(const QString& password, int fieldWidth);

// Sign-in and password change: the typed text against the stored one, ignoring letter case.
bool passwordMatchesIgnoringCase(const QString& stored, const QString& typed);
// The lock prompt: the typed text against the stored one, letter case included.
bool passwordMatchesExactly(const QString& stored, const QString& typed);

}  // namespace kavina::shell
