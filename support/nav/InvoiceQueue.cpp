#include "support/nav/InvoiceQueue.h"

#include "foundation/RuleError.h"

namespace kavina::nav {

void MemoryInvoiceQueue::add(QueuedInvoice entry) {
    const std::lock_guard lock(m_mutex);
    if (entry.key.isEmpty()) entry.key = QString::number(m_entries.size() + 1);
    m_entries.push_back(std::move(entry));
}

std::vector<QueuedInvoice> MemoryInvoiceQueue::all() {
    const std::lock_guard lock(m_mutex);
    return m_entries;
}

void MemoryInvoiceQueue::update(const QueuedInvoice& entry) {
    const std::lock_guard lock(m_mutex);
    for (QueuedInvoice& e : m_entries) {
        if (e.key != entry.key) continue;
        e.state = entry.state;
        e.transactionId = entry.transactionId;
        e.batchIndex = entry.batchIndex;
        e.sent = entry.sent;
        e.finished = entry.finished;
        e.messages = entry.messages;
        return;
    }
    throw entryGone(entry.invoiceNumber);
}

void MemoryInvoiceQueue::requeue(const QueuedInvoice& entry, const QByteArray& invoiceXml) {
    const std::lock_guard lock(m_mutex);
    for (QueuedInvoice& e : m_entries) {
        if (e.key != entry.key || e.invoiceNumber != entry.invoiceNumber) continue;
        if (e.state != QueueState::Aborted) throw entryNoLongerAborted(e.invoiceNumber);
        e.invoiceXml = invoiceXml;
        e.state = QueueState::Waiting;
        e.transactionId.clear();
        e.batchIndex = 0;
        e.sent = QDateTime();
        e.finished = QDateTime();
        e.messages.clear();
        return;
    }
    throw entryGone(entry.invoiceNumber);
}

RuleError entryGone(const QString& invoiceNumber) {
    return RuleError(QStringLiteral("A beküldendő számla (%1) közben törlődött.").arg(invoiceNumber));
}

RuleError entryNoLongerAborted(const QString& invoiceNumber) {
    return RuleError(QStringLiteral("A(z) %1 számla állapota közben megváltozott (egy másik munkaállomás már "
                                    "újraküldte), ezért nem küldhető újra.")
                         .arg(invoiceNumber));
}

QString stateText(QueueState state) {
    switch (state) {
        case QueueState::Waiting: return QStringLiteral("Beküldésre vár");
        case QueueState::Sent: return QStringLiteral("Beküldve, feldolgozás alatt");
        case QueueState::Done: return QStringLiteral("Befogadva");
        case QueueState::DoneWithWarnings: return QStringLiteral("Befogadva, figyelmeztetéssel");
        case QueueState::Aborted: return QStringLiteral("Visszautasítva");
    }
    return {};
}

}  // namespace kavina::nav
