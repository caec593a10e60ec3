#include "products/warehouses/Warehouses.h"

#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/OpenedRecord.h"
#include "foundation/RecordEdit.h"
#include "products/register/ProductList.h"
#include "products/register/ProductWalk.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace R = fields::Raktar;

const QString kCaption = QStringLiteral("Figyelem!");

int widthOf(const Field& field) {
    return catalogue::table(TableId::Raktar).field(field.name)->width;
}

QString labelOf(const Warehouse& w) {
    return warehouseLabel(w.id, w.name);
}

QString storedLabel(const RecordCursor& warehouses) {
    return warehouseLabel(warehouses.asString(R::AZON), warehouses.asString(R::MEGNEVEZES));
}

void writeWarehouse(RecordCursor& warehouses, const Warehouse& w) {
    warehouses.setString(R::AZON, w.id);
    warehouses.setString(R::MEGNEVEZES, w.name);
    warehouses.setString(R::CIM, w.address);
}

OpenedRecordTexts warehouseTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A raktárat közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A raktárat közben egy másik munkaállomás módosította:");
    texts.labels = {{R::AZON, QStringLiteral("Azonosító")},
                    {R::MEGNEVEZES, QStringLiteral("Megnevezés")},
                    {R::CIM, QStringLiteral("Cím")}};
    return texts;
}

const std::string& productFile() {
    return catalogue::table(TableId::Anyag).fileName;
}

}  // namespace

QString warehouseTakenMessage(const QString& label) {
    return QStringLiteral("Már van raktár ezzel a jelöléssel: ") + label;
}

QString warehouseTooLongMessage() {
    return QStringLiteral("Az azonosító legfeljebb %1, a megnevezés és a cím legfeljebb %2 karakter lehet!")
        .arg(widthOf(R::AZON))
        .arg(widthOf(R::MEGNEVEZES));
}

Warehouses::Warehouses(TDataModule1& data, Prompt& prompt, WarehouseWindows& windows,
                       std::chrono::milliseconds lockPatience)
    : m_data(data), m_prompt(prompt), m_windows(windows), m_patience(lockPatience) {}

// The labels are compared over a handle of its own, which reads what other workstations
// stored a moment ago and leaves the window's list where it is.
std::optional<QString> Warehouses::refusal(const Warehouse& w, std::optional<uint64_t> skip) {
    if (w.name.trimmed().isEmpty()) return kWarehouseNoNameMessage;
    if (w.id.size() > widthOf(R::AZON) || w.name.size() > widthOf(R::MEGNEVEZES) || w.address.size() > widthOf(R::CIM))
        return warehouseTooLongMessage();
    TableHandle others(m_data.dataFolder(), catalogue::table(TableId::Raktar).fileName);
    others.open();
    const QString label = labelOf(w);
    for (others.first(); !others.eof(); others.next())
        if (others.bookmark().id != skip.value_or(0) && storedLabel(others) == label)
            return warehouseTakenMessage(label);
    return std::nullopt;
}

std::optional<Warehouse> Warehouses::askWarehouse(Warehouse start, std::optional<uint64_t> skip) {
    for (;;) {
        const std::optional<Warehouse> typed = m_windows.editWarehouse(start);
        if (!typed) return std::nullopt;
        const std::optional<QString> refused = refusal(*typed, skip);
        if (!refused) return typed;
        m_prompt.warning(kCaption, *refused);
        start = *typed;
    }
}

bool Warehouses::add() {
    const std::optional<Warehouse> accepted = askWarehouse({}, std::nullopt);
    if (!accepted) return false;
    TableHandle& warehouses = m_data.raktar();
    RecordEdit added = RecordEdit::append(warehouses);
    writeWarehouse(warehouses, *accepted);
    added.post();
    return true;
}

bool Warehouses::modifyCurrent() {
    TableHandle& warehouses = m_data.raktar();
    if (warehouses.isEmpty()) return false;
    OpenedRecord opened(warehouses, std::nullopt, warehouseTexts());
    const std::optional<Warehouse> accepted =
        askWarehouse({warehouses.asString(R::AZON), warehouses.asString(R::MEGNEVEZES), warehouses.asString(R::CIM)},
                     opened.mark().id);
    if (!accepted) return false;
    // The products' handle lives until the commit: closing a file gives up the locks the
    // transaction holds on it.
    TableHandle products(m_data.dataFolder(), productFile());
    dbase::Transaction transaction(m_data.dataFolder());
    QString oldLabel;
    const bool stored = opened.save(m_prompt, [&] {
        oldLabel = storedLabel(warehouses);
        writeWarehouse(warehouses, *accepted);
    });
    if (!stored) return false;
    const QString newLabel = labelOf(*accepted);
    if (newLabel != oldLabel) {
        products.open();
        changeProducts(products, {.picks = [&](const RecordCursor& p) { return p.asString(A::MEGJEGYZES) == oldLabel; },
                                  .change = [&](RecordCursor& p) { p.setString(A::MEGJEGYZES, newLabel); },
                                  .refused =
                                      [](const QString& name, const QString& why) {
                                          return QStringLiteral(
                                                     "A(z) „%1” termék nem módosítható (%2), ezért sem a raktár, "
                                                     "sem egyetlen termék raktára nem változott.")
                                              .arg(name, why);
                                      },
                                  .patience = m_patience});
    }
    transaction.commit();
    m_data.AnyagTable().refresh();
    return true;
}

int Warehouses::productsLabelled(const QString& label) {
    TableHandle products(m_data.dataFolder(), productFile());
    products.open();
    int count = 0;
    for (products.first(); !products.eof(); products.next())
        if (products.asString(A::MEGJEGYZES) == label) ++count;
    return count;
}

bool Warehouses::deleteCurrent() {
    TableHandle& warehouses = m_data.raktar();
    if (warehouses.isEmpty()) return false;
    if (productsLabelled(storedLabel(warehouses)) > 0) {
        m_prompt.warning(kCaption, kWarehouseInUseMessage);
        return false;
    }
    if (!m_prompt.askYesNo(kCaption, kWarehouseDeleteQuestion)) return false;
    warehouses.deleteRecord();
    return true;
}

}  // namespace kavina::products
