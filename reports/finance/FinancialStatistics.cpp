#include "reports/finance/FinancialStatistics.h"

#include <map>
#include <unordered_map>

#include "foundation/CatalogueFields.h"
#include "foundation/SzamSzov.h"
#include "foundation/TableHandle.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace A = fields::Anyag;

namespace {
const QString kCash = QStringLiteral("Készpénz");
dbase::FieldDef dateField(const Field& f) {
    return {f.text(), dbase::FieldType::Date, 0, 0};
}
dbase::FieldDef integerField(const Field& f) {
    return {f.text(), dbase::FieldType::Integer, 0, 0};
}
}  // namespace

std::pair<QDate, QDate> turnoverPeriod(QDate from, QDate to, const QDate& today) {
    const QDate floor(2000, 1, 1);
    if (!from.isValid() || from < floor) from = floor;
    if (!to.isValid() || to < floor) to = today;
    return {from, to};
}

QString forintText(int64_t amount) {
    return groupDigits(amount) + QStringLiteral(" Ft");
}

int64_t collectTurnoverList(const std::string& folder, const QDate& from, const QDate& to, bool cashOnly,
                            MemTable& rows, const Progress& progress) {
    namespace T = turnoverlist;
    rows.setFields({textField(T::SZAMLASZAM, 16), integerField(T::PARTNERKOD), textField(T::NEV, 50),
                    textField(T::FIZMOD, 20), dateField(T::KIALLIT), integerField(T::FIZETENDO),
                    textField(T::TELJESCIM, 80), dateField(T::teljesit)});
    int64_t total = 0;
    SalesSelection selection(folder, QStringLiteral("B1"), from, to);
    selection.headersOnly();
    selection.visit(
        [&](const RecordCursor& header, const std::vector<CursorMark>&, RecordCursor&) {
            if (cashOnly && header.asString(H::FIZMOD).trimmed() != kCash) return;
            const int64_t payable = floatToInteger(header.asFloat(H::FIZETENDO));
            rows.append();
            rows.setString(T::SZAMLASZAM, header.asString(H::SZAMLASZAM));
            rows.setInteger(T::PARTNERKOD, header.isNull(H::PARTNERKOD) ? 0 : header.asInteger(H::PARTNERKOD));
            rows.setString(T::NEV, header.asString(H::NEV));
            rows.setString(T::FIZMOD, header.asString(H::FIZMOD));
            rows.setDate(T::KIALLIT, header.asDate(H::KIALLIT));
            rows.setInteger(T::FIZETENDO, payable);
            rows.setString(T::TELJESCIM, header.asString(H::TELJESCIM));
            rows.setDate(T::teljesit, header.asDate(H::TELJESIT));
            rows.post();
            total += payable;
        },
        progress);
    rows.first();
    return total;
}

int64_t ProfitTotals::saleForints() const {
    return KerekitRound(sale);
}
int64_t ProfitTotals::costForints() const {
    return KerekitRound(cost);
}
int64_t ProfitTotals::profitForints() const {
    return KerekitRound((long double)sale - cost);
}
double ProfitTotals::percent() const {
    return sale > 0 ? double(roundTo(2, ((long double)sale - cost) / sale * 100)) : 0;
}

std::pair<QDate, QDate> profitPeriod(QDate from, QDate to) {
    const QDate floor(1900, 1, 1);
    if (!from.isValid() || from < floor) from = floor;
    if (!to.isValid() || to < floor) to = QDate(2100, 1, 1);
    return {from, to};
}

ProfitTotals collectProfitList(const std::string& folder, const QDate& from, const QDate& to, ProfitBasis basis,
                               MemTable& rows, const Progress& progress) {
    namespace P = profitlist;
    rows.setFields({textField(P::szamlaszam, 30), textField(P::nev, 100), textField(P::cim, 100),
                    numberField(P::beszar), numberField(P::eladar), numberField(P::haszonft),
                    numberField(P::haszonsz)});
    // Today's purchase price of every product, by code: the first product of a code, as a
    // seek on the code finds it.
    std::unordered_map<int64_t, double> purchase;
    {
        TableHandle products(folder, std::string(A::kTable));
        products.open();
        for (products.first(); !products.eof(); products.next())
            purchase.emplace(KerekitRound(products.asFloat(A::ANYAGKOD)), products.asFloat(A::BESZERZAR));
    }
    ProfitTotals totals;
    const bool notes = basis == ProfitBasis::DeliveryNotes;
    SalesSelection selection(folder, notes ? QStringLiteral("F") : QStringLiteral("B1"), from, to,
                             {L::NETTOAR, L::TERMEK, L::ANYAGSZAM, L::MENNYISEG});
    selection.visit(
        [&](const RecordCursor& header, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
            // A delivery note already invoiced counts with its invoice.
            if (notes && !header.asString(H::ALLAPOT).trimmed().isEmpty()) return;
            long double sale = 0, cost = 0;
            for (const CursorMark& mark : lines) {
                cursor.gotoBookmark(mark);
                const double net = cursor.asFloat(L::NETTOAR);
                sale += net;
                if (cursor.asLogical(L::TERMEK)) continue;  // a service has no purchase price
                const auto product = purchase.find(KerekitRound(cursor.asFloat(L::ANYAGSZAM)));
                if (product != purchase.end())
                    cost += (long double)cursor.asFloat(L::MENNYISEG) * product->second;
                else
                    cost += net;
            }
            sale -= header.asFloat(H::POSSZEG);
            rows.append();
            rows.setString(P::szamlaszam, header.asString(H::SZAMLASZAM));
            rows.setString(P::nev, header.asString(H::NEV));
            rows.setString(P::cim, header.asString(H::TELJESCIM));
            rows.setFloat(P::beszar, double(cost));
            rows.setFloat(P::eladar, double(sale));
            rows.setFloat(P::haszonft, double(sale - cost));
            if (sale > 0)
                rows.setFloat(P::haszonsz, double(floatToInteger(double((sale - cost) / sale * 10000))) / 100);
            rows.post();
            totals.sale += double(sale);
            totals.cost += double(cost);
        },
        progress);
    rows.first();
    return totals;
}

