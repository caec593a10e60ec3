#include "products/pricing/Repricing.h"

#include "documents/stock/StockDialogs.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;

// The fields of the boxes, in PriceBox order.
const Field* const kFieldOf[kPriceBoxCount] = {&A::BESZERZAR, &A::bbesz, &A::AR1,  &A::bar1,  &A::AR2,
                                               &A::bar2,      &A::AR3,   &A::bar3, &A::FIXAR, &A::bfixar};

bool isGross(PriceBox box) {
    return int(box) % 2 == 1;
}

// The other box of a net and gross pair (the boxes of a pair are neighbours).
PriceBox partnerOf(PriceBox box) {
    return PriceBox(int(box) + (isGross(box) ? -1 : 1));
}

}  // namespace

PriceBox levelNetBox(int level) {
    return PriceBox(int(PriceBox::Level1Net) + 2 * level);
}

PriceBox levelGrossBox(int level) {
    return PriceBox(int(PriceBox::Level1Gross) + 2 * level);
}

RepricingSettings readRepricingSettings(TableHandle& userTable, const IniSettings& settings) {
    const documents::StockDialogSettings stock = documents::readStockDialogSettings(userTable, settings.tobbar == 1);
    return {stock.severalLevels, settings.automataar == 0, {stock.multipliers, stock.rounding}};
}

std::array<double, 3> currentMultipliers(TableHandle& userTable) {
    return documents::readStockDialogSettings(userTable, true).multipliers;
}

void writeRepricedValues(RecordCursor& product, const RepricedValues& values) {
    for (int i = 0; i < kPriceBoxCount; ++i) product.setFloat(*kFieldOf[i], values.prices[size_t(i)]);
    product.setFloat(A::SZ1, values.multipliers[0]);
    product.setFloat(A::SZ2, values.multipliers[1]);
    product.setFloat(A::SZ3, values.multipliers[2]);
}

std::optional<double> readPriceText(Prompt& prompt, const QString& text) {
    const std::optional<double> value = readNumberBox(text);
    if (!value) prompt.warning(QStringLiteral("Figyelem!"), text.trimmed() + QStringLiteral(": érvénytelen szám!"));
    return value;
}

Repricing::Repricing(const RecordCursor& product, const RepricingSettings& settings, Prompt& prompt)
    : m_prompt(prompt), m_settings(settings) {
    m_product = {product.asString(A::MEGNEVEZES).trimmed(), product.asString(A::EGYSEG).trimmed(),
                 product.asFloat(A::MENNYISEG), product.asFloat(A::AFAKULCS)};
    for (int i = 0; i < kPriceBoxCount; ++i)
        if (!product.isNull(*kFieldOf[i])) m_texts[size_t(i)] = numberBoxText(product.asFloat(*kFieldOf[i]));
    if (isEmpty(PriceBox::PurchaseNet)) m_texts[size_t(PriceBox::PurchaseNet)] = QStringLiteral("0");
}

void Repricing::keyPressed(PriceBox box) {
    m_marked = box;
}

void Repricing::typed(PriceBox box, const QString& text) {
    m_texts[size_t(box)] = text;
    m_marked = box;
}

void Repricing::set(PriceBox box, double value) {
    m_texts[size_t(box)] = numberBoxText(value);
}

void Repricing::left(PriceBox box) {
    if (box == PriceBox::PurchaseNet) {
        if (m_marked != PriceBox::PurchaseGross) purchaseLeft();
        return;
    }
    const PriceBox partner = partnerOf(box);
    if (m_marked == partner || isEmpty(box)) return;
    const std::optional<double> value = readNumberBox(text(box));
    // A text that is not a number changes nothing here; "&Elfogad" refuses it.
    if (!value) return;
    const double rate = m_product.vatRate;
    set(partner, isGross(box) ? netOf(*value, rate) : grossOf(*value, rate));
    // A gross purchase price gives the net one; as the gross box is then the one typed in,
    // that never derives the levels again.
    if (box == PriceBox::PurchaseGross) purchaseLeft();
}

void Repricing::purchaseLeft() {
    if (m_marked == PriceBox::PurchaseGross || isEmpty(PriceBox::PurchaseNet)) return;
    const std::optional<double> typedNet = readNumberBox(text(PriceBox::PurchaseNet));
    if (!typedNet) return;
    const double purchase = toFourDecimals(*typedNet);
    const double rate = m_product.vatRate;
    set(PriceBox::PurchaseNet, purchase);
    set(PriceBox::PurchaseGross, grossOf(purchase, rate));
    if (!m_settings.derive) return;
    const DerivedLevels derived = deriveLevels(purchase, m_settings.rule, rate);
    for (int level = 0; level < 3; ++level) {
        set(levelNetBox(level), derived.levels[size_t(level)].net);
        set(levelGrossBox(level), derived.levels[size_t(level)].gross);
    }
    if (!m_settings.severalLevels) return;
    if (isEmpty(PriceBox::FixedNet)) set(PriceBox::FixedNet, derived.highest.net);
    if (isEmpty(PriceBox::FixedGross)) set(PriceBox::FixedGross, grossOf(derived.highest.net, rate));
}

std::optional<PriceBox> Repricing::firstRefused() const {
    for (int i = 0; i < kPriceBoxCount; ++i)
        if (!readNumberBox(m_texts[size_t(i)])) return PriceBox(i);
    return std::nullopt;
}

std::optional<RepricedValues> Repricing::accept(const std::array<double, 3>& multipliers) {
    RepricedValues values;
    for (int i = 0; i < kPriceBoxCount; ++i) {
        const std::optional<double> value = readPriceText(m_prompt, m_texts[size_t(i)]);
        if (!value) return std::nullopt;
        values.prices[size_t(i)] = isGross(PriceBox(i)) ? *value : toFourDecimals(*value);
    }
    values.multipliers = multipliers;
    return values;
}

}  // namespace kavina::products
