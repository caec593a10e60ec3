// The document totals: the discount per line, the sums in whole forints and the cash rounding
// of the invoice editor, checked on the typical documents and on a thousand random ones against
// a computation of its own.

#include "invoicing/editor/DocumentTotals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "foundation/CatalogueFields.h"
#include "invoicing/document/MemoryDocument.h"

namespace kavina::invoicing {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

const QString kCash = QStringLiteral("Készpénz");
const QString kTransfer = QStringLiteral("Átutalás");

// Halves away from zero at the given decimals, by the C library's own rounding.
long double roundAway(long double x, int decimals) {
    const long double scale = std::pow(10.0L, decimals);
    return std::llroundl(x * scale) / scale;
}

struct Line {
    double quantity, net, rate;
};

// A line as the line dialog leaves it: the gross unit price from the net and the rate, the
// line values from the quantity, each to 4 decimals, the VAT their difference.
void appendLine(MemoryDocument& doc, const Line& l) {
    const long double gross = roundAway(l.net + roundAway(l.net * l.rate / 100.0L, 4), 4);
    const long double netValue = roundAway(l.quantity * (long double)l.net, 4);
    const long double grossValue = roundAway(l.quantity * gross, 4);
    doc.mszamla2.append();
    doc.mszamla2.setFloat(L::MENNYISEG, l.quantity);
    doc.mszamla2.setFloat(L::EGYSEGAR, l.net);
    doc.mszamla2.setFloat(L::begysegar, double(gross));
    doc.mszamla2.setFloat(L::AFA, l.rate);
    doc.mszamla2.setFloat(L::NETTOAR, double(netValue));
    doc.mszamla2.setFloat(L::OSSZESEN, double(grossValue));
    doc.mszamla2.setFloat(L::AFAFT, double(grossValue) - double(netValue));
    doc.mszamla2.post();
}

void startHeader(MemoryDocument& doc, int discount) {
    doc.empty();
    doc.mszamla.append();
    doc.mszamla.setInteger(H::KEDVEZMENY, discount);
    doc.mszamla.post();
}

// 0 or 5 at the end: 1 and 2 down, 3 and 4 up to 5, 6 and 7 down to 5, 8 and 9 up; a
// negative amount mirrored.
int64_t toFiveForints(int64_t whole) {
    const int64_t magnitude = whole < 0 ? -whole : whole;
    const int64_t base = magnitude - magnitude % 10;
    int64_t rounded = 0;
    switch (magnitude % 10) {
        case 0:
        case 1:
        case 2: rounded = base; break;
        case 3:
        case 4:
        case 5:
        case 6:
        case 7: rounded = base + 5; break;
        default: rounded = base + 10; break;
    }
    return whole < 0 ? -rounded : rounded;
}

TEST(DocumentTotalsTest, CashAfterFebruary2008PaysToFiveForintsTransferToWholeForints) {
    MemoryDocument doc;
    startHeader(doc, 0);
    appendLine(doc, {1, 789.362, 27});  // gross 1 002.48974 -> 1 002.4897
    appendLine(doc, {1, 0.0003, 0});    // brings the gross to 1 002.49
    const QDate march3(2008, 3, 3);
    ASSERT_TRUE(invoiceCashRounding(march3, kCash, EditorMode::Invoice));
    EXPECT_EQ(recalculateTotals(doc.mszamla, doc.mszamla2, true).payable, 1000);
    EXPECT_EQ(doc.mszamla.asFloat(H::FIZETENDO), 1000);
    EXPECT_FALSE(invoiceCashRounding(march3, kTransfer, EditorMode::Invoice));
    EXPECT_EQ(recalculateTotals(doc.mszamla, doc.mszamla2, false).payable, 1002);
    // The VAT base and the VAT stay whole forints of their own sums, even on a cash document.
    EXPECT_EQ(doc.mszamla.asFloat(H::AFAALAP), 789);
    EXPECT_EQ(doc.mszamla.asFloat(H::AFAFT), 213);
}

TEST(DocumentTotalsTest, CashRoundingStartsAfterLeapDayAndCashSalesRoundWhateverThePayment) {
    EXPECT_FALSE(invoiceCashRounding(QDate(2008, 2, 29), kCash, EditorMode::Invoice));
    EXPECT_TRUE(invoiceCashRounding(QDate(2008, 3, 1), kCash, EditorMode::Proforma));
    EXPECT_TRUE(invoiceCashRounding(QDate(2008, 3, 1), kTransfer, EditorMode::CashSale));
    EXPECT_FALSE(invoiceCashRounding(QDate(2008, 3, 1), QStringLiteral("Utánvét"), EditorMode::Invoice));
    EXPECT_FALSE(invoiceCashRounding(QDate(), kCash, EditorMode::CashSale));
}

TEST(DocumentTotalsTest, DiscountIsTakenOffEachLineToFillerBeforeSumming) {
    MemoryDocument doc;
    startHeader(doc, 10);
    appendLine(doc, {1, 333.33, 0});  // 10 % off: 299.997 -> 300.00
    appendLine(doc, {1, 333.33, 0});
    appendLine(doc, {1, 0.05, 0});  // 0.045 -> 0.05 (half away from zero)
    const DocumentTotals totals = recalculateTotals(doc.mszamla, doc.mszamla2, false);
    EXPECT_EQ(totals.net, 600);  // 600.05
    EXPECT_EQ(totals.payable, 600);
    // The line values themselves keep their undiscounted amounts.
    doc.mszamla2.first();
    EXPECT_DOUBLE_EQ(doc.mszamla2.asFloat(L::NETTOAR), 333.33);
}

TEST(DocumentTotalsTest, NegativeCorrectiveSumsMirrorTheCashRuleAndEmptyDocumentsAreZero) {
    MemoryDocument doc;
    startHeader(doc, 0);
    EXPECT_EQ(recalculateTotals(doc.mszamla, doc.mszamla2, true).payable, 0);
    appendLine(doc, {-3, 334.1, 0});  // -1 002.3
    EXPECT_EQ(recalculateTotals(doc.mszamla, doc.mszamla2, true).payable, -1000);
    appendLine(doc, {-1, 1.2, 0});  // -1 003.5 -> -1 004 -> -1 005
    EXPECT_EQ(recalculateTotals(doc.mszamla, doc.mszamla2, true).payable, -1005);
    EXPECT_EQ(changeDue(-1000, -1005), 5);
    EXPECT_EQ(changeDue(1000, 1005), -5);
}

TEST(DocumentTotalsTest, NoChangeIsDueWhenNothingWasHandedOver) {
    EXPECT_EQ(changeDue(0, 15034), 0);
    EXPECT_EQ(changeDue(0, -1005), 0);
    EXPECT_EQ(changeDue(20000, 15034), 4966);
}

// Random documents around the day cash rounding began, every rate in use, discounts up to 30 %.
TEST(DocumentTotalsTest, ThousandRandomDocumentsMatchTheirSumsWorkedOutLineByLine) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    const double rates[] = {0, 5, 18, 25, 27};
    const EditorMode modes[] = {EditorMode::Invoice, EditorMode::CashSale, EditorMode::Scrap, EditorMode::Corrective,
                                EditorMode::Proforma};
    MemoryDocument doc;
    for (int n = 0; n < 1000; ++n) {
        const int discount = std::uniform_int_distribution<int>(0, 30)(random);
        const QDate issued = QDate(2008, 2, 20).addDays(std::uniform_int_distribution<int>(0, 20)(random));
        const QString payment = random() % 2 ? kCash : kTransfer;
        const EditorMode mode = modes[random() % 5];
        const bool negative = mode == EditorMode::Corrective && random() % 2;
        startHeader(doc, discount);
        long double net = 0, vat = 0, gross = 0;
        const int count = std::uniform_int_distribution<int>(0, 12)(random);
        for (int i = 0; i < count; ++i) {
            Line l;
            l.quantity = std::uniform_int_distribution<int>(1, 200000)(random) / 1000.0 * (negative ? -1 : 1);
            l.net = std::uniform_int_distribution<int>(0, 5000000)(random) / 100.0;
            l.rate = rates[random() % 5];
            appendLine(doc, l);
            doc.mszamla2.last();
            for (auto [field, sum] : {std::pair{L::NETTOAR, &net}, {L::AFAFT, &vat}, {L::OSSZESEN, &gross}}) {
                const long double value = doc.mszamla2.asFloat(field);
                *sum += roundAway(value - value * discount / 100.0L, 2);
            }
        }
        const bool cash = issued.toString(QStringLiteral("yyyy.MM.dd")) > QStringLiteral("2008.02.29") &&
                          (payment == kCash || mode == EditorMode::CashSale);
        // Sums of fillér amounts are fillér amounts: 0.50 rounds up whatever the binary remainder.
        net = roundAway(net, 2);
        vat = roundAway(vat, 2);
        gross = roundAway(gross, 2);
        const int64_t payable = cash ? toFiveForints(std::llroundl(gross)) : std::llroundl(gross);
        recalculateTotals(doc.mszamla, doc.mszamla2, invoiceCashRounding(issued, payment, mode));
        ASSERT_EQ(doc.mszamla.asFloat(H::AFAALAP), double(std::llroundl(net))) << "document " << n;
        ASSERT_EQ(doc.mszamla.asFloat(H::AFAFT), double(std::llroundl(vat))) << "document " << n;
        ASSERT_EQ(doc.mszamla.asFloat(H::FIZETENDO), double(payable)) << "document " << n;
    }
}

}  // namespace
}  // namespace kavina::invoicing
