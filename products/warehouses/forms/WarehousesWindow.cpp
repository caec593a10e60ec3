#include "products/warehouses/forms/WarehousesWindow.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/forms/DialogButtons.h"
#include "widgets/ListWindow.h"
#include "widgets/RecordGrid.h"

namespace kavina::products {

namespace R = fields::Raktar;

WarehouseDialog::WarehouseDialog(QWidget* parent, const Warehouse& start) : QDialog(parent) {
    setObjectName(QStringLiteral("WarehouseDialog"));
    setWindowTitle(QStringLiteral("Szerkesztés"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    // No length limit of their own: a text too long for its field is refused with a message
    // rather than cut while typing.
    const auto box = [&](const QString& label, const QString& name, const QString& text) {
        auto* edit = new QLineEdit(text);
        edit->setObjectName(name);
        form->addRow(label, edit);
        return edit;
    };
    m_id = box(QStringLiteral("Azonosító:"), QStringLiteral("idLineEdit"), start.id);
    m_name = box(QStringLiteral("Megnevezés:"), QStringLiteral("nameLineEdit"), start.name);
    m_address = box(QStringLiteral("Cím:"), QStringLiteral("addressLineEdit"), start.address);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Mégsem"));
    resize(420, sizeHint().height());
}

Warehouse WarehouseDialog::warehouse() const {
    return {m_id->text(), m_name->text(), m_address->text()};
}

WarehousesWindow::WarehousesWindow(QWidget* parent, TDataModule1& data, Prompt& prompt, WarehouseWindows* windows)
    : QDialog(parent), m_prompt(prompt) {
    setObjectName(QStringLiteral("WarehousesWindow"));
    setWindowTitle(QStringLiteral("Raktárak"));
    m_warehouses = std::make_unique<Warehouses>(data, prompt, windows ? *windows : *this);
    widgets::ListWindow frame(this, QStringLiteral("warehouseGrid"));
    m_list = std::make_unique<widgets::RecordGrid>(
        frame.grid(), data.raktar(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Azonosító"), R::AZON},
                                         {QStringLiteral("Megnevezés"), R::MEGNEVEZES},
                                         {QStringLiteral("Cím"), R::CIM}},
        prompt);
    frame.grid()->setSelectionBehavior(QAbstractItemView::SelectRows);
    frame.stretchColumn(2);
    connect(frame.addButton(QStringLiteral("Hozzáadás"), QStringLiteral("newPushButton")), &QPushButton::clicked, this,
            [this] { run(&Warehouses::add); });
    connect(frame.addButton(QStringLiteral("Módosítá&s"), QStringLiteral("modifyPushButton")), &QPushButton::clicked,
            this, [this] { run(&Warehouses::modifyCurrent); });
    connect(frame.addButton(QStringLiteral("&Törlés"), QStringLiteral("deletePushButton")), &QPushButton::clicked, this,
            [this] { run(&Warehouses::deleteCurrent); });
    frame.addCloseButton();
    resize(640, 360);
    setFixedSize(size());
}

WarehousesWindow::~WarehousesWindow() = default;

std::optional<Warehouse> WarehousesWindow::editWarehouse(const Warehouse& start) {
    WarehouseDialog dialog(this, start);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.warehouse();
}

void WarehousesWindow::run(bool (Warehouses::*action)()) {
    runCommand(m_prompt, [&] { ((*m_warehouses).*action)(); });
}

}  // namespace kavina::products
