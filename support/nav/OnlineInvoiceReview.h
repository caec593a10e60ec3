#pragma once
// The reconciliation window's logic ("Online számla"): every invoice data of a period with its
// state and the authority's messages, the filters, sending an aborted one again once it is
// corrected, and the gaps of each number range, numbers that never reached the queue.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "foundation/Prompt.h"
#include "support/nav/InvoiceQueue.h"

namespace kavina::nav {

enum class ReviewFilter { All, Waiting, Warnings, Aborted };

struct ReviewRow {
    QString key;
    QString invoiceNumber;
    QString operation;  // "Számla", "Módosítás", "Stornó"
    QueueState state = QueueState::Waiting;
    QString stateText;
    QString created;  // "2026.01.02 10:15:00", local time
    QString sent;
    QString transactionId;
    QString messages;
};

// The invoice data of a queued entry built again from the stored invoice as it stands now, with
// the entry's own operation and modification index, and checked against the schema. Throws
// RuleError naming what still keeps the invoice from being reported.
using RebuildInvoiceData = std::function<QByteArray(const QueuedInvoice& entry)>;

class OnlineInvoiceReview {
public:
    OnlineInvoiceReview(InvoiceQueue& queue, Prompt& prompt, RebuildInvoiceData rebuild)
        : m_queue(queue), m_prompt(prompt), m_rebuild(std::move(rebuild)) {}

    // The entries saved between the two days (inclusive, local time) that pass the filter,
    // oldest first. Waiting shows those not yet decided (waiting or sent).
    std::vector<ReviewRow> rows(const QDate& from, const QDate& to, ReviewFilter filter);

    // The numbers missing from each number range among the entries of the period: "K-4", or
    // "K-4 – K-9" for a run.
    QStringList gaps(const QDate& from, const QDate& to);

    // Queues an aborted entry again, after asking, with its invoice data built again from the
    // corrected invoice: the refused data would only be refused again. False when the clerk
    // said no. Throws RuleError for an entry that is not aborted (also when another
    // workstation moved it on meanwhile) or is gone, and when the invoice still cannot be
    // reported; the entry is unchanged then.
    bool resend(const QString& key);

    // The missing numbers of a set of invoice numbers, per range: a range is the numbers that
    // differ only in their trailing digits.
    static QStringList gapsOf(const QStringList& numbers);

private:
    std::vector<QueuedInvoice> inPeriod(const QDate& from, const QDate& to);

    InvoiceQueue& m_queue;
    Prompt& m_prompt;
    RebuildInvoiceData m_rebuild;
};

}  // namespace kavina::nav
