// Every turnover, profit and financial statistic over a generated year of documents against
// the same figures computed here, straight from the stored headers and lines: the reports'
// own formulas and roundings written out again with plain arithmetic, so that a statistic that
// skips a document, double counts one or rounds in the wrong place shows up.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "GeneratedFolder.h"
#include "foundation/MemTable.h"
#include "reports/finance/FinancialStatistics.h"
#include "reports/turnover/DailyTurnover.h"
#include "reports/turnover/ProfitStatistics.h"

namespace kavina::reports::year {
namespace {

const std::string kTransfer = "Átutalás";
const std::string kCash = "Készpénz";

// Half away from zero, to the decimals given.
double rounded(int decimals, long double x) {
    const long double scale = std::pow(10.0L, decimals);
    return double(std::round(x * scale) / scale);
}

// To the nearest forint, halves to the even one.
int64_t forints(double x) {
    return int64_t(std::nearbyint(x));
}

std::string codeOf(const StoredHeader& h) {
    if (h.type == "1") return "03";
    if (h.payment == kTransfer) return "01";
    if (h.payment == kCash) return "02";
    return "";
}

double lineProfit(const StoredHeader& h) {
    double sum = 0;
    for (const StoredLine& l : h.lines) sum += l.profit;
    return sum;
}

// A margin to the decimals given; none without a base.
double margin(double profit, double base, int decimals) {
    return base > 0 ? rounded(decimals, (long double)profit / base * 100) : 0;
}

std::string upper(const std::string& s) {
    return QString::fromStdString(s).toUpper().toStdString();
}

// Close enough for sums of the same values added in another order.
void expectSum(double actual, double expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-6 * std::max(1.0, std::fabs(expected))) << what;
}

class GeneratedYearTotalsTest : public GeneratedYear {
protected:
    // The headers of the day or period, of the types given, in document-number order.
    static std::vector<const StoredHeader*> selected(const QDate& from, const QDate& to, const std::string& types) {
        std::vector<const StoredHeader*> out;
        for (const StoredHeader& h : stored().headers)
            if (h.type.size() == 1 && types.find(h.type) != std::string::npos && h.issued >= from && h.issued <= to)
                out.push_back(&h);
        std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->number < b->number; });
        return out;
    }

    // Every day a sale or delivery note was issued, and a Sunday without any.
    static std::vector<QDate> days() {
        std::set<QDate> all;
        for (const StoredHeader& h : stored().headers)
            if (h.type == "B" || h.type == "1" || h.type == "F") all.insert(h.issued);
        all.insert(QDate(kYear, 1, 6));
        return {all.begin(), all.end()};
    }
};

TEST_F(GeneratedYearTotalsTest, TheYearHoldsEveryKindOfDocument) {
    std::map<std::string, int> kinds;
    for (const StoredHeader& h : stored().headers) ++kinds[h.type + (h.type == "B" ? h.payment : "")];
    for (const char* kind : {"BÁtutalás", "BKészpénz", "1", "2", "3", "4", "5", "A", "F", "J", "P", "S", "U"})
        EXPECT_GT(kinds[kind], 0) << kind;
    EXPECT_EQ(int(stored().headers.size()), summary().documents);
}

