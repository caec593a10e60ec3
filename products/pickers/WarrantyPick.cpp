#include "products/pickers/WarrantyPick.h"

#include <cmath>

#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"
#include "products/pickers/LineDialog.h"
#include "products/pickers/PickerProtocol.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace G = fields::Garancia2;

double r2(long double x) {
    return double(Kerekit(0, x));
}

double typed(const QString& text) {
    if (text.trimmed() == QStringLiteral("-")) return 0;
    return readNumberBox(text).value_or(0);
}

}  // namespace

WarrantyPick::WarrantyPick(const RecordCursor& product, int priceGroup, Prompt& prompt) : m_prompt(prompt) {
    m_name = product.asString(A::MEGNEVEZES);
    m_caption = product.asString(A::ITJSZAM) + QStringLiteral(" - ") + m_name;
    m_unit = product.asString(A::EGYSEG);
    m_code = product.asFloat(A::ANYAGKOD);
    m_rate = product.asFloat(A::AFAKULCS);
    m_quantity = QStringLiteral("0");
    typeNet(numberBoxText(r2(groupPrice(product, priceGroup).net)));
}

void WarrantyPick::typeNet(const QString& text) {
    m_net = text;
    recompute();
    m_gross = numberBoxText(r2((long double)typed(m_net) + m_vatPerUnit));
}

void WarrantyPick::typeGross(const QString& text) {
    m_gross = text;
    const double net = r2(typed(text) / (1 + (long double)m_rate / 100));
    if (net != r2(typed(m_net))) m_net = numberBoxText(net);
    recompute();
}

void WarrantyPick::typeQuantity(const QString& text) {
    m_quantity = text;
    recompute();
}

void WarrantyPick::recompute() {
    const long double net = r2(typed(m_net)), quantity = typed(m_quantity);
    m_vatPerUnit = r2(net * m_rate / 100);
    m_netTotal = r2(net * quantity);
    m_vatTotal = r2((long double)m_netTotal * m_rate / 100);
    m_grossTotal = r2((long double)m_netTotal + m_vatTotal);
}

bool WarrantyPick::accept(RecordCursor& warrantyLines, const QString& warrantyNumber) {
    const QString text = m_quantity.trimmed();
    const std::optional<double> quantity = readNumberBox(text);
    if (text.isEmpty() || text == QStringLiteral("0") || (quantity && r2(*quantity) == 0)) {
        m_prompt.information(kPlainCaption, kZeroQuantityMessage);
        return false;
    }
    // Only whole pieces make warranty lines; anything else would be marked chosen with none.
    if (!quantity || *quantity < 0 || std::floor(*quantity) != *quantity) {
        m_prompt.information(kPlainCaption, kWholePiecesMessage);
        return false;
    }
    const double net = r2(typed(m_net));
    for (int64_t piece = 0; piece < int64_t(*quantity); ++piece) {
        RecordEdit line = RecordEdit::append(warrantyLines);
        warrantyLines.setString(G::SORSZAM, warrantyNumber);
        warrantyLines.setFloat(G::ANYAGKOD, m_code);
        warrantyLines.setString(G::MEGNEVEZES, m_name);
        warrantyLines.setFloat(G::MENNYISEG, 1);
        warrantyLines.setString(G::EGYSEG, m_unit);
        warrantyLines.setFloat(G::NETTO_AR, net);
        line.post();
    }
    return true;
}

}  // namespace kavina::products
