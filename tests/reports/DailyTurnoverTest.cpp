// The daily turnover by payment code and per article number.

#include <gtest/gtest.h>

#include "SalesReportsFolder.h"
#include "reports/turnover/DailyTurnover.h"

namespace kavina::reports {
namespace {

class DailyTurnoverTest : public SalesReportsFolder {
protected:
    MemTable documents, vat;

    struct VatRow {
        QString code;
        double rate, net, vat, gross;
        bool operator==(const VatRow&) const = default;
    };
    std::vector<VatRow> vatRows() {
        std::vector<VatRow> rows;
        for (vat.first(); !vat.eof(); vat.next())
            rows.push_back({vat.asString(dayvat::fizmod), vat.asFloat(dayvat::afa), vat.asFloat(dayvat::netto),
                            vat.asFloat(dayvat::osszeg), vat.asFloat(dayvat::brutto)});
        return rows;
    }
    std::vector<QString> documentCodes() {
        std::vector<QString> codes;
        for (documents.first(); !documents.eof(); documents.next())
            codes.push_back(documents.asString(daydocs::fizmod) + QLatin1Char(' ') +
                            documents.asString(daydocs::bizonylat));
        return codes;
    }
};

TEST_F(DailyTurnoverTest, TransferAndCashInvoicesMakeTheirGroupsBreakdownAndTotals) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900, 25}});
    store(SalesMode::Invoice, kDay, kCash, {{"A2", 1, 1000, 900, 25}});
    store(SalesMode::Invoice, kDay.addDays(1), kCash, {{"A2", 1, 1000, 900, 25}});
    store(SalesMode::Proforma, kDay, kCash, {{"A2", 1, 1000, 900, 25}});

    const DailyTurnoverTotals t = collectDailyTurnover(folder(), kDay, documents, vat);
    EXPECT_EQ(t.transfer, 12500);
    EXPECT_EQ(t.cash, 1250);
    EXPECT_EQ(t.cashRegister, 0);
    EXPECT_EQ(t.cashTurnover(), 1250);
    EXPECT_EQ(vatRows(), (std::vector<VatRow>{{"01", 25, 10000, 2500, 12500}, {"02", 25, 1000, 250, 1250}}));
    ASSERT_EQ(documents.recordCount(), 2u);
    documents.first();
    EXPECT_EQ(documents.asString(daydocs::vevo), QStringLiteral("Mérleg Kft."));
    EXPECT_DOUBLE_EQ(documents.asFloat(daydocs::osszeg), 12500);
    EXPECT_EQ(paymentGroupName(kTransferCode), QStringLiteral("Átutalásos számlák"));
    EXPECT_EQ(paymentGroupName(kCashCode), QStringLiteral("Készpénzes számlák"));
    EXPECT_EQ(paymentGroupName(kCashRegisterCode), QStringLiteral("Pénztárgépes értékesítések"));
    EXPECT_EQ(paymentGroupName({}), QString());
}

// The lines keep their values before the document's discount; the breakdown shows what the
// invoice's own VAT summary shows, after it.
TEST_F(DailyTurnoverTest, TheVatBreakdownOfADiscountedInvoiceIsAfterItsDiscount) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 3, 1000, 900, 27}, {"A2", 2, 500, 400, 5}}, 10);
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 1, 1000, 900, 27}});

    const DailyTurnoverTotals t = collectDailyTurnover(folder(), kDay, documents, vat);
    EXPECT_EQ(t.transfer, 3429 + 945 + 1270);
    EXPECT_EQ(vatRows(),
              (std::vector<VatRow>{{"01", 5, 900, 45, 945}, {"01", 27, 2700 + 1000, 729 + 270, 3429 + 1270}}));
}

