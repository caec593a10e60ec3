// The product and partner statistics and the invoice search over a generated year against the
// same figures computed here from the stored headers and lines: which documents count, how the
// lines are grouped and how each sum is rounded, written out again with plain arithmetic.

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "GeneratedFolder.h"
#include "WorkbookReader.h"
#include "common/ScriptedPrompt.h"
#include "foundation/Desktop.h"
#include "foundation/MemTable.h"
#include "reports/export/ProductWorkbook.h"
#include "reports/partners/PartnerStatistics.h"
#include "reports/products/ProductStatistics.h"
#include "reports/search/TextSearch.h"

namespace kavina::reports::year {
namespace {

// To the nearest forint, halves to the even one.
int64_t forints(double x) {
    return int64_t(std::nearbyint(x));
}

double fourPlaces(long double x) {
    return double(std::round(x * 10000.0L) / 10000.0L);
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string plain(const QString& s) {
    return s.trimmed().toStdString();
}

void expectSum(double actual, double expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-6 * std::max(1.0, std::fabs(expected))) << what;
}

// The partner code with the most documents of the type.
int64_t busiestPartner(const StoredFolder& stored, const std::string& type) {
    std::map<int64_t, int> count;
    for (const StoredHeader& h : stored.headers)
        if (h.type == type && h.partner != 0) ++count[h.partner];
    int64_t best = 0;
    int most = 0;
    for (const auto& [code, n] : count)
        if (n > most) most = n, best = code;
    return best;
}

class GeneratedYearProductsPartnersTest : public GeneratedYear {
protected:
    static std::vector<const StoredHeader*> of(const std::string& types, const QDate& from, const QDate& to) {
        std::vector<const StoredHeader*> out;
        for (const StoredHeader& h : stored().headers)
            if (h.type.size() == 1 && types.find(h.type) != std::string::npos && h.issued >= from && h.issued <= to)
                out.push_back(&h);
        std::stable_sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->number < b->number; });
        return out;
    }
};

struct SoldSum {
    double quantity = 0, gross = 0, rate = 0;
    int64_t value = 0;
};

TEST_F(GeneratedYearProductsPartnersTest, GoodsSoldAndServicesUsedPerNameWithTheirVatBreakdown) {
    for (const auto& [from, to] :
         {std::pair{QDate(kYear, 1, 1), QDate(kYear, 12, 31)}, std::pair{QDate(kYear, 3, 1), QDate(kYear, 3, 31)}}) {
        for (const SoldKind kind : {SoldKind::Goods, SoldKind::Services}) {
            const std::string what = (kind == SoldKind::Goods ? "goods " : "services ") + from.toString().toStdString();
            std::map<std::string, SoldSum> expected;  // by the upper-cased name
            std::map<double, long double> grossPerRate;
            for (const StoredHeader* h : of("B1", from, to))
                for (const StoredLine& l : h->lines) {
                    if (l.service != (kind == SoldKind::Services)) continue;
                    const std::string key = plain(q(l.name).toUpper());
                    auto [it, added] = expected.try_emplace(key);
                    SoldSum& s = it->second;
                    if (added) {
                        s.rate = l.rate;
                        s.value = forints(l.net);
                    } else {
                        s.value = forints(double(s.value) + l.net);
                    }
                    s.quantity += l.quantity;
                    s.gross += l.gross;
                    grossPerRate[s.rate] += l.gross;
                }
            ASSERT_FALSE(expected.empty()) << what;

            MemTable rows{"eladott"};
            collectSold(folder(), from, to, kind, 0, rows);
            namespace S = soldlist;
            ASSERT_EQ(rows.recordCount(), expected.size()) << what;
            double previous = 1e300;
            for (rows.first(); !rows.eof(); rows.next()) {
                const std::string key = plain(rows.asString(S::NEV).toUpper());
                ASSERT_TRUE(expected.count(key)) << what << ": " << key;
                const SoldSum& s = expected[key];
                const double sold = rows.asFloat(S::FORGALOM);
                EXPECT_LE(sold, previous) << what << ": the largest quantity first";
                previous = sold;
                expectSum(sold, s.quantity, what + " quantity of " + key);
                EXPECT_EQ(rows.asInteger(S::ERTEK), s.value) << what << ": " << key;
                expectSum(rows.asFloat(S::BRUTTO), s.gross, what + " gross of " + key);
                if (s.quantity != 0) {
                    expectSum(rows.asFloat(S::EGYSEGAR), double(s.value) / s.quantity, what + " unit of " + key);
                    expectSum(rows.asFloat(S::BRUTTOOSSZ), fourPlaces((long double)s.gross / s.quantity),
                              what + " gross unit of " + key);
                }
            }
            const std::vector<VatSum> vat = vatBreakdown(rows);
            ASSERT_EQ(vat.size(), grossPerRate.size()) << what << ": every rate listed";
            for (const VatSum& v : vat) expectSum(v.gross, double(grossPerRate[v.rate]), what + " VAT sum");

            MemTable top{"eladott"};
            collectSold(folder(), from, to, kind, 5, top);
            ASSERT_EQ(top.recordCount(), std::min<size_t>(5, expected.size())) << what;
            rows.first();
            for (top.first(); !top.eof(); top.next(), rows.next())
                EXPECT_EQ(top.asString(S::NEV), rows.asString(S::NEV)) << what << ": the first five kept";
        }
    }
}

