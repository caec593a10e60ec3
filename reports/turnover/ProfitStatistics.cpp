#include "reports/turnover/ProfitStatistics.h"

#include <QHash>
#include <vector>

#include "foundation/CatalogueFields.h"
#include "foundation/SzamSzov.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

namespace {

const QString kSalesTypes = QStringLiteral("B1");

double linesProfit(const std::vector<CursorMark>& lines, RecordCursor& cursor) {
    long double sum = 0;
    for (const CursorMark& mark : lines) {
        cursor.gotoBookmark(mark);
        sum += cursor.asFloat(L::haszon);
    }
    return double(sum);
}

double marginOf(double profit, double base, int decimals) {
    if (base <= 0) return 0;
    return double(roundTo(decimals, (long double)profit / base * 100));
}

}  // namespace

QString dayText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy.MM.dd"));
}

DailyProfit collectDailyProfit(const std::string& folder, const QDate& day, const Progress& progress) {
    DailyProfit result;
    SalesSelection selection(folder, kSalesTypes, day, day, {L::haszon});
    selection.visit(
        [&](const RecordCursor& header, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
            const QString type = header.asString(H::SZAMLATIP).trimmed();
            const QString mode = header.asString(H::FIZMOD).trimmed();
            ProfitClass* target = nullptr;
            if (type == QLatin1String("1"))
                target = &result.cashRegister;
            else if (mode == kTransfer)
                target = &result.transfer;
            else if (mode == kCash)
                target = &result.cash;
            if (!target) return;  // an invoice paid some other way is no class's
            target->gross += floatToInteger(header.asFloat(H::FIZETENDO));
            target->net += header.asFloat(H::AFAALAP);
            target->profit += linesProfit(lines, cursor);
        },
        progress);
    for (ProfitClass* c : {&result.transfer, &result.cash, &result.cashRegister}) {
        result.total.gross += c->gross;
        result.total.net += c->net;
        result.total.profit += c->profit;
    }
    for (ProfitClass* c : {&result.transfer, &result.cash, &result.cashRegister, &result.total})
        c->margin = marginOf(c->profit, c->net, 2);
    return result;
}

ProfitPerDayTotals collectProfitPerDay(const std::string& folder, const QDate& from, const QDate& to, MemTable& rows,
                                       const Progress& progress) {
    namespace D = perday;
    rows.setFields({textField(D::datum, 20), numberField(D::kp), numberField(D::pg), numberField(D::ut),
                    numberField(D::br), numberField(D::netto), numberField(D::haszon), numberField(D::arres)});
    KeyedRows byDay(rows);
    SalesSelection selection(folder, kSalesTypes, from, to, {L::haszon});
    selection.visit(
        [&](const RecordCursor& header, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
            const double profit = linesProfit(lines, cursor);
            const QString day = dayText(header.asDate(H::KIALLIT));
            byDay.select(day, [&] {
                rows.setString(D::datum, day);
                for (const Field& f : {D::kp, D::pg, D::ut, D::br, D::netto, D::haszon, D::arres}) rows.setFloat(f, 0);
            });
            const QString type = header.asString(H::SZAMLATIP).trimmed();
            const QString mode = header.asString(H::FIZMOD).trimmed();
            const double gross = header.asFloat(H::FIZETENDO);
            rows.edit();
            if (type == QLatin1String("1"))
                rows.setFloat(D::pg, rows.asFloat(D::pg) + gross);
            else if (mode == kTransfer)
                rows.setFloat(D::ut, rows.asFloat(D::ut) + gross);
            else if (mode == kCash)
                rows.setFloat(D::kp, rows.asFloat(D::kp) + gross);
            rows.setFloat(D::br, rows.asFloat(D::br) + gross);
            rows.setFloat(D::netto, rows.asFloat(D::netto) + header.asFloat(H::AFAALAP));
            rows.setFloat(D::haszon, rows.asFloat(D::haszon) + profit);
            rows.post();
        },
        progress);
    rows.sort({{D::datum}});
    ProfitPerDayTotals totals;
    for (rows.first(); !rows.eof(); rows.next()) {
        rows.edit();
        rows.setFloat(D::arres, marginOf(rows.asFloat(D::haszon), rows.asFloat(D::netto), 4));
        rows.post();
        totals.kp += rows.asFloat(D::kp);
        totals.pg += rows.asFloat(D::pg);
        totals.ut += rows.asFloat(D::ut);
        totals.br += rows.asFloat(D::br);
        totals.netto += rows.asFloat(D::netto);
        totals.haszon += rows.asFloat(D::haszon);
    }
    totals.margin = marginOf(totals.haszon, totals.netto, 4);
    rows.first();
    return totals;
}

