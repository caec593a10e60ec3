#pragma once
// The technical user and the software through which this business reports its invoices to the
// tax authority. Stored in the data folder (navbeall.ini), so every workstation reports under the
// same user; only an administrator edits it. The password itself is never stored: the exchange
// needs only its SHA-512.

#include <QString>

namespace kavina::nav {

struct NavSettings {
    QString login;
    QString passwordHash;  // upper-case SHA-512 of the technical user's password
    QString signingKey;    // "aláírókulcs"
    QString exchangeKey;   // "cserekulcs", 16 characters
    QString taxNumber;     // the taxpayer's tax number; requests carry its first 8 digits
    QString softwareId;    // 18 characters of [0-9A-Z-]
    bool production = false;
    // The service's address without the operation; empty: the authority's test or production
    // address. Set only by the tests, which run a server of their own.
    QString serviceUrl;
    QString caFile;  // certificates to trust besides the system's (the tests' own server)

    // Whether everything the exchange needs is filled in; invoices wait in the queue until then.
    bool complete() const;
    // The taxpayer id of the requests: the first 8 digits of the tax number.
    QString taxpayerId() const;
    // The address of one operation ("tokenExchange", "manageInvoice", ...).
    QString operationUrl(const QString& operation) const;
};

// The settings of the data folder; empty when the file is missing. Throws RuleError when the
// file exists but cannot be read.
NavSettings loadNavSettings(const QString& dataFolder);
// Writes them to the data folder in one replacement of the file; throws RuleError on failure.
void saveNavSettings(const QString& dataFolder, const NavSettings& settings);

// The first problem of the settings as the administrator typed them, or an empty text.
QString checkNavSettings(const NavSettings& settings);

}  // namespace kavina::nav
