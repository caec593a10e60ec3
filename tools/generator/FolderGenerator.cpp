#include "tools/generator/FolderGenerator.h"

#include <QDir>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include "documents/delivery/DeliverySave.h"
#include "documents/sales/Cancellation.h"
#include "documents/sales/Payment.h"
#include "documents/sales/SalesSave.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/IniFile.h"
#include "foundation/IniSettings.h"
#include "foundation/NewDataFolder.h"
#include "foundation/RecordEdit.h"
#include "foundation/TDataModule1.h"
#include "invoicing/document/DocumentKinds.h"
#include "tools/generator/DocumentBuilder.h"
#include "tools/generator/GeneratedRegisters.h"

namespace kavina::generator {

namespace {

namespace A = fields::Anyag;
namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace P = fields::Partner;
using documents::CancelKind;
using documents::CancelMode;
using invoicing::DeliveryKind;
using invoicing::EditorMode;
using products::LineEditor;

const QString kTransfer = QStringLiteral("Átutalás");
const QString kCash = QStringLiteral("Készpénz");

// How often each kind of document is made, per thousand documents of a busy shop.
struct Weight {
    Kind kind;
    int perThousand;
};
const Weight kWeights[] = {
    {Kind::TransferInvoice, 260},
    {Kind::CashInvoice, 140},
    {Kind::CashSale, 250},
    {Kind::Proforma, 20},
    {Kind::Corrective, 15},
    {Kind::DeliveryNote, 100},
    {Kind::InvoiceFromDeliveryNote, 60},
    {Kind::Offer, 30},
    {Kind::GoodsReceipt, 40},
    {Kind::Return, 5},
    {Kind::Scrap, 5},
};

// The chance per document, in thousandths, that a recent document is cancelled before it.
constexpr int kStornoPerThousand = 20;
constexpr int kSpoilPerThousand = 5;
// Three transfer invoices in four are paid, some days after their due date at the latest.
constexpr int kPaidPerFour = 3;
// A goods receipt fills the goods lowest in stock up to about this quantity.
constexpr double kStockTarget = 60;
// Recent documents a cancellation or a corrective invoice may choose from.
constexpr size_t kRecentKept = 200;

struct Product {
    double code = 0;
    bool service = false;
    bool fractional = false;  // sold by weight, volume or length
};

struct Recent {
    QString number;
    QDate issued;
};

// The partner of a stored document, as the editors copy it from a source document.
PartnerCard partnerOf(const RecordCursor& header) {
    PartnerCard card{header.asInteger(H::PARTNERKOD),     header.asString(H::NEV).trimmed(),
                     header.asString(H::NEV1).trimmed(),  header.asString(H::IRSZAM).trimmed(),
                     header.asString(H::VAROS).trimmed(), header.asString(H::CIM).trimmed(),
                     header.asString(H::FIZMOD).trimmed()};
    card.discount = int(header.asInteger(H::KEDVEZMENY));
    return card;
}

class Run {
public:
    Run(std::string folder, const GeneratorOptions& options)
        : m_folder(std::move(folder)),
          m_options(options),
          m_random(options.seed),
          m_ini(QDir::temp().filePath(QStringLiteral("kavina-generator-unused.ini"))) {}

    GeneratorSummary run();

private:
    void openFolder();
    void loadRegisters();
    std::vector<QDate> documentDays();
    Kind chooseKind();
    int pick(int count) { return int(m_random() % uint32_t(std::max(count, 1))); }
    bool chance(int perThousand) { return pick(1000) < perThousand; }

    void make(Kind kind, const QDate& day);
    void sale(Kind kind, const QDate& day);
    void corrective(const QDate& day);
    void delivery(DeliveryKind kind, const QDate& day);
    void invoiceFromNote(const QDate& day);
    void cancelSomething(const QDate& day);
    void payDue(const QDate& upTo);

    const PartnerCard& customer(const QString& payment);
    const PartnerCard& supplier();
    void addSaleLines(MemoryDocument& doc, LineEditor editor, int count, bool movesStock);
    void addReceiptLines(MemoryDocument& doc);
    int lineCount();
    double quantityFor(const Product& product);
    void stored(const QString& number, int lines);
    QDateTime clockAt(const QDate& day);