TEST_F(GeneratedYearTotalsTest, DailyTurnoverByPaymentCodeWithEveryVatRate) {
    int daysWithDocuments = 0;
    for (const QDate& d : days()) {
        const auto headers = selected(d, d, "B1");
        daysWithDocuments += !headers.empty();
        std::vector<std::tuple<std::string, std::string, std::string, double>> rows;  // code, number, name, amount
        std::map<std::pair<std::string, double>, std::array<double, 3>> vat;          // net, VAT, gross
        int64_t transfer = 0, cash = 0, cashRegister = 0;
        for (const StoredHeader* h : headers) {
            const std::string code = codeOf(*h);
            rows.emplace_back(code, h->number, h->name, h->payable);
            if (code == "01") transfer += forints(h->payable);
            if (code == "02") cash += forints(h->payable);
            if (code == "03") cashRegister += forints(h->payable);
            // The breakdown is after the document's discount, as the invoice's own VAT summary.
            const double share = 1 - h->discount / 100;
            for (const StoredLine& l : h->lines) {
                auto& row = vat[{code, l.rate}];
                row[0] += rounded(4, l.net * share);
                row[1] += rounded(4, l.vat * share);
                row[2] += rounded(4, l.gross * share);
            }
        }
        std::stable_sort(rows.begin(), rows.end(),
                         [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });

        MemTable documents{"napiforgalom2"}, vatRows{"napiforgalom2_afa"};
        const DailyTurnoverTotals totals = collectDailyTurnover(folder(), d, documents, vatRows);
        const std::string at = d.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(totals.transfer, transfer) << at;
        EXPECT_EQ(totals.cash, cash) << at;
        EXPECT_EQ(totals.cashRegister, cashRegister) << at;
        ASSERT_EQ(documents.recordCount(), rows.size()) << at;
        documents.first();
        for (const auto& [code, number, name, amount] : rows) {
            EXPECT_EQ(documents.asString(daydocs::fizmod).trimmed().toStdString(), code) << at;
            EXPECT_EQ(documents.asString(daydocs::bizonylat).trimmed().toStdString(), number) << at;
            EXPECT_EQ(documents.asString(daydocs::vevo).trimmed().toStdString(), name) << at;
            EXPECT_DOUBLE_EQ(documents.asFloat(daydocs::osszeg), amount) << number;
            documents.next();
        }
        ASSERT_EQ(vatRows.recordCount(), vat.size()) << at;
        vatRows.first();
        for (const auto& [key, sums] : vat) {
            EXPECT_EQ(vatRows.asString(dayvat::fizmod).trimmed().toStdString(), key.first) << at;
            EXPECT_DOUBLE_EQ(vatRows.asFloat(dayvat::afa), key.second) << at;
            expectSum(vatRows.asFloat(dayvat::netto), sums[0], at + " net");
            expectSum(vatRows.asFloat(dayvat::osszeg), sums[1], at + " VAT");
            expectSum(vatRows.asFloat(dayvat::brutto), sums[2], at + " gross");
            vatRows.next();
        }
    }
    EXPECT_GT(daysWithDocuments, 150);
}

TEST_F(GeneratedYearTotalsTest, DailyTurnoverPerArticleCountsInvoicesDeliveryNotesAndCashSales) {
    for (const QDate& d : days()) {
        struct Article {
            std::string name, unit;
            double quantity = 0, gross = 0;
        };
        std::map<std::string, Article> articles;
        for (const StoredHeader* h : selected(d, d, "BF1"))
            for (const StoredLine& l : h->lines) {
                Article& a = articles[l.article];
                a.name = l.name;
                a.unit = l.unit;
                a.quantity += l.quantity;
                a.gross += l.unitGross * l.quantity;
            }
        std::vector<std::string> order;
        double total = 0;
        for (const auto& [article, a] : articles) {
            order.push_back(article);
            total += a.gross;
        }
        std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return upper(a) < upper(b); });

        MemTable rows{"napiforgalom"};
        const std::string at = d.toString(Qt::ISODate).toStdString();
        expectSum(collectDailyArticles(folder(), d, rows), total, at);
        ASSERT_EQ(rows.recordCount(), order.size()) << at;
        rows.first();
        for (const std::string& article : order) {
            const Article& a = articles[article];
            EXPECT_EQ(rows.asString(dayarticles::cikkszam).trimmed().toStdString(), article) << at;
            EXPECT_EQ(rows.asString(dayarticles::megnevezes).trimmed().toStdString(), a.name.substr(0, 50)) << at;
            expectSum(rows.asFloat(dayarticles::mennyiseg), a.quantity, at + " " + article);
            expectSum(rows.asFloat(dayarticles::bruttoar), a.gross, at + " " + article);
            rows.next();
        }
    }
}

