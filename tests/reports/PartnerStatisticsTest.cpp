// The partner statistics: customers by turnover, one partner's invoices and products, one
// supplier's received goods, with their printed reports.

#include <gtest/gtest.h>

#include <random>

#include "StatisticsFolder.h"
#include "common/ScriptedPrompt.h"
#include "documents/sales/Cancellation.h"
#include "foundation/SzamSzov.h"
#include "reports/partners/PartnerReports.h"
#include "reports/partners/PartnerStatistics.h"

namespace kavina::reports {
namespace {

namespace C = customerlist;

class PartnerStatisticsTest : public StatisticsFolder {
protected:
    MemTable rows;
    const ChosenPartner partner{true,
                                7,
                                QStringLiteral("Kőfaragó Bt."),
                                QStringLiteral("Műhely"),
                                QStringLiteral("7621"),
                                QStringLiteral("Pécs"),
                                QStringLiteral("Űrhajó u. 2.")};

    QStringList rowTexts(const std::vector<Field>& fieldList) {
        QStringList out;
        for (rows.first(); !rows.eof(); rows.next()) {
            QStringList parts;
            for (const Field& f : fieldList) parts << rows.asString(f).trimmed();
            out << parts.join(QLatin1Char('|'));
        }
        return out;
    }
    static QStringList texts(report::Layout& layout) {
        const report::PreparedReport pages = layout.prepare();
        QStringList all;
        for (int page = 0; page < pages.pageCount(); ++page) all += pages.texts(page);
        return all;
    }
};

TEST_F(PartnerStatisticsTest, CustomersCountInvoicesAndCorrectiveInvoicesOnlyByNameAndAddress) {
    store({.lines = {{"Áru", 1, 1000}}});
    store({.lines = {{"Áru", 1, 300}}, .town = QStringLiteral("Győr")});  // same name, other address
    store({.mode = SalesMode::Corrective, .lines = {{"Áru", 1, 200}}});
    store({.mode = SalesMode::Proforma, .lines = {{"Áru", 1, 5000}}});
    store({.mode = SalesMode::CashSale, .lines = {{"Áru", 1, 5000}}});
    appendDocument(QStringLiteral("AELO2008/00001"), QStringLiteral("A"), {.lines = {{"Áru", 1, 5000}}});
    appendDocument(QStringLiteral("FELO2008/00001"), QStringLiteral("F"), {.lines = {{"Áru", 1, 5000}}});
    const QString cancelled = store({.lines = {{"Áru", 1, 5000}}});
    setHeader(cancelled, fields::Szamla::SZAMLATIP, QStringLiteral("S"));

    collectCustomers(folder(), kSaleDay, kSaleDay, 0, rows);
    EXPECT_EQ(rowTexts({C::NEV, C::CIM, C::FORGALOM}),
              QStringList({"Mérleg Kft.|Pécs Fő utca 1.|1200", "Mérleg Kft.|Győr Fő utca 1.|300"}));
}

TEST_F(PartnerStatisticsTest, CustomersRangeKeepsTheLargestAndAnOldToDateLiftsTheUpperLimit) {
    for (int i = 1; i <= 7; ++i)
        store({.day = kSaleDay.addDays(i), .lines = {{"Áru", 1, 100.0 * i}}, .name = QStringLiteral("Vevő %1").arg(i)});
    collectCustomers(folder(), kSaleDay, kSaleDay.addDays(3), 0, rows);
    EXPECT_EQ(rows.recordCount(), 3u);
    collectCustomers(folder(), kSaleDay, QDate(1979, 12, 31), 5, rows);
    EXPECT_EQ(rowTexts({C::NEV, C::FORGALOM}),
              QStringList({"Vevő 7|700", "Vevő 6|600", "Vevő 5|500", "Vevő 4|400", "Vevő 3|300"}));
    auto layout = customersReport(rows, kSaleDay, QDate(1979, 12, 31), QStringLiteral("Kovács Anna"));
    const QStringList printed = texts(*layout);
    EXPECT_TRUE(printed.contains(QStringLiteral("Partnerek forgalom szerint")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Forgalom [Ft]")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Kiállította: Kovács Anna")));
}

TEST_F(PartnerStatisticsTest, NoChosenPartnerWarnsAndCollectsNothing) {
    ScriptedPrompt prompt;
    EXPECT_FALSE(partnerChosen(ChosenPartner{}, prompt));
    EXPECT_EQ(prompt.transcript(), QStringList({"message|warning|Figyelem!|Válasszon partnert!"}));
    EXPECT_TRUE(partnerChosen(partner, prompt));
    EXPECT_EQ(prompt.entries().size(), 1u);
}

TEST_F(PartnerStatisticsTest, PartnerInvoicesAreTheInvoicesOfItsCodeOldestFirst) {
    const QString later = store({.day = kSaleDay.addDays(2), .lines = {{"Áru", 1, 1500}}, .partner = 7});
    const QString paid = store({.lines = {{"Áru", 2, 1000.4}}, .partner = 7, .payment = QStringLiteral("Készpénz")});
    store({.lines = {{"Áru", 1, 900}}, .partner = 8});
    store({.mode = SalesMode::Corrective, .lines = {{"Áru", 1, 900}}, .partner = 7});
    store({.day = kSaleDay.addDays(3), .lines = {{"Áru", 1, 900}}, .partner = 7});

    const int64_t total = collectPartnerInvoices(folder(), 7, kSaleDay, kSaleDay.addDays(2), rows);
    namespace I = invoicelist;
    EXPECT_EQ(rowTexts({I::szamlaszam, I::netto}), QStringList({paid + "|2001", later + "|1500"}));
    EXPECT_EQ(total, 3501);

    auto layout = partnerInvoicesReport(rows, total, partner, kSaleDay, kSaleDay.addDays(2), QStringLiteral("K"));
    const QStringList printed = texts(*layout);
    EXPECT_EQ(printed.count(QStringLiteral("nincs!")), 1);
    EXPECT_TRUE(printed.contains(QStringLiteral("Kőfaragó Bt. Műhely")));
    EXPECT_TRUE(printed.contains(QStringLiteral("7621 Pécs Űrhajó u. 2.")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Nettó érték összesen: 3 501 Ft")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Időszak: 2008.03.10-2008.03.12")));
}

