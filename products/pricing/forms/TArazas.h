#pragma once
// The repricing window (TArazas, "Átárazás") on one product: the name and stock, and the ten
// price boxes of products/pricing/Repricing.h in rows of net and gross prices. It stores
// nothing; the product register stores what an accepted window gives (values()).

#include <QDialog>
#include <array>
#include <memory>

#include "products/pricing/Repricing.h"

class QLineEdit;

namespace kavina::products {

class TArazas final : public QDialog {
    Q_OBJECT

public:
    // userTable: the settings record's handle, read again at "&Elfogad" for the multipliers in
    // force.
    TArazas(QWidget* parent, const RecordCursor& product, const RepricingSettings& settings, TableHandle& userTable,
            Prompt& prompt);
    ~TArazas() override;

    Repricing& logic() { return *m_logic; }
    const std::optional<RepricedValues>& values() const { return m_values; }
    QLineEdit* box(PriceBox which) const { return m_boxes[size_t(which)]; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOut(const RepricingSettings& settings);
    void showTexts();

    TableHandle& m_userTable;
    Prompt& m_prompt;
    std::unique_ptr<Repricing> m_logic;
    std::array<QLineEdit*, kPriceBoxCount> m_boxes{};
    std::optional<RepricedValues> m_values;
};

}  // namespace kavina::products
