#pragma once
// Document numbers from the counters of the settings record (user.dbf): a number is the kind's
// prefix, the current year, "/", the counter padded to five digits, and the kind's suffix
// (SZA2008/00007). The counter holds the number the next document gets.
//
// Taking a number composes it and raises the counter while the settings record is locked in
// edit, so two workstations saving at the same moment never get the same number. Inside the
// engine transaction of a save the lock is held until the save commits or rolls back, and a
// save that fails leaves the counter as it was. The same lock serves the partner and product
// code counters.

#include <QDate>
#include <QString>

#include "foundation/IniSettings.h"
#include "foundation/TableHandle.h"
#include "invoicing/document/DocumentKinds.h"

namespace kavina::invoicing {

// The number a document of the kind would get from the settings record as it stands.
QString composeNumber(NumberKind kind, const RecordCursor& settings, const QDate& today);

// Re-reads and locks the settings record, makes sure the cash-sale counter (and for a goods
// receipt the receipt counter) is set, composes
// the kind's number and raises its counter by one. Requires: the settings handle is open and
// holds the settings record. Throws the engine's error when the record stays locked.
QString takeNumber(NumberKind kind, TableHandle& settings, const QDate& today);

// An empty counter of the cash-register sales (DEFUSER) or the goods receipts (DEFUSERN) is
// set to 1 and stored; a set one is left alone.
void ensureCounterSet(TableHandle& settings, const Field& counterField);

// The issue date of the last printed invoice or corrective invoice (ini key szamDate) and of
// the last proforma (proDate), stored in the ini file and in the settings in force; other
// kinds keep no date. Throws IniError when the file cannot be written.
void recordIssueDate(IniFile& ini, IniSettings& settings, NumberKind kind, const QDate& issued);

// The main window's warning: the workstation's date is before the last invoice's.
bool dateBeforeLastInvoice(const IniSettings& settings, const QDate& today);

}  // namespace kavina::invoicing
