#pragma once
// The warehouse window ("Raktárak") and its edit dialog ("Szerkesztés"). The rules are
// Warehouses' (products/warehouses/).

#include <QDialog>
#include <memory>

#include "products/warehouses/Warehouses.h"

class QLineEdit;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::products {

class WarehouseDialog final : public QDialog {
    Q_OBJECT

public:
    WarehouseDialog(QWidget* parent, const Warehouse& start);
    Warehouse warehouse() const;

private:
    QLineEdit* m_id;
    QLineEdit* m_name;
    QLineEdit* m_address;
};

class WarehousesWindow final : public QDialog, private WarehouseWindows {
    Q_OBJECT

public:
    // windows: the dialogs to open; this window's own when null (tests pass scripted ones).
    WarehousesWindow(QWidget* parent, TDataModule1& data, Prompt& prompt, WarehouseWindows* windows = nullptr);
    ~WarehousesWindow() override;

private:
    std::optional<Warehouse> editWarehouse(const Warehouse& start) override;
    void run(bool (Warehouses::*action)());

    Prompt& m_prompt;
    std::unique_ptr<Warehouses> m_warehouses;
    std::unique_ptr<widgets::RecordGrid> m_list;
};

}  // namespace kavina::products
