#pragma once
// The five kinds of sales document the invoice editor makes, fixed by the command that opens
// it: each has its window caption, its stored type code and the counter its number comes from.

#include <QChar>
#include <QString>

#include "invoicing/document/DocumentKinds.h"

namespace kavina::invoicing {

enum class EditorMode { Invoice = 0, CashSale = 1, Scrap = 2, Corrective = 3, Proforma = 4 };

// Where the document being edited starts from: nothing, a stored document copied as a
// template, or a stored document whose stock effect the save replaces.
enum class SourceKind { None = 0, Template = 1, Replacing = 2 };

// "Számla", "Pénztárgépes értékesítés", "Selejtezés", "Helyesbítő számla", "Proforma számla".
QString modeCaption(EditorMode mode);
// The header bar: eight blanks, the caption and " készítése".
QString modeHeaderText(EditorMode mode);
QChar modeTypeCode(EditorMode mode);
NumberKind modeNumberKind(EditorMode mode);
// Cash-register sales and scrap records have no buyer: no partner, no dates, no payment.
bool modeHasPartner(EditorMode mode);

}  // namespace kavina::invoicing
