#pragma once
// The printed barcode book: every label in list order, two to a row on portrait A4 pages,
// each in a frame with its name, "me:" and its unit, its picture when it has one, the EAN-13
// symbol drawn in bars, and below the symbol its digits. A text that is no EAN-13 number
// prints as text with a mark (ean13Refusal()) and no bars.

#include <memory>

#include "foundation/MemTable.h"
#include "report/Layout.h"

namespace kavina::products {

// The layout and the rows it prints, one per pair of labels; prepare() the layout while the
// sheet lives.
struct BarcodeSheet {
    std::unique_ptr<MemTable> rows;
    std::unique_ptr<report::Layout> layout;
};

// Reads the labels (the cursor's records in its order; it is left where it was).
BarcodeSheet barcodeSheet(RecordCursor& labels);

// The width of one module of the symbol, in millimetres, as printed.
inline constexpr double kModuleWidth = 0.33;

}  // namespace kavina::products
