#pragma once
// The product register used as a picker by the document editors. The caller tells the window
// who is picking (the caller mode), at which price group, and reads back whether a pick was
// completed (the "chosen" flag). An invoice, delivery-note or offer pick writes the product
// into the editor's current line (a running promotion before the price group's price) and
// opens the line dialog on it; a warranty pick opens the warranty pick dialog; the barcode
// book only wants the product made current.

#include <QDate>
#include <QString>
#include <optional>

#include "foundation/Prompt.h"
#include "foundation/RecordCursor.h"
#include "foundation/TableHandle.h"
#include "products/pickers/LineDialog.h"

namespace kavina::products {

enum class CallerMode { Register = 0, InvoiceEditor = 1, DeliveryOrOffer = 2, Warranty = 3, BarcodeBook = 4 };

// Asked when the picker's price group is none of 1 to 4 (the stored text, blanks included).
inline const QString kMissingPriceGroupMessage = QStringLiteral(
    "Kérem  válassza ki,  melyik árcsoportban  kíván számlázni!\n\r\n\rAz árcsoportot az \"ár 1\", \"ár 2\", "
    "\"ár 3\", vagy a \n\r\"Fix ár\" oszlop azonosítóra kattintva választhatja ki.");

// The price group a pick uses: the fixed price (4) whenever price levels are not in use.
int pickPriceGroup(int requested, int tobbar);

// The product's net and gross price of a group (1-3 the levels, 4 the fixed price).
struct GroupPrice {
    double net = 0;
    double gross = 0;
};
GroupPrice groupPrice(const RecordCursor& product, int priceGroup);

// Fills the line being changed in the editor's lines from the product: the group's price pair,
// or, when a promotion's gross price covers the day, that gross price and its net; then code,
// article number, rate, unit, tariff code, name, the four net prices, the group, the service
// flag and the purchase prices. Quantity, line values and remark stay for the line dialog.
// Requires: the lines' current record is in edit or insert state.
void fillPickedLine(const RecordCursor& product, RecordCursor& lines, int priceGroup,
                    std::optional<double> promotionGross);

// The windows a pick opens.
class PickerWindows {
public:
    virtual ~PickerWindows() = default;
    // The line dialog (TAnyagval) on the lines' current record; true when it was accepted.
    virtual bool editLine(RecordCursor& lines, const LineDialogSetup& setup) = 0;
    // The warranty pick dialog (TAnyagval2) on the product; true when lines were added.
    virtual bool pickWarrantyLines(const RecordCursor& product, int priceGroup) = 0;
};

// What the caller of the picker sets before showing it, and reads after.
struct PickerRequest {
    CallerMode mode = CallerMode::Register;
    int priceGroup = 1;
    bool chosen = false;
    RecordCursor* lines = nullptr;            // the editor's lines (modes 1 and 2)
    LineDialogSetup lineSetup;                // how the line dialog opens after a pick
    const TableHandle* promotions = nullptr;  // akcio.dbf; none: no promotions
    QDate today;                              // the day promotions are looked up for
};

// Accept in the product window while an editor picks. True when the window is to close.
// Tells kMissingPriceGroupMessage and stops when the group is not 1 to 4.
bool acceptPick(PickerRequest& request, const RecordCursor& product, Prompt& prompt, PickerWindows& windows);

}  // namespace kavina::products
