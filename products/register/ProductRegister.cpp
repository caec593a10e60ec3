#include "products/register/ProductRegister.h"

#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/SettingsRecord.h"
#include "foundation/SzamSzov.h"
#include "products/register/ProductList.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;

// Codes found taken in a row before the register gives up: far more than any folder holds
// codes issued behind the counter's back.
constexpr int kCodeAttempts = 10000;

bool noStock(double quantity, bool afterIssue) {
    const int64_t units = KerekitRound((long double)quantity * 10000);
    return afterIssue ? units <= 0 : units == 0;
}

QString codeText(double code) {
    return QString::number(KerekitRound(code));
}

}  // namespace

ProductRegister::ProductRegister(TDataModule1& data, Prompt& prompt, Now now, QString currentUser)
    : m_data(data), m_prompt(prompt), m_now(std::move(now)), m_user(std::move(currentUser)) {}

ProductRegister::~ProductRegister() = default;

TableHandle& ProductRegister::products() {
    if (!m_products) {
        m_products = std::make_unique<TableHandle>(m_data.dataFolder(), catalogue::table(TableId::Anyag).fileName);
        m_products->open();
        m_products->setOrder(A::ANYAGKOD);
        m_stock = std::make_unique<documents::StockRule>(m_data.dataFolder());
    }
    return *m_products;
}

std::optional<ProductRecord> ProductRegister::current() {
    TableHandle& shown = m_data.AnyagTable();
    if (shown.isEmpty()) return std::nullopt;
    return ProductRecord{uint32_t(shown.bookmark().id), shown.asFloat(A::ANYAGKOD)};
}

bool ProductRegister::show(const ProductRecord& product) {
    return m_data.AnyagTable().gotoBookmark({product.recNo});
}

// The record by its number while it still holds the product; after a reindex packed the table
// the number may have changed, and the code finds it.
bool ProductRegister::locateProduct(const ProductRecord& product) {
    TableHandle& p = products();
    p.refresh();
    if (p.gotoBookmark({product.recNo}) && KerekitRound(p.asFloat(A::ANYAGKOD)) == KerekitRound(product.code))
        return true;
    return p.findKey(codeText(product.code).toStdString());
}

const RecordCursor* ProductRegister::read(const ProductRecord& product) {
    return locateProduct(product) ? m_products.get() : nullptr;
}

// The counter holds one less than the highest code issued. It is raised under the settings
// record's lock; a code another program already gave out is skipped.
double ProductRegister::takeProductCode() {
    for (int attempt = 0; attempt < kCodeAttempts; ++attempt) {
        const int64_t counter = takeCode(m_data.UserTable(), fields::User::ANYAGKOD);
        const int64_t code = counter + 1;
        if (!products().findKey(QString::number(code).toStdString())) return double(code);
    }
    throw std::runtime_error("Nem található szabad termékkód.");
}

ProductRecord ProductRegister::appendProduct(const std::function<void(RecordCursor&)>& fill) {
    dbase::Transaction transaction(m_data.dataFolder());
    const double code = takeProductCode();
    TableHandle& p = products();
    RecordEdit change = RecordEdit::append(p);
    p.setFloat(A::ANYAGKOD, code);
    fill(p);
    change.post();
    const ProductRecord added{uint32_t(p.bookmark().id), code};
    transaction.commit();
    written();
    return added;
}

ProductRecord ProductRegister::create(const ProductFields& fields, double vatRate) {
    return appendProduct([&](RecordCursor& p) {
        p.setLogical(A::TERMEK, fields.service);
        writeProductFields(p, fields, vatRate);
        if (fields.service)
            writeServiceGrossPrices(p, vatRate);
        else
            p.setFloat(A::MENNYISEG, 0);
    });
}

bool ProductRegister::editProduct(const ProductRecord& product, const std::function<void(RecordCursor&)>& change) {
    if (!locateProduct(product)) {
        m_prompt.warning(QStringLiteral("Figyelem!"), kProductGoneMessage);
        return false;
    }
    TableHandle& p = products();
    RecordEdit edit = RecordEdit::edit(p);
    change(p);
    edit.post();
    written();
    return true;
}

namespace {

// The names a question about a change made elsewhere gives the product's fields: the dialog's
// and the list's words.
std::vector<std::pair<Field, QString>> productFieldLabels() {
    return {{A::ANYAGKOD, QStringLiteral("Termékkód")},
            {A::MEGNEVEZES, QStringLiteral("Megnevezés")},
            {A::MEGJEGYZES, QStringLiteral("Raktár")},
            {A::KATEGORIA, QStringLiteral("Kategória")},
            {A::ITJSZAM, QStringLiteral("VTSZ/SZJ")},
            {A::CIKKSZAM, QStringLiteral("Cikkszám")},
            {A::VONALKOD, QStringLiteral("Vonalkód")},
            {A::MINMENNY, QStringLiteral("Min. mennyiség")},
            {A::EGYSEG, QStringLiteral("Mértékegység")},
            {A::AFAKULCS, QStringLiteral("ÁFA kulcs")},
            {A::szavatossag, QStringLiteral("Szavatosság")},
            {A::KEP, QStringLiteral("Anyag képe")},
            {A::LISTA, QStringLiteral("Szerepeljen az árlistán")},
            {A::MENNYISEG, QStringLiteral("Mennyiség")},
            {A::BESZERZAR, QStringLiteral("Beszerzési ár")},
            {A::bbesz, QStringLiteral("Bruttó beszerzési ár")},
            {A::AR1, QStringLiteral("1. ár")},
            {A::AR2, QStringLiteral("2. ár")},
            {A::AR3, QStringLiteral("3. ár")},
            {A::bar1, QStringLiteral("Bruttó 1. ár")},
            {A::bar2, QStringLiteral("Bruttó 2. ár")},
            {A::bar3, QStringLiteral("Bruttó 3. ár")},
            {A::FIXAR, QStringLiteral("Fix ár")},
            {A::bfixar, QStringLiteral("Bruttó ár")}};
}

}  // namespace