TEST_F(DailyTurnoverTest, OtherPaymentsGetAnEmptyCodeAndEveryRateIsBrokenDown) {
    store(SalesMode::CashSale, kDay, kCash, {{"A1", 1, 100, 50, 27}});
    // Five rates on one cash invoice: none of them may drop out of the breakdown.
    store(SalesMode::Invoice, kDay, kCash,
          {{"A1", 1, 100, 50, 27},
           {"A2", 1, 100, 50, 18},
           {"A3", 1, 100, 50, 5},
           {"A4", 1, 100, 50, 0},
           {"A5", 1, 100, 50, 12}});
    store(SalesMode::Invoice, kDay, kOther, {{"A1", 1, 100, 50, 27}});
    store(SalesMode::Invoice, kDay, kCash, {{"A1", 2, 100, 50, 27}});

    const DailyTurnoverTotals t = collectDailyTurnover(folder(), kDay, documents, vat);
    EXPECT_EQ(t.cash, 127 + 118 + 105 + 100 + 112 + 254);
    EXPECT_EQ(t.cashRegister, 127);
    EXPECT_EQ(t.transfer, 0);
    // Grouped by code, the document numbers ascending within a code.
    const std::vector<QString> codes = documentCodes();
    ASSERT_EQ(codes.size(), 4u);
    EXPECT_TRUE(codes[0].startsWith(QStringLiteral(" "))) << codes[0].toStdString();
    EXPECT_TRUE(codes[1].startsWith(QStringLiteral("02 "))) << codes[1].toStdString();
    EXPECT_TRUE(codes[2].startsWith(QStringLiteral("02 "))) << codes[2].toStdString();
    EXPECT_LT(codes[1], codes[2]);
    EXPECT_TRUE(codes[3].startsWith(QStringLiteral("03 "))) << codes[3].toStdString();
    EXPECT_EQ(vatRows(), (std::vector<VatRow>{{"", 27, 100, 27, 127},
                                              {"02", 0, 100, 0, 100},
                                              {"02", 5, 100, 5, 105},
                                              {"02", 12, 100, 12, 112},
                                              {"02", 18, 100, 18, 118},
                                              {"02", 27, 300, 81, 381},
                                              {"03", 27, 100, 27, 127}}));
}

TEST_F(DailyTurnoverTest, AnEmptyDayGivesEmptyListsAndZeroTotals) {
    store(SalesMode::Invoice, kDay, kCash, {{"A1", 1, 100, 50}});
    const DailyTurnoverTotals t = collectDailyTurnover(folder(), kDay.addDays(1), documents, vat);
    EXPECT_EQ(documents.recordCount(), 0u);
    EXPECT_EQ(vat.recordCount(), 0u);
    EXPECT_EQ(t.transfer + t.cash + t.cashRegister, 0);
}

TEST_F(DailyTurnoverTest, ArticlesSumInvoicesCashSalesAndDeliveryNotesByWholeArticleNumber) {
    store(SalesMode::Invoice, kDay, kCash, {{"b2", 2, 1000, 900}, {"A1", 1, 100, 50}});
    store(SalesMode::CashSale, kDay, kCash, {{"b2", 1, 1000, 900}, {"A10", 1, 100, 50}});
    store(SalesMode::Proforma, kDay, kCash, {{"A1", 5, 100, 50}});
    {
        // A delivery note of the same day, as the delivery-note register stores it.
        TableHandle headers(dir.path(), std::string(H::kTable));
        headers.open();
        headers.append();
        headers.setString(H::SZAMLASZAM, QStringLiteral("SZL-2008-1"));
        headers.setString(H::SZAMLATIP, QStringLiteral("F"));
        headers.setDate(H::KIALLIT, kDay);
        headers.post();
        TableHandle lines(dir.path(), std::string(L::kTable));
        lines.open();
        lines.append();
        lines.setString(L::SZAMLASZAM, QStringLiteral("SZL-2008-1"));
        lines.setString(L::cikkszam, QStringLiteral("A1"));
        lines.setString(L::MEGNEVEZES, QStringLiteral("Csavar"));
        lines.setFloat(L::MENNYISEG, 3);
        lines.setFloat(L::begysegar, 127);
        lines.post();
    }

    MemTable articles;
    const double sum = collectDailyArticles(folder(), kDay, articles);
    namespace A = dayarticles;
    ASSERT_EQ(articles.recordCount(), 3u);
    articles.first();
    EXPECT_EQ(articles.asString(A::cikkszam), QStringLiteral("A1"));
    EXPECT_DOUBLE_EQ(articles.asFloat(A::mennyiseg), 4);
    EXPECT_DOUBLE_EQ(articles.asFloat(A::bruttoar), 4 * 127);
    EXPECT_EQ(articles.asString(A::megnevezes), QStringLiteral("Csavar"));  // the last line's name
    articles.next();
    EXPECT_EQ(articles.asString(A::cikkszam), QStringLiteral("A10"));
    articles.next();
    EXPECT_EQ(articles.asString(A::cikkszam), QStringLiteral("b2"));
    EXPECT_DOUBLE_EQ(articles.asFloat(A::mennyiseg), 3);
    EXPECT_DOUBLE_EQ(articles.asFloat(A::bruttoar), 3 * 1270);
    EXPECT_DOUBLE_EQ(sum, 4 * 127 + 127 + 3 * 1270);
}

}  // namespace
}  // namespace kavina::reports
