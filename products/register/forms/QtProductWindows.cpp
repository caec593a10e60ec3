#include "products/register/forms/QtProductWindows.h"

#include <QApplication>

#include "documents/stock/forms/TBevetelez.h"
#include "foundation/CatalogueFields.h"
#include "products/lists/forms/CategoriesWindow.h"
#include "products/pricing/forms/TArazas.h"
#include "products/pricing/forms/Takciok.h"
#include "products/register/forms/TAnyagSzerk.h"
#include "products/units/forms/UnitsWindow.h"
#include "products/vat/forms/VatGroupsWindow.h"

namespace kavina::products {

std::optional<ProductFields> QtProductWindows::editProduct(const QString& title, const ProductFields& start) {
    ProductDialog logic(m_data, m_prompt, m_settings, start.service);
    logic.keepUngroupedRate(start.ungroupedRate);
    if (start.service) {
        TSzolgszerk dialog(m_parent, logic, m_prompt, title, start);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.fields();
    }
    TAnyagSzerk dialog(m_parent, logic, m_prompt, title, start, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.fields();
}

std::optional<documents::ReceivingValues> QtProductWindows::receive(const RecordCursor& product, bool quantityEnabled) {
    documents::TBevetelez dialog(m_parent, product, m_data.UserTable(), m_settings.tobbar == 1, quantityEnabled,
                                 m_prompt);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

std::optional<double> QtProductWindows::issue(const RecordCursor& product) {
    documents::TKivetelez dialog(m_parent, product, m_data.UserTable(), m_settings.tobbar == 1, m_prompt);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.quantity();
}

std::optional<RepricedValues> QtProductWindows::reprice(const RecordCursor& product) {
    TArazas window(m_parent, product, readRepricingSettings(m_data.UserTable(), m_settings), m_data.UserTable(),
                   m_prompt);
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    return window.values();
}

void QtProductWindows::promotions(const RecordCursor& product, const QDate& today) {
    Takciok window(m_parent, m_data, m_prompt, product, today);
    window.exec();
}

namespace {

// The name in the record the window left current.
std::optional<QString> currentName(TableHandle& table, const Field& field) {
    if (table.isEmpty()) return std::nullopt;
    return table.asString(field).trimmed();
}

}  // namespace

std::optional<QString> QtProductWindows::units() {
    UnitsWindow window(QApplication::activeModalWidget(), m_data, m_prompt);
    window.exec();
    return currentName(m_data.EgysegTable(), fields::Egyseg::EGYSEG);
}

std::optional<QString> QtProductWindows::vatGroups() {
    VatGroupsWindow window(QApplication::activeModalWidget(), m_data, m_prompt);
    window.exec();
    return currentName(m_data.AFATable(), fields::AFA::MEGNEVEZES);
}

std::optional<QString> QtProductWindows::categories() {
    CategoriesWindow window(QApplication::activeModalWidget(), m_data, m_prompt);
    window.exec();
    return currentName(m_data.KategoriaTable(), fields::Kategoria::KATEGORIA);
}

}  // namespace kavina::products
