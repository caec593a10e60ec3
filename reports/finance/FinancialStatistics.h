#pragma once
// The financial statistics: the sales documents of a period with their gross totals, the
// profit of each document against today's purchase prices, the value of the goods in stock,
// and a month's net totals by document type.

#include <QDate>
#include <QString>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Field.h"
#include "foundation/MemTable.h"
#include "reports/turnover/SalesSelection.h"

namespace kavina::reports {

// ---- The turnover list ----

namespace turnoverlist {
inline constexpr std::string_view kTable = "forgalom";
inline constexpr Field SZAMLASZAM{kTable, "SZAMLASZAM"};
inline constexpr Field PARTNERKOD{kTable, "PARTNERKOD"};
inline constexpr Field NEV{kTable, "NEV"};
inline constexpr Field FIZMOD{kTable, "FIZMOD"};
inline constexpr Field KIALLIT{kTable, "KIALLIT"};
inline constexpr Field FIZETENDO{kTable, "FIZETENDO"};  // whole forints
inline constexpr Field TELJESCIM{kTable, "TELJESCIM"};
inline constexpr Field teljesit{kTable, "teljesit"};
}  // namespace turnoverlist

// The period the turnover list reads: a from-date before 2000 becomes 2000.01.01, a to-date
// before 2000 becomes today.
std::pair<QDate, QDate> turnoverPeriod(QDate from, QDate to, const QDate& today);

// Fills rows (emptied first) with the invoices and cash-register sales of the period, only
// those paid in cash when cashOnly. Returns Σ FIZETENDO, each as a whole number.
int64_t collectTurnoverList(const std::string& folder, const QDate& from, const QDate& to, bool cashOnly,
                            MemTable& rows, const Progress& progress = {});

// "Bevétel összesen:" and the printed totals: "12 345 Ft".
QString forintText(int64_t amount);

// ---- The profit per document ----

namespace profitlist {
inline constexpr std::string_view kTable = "haszon";
inline constexpr Field szamlaszam{kTable, "szamlaszam"};
inline constexpr Field nev{kTable, "nev"};
inline constexpr Field cim{kTable, "cim"};
inline constexpr Field beszar{kTable, "beszar"};
inline constexpr Field eladar{kTable, "eladar"};
inline constexpr Field haszonft{kTable, "haszonft"};
inline constexpr Field haszonsz{kTable, "haszonsz"};  // empty when the sale is not above 0
}  // namespace profitlist

enum class ProfitBasis { Invoices, DeliveryNotes };

struct ProfitTotals {
    double sale = 0;
    double cost = 0;
    bool shown() const { return sale > 0; }  // no totals at all without a sale
    int64_t saleForints() const;
    int64_t costForints() const;
    int64_t profitForints() const;
    double percent() const;  // two decimals
};

// A from-date before 1900 becomes 1900.01.01, a to-date before 1900 becomes 2100.01.01.
std::pair<QDate, QDate> profitPeriod(QDate from, QDate to);

// Fills rows (emptied first): invoices and cash-register sales, or the delivery notes not yet
// invoiced. The sale is the lines' net total less the agent's commission; the cost is each
// goods line's quantity at the product's current purchase price, or the line's net value
// when the product is gone.
ProfitTotals collectProfitList(const std::string& folder, const QDate& from, const QDate& to, ProfitBasis basis,
                               MemTable& rows, const Progress& progress = {});

// ---- The value of the stock ----

namespace stocklist {
inline constexpr std::string_view kTable = "keszlet";
inline constexpr Field CIKKSZAM{kTable, "CIKKSZAM"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
inline constexpr Field MENNYISEG{kTable, "MENNYISEG"};
inline constexpr Field BESZERZAR{kTable, "BESZERZAR"};  // each price × the quantity
inline constexpr Field AR1{kTable, "AR1"};
inline constexpr Field AR2{kTable, "AR2"};
inline constexpr Field AR3{kTable, "AR3"};
inline constexpr Field FIXAR{kTable, "FIXAR"};
inline constexpr Field AFAKULCS{kTable, "AFAKULCS"};
}  // namespace stocklist

// The five values in the order purchase, price 1, 2, 3, fixed.
struct StockValue {
    double net[5] = {};
    double gross[5] = {};
};

// Fills rows (emptied first) with the goods in stock (services skipped), the negative
// quantities too when includeNegative.
StockValue collectStockValue(const std::string& folder, bool includeNegative, MemTable& rows,
                             const Progress& progress = {});

// A total of the stock value: the money format without the locale's sign, then " Ft".
QString stockTotalText(double amount);

// ---- The monthly summary ----

struct MonthRow {
    QString name;
    int64_t amount;
};

// The first and last day of the month.
std::pair<QDate, QDate> monthRange(int year, int month);

// "Bevételezés", "Visszáru", "Selejt", "Pénztárgépes értékesítés", "Számla" and "Haszon".
std::vector<MonthRow> collectMonthlySummary(const std::string& folder, int year, int month);

}  // namespace kavina::reports
