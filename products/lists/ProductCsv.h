#pragma once
// The CSV export of the product list ("Exportálás csv fájlba"): a header line, then one line
// per product the list shows, in its order, the fields as the list shows them (numbers with a
// decimal comma), joined by ";", every line ended by CR LF, in the Windows-1250 code page.
//
// A field holding ";", a quotation mark or a line break is put between quotation marks, with
// its own quotation marks doubled, so a name such as "A;B" stays one field; every other line
// is exactly what the unquoted form writes.

#include <QByteArray>
#include <QString>

#include "foundation/Prompt.h"
#include "foundation/RecordCursor.h"

namespace kavina::products {

inline const QString kCsvHeader = QStringLiteral(
    "MEGNEVEZÉS;KATEGÓRIA;CIKKSZÁM;VTSZ/SZJ;MENNYISÉG;EGYSÉG;MIN.MENNY.;BESZ.ÁR;EL.ÁR 1;EL.ÁR 2;EL.ÁR 3;FIX ÁR;"
    "ÁFA KULCS");

// The field as written: quoted only when it must be.
QString csvField(const QString& text);
// The whole file. The cursor returns to its record.
QByteArray productCsv(RecordCursor& products);

// The export: the file chosen through the prompt (caption "Exportálás csv fájlba", ".csv"
// added to a name without extension), written whole or not at all. True when a file was
// written; a file that cannot be written is told and nothing is left of it.
bool exportProductCsv(RecordCursor& products, Prompt& prompt);

}  // namespace kavina::products
