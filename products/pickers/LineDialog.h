#pragma once
// The line dialog (TAnyagval) of the invoice, delivery-note and offer editors: quantity, net
// and gross unit price and remark of the editor's current line, the VAT per unit and the line
// totals recomputed as the clerk types, the stock check, and the accepted values written back
// with NETTOAR = quantity × net and OSSZESEN = quantity × gross (four decimals), AFAFT their
// difference. The window (forms/TAnyagval) shows the texts and forwards the typing.
//
// The product the line was picked from is read by the line's own code (ANYAGSZAM), not taken
// from wherever the product list happens to stand, so the stock check on "Módosít" checks the
// line's product.

#include <QString>
#include <optional>
#include <string>

#include "foundation/Prompt.h"
#include "foundation/RecordCursor.h"

namespace kavina::products {

// Which editor, in which of its modes, opened the dialog.
enum class LineEditor { Invoice, Offer, DeliveryNote, CashPayout, SupplierOrder, GoodsReceipt, Return };

struct LineDialogSetup {
    LineEditor editor = LineEditor::Invoice;
    bool afterPick = false;            // opened right after the product was picked
    bool negativeStockAllowed = true;  // setting anyagminusz
    bool remarkShown = true;           // setting szlistmode
    bool pricesEnabled = false;        // rights letter V
};

inline const QString kZeroQuantityMessage = QStringLiteral("A kiválasztott mennyiség nem lehet NULLA!");
inline const QString kNoStockMessage = QStringLiteral("Nincs ennyi termék a készleten!");
// Plain information boxes carry the program's name.
inline const QString kPlainCaption = QStringLiteral("Kavina");

// What the dialog needs of the line's product.
struct LineProduct {
    double stock = 0;  // MENNYISEG
    bool service = false;
    QString unit;
    double purchaseNet = 0;    // BESZERZAR
    double purchaseGross = 0;  // bbesz
};

// The product of that code in the folder's Anyag.dbf, read through a handle of its own;
// nothing when there is none.
std::optional<LineProduct> readLineProduct(const std::string& dataFolder, double code);

class LineDialog {
public:
    // Reads the line's values into the boxes. In goods receipts and returns right after a pick
    // the line's purchase prices are first set again from the product and shown as the prices.
    // Requires: the lines stand on the line, not being changed.
    LineDialog(RecordCursor& lines, std::optional<LineProduct> product, Prompt& prompt, const LineDialogSetup& setup);

    QString caption() const { return m_caption; }
    // Supplier orders are not priced: no price boxes, headings or totals.
    bool pricesShown() const { return m_setup.editor != LineEditor::SupplierOrder; }
    bool pricesEnabled() const { return m_setup.pricesEnabled; }
    bool remarkShown() const { return m_setup.remarkShown; }
    QString unit() const { return m_unit; }

    const QString& netText() const { return m_net; }
    const QString& grossText() const { return m_gross; }
    const QString& quantityText() const { return m_quantity; }
    const QString& remarkText() const { return m_remark; }
    double vatPerUnit() const { return m_vatPerUnit; }
    double netTotal() const { return m_netTotal; }
    double vatTotal() const { return m_vatTotal; }
    double grossTotal() const { return m_grossTotal; }

    // Typing in a price box makes it the leading one: the other price follows from the rate.
    void typeNet(const QString& text);
    void typeGross(const QString& text);
    void typeQuantity(const QString& text);
    void typeRemark(const QString& text) { m_remark = text; }

    // Leaving the quantity box: false after kNoStockMessage when the goods are not in stock in
    // that quantity and selling below the stock is not allowed here.
    bool leaveQuantity();
    // Enter in the quantity box: true when the dialog accepts at once.
    bool enterInQuantity();
    // "&Elfogad": refuses an empty or "0" quantity (kZeroQuantityMessage); otherwise writes
    // the line. True when the line was stored.
    bool accept();

private:
    bool stockChecked() const;
    bool exceedsStock() const;
    void recompute();

    RecordCursor& m_lines;
    std::optional<LineProduct> m_product;
    Prompt& m_prompt;
    LineDialogSetup m_setup;
    QString m_caption, m_unit;
    double m_rate = 0;
    QString m_net, m_gross, m_quantity, m_remark;
    double m_vatPerUnit = 0, m_netTotal = 0, m_vatTotal = 0, m_grossTotal = 0;
};

}  // namespace kavina::products
