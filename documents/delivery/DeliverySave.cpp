#include "documents/delivery/DeliverySave.h"

#include <filesystem>

#include "documents/stock/StockRule.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "foundation/SzamSzov.h"
#include "foundation/TDataModule1.h"
#include "foundation/TextFormat.h"

namespace kavina::documents {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace A = fields::Anyag;

namespace {

const Field kHeaderFields[] = {H::AJANLSZAM, H::ALLAPOT,   H::PARTNERKOD, H::NEV,       H::NEV1,      H::IRSZAM,
                               H::VAROS,     H::CIM,       H::FIZMOD,     H::KIALLIT,   H::TELJESIT,  H::FIZHAT,
                               H::TARGY,     H::AFAALAP,   H::AFA,        H::AFAFT,     H::FIZETENDO, H::FIZETVE,
                               H::FIZDATUM,  H::ARCSOPORT, H::KEDVEZMENY, H::UGYINTEZO, H::PRINT,     H::MEGJEGYZES,
                               H::szlnetto,  H::szlbrutto};

Movement movementOf(DeliveryKind kind) {
    switch (kind) {
        case DeliveryKind::GoodsReceipt: return Movement::GoodsReceipt;
        case DeliveryKind::Return: return Movement::SupplierReturn;
        default: return Movement::DeliveryNote;
    }
}

QString lineLabel(double code, const QString& name) {
    return QStringLiteral("%1 (%2)").arg(name.trimmed(), QString::number(KerekitRound(code)));
}

}  // namespace

QString offerChangedQuestion(const QString& number) {
    return QStringLiteral(
               "A(z) %1 számú árajánlatot a megnyitása óta egy másik gépen megváltoztatták vagy törölték. "
               "Biztos benne, hogy felülírja az itt szerkesztett változattal? ")
        .arg(number);
}

struct DeliveryStore::Handles {
    explicit Handles(const std::string& folder)
        : headers(folder, catalogue::table(TableId::Szamla).fileName),
          lines(folder, catalogue::table(TableId::Szamla2).fileName),
          log(folder, catalogue::table(TableId::Tranzakcio).fileName) {}
    TableHandle headers;
    TableHandle lines;
    TableHandle log;
};

DeliveryStore::DeliveryStore(DeliverySaveContext context) : m_context(std::move(context)) {}

DeliveryStore::~DeliveryStore() = default;

// A folder that was never upgraded has no stock log; the kinds that log need it.
void DeliveryStore::open(DeliveryKind kind) {
    const std::string& folder = m_context.data.dataFolder();
    if (!m_handles) {
        auto handles = std::make_unique<Handles>(folder);
        handles->headers.open();
        handles->headers.setOrder(H::SZAMLASZAM);
        handles->lines.open();
        handles->lines.setOrder(L::SZAMLASZAM);
        m_handles = std::move(handles);
        m_stock = std::make_unique<StockRule>(folder, m_context.lockPatience);
    }
    if (!invoicing::deliveryLogCode(kind) || m_handles->log.isOpen()) return;
    if (!std::filesystem::exists(folder + catalogue::table(TableId::Tranzakcio).fileName)) throw RuleError(kNoStockLog);
    m_handles->log.open();
}

uint32_t DeliveryStore::appendHeader(const MemoryDocument& document, DeliveryKind kind, const QString& number) {
    const MemTable& from = document.mszamla;
    TableHandle& h = m_handles->headers;
    RecordEdit change = RecordEdit::append(h);
    for (const Field& field : kHeaderFields) h.setString(field, from.asString(field));
    h.setString(H::SZAMLASZAM, number);
    h.setString(H::SZAMLATIP, QString(invoicing::deliveryTypeCode(kind)));
    h.setString(H::GARANCIASZ, timeText(m_now.time()));
    h.setString(H::TELJESCIM, from.asString(H::VAROS).trimmed() + QLatin1Char(' ') + from.asString(H::CIM).trimmed());
    change.post();
    return uint32_t(h.bookmark().id);
}

void DeliveryStore::appendLines(const MemoryDocument& document, DeliveryKind kind, const QString& number) {
    if (kind == DeliveryKind::CashPayout) return;
    MemTable& from = const_cast<MemTable&>(document.mszamla2);
    const bool logged = invoicing::deliveryLogCode(kind).has_value();
    const int64_t partner = document.mszamla.isNull(H::PARTNERKOD) ? 0 : document.mszamla.asInteger(H::PARTNERKOD);
    for (from.first(); !from.eof(); from.next()) {
        appendDocumentLine(from, m_handles->lines, number);
        // Service lines are logged too: the log lists every line of the document.
        if (!logged) continue;
        StockLogRow row;
        row.articleNumber = from.asString(L::cikkszam).trimmed();
        row.document = number;
        row.partner = partner;
        row.item = from.asString(L::MEGNEVEZES);
        row.quantity = from.asFloat(L::MENNYISEG);
        row.user = m_context.user;
        row.when = m_now;
        row.movement = movementOf(kind);
        appendStockLog(m_handles->log, row);
    }
}

// A receipt also takes the line's purchase prices into the product, in the same locked edit.
void DeliveryStore::moveStock(const MemoryDocument& document, DeliveryKind kind, StoredSale& sale) {
    const int sign = invoicing::deliveryStockSign(kind);
    if (sign == 0) return;
    MemTable& lines = const_cast<MemTable&>(document.mszamla2);
    for (lines.first(); !lines.eof(); lines.next()) {
        if (lines.asLogical(L::TERMEK)) continue;
        const double code = lines.asFloat(L::ANYAGSZAM);
        const QString name = lines.asString(L::MEGNEVEZES);
        const auto product = m_stock->findForLine(code, name);
        if (!product) {
            sale.linesWithoutStock << lineLabel(code, name);
            continue;
        }
        StockRule::AlsoWrite prices;
        if (kind == DeliveryKind::GoodsReceipt) {
            const double net = lines.asFloat(L::EGYSEGAR), gross = lines.asFloat(L::begysegar);
            prices = [net, gross](RecordCursor& p) {
                p.setFloat(A::BESZERZAR, net);
                p.setFloat(A::bbesz, gross);
            };
        }
        m_stock->apply(*product, sign * lines.asFloat(L::MENNYISEG), prices);
    }
}

// Every record stored under the number, found through the number's index rather than where a
// shared handle happens to stand: two versions a past fault left are both replaced.
std::vector<uint32_t> DeliveryStore::recordsOf(TableHandle& table, const Field& numberField, const QString& number) {
    std::vector<uint32_t> records;
    table.refresh();
    if (!table.findKey(number.toStdString())) return records;
    for (; !table.eof() && table.asString(numberField).trimmed() == number; table.next())
        records.push_back(uint32_t(table.bookmark().id));
    return records;
}

void DeliveryStore::deleteRecords(TableHandle& table, const std::vector<uint32_t>& records) {
    for (const uint32_t record : records) {
        table.gotoBookmark({record});
        table.deleteRecord();
    }
}

bool DeliveryStore::offerChanged(const ReplacedOffer& replaced) {
    open(DeliveryKind::Offer);
    TableHandle& headers = m_handles->headers;
    const std::vector<uint32_t> stored = recordsOf(headers, H::SZAMLASZAM, replaced.number);
    if (stored.size() != 1) return true;
    headers.gotoBookmark({stored.front()});
    return headers.asString(H::GARANCIASZ).trimmed() != replaced.savedAt.trimmed() ||
           headers.asDate(H::KIALLIT) != replaced.issued;
}

StoredSale DeliveryStore::store(MemoryDocument& document, DeliveryKind kind,
                                const std::optional<ReplacedOffer>& replaced) {
    open(kind);
    m_now = m_context.now();
    document.sortLinesForPrint();
    StoredSale sale;
    dbase::Transaction transaction(m_context.data.dataFolder(), dbase::FileSystem::real(), m_context.commit);
    m_handles->headers.refresh();
    std::vector<uint32_t> oldHeaders, oldLines;
    if (replaced) {
        sale.number = replaced->number.trimmed();
        oldHeaders = recordsOf(m_handles->headers, H::SZAMLASZAM, sale.number);
        oldLines = recordsOf(m_handles->lines, L::SZAMLASZAM, sale.number);
    } else {
        sale.number = takeFreeNumber(invoicing::deliveryNumberKind(kind), m_handles->headers,
                                     m_context.data.UserTable(), m_now.date());
    }
    sale.headerRecNo = appendHeader(document, kind, sale.number);
    appendLines(document, kind, sale.number);
    if (m_context.afterAppending) m_context.afterAppending();
    deleteRecords(m_handles->lines, oldLines);
    deleteRecords(m_handles->headers, oldHeaders);
    moveStock(document, kind, sale);
    transaction.commit();
    return sale;
}

std::optional<StoredSale> DeliveryStore::save(MemoryDocument& document, DeliveryKind kind, Prompt& prompt,
                                              DeliveryCopyPrinter& printer, std::optional<SaveFocus>* focus,
                                              const std::optional<ReplacedOffer>& replaced) {
    // An offer may go out before its partner is known: it prints with empty partner fields.
    if (kind != DeliveryKind::Offer && document.mszamla.asString(H::NEV).trimmed().isEmpty()) {
        prompt.warning(kSaveCaption, kNoPartner);
        if (focus) *focus = SaveFocus::PartnerName;
        return std::nullopt;
    }
    int copies = 0;
    if (kind != DeliveryKind::CashPayout) {
        TableHandle& settings = m_context.data.UserTable();
        settings.refresh();
        settings.first();
        const Field preset = kind == DeliveryKind::Offer ? fields::User::PRNAJANLAT : fields::User::PRNSZL;
        const int offered = settings.isNull(preset) ? 0 : int(settings.asInteger(preset));
        const std::optional<int> chosen = prompt.askCopies(offered);
        if (!chosen) return std::nullopt;
        copies = *chosen;
    }
    StoredSale sale;
    try {
        if (replaced && offerChanged(*replaced) &&
            !prompt.askYesNo(kOfferChangedCaption, offerChangedQuestion(replaced->number), Icon::Warning))
            return std::nullopt;
        sale = store(document, kind, replaced);
    } catch (const RuleError& refused) {
        prompt.warning(refused.caption(), refused.message());
        return std::nullopt;
    }
    try {
        if (copies > 0) printer.printCopies(sale, kind, copies);
    } catch (const std::exception&) {
        prompt.warning(kSaveCaption, QStringLiteral("A(z) %1 számú bizonylat el van mentve, de a nyomtatása nem "
                                                    "sikerült. Kérem, nyomtassa ki újra a bizonylatok listájából.")
                                         .arg(sale.number));
    }
    tellLinesWithoutStock(sale.linesWithoutStock, prompt);
    return sale;
}

}  // namespace kavina::documents
