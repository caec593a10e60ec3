#include "documents/stock/StockDialogs.h"

#include <algorithm>

#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/SettingsRecord.h"
#include "foundation/SzamSzov.h"

namespace kavina::documents {

namespace {

namespace A = fields::Anyag;

double round4(long double x) {
    return double(Kerekit(-1, x));
}

// Quantities compare as the four-decimal values they are stored as, so that a stock of 0.01
// left by three issues of 0.03 from 0.1 can be issued exactly.
int64_t tenThousandths(double x) {
    return KerekitRound((long double)x * 10000);
}

bool isGross(StockBox box) {
    switch (box) {
        case StockBox::PurchaseGross:
        case StockBox::Level1Gross:
        case StockBox::Level2Gross:
        case StockBox::Level3Gross:
        case StockBox::FixedGross: return true;
        default: return false;
    }
}

// The other box of a net and gross pair (the boxes of a pair are neighbours).
StockBox counterpart(StockBox box) {
    return StockBox(int(box) + (isGross(box) ? -1 : 1));
}

StockBox levelNet(int level) {
    return StockBox(int(StockBox::Level1Net) + 2 * level);
}

StockBox levelGross(int level) {
    return StockBox(int(StockBox::Level1Gross) + 2 * level);
}

QString fieldText(const RecordCursor& product, const Field& field) {
    return product.isNull(field) ? QString() : numberBoxText(product.asFloat(field));
}

}  // namespace

QString notANumberMessage(const QString& text) {
    return text + QStringLiteral(": érvénytelen szám!");
}

StockDialogSettings readStockDialogSettings(TableHandle& settings, bool severalLevels) {
    SettingsRecord record(settings);
    record.reread();
    StockDialogSettings s;
    s.severalLevels = severalLevels;
    if (!record.exists()) return s;
    s.rounding = int(record.integer(fields::User::SELOTAG));
    s.multipliers = {record.number(fields::User::SZORZO1), record.number(fields::User::SZORZO2),
                     record.number(fields::User::SZORZO3)};
    return s;
}

StockProduct readStockProduct(const RecordCursor& product) {
    return {product.asString(A::MEGNEVEZES).trimmed(), product.asString(A::EGYSEG).trimmed(),
            product.asFloat(A::MENNYISEG), product.asFloat(A::AFAKULCS)};
}

Receiving::Receiving(const RecordCursor& product, const StockDialogSettings& settings, Prompt& prompt)
    : m_prompt(prompt), m_settings(settings), m_product(readStockProduct(product)) {
    const Field* fieldOf[kStockBoxCount] = {nullptr,  &A::BESZERZAR, &A::bbesz, &A::AR1,   &A::bar1,  &A::AR2,
                                            &A::bar2, &A::AR3,       &A::bar3,  &A::FIXAR, &A::bfixar};
    for (int i = 1; i < kStockBoxCount; ++i) m_texts[size_t(i)] = fieldText(product, *fieldOf[i]);
    m_texts[size_t(StockBox::Quantity)] = QStringLiteral("0");
    if (m_texts[size_t(StockBox::PurchaseNet)].isEmpty()) m_texts[size_t(StockBox::PurchaseNet)] = QStringLiteral("0");
}

void Receiving::typed(StockBox box, const QString& text) {
    m_texts[size_t(box)] = text;
    if (box != StockBox::Quantity) m_marked = box;
}

void Receiving::set(StockBox box, double value) {
    m_texts[size_t(box)] = numberBoxText(value);
}

void Receiving::left(StockBox box) {
    if (box == StockBox::Quantity) return;
    const long double factor = 1 + (long double)m_product.vatRate / 100;
    const std::optional<double> value = readNumberBox(text(box));
    if (box == StockBox::PurchaseNet) {
        if (m_marked != StockBox::PurchaseGross && !text(box).trimmed().isEmpty()) purchaseStep();
        return;
    }
    const StockBox other = counterpart(box);
    if (m_marked == other || !value || text(box).trimmed().isEmpty()) return;
    set(other, isGross(box) ? round4(*value / factor) : round4(*value * factor));
    if (box == StockBox::PurchaseGross && m_marked != StockBox::PurchaseGross) purchaseStep();
}

// The sale prices derived from the net purchase price b: level k is b raised by its
// multiplier and rounded by the settings' rounding; with several price levels the fixed price
// becomes the highest of them. Hidden level boxes (one price level) are filled all the same.
void Receiving::purchaseStep() {
    const std::optional<double> typed = readNumberBox(text(StockBox::PurchaseNet));
    if (!typed) return;
    const long double b = *typed;
    const long double factor = 1 + (long double)m_product.vatRate / 100;
    set(StockBox::PurchaseNet, round4(b));
    set(StockBox::PurchaseGross, round4(b * factor));
    double highest = 0;
    for (int level = 0; level < 3; ++level) {
        const double price =
            double(Kerekit(m_settings.rounding, b * (1 + (long double)m_settings.multipliers[size_t(level)] / 100)));
        set(levelNet(level), price);
        set(levelGross(level), round4(price * factor));
        highest = level == 0 ? price : std::max(highest, price);
    }
    if (!m_settings.severalLevels) return;
    set(StockBox::FixedNet, highest);
    set(StockBox::FixedGross, round4(highest * factor));
}

std::optional<ReceivingValues> Receiving::accept(const std::array<double, 3>& multipliers) {
    std::array<double, kStockBoxCount> v{};
    for (int i = 0; i < kStockBoxCount; ++i) {
        const std::optional<double> value = readNumberBox(m_texts[size_t(i)]);
        if (!value) {
            m_prompt.warning(kStockCaption, notANumberMessage(m_texts[size_t(i)]));
            return std::nullopt;
        }
        v[size_t(i)] = *value;
    }
    ReceivingValues values;
    values.quantity = v[size_t(StockBox::Quantity)];
    values.purchaseNet = v[size_t(StockBox::PurchaseNet)];
    values.purchaseGross = v[size_t(StockBox::PurchaseGross)];
    for (int level = 0; level < 3; ++level) {
        values.levelNet[size_t(level)] = v[size_t(levelNet(level))];
        values.levelGross[size_t(level)] = v[size_t(levelGross(level))];
    }
    values.fixedNet = v[size_t(StockBox::FixedNet)];
    values.fixedGross = v[size_t(StockBox::FixedGross)];
    values.multipliers = multipliers;
    return values;
}

Issue::Issue(const RecordCursor& product, Prompt& prompt) : m_prompt(prompt), m_product(readStockProduct(product)) {
    m_texts[size_t(StockBox::Quantity)] = QStringLiteral("0");
    m_texts[size_t(StockBox::PurchaseNet)] = fieldText(product, A::BESZERZAR);
    m_texts[size_t(StockBox::Level1Net)] = fieldText(product, A::AR1);
    m_texts[size_t(StockBox::Level2Net)] = fieldText(product, A::AR2);
    m_texts[size_t(StockBox::Level3Net)] = fieldText(product, A::AR3);
    m_texts[size_t(StockBox::FixedNet)] = fieldText(product, A::FIXAR);
}

bool Issue::leftQuantity() {
    return accept().has_value();
}

std::optional<double> Issue::accept() {
    const QString& typed = text(StockBox::Quantity);
    const std::optional<double> quantity = readNumberBox(typed);
    if (!quantity) {
        m_prompt.warning(kStockCaption, notANumberMessage(typed));
        return std::nullopt;
    }
    if (tenThousandths(*quantity) > tenThousandths(m_product.stock)) {
        m_prompt.warning(kStockCaption, kIssueAboveStock);
        return std::nullopt;
    }
    return *quantity;
}

std::optional<double> storeReceiving(StockRule& rule, const ProductRecord& product, const ReceivingValues& values,
                                     const StockRule::AlsoWrite& alsoWrite) {
    return rule.apply(product, values.quantity, [&](RecordCursor& p) {
        p.setFloat(A::BESZERZAR, values.purchaseNet);
        p.setFloat(A::bbesz, values.purchaseGross);
        const Field* net[3] = {&A::AR1, &A::AR2, &A::AR3};
        const Field* gross[3] = {&A::bar1, &A::bar2, &A::bar3};
        const Field* multiplier[3] = {&A::SZ1, &A::SZ2, &A::SZ3};
        for (size_t level = 0; level < 3; ++level) {
            p.setFloat(*net[level], values.levelNet[level]);
            p.setFloat(*gross[level], values.levelGross[level]);
            p.setFloat(*multiplier[level], values.multipliers[level]);
        }
        p.setFloat(A::FIXAR, values.fixedNet);
        p.setFloat(A::bfixar, values.fixedGross);
        if (alsoWrite) alsoWrite(p);
    });
}

std::optional<double> storeIssue(StockRule& rule, const ProductRecord& product, double quantity,
                                 const StockRule::AlsoWrite& alsoWrite) {
    return rule.apply(product, -quantity, [&](RecordCursor& p) {
        const double before = p.asFloat(A::MENNYISEG) + quantity;
        if (tenThousandths(quantity) > tenThousandths(before)) throw IssueAboveStock();
        if (alsoWrite) alsoWrite(p);
    });
}

}  // namespace kavina::documents
