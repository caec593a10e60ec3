#pragma once
// The windows the product register's logic opens, as it opens them: each call shows its window
// modally over the register and returns what the clerk accepted when it closes. The Qt
// implementation is in forms/ (QtProductWindows); tests answer from a script. Messages and
// questions go through the Prompt, never through here.

#include <QDate>
#include <QString>
#include <optional>

#include "documents/stock/StockDialogs.h"
#include "products/pricing/Repricing.h"
#include "products/register/ProductFields.h"

namespace kavina::products {

class ProductWindows {
public:
    virtual ~ProductWindows() = default;
    // The product dialog (or, for fields.service, the service dialog) titled so, started from
    // the fields; the accepted fields, or nothing when cancelled.
    virtual std::optional<ProductFields> editProduct(const QString& title, const ProductFields& start) = 0;
    // The receiving dialog on the product; the quantity box disabled when asked.
    virtual std::optional<documents::ReceivingValues> receive(const RecordCursor& product, bool quantityEnabled) = 0;
    // The issue dialog on the product: the quantity accepted.
    virtual std::optional<double> issue(const RecordCursor& product) = 0;
    // The repricing window (TArazas) on the product: the prices accepted.
    virtual std::optional<RepricedValues> reprice(const RecordCursor& product) = 0;
    // The promotions window (Takciok) on the product, until the clerk leaves it; a new
    // promotion starts today.
    virtual void promotions(const RecordCursor& product, const QDate& today) = 0;
    // The units window and the VAT groups window, opened by a double click on the product
    // dialog's unit or VAT box: the name of the record current when the window closed, which
    // the box then takes (nothing when the list is empty).
    virtual std::optional<QString> units() = 0;
    virtual std::optional<QString> vatGroups() = 0;
    // The categories window, opened by a double click on the category box, likewise.
    virtual std::optional<QString> categories() = 0;
};

}  // namespace kavina::products
