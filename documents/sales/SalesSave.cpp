#include "documents/sales/SalesSave.h"

#include <filesystem>
#include <vector>

#include "dbase/DbError.h"
#include "dbase/Transaction.h"
#include "documents/stock/StockRule.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "foundation/SzamSzov.h"
#include "foundation/TDataModule1.h"
#include "foundation/TextFormat.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/document/DocumentNumbering.h"
#include "invoicing/navdata/InvoiceDataQueue.h"

namespace kavina::documents {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace U = fields::User;
namespace P = fields::Partner;
using invoicing::NumberKind;

namespace {

const QString kTransfer = QStringLiteral("Átutalás");
const QString kCash = QStringLiteral("Készpénz");
const QString kOriginalCopy = QStringLiteral("Eredeti példány");
const QString kFurtherCopy = QStringLiteral("Másolati példány");
constexpr int kNumberAttempts = 100;

// The header fields the editor fills and the save copies as they are.
const Field kHeaderFields[] = {H::AJANLSZAM, H::ALLAPOT,    H::PARTNERKOD, H::NEV,       H::NEV1,      H::IRSZAM,
                               H::VAROS,     H::CIM,        H::FIZMOD,     H::KIALLIT,   H::TELJESIT,  H::FIZHAT,
                               H::TARGY,     H::AFAALAP,    H::AFA,        H::AFAFT,     H::FIZETENDO, H::FIZETVE,
                               H::ARCSOPORT, H::KEDVEZMENY, H::UGYINTEZO,  H::MEGJEGYZES};

const Field kLineFields[] = {L::ANYAGSZAM, L::MENNYISEG, L::EGYSEG,   L::AR1,        L::AR2,        L::AR3,
                             L::ARE,       L::EGYSEGAR,  L::ITJSZAM,  L::MEGNEVEZES, L::MEGJEGYZES, L::NETTOAR,
                             L::AFA,       L::AFAFT,     L::OSSZESEN, L::ARCSOPORT,  L::TERMEK,     L::cikkszam,
                             L::bar1,      L::bar2,      L::bar3,     L::bfixar,     L::begysegar,  L::nbesz};

NumberKind numberKindOf(SalesMode mode) {
    switch (mode) {
        case SalesMode::Invoice: return NumberKind::Invoice;
        case SalesMode::Corrective: return NumberKind::Corrective;
        case SalesMode::Proforma: return NumberKind::Proforma;
        case SalesMode::CashSale: return NumberKind::CashSale;
        case SalesMode::Scrap: return NumberKind::Scrap;
    }
    return NumberKind::Invoice;
}

Movement movementOf(SalesMode mode) {
    switch (mode) {
        case SalesMode::CashSale: return Movement::CashSale;
        case SalesMode::Scrap: return Movement::Scrap;
        case SalesMode::Corrective: return Movement::Corrective;
        default: return Movement::Invoice;
    }
}

bool needsBuyer(SalesMode mode) {
    return mode == SalesMode::Invoice || mode == SalesMode::Corrective || mode == SalesMode::Proforma;
}

void copyText(const RecordCursor& from, RecordCursor& to, const Field& field) {
    to.setString(field, from.asString(field));
}

// Replacing a delivery note moves only the difference: its lines, matched on a copy so that a
// save that fails and is tried again starts from the same rows.
struct SourceLine {
    double code = 0;
    QString name;
    double quantity = 0;
};

std::vector<SourceLine> sourceLines(const MemTable& mData2) {
    MemTable& rows = const_cast<MemTable&>(mData2);
    std::vector<SourceLine> out;
    if (rows.fieldCount() == 0 || rows.isEmpty()) return out;
    const CursorMark at = rows.bookmark();
    for (rows.first(); !rows.eof(); rows.next())
        out.push_back({rows.asFloat(L::ANYAGSZAM), rows.asString(L::MEGNEVEZES), rows.asFloat(L::MENNYISEG)});
    rows.gotoBookmark(at);
    return out;
}

QString lineLabel(double code, const QString& name) {
    return QStringLiteral("%1 (%2)").arg(name.trimmed(), QString::number(KerekitRound(code)));
}

}  // namespace

// ---- checks -----------------------------------------------------------------------------------

std::optional<SaveRefusal> validateSale(const MemoryDocument& document, SalesMode mode, bool serviceMenuVisible,
                                        const QDate& lastInvoice) {
    const MemTable& h = document.mszamla;
    if (mode == SalesMode::Invoice && !serviceMenuVisible && h.asDate(H::KIALLIT) < lastInvoice)
        return SaveRefusal{kDateBeforeLastInvoice, SaveFocus::IssueDate};
    if (!needsBuyer(mode)) return std::nullopt;
    const QString method = h.asString(H::FIZMOD).trimmed();
    if (method == kCash && h.asDate(H::KIALLIT) != h.asDate(H::FIZHAT))
        return SaveRefusal{kWrongDueDate, SaveFocus::PaymentMethod};
    if (method.isEmpty()) return SaveRefusal{kNoPaymentMethod, SaveFocus::PaymentMethod};
    if (h.asString(H::NEV).trimmed().isEmpty()) return SaveRefusal{kNoPartner, SaveFocus::PartnerName};
    return std::nullopt;
}

int initialCopies(SalesMode mode, const RecordCursor& settings) {
    if (mode == SalesMode::CashSale) return settings.asString(U::MEGJEGYZES).trimmed().toInt();
    return settings.isNull(U::PRNSZAMLA) ? 0 : int(settings.asInteger(U::PRNSZAMLA));
}

// ---- the store --------------------------------------------------------------------------------

struct SalesStore::Handles {
    Handles(const std::string& folder)
        : headers(folder, catalogue::table(TableId::Szamla).fileName),
          lines(folder, catalogue::table(TableId::Szamla2).fileName),
          log(folder, catalogue::table(TableId::Tranzakcio).fileName),
          partners(folder, catalogue::table(TableId::Partner).fileName),
          queue(folder, catalogue::table(TableId::NavQueue).fileName),
          invoiceData(folder) {}
    TableHandle headers;
    TableHandle lines;
    TableHandle log;
    TableHandle partners;
    TableHandle queue;
    nav::InvoiceDataBuilder invoiceData;
};

SalesStore::SalesStore(SalesSaveContext context) : m_context(std::move(context)) {}

SalesStore::~SalesStore() = default;

void SalesStore::open() {
    if (m_handles) return;
    const std::string& folder = m_context.data.dataFolder();
    auto handles = std::make_unique<Handles>(folder);
    handles->headers.open();
    handles->headers.setOrder(H::SZAMLASZAM);
    handles->lines.open();
    handles->partners.open();
    handles->partners.setOrder(P::PARTNERKOD);
    m_handles = std::move(handles);
    m_stock = std::make_unique<StockRule>(folder, m_context.lockPatience);
}

// A folder that was never upgraded has no stock log; every document but a proforma needs it.
// Invoices and corrective invoices need the queue of the invoice data as well.
void SalesStore::checkReady(SalesMode mode) {
    open();
    const bool reported = mode == SalesMode::Invoice || mode == SalesMode::Corrective;
    if (reported && !m_handles->queue.isOpen()) {
        if (!catalogue::existsIn(catalogue::table(TableId::NavQueue), m_context.data.dataFolder()))
            throw RuleError(kNoInvoiceDataQueue);
        m_handles->queue.open();
    }
    if (mode == SalesMode::Proforma || m_handles->log.isOpen()) return;
    const std::string path = m_context.data.dataFolder() + catalogue::table(TableId::Tranzakcio).fileName;
    if (!std::filesystem::exists(path)) throw RuleError(kNoStockLog);
    m_handles->log.open();
}

// The buyer's tax data as the partner register holds it now; a buyer typed in without a
// partner keeps what the document holds.
BuyerTaxData SalesStore::buyerAsIssued(const MemTable& header) {
    open();
    BuyerTaxData buyer{header.asString(H::BUYERTAX).trimmed(), header.asString(H::BUYEREU).trimmed(),
                       header.asString(H::BUYERSTAT).trimmed()};
    const int64_t code = header.isNull(H::PARTNERKOD) ? 0 : header.asInteger(H::PARTNERKOD);
    TableHandle& partners = m_handles->partners;
    partners.refresh();
    if (code <= 0 || !partners.findKey(QString::number(code).toStdString())) return buyer;
    return {partners.asString(P::ADOSZAM).trimmed(), partners.asString(P::EUVATNUM).trimmed(),
            partners.asString(P::VATSTATUS).trimmed()};
}

// A correction of a corrective invoice modifies the invoice the chain started from.
QString SalesStore::baseInvoiceOf(const SalesSource& source) {
    TableHandle& h = m_handles->headers;
    h.refresh();
    if (source.number.trimmed().isEmpty() || !h.findKey(source.number.trimmed().toStdString())) return source.number;
    const QString base = h.asString(H::BASEINV).trimmed();
    return base.isEmpty() ? source.number.trimmed() : base;
}

std::optional<QString> SalesStore::invoiceDataRefusal(const MemoryDocument& document, SalesMode mode) {
    if (mode != SalesMode::Invoice && mode != SalesMode::Corrective) return std::nullopt;
    checkReady(mode);
    MemTable& lines = const_cast<MemTable&>(document.mszamla2);
    nav::InvoiceDocument planned = nav::readDocument(document.mszamla, lines);
    const BuyerTaxData buyer = buyerAsIssued(document.mszamla);
    planned.buyerTax = buyer.taxNumber;
    planned.buyerEu = buyer.euNumber;
    planned.buyerStatus = buyer.status.isEmpty() ? QChar() : buyer.status.front();
    return nav::refusalBeforeSave(m_handles->invoiceData, planned);
}

QDate SalesStore::lastInvoiceDate() {
    open();
    m_now = m_context.now();
    QDate latest = m_context.settings.szamDate;
    TableHandle& settings = m_context.data.UserTable();
    settings.refresh();
    settings.first();
    if (settings.isEmpty()) return latest;
    TableHandle& h = m_handles->headers;
    h.refresh();
    for (NumberKind kind : {NumberKind::Invoice, NumberKind::Corrective}) {
        // Numbers of one kind and year sort by their counter: the last of them is the newest.
        const QString number = invoicing::composeNumber(kind, settings, m_now.date());
        const QString yearPrefix = number.left(number.indexOf(QLatin1Char('/')) + 1);
        if (!h.findNearest((yearPrefix + QStringLiteral("99999999")).toStdString()))
            h.last();
        else
            h.prior();
        for (int step = 0; step < 50 && !h.bof() && !h.isEmpty(); ++step, h.prior()) {
            if (!h.asString(H::SZAMLASZAM).startsWith(yearPrefix)) break;
            const QString type = h.asString(H::SZAMLATIP).trimmed();
            if (type != QChar(invoicing::type::Invoice) && type != QChar(invoicing::type::Corrective)) continue;
            latest = std::max(latest, h.asDate(H::KIALLIT));
            break;
        }
    }
    return latest;
}

// The counter is raised under the settings record's lock; a number another program already
// stored is skipped, and one the document field cannot hold whole is refused.
QString takeFreeNumber(NumberKind kind, TableHandle& headers, TableHandle& settings, const QDate& today) {
    const int width = headers.fields().at(size_t(headers.fieldNumber(H::SZAMLASZAM))).length;
    for (int attempt = 0; attempt < kNumberAttempts; ++attempt) {
        const QString number = invoicing::takeNumber(kind, settings, today);
        if (number.size() > width)
            throw RuleError(QStringLiteral("A bizonylatszám (%1) hosszabb %2 karakternél. Kérem, rövidítse a "
                                           "számlaszám előtagját vagy utótagját a beállításokban.")
                                .arg(number)
                                .arg(width));
        if (!headers.findKey(number.toStdString())) return number;
    }
    throw RuleError(QStringLiteral("Nem található szabad bizonylatszám."));
}

void appendDocumentLine(const RecordCursor& from, TableHandle& lines, const QString& number) {
    RecordEdit change = RecordEdit::append(lines);
    for (const Field& field : kLineFields) copyText(from, lines, field);
    lines.setString(L::SZAMLASZAM, number);
    const long double profit = (long double)from.asFloat(L::MENNYISEG) *
                               ((long double)from.asFloat(L::EGYSEGAR) - (long double)from.asFloat(L::nbesz));
    lines.setFloat(L::haszon, double(Kerekit(-1, profit)));
    change.post();
}

void tellLinesWithoutStock(const QStringList& lines, Prompt& prompt) {
    if (lines.isEmpty()) return;
    prompt.information(QStringLiteral("Információ"),
                       QStringLiteral("A következő tételek terméke nem található (közben átnevezték vagy "
                                      "törölték), ezért a készletük nem változott:\n") +
                           lines.join(QLatin1Char('\n')));
}

uint32_t SalesStore::appendHeader(const MemoryDocument& document, SalesMode mode, const QString& number) {
    const MemTable& from = document.mszamla;
    TableHandle& h = m_handles->headers;
    RecordEdit change = RecordEdit::append(h);
    for (const Field& field : kHeaderFields) copyText(from, h, field);
    h.setString(H::SZAMLASZAM, number);
    h.setString(H::SZAMLATIP, QString(*invoicing::typeCodeOf(numberKindOf(mode))));
    h.setString(H::GARANCIASZ, timeText(m_now.time()));
    h.setString(H::TELJESCIM, from.asString(H::VAROS).trimmed() + QLatin1Char(' ') + from.asString(H::CIM).trimmed());
    if (needsBuyer(mode)) {
        const BuyerTaxData buyer = buyerAsIssued(from);
        h.setString(H::BUYERTAX, buyer.taxNumber);
        h.setString(H::BUYEREU, buyer.euNumber);
        h.setString(H::BUYERSTAT, buyer.status);
    }
    if (mode == SalesMode::Corrective) h.setString(H::BASEINV, m_base);
    h.setInteger(H::PRINT, 1);
    // Everything but a bank transfer is paid when issued.
    const bool paid = from.asString(H::FIZMOD).trimmed() != kTransfer;
    h.setLogical(H::FIZETVE, paid);
    h.setDate(H::FIZDATUM, paid ? m_now.date() : QDate());
    change.post();
    return uint32_t(h.bookmark().id);
}

void SalesStore::appendLines(const MemoryDocument& document, SalesMode mode, const QString& number) {
    MemTable& from = const_cast<MemTable&>(document.mszamla2);
    TableHandle& lines = m_handles->lines;
    const bool logged = mode != SalesMode::Proforma;
    const int64_t partner = mode == SalesMode::CashSale              ? -1
                            : document.mszamla.isNull(H::PARTNERKOD) ? 0
                                                                     : document.mszamla.asInteger(H::PARTNERKOD);
    for (from.first(); !from.eof(); from.next()) {
        appendDocumentLine(from, lines, number);
        if (!logged) continue;
        StockLogRow row;
        row.articleNumber = from.asString(L::cikkszam).trimmed();
        row.document = number;
        row.partner = partner;
        row.item = from.asString(L::MEGNEVEZES);
        row.quantity = from.asFloat(L::MENNYISEG);
        row.user = m_context.user;
        row.when = m_now;
        row.movement = movementOf(mode);
        appendStockLog(m_handles->log, row);
    }
}

// Every stocked line lowers its product; a document that replaces a delivery note moves only
// what differs from the note's own lines, which moved the stock when the note was saved.
void SalesStore::moveStock(const MemoryDocument& document, SalesMode mode, const SalesSource& source,
                           StoredSale& sale) {
    if (mode == SalesMode::Proforma) return;
    const bool replacing = source.kind == SourceKind::Replacing && mode != SalesMode::Corrective;
    std::vector<SourceLine> left = replacing ? sourceLines(document.mData2) : std::vector<SourceLine>{};
    MemTable& lines = const_cast<MemTable&>(document.mszamla2);
    for (lines.first(); !lines.eof(); lines.next()) {
        if (lines.asLogical(L::TERMEK)) continue;
        const double code = lines.asFloat(L::ANYAGSZAM);
        const QString name = lines.asString(L::MEGNEVEZES);
        double quantity = lines.asFloat(L::MENNYISEG);
        const auto product = m_stock->findForLine(code, name);
        if (!product) {
            sale.linesWithoutStock << lineLabel(code, name);
            continue;
        }
        for (auto it = left.begin(); it != left.end(); ++it)
            if (KerekitRound(it->code) == KerekitRound(code) && it->name == name) {
                quantity = double(Kerekit(-1, (long double)quantity - it->quantity));
                left.erase(it);
                break;
            }
        m_stock->apply(*product, -quantity);
    }
    for (const SourceLine& back : left) {
        const auto product = m_stock->findForLine(back.code, back.name);
        if (product)
            m_stock->apply(*product, back.quantity);
        else
            sale.linesWithoutStock << lineLabel(back.code, back.name);
    }
}

// A delivery note is invoiced once; an invoice may be corrected again (the editor asked).
void SalesStore::markSourceInvoiced(SalesMode mode, const SalesSource& source) {
    if (source.kind != SourceKind::Replacing) return;
    TableHandle& h = m_handles->headers;
    if (!h.findKey(source.number.toStdString()))
        throw RuleError(QStringLiteral("A forrásbizonylatot (%1) közben törölték.").arg(source.number));
    RecordEdit change = RecordEdit::edit(h);
    if (mode != SalesMode::Corrective && h.asString(H::ALLAPOT).trimmed() == invoicing::state::Invoiced)
        throw RuleError(kSourceAlreadyInvoiced);
    h.setString(H::ALLAPOT, invoicing::state::Invoiced);
    change.post();
}

StoredSale SalesStore::store(MemoryDocument& document, SalesMode mode, const SalesSource& source) {
    checkReady(mode);
    m_now = m_context.now();
    document.sortLinesForPrint();
    StoredSale sale;
    dbase::Transaction transaction(m_context.data.dataFolder(), dbase::FileSystem::real(), m_context.commit);
    if (const auto refused = invoiceDataRefusal(document, mode)) throw RuleError(*refused);
    m_base = mode == SalesMode::Corrective ? baseInvoiceOf(source) : QString();
    m_handles->headers.refresh();
    sale.number = takeFreeNumber(numberKindOf(mode), m_handles->headers, m_context.data.UserTable(), m_now.date());
    sale.headerRecNo = appendHeader(document, mode, sale.number);
    appendLines(document, mode, sale.number);
    moveStock(document, mode, source, sale);
    markSourceInvoiced(mode, source);
    bool queued = false;
    if (mode == SalesMode::Invoice || mode == SalesMode::Corrective)
        queued = nav::queueInvoiceData(m_handles->invoiceData, m_handles->queue, sale.number, m_now).has_value();
    transaction.commit();
    if (queued) nav::tellQueued();
    return sale;
}

void SalesStore::printCopies(const StoredSale& sale, SalesMode mode, int copies, SalesCopyPrinter& printer) {
    TableHandle& h = m_handles->headers;
    for (int serial = 1; serial <= copies; ++serial) {
        if (serial > 1) {
            h.refresh();
            if (!h.gotoBookmark({sale.headerRecNo})) return;
            RecordEdit change = RecordEdit::edit(h);
            h.setInteger(H::PRINT, serial);
            change.post();
        }
        printer.printCopy(sale, mode, serial == 1 ? kOriginalCopy : kFurtherCopy, copies);
    }
}

std::optional<StoredSale> SalesStore::save(MemoryDocument& document, SalesMode mode, const SalesSource& source,
                                           Prompt& prompt, SalesCopyPrinter& printer, std::optional<SaveFocus>* focus) {
    const QDate lastInvoice = mode == SalesMode::Invoice ? lastInvoiceDate() : QDate();
    if (const auto refusal = validateSale(document, mode, m_context.serviceMenuVisible, lastInvoice)) {
        prompt.warning(kSaveCaption, refusal->message);
        if (focus) *focus = refusal->focus;
        return std::nullopt;
    }
    try {
        if (const auto refused = invoiceDataRefusal(document, mode)) {
            prompt.warning(kSaveCaption, *refused);
            if (focus) *focus = SaveFocus::PartnerName;
            return std::nullopt;
        }
    } catch (const RuleError& refused) {
        prompt.warning(refused.caption(), refused.message());
        return std::nullopt;
    }
    TableHandle& settings = m_context.data.UserTable();
    settings.refresh();
    settings.first();
    const std::optional<int> copies = prompt.askCopies(initialCopies(mode, settings));
    if (!copies) return std::nullopt;
    StoredSale sale;
    try {
        sale = store(document, mode, source);
    } catch (const RuleError& refused) {
        prompt.warning(refused.caption(), refused.message());
        return std::nullopt;
    }
    // The last invoice date moves only with a document that was stored; the stored invoices
    // themselves hold it too, so an ini file that cannot be written loses nothing.
    try {
        invoicing::recordIssueDate(m_context.ini, m_context.settings, numberKindOf(mode),
                                   document.mszamla.asDate(H::KIALLIT));
    } catch (const std::exception&) {
    }
    try {
        printCopies(sale, mode, *copies, printer);
    } catch (const std::exception&) {
        prompt.warning(kSaveCaption, QStringLiteral("A(z) %1 számú bizonylat el van mentve, de a nyomtatása nem "
                                                    "sikerült. Kérem, nyomtassa ki újra a számlák listájából.")
                                         .arg(sale.number));
    }
    tellLinesWithoutStock(sale.linesWithoutStock, prompt);
    return sale;
}

}  // namespace kavina::documents