TEST_F(GeneratedYearProductsPartnersTest, GoodsByArticleNumberValuedAtTheProductsPrices) {
    // Every product's article number has a letter prefix: a range over the letters takes all the
    // goods, a narrower one only part of them.
    std::set<std::string> prefixes;
    for (const StoredProduct& p : stored().products) prefixes.insert(p.article.substr(0, p.article.find('-')));
    ASSERT_GE(prefixes.size(), 2u);
    const std::string narrowEnd = *prefixes.begin() + "-99999";
    for (const auto& [first, last] : {std::pair<std::string, std::string>{"A", "ZZZZZ"}, {"A", narrowEnd}}) {
        const QDate from(kYear, 1, 1), to(kYear, 12, 31);
        struct Expected {
            std::string article;
            double quantity = 0, stock = 0, purchase = 0, fixed = 0;
        };
        std::map<std::string, Expected> expected;
        for (const StoredHeader* h : of("B1", from, to))
            for (const StoredLine& l : h->lines) {
                if (l.service || l.article < first || l.article > last) continue;
                auto [it, added] = expected.try_emplace(plain(q(l.name).toUpper()));
                if (added) {
                    it->second.article = l.article;
                    for (const StoredProduct& p : stored().products)
                        if (!l.article.empty() && p.article == l.article) {
                            it->second.stock = p.stock;
                            it->second.purchase = p.net[0];
                            it->second.fixed = p.net[4];
                            break;
                        }
                }
                it->second.quantity += l.quantity;
            }
        ASSERT_FALSE(expected.empty());

        MemTable rows{"cikkszamszerint"};
        const double total = collectByArticle(folder(), from, to, q(first), q(last), rows);
        namespace R = articlelist;
        ASSERT_EQ(rows.recordCount(), expected.size()) << last;
        long double sum = 0;
        QString previous;
        for (rows.first(); !rows.eof(); rows.next()) {
            const std::string key = plain(rows.asString(R::NEV).toUpper());
            ASSERT_TRUE(expected.count(key)) << key;
            const Expected& e = expected[key];
            const QString article = rows.asString(R::CIKKSZAM).trimmed();
            EXPECT_LE(previous.toUpper(), article.toUpper()) << "by article number";
            previous = article;
            EXPECT_EQ(plain(article), e.article) << key;
            expectSum(rows.asFloat(R::FORGALOM), e.quantity, "quantity of " + key);
            EXPECT_EQ(rows.asFloat(R::KESZLET), e.stock) << key;
            EXPECT_EQ(rows.asFloat(R::NBESZ), e.purchase) << key;
            EXPECT_EQ(rows.asFloat(R::NELAD), e.fixed) << key;
            const double margin = e.quantity * fourPlaces((long double)e.fixed - e.purchase);
            expectSum(rows.asFloat(R::ARRES), margin, "margin of " + key);
            sum += margin;
        }
        expectSum(total, double(sum), "the margins' sum up to " + last);
    }
}

