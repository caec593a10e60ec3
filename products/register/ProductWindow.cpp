#include "products/register/ProductWindow.h"

#include <QFileInfo>
#include <QImageReader>

#include "foundation/CatalogueFields.h"
#include "foundation/RuleError.h"
#include "foundation/Seged.h"
#include "foundation/SzamSzov.h"
#include "products/pricing/Promotions.h"
#include "products/register/PictureFile.h"
#include "products/register/ProductDialog.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;

const QString kCaption = QStringLiteral("Figyelem!");

const Field& searchField(SearchIn where) {
    switch (where) {
        case SearchIn::StatNumber: return A::ITJSZAM;
        case SearchIn::ArticleNumber: return A::CIKKSZAM;
        case SearchIn::Category: return A::KATEGORIA;
        case SearchIn::Name: break;
    }
    return A::MEGNEVEZES;
}

}  // namespace

QString searchInCaption(SearchIn where) {
    switch (where) {
        case SearchIn::StatNumber: return QStringLiteral("VTSZ/SZJ");
        case SearchIn::ArticleNumber: return QStringLiteral("Cikkszám");
        case SearchIn::Category: return QStringLiteral("Kategória");
        case SearchIn::Name: break;
    }
    return QStringLiteral("Megnevezés");
}

ProductWindow::ProductWindow(TDataModule1& data, Prompt& prompt, ProductWindows& windows, Desktop& desktop,
                             const ProductWindowOptions& options)
    : m_data(data),
      m_prompt(prompt),
      m_windows(windows),
      m_desktop(desktop),
      m_options(options),
      m_settings(*options.settings),
      m_register(data, prompt, options.now, options.currentUser) {}

void ProductWindow::open() {
    m_warehouses = warehouseItems(m_data.raktar());
    const int remembered = m_options.rememberedWarehouse ? *m_options.rememberedWarehouse : 0;
    m_warehouse = remembered >= 0 && remembered < m_warehouses.size() ? remembered : 0;
    m_key = searchKeyOf(m_settings.tsorrend);
    TableHandle& products = m_data.AnyagTable();
    products.refresh();
    products.setOrder(orderField(m_key));
    selectTab(int(ProductTab::All));
}

void ProductWindow::close() {
    unfilterInPlace(m_data.AnyagTable());
    m_data.AnyagTable().setFilter(std::string());
}

void ProductWindow::applyFilter(ListChange change) {
    m_lastChange = change;
    const QString warehouse = m_warehouses.value(m_warehouse);
    const QString category = m_categories.value(m_category);
    applyListFilter(m_data.AnyagTable(), listFilter(m_tab, warehouse, category, change));
}

void ProductWindow::fillCategories() {
    m_categories = categoryItems(m_data.AnyagTable());
    m_category = 0;
}

void ProductWindow::selectTab(int index, bool categoriesGathered) {
    if (index < 0 || index >= kProductTabCount) return;
    m_tab = ProductTab(index);
    m_category = 0;
    applyFilter(ListChange::Tab);
    m_data.AnyagTable().first();
    if (categoriesGathered)
        m_categories = QStringList{kEveryItem};
    else
        fillCategories();
}

void ProductWindow::setListCategories(const std::set<QString>& categories) {
    m_categories = categoryItems(categories);
    m_category = 0;
}

void ProductWindow::selectWarehouse(int index) {
    if (index < 0 || index >= m_warehouses.size()) return;
    m_warehouse = index;
    if (m_options.rememberedWarehouse) *m_options.rememberedWarehouse = index;
    applyFilter(ListChange::Box);
    m_data.AnyagTable().first();
}

void ProductWindow::selectCategory(int index) {
    if (index < 0 || index >= m_categories.size()) return;
    m_category = index;
    applyFilter(ListChange::Box);
    m_data.AnyagTable().first();
}

void ProductWindow::setSearchKey(SearchKey key) {
    TableHandle& products = m_data.AnyagTable();
    const CursorMark at = products.bookmark();
    m_key = key;
    products.setOrder(orderField(key));
    if (!products.isEmpty()) products.gotoBookmark(at);
}

void ProductWindow::search(const QString& text) {
    incrementalSearch(m_data.AnyagTable(), m_key, text);
}

ProductWindow::EnterOutcome ProductWindow::enter(const QString& typed) {
    if (m_key == SearchKey::Name) return EnterOutcome::FocusList;
    const QString text = searchText(m_key, typed);
    TableHandle& products = m_data.AnyagTable();
    const QString stored = products.isEmpty() ? QString() : products.asString(orderField(m_key));
    if (stored == text) return EnterOutcome::Accept;
    const QString what = m_key == SearchKey::ArticleNumber ? QStringLiteral("A keresett cikkszám")
                                                           : QStringLiteral("A keresett vonalkód");
    if (m_prompt.askYesNo(kCaption,
                          what + QStringLiteral(" nem található a terméktörzsben!\nSzeretné felvenni új temékként?"),
                          Icon::Question)) {
        if (m_tab == ProductTab::Services)
            newService();
        else
            newProduct(typed);
    }
    return EnterOutcome::Nothing;
}

