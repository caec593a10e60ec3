#include "products/units/forms/UnitsWindow.h"

#include <QPushButton>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "widgets/ListWindow.h"
#include "widgets/RecordGrid.h"

namespace kavina::products {

UnitsWindow::UnitsWindow(QWidget* parent, TDataModule1& data, Prompt& prompt)
    : QDialog(parent), m_prompt(prompt), m_units(data, prompt) {
    setObjectName(QStringLiteral("UnitsWindow"));
    setWindowTitle(QStringLiteral("Mértékegységek"));
    widgets::ListWindow frame(this, QStringLiteral("unitGrid"));
    m_list = std::make_unique<widgets::RecordGrid>(
        frame.grid(), data.EgysegTable(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Mértékegységek"), fields::Egyseg::EGYSEG}}, prompt);
    connect(frame.addButton(QStringLiteral("Új m.egység"), QStringLiteral("newPushButton")), &QPushButton::clicked,
            this, [this] { run(&Units::add); });
    connect(frame.addButton(QStringLiteral("Módosítá&s"), QStringLiteral("modifyPushButton")), &QPushButton::clicked,
            this, [this] { run(&Units::modifyCurrent); });
    connect(frame.addButton(QStringLiteral("&Törlés"), QStringLiteral("deletePushButton")), &QPushButton::clicked, this,
            [this] { run(&Units::deleteCurrent); });
    frame.addCloseButton();
    resize(360, 320);
}

UnitsWindow::~UnitsWindow() = default;

void UnitsWindow::run(bool (Units::*action)()) {
    runCommand(m_prompt, [&] { (m_units.*action)(); });
}

}  // namespace kavina::products