TEST_F(GeneratedYearTotalsTest, DailyProfitByPaymentClassWithTheMarginOnTheNetTotals) {
    for (const QDate& d : days()) {
        struct Class {
            int64_t gross = 0;
            double net = 0, profit = 0;
        };
        std::map<std::string, Class> classes;  // by payment code; no code: no class
        for (const StoredHeader* h : selected(d, d, "B1")) {
            const std::string code = codeOf(*h);
            if (code.empty()) continue;
            classes[code].gross += forints(h->payable);
            classes[code].net += h->net;
            classes[code].profit += lineProfit(*h);
        }
        Class all;
        for (const auto& [code, c] : classes) {
            all.gross += c.gross;
            all.net += c.net;
            all.profit += c.profit;
        }
        const DailyProfit p = collectDailyProfit(folder(), d);
        const std::string at = d.toString(Qt::ISODate).toStdString();
        const std::pair<const ProfitClass*, Class> pairs[] = {
            {&p.transfer, classes["01"]}, {&p.cash, classes["02"]}, {&p.cashRegister, classes["03"]}, {&p.total, all}};
        for (const auto& [actual, expected] : pairs) {
            EXPECT_EQ(actual->gross, expected.gross) << at;
            expectSum(actual->net, expected.net, at);
            expectSum(actual->profit, expected.profit, at);
            EXPECT_NEAR(actual->margin, margin(expected.profit, expected.net, 2), 0.0100001) << at;
        }
    }
}

TEST_F(GeneratedYearTotalsTest, ProfitPerDayOverTheYearAndOverAMonth) {
    for (const auto& [from, to] :
         {std::pair{QDate(kYear, 1, 1), QDate(kYear, 12, 31)}, std::pair{QDate(kYear, 3, 1), QDate(kYear, 3, 31)}}) {
        struct Day {
            double kp = 0, pg = 0, ut = 0, br = 0, net = 0, profit = 0;
        };
        std::map<QDate, Day> byDay;
        Day total;
        for (const StoredHeader* h : selected(from, to, "B1")) {
            Day& day = byDay[h->issued];
            const std::string code = codeOf(*h);
            if (code == "01") day.ut += h->payable;
            if (code == "02") day.kp += h->payable;
            if (code == "03") day.pg += h->payable;
            day.br += h->payable;
            day.net += h->net;
            day.profit += lineProfit(*h);
        }
        MemTable rows{"forgalom"};
        const ProfitPerDayTotals totals = collectProfitPerDay(folder(), from, to, rows);
        ASSERT_EQ(rows.recordCount(), byDay.size());
        rows.first();
        for (const auto& [date, day] : byDay) {
            const std::string at = date.toString(Qt::ISODate).toStdString();
            EXPECT_EQ(rows.asString(perday::datum).trimmed(), date.toString(QStringLiteral("yyyy.MM.dd")));
            expectSum(rows.asFloat(perday::kp), day.kp, at + " kp");
            expectSum(rows.asFloat(perday::pg), day.pg, at + " pg");
            expectSum(rows.asFloat(perday::ut), day.ut, at + " ut");
            expectSum(rows.asFloat(perday::br), day.br, at + " br");
            expectSum(rows.asFloat(perday::haszon), day.profit, at + " haszon");
            EXPECT_NEAR(rows.asFloat(perday::arres), margin(day.profit, day.net, 4), 0.000100001) << at;
            total.kp += day.kp, total.pg += day.pg, total.ut += day.ut, total.br += day.br;
            total.net += day.net, total.profit += day.profit;
            rows.next();
        }
        expectSum(totals.kp, total.kp, "kp");
        expectSum(totals.pg, total.pg, "pg");
        expectSum(totals.ut, total.ut, "ut");
        expectSum(totals.br, total.br, "br");
        expectSum(totals.haszon, total.profit, "haszon");
        EXPECT_NEAR(totals.margin, margin(total.profit, total.net, 4), 0.000100001);
        EXPECT_GT(total.profit, 0);
    }
}

