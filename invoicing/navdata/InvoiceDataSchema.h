#pragma once
// Checks invoice data against the tax authority's schemas of interface 3.0, which the program
// carries (invoiceData.xsd with the base and common schemas it imports). The schemas are
// parsed once per run, from a copy in a temporary folder so their imports resolve.

#include <QByteArray>
#include <QString>
#include <optional>

namespace kavina::nav {

// The schema's complaints about the XML, one a line (line number and message); nothing when
// the XML is valid invoice data. Throws std::runtime_error when the schemas cannot be loaded.
std::optional<QString> schemaErrors(const QByteArray& xml);

}  // namespace kavina::nav
