#pragma once
// "Mentés Excelbe" of the table viewer: a table handle or record set written as a spreadsheet
// workbook (.xlsx) of one worksheet, for the desktop's spreadsheet program to open.

#include <QDateTime>
#include <QString>

#include "foundation/RecordCursor.h"
#include "report/Spreadsheet.h"

namespace kavina::shell {

// The workbook could not be written; the text is Hungarian, for the user. No file was left.
using report::SpreadsheetError;

// Writes every record the cursor shows, in its current order, filter and link: a bold header
// row of the field names, then one row per record. Numbers are written as numbers, dates and
// date-times as dates, logicals as TRUE/FALSE, everything else as text; each column is as wide
// as its longest text (within limits). The workbook goes to a temporary file in the target's
// folder that is renamed over the target when complete, so a failure leaves neither a
// half-written file nor a changed target. The cursor ends on the record it was on.
// Throws SpreadsheetError; a DbError of the cursor passes through, with no file left.
void writeSpreadsheet(RecordCursor& cursor, const QString& path, const QString& sheetName);

// A new file name in the folder for a copy of the table: "Partner_20080315_101500.xlsx".
QString spreadsheetPath(const QString& folder, const QString& tableName, const QDateTime& now);

}  // namespace kavina::shell
