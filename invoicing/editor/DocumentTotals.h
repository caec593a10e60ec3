#pragma once
// The totals of a document in the making, shared by the invoice, delivery-note and offer
// editors: the document discount taken off every line's net, VAT and gross value (each to
// fillér), the sums rounded to whole forints, and, for cash documents of the invoice editor
// issued after 2008.02.29, the amount payable rounded to 0 or 5 forints. The line values
// themselves are never changed by the discount.

#include <QDate>
#include <QString>
#include <cstdint>

#include "foundation/RecordCursor.h"
#include "invoicing/editor/EditorMode.h"

namespace kavina::invoicing {

struct DocumentTotals {
    int64_t net = 0;      // AFAALAP
    int64_t vat = 0;      // AFAFT
    int64_t payable = 0;  // FIZETENDO
};

// Sums the lines (NETTOAR, AFAFT, OSSZESEN) less the discount in percent. The lines are left
// on the record they were on. Throws std::range_error for a sum beyond an integer's range.
DocumentTotals computeTotals(RecordCursor& lines, double discountPercent, bool cashRounding);

// Whether the invoice editor rounds the amount payable to 0 or 5: issued after 2008.02.29
// (the day cash rounding began) and paid in cash, or a cash-register sale.
bool invoiceCashRounding(const QDate& issued, const QString& paymentMethod, EditorMode mode);

// Computes the totals with the header's discount (KEDVEZMENY) and stores them in the header's
// AFAALAP, AFAFT and FIZETENDO. Requires: the header holds its one record, not being changed.
DocumentTotals recalculateTotals(RecordCursor& header, RecordCursor& lines, bool cashRounding);

// The change: handed over less the amount payable; negative when too little was handed over,
// nothing when nothing was handed over.
double changeDue(double handedOver, int64_t payable);

}  // namespace kavina::invoicing
