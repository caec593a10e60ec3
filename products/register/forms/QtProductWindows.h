#pragma once
// The product register's windows on screen: the product and service dialogs and the two
// stock dialogs, opened modally over the register.

#include <QWidget>

#include "foundation/IniSettings.h"
#include "products/register/ProductWindow.h"

namespace kavina::products {

class QtProductWindows final : public ProductWindows {
public:
    QtProductWindows(QWidget* parent, TDataModule1& data, Prompt& prompt, const IniSettings& settings)
        : m_parent(parent), m_data(data), m_prompt(prompt), m_settings(settings) {}

    std::optional<ProductFields> editProduct(const QString& title, const ProductFields& start) override;
    std::optional<documents::ReceivingValues> receive(const RecordCursor& product, bool quantityEnabled) override;
    std::optional<double> issue(const RecordCursor& product) override;
    std::optional<RepricedValues> reprice(const RecordCursor& product) override;
    void promotions(const RecordCursor& product, const QDate& today) override;
    std::optional<QString> units() override;
    std::optional<QString> vatGroups() override;
    std::optional<QString> categories() override;

private:
    QWidget* m_parent;
    TDataModule1& m_data;
    Prompt& m_prompt;
    const IniSettings& m_settings;
};

}  // namespace kavina::products
