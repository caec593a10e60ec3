#pragma once
// The receiving dialog ("Bevételezés") and the issue dialog ("Kivételezés") on one product:
// the boxes of documents/stock/StockDialogs.h laid out in rows of net and gross prices. They
// store nothing; the caller stores what an accepted dialog gives (values(), quantity()).

#include <QDialog>
#include <array>
#include <memory>

#include "documents/stock/StockDialogs.h"

class QGridLayout;
class QLabel;
class QLineEdit;

namespace kavina::documents {

class TBevetelez final : public QDialog {
    Q_OBJECT

public:
    // settings: the settings record's handle, read again when the dialog opens and at accept
    // for the multipliers in force.
    TBevetelez(QWidget* parent, const RecordCursor& product, TableHandle& settings, bool severalLevels,
               bool quantityEnabled, Prompt& prompt);
    ~TBevetelez() override;

    Receiving& logic() { return *m_logic; }
    // The accepted values.
    const std::optional<ReceivingValues>& values() const { return m_values; }
    QLineEdit* box(StockBox box) const { return m_boxes[size_t(box)]; }

    void accept() override;

private:
    void showTexts();

    TableHandle& m_settings;
    Prompt& m_prompt;
    std::unique_ptr<Receiving> m_logic;
    std::array<QLineEdit*, kStockBoxCount> m_boxes{};
    std::optional<ReceivingValues> m_values;
};

class TKivetelez final : public QDialog {
    Q_OBJECT

public:
    TKivetelez(QWidget* parent, const RecordCursor& product, TableHandle& settings, bool severalLevels, Prompt& prompt);
    ~TKivetelez() override;

    Issue& logic() { return *m_logic; }
    const std::optional<double>& quantity() const { return m_quantity; }
    QLineEdit* box(StockBox box) const { return m_boxes[size_t(box)]; }

    void accept() override;

private:
    Prompt& m_prompt;
    std::unique_ptr<Issue> m_logic;
    std::array<QLineEdit*, kStockBoxCount> m_boxes{};
    std::optional<double> m_quantity;
};

}  // namespace kavina::documents
