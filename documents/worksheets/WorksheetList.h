#pragma once
// The worksheet list and the selection of a worksheet to change: this year's worksheets (DATUM
// after 31 December of last year) or, in the archive, the older ones.

#include <QDate>
#include <QString>

namespace kavina {
class Prompt;
class TableHandle;
}  // namespace kavina

namespace kavina::documents {

// Restricts the worksheets to this year's or, with archive, to those before this year.
void restrictWorksheetsToYear(TableHandle& worksheets, bool archive, const QDate& today);

// "&Másolat": asks "Biztos, hogy újra szeretné nyomtatni a munkalapot?"; true on Yes.
bool confirmWorksheetCopy(Prompt& prompt);

}  // namespace kavina::documents
