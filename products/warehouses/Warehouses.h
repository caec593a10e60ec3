#pragma once
// What the warehouse window ("Raktárak") does, apart from drawing it: adding, changing and
// deleting the warehouses of raktar.dbf on its shared handle.
//
// A product belongs to a warehouse by text: its MEGJEGYZES holds the warehouse's label
// (warehouseLabel()), compared exactly, letter case included. Two warehouses with one label
// could not be told apart by their products, so a label already taken is refused, as is an
// empty name; the three texts are refused when longer than their fields rather than cut. A
// change carries the new label to every product that held the old one, and the warehouse and
// those products are one engine transaction. A warehouse is deleted only while no product
// holds its label.

#include <QString>
#include <chrono>
#include <optional>

#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::products {

struct Warehouse {
    QString id;       // AZON
    QString name;     // MEGNEVEZES
    QString address;  // CIM

    bool operator==(const Warehouse&) const = default;
};

class WarehouseWindows {
public:
    virtual ~WarehouseWindows() = default;
    // The "Szerkesztés" dialog started from the texts; those accepted with "&Elfogad".
    virtual std::optional<Warehouse> editWarehouse(const Warehouse& start) = 0;
};

inline const QString kWarehouseInUseMessage = QStringLiteral("A raktár nem törölhető, mert termékeket tartalmaz!");
inline const QString kWarehouseDeleteQuestion = QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott raktárt?");
inline const QString kWarehouseNoNameMessage = QStringLiteral("A raktár megnevezését meg kell adni!");
// "Már van raktár ezzel a jelöléssel: <label>"
QString warehouseTakenMessage(const QString& label);
// "Az azonosító legfeljebb 16, a megnevezés és a cím legfeljebb 80 karakter lehet!"
QString warehouseTooLongMessage();

class Warehouses {
public:
    // lockPatience: how long a rename waits for a product another workstation holds.
    Warehouses(TDataModule1& data, Prompt& prompt, WarehouseWindows& windows,
               std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000));

    // "Hozzáadás": the empty dialog; "&Elfogad" appends the warehouse. A refused entry is
    // told and the dialog opens again with what was typed. True when it was stored.
    bool add();
    // "Módosítá&s": the dialog on the current warehouse; "&Elfogad" stores it and gives its
    // products the new label, in one transaction. Throws RuleError when the warehouse was
    // deleted meanwhile or a product could not be changed (then nothing is stored).
    bool modifyCurrent();
    // "&Törlés": refused while any product holds the label; otherwise asks first.
    bool deleteCurrent();

    // How many products (goods, services and binned ones) hold exactly this label.
    int productsLabelled(const QString& label);

private:
    // The dialog until its texts are acceptable; skip is the record being changed.
    std::optional<Warehouse> askWarehouse(Warehouse start, std::optional<uint64_t> skip);
    std::optional<QString> refusal(const Warehouse& w, std::optional<uint64_t> skip);

    TDataModule1& m_data;
    Prompt& m_prompt;
    WarehouseWindows& m_windows;
    std::chrono::milliseconds m_patience;
};

}  // namespace kavina::products
