#pragma once
// The daily turnover of the sales: the documents of a day by payment code with a VAT
// breakdown per code, and the quantities and gross values sold per article number.

#include <QDate>
#include <QString>
#include <cstdint>
#include <string>

#include "foundation/Field.h"
#include "foundation/MemTable.h"
#include "reports/turnover/SalesSelection.h"

namespace kavina::reports {

// The payment codes of the daily turnover; a document paid any other way has an empty code.
inline const QString kTransferCode = QStringLiteral("01");
inline const QString kCashCode = QStringLiteral("02");
inline const QString kCashRegisterCode = QStringLiteral("03");

// The group heading of a payment code ("" for the empty code).
QString paymentGroupName(const QString& code);

namespace daydocs {
inline constexpr std::string_view kTable = "napiforgalom2";
inline constexpr Field bizonylat{kTable, "bizonylat"};
inline constexpr Field vevo{kTable, "vevo"};
inline constexpr Field osszeg{kTable, "osszeg"};
inline constexpr Field fizmod{kTable, "fizmod"};
}  // namespace daydocs

namespace dayvat {
inline constexpr std::string_view kTable = "napiforgalom2_afa";
inline constexpr Field fizmod{kTable, "fizmod"};
inline constexpr Field afa{kTable, "afa"};
inline constexpr Field netto{kTable, "netto"};
inline constexpr Field osszeg{kTable, "osszeg"};  // the VAT amount
inline constexpr Field brutto{kTable, "brutto"};
}  // namespace dayvat

struct DailyTurnoverTotals {
    int64_t transfer = 0;      // "Átutalásos számlák"
    int64_t cash = 0;          // "Készpénzes számlák"
    int64_t cashRegister = 0;  // "Pénztárgépes értékesítések"
    int64_t cashTurnover() const { return cash + cashRegister; }
};

// Fills documents (sorted by payment code, document number within a code) and vat (one row
// per payment code and rate, every rate, sorted by code and rate). Both are emptied first.
DailyTurnoverTotals collectDailyTurnover(const std::string& folder, const QDate& day, MemTable& documents,
                                         MemTable& vat, const Progress& progress = {});

namespace dayarticles {
inline constexpr std::string_view kTable = "napiforgalom";
inline constexpr Field cikkszam{kTable, "cikkszam"};
inline constexpr Field megnevezes{kTable, "megnevezes"};
inline constexpr Field mennyiseg{kTable, "mennyiseg"};
inline constexpr Field egyseg{kTable, "egyseg"};
inline constexpr Field bruttoar{kTable, "bruttoar"};  // Σ gross unit price × quantity
}  // namespace dayarticles

// Fills articles (emptied first) with one row per article number sold that day on invoices,
// delivery notes and cash-register sales, sorted ignoring case. Returns Σ bruttoar.
double collectDailyArticles(const std::string& folder, const QDate& day, MemTable& articles,
                            const Progress& progress = {});

}  // namespace kavina::reports
