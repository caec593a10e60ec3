#pragma once
// The tax-audit export ("Adóhatósági ellenőrzési adatszolgáltatás"): the invoice data of the
// invoices, corrective invoices and stornos of an issue-date range or a number range, as one
// XML file per invoice data in one zip archive. An invoice data the queue holds goes as it was
// reported; one issued before reporting began is built from the stored tables.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

namespace kavina::nav {

struct AuditRange {
    bool byNumber = false;
    QDate from, to;                   // issue dates, both included
    QString firstNumber, lastNumber;  // of one series, both included
};

struct AuditResult {
    int files = 0;
    QStringList skipped;  // "number: why" of the documents whose data could not be built
};

// Writes the archive (through a temporary file; nothing is left under the name on failure).
// progress is told the documents done and their count. Throws RuleError for an empty range,
// a number range of two series, or numbers of the range that no stored invoice has (the message
// names them); archive::ArchiveError when the archive cannot be written.
AuditResult exportTaxAudit(const std::string& folder, const AuditRange& range, const QString& zipPath,
                           const std::function<void(int done, int count)>& progress = {});

}  // namespace kavina::nav
