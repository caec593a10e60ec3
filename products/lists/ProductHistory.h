#pragma once
// The product history ("Termék történetiség"): every line of a stored document that moved the
// product: invoices (B), delivery notes (F), cash-register sales (1), goods receipts (3),
// returns to suppliers (4) and scrap records (5); never price offers, proformas or supplier
// orders. Rows follow the order of the document headers; nothing is kept after the window
// closes.

#include <QDate>
#include <QString>
#include <vector>

#include "foundation/TDataModule1.h"

namespace kavina::products {

struct HistoryRow {
    QString document;  // SZAMLASZAM
    QString partner;   // NEV
    QString address;   // TELJESCIM
    QDate issued;      // KIALLIT
    double quantity = 0;
    QString unit;
    QString clerk;          // UGYINTEZO
    bool received = false;  // a goods receipt: shown green, every other row red
};

// Whether lines of a document of this type show in the history.
bool movesInHistory(const QString& documentType);

// The rows of the product with this code (ANYAGKOD), read through handles of their own.
std::vector<HistoryRow> productHistory(TDataModule1& data, double productCode);

}  // namespace kavina::products