StockValue collectStockValue(const std::string& folder, bool includeNegative, MemTable& rows,
                             const Progress& progress) {
    namespace S = stocklist;
    rows.setFields({textField(S::CIKKSZAM, 30), textField(S::MEGNEVEZES, 100), textField(S::EGYSEG, 10),
                    numberField(S::MENNYISEG), numberField(S::BESZERZAR), numberField(S::AR1), numberField(S::AR2),
                    numberField(S::AR3), numberField(S::FIXAR), numberField(S::AFAKULCS)});
    TableHandle products(folder, std::string(A::kTable));
    products.open();
    products.setOrder(A::MEGNEVEZES);
    const Field netPrices[5] = {A::BESZERZAR, A::AR1, A::AR2, A::AR3, A::FIXAR};
    const Field grossPrices[5] = {A::bbesz, A::bar1, A::bar2, A::bar3, A::bfixar};
    const Field values[5] = {S::BESZERZAR, S::AR1, S::AR2, S::AR3, S::FIXAR};
    StockValue total;
    long double net[5] = {}, gross[5] = {};
    const int count = int(products.recordCount());
    int done = 0;
    for (products.first(); !products.eof(); products.next()) {
        ++done;
        const double quantity = products.asFloat(A::MENNYISEG);
        const bool selected = includeNegative ? quantity != 0 : quantity > 0;
        if (selected && !products.asLogical(A::TERMEK)) {
            rows.append();
            rows.setString(S::CIKKSZAM, products.asString(A::CIKKSZAM));
            rows.setString(S::MEGNEVEZES, products.asString(A::MEGNEVEZES));
            rows.setString(S::EGYSEG, products.asString(A::EGYSEG));
            rows.setFloat(S::MENNYISEG, quantity);
            for (int i = 0; i < 5; ++i) {
                rows.setFloat(values[i], quantity * products.asFloat(netPrices[i]));
                net[i] += (long double)quantity * products.asFloat(netPrices[i]);
                gross[i] += (long double)quantity * products.asFloat(grossPrices[i]);
            }
            rows.setFloat(S::AFAKULCS, products.asFloat(A::AFAKULCS));
            rows.post();
        }
        if (progress) progress(done, count);
    }
    for (int i = 0; i < 5; ++i) {
        total.net[i] = double(net[i]);
        total.gross[i] = double(gross[i]);
    }
    rows.first();
    return total;
}

QString stockTotalText(double amount) {
    // The money format already ends in the forint sign.
    return moneyText(amount).trimmed();
}

std::pair<QDate, QDate> monthRange(int year, int month) {
    const QDate first(year, month, 1);
    return {first, first.addMonths(1).addDays(-1)};
}

std::vector<MonthRow> collectMonthlySummary(const std::string& folder, int year, int month) {
    const auto [first, last] = monthRange(year, month);
    // One walk for the five types.
    std::map<QString, int64_t> byType;
    SalesSelection selection(folder, QStringLiteral("3451B"), first, last);
    selection.headersOnly();
    selection.visit([&](const RecordCursor& header, const std::vector<CursorMark>&, RecordCursor&) {
        byType[header.asString(H::SZAMLATIP).trimmed()] += floatToInteger(header.asFloat(H::AFAALAP));
    });
    const int64_t received = byType[QStringLiteral("3")];
    const int64_t returned = byType[QStringLiteral("4")];
    const int64_t scrapped = byType[QStringLiteral("5")];
    const int64_t register_ = byType[QStringLiteral("1")];
    const int64_t invoiced = byType[QStringLiteral("B")];
    return {{QStringLiteral("Bevételezés"), received},
            {QStringLiteral("Visszáru"), returned},
            {QStringLiteral("Selejt"), scrapped},
            {QStringLiteral("Pénztárgépes értékesítés"), register_},
            {QStringLiteral("Számla"), invoiced},
            {QStringLiteral("Haszon"), invoiced + register_ - received - returned - scrapped}};
}

}  // namespace kavina::reports