TEST_F(GeneratedYearProductsPartnersTest, CustomersByTurnoverCountInvoicesAndCorrectiveInvoicesOnly) {
    const QDate from(kYear, 1, 1), to(kYear, 12, 31);
    std::map<std::pair<QString, QString>, int64_t> expected;
    int64_t all = 0, others = 0;
    for (const StoredHeader& h : stored().headers) {
        if (h.issued < from || h.issued > to) continue;
        if (h.type != "B" && h.type != "J") {
            others += forints(h.net);
            continue;
        }
        const QString name = (q(h.name) + QLatin1Char(' ') + q(h.name1)).left(50).trimmed();
        const QString address = (q(h.town) + QLatin1Char(' ') + q(h.street)).left(50).trimmed();
        expected[{name, address}] += forints(h.net);
        all += forints(h.net);
    }
    ASSERT_FALSE(expected.empty());
    ASSERT_NE(others, 0) << "the year also holds documents that are no turnover";

    MemTable rows{"partnerforgalom"};
    collectCustomers(folder(), from, to, 0, rows);
    namespace C = customerlist;
    ASSERT_EQ(rows.recordCount(), expected.size());
    int64_t listed = 0, previous = INT64_MAX;
    for (rows.first(); !rows.eof(); rows.next()) {
        const auto key = std::make_pair(rows.asString(C::NEV).trimmed(), rows.asString(C::CIM).trimmed());
        ASSERT_TRUE(expected.count(key)) << key.first.toStdString();
        const int64_t turnover = rows.asInteger(C::FORGALOM);
        EXPECT_EQ(turnover, expected[key]) << key.first.toStdString();
        EXPECT_LE(turnover, previous) << "the largest first";
        previous = turnover;
        listed += turnover;
    }
    EXPECT_EQ(listed, all);

    // An open end (a to-date before 1980) takes every later document as well.
    MemTable open{"partnerforgalom"};
    collectCustomers(folder(), QDate(kYear, 7, 1), QDate(1979, 1, 1), 3, open);
    int64_t secondHalf = 0;
    std::map<std::pair<QString, QString>, int64_t> half;
    for (const StoredHeader* h : of("BJ", QDate(kYear, 7, 1), QDate(9999, 12, 31)))
        half[{(q(h->name) + QLatin1Char(' ') + q(h->name1)).left(50),
              (q(h->town) + QLatin1Char(' ') + q(h->street)).left(50)}] += forints(h->net);
    for (const auto& [key, sum] : half) secondHalf = std::max(secondHalf, sum);
    ASSERT_EQ(open.recordCount(), std::min<size_t>(3, half.size()));
    open.first();
    EXPECT_EQ(open.asInteger(C::FORGALOM), secondHalf);
}

