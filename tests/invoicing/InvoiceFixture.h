#pragma once
// Documents for the print layout tests: a settings record, a header and lines with their
// amounts derived as the line dialog derives them, in memory or in a data folder.
#include <QString>

#include "foundation/MemTable.h"
#include "invoicing/document/MemoryDocument.h"
#include "invoicing/print/TSzamlar.h"

namespace kavina::testing_invoice {

struct LineSpec {
    QString name;
    double quantity = 1;
    double unitNet = 0;
    double rate = 27;
    bool service = false;
    QString remark;
};

// Fills the current new record of a line cursor: NETTOAR and OSSZESEN are quantity times
// the net and gross unit price, rounded to 4 decimals, AFAFT their difference.
void fillLine(RecordCursor& lines, const QString& number, const LineSpec& spec);
void appendLine(RecordCursor& lines, const QString& number, const LineSpec& spec);

// A header record: invoice SZA2008/00007 to a Budapest buyer, cash, with the given payable
// amount and discount.
void appendHeader(RecordCursor& header, const QString& type, double payable, int discount = 0);

// The settings record of a small shop, without logo or footers.
void defineSettings(MemTable& settings);

// Every text the page's band of that name printed, joined by " | ".
QString joined(const report::PreparedReport& r, int page, const char* band);

}  // namespace kavina::testing_invoice