TEST_F(PartnerStatisticsTest, PartnerProductsAddTheQuantitiesOfOneNameKeepingTheFirstPrice) {
    store({.lines = {{"Tégla", 2, 100}, {"Cement", 1, 3000}}, .partner = 7});
    store({.lines = {{"Tégla", 3, 120}, {"tégla", 1, 90}}, .partner = 7});
    collectPartnerProducts(folder(), 7, kSaleDay, kSaleDay, rows);
    namespace R = partnerproducts;
    // Names are compared exactly: another spelling is another row.
    QStringList listed = rowTexts({R::termek, R::forgalom, R::egysegar});
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed.first(), QStringLiteral("Cement|1|3000"));
    listed.sort();
    EXPECT_EQ(listed, QStringList({"Cement|1|3000", "Tégla|5|100", "tégla|1|90"}));
    auto layout = partnerProductsReport(rows, partner, kSaleDay, kSaleDay, QStringLiteral("K"));
    EXPECT_TRUE(texts(*layout).contains(QStringLiteral("Termékek/szolgáltatások")));
}

TEST_F(PartnerStatisticsTest, SupplierGoodsSumTheReceiptsOfItsCode) {
    appendDocument(
        QStringLiteral("BSZ2008/00001"), QStringLiteral("3"),
        {.lines = {{"Tégla", 10, 50, 27, false, "T1"}, {"Cement", 2, 1500.5, 27, false, "C1"}}, .partner = 7});
    appendDocument(QStringLiteral("BSZ2008/00002"), QStringLiteral("3"),
                   {.lines = {{"Tégla", 5, 60, 27, false, "T1"}}, .partner = 7});
    appendDocument(QStringLiteral("BSZ2008/00003"), QStringLiteral("3"),
                   {.lines = {{"Tégla", 99, 60, 27, false, "T1"}}, .partner = 8});
    store({.lines = {{"Tégla", 99, 60}}, .partner = 7});
    const double total = collectSupplierGoods(folder(), 7, kSaleDay, kSaleDay, rows);
    namespace R = suppliergoods;
    EXPECT_EQ(rowTexts({R::cikkszam, R::termek, R::mennyiseg, R::netto}),
              QStringList({"C1|Cement|2|3001", "T1|Tégla|15|800"}));
    EXPECT_DOUBLE_EQ(total, 3801);
    auto layout = supplierGoodsReport(rows, total, partner, kSaleDay, kSaleDay, QStringLiteral("K"));
    const QStringList printed = texts(*layout);
    EXPECT_TRUE(printed.contains(QStringLiteral("Beszálító nettó forgalma")));
    EXPECT_TRUE(printed.contains(moneyText(3801))) << printed.join(QLatin1Char('/')).toStdString();
}

TEST_F(PartnerStatisticsTest, CustomerTurnoverEqualsTheStoredNetTotals) {
    std::mt19937 random(4242);
    const QString names[] = {"Alfa Kft.", "Béta Bt.", "Gamma Zrt.", "Delta"};
    for (int d = 0; d < 30; ++d) {
        Sale sale{.mode = d % 4 == 0   ? SalesMode::Corrective
                          : d % 5 == 0 ? SalesMode::Proforma
                                       : SalesMode::Invoice,
                  .day = kSaleDay.addDays(int(random() % 10))};
        sale.name = names[random() % 4];
        for (int i = 0; i <= int(random() % 3); ++i)
            sale.lines.push_back({QStringLiteral("Áru"), double(1 + random() % 5), double(random() % 50000) / 10});
        store(sale);
    }
    QHash<QString, int64_t> expected;
    namespace H = fields::Szamla;
    TableHandle headers(folder(), std::string(H::kTable));
    headers.open();
    for (headers.first(); !headers.eof(); headers.next()) {
        const QString type = headers.asString(H::SZAMLATIP).trimmed();
        if ((type == "B" || type == "J") && headers.asDate(H::KIALLIT) >= kSaleDay.addDays(2))
            expected[headers.asString(H::NEV).trimmed()] += floatToInteger(headers.asFloat(H::AFAALAP));
    }
    collectCustomers(folder(), kSaleDay.addDays(2), QDate(1970, 1, 1), 0, rows);
    QHash<QString, int64_t> listed;
    for (rows.first(); !rows.eof(); rows.next()) listed[rows.asString(C::NEV).trimmed()] = rows.asInteger(C::FORGALOM);
    EXPECT_EQ(listed, expected);
}

}  // namespace
}  // namespace kavina::reports
