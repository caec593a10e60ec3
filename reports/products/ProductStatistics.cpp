#include "reports/products/ProductStatistics.h"

#include "foundation/CatalogueFields.h"
#include "foundation/SzamSzov.h"
#include "foundation/TableHandle.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

namespace L = fields::Szamla2;
namespace A = fields::Anyag;

namespace {

double fourDecimals(long double x) {
    return double(roundTo(4, x));
}

dbase::FieldDef integerField(const Field& f) {
    return {f.text(), dbase::FieldType::Integer, 0, 0};
}

// The names of the lists are compared ignoring case: the whole alphabet, accented letters too.
QString nameKey(const QString& name) {
    return name.trimmed().toUpper();
}

void addSoldLine(MemTable& rows, KeyedRows& byName, const RecordCursor& line) {
    namespace S = soldlist;
    const QString name = line.asString(L::MEGNEVEZES).trimmed();
    const double quantity = line.asFloat(L::MENNYISEG);
    const double gross = line.asFloat(L::OSSZESEN);
    bool added = false;
    byName.select(nameKey(name), [&] {
        rows.setString(S::NEV, name);
        rows.setString(S::SZJ, line.asString(L::ITJSZAM));
        rows.setString(S::CIKKSZAM, line.asString(L::cikkszam));
        rows.setFloat(S::AFA, line.asFloat(L::AFA));
        rows.setString(S::EGYSEG, line.asString(L::EGYSEG));
        rows.setFloat(S::BRUTTO, gross);
        rows.setFloat(S::EGYSEGAR, line.asFloat(L::EGYSEGAR));
        rows.setFloat(S::FORGALOM, quantity);
        rows.setInteger(S::ERTEK, floatToInteger(line.asFloat(L::NETTOAR)));
        if (quantity != 0) rows.setFloat(S::BRUTTOOSSZ, fourDecimals((long double)gross / quantity));
        added = true;
    });
    if (added) return;
    rows.edit();
    const double sold = rows.asFloat(S::FORGALOM) + quantity;
    const double brutto = rows.asFloat(S::BRUTTO) + gross;
    rows.setFloat(S::FORGALOM, sold);
    // The value is a whole number: every new sum is rounded as reading a float as an integer does.
    rows.setInteger(S::ERTEK, floatToInteger(double(rows.asInteger(S::ERTEK)) + line.asFloat(L::NETTOAR)));
    rows.setFloat(S::BRUTTO, brutto);
    if (sold != 0) rows.setFloat(S::BRUTTOOSSZ, fourDecimals((long double)brutto / sold));
    rows.post();
}

}  // namespace

void collectSold(const std::string& folder, const QDate& from, const QDate& to, SoldKind kind, int keep, MemTable& rows,
                 const Progress& progress) {
    namespace S = soldlist;
    rows.setFields({textField(S::NEV, 100), textField(S::SZJ, 15), textField(S::CIKKSZAM, 40), textField(S::EGYSEG, 20),
                    numberField(S::AFA), numberField(S::EGYSEGAR), numberField(S::FORGALOM), integerField(S::ERTEK),
                    numberField(S::BRUTTO), numberField(S::BRUTTOOSSZ)});
    const bool services = kind == SoldKind::Services;
    KeyedRows byName(rows);
    if (from > to) return;  // an empty period: the fields alone, without reading the documents
    SalesSelection(folder, QStringLiteral("B1"), from, to,
                   {L::TERMEK, L::MEGNEVEZES, L::ITJSZAM, L::cikkszam, L::AFA, L::EGYSEG, L::OSSZESEN, L::EGYSEGAR,
                    L::MENNYISEG, L::NETTOAR})
        .visit(
            [&](const RecordCursor&, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
                for (const CursorMark& mark : lines) {
                    cursor.gotoBookmark(mark);
                    if (cursor.asLogical(L::TERMEK) == services) addSoldLine(rows, byName, cursor);
                }
            },
            progress);
    // Equal quantities keep the order of their first sale.
    rows.sort({{S::FORGALOM, true}});
    if (keep > 0) {
        int kept = 0;
        for (rows.first(); !rows.eof();) {
            if (kept++ < keep)
                rows.next();
            else
                rows.deleteRecord();
        }
    }
    // The unit price shown is the average of every sale, whatever the range.
    for (rows.first(); !rows.eof(); rows.next()) {
        const double sold = rows.asFloat(S::FORGALOM);
        if (sold == 0) continue;
        rows.edit();
        rows.setFloat(S::EGYSEGAR, double(rows.asInteger(S::ERTEK)) / sold);
        rows.post();
    }
    rows.first();
}

