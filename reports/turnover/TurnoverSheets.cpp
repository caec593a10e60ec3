#include "reports/turnover/TurnoverSheets.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

namespace {

using report::SheetRow;
using report::SheetTable;
using report::SheetValue;

SheetValue text(MemTable& rows, const Field& f) {
    return sheetText(rows, f);
}

SheetValue number(MemTable& rows, const Field& f) {
    return rows.asFloat(f);
}

}  // namespace

report::SheetValue sheetText(MemTable& rows, const Field& field) {
    return rows.asString(field).trimmed();
}

SheetTable dailyTurnoverSheet(MemTable& documents, const DailyTurnoverTotals& totals) {
    namespace D = daydocs;
    SheetTable t{
        QStringLiteral("Napi forgalom"),
        {QStringLiteral("Fizetési mód"), QStringLiteral("Bizonylat"), QStringLiteral("Vevő"), QStringLiteral("Összeg")},
        {},
        {}};
    forEachRow(documents, [&] {
        t.rows.push_back({paymentGroupName(documents.asString(D::fizmod).trimmed()), text(documents, D::bizonylat),
                          text(documents, D::vevo), number(documents, D::osszeg)});
    });
    const std::pair<QString, int64_t> lines[] = {
        {QStringLiteral("Átutalásos számlák"), totals.transfer},
        {QStringLiteral("Készpénzes számlák"), totals.cash},
        {QStringLiteral("Pénztárgépes értékesítések"), totals.cashRegister},
        {QStringLiteral("Készpénzes forgalom összesen"), totals.cashTurnover()}};
    for (const auto& [caption, amount] : lines) t.totals.push_back({caption, {}, {}, double(amount)});
    return t;
}

SheetTable dailyArticlesSheet(MemTable& articles, double total) {
    namespace A = dayarticles;
    SheetTable t{QStringLiteral("Napi forgalom cikkszámra"),
                 {QStringLiteral("Cikkszám"), QStringLiteral("Megnevezés"), QStringLiteral("Mennyiség"),
                  QStringLiteral("Egység"), QStringLiteral("Bruttó ár")},
                 {},
                 {}};
    forEachRow(articles, [&] {
        t.rows.push_back({text(articles, A::cikkszam), text(articles, A::megnevezes), number(articles, A::mennyiseg),
                          text(articles, A::egyseg), number(articles, A::bruttoar)});
    });
    t.totals.push_back({QStringLiteral("Összesen:"), {}, {}, {}, total});
    return t;
}

SheetTable dailyProfitSheet(const DailyProfit& profit) {
    SheetTable t{
        QStringLiteral("Napi haszon"),
        {QString(), QStringLiteral("Bruttó össz."), QStringLiteral("Nettó haszon"), QStringLiteral("Árrés (%)")},
        {},
        {}};
    const auto row = [](const QString& caption, const ProfitClass& c) {
        return SheetRow{caption, double(c.gross), c.profit, c.margin};
    };
    t.rows.push_back(row(QStringLiteral("Átutalásos számlák"), profit.transfer));
    t.rows.push_back(row(QStringLiteral("Készpénzes számlák"), profit.cash));
    t.rows.push_back(row(QStringLiteral("Pénztárgépes értékesítések"), profit.cashRegister));
    t.totals.push_back(row(QStringLiteral("Forgalom összesen"), profit.total));
    return t;
}

SheetTable profitPerDaySheet(MemTable& rows, const ProfitPerDayTotals& totals) {
    namespace R = perday;
    SheetTable t{QStringLiteral("Haszon naponként"),
                 {QStringLiteral("Dátum"), QStringLiteral("KP. bruttó"), QStringLiteral("PG. bruttó"),
                  QStringLiteral("ÁT. bruttó"), QStringLiteral("Bruttó össz."), QStringLiteral("Haszon"),
                  QStringLiteral("Árrés (%)")},
                 {},
                 {}};
    forEachRow(rows, [&] {
        t.rows.push_back({text(rows, R::datum), number(rows, R::kp), number(rows, R::pg), number(rows, R::ut),
                          number(rows, R::br), number(rows, R::haszon), number(rows, R::arres)});
    });
    t.totals.push_back(
        {QStringLiteral("Összesen:"), totals.kp, totals.pg, totals.ut, totals.br, totals.haszon, totals.margin});
    return t;
}

SheetTable profitPerProductSheet(MemTable& rows, const ProfitPerProductTotals& totals) {
    namespace R = perproduct;
    SheetTable t{QStringLiteral("Haszon termékenként"),
                 {QStringLiteral("Cikkszám"), QStringLiteral("Megnevezés"), QStringLiteral("Mennyiség"),
                  QStringLiteral("Egység"), QStringLiteral("Á.N.Besz ár"), QStringLiteral("Á.N.Elad ár"),
                  QStringLiteral("Haszon"), QStringLiteral("Árrés (%)")},
                 {},
                 {}};
    forEachRow(rows, [&] {
        t.rows.push_back({text(rows, R::cikkszam), text(rows, R::megnevezes), number(rows, R::mennyiseg),
                          text(rows, R::egyseg), number(rows, R::anbesz), number(rows, R::anelad),
                          number(rows, R::haszon), number(rows, R::arres)});
    });
    t.totals.push_back({QStringLiteral("Összesen:"), {}, {}, {}, {}, {}, totals.haszon, totals.averageMargin});
    return t;
}

}  // namespace kavina::reports
