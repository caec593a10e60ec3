#pragma once
// What the repricing window (TArazas, "Átárazás") does, apart from drawing it: its ten price
// boxes, net and gross side by side for the purchase price, the three price levels and the
// fixed price, the mark of the box typed in last, the partner that follows a box when it is
// left, the level prices derived from the net purchase price, and the values "&Elfogad"
// stores. The window stores nothing itself: the product register writes the accepted values
// into the product the window was opened for.
//
// Net and gross of a pair are tied by the product's VAT rate r through f = 1 + r/100. A box
// typed into last carries the mark; leaving a box never overwrites the marked one. The fixed
// price is derived only into an empty box: a fixed price the clerk set stays.

#include <QString>
#include <array>
#include <optional>

#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/RecordCursor.h"
#include "foundation/TableHandle.h"
#include "products/pricing/PriceRules.h"

namespace kavina::products {

enum class PriceBox {
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
inline constexpr int kPriceBoxCount = 10;

// The net box of level 0, 1 or 2, and its gross box.
PriceBox levelNetBox(int level);
PriceBox levelGrossBox(int level);

struct RepricingSettings {
    bool severalLevels = true;  // ini tobbar = 1
    bool derive = true;         // ini automataar = 0: the levels follow the net purchase price
    LevelRule rule;             // SZORZO1-3 and SELOTAG
};
// The settings record as it is on disk now, and the workstation's switches.
RepricingSettings readRepricingSettings(TableHandle& userTable, const IniSettings& settings);
// SZORZO1-3 as the settings record holds them now, which "&Elfogad" copies into SZ1-SZ3.
std::array<double, 3> currentMultipliers(TableHandle& userTable);

// The product as the window shows it above the boxes.
struct RepricedProduct {
    QString name;
    QString unit;
    double stock = 0;
    double vatRate = 0;  // AFAKULCS
};

// What "&Elfogad" stores: every price of the boxes (nets to four decimals, grosses as shown,
// in PriceBox order) and SZ1-SZ3.
struct RepricedValues {
    std::array<double, kPriceBoxCount> prices{};
    std::array<double, 3> multipliers{0, 0, 0};

    double price(PriceBox box) const { return prices[size_t(box)]; }
};

// Writes the values into the product's price fields and SZ1-SZ3; the stock is not touched.
// Requires: the record in edit state.
void writeRepricedValues(RecordCursor& product, const RepricedValues& values);

// The value of a price box (empty is 0), or nothing after the warning "<text>: érvénytelen
// szám!" (caption "Figyelem!"): the words of every price box that refuses its text.
std::optional<double> readPriceText(Prompt& prompt, const QString& text);

class Repricing {
public:
    // Fills the boxes from the product's stored prices; an empty net purchase price shows "0".
    Repricing(const RecordCursor& product, const RepricingSettings& settings, Prompt& prompt);

    const RepricedProduct& product() const { return m_product; }
    const RepricingSettings& settings() const { return m_settings; }
    const QString& text(PriceBox box) const { return m_texts[size_t(box)]; }
    std::optional<PriceBox> marked() const { return m_marked; }

    // A key pressed in a box: it becomes the marked box (the mark of the others goes).
    void keyPressed(PriceBox box);
    // The text a box holds after the clerk changed it; the box becomes the marked one.
    void typed(PriceBox box, const QString& text);
    // The focus leaves the box: its partner follows unless the partner is marked; leaving the
    // net purchase box rounds it and, unless automataar, derives the levels from it.
    void left(PriceBox box);

    // "&Elfogad": every box must read as a number (an empty one is 0); nothing after the
    // message naming the first text that is not one. multipliers: SZORZO1-3 at this moment.
    std::optional<RepricedValues> accept(const std::array<double, 3>& multipliers);
    // The first box whose text is not a number, where the focus goes after the refusal.
    std::optional<PriceBox> firstRefused() const;

private:
    void set(PriceBox box, double value);
    bool isEmpty(PriceBox box) const { return m_texts[size_t(box)].trimmed().isEmpty(); }
    void purchaseLeft();

    Prompt& m_prompt;
    RepricingSettings m_settings;
    RepricedProduct m_product;
    std::array<QString, kPriceBoxCount> m_texts;
    std::optional<PriceBox> m_marked;
};

}  // namespace kavina::products
