#include "invoicing/editor/DocumentTotals.h"

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

// A line value less the discount, to fillér.
long double discounted(long double value, long double discount) {
    return Kerekit(0, value - value * discount / 100.0L);
}

const QDate kCashRoundingFrom(2008, 2, 29);

}  // namespace

DocumentTotals computeTotals(RecordCursor& lines, double discountPercent, bool cashRounding) {
    long double net = 0, vat = 0, gross = 0;
    const long double d = discountPercent;
    if (!lines.isEmpty()) {
        const CursorMark mark = lines.bookmark();
        const int netField = lines.fieldNumber(L::NETTOAR), vatField = lines.fieldNumber(L::AFAFT),
                  grossField = lines.fieldNumber(L::OSSZESEN);
        for (lines.first(); !lines.eof(); lines.next()) {
            net += discounted(lines.asFloat(netField), d);
            vat += discounted(lines.asFloat(vatField), d);
            gross += discounted(lines.asFloat(grossField), d);
        }
        lines.gotoBookmark(mark);
    }
    // The sums are of fillér amounts: taken back to fillér first, so that a sum ending in 50
    // fillér is not rounded down by the binary remainder of adding them up.
    net = roundTo(2, net);
    vat = roundTo(2, vat);
    gross = roundTo(2, gross);
    DocumentTotals totals;
    totals.net = KerekitRound(net);
    totals.vat = KerekitRound(vat);
    totals.payable = cashRounding ? cashRound(gross) : KerekitRound(gross);
    return totals;
}

bool invoiceCashRounding(const QDate& issued, const QString& paymentMethod, EditorMode mode) {
    if (!issued.isValid() || issued <= kCashRoundingFrom) return false;
    return paymentMethod == QStringLiteral("Készpénz") || mode == EditorMode::CashSale;
}

DocumentTotals recalculateTotals(RecordCursor& header, RecordCursor& lines, bool cashRounding) {
    const DocumentTotals totals = computeTotals(lines, double(header.asInteger(H::KEDVEZMENY)), cashRounding);
    RecordEdit change = RecordEdit::edit(header);
    header.setFloat(H::AFAALAP, double(totals.net));
    header.setFloat(H::AFAFT, double(totals.vat));
    header.setFloat(H::FIZETENDO, double(totals.payable));
    change.post();
    return totals;
}

double changeDue(double handedOver, int64_t payable) {
    // Nothing handed over (a transfer invoice, a sale not yet paid) leaves no change to give: the
    // whole payable shown as a negative change would read as money owed back.
    if (handedOver == 0) return 0;
    return handedOver - double(payable);
}

}  // namespace kavina::invoicing
