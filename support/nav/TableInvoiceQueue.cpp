#include "support/nav/TableInvoiceQueue.h"

#include <QDir>
#include <QFileInfo>

#include "dbase/File.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "support/nav/NavCrypto.h"

namespace kavina::nav {

namespace {

namespace Q = fields::NavQueue;

QueueState stateOf(const QString& code) {
    const std::string c = code.trimmed().toStdString();
    if (c == fields::navQueueState::Sent) return QueueState::Sent;
    if (c == fields::navQueueState::Done) return QueueState::Done;
    if (c == fields::navQueueState::DoneWithWarnings) return QueueState::DoneWithWarnings;
    if (c == fields::navQueueState::Aborted) return QueueState::Aborted;
    return QueueState::Waiting;
}

QString codeOf(QueueState state) {
    std::string_view c = fields::navQueueState::Waiting;
    switch (state) {
        case QueueState::Waiting: break;
        case QueueState::Sent: c = fields::navQueueState::Sent; break;
        case QueueState::Done: c = fields::navQueueState::Done; break;
        case QueueState::DoneWithWarnings: c = fields::navQueueState::DoneWithWarnings; break;
        case QueueState::Aborted: c = fields::navQueueState::Aborted; break;
    }
    return QString::fromUtf8(c.data(), static_cast<qsizetype>(c.size()));
}

// The stored wall-clock time as a moment of this workstation's zone.
QDateTime readTime(const TableHandle& t, const Field& f) {
    const QDateTime stored = t.asDateTime(f);
    return stored.isValid() ? QDateTime(stored.date(), stored.time()) : QDateTime();
}

void writeTime(TableHandle& t, const Field& f, const QDateTime& when) {
    if (!when.isValid()) {
        t.setDateTime(f, QDateTime());
        return;
    }
    const QDateTime local = when.toLocalTime();
    t.setDateTime(f, QDateTime(local.date(), local.time(), Qt::UTC));
}

}  // namespace

TableInvoiceQueue::TableInvoiceQueue(const QString& dataFolder)
    : m_table(dataFolder.toStdString(), std::string(Q::kTable)) {
    if (!dbase::FileSystem::real().exists(dbase::resolvePath(dataFolder.toStdString(), std::string(Q::kTable))))
        throw RuleError(
            QStringLiteral("Az adatmappában nincs online számla sor (NavQueue.dbf): "
                           "frissítse az adatbázist."));
    m_table.open();
}

TableInvoiceQueue::~TableInvoiceQueue() = default;

std::vector<QueuedInvoice> TableInvoiceQueue::all() {
    m_table.refresh();
    m_table.setOrder(std::string());
    std::vector<QueuedInvoice> out;
    for (m_table.first(); !m_table.eof(); m_table.next()) {
        QueuedInvoice e;
        e.key = QString::number(m_table.bookmark().id);
        e.invoiceNumber = m_table.asString(Q::INVNUMBER).trimmed();
        e.operation = m_table.asString(Q::OPERATION).trimmed();
        e.baseNumber = m_table.asString(Q::BASENUMBER).trimmed();
        e.modificationIndex = static_cast<int>(m_table.asInteger(Q::MODINDEX));
        e.state = stateOf(m_table.asString(Q::STATE));
        e.transactionId = m_table.asString(Q::TRANSID).trimmed();
        e.batchIndex = static_cast<int>(m_table.asInteger(Q::BATCHIDX));
        e.invoiceXml = m_table.asString(Q::XML).toUtf8();
        e.created = readTime(m_table, Q::CREATED);
        e.sent = readTime(m_table, Q::SENT);
        e.finished = readTime(m_table, Q::FINISHED);
        e.messages = m_table.asString(Q::MESSAGES).trimmed();
        out.push_back(std::move(e));
    }
    return out;
}

void TableInvoiceQueue::find(const QueuedInvoice& entry) {
    bool ok = false;
    const uint64_t recNo = entry.key.toULongLong(&ok);
    m_table.refresh();
    if (!ok || !m_table.gotoBookmark({recNo})) throw entryGone(entry.invoiceNumber);
    if (m_table.asString(Q::INVNUMBER).trimmed() != entry.invoiceNumber) throw entryGone(entry.invoiceNumber);
}

void TableInvoiceQueue::update(const QueuedInvoice& entry) {
    find(entry);
    RecordEdit change = RecordEdit::edit(m_table);
    m_table.setString(Q::STATE, codeOf(entry.state));
    m_table.setString(Q::TRANSID, entry.transactionId);
    m_table.setInteger(Q::BATCHIDX, entry.batchIndex);
    writeTime(m_table, Q::SENT, entry.sent);
    writeTime(m_table, Q::FINISHED, entry.finished);
    m_table.setString(Q::MESSAGES, entry.messages);
    change.post();
}

void TableInvoiceQueue::requeue(const QueuedInvoice& entry, const QByteArray& invoiceXml) {
    find(entry);
    // The edit locks the record and reads it again: another workstation's sender or window
    // may have moved it on since the list was read.
    RecordEdit change = RecordEdit::edit(m_table);
    if (m_table.asString(Q::INVNUMBER).trimmed() != entry.invoiceNumber) throw entryGone(entry.invoiceNumber);
    if (stateOf(m_table.asString(Q::STATE)) != QueueState::Aborted) throw entryNoLongerAborted(entry.invoiceNumber);
    m_table.setString(Q::XML, QString::fromUtf8(invoiceXml));
    m_table.setString(Q::XMLHASH, sha3_512Hex(invoiceXml));
    m_table.setString(Q::STATE, codeOf(QueueState::Waiting));
    m_table.setString(Q::TRANSID, QString());
    m_table.setInteger(Q::BATCHIDX, 0);
    writeTime(m_table, Q::SENT, QDateTime());
    writeTime(m_table, Q::FINISHED, QDateTime());
    m_table.setString(Q::MESSAGES, QString());
    change.post();
}

}  // namespace kavina::nav
