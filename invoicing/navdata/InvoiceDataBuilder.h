#pragma once
// Builds the tax authority's invoice data (the invoiceData XML of interface 3.0) of a document
// from the data folder: the supplier from the settings record, the VAT kinds, units and
// payment methods from their lookup tables, the buyer as the document was issued to it.
//
// CREATE is an invoice; MODIFY a corrective invoice, which modifies the invoice its chain of
// corrections started from; STORNO the cancellation of an invoice or a corrective invoice,
// which repeats the cancelled document's lines negated under the number "<number>-S". Each
// modification carries its index (from 1 per base invoice) and numbers its lines after every
// line the base invoice and the earlier modifications already have.
//
// The builder opens its own handles, so the windows' shared handles never move; inside a
// save's transaction it reads what the save wrote.

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "invoicing/navdata/InvoiceData.h"

namespace kavina::nav {

// Which invoice data a document is reported with.
struct Modification {
    QString baseNumber;
    int index = 0;               // modificationIndex
    int lineOffset = 0;          // lines the base and the earlier modifications hold
    bool withoutMaster = false;  // the base invoice was never reported
};

struct InvoiceDataRequest {
    Operation operation = Operation::Create;
    QString invoiceNumber;  // the invoice data's own number
    std::optional<Modification> modification;
};

class InvoiceDataBuilder {
public:
    // folder ends in a path separator.
    explicit InvoiceDataBuilder(std::string folder);
    ~InvoiceDataBuilder();

    // The stored document of that number (header and lines). Throws RuleError when there is
    // none.
    InvoiceDocument readStored(const QString& number);

    // What keeps the document from valid invoice data, in Hungarian, naming what is missing
    // (the company's tax number or address in the settings, the buyer's tax number, EU tax
    // number or address); nothing when it can be reported.
    std::optional<QString> missingData(const InvoiceDocument& document);

    // The XML of the document for the request, not validated. Throws RuleError for what
    // missingData names.
    QByteArray build(const InvoiceDocument& document, const InvoiceDataRequest& request);

    // The XML of a queued invoice data built again from the stored tables, with the row's own
    // operation and modification index (after the clerk corrected the partner or the settings).
    // Throws RuleError when the document is gone or cannot be reported.
    QByteArray rebuild(const QString& invoiceNumber, Operation operation, const QString& baseNumber,
                       int modificationIndex);

    // The index and line offset of the next modification of the base invoice, from the queue
    // (the caller holds the folder's transaction, so no other workstation takes the same).
    Modification nextModification(const QString& baseNumber);

private:
    struct Tables;
    void open();
    Modification modificationAt(const QString& baseNumber, int index);
    int lineCount(const QString& number);

    std::string m_folder;
    std::unique_ptr<Tables> m_tables;
};

}  // namespace kavina::nav
