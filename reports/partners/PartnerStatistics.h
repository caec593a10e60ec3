#pragma once
// The partner statistics: the customers ranked by their net turnover, and one partner's
// invoices, the products and services on them, and one supplier's received goods. Each
// collection fills a working list in memory and reads the tables on its own handles.

#include <QDate>
#include <QString>
#include <cstdint>
#include <string>

#include "foundation/Field.h"
#include "foundation/MemTable.h"
#include "foundation/Prompt.h"
#include "reports/turnover/SalesSelection.h"

namespace kavina::reports {

// ---- Customers by turnover ----

namespace customerlist {
inline constexpr std::string_view kTable = "partnerforgalom";
inline constexpr Field NEV{kTable, "NEV"};
inline constexpr Field CIM{kTable, "CIM"};
inline constexpr Field FORGALOM{kTable, "FORGALOM"};  // whole forints
}  // namespace customerlist

// Fills rows (emptied first) with one row per customer name and address: the net totals of
// the invoices and corrective invoices issued from the from-date up to the to-date (no upper
// limit when the to-date is before 1980), largest first, only the first keep when keep is
// above 0. Other documents (offers, proformas, delivery notes, receipts, cancelled invoices)
// are no turnover and would count a sale twice or count what was never sold.
void collectCustomers(const std::string& folder, const QDate& from, const QDate& to, int keep, MemTable& rows,
                      const Progress& progress = {});

// ---- One partner ----

// The partner chosen on a tab, as the partner register's picker left it.
struct ChosenPartner {
    bool chosen = false;
    int64_t code = 0;  // PARTNERKOD
    QString name;
    QString nev2;
    QString postcode;
    QString town;
    QString street;
};

// The partner the cursor (the partner register) stands on.
ChosenPartner chosenPartner(const RecordCursor& partners);

// "Válasszon partnert!" when no partner was chosen; false then, and nothing is collected.
bool partnerChosen(const ChosenPartner& partner, Prompt& prompt);

namespace invoicelist {
inline constexpr std::string_view kTable = "partnerszamlai";
inline constexpr Field szamlaszam{kTable, "szamlaszam"};
inline constexpr Field datum{kTable, "datum"};
inline constexpr Field netto{kTable, "netto"};  // whole forints
inline constexpr Field fizetve{kTable, "fizetve"};
}  // namespace invoicelist

// Fills rows (emptied first) with the partner's invoices of the period, oldest first. Returns
// Σ AFAALAP as a whole number.
int64_t collectPartnerInvoices(const std::string& folder, int64_t partnerCode, const QDate& from, const QDate& to,
                               MemTable& rows, const Progress& progress = {});

namespace partnerproducts {
inline constexpr std::string_view kTable = "partnertermekei";
inline constexpr Field termek{kTable, "termek"};  // the key
inline constexpr Field szj{kTable, "szj"};
inline constexpr Field egysegar{kTable, "egysegar"};  // of the first line found
inline constexpr Field me{kTable, "me"};
inline constexpr Field forgalom{kTable, "forgalom"};
}  // namespace partnerproducts

// Fills rows (emptied first) with the lines of the partner's invoices of the period, one row
// per name (exact), sorted by name.
void collectPartnerProducts(const std::string& folder, int64_t partnerCode, const QDate& from, const QDate& to,
                            MemTable& rows, const Progress& progress = {});

namespace suppliergoods {
inline constexpr std::string_view kTable = "beszallitoforgalma";
inline constexpr Field cikkszam{kTable, "cikkszam"};
inline constexpr Field termek{kTable, "termek"};  // the key
inline constexpr Field mennyiseg{kTable, "mennyiseg"};
inline constexpr Field me{kTable, "me"};
inline constexpr Field netto{kTable, "netto"};
}  // namespace suppliergoods

// Fills rows (emptied first) with the lines of the supplier's goods receipts of the period,
// one row per name (exact), sorted by name. Returns Σ of the lines' net values.
double collectSupplierGoods(const std::string& folder, int64_t partnerCode, const QDate& from, const QDate& to,
                            MemTable& rows, const Progress& progress = {});

}  // namespace kavina::reports