TEST_F(GeneratedYearProductsPartnersTest, OnePartnersInvoicesAndProductsAndOneSuppliersGoods) {
    const QDate from(kYear, 1, 1), to(kYear, 12, 31);
    const int64_t customer = busiestPartner(stored(), "B");
    ASSERT_NE(customer, 0);

    std::vector<const StoredHeader*> invoices;
    for (const StoredHeader* h : of("B", from, to))
        if (h->partner == customer) invoices.push_back(h);
    std::stable_sort(invoices.begin(), invoices.end(), [](auto* a, auto* b) { return a->issued < b->issued; });
    long double net = 0;
    for (const StoredHeader* h : invoices) net += h->net;

    MemTable rows{"partnerszamlai"};
    const int64_t total = collectPartnerInvoices(folder(), customer, from, to, rows);
    namespace I = invoicelist;
    EXPECT_EQ(total, forints(double(net)));
    ASSERT_EQ(rows.recordCount(), invoices.size());
    std::set<std::string> numbers;
    for (const StoredHeader* h : invoices) numbers.insert(h->number);
    QDate previous;
    for (rows.first(); !rows.eof(); rows.next()) {
        const std::string number = plain(rows.asString(I::szamlaszam));
        EXPECT_TRUE(numbers.erase(number)) << number;
        const QDate issued = rows.asDate(I::datum);
        EXPECT_LE(previous, issued) << "oldest first";
        previous = issued;
        for (const StoredHeader* h : invoices)
            if (h->number == number) {
                EXPECT_EQ(issued, h->issued);
                EXPECT_EQ(rows.asInteger(I::netto), forints(h->net)) << number;
                EXPECT_EQ(rows.asLogical(I::fizetve), h->paid) << number;
            }
    }

    std::map<std::string, double> quantities;  // by the exact name
    for (const StoredHeader* h : invoices)
        for (const StoredLine& l : h->lines) quantities[l.name] += l.quantity;
    MemTable products{"partnertermekei"};
    collectPartnerProducts(folder(), customer, from, to, products);
    namespace P = partnerproducts;
    ASSERT_EQ(products.recordCount(), quantities.size());
    for (products.first(); !products.eof(); products.next()) {
        const std::string name = plain(products.asString(P::termek));
        ASSERT_TRUE(quantities.count(name)) << name;
        expectSum(products.asFloat(P::forgalom), quantities[name], "bought " + name);
    }

    const int64_t supplier = busiestPartner(stored(), "3");
    ASSERT_NE(supplier, 0);
    struct Received {
        double quantity = 0, net = 0;
    };
    std::map<std::string, Received> received;
    long double receivedNet = 0;
    for (const StoredHeader* h : of("3", from, to))
        if (h->partner == supplier)
            for (const StoredLine& l : h->lines) {
                received[l.name].quantity += l.quantity;
                received[l.name].net += l.net;
                receivedNet += l.net;
            }
    ASSERT_FALSE(received.empty());
    MemTable goods{"beszallitoforgalma"};
    const double goodsTotal = collectSupplierGoods(folder(), supplier, from, to, goods);
    namespace G = suppliergoods;
    expectSum(goodsTotal, double(receivedNet), "the supplier's net total");
    ASSERT_EQ(goods.recordCount(), received.size());
    for (goods.first(); !goods.eof(); goods.next()) {
        const std::string name = plain(goods.asString(G::termek));
        ASSERT_TRUE(received.count(name)) << name;
        expectSum(goods.asFloat(G::mennyiseg), received[name].quantity, "received " + name);
        expectSum(goods.asFloat(G::netto), received[name].net, "net of " + name);
    }
}

TEST_F(GeneratedYearProductsPartnersTest, TextSearchFindsTheInvoicesHoldingTheTextInTheChosenPlaces) {
    const QDate from(kYear, 4, 1), to(kYear, 9, 30);
    const auto holds = [](const std::string& text, const QString& part) {
        return q(text).toUpper().contains(part.toUpper());
    };
    struct Case {
        QString text;
        SearchPlaces places;
    };
    // Upper-case letters for the lower-case accented ones of the names, and the reverse.
    const Case cases[] = {{QStringLiteral("KÖNNYŰ"), {false, false, true, false}},
                          {QStringLiteral("petőfi"), {true, false, false, false}},
                          {QStringLiteral("számla alapján"), {false, true, false, false}},
                          {QStringLiteral("ERŐS"), {true, true, true, true}}};
    for (const Case& c : cases) {
        std::vector<const StoredHeader*> expected;
        size_t lines = 0;
        for (const StoredHeader* h : of("B", from, to)) {
            bool hit = c.places.customer &&
                       holds(h->name + " " + h->name1 + " " + h->postcode + " " + h->town + " " + h->street, c.text);
            hit = hit || (c.places.comment && holds(h->comment, c.text));
            for (const StoredLine& l : h->lines)
                hit = hit || (c.places.lineNames && holds(l.name, c.text)) ||
                      (c.places.lineComments && holds(l.comment, c.text));
            if (!hit) continue;
            expected.push_back(h);
            lines += h->lines.size();
        }
        TextSearchRequest request;
        request.from = from;
        request.to = to;
        request.text = c.text;
        request.places = c.places;
        TextSearchResult result;
        const int found = searchInvoices(folder(), request, result);
        const std::string what = c.text.toStdString();
        ASSERT_EQ(size_t(found), expected.size()) << what;
        ASSERT_EQ(result.hits().recordCount(), expected.size()) << what;
        EXPECT_EQ(result.lines().recordCount(), lines) << what;
        if (c.places.customer || c.places.lineNames) {
            EXPECT_FALSE(expected.empty()) << what << " finds something";
        }
        namespace T1 = fields::Tmp1;
        size_t at = 0;
        for (result.hits().first(); !result.hits().eof(); result.hits().next(), ++at) {
            EXPECT_EQ(plain(result.hits().asString(T1::SZAMLASZAM)), expected[at]->number) << what;
            EXPECT_EQ(result.hits().asInteger(T1::FIZETENDO), forints(expected[at]->payable)) << what;
        }
    }
}