std::vector<VatSum> vatBreakdown(MemTable& rows) {
    namespace S = soldlist;
    std::vector<VatSum> sums;
    if (rows.isEmpty()) return sums;
    const CursorMark at = rows.bookmark();
    std::vector<long double> exact;
    for (rows.first(); !rows.eof(); rows.next()) {
        const double rate = rows.asFloat(S::AFA);
        size_t i = 0;
        while (i < sums.size() && sums[i].rate != rate) ++i;
        if (i == sums.size()) {
            sums.push_back({rate, 0});
            exact.push_back(0);
        }
        exact[i] += rows.asFloat(S::BRUTTO);
    }
    for (size_t i = 0; i < sums.size(); ++i) sums[i].gross = double(exact[i]);
    rows.gotoBookmark(at);
    return sums;
}

std::pair<QString, QString> articleRange(const QString& from, const QString& to) {
    return {from.trimmed().isEmpty() ? QStringLiteral("00000") : from.trimmed(),
            to.trimmed().isEmpty() ? QStringLiteral("99999") : to.trimmed()};
}

double collectByArticle(const std::string& folder, const QDate& from, const QDate& to, const QString& firstArticle,
                        const QString& lastArticle, MemTable& rows, const Progress& progress) {
    namespace R = articlelist;
    rows.setFields({textField(R::CIKKSZAM, 40), textField(R::NEV, 100), numberField(R::KESZLET),
                    textField(R::EGYSEG, 20), numberField(R::FORGALOM), numberField(R::NBESZ), numberField(R::NELAD),
                    numberField(R::ARRES)});
    if (from > to) return 0;  // an empty period: the fields alone, without reading the documents
    TableHandle products(folder, std::string(A::kTable));
    products.open();
    products.setOrder(A::CIKKSZAM);
    KeyedRows byName(rows);
    SalesSelection(folder, QStringLiteral("B1"), from, to,
                   {L::TERMEK, L::cikkszam, L::MEGNEVEZES, L::MENNYISEG, L::EGYSEG})
        .visit(
            [&](const RecordCursor&, const std::vector<CursorMark>& lines, RecordCursor& line) {
                for (const CursorMark& mark : lines) {
                    line.gotoBookmark(mark);
                    if (line.asLogical(L::TERMEK)) continue;
                    const QString article = line.asString(L::cikkszam).trimmed();
                    if (article < firstArticle || article > lastArticle) continue;
                    const QString name = line.asString(L::MEGNEVEZES).trimmed();
                    const double quantity = line.asFloat(L::MENNYISEG);
                    bool added = false;
                    byName.select(nameKey(name), [&] {
                        double stock = 0, purchase = 0, fixed = 0;
                        if (!article.isEmpty() && products.findKey(article.toStdString()) &&
                            products.asString(A::CIKKSZAM).trimmed() == article) {
                            stock = products.asFloat(A::MENNYISEG);
                            purchase = products.asFloat(A::BESZERZAR);
                            fixed = products.asFloat(A::FIXAR);
                        }
                        rows.setString(R::NEV, name);
                        rows.setString(R::CIKKSZAM, article);
                        rows.setFloat(R::KESZLET, stock);
                        rows.setString(R::EGYSEG, line.asString(L::EGYSEG));
                        rows.setFloat(R::FORGALOM, quantity);
                        rows.setFloat(R::NBESZ, purchase);
                        rows.setFloat(R::NELAD, fixed);
                        rows.setFloat(R::ARRES, quantity * fourDecimals((long double)fixed - purchase));
                        added = true;
                    });
                    if (added) continue;
                    rows.edit();
                    const double sold = rows.asFloat(R::FORGALOM) + quantity;
                    rows.setFloat(R::FORGALOM, sold);
                    rows.setFloat(R::ARRES,
                                  sold * fourDecimals((long double)rows.asFloat(R::NELAD) - rows.asFloat(R::NBESZ)));
                    rows.post();
                }
            },
            progress);
    rows.sort({{R::CIKKSZAM, false, true}});
    long double total = 0;
    for (rows.first(); !rows.eof(); rows.next()) total += rows.asFloat(R::ARRES);
    rows.first();
    return double(total);
}

