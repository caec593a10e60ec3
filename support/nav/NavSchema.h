#pragma once
// Checks a request or an invoice data text against the authority's schemas (libxml2), so that a
// text the authority would refuse for its shape is caught before it leaves the workstation.
// The schema files are read once per validator; one validator serves one thread at a time.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace kavina::nav {

class NavSchema {
public:
    // Loads the schema file (for requests: invoiceApi.xsd, which imports the others from
    // beside it). Throws RuleError when the file is missing or not a schema.
    explicit NavSchema(const QString& schemaFile);
    ~NavSchema();
    NavSchema(const NavSchema&) = delete;
    NavSchema& operator=(const NavSchema&) = delete;

    // The schema's complaints about the document; empty when it is valid.
    QStringList problems(const QByteArray& xml) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace kavina::nav
