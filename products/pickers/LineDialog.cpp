#include "products/pickers/LineDialog.h"

#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"
#include "foundation/TableHandle.h"
#include "invoicing/document/MemoryDocument.h"
#include "products/pricing/PriceRules.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace L = fields::Szamla2;

double r4(long double x) {
    return double(Kerekit(-1, x));
}

// A box's number while typing: empty and a lone minus sign count as 0; what cannot be read
// counts as 0 too, the boxes take digits, commas and minus signs only.
double typed(const QString& text) {
    if (text.trimmed() == QStringLiteral("-")) return 0;
    return readNumberBox(text).value_or(0);
}

}  // namespace

std::optional<LineProduct> readLineProduct(const std::string& dataFolder, double code) {
    TableHandle products(dataFolder, catalogue::table(TableId::Anyag).fileName);
    products.open({.readOnly = true});
    products.setOrder(A::ANYAGKOD);
    if (!products.findKey(QString::number(KerekitRound(code)).toStdString())) return std::nullopt;
    return LineProduct{products.asFloat(A::MENNYISEG), products.asLogical(A::TERMEK), products.asString(A::EGYSEG),
                       products.asFloat(A::BESZERZAR), products.asFloat(A::bbesz)};
}

LineDialog::LineDialog(RecordCursor& lines, std::optional<LineProduct> product, Prompt& prompt,
                       const LineDialogSetup& setup)
    : m_lines(lines), m_product(std::move(product)), m_prompt(prompt), m_setup(setup) {
    m_caption = lines.asString(L::ITJSZAM) + QStringLiteral(" - ") + lines.asString(L::MEGNEVEZES);
    m_unit = m_product ? m_product->unit : lines.asString(L::EGYSEG);
    m_rate = r4(lines.asFloat(L::AFA));
    const bool purchasePriced = setup.editor == LineEditor::GoodsReceipt || setup.editor == LineEditor::Return;
    if (setup.editor == LineEditor::SupplierOrder) {
        m_quantity = setup.afterPick ? QStringLiteral("0") : numberBoxText(lines.asFloat(L::MENNYISEG));
        m_net = numberBoxText(r4(lines.asFloat(L::EGYSEGAR)));
        m_gross = numberBoxText(lines.asFloat(L::begysegar));
    } else if (purchasePriced) {
        if (setup.afterPick && m_product) {
            RecordEdit change = RecordEdit::edit(lines);
            lines.setFloat(mszamla2Fields::beszerzar, m_product->purchaseNet);
            lines.setFloat(mszamla2Fields::bbesz, m_product->purchaseGross);
            change.post();
        }
        m_net = numberBoxText(r4(lines.asFloat(mszamla2Fields::beszerzar)));
        m_gross = numberBoxText(lines.asFloat(mszamla2Fields::bbesz));
        m_quantity = numberBoxText(lines.asFloat(L::MENNYISEG));
    } else {
        m_net = numberBoxText(r4(lines.asFloat(L::EGYSEGAR)));
        m_gross = numberBoxText(lines.asFloat(L::begysegar));
        m_quantity = numberBoxText(lines.asFloat(L::MENNYISEG));
    }
    m_remark = lines.asString(L::MEGJEGYZES);
    recompute();
}

void LineDialog::typeNet(const QString& text) {
    m_net = text;
    m_gross = numberBoxText(grossOf(typed(text), m_rate));
    recompute();
}

void LineDialog::typeGross(const QString& text) {
    m_gross = text;
    m_net = numberBoxText(netOf(typed(text), m_rate));
    recompute();
}

void LineDialog::typeQuantity(const QString& text) {
    m_quantity = text;
    recompute();
}

void LineDialog::recompute() {
    const double net = r4(typed(m_net)), gross = r4(typed(m_gross)), quantity = typed(m_quantity);
    m_vatPerUnit = r4((long double)gross - net);
    m_netTotal = r4((long double)net * quantity);
    m_grossTotal = r4((long double)gross * quantity);
    m_vatTotal = r4((long double)m_grossTotal - m_netTotal);
}

bool LineDialog::stockChecked() const {
    if (m_setup.negativeStockAllowed || !m_product || m_product->service) return false;
    switch (m_setup.editor) {
        case LineEditor::Invoice:
        case LineEditor::Offer:
        case LineEditor::DeliveryNote:
        case LineEditor::CashPayout: return true;
        default: return false;
    }
}

bool LineDialog::exceedsStock() const {
    return stockChecked() && r4(typed(m_quantity)) > m_product->stock;
}

bool LineDialog::leaveQuantity() {
    if (!exceedsStock()) return true;
    m_prompt.information(kPlainCaption, kNoStockMessage);
    return false;
}

bool LineDialog::enterInQuantity() {
    switch (m_setup.editor) {
        case LineEditor::DeliveryNote:
        case LineEditor::CashPayout:
        case LineEditor::SupplierOrder:
        case LineEditor::GoodsReceipt:
        case LineEditor::Return: return false;
        default: return !exceedsStock();
    }
}

bool LineDialog::accept() {
    const QString quantityText = m_quantity.trimmed();
    if (quantityText.isEmpty() || quantityText == QStringLiteral("0")) {
        m_prompt.information(kPlainCaption, kZeroQuantityMessage);
        return false;
    }
    if (!leaveQuantity()) return false;
    const double quantity = r4(typed(m_quantity)), net = r4(typed(m_net)), gross = r4(typed(m_gross));
    RecordEdit change = RecordEdit::edit(m_lines);
    m_lines.setFloat(L::MENNYISEG, quantity);
    m_lines.setFloat(L::EGYSEGAR, net);
    m_lines.setFloat(L::begysegar, gross);
    const double netValue = r4((long double)quantity * net), grossValue = r4((long double)quantity * gross);
    m_lines.setFloat(L::NETTOAR, netValue);
    m_lines.setFloat(L::OSSZESEN, grossValue);
    m_lines.setFloat(L::AFAFT, grossValue - netValue);
    m_lines.setString(L::MEGJEGYZES, m_remark);
    change.post();
    return true;
}

}  // namespace kavina::products
