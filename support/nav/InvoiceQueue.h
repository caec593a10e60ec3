#pragma once
// The invoices waiting to be reported to the tax authority, as the sender and the reconciliation
// window see them: one entry per invoice data (an invoice, its modification or its storno),
// written when the invoice is saved and carried through its states by the sender.
//
//   Waiting → Sent (transaction id, index) → Done / DoneWithWarnings / Aborted
//
// An entry Sent without a transaction id is one whose send got no answer: the authority may
// hold it, so it is looked up before anything is sent again.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <mutex>
#include <vector>

#include "foundation/RuleError.h"

namespace kavina::nav {

enum class QueueState { Waiting, Sent, Done, DoneWithWarnings, Aborted };

struct QueuedInvoice {
    QString key;  // the entry's identity in its store
    QString invoiceNumber;
    QString operation;   // CREATE, MODIFY or STORNO
    QString baseNumber;  // the invoice a MODIFY or STORNO changes
    int modificationIndex = 0;
    QueueState state = QueueState::Waiting;
    QString transactionId;
    int batchIndex = 0;  // the entry's index within its manageInvoice request
    QByteArray invoiceXml;
    QDateTime created;
    QDateTime sent;
    QDateTime finished;
    QString messages;  // the authority's messages in the clerk's words, one a line

    bool isFinal() const {
        return state == QueueState::Done || state == QueueState::DoneWithWarnings || state == QueueState::Aborted;
    }
    bool isDone() const { return state == QueueState::Done || state == QueueState::DoneWithWarnings; }
};

class InvoiceQueue {
public:
    virtual ~InvoiceQueue() = default;
    // Every entry, oldest first (the order they were saved in).
    virtual std::vector<QueuedInvoice> all() = 0;
    // Stores the sender's fields (state, transaction id, index, times, messages) of the entry
    // with this key; the invoice data itself never changes. Throws when the entry is gone.
    virtual void update(const QueuedInvoice& entry) = 0;
    // Puts an aborted entry back to waiting with its invoice data built again after the clerk
    // corrected the invoice: the new XML and its hash are stored and the sender's fields
    // cleared. The entry is locked and read again first, so a change another workstation made
    // meanwhile is seen. Throws RuleError when the entry is gone or no longer aborted.
    virtual void requeue(const QueuedInvoice& entry, const QByteArray& invoiceXml) = 0;
};

// A queue in memory, safe to share between the sender's thread and the window.
class MemoryInvoiceQueue : public InvoiceQueue {
public:
    // Adds an entry as a save would; the key is given when empty.
    void add(QueuedInvoice entry);
    std::vector<QueuedInvoice> all() override;
    void update(const QueuedInvoice& entry) override;
    void requeue(const QueuedInvoice& entry, const QByteArray& invoiceXml) override;

private:
    std::mutex m_mutex;
    std::vector<QueuedInvoice> m_entries;
};

// The state's name as the window shows it.
QString stateText(QueueState state);

// The refusals of requeue().
RuleError entryGone(const QString& invoiceNumber);
RuleError entryNoLongerAborted(const QString& invoiceNumber);

}  // namespace kavina::nav
