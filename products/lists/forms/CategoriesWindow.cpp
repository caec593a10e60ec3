#include "products/lists/forms/CategoriesWindow.h"

#include <QPushButton>

#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "widgets/ListWindow.h"
#include "widgets/RecordGrid.h"

namespace kavina::products {

CategoriesWindow::CategoriesWindow(QWidget* parent, TDataModule1& data, Prompt& prompt)
    : QDialog(parent), m_prompt(prompt), m_categories(data, prompt) {
    setObjectName(QStringLiteral("CategoriesWindow"));
    setWindowTitle(QStringLiteral("Termék kategóriák"));
    widgets::ListWindow frame(this, QStringLiteral("categoryGrid"));
    m_list = std::make_unique<widgets::RecordGrid>(
        frame.grid(), data.KategoriaTable(),
        std::vector<widgets::GridColumn>{{QStringLiteral("Kategóriák"), fields::Kategoria::KATEGORIA}}, prompt);
    connect(frame.addButton(QStringLiteral("Új kategória"), QStringLiteral("newPushButton")), &QPushButton::clicked,
            this, [this] { run(&Categories::add); });
    connect(frame.addButton(QStringLiteral("Módosítá&s"), QStringLiteral("modifyPushButton")), &QPushButton::clicked,
            this, [this] { run(&Categories::modifyCurrent); });
    connect(frame.addButton(QStringLiteral("&Törlés"), QStringLiteral("deletePushButton")), &QPushButton::clicked, this,
            [this] { run(&Categories::deleteCurrent); });
    frame.addCloseButton();
    resize(420, 360);
}

CategoriesWindow::~CategoriesWindow() = default;

void CategoriesWindow::run(bool (Categories::*action)()) {
    runCommand(m_prompt, [&] { (m_categories.*action)(); });
}

}  // namespace kavina::products