TEST_F(GeneratedYearTotalsTest, ProfitPerProductWithAverageMargins) {
    for (const auto& [from, to] :
         {std::pair{QDate(kYear, 1, 1), QDate(kYear, 12, 31)}, std::pair{QDate(kYear, 6, 1), QDate(kYear, 6, 30)}}) {
        struct Article {
            double quantity = 0, cost = 0, sale = 0, profit = 0;
        };
        std::map<std::string, Article> articles;
        for (const StoredHeader* h : selected(from, to, "B1"))
            for (const StoredLine& l : h->lines) {
                Article& a = articles[l.article];
                a.quantity += l.quantity;
                a.cost += l.quantity * l.purchase;
                a.sale += l.quantity * l.unitNet;
                a.profit += l.profit;
            }
        std::vector<std::string> order;
        for (const auto& [article, a] : articles) order.push_back(article);
        std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return upper(a) < upper(b); });

        MemTable rows{"forgalom"};
        const ProfitPerProductTotals totals = collectProfitPerProduct(folder(), from, to, rows);
        ASSERT_EQ(rows.recordCount(), order.size());
        rows.first();
        double profit = 0, margins = 0;
        for (const std::string& article : order) {
            const Article& a = articles[article];
            const double averageCost = a.quantity != 0 ? rounded(4, a.cost / a.quantity) : 0;
            const double averageSale = a.quantity != 0 ? rounded(4, a.sale / a.quantity) : 0;
            const double m = averageSale != 0 ? rounded(4, (averageSale - averageCost) / averageSale * 100) : 0;
            EXPECT_EQ(rows.asString(perproduct::cikkszam).trimmed().toStdString(), article);
            expectSum(rows.asFloat(perproduct::mennyiseg), a.quantity, article);
            expectSum(rows.asFloat(perproduct::nbesz), a.cost, article);
            expectSum(rows.asFloat(perproduct::nelad), a.sale, article);
            EXPECT_NEAR(rows.asFloat(perproduct::anbesz), averageCost, 0.000100001) << article;
            EXPECT_NEAR(rows.asFloat(perproduct::anelad), averageSale, 0.000100001) << article;
            EXPECT_NEAR(rows.asFloat(perproduct::arres), m, 0.000100001) << article;
            expectSum(rows.asFloat(perproduct::haszon), a.profit, article);
            profit += a.profit;
            margins += m;
            rows.next();
        }
        expectSum(totals.haszon, profit, "haszon");
        EXPECT_NEAR(totals.averageMargin, order.empty() ? 0 : rounded(4, margins / double(order.size())), 0.000100001);
    }
}

TEST_F(GeneratedYearTotalsTest, TurnoverListOfAllAndOfCashDocuments) {
    const QDate from(kYear, 2, 1), to(kYear, 4, 30);
    for (const bool cashOnly : {false, true}) {
        std::vector<const StoredHeader*> expected;
        int64_t total = 0;
        for (const StoredHeader* h : selected(from, to, "B1")) {
            if (cashOnly && h->payment != kCash) continue;
            expected.push_back(h);
            total += forints(h->payable);
        }
        MemTable rows{"forgalom"};
        EXPECT_EQ(collectTurnoverList(folder(), from, to, cashOnly, rows), total);
        ASSERT_EQ(rows.recordCount(), expected.size());
        rows.first();
        for (const StoredHeader* h : expected) {
            EXPECT_EQ(rows.asString(turnoverlist::SZAMLASZAM).trimmed().toStdString(), h->number);
            EXPECT_EQ(rows.asInteger(turnoverlist::FIZETENDO), forints(h->payable)) << h->number;
            rows.next();
        }
        EXPECT_GT(total, 0);
    }
}