class NoDesktop : public Desktop {
public:
    bool openFile(const QString&) override { return true; }
};

TEST_F(GeneratedYearProductsPartnersTest, TheProductWorkbookReadsBackWithTheStockedGoodsAndTheirSums) {
    std::vector<const StoredProduct*> goods;
    for (const StoredProduct& p : stored().products)
        if (p.stock > 0 && !p.service) goods.push_back(&p);
    std::sort(goods.begin(), goods.end(), [](auto* a, auto* b) { return a->article < b->article; });
    ASSERT_GE(goods.size(), 10u) << "a year of receipts leaves goods in stock";

    testing_support::TestFolder out;
    const QString path = QString::fromStdString(out.path()) + QStringLiteral("/Részletes terméklista.xlsx");
    ScriptedPrompt prompt;
    NoDesktop desktop;
    exportProductWorkbook(folder(), path, QDateTime(QDate(kYear, 12, 31), QTime(17, 30)), prompt, desktop);
    const QJsonObject cells = readBack(path);
    const auto at = [&](int column, int row) {
        return cells.value(QChar(u'A' + column - 1) + QString::number(row)).toArray();
    };

    long double sums[4] = {}, margins = 0, values = 0;  // net and gross purchase, net and gross sale
    long double readValues = 0;
    int row = 4;
    for (const StoredProduct* p : goods) {
        const std::string where = "row " + std::to_string(row) + ", " + p->article;
        EXPECT_EQ(at(1, row).at(0).toString().toStdString(), p->article) << where;
        EXPECT_EQ(at(1, row).at(1).toString(), QStringLiteral("s")) << where;
        EXPECT_EQ(at(2, row).at(0).toString().toStdString(), p->name) << where;
        EXPECT_EQ(at(3, row).at(0).toDouble(), p->stock) << where;
        EXPECT_EQ(at(4, row).at(0).toString().toStdString(), p->unit) << where;
        const double prices[4] = {p->net[0], p->gross[0], p->net[4], p->gross[4]};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(at(5 + i, row).at(0).toDouble(), prices[i]) << where << " price " << i;
            sums[i] += (long double)p->stock * prices[i];
        }
        EXPECT_EQ(at(9, row).at(0).toDouble(), std::nearbyint(p->rate)) << where;
        if (p->gross[0] == 0) {
            EXPECT_EQ(at(10, row).at(0).toString(), QStringLiteral("HIBA")) << where;
        } else {
            const double margin = p->net[4] > 0 ? fourPlaces(((long double)p->gross[4] / p->gross[0] - 1) * 100) : 0;
            EXPECT_NEAR(at(10, row).at(0).toDouble(), margin, 1e-9) << where;
            margins += margin;
        }
        const double value = fourPlaces((long double)p->stock * p->gross[4]);
        EXPECT_NEAR(at(11, row).at(0).toDouble(), value, 1e-9) << where;
        values += value;
        readValues += at(11, row).at(0).toDouble();
        ++row;
    }
    EXPECT_TRUE(at(1, row).isEmpty()) << "no product beyond the stocked goods";
    EXPECT_EQ(at(5, row).at(0).toString(), QStringLiteral("Összesen:"));
    EXPECT_TRUE(at(5, row).at(2).toBool()) << "the labels of the sums are bold";
    EXPECT_EQ(at(11, row).at(0).toString(), QStringLiteral("Készlet bto érték"));
    ++row;
    for (int i = 0; i < 4; ++i) expectSum(at(5 + i, row).at(0).toDouble(), double(sums[i]), "sum " + std::to_string(i));
    expectSum(at(10, row).at(0).toDouble(), double(margins / (long double)goods.size()), "the average margin");
    expectSum(at(11, row).at(0).toDouble(), double(values), "the stock value");
    expectSum(at(11, row).at(0).toDouble(), double(readValues), "the stock value against its column");
}

}  // namespace
}  // namespace kavina::reports::year
