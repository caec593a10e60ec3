#include "invoicing/navdata/InvoiceDataQueue.h"

#include <QCryptographicHash>
#include <mutex>

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/navdata/InvoiceDataSchema.h"

namespace kavina::nav {

namespace Q = fields::NavQueue;
namespace type = invoicing::type;

namespace {

bool reported(QChar type) {
    return type == type::Invoice || type == type::Corrective || type == type::Cancelled;
}

std::mutex g_listenerMutex;
std::function<void()> g_listener;

}  // namespace

void setQueuedListener(std::function<void()> listener) {
    const std::lock_guard lock(g_listenerMutex);
    g_listener = std::move(listener);
}

void tellQueued() {
    std::function<void()> listener;
    {
        const std::lock_guard lock(g_listenerMutex);
        listener = g_listener;
    }
    if (listener) listener();
}

QString xmlHash(const QByteArray& xml) {
    return QString::fromLatin1(QCryptographicHash::hash(xml, QCryptographicHash::Sha3_512).toHex().toUpper());
}

void requireValid(const QByteArray& xml, const QString& invoiceNumber) {
    if (const auto errors = schemaErrors(xml))
        throw RuleError(QStringLiteral("A(z) %1 számú számla adatszolgáltatása nem felel meg az adóhatóság "
                                       "sémájának:\n%2")
                            .arg(invoiceNumber, *errors));
}

QByteArray rebuildQueued(InvoiceDataBuilder& builder, const QString& invoiceNumber, const QString& operation,
                         const QString& baseNumber, int modificationIndex) {
    const std::optional<Operation> op = operationOf(operation.trimmed());
    if (!op)
        throw RuleError(QStringLiteral("A(z) %1 számla sorában ismeretlen a művelet (%2): az adatai nem "
                                       "állíthatók elő újra.")
                            .arg(invoiceNumber, operation));
    const QByteArray xml = builder.rebuild(invoiceNumber, *op, baseNumber, modificationIndex);
    requireValid(xml, invoiceNumber);
    return xml;
}

std::optional<QString> refusalBeforeSave(InvoiceDataBuilder& builder, const InvoiceDocument& document) {
    if (!document.issued.isValid() || document.issued < kReportingSince) return std::nullopt;
    return builder.missingData(document);
}

std::optional<QueuedInvoiceData> queueInvoiceData(InvoiceDataBuilder& builder, TableHandle& queue,
                                                  const QString& documentNumber, const QDateTime& now) {
    const InvoiceDocument document = builder.readStored(documentNumber);
    if (!reported(document.type)) return std::nullopt;
    QueuedInvoiceData row;
    InvoiceDataRequest request;
    if (document.type == type::Invoice) {
        if (document.issued < kReportingSince) return std::nullopt;
        row.invoiceNumber = document.number;
        row.operation = Operation::Create;
    } else {
        // A corrective invoice, or a storno of one, modifies the invoice its chain started from.
        row.baseNumber = document.baseNumber.isEmpty() ? document.number : document.baseNumber;
        const InvoiceDocument base = row.baseNumber == document.number ? document : builder.readStored(row.baseNumber);
        if (base.issued < kReportingSince) return std::nullopt;
        row.operation = document.type == type::Corrective ? Operation::Modify : Operation::Storno;
        row.invoiceNumber =
            row.operation == Operation::Storno ? document.number + QStringLiteral("-S") : document.number;
        request.modification = builder.nextModification(row.baseNumber);
        row.modificationIndex = request.modification->index;
    }
    request.operation = row.operation;
    request.invoiceNumber = row.invoiceNumber;
    row.xml = builder.build(document, request);
    requireValid(row.xml, row.invoiceNumber);

    RecordEdit change = RecordEdit::append(queue);
    queue.setString(Q::INVNUMBER, row.invoiceNumber);
    queue.setString(Q::OPERATION, operationText(row.operation));
    queue.setString(Q::BASENUMBER, row.baseNumber);
    queue.setInteger(Q::MODINDEX, row.modificationIndex);
    queue.setString(Q::STATE, QString::fromLatin1(fields::navQueueState::Waiting.data()));
    queue.setString(Q::XML, QString::fromUtf8(row.xml));
    queue.setString(Q::XMLHASH, xmlHash(row.xml));
    queue.setDateTime(Q::CREATED, now);
    change.post();
    return row;
}

}  // namespace kavina::nav