ProductListTotals collectProductList(const std::string& folder, ProductOrder order, MemTable& rows,
                                     const Progress& progress) {
    namespace P = productlist;
    rows.setFields({textField(P::CIKKSZAM, 30),
                    textField(P::MEGNEVEZES, 100),
                    numberField(P::MENNYISEG),
                    textField(P::EGYSEG, 10),
                    numberField(P::BESZERZAR),
                    numberField(P::bbesz),
                    numberField(P::FIXAR),
                    numberField(P::bfixar),
                    numberField(P::AFAKULCS),
                    numberField(P::ARRES),
                    {P::HIBA.text(), dbase::FieldType::Logical, 1, 0},
                    numberField(P::ERTEK)});
    TableHandle products(folder, std::string(A::kTable));
    products.open();
    products.setOrder(order == ProductOrder::ByName ? A::MEGNEVEZES : A::CIKKSZAM);
    long double margins = 0, purchaseNet = 0, purchaseGross = 0, saleNet = 0, saleGross = 0, value = 0;
    ProductListTotals totals;
    const int count = int(products.recordCount());
    int done = 0;
    for (products.first(); !products.eof(); products.next()) {
        if (progress) progress(++done, count);
        const double quantity = products.asFloat(A::MENNYISEG);
        if (!(quantity > 0) || products.asLogical(A::TERMEK)) continue;
        const double grossPurchase = products.asFloat(A::bbesz);
        const double fixed = products.asFloat(A::FIXAR);
        const double grossFixed = products.asFloat(A::bfixar);
        const bool error = grossPurchase == 0;
        const double margin =
            error || !(fixed > 0) ? 0 : fourDecimals(((long double)grossFixed / grossPurchase - 1) * 100);
        const double stockValue = fourDecimals((long double)quantity * grossFixed);
        rows.append();
        rows.setString(P::CIKKSZAM, products.asString(A::CIKKSZAM));
        rows.setString(P::MEGNEVEZES, products.asString(A::MEGNEVEZES));
        rows.setFloat(P::MENNYISEG, quantity);
        rows.setString(P::EGYSEG, products.asString(A::EGYSEG));
        rows.setFloat(P::BESZERZAR, products.asFloat(A::BESZERZAR));
        rows.setFloat(P::bbesz, grossPurchase);
        rows.setFloat(P::FIXAR, fixed);
        rows.setFloat(P::bfixar, grossFixed);
        rows.setFloat(P::AFAKULCS, products.asFloat(A::AFAKULCS));
        rows.setFloat(P::ARRES, margin);
        rows.setLogical(P::HIBA, error);
        rows.setFloat(P::ERTEK, stockValue);
        rows.post();
        ++totals.count;
        margins += margin;
        purchaseNet += (long double)quantity * products.asFloat(A::BESZERZAR);
        purchaseGross += (long double)quantity * grossPurchase;
        saleNet += (long double)quantity * fixed;
        saleGross += (long double)quantity * grossFixed;
        value += stockValue;
    }
    totals.marginSum = double(margins);
    totals.purchaseNet = double(purchaseNet);
    totals.purchaseGross = double(purchaseGross);
    totals.saleNet = double(saleNet);
    totals.saleGross = double(saleGross);
    totals.stockValue = double(value);
    rows.first();
    return totals;
}

}  // namespace kavina::reports
