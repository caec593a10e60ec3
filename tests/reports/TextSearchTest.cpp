// The invoice search by text: where it looks, what it copies, and its printed result.

#include <gtest/gtest.h>

#include "StatisticsFolder.h"
#include "reports/search/SearchReport.h"
#include "reports/search/TextSearch.h"

namespace kavina::reports {
namespace {

namespace T1 = fields::Tmp1;
namespace T2 = fields::Tmp2;

class TextSearchTest : public StatisticsFolder {
protected:
    TextSearchResult result;

    QStringList search(const QString& text, SearchPlaces places) {
        searchInvoices(folder(), {kSaleDay, kSaleDay, text, places}, result);
        QStringList names;
        MemTable& hits = result.hits();
        for (hits.first(); !hits.eof(); hits.next()) names << hits.asString(T1::NEV).trimmed();
        return names;
    }
};

const SearchPlaces kCustomer{.customer = true};
const SearchPlaces kLineNames{.lineNames = true};

TEST_F(TextSearchTest, CaseIsIgnoredForEveryHungarianLetter) {
    EXPECT_TRUE(containsIgnoringCase(QStringLiteral("ŐRÜLT ŰRHAJÓ ÁÉÍÓÖÚÜ"), QStringLiteral("őrült űrhajó áéíóöúü")));
    EXPECT_TRUE(containsIgnoringCase(QStringLiteral("tűzőgép"), QStringLiteral("TŰZŐ")));
    EXPECT_FALSE(containsIgnoringCase(QStringLiteral("tuzo"), QStringLiteral("TŰZŐ")));

    store({.lines = {{"Áru"}}, .name = QStringLiteral("KŐFARAGÓ ŰRHAJÓ KFT.")});
    store({.lines = {{"Áru"}}, .name = QStringLiteral("Kofarago")});
    EXPECT_EQ(search(QStringLiteral("kőfaragó űr"), kCustomer), QStringList({"KŐFARAGÓ ŰRHAJÓ KFT."}));
    // The address is part of the customer's data.
    EXPECT_EQ(search(QStringLiteral("7621 pécs"), kCustomer).size(), 2);
}

TEST_F(TextSearchTest, EachPlaceIsSearchedOnlyWhenTicked) {
    store({.lines = {{"Kalapács"}, {"Vízmérték", 1, 1000, 27, false, "", "kék színű"}},
           .name = QStringLiteral("Első"),
           .comment = QStringLiteral("Sürgős szállítás")});
    store({.lines = {{"Fogó"}}, .name = QStringLiteral("Második")});
    EXPECT_EQ(search(QStringLiteral("vízmérték"), kLineNames), QStringList({"Első"}));
    EXPECT_TRUE(search(QStringLiteral("vízmérték"), kCustomer).isEmpty());
    EXPECT_EQ(search(QStringLiteral("SÜRGŐS"), {.comment = true}), QStringList({"Első"}));
    EXPECT_TRUE(
        search(QStringLiteral("sürgős"), {.customer = true, .lineNames = true, .lineComments = true}).isEmpty());
    EXPECT_EQ(search(QStringLiteral("KÉK"), {.lineComments = true}), QStringList({"Első"}));
    EXPECT_TRUE(search(QStringLiteral("kék"), kLineNames).isEmpty());
    EXPECT_TRUE(search(QStringLiteral("Első"), {}).isEmpty());
    EXPECT_TRUE(search(QString(), {true, true, true, true}).isEmpty());
}

TEST_F(TextSearchTest, OnlyInvoicesOfThePeriodAreSearched) {
    store({.lines = {{"Csavar"}}, .name = QStringLiteral("Számla")});
    store({.mode = SalesMode::CashSale, .lines = {{"Csavar"}}, .name = QStringLiteral("Pénztár")});
    store({.mode = SalesMode::Corrective, .lines = {{"Csavar"}}, .name = QStringLiteral("Helyesbítő")});
    store({.mode = SalesMode::Proforma, .lines = {{"Csavar"}}, .name = QStringLiteral("Proforma")});
    const QString cancelled = store({.lines = {{"Csavar"}}, .name = QStringLiteral("Stornózott")});
    setHeader(cancelled, fields::Szamla::SZAMLATIP, QStringLiteral("S"));
    store({.day = kSaleDay.addDays(1), .lines = {{"Csavar"}}, .name = QStringLiteral("Holnapi")});
    EXPECT_EQ(search(QStringLiteral("csavar"), kLineNames), QStringList({"Számla"}));
    // Empty ends: from 1900 to 2100.
    EXPECT_EQ(searchInvoices(folder(), {std::nullopt, std::nullopt, QStringLiteral("csavar"), kLineNames}, result), 2);
}

TEST_F(TextSearchTest, HitsAreCopiedWithTheirLinesInDocumentNumberOrder) {
    const QString second = store({.lines = {{"Fűrész", 2, 1500.5, 27, false, "F1", "acél"}, {"Fűrészlap", 3, 200}},
                                  .name = QStringLiteral("Ács Bt."),
                                  .comment = QStringLiteral("Első megrendelés")});
    store({.lines = {{"Kalapács"}}});
    const QString third = store({.lines = {{"Fűrész", 1, 1500}}});
    ASSERT_EQ(searchInvoices(folder(), {kSaleDay, kSaleDay, QStringLiteral("fűrész"), kLineNames}, result), 2);
    MemTable& hits = result.hits();
    hits.first();
    EXPECT_EQ(hits.asString(T1::SZAMLASZAM).trimmed(), second);
    EXPECT_EQ(hits.asString(T1::NEV).trimmed(), QStringLiteral("Ács Bt."));
    EXPECT_EQ(hits.asString(T1::CIM).trimmed(), QStringLiteral("7621 Pécs Fő utca 1."));
    EXPECT_EQ(hits.asString(T1::MEGJEGYZES), QStringLiteral("Első megrendelés"));
    EXPECT_EQ(hits.asInteger(T1::FIZETENDO), 4573);  // (3001 + 600) × 1.27 = 4573.27
    hits.next();
    EXPECT_EQ(hits.asString(T1::SZAMLASZAM).trimmed(), third);
    MemTable& lines = result.lines();
    QStringList copied;
    for (lines.first(); !lines.eof(); lines.next())
        copied << lines.asString(T2::SZAMLASZAM).trimmed() + "|" + lines.asString(T2::MEGNEVEZES).trimmed() + "|" +
                      lines.asString(T2::MEGJEGYZES).trimmed() + "|" + lines.asString(T2::ITJSZAM).trimmed();
    EXPECT_EQ(copied,
              QStringList({second + "|Fűrész|acél|SZJ-F1", second + "|Fűrészlap||SZJ-", third + "|Fűrész||SZJ-"}));
}

TEST_F(TextSearchTest, EmptyOrOldEndsOpenThePeriod) {
    EXPECT_EQ(searchPeriod(QDate(1899, 12, 31), std::nullopt), std::make_pair(QDate(1900, 1, 1), QDate(2100, 1, 1)));
    EXPECT_EQ(searchPeriod(kSaleDay, QDate(1800, 1, 1)), std::make_pair(kSaleDay, QDate(2100, 1, 1)));
}

TEST_F(TextSearchTest, PrintedResultHasABlockPerHitWithItsLines) {
    const QString first =
        store({.lines = {{"Fűrész", 2, 1500, 27, false, "F1", "acél"}}, .name = QStringLiteral("Ács")});
    const QString second = store({.lines = {}, .name = QStringLiteral("Fűrész Kft.")});
    const TextSearchRequest request{kSaleDay, std::nullopt, QStringLiteral("fűrész"), {true, false, true, false}};
    ASSERT_EQ(searchInvoices(folder(), request, result), 2);
    SearchReport report(result, request, QStringLiteral("Kovács Anna"));
    const report::PreparedReport pages = report.layout().prepare();
    QStringList texts;
    for (int page = 0; page < pages.pageCount(); ++page) texts += pages.texts(page);
    EXPECT_TRUE(texts.contains(QStringLiteral("Időszak: 2008.03.10-tól ")));
    EXPECT_TRUE(texts.contains(QStringLiteral("fűrész")));
    EXPECT_EQ(pages.bands(0, "Hit").size(), 2u);
    EXPECT_EQ(pages.bands(0, "Detail").size(), 1u);  // the hit without lines prints no line
    EXPECT_TRUE(texts.contains(first));
    EXPECT_TRUE(texts.contains(second));
    EXPECT_TRUE(texts.contains(QStringLiteral("acél")));
    EXPECT_TRUE(texts.contains(QStringLiteral("1500Ft")));
    EXPECT_TRUE(texts.contains(QStringLiteral("2 db")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Kiállította: Kovács Anna")));
}

}  // namespace
}  // namespace kavina::reports
