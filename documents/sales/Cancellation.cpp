#include "documents/sales/Cancellation.h"

#include "documents/stock/StockRule.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "foundation/TDataModule1.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/navdata/InvoiceDataQueue.h"

namespace kavina::documents {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace type = invoicing::type;

namespace {

const QString kCopyLabel = QStringLiteral("Másolati példány");

bool isCancelled(QChar code, const QString& state) {
    return QStringLiteral("SU2Q").contains(code) || state.trimmed() == invoicing::state::Spoiled;
}

// The types a mode cancels, and the type each becomes.
std::optional<QChar> cancelledType(QChar code, CancelMode mode, CancelKind kind) {
    switch (mode) {
        case CancelMode::Invoice:
            if (code == type::Invoice || code == type::Corrective) return QChar(type::Cancelled);
            // A proforma moved no stock; it is listed as cancelled without moving any.
            if (code == type::Proforma && kind == CancelKind::Storno) return QChar(type::ProformaListed);
            return std::nullopt;
        case CancelMode::DeliveryNote:
            if (code == type::DeliveryNote) return QChar(type::DeliveryNoteCancelled);
            return std::nullopt;
        case CancelMode::CashSale:
            if (code == type::CashSale) return QChar(type::CashSaleCancelled);
            return std::nullopt;
    }
    return std::nullopt;
}

QChar typeOf(const RecordCursor& header) {
    const QString code = header.asString(H::SZAMLATIP).trimmed();
    return code.isEmpty() ? QChar() : code.front();
}

}  // namespace

std::optional<CancelMode> cancelModeOf(QChar code, CancelKind kind) {
    if (code == type::Invoice || code == type::Corrective) return CancelMode::Invoice;
    if (code == type::DeliveryNote) return CancelMode::DeliveryNote;
    // A cancelled delivery note opens the delivery-note dialog, which tells why it is refused.
    if (code == type::DeliveryNoteCancelled && kind == CancelKind::Storno) return CancelMode::DeliveryNote;
    if (code == type::CashSale) return CancelMode::CashSale;
    if (code == type::Proforma && kind == CancelKind::Storno) return CancelMode::Invoice;
    return std::nullopt;
}

DocumentCancellation::DocumentCancellation(TDataModule1& data, std::chrono::milliseconds lockPatience,
                                           dbase::TransactionOptions commit)
    : m_data(data), m_patience(lockPatience), m_commit(commit) {}

DocumentCancellation::~DocumentCancellation() = default;

void DocumentCancellation::open() {
    if (m_headers) return;
    const std::string& folder = m_data.dataFolder();
    auto headers = std::make_unique<TableHandle>(folder, catalogue::table(TableId::Szamla).fileName);
    auto lines = std::make_unique<TableHandle>(folder, catalogue::table(TableId::Szamla2).fileName);
    headers->open();
    headers->setOrder(H::SZAMLASZAM);
    lines->open();
    lines->setOrder(L::SZAMLASZAM);
    if (catalogue::existsIn(catalogue::table(TableId::NavQueue), folder)) {
        m_queue = std::make_unique<TableHandle>(folder, catalogue::table(TableId::NavQueue).fileName);
        m_queue->open();
    }
    m_invoiceData = std::make_unique<nav::InvoiceDataBuilder>(folder);
    m_headers = std::move(headers);
    m_lines = std::move(lines);
    m_stock = std::make_unique<StockRule>(folder, m_patience);
}

std::optional<CancelTarget> DocumentCancellation::find(const QString& number) {
    open();
    m_headers->refresh();
    if (number.trimmed().isEmpty() || !m_headers->findKey(number.trimmed().toStdString())) return std::nullopt;
    return summaryOf(*m_headers, uint32_t(m_headers->bookmark().id));
}

std::optional<QString> DocumentCancellation::refusal(QChar code, const QString& state, CancelMode mode,
                                                     CancelKind kind) {
    if (mode == CancelMode::DeliveryNote && code == type::DeliveryNoteCancelled) return kDeliveryNoteCancelled;
    if (mode == CancelMode::DeliveryNote && code == type::DeliveryNote && state.trimmed() == invoicing::state::Invoiced)
        return kDeliveryNoteInvoiced;
    if (isCancelled(code, state)) return kAlreadyCancelled;
    if (!cancelledType(code, mode, kind)) return kind == CancelKind::Storno ? kCannotStorno : kCannotSpoil;
    return std::nullopt;
}

// Every line's quantity goes back to its product, found by code alone; a reversed line of a
// corrective invoice (negative) takes the goods out again. Services hold no stock.
void DocumentCancellation::returnStock(const QString& number) {
    const std::string key = number.toStdString();
    m_lines->refresh();
    std::vector<std::pair<double, double>> moves;  // product code, quantity
    for (bool found = m_lines->findKey(key); found && !m_lines->eof(); m_lines->next()) {
        if (m_lines->asString(L::SZAMLASZAM).trimmed() != number) break;
        moves.emplace_back(m_lines->asFloat(L::ANYAGSZAM), m_lines->asFloat(L::MENNYISEG));
    }
    for (const auto& [code, quantity] : moves)
        if (const auto product = m_stock->findByCode(code)) m_stock->apply(*product, quantity);
}

void DocumentCancellation::cancel(const CancelTarget& document, CancelMode mode, CancelKind kind) {
    open();
    dbase::Transaction transaction(m_data.dataFolder(), dbase::FileSystem::real(), m_commit);
    TableHandle& h = *m_headers;
    h.refresh();
    if (!h.gotoBookmark({document.recNo}) || h.asString(H::SZAMLASZAM).trimmed() != document.number)
        throw RuleError(kNoSuchDocument);
    // Locked and read again: another workstation's cancellation of it has either finished or
    // waits for this one.
    RecordEdit change = RecordEdit::edit(h);
    const QChar code = typeOf(h);
    if (const auto refused = refusal(code, h.asString(H::ALLAPOT), mode, kind)) throw RuleError(*refused);
    if (code != type::Proforma) returnStock(document.number);
    h.setString(H::SZAMLATIP, QString(*cancelledType(code, mode, kind)));
    if (kind == CancelKind::Spoil) h.setString(H::ALLAPOT, invoicing::state::Spoiled);
    change.post();
    // A cancelled invoice, spoiled ones included, was reported when it was stored: its storno
    // is reported in the same transaction.
    bool queued = false;
    if (code == type::Invoice || code == type::Corrective) {
        if (!m_queue) throw RuleError(kNoInvoiceDataQueueForCancel);
        queued =
            nav::queueInvoiceData(*m_invoiceData, *m_queue, document.number, QDateTime::currentDateTime()).has_value();
    }
    transaction.commit();
    if (queued) nav::tellQueued();
}

bool DocumentCancellation::run(const CancelTarget& document, CancelMode mode, CancelKind kind, Prompt& prompt,
                               CancelCopyPrinter& printer) {
    try {
        cancel(document, mode, kind);
    } catch (const RuleError& refused) {
        prompt.warning(refused.caption(), refused.message());
        return false;
    }
    if (kind == CancelKind::Spoil && mode == CancelMode::CashSale) return true;
    TableHandle& settings = m_data.UserTable();
    settings.refresh();
    settings.first();
    const int offered = settings.isNull(fields::User::PRNSZAMLA) ? 0 : int(settings.asInteger(fields::User::PRNSZAMLA));
    const int copies = prompt.askCopies(offered).value_or(0);
    try {
        for (int i = 0; i < copies; ++i) printer.printCopy(document, mode, kind, kCopyLabel);
    } catch (const std::exception&) {
        prompt.warning(kCancelCaption, QStringLiteral("A(z) %1 számú bizonylat stornózása megtörtént, de a nyomtatása "
                                                      "nem sikerült. Kérem, nyomtassa ki újra a számlák listájából.")
                                           .arg(document.number));
    }
    return true;
}

}  // namespace kavina::documents
