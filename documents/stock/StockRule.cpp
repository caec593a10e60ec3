#include "documents/stock/StockRule.h"

#include <chrono>
#include <thread>

#include "dbase/DbError.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"

namespace kavina::documents {

namespace {

namespace A = fields::Anyag;
namespace T = fields::Tranzakcio;

// The engine waits a moment for a record lock; a document save on another workstation can
// hold it for longer, so the rule asks again for a while before it gives up.
constexpr auto kLockPause = std::chrono::milliseconds(20);

bool sameCode(double a, double b) {
    return KerekitRound(a) == KerekitRound(b);
}

}  // namespace

QString movementCode(Movement movement) {
    switch (movement) {
        case Movement::RegisterReceiving: return QStringLiteral("LTM");
        case Movement::RegisterIssue: return QStringLiteral("LHM");
        case Movement::DeliveryNote: return QStringLiteral("SZL");
        case Movement::GoodsReceipt: return QStringLiteral("BEV");
        case Movement::SupplierReturn: return QStringLiteral("VIS");
        case Movement::Invoice: return QStringLiteral("ELS");
        case Movement::CashSale: return QStringLiteral("ELT");
        case Movement::Scrap: return QStringLiteral("SEL");
        case Movement::Corrective: return QStringLiteral("JÓV");
    }
    return {};
}

StockRule::StockRule(const std::string& dataFolder, std::chrono::milliseconds lockPatience)
    : m_folder(dataFolder), m_patience(lockPatience) {}

StockRule::~StockRule() = default;

void StockRule::open() {
    if (m_products) return;
    m_products = std::make_unique<TableHandle>(m_folder, catalogue::table(TableId::Anyag).fileName);
    m_products->open();
    m_products->setOrder(A::ANYAGKOD);
}

std::optional<ProductRecord> StockRule::findForLine(double code, const QString& name) {
    open();
    m_products->refresh();
    if (!m_products->findKey(QString::number(KerekitRound(code)).toStdString())) return std::nullopt;
    for (; !m_products->eof() && sameCode(m_products->asFloat(A::ANYAGKOD), code); m_products->next())
        if (m_products->asString(A::MEGNEVEZES) == name)
            return ProductRecord{uint32_t(m_products->bookmark().id), m_products->asFloat(A::ANYAGKOD)};
    return std::nullopt;
}

std::optional<ProductRecord> StockRule::findByCode(double code) {
    open();
    m_products->refresh();
    if (!m_products->findKey(QString::number(KerekitRound(code)).toStdString())) return std::nullopt;
    return ProductRecord{uint32_t(m_products->bookmark().id), m_products->asFloat(A::ANYAGKOD)};
}

// One attempt: locks, re-reads and checks the record, then changes and stores it.
std::optional<double> StockRule::applyOnce(const ProductRecord& product, double quantity, const AlsoWrite& alsoWrite) {
    m_products->refresh();
    if (!m_products->gotoBookmark({product.recNo})) throw ProductGone();
    RecordEdit change = RecordEdit::edit(*m_products);
    if (!sameCode(m_products->asFloat(A::ANYAGKOD), product.code)) throw ProductGone();
    if (m_products->asLogical(A::TERMEK)) return std::nullopt;
    const double stock = double(Kerekit(-1, (long double)m_products->asFloat(A::MENNYISEG) + quantity));
    m_products->setFloat(A::MENNYISEG, stock);
    if (alsoWrite) alsoWrite(*m_products);
    change.post();
    return stock;
}

std::optional<double> StockRule::apply(const ProductRecord& product, double quantity, const AlsoWrite& alsoWrite) {
    open();
    const auto giveUp = std::chrono::steady_clock::now() + m_patience;
    for (;;) {
        try {
            return applyOnce(product, quantity, alsoWrite);
        } catch (const dbase::DbError& e) {
            if (!e.contains(dbase::errtext::kRecordLocked) || std::chrono::steady_clock::now() >= giveUp) throw;
        }
        std::this_thread::sleep_for(kLockPause);
    }
}

void appendStockLog(TableHandle& log, const StockLogRow& row) {
    RecordEdit change = RecordEdit::append(log);
    log.setString(T::cikkszam, row.articleNumber);
    log.setString(T::bizonylat, row.document);
    log.setInteger(T::partner, row.partner);
    log.setString(T::tetel, row.item);
    log.setFloat(T::mennyiseg, row.quantity);
    log.setString(T::ugyintezo, row.user);
    log.setDateTime(T::datum, QDateTime(row.when.date(), QTime(0, 0), Qt::UTC));
    log.setString(T::ido, timeText(row.when.time()));
    log.setString(T::tipus, movementCode(row.movement));
    change.post();
}

}  // namespace kavina::documents
