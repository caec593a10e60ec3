#include "reports/finance/FinanceSheets.h"

#include "foundation/TextFormat.h"
#include "reports/turnover/TurnoverSheets.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

namespace {

using report::SheetTable;
using report::SheetValue;
constexpr auto text = sheetText;

SheetValue day(MemTable& rows, const Field& f) {
    const QDate d = rows.asDate(f);
    return d.isValid() ? SheetValue(dateText(d)) : SheetValue();
}

}  // namespace

SheetTable turnoverListSheet(MemTable& rows, int64_t total) {
    namespace T = turnoverlist;
    SheetTable t{QStringLiteral("Forgalom kimutatás"),
                 {QStringLiteral("Számlaszám"), QStringLiteral("Név"), QStringLiteral("Cím"), QStringLiteral("Készült"),
                  QStringLiteral("Teljesítés"), QStringLiteral("Bruttó összeg"), QStringLiteral("Fiz.mód")},
                 {},
                 {}};
    forEachRow(rows, [&] {
        t.rows.push_back({text(rows, T::SZAMLASZAM), text(rows, T::NEV), text(rows, T::TELJESCIM),
                          day(rows, T::KIALLIT), day(rows, T::teljesit), rows.asFloat(T::FIZETENDO),
                          text(rows, T::FIZMOD)});
    });
    t.totals.push_back({QStringLiteral("Bruttó forgalom összesen:"), {}, {}, {}, {}, double(total), {}});
    return t;
}

SheetTable profitListSheet(MemTable& rows, const ProfitTotals& totals) {
    namespace P = profitlist;
    SheetTable t{QStringLiteral("Haszon számítás"),
                 {QStringLiteral("Számlaszám"), QStringLiteral("Név"), QStringLiteral("Cím"), QStringLiteral("Besz.ár"),
                  QStringLiteral("Elad. ár"), QStringLiteral("Haszon"), QStringLiteral("Haszon (%)")},
                 {},
                 {}};
    forEachRow(rows, [&] {
        const bool percent = !rows.asString(P::haszonsz).trimmed().isEmpty();
        t.rows.push_back({text(rows, P::szamlaszam), text(rows, P::nev), text(rows, P::cim), rows.asFloat(P::beszar),
                          rows.asFloat(P::eladar), rows.asFloat(P::haszonft),
                          percent ? SheetValue(rows.asFloat(P::haszonsz)) : SheetValue()});
    });
    // Without a sale the printout has no totals at all.
    if (totals.shown())
        t.totals.push_back({QStringLiteral("Összesen:"),
                            {},
                            {},
                            double(totals.costForints()),
                            double(totals.saleForints()),
                            double(totals.profitForints()),
                            totals.percent()});
    return t;
}

SheetTable stockValueSheet(MemTable& rows, const StockValue& totals) {
    namespace S = stocklist;
    SheetTable t{QStringLiteral("Készlet értéke"),
                 {QStringLiteral("Cikkszám"), QStringLiteral("Megnevezés"), QStringLiteral("Mennyiség"),
                  QStringLiteral("Egység"), QStringLiteral("Besz.ár."), QStringLiteral("Elad.ár 1"),
                  QStringLiteral("Elad.ár 2"), QStringLiteral("Elad.ár. 3"), QStringLiteral("Elad.ár. fix")},
                 {},
                 {}};
    forEachRow(rows, [&] {
        t.rows.push_back({text(rows, S::CIKKSZAM), text(rows, S::MEGNEVEZES), rows.asFloat(S::MENNYISEG),
                          text(rows, S::EGYSEG), rows.asFloat(S::BESZERZAR), rows.asFloat(S::AR1), rows.asFloat(S::AR2),
                          rows.asFloat(S::AR3), rows.asFloat(S::FIXAR)});
    });
    for (const auto& [caption, values] : {std::pair{QStringLiteral("Nettó értékek:"), totals.net},
                                          std::pair{QStringLiteral("Bruttó értékek:"), totals.gross}})
        t.totals.push_back({caption, {}, {}, {}, values[0], values[1], values[2], values[3], values[4]});
    return t;
}

}  // namespace kavina::reports
