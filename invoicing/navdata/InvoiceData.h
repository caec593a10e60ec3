#pragma once
// A sales document as the tax authority's invoice data sees it: plain values read once from
// the stored tables (or from the document being saved), so that building the XML touches no
// table. The amounts are the stored line values with the document discount taken off, each
// to fillér, exactly as the document's totals are computed.

#include <QChar>
#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "invoicing/navdata/TaxNumber.h"

namespace kavina {
class RecordCursor;
}

namespace kavina::nav {

enum class Operation { Create, Modify, Storno };

// "CREATE", "MODIFY", "STORNO" and back; nothing for another text.
QString operationText(Operation operation);
std::optional<Operation> operationOf(const QString& text);

// Invoices issued before this day were never reported; they and their corrections produce no
// invoice data.
inline const QDate kReportingSince(2021, 1, 1);

struct InvoiceLine {
    QString description;
    double quantity = 0;
    QString unitName;  // EGYSEG as printed
    double unitPrice = 0;
    double net = 0;
    double vat = 0;
    double gross = 0;
    double rate = 0;  // percent
    bool service = false;
};

struct InvoiceDocument {
    QString number;
    QChar type;
    QDate issued;
    QDate delivered;
    QDate due;
    QString paymentMethod;  // FIZMOD as the clerk named it
    QString name;
    QString postalCode;
    QString city;
    QString address;
    QString buyerTax;
    QString buyerEu;
    QChar buyerStatus;  // a letter of fields::partnerVat
    QString baseNumber;
    std::vector<InvoiceLine> lines;
};

// The buyer's status as the invoice data states it: the stored status, or for documents
// stored without one, domestic when a tax number was given and a private person otherwise.
QChar effectiveBuyerStatus(const InvoiceDocument& document);

// Reads the header's fields (Szamla's or the in-memory header's) and every line of the cursor,
// whose lines all belong to the document. Requires: header on the document's record.
InvoiceDocument readDocument(const RecordCursor& header, RecordCursor& lines);

// The same for the lines a walk of the caller's shows: `walkLines` calls its argument once on
// each line of the document (a stored document's lines are found through the index).
using LineVisitor = std::function<void(const RecordCursor& line)>;
InvoiceDocument readDocument(const RecordCursor& header, const std::function<void(const LineVisitor&)>& walkLines);

// The line values less the discount in percent, to fillér.
void applyDiscount(InvoiceDocument& document, double discountPercent);

}  // namespace kavina::nav