ProfitPerProductTotals collectProfitPerProduct(const std::string& folder, const QDate& from, const QDate& to,
                                               MemTable& rows, const Progress& progress) {
    namespace P = perproduct;
    rows.setFields({textField(P::cikkszam, 30), textField(P::megnevezes, 100), numberField(P::mennyiseg),
                    textField(P::egyseg, 20), numberField(P::nbesz), numberField(P::nelad), numberField(P::anbesz),
                    numberField(P::anelad), numberField(P::haszon), numberField(P::arres)});
    // Summed in plain values and written into the list once per article: a list row changed
    // for every line would be copied for every line.
    struct Article {
        QString megnevezes, egyseg;
        double mennyiseg = 0, nbesz = 0, nelad = 0, haszon = 0;
    };
    std::vector<std::pair<QString, Article>> articles;  // in the order first sold
    QHash<QString, size_t> byArticle;
    SalesSelection selection(folder, kSalesTypes, from, to,
                             {L::cikkszam, L::MEGNEVEZES, L::EGYSEG, L::MENNYISEG, L::nbesz, L::EGYSEGAR, L::haszon});
    selection.visit(
        [&](const RecordCursor&, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
            for (const CursorMark& mark : lines) {
                cursor.gotoBookmark(mark);
                const QString article = cursor.asString(L::cikkszam);
                auto found = byArticle.constFind(article);
                if (found == byArticle.constEnd()) {
                    found = byArticle.insert(article, articles.size());
                    articles.emplace_back(article, Article{});
                }
                Article& a = articles[*found].second;
                const long double quantity = cursor.asFloat(L::MENNYISEG);
                a.megnevezes = cursor.asString(L::MEGNEVEZES);
                a.egyseg = cursor.asString(L::EGYSEG);
                a.mennyiseg = double(a.mennyiseg + quantity);
                a.nbesz = double(a.nbesz + quantity * cursor.asFloat(L::nbesz));
                a.nelad = double(a.nelad + quantity * cursor.asFloat(L::EGYSEGAR));
                a.haszon = a.haszon + cursor.asFloat(L::haszon);
            }
        },
        progress);
    for (const auto& [article, a] : articles) {
        rows.append();
        rows.setString(P::cikkszam, article);
        rows.setString(P::megnevezes, a.megnevezes);
        rows.setString(P::egyseg, a.egyseg);
        rows.setFloat(P::mennyiseg, a.mennyiseg);
        rows.setFloat(P::nbesz, a.nbesz);
        rows.setFloat(P::nelad, a.nelad);
        for (const Field& f : {P::anbesz, P::anelad, P::arres}) rows.setFloat(f, 0);
        rows.setFloat(P::haszon, a.haszon);
        rows.post();
    }
    rows.sort({{P::cikkszam, false, true}});
    ProfitPerProductTotals totals;
    long double marginSum = 0;
    int count = 0;
    for (rows.first(); !rows.eof(); rows.next()) {
        const double quantity = rows.asFloat(P::mennyiseg);
        const double averageCost = quantity != 0 ? double(roundTo(4, rows.asFloat(P::nbesz) / quantity)) : 0;
        const double averageSale = quantity != 0 ? double(roundTo(4, rows.asFloat(P::nelad) / quantity)) : 0;
        const double margin =
            averageSale != 0 ? double(roundTo(4, ((long double)averageSale - averageCost) / averageSale * 100)) : 0;
        rows.edit();
        rows.setFloat(P::anbesz, averageCost);
        rows.setFloat(P::anelad, averageSale);
        rows.setFloat(P::arres, margin);
        rows.post();
        totals.haszon += rows.asFloat(P::haszon);
        marginSum += margin;
        ++count;
    }
    totals.averageMargin = count > 0 ? double(roundTo(4, marginSum / count)) : 0;
    rows.first();
    return totals;
}

}  // namespace kavina::reports
