#pragma once
// The in-memory document that every document editor builds before anything is written:
// mszamla, the one header record in progress, mszamla2, its lines, and mData2, the source
// document's stock lines. The header has the
// fields of Szamla.dbf, the lines those of Szamla2.dbf plus the purchase prices the product
// picker fills (beszerzar net, bbesz gross), which are never stored. Types and widths are the
// tables' own, so values copy between the record sets and the tables unchanged.
//
// The main window owns one MemoryDocument for the whole run; one document is edited at a time.
#include "foundation/MemTable.h"

namespace kavina {

class MemoryDocument {
public:
    MemoryDocument();

    MemTable mszamla{"mszamla"};
    MemTable mszamla2{"mszamla2"};
    // The stock-relevant lines of the source document whose stock effect the document being
    // edited replaces; the line fields that matter to the stock.
    MemTable mData2{"mData2"};

    // Empties the header and the lines (an editor left without saving); their fields stay.
    void empty();
    // Empties all three, as an editor does when it opens.
    void emptyAll();
    // Orders the lines as they are previewed, printed and saved: products before services
    // (TERMEK), then by VAT rate (AFA), ascending; lines equal on both keep their order.
    void sortLinesForPrint();
};

}  // namespace kavina
