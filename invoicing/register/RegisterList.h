#pragma once
// The register's printed list ("Listázás"): landscape, the documents the register shows in
// its order, unpaid invoices in red and cancelled invoices and delivery notes in light grey,
// and the gross total of the listed rows at the end.

#include <QDateTime>
#include <QString>
#include <memory>

#include "foundation/RecordCursor.h"
#include "report/Layout.h"

namespace kavina::invoicing {

// The colours of the list's rows.
inline const QColor kListUnpaidColour = QColor(220, 0, 0);
inline const QColor kListCancelledColour = QColor(165, 165, 165);

// The layout over the documents; prepare() it for the preview. caption is the list's caption
// (with " (arhívum)" in the archive), printed is the time printed in the page header.
std::unique_ptr<report::Layout> registerListLayout(RecordCursor& documents, const QString& caption,
                                                   const QDateTime& printed);

}  // namespace kavina::invoicing
