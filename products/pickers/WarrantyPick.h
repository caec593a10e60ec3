#pragma once
// The warranty editor's pick dialog (TAnyagval2): a quantity and a net price for the picked
// product, figures to fillér, and on accept one warranty line per piece, each of quantity 1.

#include <QString>

#include "foundation/Prompt.h"
#include "foundation/RecordCursor.h"

namespace kavina::products {

inline const QString kWholePiecesMessage = QStringLiteral("A mennyiség csak pozitív egész szám lehet!");

class WarrantyPick {
public:
    // Opens with quantity "0" and the product's net price of the group.
    WarrantyPick(const RecordCursor& product, int priceGroup, Prompt& prompt);

    QString caption() const { return m_caption; }
    const QString& netText() const { return m_net; }
    const QString& grossText() const { return m_gross; }
    const QString& quantityText() const { return m_quantity; }
    double vatPerUnit() const { return m_vatPerUnit; }
    double netTotal() const { return m_netTotal; }
    double vatTotal() const { return m_vatTotal; }
    double grossTotal() const { return m_grossTotal; }

    void typeNet(const QString& text);
    // Sets the net price to gross ÷ (1 + rate/100) when that differs from the net shown.
    void typeGross(const QString& text);
    void typeQuantity(const QString& text);

    // "&Elfogad": an empty or zero quantity is refused (the zero-quantity message), so is a
    // fractional or negative one (kWholePiecesMessage); otherwise appends one line per piece
    // to the warranty lines (sorszam = the warranty's number). True when lines were added.
    bool accept(RecordCursor& warrantyLines, const QString& warrantyNumber);

private:
    void recompute();

    Prompt& m_prompt;
    QString m_caption, m_unit, m_name;
    double m_code = 0, m_rate = 0;
    QString m_net, m_gross, m_quantity;
    double m_vatPerUnit = 0, m_netTotal = 0, m_vatTotal = 0, m_grossTotal = 0;
};

}  // namespace kavina::products
