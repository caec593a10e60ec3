#pragma once
// What the receiving dialog (TBevetelez, "Bevételezés") and the issue dialog (TKivetelez,
// "Kivételezés") do, apart from drawing them: the boxes' texts, the net and gross pairs that
// follow each other, the purchase-price step that derives the sale prices, the last-typed
// marks, and the checks of their "&Elfogad". The dialogs store nothing themselves: accepting
// gives the values, and the caller stores them (storeReceiving, storeIssue) together with
// whatever else its command writes.
//
// Net and gross of a pair are tied by the product's VAT rate v through f = 1 + v/100. A box
// the user typed into last carries the mark; leaving a box never overwrites the marked one.

#include <QString>
#include <array>
#include <optional>

#include "documents/stock/StockRule.h"
#include "foundation/Prompt.h"
#include "foundation/RecordCursor.h"
#include "foundation/RuleError.h"

namespace kavina::documents {

// The boxes of the receiving dialog; the issue dialog shows the same prices read-only.
enum class StockBox {
    Quantity,
    PurchaseNet,
    PurchaseGross,
    Level1Net,
    Level1Gross,
    Level2Net,
    Level2Gross,
    Level3Net,
    Level3Gross,
    FixedNet,
    FixedGross,
};
inline constexpr int kStockBoxCount = 11;

// The settings the dialogs follow: the settings record's multipliers and rounding, and the
// workstation's price levels.
struct StockDialogSettings {
    bool severalLevels = true;                   // ini tobbar = 1
    int rounding = 1;                            // SELOTAG: the Kerekit mode of derived prices
    std::array<double, 3> multipliers{0, 0, 0};  // SZORZO1-3, percent
};

// Reads SZORZO1-3 and SELOTAG from the settings record as it is on disk now.
StockDialogSettings readStockDialogSettings(TableHandle& settings, bool severalLevels);

// The product as the dialogs show it.
struct StockProduct {
    QString name;
    QString unit;
    double stock = 0;
    double vatRate = 0;  // AFAKULCS, percent
};
StockProduct readStockProduct(const RecordCursor& product);

// The values of an accepted receiving: every price as typed, and the multipliers in force.
struct ReceivingValues {
    double quantity = 0;
    double purchaseNet = 0, purchaseGross = 0;
    std::array<double, 3> levelNet{0, 0, 0}, levelGross{0, 0, 0};
    double fixedNet = 0, fixedGross = 0;
    std::array<double, 3> multipliers{0, 0, 0};
};

class Receiving {
public:
    // Fills the boxes from the product record: quantity "0", the purchase price ("0" when
    // empty) and the sale prices with their gross forms.
    Receiving(const RecordCursor& product, const StockDialogSettings& settings, Prompt& prompt);

    const StockProduct& product() const { return m_product; }
    const StockDialogSettings& settings() const { return m_settings; }
    const QString& text(StockBox box) const { return m_texts[size_t(box)]; }
    std::optional<StockBox> marked() const { return m_marked; }

    // A key pressed in a box: the text it now holds, and the box becomes the marked one
    // (price boxes only).
    void typed(StockBox box, const QString& text);
    // The focus leaves the box: its counterpart follows it, unless the counterpart is marked;
    // leaving the net purchase box runs the purchase-price step.
    void left(StockBox box);

    // "&Elfogad": every box must read as a number (an empty one is 0). The values, or nothing
    // after the message naming the first text that is not a number. multipliers are the
    // settings record's at this moment, given by the caller.
    std::optional<ReceivingValues> accept(const std::array<double, 3>& multipliers);

private:
    void set(StockBox box, double value);
    void purchaseStep();

    Prompt& m_prompt;
    StockDialogSettings m_settings;
    StockProduct m_product;
    std::array<QString, kStockBoxCount> m_texts;
    std::optional<StockBox> m_marked;
};

class Issue {
public:
    // Quantity "0"; the read-only prices from FIXAR, BESZERZAR, AR1-AR3.
    Issue(const RecordCursor& product, Prompt& prompt);

    const StockProduct& product() const { return m_product; }
    const QString& text(StockBox box) const { return m_texts[size_t(box)]; }
    void typed(const QString& quantity) { m_texts[size_t(StockBox::Quantity)] = quantity; }

    // Leaving the quantity box: false (after the message) when the quantity is not a number
    // or more than the stock; the focus then goes back to the box.
    bool leftQuantity();
    // "&Elfogad": the quantity to issue, or nothing after the same messages.
    std::optional<double> accept();

private:
    Prompt& m_prompt;
    StockProduct m_product;
    std::array<QString, kStockBoxCount> m_texts;
};

// The caption of the dialogs' messages and the texts they show.
inline const QString kStockCaption = QStringLiteral("Figyelem!");
inline const QString kIssueAboveStock =
    QStringLiteral("A kivételezett anyagmennyiség nem lehet több a jelenlegi készletnél!");
// "<text>: érvénytelen szám!"
QString notANumberMessage(const QString& text);

// Stores an accepted receiving on the product under the stock rule: the ten prices as typed,
// SZ1-SZ3, and the quantity added to the stock, all in one locked edit; alsoWrite (the
// register's out-of-stock flag) follows in the same edit. Returns the new stock.
std::optional<double> storeReceiving(StockRule& rule, const ProductRecord& product, const ReceivingValues& values,
                                     const StockRule::AlsoWrite& alsoWrite = {});

// Issues the quantity under the stock rule. The stock is checked again under the lock: when
// another workstation took from it meanwhile so that the quantity is now above it, throws
// IssueAboveStock and nothing is stored.
std::optional<double> storeIssue(StockRule& rule, const ProductRecord& product, double quantity,
                                 const StockRule::AlsoWrite& alsoWrite = {});

class IssueAboveStock : public RuleError {
public:
    IssueAboveStock() : RuleError(kIssueAboveStock, kStockCaption) {}
};

}  // namespace kavina::documents
