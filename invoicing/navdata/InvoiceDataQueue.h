#pragma once
// Puts the invoice data of a stored document into the queue table (NavQueue.dbf), in state W,
// inside the transaction that stores or cancels the document: an invoice gets CREATE, a
// corrective invoice MODIFY of its base invoice with the next modification index, a cancelled
// invoice or corrective invoice STORNO. The XML is validated against the schemas before the
// row is written; data that cannot be valid refuses the whole save.
//
// Documents issued before reporting began, and cash-register sales, scrap, proformas, offers
// and delivery notes, produce no row.

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "foundation/TableHandle.h"
#include "invoicing/navdata/InvoiceDataBuilder.h"

namespace kavina::nav {

// The running program's sender is told when a save or a cancellation has committed a new row,
// so it reports it at once instead of at its next round. Set by the program; tools and tests
// that do not ask leave it empty. The listener must not throw: the document is stored by then.
void setQueuedListener(std::function<void()> listener);

// Tells the listener, if any. Call only after the transaction that wrote the row committed: a
// sender woken earlier would not see the row yet, or would see one that is rolled back.
void tellQueued();

// The row of a document stored as it is queued.
struct QueuedInvoiceData {
    QString invoiceNumber;
    Operation operation = Operation::Create;
    QString baseNumber;
    int modificationIndex = 0;
    QByteArray xml;
};

// Why a document about to be stored would be refused, when it is one that is reported:
// what missingData names. Call before a number is taken.
std::optional<QString> refusalBeforeSave(InvoiceDataBuilder& builder, const InvoiceDocument& document);

// Writes the queue row for the document just stored or cancelled, when it is one that is
// reported. Requires: the folder's transaction runs; the document's header and lines are
// stored (a cancelled one holds its cancelled type). Throws RuleError when the invoice data
// cannot be valid (the message names why), the engine's error when the row cannot be written.
std::optional<QueuedInvoiceData> queueInvoiceData(InvoiceDataBuilder& builder, TableHandle& queue,
                                                  const QString& documentNumber, const QDateTime& now);

// The invoice data of a queue row built again from the stored document as it stands now (the
// clerk corrected the buyer or the settings after the authority refused it), with the row's
// own operation (its text as stored) and modification index, and validated. Throws RuleError
// when the document is gone or still cannot be reported (the message names why).
QByteArray rebuildQueued(InvoiceDataBuilder& builder, const QString& invoiceNumber, const QString& operation,
                         const QString& baseNumber, int modificationIndex);

// Upper-case hexadecimal SHA3-512 of the bytes, as the queue keeps it.
QString xmlHash(const QByteArray& xml);

// Throws RuleError naming the schema's complaints when the XML is not valid invoice data.
void requireValid(const QByteArray& xml, const QString& invoiceNumber);

}  // namespace kavina::nav
