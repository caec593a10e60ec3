#pragma once
// TDataModule1, the data module: one long-lived shared handle per table of the data folder,
// named as the catalogue names them. open() binds every handle to the folder, opens it on
// its default order and links the detail handles to their masters; an optional table's handle
// stays closed while its .dbf is missing. Positioning, ordering or filtering a shared handle
// is seen by every window until it is reset.
//
// Every handle has the shared hooks of TableHandle; after each post or delete on any of them
// the module emits recordWritten (the main window's save indicator listens to it).

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <string>

#include "foundation/Catalogue.h"
#include "foundation/TableHandle.h"

namespace kavina {

class TDataModule1 : public QObject {
    Q_OBJECT

public:
    enum class Order { Default, AfterReindex };

    explicit TDataModule1(QObject* parent = nullptr);
    ~TDataModule1() override;

    // Binds every handle to the folder and opens it. Throws DbError when a table that is not
    // optional cannot be opened; every handle is then closed.
    void open(const std::string& dataFolder);
    // Binds every handle to the folder, leaving them all closed, so that start-up can open
    // them one by one (and repair a table whose index file is lost before opening it).
    void bind(const std::string& dataFolder);
    // Closes every handle, dropping changes not posted; the module may be opened again.
    void close();
    // The data folder, ending in a path separator; empty before open().
    const std::string& dataFolder() const { return m_folder; }

    // Closes one handle (cutting its own and its details' links) and opens it again, if its
    // file is there, on the given order, linking it again. For the reindex and the upgrade.
    void reopen(TableId id, Order order = Order::Default);
    // Opens one bound handle, as reopen() does, unless it is open already.
    void openTable(TableId id, Order order = Order::Default);
    // Closes one handle, cutting its own link and its details' links to it.
    void closeTable(TableId id);

    TableHandle& handle(TableId id);

    TableHandle& PartnerTable() { return handle(TableId::Partner); }
    TableHandle& AnyagTable() { return handle(TableId::Anyag); }
    TableHandle& KategoriaTable() { return handle(TableId::Kategoria); }
    TableHandle& PcsopTable() { return handle(TableId::PCsoport); }
    TableHandle& TelepTable() { return handle(TableId::Telep); }
    TableHandle& FizmodTable() { return handle(TableId::Fizmod); }
    TableHandle& SzamlaTable() { return handle(TableId::Szamla); }
    TableHandle& Szamla2Table() { return handle(TableId::Szamla2); }
    TableHandle& AFATable() { return handle(TableId::AFA); }
    TableHandle& EgysegTable() { return handle(TableId::Egyseg); }
    TableHandle& GaranciaTable() { return handle(TableId::Garancia); }
    TableHandle& Garancia2Table() { return handle(TableId::Garancia2); }
    TableHandle& ArTable() { return handle(TableId::Arcsoport); }
    TableHandle& Munkalaptable() { return handle(TableId::Munkalap); }
    TableHandle& raktar() { return handle(TableId::Raktar); }
    TableHandle& akcio() { return handle(TableId::Akcio); }
    TableHandle& tranzakcio() { return handle(TableId::Tranzakcio); }
    TableHandle& vonalkodTable() { return handle(TableId::Vonalkod); }
    TableHandle& UserTable() { return handle(TableId::User); }
    TableHandle& JogTable() { return handle(TableId::Jogok); }
    TableHandle& LoginTable() { return handle(TableId::Userlog); }

signals:
    // A record of the handle was posted or deleted.
    void recordWritten(const QString& handleName);

private:
    void openOne(const TableDef& def, Order order);
    void closeOne(const TableDef& def);

    std::string m_folder;
    std::map<TableId, std::unique_ptr<TableHandle>> m_handles;
};

}  // namespace kavina
