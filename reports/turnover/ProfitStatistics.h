#pragma once
// The profit statistics of the sales: the daily profit by payment class, the profit of a
// period per day and per product. They read the stored invoices ("B") and cash-register
// sales ("1"); the profit of a line is the haszon its save stored.
//
// A margin is measured against the documents' own net totals (AFAALAP): the VAT rates differ
// from line to line (27, 18, 5 %), so no single rate turns a gross total into a net base.
// A margin without a base (no net turnover, no quantity, no sale price) is 0.

#include <QDate>
#include <QString>
#include <cstdint>
#include <string>

#include "foundation/Field.h"
#include "foundation/MemTable.h"
#include "reports/turnover/SalesSelection.h"

namespace kavina::reports {

inline const QString kTransfer = QStringLiteral("Átutalás");
inline const QString kCash = QStringLiteral("Készpénz");

// ---- The daily profit ----

struct ProfitClass {
    int64_t gross = 0;  // Σ FIZETENDO, each rounded to whole forints (ties to even)
    double net = 0;     // Σ AFAALAP: the base of the margin
    double profit = 0;  // Σ haszon of the lines
    double margin = 0;  // profit ÷ net × 100, two decimals; 0 without a base
};

struct DailyProfit {
    ProfitClass transfer;      // "Átutalásos számlák"
    ProfitClass cash;          // "Készpénzes számlák"
    ProfitClass cashRegister;  // "Pénztárgépes értékesítések"
    ProfitClass total;         // "Forgalom összesen"
};

DailyProfit collectDailyProfit(const std::string& folder, const QDate& day, const Progress& progress = {});

// ---- The profit of a period per day ----

namespace perday {
inline constexpr std::string_view kTable = "forgalom";
inline constexpr Field datum{kTable, "datum"};    // the issue date as year-first text
inline constexpr Field kp{kTable, "kp"};          // cash invoices, gross
inline constexpr Field pg{kTable, "pg"};          // cash-register sales, gross
inline constexpr Field ut{kTable, "ut"};          // transfer invoices, gross
inline constexpr Field br{kTable, "br"};          // every document of the day, gross
inline constexpr Field netto{kTable, "netto"};    // every document of the day, net: the margin's base
inline constexpr Field haszon{kTable, "haszon"};  // Σ haszon of the lines
inline constexpr Field arres{kTable, "arres"};    // haszon ÷ netto × 100, four decimals
}  // namespace perday

struct ProfitPerDayTotals {
    double kp = 0, pg = 0, ut = 0, br = 0, netto = 0, haszon = 0;
    double margin = 0;  // Σ haszon ÷ Σ netto × 100, four decimals; 0 without a base
};

// Fills rows (emptied first) with one row per issue date, ascending.
ProfitPerDayTotals collectProfitPerDay(const std::string& folder, const QDate& from, const QDate& to, MemTable& rows,
                                       const Progress& progress = {});

// ---- The profit of a period per product ----

namespace perproduct {
inline constexpr std::string_view kTable = "forgalom";
inline constexpr Field cikkszam{kTable, "cikkszam"};
inline constexpr Field megnevezes{kTable, "megnevezes"};
inline constexpr Field mennyiseg{kTable, "mennyiseg"};
inline constexpr Field egyseg{kTable, "egyseg"};
inline constexpr Field nbesz{kTable, "nbesz"};    // Σ quantity × net purchase price
inline constexpr Field nelad{kTable, "nelad"};    // Σ quantity × net unit price
inline constexpr Field anbesz{kTable, "anbesz"};  // average net purchase price, four decimals
inline constexpr Field anelad{kTable, "anelad"};  // average net sale price, four decimals
inline constexpr Field haszon{kTable, "haszon"};
inline constexpr Field arres{kTable, "arres"};  // (anelad − anbesz) ÷ anelad × 100, four decimals
}  // namespace perproduct

struct ProfitPerProductTotals {
    double haszon = 0;
    double averageMargin = 0;  // the plain average of the rows' arres, four decimals
};

// Fills rows (emptied first) with one row per article number, ascending ignoring case.
ProfitPerProductTotals collectProfitPerProduct(const std::string& folder, const QDate& from, const QDate& to,
                                               MemTable& rows, const Progress& progress = {});

// The issue date as the working lists hold it: "2008.03.10".
QString dayText(const QDate& day);

}  // namespace kavina::reports