std::unique_ptr<OpenedRecord> ProductRegister::open(const ProductRecord& product) {
    if (!locateProduct(product)) return nullptr;
    OpenedRecordTexts texts;
    texts.gone = kProductGoneMessage;
    texts.changed = QStringLiteral("A terméket közben egy másik munkaállomás módosította:");
    texts.labels = productFieldLabels();
    // Receiving and issue at other workstations move the stock while the dialog is open; the
    // dialog never writes it.
    texts.ignored = {A::MENNYISEG};
    return std::make_unique<OpenedRecord>(products(), A::ANYAGKOD, std::move(texts));
}

bool ProductRegister::modify(OpenedRecord& opened, const ProductFields& fields, double vatRate) {
    return save(opened, [&](RecordCursor& p) {
        writeProductFields(p, fields, vatRate);
        rederivePrices(p);
    });
}

bool ProductRegister::save(OpenedRecord& opened, const std::function<void(RecordCursor&)>& write) {
    TableHandle& p = products();
    const bool stored = opened.save(m_prompt, [&] { write(p); });
    if (stored) written();
    return stored;
}

std::optional<ProductRecord> ProductRegister::copy(const ProductRecord& product) {
    const RecordCursor* source = read(product);
    if (!source) {
        m_prompt.warning(QStringLiteral("Figyelem!"), kProductGoneMessage);
        return std::nullopt;
    }
    // The source is read into a record set of its own first: appending moves the handle.
    std::vector<std::pair<int, QString>> values;
    for (int f = 0; f < source->fieldCount(); ++f) values.emplace_back(f, source->asString(f));
    return appendProduct([&](RecordCursor& p) {
        const double code = p.asFloat(A::ANYAGKOD);
        for (const auto& [field, text] : values) p.setString(field, text);
        p.setFloat(A::ANYAGKOD, code);
        p.setFloat(A::MENNYISEG, 0);
    });
}

bool ProductRegister::bin(const ProductRecord& product) {
    return editProduct(product, [](RecordCursor& p) { p.setString(A::KATEGORIA, kBinCategory); });
}

bool ProductRegister::remove(const ProductRecord& product) {
    if (!locateProduct(product)) {
        m_prompt.warning(QStringLiteral("Figyelem!"), kProductGoneMessage);
        return false;
    }
    products().deleteRecord();
    written();
    return true;
}

bool ProductRegister::logTableReady() {
    if (m_data.tranzakcio().isOpen()) return true;
    m_prompt.warning(QStringLiteral("Figyelem!"), kNoStockLogMessage);
    return false;
}

void ProductRegister::logMovement(const ProductRecord& product, double quantity, documents::Movement movement) {
    if (!locateProduct(product)) throw documents::ProductGone();
    documents::StockLogRow row;
    row.articleNumber = m_products->asString(A::CIKKSZAM);
    row.item = m_products->asString(A::MEGNEVEZES);
    row.quantity = quantity;
    row.user = m_user;
    row.when = m_now();
    row.movement = movement;
    documents::appendStockLog(m_data.tranzakcio(), row);
}

// The movement, the product's out-of-stock flag and the log row stand or fall together. A
// product gone meanwhile, or an issue the stock no longer covers, is said and nothing stays.
bool ProductRegister::storeMovement(
    const ProductRecord& product, double logged, documents::Movement movement,
    const std::function<std::optional<double>(const documents::StockRule::AlsoWrite&)>& move) {
    if (!logTableReady()) return false;
    products();
    const bool afterIssue = movement == documents::Movement::RegisterIssue;
    try {
        dbase::Transaction transaction(m_data.dataFolder());
        const auto flag = [afterIssue](RecordCursor& p) {
            p.setLogical(A::NINCSANYAG, noStock(p.asFloat(A::MENNYISEG), afterIssue));
        };
        if (!move(flag)) return false;
        logMovement(product, logged, movement);
        transaction.commit();
    } catch (const RuleError& refused) {
        m_prompt.warning(refused.caption(), refused.message());
        return false;
    }
    written();
    return true;
}

bool ProductRegister::storeReceiving(const ProductRecord& product, const documents::ReceivingValues& values) {
    return storeMovement(product, values.quantity, documents::Movement::RegisterReceiving,
                         [&](const documents::StockRule::AlsoWrite& flag) {
                             return documents::storeReceiving(*m_stock, product, values, flag);
                         });
}

bool ProductRegister::storeIssue(const ProductRecord& product, double quantity) {
    return storeMovement(product, quantity, documents::Movement::RegisterIssue,
                         [&](const documents::StockRule::AlsoWrite& flag) {
                             return documents::storeIssue(*m_stock, product, quantity, flag);
                         });
}

void ProductRegister::refreshOutOfStock(const ProductRecord& product, bool afterIssue) {
    const RecordCursor* p = read(product);
    if (!p || p->asLogical(A::TERMEK)) return;
    if (p->asLogical(A::NINCSANYAG) == noStock(p->asFloat(A::MENNYISEG), afterIssue)) return;
    editProduct(product, [afterIssue](RecordCursor& r) {
        r.setLogical(A::NINCSANYAG, noStock(r.asFloat(A::MENNYISEG), afterIssue));
    });
}

void ProductRegister::written() {
    emit m_data.recordWritten(QString::fromStdString(catalogue::table(TableId::Anyag).handleName));
}

}  // namespace kavina::products