TEST_F(GeneratedYearTotalsTest, ProfitPerDocumentAgainstTodaysPurchasePrices) {
    std::map<double, double> purchase;
    for (const StoredProduct& p : stored().products) purchase[p.code] = p.net[0];
    const QDate from(kYear, 1, 1), to(kYear, 12, 31);
    for (const ProfitBasis basis : {ProfitBasis::Invoices, ProfitBasis::DeliveryNotes}) {
        const bool notes = basis == ProfitBasis::DeliveryNotes;
        double sale = 0, cost = 0;
        std::vector<std::tuple<std::string, double, double>> expected;
        for (const StoredHeader* h : selected(from, to, notes ? "F" : "B1")) {
            if (notes && !h->state.empty()) continue;
            double s = 0, c = 0;
            for (const StoredLine& l : h->lines) {
                s += l.net;
                if (l.service) continue;
                const auto found = purchase.find(std::round(l.code));
                c += found != purchase.end() ? l.quantity * found->second : l.net;
            }
            s -= h->commission;
            expected.emplace_back(h->number, s, c);
            sale += s;
            cost += c;
        }
        MemTable rows{"haszon"};
        const ProfitTotals totals = collectProfitList(folder(), from, to, basis, rows);
        ASSERT_EQ(rows.recordCount(), expected.size());
        rows.first();
        for (const auto& [number, s, c] : expected) {
            EXPECT_EQ(rows.asString(profitlist::szamlaszam).trimmed().toStdString(), number);
            expectSum(rows.asFloat(profitlist::eladar), s, number);
            expectSum(rows.asFloat(profitlist::beszar), c, number);
            expectSum(rows.asFloat(profitlist::haszonft), s - c, number);
            if (s > 0)
                EXPECT_NEAR(rows.asFloat(profitlist::haszonsz), std::nearbyint((s - c) / s * 10000) / 100, 0.0100001)
                    << number;
            else
                EXPECT_TRUE(rows.isNull(profitlist::haszonsz) || rows.asFloat(profitlist::haszonsz) == 0) << number;
            rows.next();
        }
        expectSum(totals.sale, sale, "sale");
        expectSum(totals.cost, cost, "cost");
        EXPECT_EQ(totals.saleForints(), int64_t(std::round(sale)));
        EXPECT_EQ(totals.profitForints(), int64_t(std::round(sale - cost)));
        EXPECT_NEAR(totals.percent(), sale > 0 ? rounded(2, (sale - cost) / sale * 100) : 0, 0.0100001);
        EXPECT_GT(sale, 0);
    }
}

TEST_F(GeneratedYearTotalsTest, StockValueOfPositiveAndOfEveryNonZeroStock) {
    for (const bool negative : {false, true}) {
        double net[5] = {}, gross[5] = {};
        size_t count = 0;
        for (const StoredProduct& p : stored().products) {
            if (p.service || (negative ? p.stock == 0 : p.stock <= 0)) continue;
            ++count;
            for (int i = 0; i < 5; ++i) {
                net[i] += p.stock * p.net[i];
                gross[i] += p.stock * p.gross[i];
            }
        }
        MemTable rows{"keszlet"};
        const StockValue value = collectStockValue(folder(), negative, rows);
        EXPECT_EQ(rows.recordCount(), count);
        for (int i = 0; i < 5; ++i) {
            expectSum(value.net[i], net[i], "net " + std::to_string(i));
            expectSum(value.gross[i], gross[i], "gross " + std::to_string(i));
        }
        EXPECT_GT(count, 0u);
    }
}

TEST_F(GeneratedYearTotalsTest, MonthlySummaryOfEveryMonthByDocumentType) {
    for (int month = 1; month <= 12; ++month) {
        const QDate first(kYear, month, 1), last = first.addMonths(1).addDays(-1);
        std::map<std::string, int64_t> byType;
        for (const StoredHeader* h : selected(first, last, "3451B")) byType[h->type] += forints(h->net);
        const std::vector<MonthRow> rows = collectMonthlySummary(folder(), kYear, month);
        const std::vector<std::pair<std::string, int64_t>> expected = {
            {"Bevételezés", byType["3"]},
            {"Visszáru", byType["4"]},
            {"Selejt", byType["5"]},
            {"Pénztárgépes értékesítés", byType["1"]},
            {"Számla", byType["B"]},
            {"Haszon", byType["B"] + byType["1"] - byType["3"] - byType["4"] - byType["5"]}};
        ASSERT_EQ(rows.size(), expected.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].name.toStdString(), expected[i].first);
            EXPECT_EQ(rows[i].amount, expected[i].second) << month << " " << expected[i].first;
        }
    }
}

}  // namespace
}  // namespace kavina::reports::year
