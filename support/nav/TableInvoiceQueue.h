#pragma once
// The queue of invoice data over NavQueue.dbf of the data folder. The save of a document writes
// its rows (state waiting) in the save's transaction; this class reads them and stores what the
// sender learns. Each user (the sender's thread, the window) makes its own, since a table handle
// serves one thread. An entry's key is its record number; an update checks that the record
// still holds the same invoice number before it writes.
//
// Times are stored as the workstation's wall-clock time, as every other time of the folder.

#include <QString>

#include "foundation/TableHandle.h"
#include "support/nav/InvoiceQueue.h"

namespace kavina::nav {

class TableInvoiceQueue : public InvoiceQueue {
public:
    // Opens NavQueue.dbf of the folder; throws the engine's error when it cannot, and RuleError
    // when the folder has no queue (a folder not yet upgraded).
    explicit TableInvoiceQueue(const QString& dataFolder);
    ~TableInvoiceQueue() override;

    std::vector<QueuedInvoice> all() override;
    void update(const QueuedInvoice& entry) override;
    void requeue(const QueuedInvoice& entry, const QByteArray& invoiceXml) override;

private:
    // Moves to the entry's record; throws RuleError when it no longer holds that invoice.
    void find(const QueuedInvoice& entry);

    TableHandle m_table;
};

}  // namespace kavina::nav
