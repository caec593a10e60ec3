#include "reports/turnover/DailyTurnover.h"

#include "foundation/CatalogueFields.h"
#include "foundation/SzamSzov.h"
#include "reports/turnover/ProfitStatistics.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

namespace {
double fourDecimals(double x) {
    return double(roundTo(4, x));
}
}  // namespace

QString paymentGroupName(const QString& code) {
    if (code == kTransferCode) return QStringLiteral("Átutalásos számlák");
    if (code == kCashCode) return QStringLiteral("Készpénzes számlák");
    if (code == kCashRegisterCode) return QStringLiteral("Pénztárgépes értékesítések");
    return {};
}

DailyTurnoverTotals collectDailyTurnover(const std::string& folder, const QDate& day, MemTable& documents,
                                         MemTable& vat, const Progress& progress) {
    namespace D = daydocs;
    namespace V = dayvat;
    documents.setFields(
        {textField(D::bizonylat, 20), textField(D::vevo, 80), numberField(D::osszeg), textField(D::fizmod, 30)});
    vat.setFields({textField(V::fizmod, 30), numberField(V::afa), numberField(V::netto), numberField(V::osszeg),
                   numberField(V::brutto)});
    DailyTurnoverTotals totals;
    KeyedRows vatRows(vat);  // code + '|' + rate
    SalesSelection selection(folder, QStringLiteral("B1"), day, day, {L::AFA, L::AFAFT, L::NETTOAR, L::OSSZESEN});
    selection.visit(
        [&](const RecordCursor& header, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
            const QString type = header.asString(H::SZAMLATIP).trimmed();
            const QString mode = header.asString(H::FIZMOD).trimmed();
            const double payable = header.asFloat(H::FIZETENDO);
            QString code;
            if (type == QLatin1String("1")) {
                code = kCashRegisterCode;
                totals.cashRegister += floatToInteger(payable);
            } else if (mode == kTransfer) {
                code = kTransferCode;
                totals.transfer += floatToInteger(payable);
            } else if (mode == kCash) {
                code = kCashCode;
                totals.cash += floatToInteger(payable);
            }
            // A line keeps its values before the document's discount; the invoice's VAT summary,
            // and so the breakdown, is after it.
            const double share = 1 - header.asFloat(H::KEDVEZMENY) / 100;
            for (const CursorMark& mark : lines) {
                cursor.gotoBookmark(mark);
                const double rate = cursor.asFloat(L::AFA);
                const QString key = code + QLatin1Char('|') + QString::number(rate, 'g', 17);
                vatRows.select(key, [&] {
                    vat.setString(V::fizmod, code);
                    vat.setFloat(V::afa, rate);
                    for (const Field& f : {V::netto, V::osszeg, V::brutto}) vat.setFloat(f, 0);
                });
                vat.edit();
                vat.setFloat(V::osszeg, vat.asFloat(V::osszeg) + fourDecimals(cursor.asFloat(L::AFAFT) * share));
                vat.setFloat(V::netto, vat.asFloat(V::netto) + fourDecimals(cursor.asFloat(L::NETTOAR) * share));
                vat.setFloat(V::brutto, vat.asFloat(V::brutto) + fourDecimals(cursor.asFloat(L::OSSZESEN) * share));
                vat.post();
            }
            documents.append();
            documents.setString(D::bizonylat, header.asString(H::SZAMLASZAM));
            documents.setString(D::vevo, header.asString(H::NEV));
            documents.setFloat(D::osszeg, payable);
            documents.setString(D::fizmod, code);
            documents.post();
        },
        progress);
    // The sort keeps equal codes in the order visited: by document number.
    documents.sort({{D::fizmod}});
    vat.sort({{V::fizmod}, {V::afa}});
    return totals;
}

double collectDailyArticles(const std::string& folder, const QDate& day, MemTable& articles, const Progress& progress) {
    namespace A = dayarticles;
    articles.setFields({textField(A::cikkszam, 30), textField(A::megnevezes, 50), numberField(A::mennyiseg),
                        textField(A::egyseg, 20), numberField(A::bruttoar)});
    KeyedRows byArticle(articles);
    SalesSelection selection(folder, QStringLiteral("BF1"), day, day,
                             {L::cikkszam, L::MEGNEVEZES, L::EGYSEG, L::MENNYISEG, L::begysegar});
    selection.visit(
        [&](const RecordCursor&, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
            for (const CursorMark& mark : lines) {
                cursor.gotoBookmark(mark);
                const QString article = cursor.asString(L::cikkszam);
                byArticle.select(article, [&] {
                    articles.setString(A::cikkszam, article);
                    articles.setFloat(A::mennyiseg, 0);
                    articles.setFloat(A::bruttoar, 0);
                });
                const double quantity = cursor.asFloat(L::MENNYISEG);
                articles.edit();
                articles.setString(A::megnevezes, cursor.asString(L::MEGNEVEZES));
                articles.setString(A::egyseg, cursor.asString(L::EGYSEG));
                articles.setFloat(A::mennyiseg, articles.asFloat(A::mennyiseg) + quantity);
                articles.setFloat(A::bruttoar, articles.asFloat(A::bruttoar) + cursor.asFloat(L::begysegar) * quantity);
                articles.post();
            }
        },
        progress);
    articles.sort({{A::cikkszam, false, true}});
    double sum = 0;
    for (articles.first(); !articles.eof(); articles.next()) sum += articles.asFloat(A::bruttoar);
    articles.first();
    return sum;
}

}  // namespace kavina::reports
