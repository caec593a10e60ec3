#pragma once
// The demo business's stored documents, so that the document register has something to show:
// invoices of this year and the last (paid and unpaid), a corrective and a cancelled invoice,
// a proforma, cash-register sales and a delivery note, each a header in Szamla.dbf and its
// lines in Szamla2.dbf as a save stores them. Their dates lie within the year of today and
// not after it.

#include <QDate>
#include <string>

#include "foundation/Field.h"

namespace kavina {

// Appends the documents to the folder's tables. Throws DbError.
void addDemoDocuments(const std::string& folder, const QDate& today);

// The value the settings record's counter needs so that the next number of its kind follows
// the demo's documents; 1 for a counter the demo does not use.
int demoDocumentCounter(const Field& counter);

}  // namespace kavina