bool ProductWindow::canModify() const {
    return m_options.rights.contains(QLatin1Char('U'));
}
bool ProductWindow::canReprice() const {
    return m_options.rights.contains(QLatin1Char('V'));
}
bool ProductWindow::canDelete() const {
    return m_options.rights.contains(QLatin1Char('W'));
}

bool ProductWindow::listEmpty() {
    return m_data.AnyagTable().isEmpty();
}

void ProductWindow::reapplyKeeping(std::optional<ProductRecord> product) {
    TableHandle& products = m_data.AnyagTable();
    products.refresh();
    applyFilter(m_lastChange);
    if (!product || !m_register.show(*product)) products.first();
}

bool ProductWindow::createNew(bool service, const QString& searchText) {
    if (!canModify()) return false;
    ProductDialog dialog(m_data, m_prompt, m_settings, service);
    ProductFields start;
    start.service = service;
    start.vatGroup = dialog.defaultVatGroup();
    if (!service) {
        start.warehouse = dialog.warehouses().value(0);
        // A code that was looked for and not found starts the new product's box.
        const QString text = products::searchText(m_key, searchText);
        TableHandle& products = m_data.AnyagTable();
        const auto differs = [&](const Field& field) { return products.isEmpty() || products.asString(field) != text; };
        if (m_key == SearchKey::Barcode && differs(A::VONALKOD)) start.barcode = text;
        if (m_key == SearchKey::ArticleNumber && differs(A::CIKKSZAM)) start.articleNumber = text;
    }
    const std::optional<ProductFields> fields = m_windows.editProduct(
        service ? QStringLiteral("Új szolgáltatás felvétele") : QStringLiteral("Új termék felvétele"), start);
    if (!fields) return false;
    const std::optional<double> rate = vatRateOfGroup(m_data.AFATable(), fields->vatGroup);
    if (!rate) return false;
    const ProductRecord added = m_register.create(*fields, *rate);
    reapplyKeeping(added);
    if (!service) receiveInto(added);
    return true;
}

bool ProductWindow::newProduct(const QString& searchText) {
    return createNew(false, searchText);
}

bool ProductWindow::newService() {
    return createNew(true, {});
}

bool ProductWindow::modify() {
    if (!canModify()) return false;
    const std::optional<ProductRecord> product = m_register.current();
    if (!product) return false;
    const std::unique_ptr<OpenedRecord> opened = openCurrent(*product);
    if (!opened) return false;
    const ProductFields loaded = readProductFields(*m_register.read(*product), m_data.AFATable());
    const std::optional<ProductFields> edited = m_windows.editProduct(
        loaded.service ? QStringLiteral("Szolgáltatás módosítása") : QStringLiteral("Termék módosítása"), loaded);
    if (!edited) return false;
    const std::optional<double> rate = vatRateOf(m_data.AFATable(), edited->vatGroup, loaded.ungroupedRate);
    if (!rate) return false;
    bool stored = false;
    try {
        stored = m_register.modify(*opened, *edited, *rate);
    } catch (const RuleError&) {
        // Deleted meanwhile: the list shows what is left; the command boundary says why.
        reapplyKeeping(std::nullopt);
        throw;
    }
    reapplyKeeping(product);
    return stored;
}

std::unique_ptr<OpenedRecord> ProductWindow::openCurrent(const ProductRecord& product) {
    std::unique_ptr<OpenedRecord> opened = m_register.open(product);
    if (!opened || !m_register.read(product)) {
        m_prompt.warning(kCaption, kProductGoneMessage);
        reapplyKeeping(std::nullopt);
        return nullptr;
    }
    return opened;
}

bool ProductWindow::reprice() {
    if (!canReprice()) return false;
    const std::optional<ProductRecord> product = m_register.current();
    if (!product) return false;
    const std::unique_ptr<OpenedRecord> opened = openCurrent(*product);
    if (!opened) return false;
    const std::optional<RepricedValues> values = m_windows.reprice(*m_register.read(*product));
    if (!values) return false;
    bool stored = false;
    try {
        stored = m_register.save(*opened, [&](RecordCursor& p) { writeRepricedValues(p, *values); });
    } catch (const RuleError&) {
        reapplyKeeping(std::nullopt);
        throw;
    }
    reapplyKeeping(product);
    return stored;
}

void ProductWindow::promotions() {
    if (!canReprice()) return;
    const std::optional<ProductRecord> product = m_register.current();
    if (!product) return;
    const RecordCursor* record = m_register.read(*product);
    if (!record) {
        m_prompt.warning(kCaption, kProductGoneMessage);
        reapplyKeeping(std::nullopt);
        return;
    }
    if (!m_data.akcio().isOpen()) throw RuleError(kNoPromotionsMessage);
    m_windows.promotions(*record, m_options.now().date());
}