    std::string m_folder;
    GeneratorOptions m_options;
    std::mt19937 m_random;
    GeneratorSummary m_summary;
    QDate m_from, m_to;

    TDataModule1 m_data;
    IniFile m_ini;
    IniSettings m_iniSettings;
    SilentPrompt m_prompt;
    QDateTime m_clock;
    std::unique_ptr<TableHandle> m_products;
    std::unique_ptr<TableHandle> m_headers;
    std::unique_ptr<TableHandle> m_lines;
    std::unique_ptr<DocumentBuilder> m_builder;
    std::unique_ptr<documents::SalesStore> m_sales;
    std::unique_ptr<documents::DeliveryStore> m_deliveries;
    std::unique_ptr<documents::DocumentCancellation> m_cancellation;
    std::unique_ptr<documents::InvoicePayment> m_payment;

    std::vector<Product> m_goods;
    std::vector<Product> m_services;
    std::vector<double> m_stock;  // the generator's own estimate, by index of m_goods
    std::vector<PartnerCard> m_customers, m_suppliers;
    std::deque<Recent> m_invoices, m_cashSales, m_notes;
    std::multimap<QDate, QString> m_payments;
    int m_secondOfDay = 0;
    QDate m_lastDay;
};

GeneratorSummary Run::run() {
    const QDate first(m_options.year, 1, 1), last(m_options.year, 12, 31);
    m_from = m_options.from.isValid() ? m_options.from : first;
    m_to = m_options.to.isValid() ? m_options.to : last;
    if (m_options.documents <= 0) throw GeneratorRefused("the number of documents must be positive");
    if (m_options.linesPerDocument <= 0) throw GeneratorRefused("the number of lines must be positive");
    if (!first.isValid() || m_from > m_to) throw GeneratorRefused("the days of the documents are not a range");
    openFolder();
    loadRegisters();
    if (m_goods.empty()) throw GeneratorRefused("the folder holds no goods to sell");
    const std::vector<QDate> days = documentDays();
    // The shop opens by receiving its goods: the first documents stock every product once.
    const bool receipts = m_options.kinds & bit(Kind::GoodsReceipt);
    const int opening = receipts ? std::min<int>(m_options.documents / 4, int((m_goods.size() + 29) / 30)) : 0;
    for (int i = 0; i < m_options.documents; ++i) {
        const QDate& day = days[size_t(i)];
        payDue(day);
        if (i >= opening) cancelSomething(day);
        make(i < opening ? Kind::GoodsReceipt : chooseKind(), day);
        if (m_options.progress) m_options.progress(i + 1, m_options.documents);
    }
    payDue(m_to);
    return m_summary;
}

void Run::openFolder() {
    namespace fs = std::filesystem;
    const bool fresh = !fs::exists(fs::path(m_folder) / catalogue::table(TableId::Szamla).fileName);
    if (fresh) {
        createDataFolder(m_folder, {.today = m_to});
        writeSettings(m_folder, m_options.year);
        std::mt19937 registers(m_options.seed ^ 0x5eedu);
        writeProducts(m_folder, std::max(m_options.products, 1), registers);
        writePartners(m_folder, std::max(m_options.partners, 2), registers);
    }
    const std::string withSeparator = m_folder.back() == '/' ? m_folder : m_folder + "/";
    m_data.open(withSeparator);
    m_products = std::make_unique<TableHandle>(withSeparator, catalogue::table(TableId::Anyag).fileName);
    m_products->open({.readOnly = true});
    m_products->setOrder(A::ANYAGKOD);
    m_headers = std::make_unique<TableHandle>(withSeparator, catalogue::table(TableId::Szamla).fileName);
    m_headers->open({.readOnly = true});
    m_headers->setOrder(H::SZAMLASZAM);
    m_lines = std::make_unique<TableHandle>(withSeparator, catalogue::table(TableId::Szamla2).fileName);
    m_lines->open({.readOnly = true});
    m_lines->setOrder(L::SZAMLASZAM);
    m_builder = std::make_unique<DocumentBuilder>(*m_products, m_prompt, m_options.user);

    const dbase::TransactionOptions commit{.sync = m_options.sync};
    documents::SalesSaveContext sales{m_data, m_ini, m_iniSettings, m_options.user};
    sales.now = [this] { return m_clock; };
    sales.commit = commit;
    m_sales = std::make_unique<documents::SalesStore>(sales);
    documents::DeliverySaveContext deliveries{m_data, m_options.user};
    deliveries.now = [this] { return m_clock; };
    deliveries.commit = commit;
    m_deliveries = std::make_unique<documents::DeliveryStore>(deliveries);
    m_cancellation = std::make_unique<documents::DocumentCancellation>(m_data, std::chrono::milliseconds(5000), commit);
    m_payment = std::make_unique<documents::InvoicePayment>(m_data);
    // Cash-register sales and goods receipts count from 1 where the counter was never set.
    TableHandle& settings = m_data.UserTable();
    settings.refresh();
    settings.first();
    if (settings.isEmpty()) throw GeneratorRefused("the folder has no settings record");
}

void Run::loadRegisters() {
    TableHandle& products = *m_products;
    for (products.first(); !products.eof(); products.next()) {
        const QString unit = products.asString(A::EGYSEG).trimmed();
        Product p{products.asFloat(A::ANYAGKOD), products.asLogical(A::TERMEK),
                  unit == QStringLiteral("kg") || unit == QStringLiteral("l") || unit == QStringLiteral("m")};
        // A product in the recycle bin is no longer sold.
        if (products.asString(A::KATEGORIA).trimmed() == QStringLiteral("Lomtár")) continue;
        (p.service ? m_services : m_goods).push_back(p);
        if (!p.service) m_stock.push_back(products.asFloat(A::MENNYISEG));
    }
    m_summary.products = int(m_goods.size() + m_services.size());
    TableHandle partners(m_data.dataFolder(), catalogue::table(TableId::Partner).fileName);
    partners.open({.readOnly = true});
    partners.setOrder(P::PARTNERKOD);
    for (partners.first(); !partners.eof(); partners.next()) {
        PartnerCard card{partners.asInteger(P::PARTNERKOD),     partners.asString(P::NEV).trimmed(),
                         partners.asString(P::NEV2).trimmed(),  partners.asString(P::IRSZAM).trimmed(),
                         partners.asString(P::VAROS).trimmed(), partners.asString(P::UTCA).trimmed(),
                         partners.asString(P::FIZMOD).trimmed()};
        card.priceGroup = std::clamp(int(partners.asInteger(P::ARCSOPORT)), 1, 4);
        card.discount = int(partners.asFloat(P::OSSZESBIZM));
        card.paymentDays = std::max(1, int(partners.asFloat(P::OSSZESBIZF)));
        if (card.name.isEmpty()) continue;
        const bool isSupplier = partners.asString(P::PCSOPORT).trimmed() == QStringLiteral("Szállító");
        (isSupplier ? m_suppliers : m_customers).push_back(card);
    }
    if (m_customers.empty()) m_customers = m_suppliers;
    if (m_suppliers.empty()) m_suppliers = m_customers;
    if (m_customers.empty()) throw GeneratorRefused("the folder holds no partners");
    m_summary.partners = int(m_customers.size() + m_suppliers.size());
}

// The shop is open from Monday to Saturday; documents fall on its days at random, in order.
std::vector<QDate> Run::documentDays() {
    std::vector<QDate> open;
    for (QDate d = m_from; d <= m_to; d = d.addDays(1))
        if (d.dayOfWeek() != Qt::Sunday) open.push_back(d);
    if (open.empty()) open.push_back(m_from);
    std::vector<QDate> days;
    days.reserve(size_t(m_options.documents));
    for (int i = 0; i < m_options.documents; ++i) days.push_back(open[size_t(pick(int(open.size())))]);
    std::sort(days.begin(), days.end());
    return days;
}

Kind Run::chooseKind() {
    int total = 0;
    for (const Weight& w : kWeights)
        if (m_options.kinds & bit(w.kind)) total += w.perThousand;
    if (total == 0) return Kind::CashSale;
    int at = pick(total);
    for (const Weight& w : kWeights) {
        if (!(m_options.kinds & bit(w.kind))) continue;
        if (at < w.perThousand) return w.kind;
        at -= w.perThousand;
    }
    return Kind::CashSale;
}

// Documents of one day are saved one after the other from eight in the morning.
QDateTime Run::clockAt(const QDate& day) {
    if (day != m_lastDay) {
        m_lastDay = day;
        m_secondOfDay = 8 * 3600;
    }
    m_secondOfDay = std::min(m_secondOfDay + 20 + pick(300), 86399);
    return QDateTime(day, QTime(0, 0).addSecs(m_secondOfDay));
}

void Run::make(Kind kind, const QDate& day) {
    m_clock = clockAt(day);
    m_products->refresh();
    switch (kind) {
        case Kind::TransferInvoice:
        case Kind::CashInvoice:
        case Kind::CashSale:
        case Kind::Proforma:
        case Kind::Scrap: sale(kind, day); return;
        case Kind::Corrective: corrective(day); return;
        case Kind::DeliveryNote: delivery(DeliveryKind::DeliveryNote, day); return;
        case Kind::InvoiceFromDeliveryNote: invoiceFromNote(day); return;
        case Kind::Offer: delivery(DeliveryKind::Offer, day); return;
        case Kind::GoodsReceipt: delivery(DeliveryKind::GoodsReceipt, day); return;
        case Kind::Return: delivery(DeliveryKind::Return, day); return;
        default: sale(Kind::CashSale, day); return;
    }
}

const PartnerCard& Run::customer(const QString& payment) {
    // A few tries for a partner who pays that way; otherwise whoever came.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const PartnerCard& card = m_customers[size_t(pick(int(m_customers.size())))];
        if (card.payment == payment) return card;
    }
    return m_customers[size_t(pick(int(m_customers.size())))];
}

const PartnerCard& Run::supplier() {
    return m_suppliers[size_t(pick(int(m_suppliers.size())))];
}

int Run::lineCount() {
    return 1 + pick(2 * m_options.linesPerDocument - 1);
}

double Run::quantityFor(const Product& product) {
    if (product.fractional && pick(3) == 0) return 0.5 + pick(8) * 0.25;
    return 1 + pick(pick(4) == 0 ? 10 : 3);
}

void Run::addSaleLines(MemoryDocument& doc, LineEditor editor, int count, bool movesStock) {
    std::vector<size_t> taken;
    for (int n = 0; n < count; ++n) {
        const bool service = !m_services.empty() && pick(20) == 0;
        if (service) {
            const Product& p = m_services[size_t(pick(int(m_services.size())))];
            m_builder->addLine(doc, p.code, 1 + pick(3), editor);
            continue;
        }
        size_t index = size_t(pick(int(m_goods.size())));
        if (std::find(taken.begin(), taken.end(), index) != taken.end()) continue;
        taken.push_back(index);
        const double quantity = quantityFor(m_goods[index]);
        m_builder->addLine(doc, m_goods[index].code, quantity, editor);
        if (movesStock) m_stock[index] -= quantity;
    }
    if (doc.mszamla2.isEmpty()) {
        m_builder->addLine(doc, m_goods.front().code, 1, editor);
        if (movesStock) m_stock.front() -= 1;
    }
}

// The goods lowest in stock are filled up; now and then at a purchase price a little changed.
void Run::addReceiptLines(MemoryDocument& doc) {
    const size_t count = std::min(m_goods.size(), size_t(3 * m_options.linesPerDocument));
    std::vector<size_t> order(m_goods.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::partial_sort(order.begin(), order.begin() + long(count), order.end(), [this](size_t a, size_t b) {
        return m_stock[a] < m_stock[b] || (m_stock[a] == m_stock[b] && a < b);
    });
    for (size_t n = 0; n < count; ++n) {
        const size_t index = order[n];
        const double quantity = std::max(10.0, std::ceil(kStockTarget - m_stock[index]) + pick(20));
        std::optional<double> price;
        if (pick(5) == 0 && m_products->findKey(QString::number(m_goods[index].code).toStdString())) {
            const double now = m_products->asFloat(A::BESZERZAR);
            price = std::round(now * (0.95 + 0.01 * pick(11)));
        }
        m_builder->addLine(doc, m_goods[index].code, quantity, LineEditor::GoodsReceipt, price);
        m_stock[index] += quantity;
    }
}

void Run::stored(const QString& number, int lines) {
    (void)number;
    ++m_summary.documents;
    m_summary.lines += lines;
}

void remember(std::deque<Recent>& list, const QString& number, const QDate& day) {
    list.push_back({number, day});
    if (list.size() > kRecentKept) list.pop_front();
}

void Run::sale(Kind kind, const QDate& day) {
    MemoryDocument doc;
    EditorMode mode = EditorMode::Invoice;
    SalesMode salesMode = SalesMode::Invoice;
    const PartnerCard* partner = nullptr;
    QString payment;
    QDate due = day;
    int priceGroup = 4;
    switch (kind) {
        case Kind::TransferInvoice:
        case Kind::Proforma:
            payment = kTransfer;
            partner = &customer(kTransfer);
            break;
        case Kind::CashInvoice:
            payment = kCash;
            partner = &customer(kCash);
            break;
        case Kind::Scrap:
            mode = EditorMode::Scrap;
            salesMode = SalesMode::Scrap;
            break;
        default:
            mode = EditorMode::CashSale;
            salesMode = SalesMode::CashSale;
            break;
    }
    if (kind == Kind::Proforma) {
        mode = EditorMode::Proforma;
        salesMode = SalesMode::Proforma;
    }
    if (partner) {
        priceGroup = partner->priceGroup;
        if (payment == kTransfer) due = day.addDays(partner->paymentDays);
    }
    m_builder->start(doc, partner, payment, day, due, priceGroup);
    addSaleLines(doc, LineEditor::Invoice, kind == Kind::Scrap ? 1 + pick(2) : lineCount(), kind != Kind::Proforma);
    m_builder->total(doc, mode, false);
    const int lines = int(doc.mszamla2.recordCount());
    const QString number = m_sales->store(doc, salesMode, {}).number;
    stored(number, lines);
    if (kind == Kind::TransferInvoice || kind == Kind::CashInvoice) remember(m_invoices, number, day);
    if (kind == Kind::CashSale) remember(m_cashSales, number, day);
    if (kind == Kind::TransferInvoice && (m_options.kinds & bit(Kind::LatePayment)) && pick(4) < kPaidPerFour)
        m_payments.emplace(day.addDays(1 + pick(partner->paymentDays + 10)), number);
}

// A customer brings back part of an invoice: its first lines, with their quantities reversed.
void Run::corrective(const QDate& day) {
    if (m_invoices.empty()) return sale(Kind::TransferInvoice, day);
    const size_t at = size_t(pick(int(m_invoices.size())));
    const Recent source = m_invoices[at];
    m_invoices.erase(m_invoices.begin() + long(at));  // corrected once
    TableHandle& headers = *m_headers;
    headers.refresh();
    if (!headers.findKey(source.number.toStdString())) return sale(Kind::TransferInvoice, day);
    MemoryDocument doc;
    PartnerCard card = partnerOf(headers);
    const int group = std::clamp(int(headers.asInteger(H::ARCSOPORT)), 1, 4);
    m_builder->start(doc, &card, card.payment, day, card.payment == kTransfer ? day.addDays(8) : day, group);
    {
        RecordEdit header = RecordEdit::edit(doc.mszamla);
        doc.mszamla.setString(H::MEGJEGYZES,
                              QStringLiteral("Készült a ") + source.number + QStringLiteral(" számla alapján. "));
        header.post();
    }
    std::vector<int> returned{0};
    if (pick(2) == 0) returned.push_back(1);
    m_builder->copyStoredLines(doc, *m_lines, source.number, -1, false, returned);
    m_builder->total(doc, EditorMode::Corrective, false);
    const int lines = int(doc.mszamla2.recordCount());
    const QString number =
        m_sales->store(doc, SalesMode::Corrective, {invoicing::SourceKind::Replacing, source.number}).number;
    stored(number, lines);
}

void Run::delivery(DeliveryKind kind, const QDate& day) {
    MemoryDocument doc;
    const bool fromSupplier = kind == DeliveryKind::GoodsReceipt || kind == DeliveryKind::Return;
    const PartnerCard& partner = fromSupplier ? supplier() : customer(kTransfer);
    m_builder->start(doc, &partner, partner.payment, day, day.addDays(partner.paymentDays),
                     fromSupplier ? 4 : partner.priceGroup);
    switch (kind) {
        case DeliveryKind::GoodsReceipt: addReceiptLines(doc); break;
        case DeliveryKind::Return: {
            const size_t index = size_t(pick(int(m_goods.size())));
            const double quantity = 1 + pick(3);
            m_builder->addLine(doc, m_goods[index].code, quantity, LineEditor::Return);
            m_stock[index] -= quantity;
            break;
        }
        case DeliveryKind::Offer: addSaleLines(doc, LineEditor::Offer, lineCount(), false); break;
        default: addSaleLines(doc, LineEditor::DeliveryNote, lineCount(), true); break;
    }
    m_builder->total(doc, EditorMode::Invoice, true);
    const int lines = int(doc.mszamla2.recordCount());
    const QString number = m_deliveries->store(doc, kind).number;
    stored(number, lines);
    if (kind == DeliveryKind::DeliveryNote) remember(m_notes, number, day);
}

// The invoice of a delivery note takes the note's partner and lines; its save replaces the
// note's stock effect and marks the note invoiced.
void Run::invoiceFromNote(const QDate& day) {
    if (m_notes.empty()) return sale(Kind::TransferInvoice, day);
    const Recent note = m_notes.front();
    m_notes.pop_front();
    TableHandle& headers = *m_headers;
    headers.refresh();
    if (!headers.findKey(note.number.toStdString())) return sale(Kind::TransferInvoice, day);
    MemoryDocument doc;
    PartnerCard card = partnerOf(headers);
    if (card.payment != kCash) card.payment = kTransfer;
    const int group = std::clamp(int(headers.asInteger(H::ARCSOPORT)), 1, 4);
    const QDate due = card.payment == kTransfer ? day.addDays(8) : day;
    m_builder->start(doc, &card, card.payment, day, due, group);
    m_builder->copyStoredLines(doc, *m_lines, note.number, 1, true);
    m_builder->total(doc, EditorMode::Invoice, false);
    const int lines = int(doc.mszamla2.recordCount());
    const QString number =
        m_sales->store(doc, SalesMode::Invoice, {invoicing::SourceKind::Replacing, note.number}).number;
    stored(number, lines);
    remember(m_invoices, number, day);
    if (card.payment == kTransfer && (m_options.kinds & bit(Kind::LatePayment)) && pick(4) < kPaidPerFour)
        m_payments.emplace(day.addDays(1 + pick(18)), number);
}

// Now and then a recent invoice, cash-register sale or open delivery note is cancelled; an
// invoice may also be spoiled.
void Run::cancelSomething(const QDate& day) {
    (void)day;
    const bool storno = (m_options.kinds & bit(Kind::Storno)) && chance(kStornoPerThousand);
    const bool spoil = !storno && (m_options.kinds & bit(Kind::Spoiled)) && chance(kSpoilPerThousand);
    if (!storno && !spoil) return;
    std::deque<Recent>* list = &m_invoices;
    CancelMode mode = CancelMode::Invoice;
    if (storno) {
        const int which = pick(4);
        if (which == 2) list = &m_cashSales, mode = CancelMode::CashSale;
        if (which == 3) list = &m_notes, mode = CancelMode::DeliveryNote;
    }
    if (list->empty()) return;
    const Recent target = list->back();
    list->pop_back();
    const auto document = m_cancellation->find(target.number);
    if (!document) return;
    m_clock = clockAt(day);
    m_cancellation->cancel(*document, mode, storno ? CancelKind::Storno : CancelKind::Spoil);
    ++m_summary.cancelled;
}

void Run::payDue(const QDate& upTo) {
    while (!m_payments.empty() && m_payments.begin()->first <= upTo) {
        const auto [paidOn, number] = *m_payments.begin();
        m_payments.erase(m_payments.begin());
        const auto invoice = m_payment->find(number);
        // A cancelled invoice is not paid any more.
        if (!invoice || invoice->type != QChar(invoicing::type::Invoice) || invoice->paid) continue;
        if (m_payment->record(*invoice, paidOn, m_prompt)) ++m_summary.payments;
    }
}

}  // namespace

GeneratorSummary generateFolder(const std::string& folder, const GeneratorOptions& options) {
    return Run(folder, options).run();
}

}  // namespace kavina::generator
