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
    throw RuleError(QStringLiteral("A beküldendő számla (%1) közben törlődött.").arg(entry.invoiceNumber));
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