bool ProductWindow::copy() {
    if (!canModify()) return false;
    const std::optional<ProductRecord> product = m_register.current();
    if (!product) return false;
    const std::optional<ProductRecord> added = m_register.copy(*product);
    if (!added) {
        reapplyKeeping(std::nullopt);
        return false;
    }
    reapplyKeeping(added);
    const RecordCursor* record = m_register.read(*added);
    if (record && !record->asLogical(A::TERMEK)) receiveInto(*added);
    return true;
}

bool ProductWindow::remove() {
    if (!canDelete()) return false;
    const std::optional<ProductRecord> product = m_register.current();
    if (!product) return false;
    const bool final = m_tab == ProductTab::Bin;
    const QString question = final ? QStringLiteral("Biztos, hogy véglegesen törölni szeretné a kiválasztott tételt?")
                                   : QStringLiteral("Biztos, hogy lomtárba szeretné tenni a kiválasztott tételt?");
    if (!m_prompt.askYesNo(kCaption, question, Icon::Question)) return false;
    const bool done = final ? m_register.remove(*product) : m_register.bin(*product);
    reapplyKeeping(std::nullopt);
    return done;
}

bool ProductWindow::receiveInto(const ProductRecord& product) {
    const RecordCursor* record = m_register.read(product);
    if (!record) {
        m_prompt.warning(kCaption, kProductGoneMessage);
        return false;
    }
    if (record->asLogical(A::TERMEK)) return false;
    const bool quantityEnabled = !(m_options.goodsReceiptInProgress && m_options.goodsReceiptInProgress());
    const std::optional<documents::ReceivingValues> values = m_windows.receive(*record, quantityEnabled);
    bool stored = false;
    if (values)
        stored = m_register.storeReceiving(product, *values);
    else
        m_register.refreshOutOfStock(product, false);
    reapplyKeeping(product);
    return stored;
}

bool ProductWindow::receive() {
    const std::optional<ProductRecord> product = m_register.current();
    return product && receiveInto(*product);
}

bool ProductWindow::issue() {
    const std::optional<ProductRecord> product = m_register.current();
    if (!product) return false;
    const RecordCursor* record = m_register.read(*product);
    if (!record) {
        m_prompt.warning(kCaption, kProductGoneMessage);
        return false;
    }
    if (record->asLogical(A::TERMEK)) return false;
    const std::optional<double> quantity = m_windows.issue(*record);
    bool stored = false;
    if (quantity)
        stored = m_register.storeIssue(*product, *quantity);
    else
        m_register.refreshOutOfStock(*product, true);
    reapplyKeeping(product);
    return stored;
}

bool ProductWindow::walkTo(const QString& what, SearchIn where, bool fromFirst) {
    TableHandle& products = m_data.AnyagTable();
    if (what.isEmpty() || products.isEmpty()) return false;
    const int field = products.fieldNumber(searchField(where));
    const auto holds = [&] { return products.asString(field).contains(what, Qt::CaseInsensitive); };
    if (fromFirst)
        products.first();
    else
        products.next();
    // At the end the handle stays on the last product, which is where the search stops.
    for (; !products.eof(); products.next())
        if (holds()) return true;
    return holds();
}

bool ProductWindow::find(const QString& what, SearchIn where) {
    return walkTo(what, where, true);
}

bool ProductWindow::findNext(const QString& what, SearchIn where) {
    const bool found = walkTo(what, where, false);
    if (!found) m_prompt.information(kCaption, QStringLiteral("A keresés befelyeződött!"));
    return found;
}

bool ProductWindow::refreshTick() {
    TableHandle& products = m_data.AnyagTable();
    if (m_settings.norefresh != 0 || products.isEditing()) return false;
    products.refresh();
    return true;
}

QString ProductWindow::picturePath() {
    TableHandle& products = m_data.AnyagTable();
    if (products.isEmpty()) return {};
    const QString path = products.asString(A::KEP).trimmed();
    return !path.isEmpty() && isPictureFile(path) ? path : QString();
}

void ProductWindow::openPicture() {
    TableHandle& products = m_data.AnyagTable();
    const QString path = products.isEmpty() ? QString() : products.asString(A::KEP).trimmed();
    if (path.isEmpty()) {
        m_prompt.information(kCaption, QStringLiteral("A termékről nincs kép nyílvántartva!"));
        return;
    }
    if (!isPictureFile(path)) {
        m_prompt.warning(kCaption, QStringLiteral("A termék képe nem nyitható meg, mert nem képfájl: ") + path);
        return;
    }
    m_desktop.openFile(path);
}

RowTint ProductWindow::tintOf(const RecordCursor& row) const {
    if (m_settings.colorgrid != 1 || row.asLogical(A::TERMEK)) return RowTint::None;
    const int64_t stock = KerekitRound((long double)row.asFloat(A::MENNYISEG) * 10000);
    if (stock == 0) return RowTint::NoStock;
    const int64_t minimum = KerekitRound((long double)row.asFloat(A::MINMENNY) * 10000);
    return minimum > stock ? RowTint::BelowMinimum : RowTint::None;
}

}  // namespace kavina::products
