#pragma once
// The line commands every document editor shares: a new line picked at the header's price
// group (one after another while a barcode scanner enters them), and deleting the current
// line after the question. The editors recompute their totals after each.

#include <QString>
#include <functional>

#include "foundation/MemTable.h"
#include "foundation/Prompt.h"

namespace kavina::invoicing {

inline const QString kDeleteLineQuestion = QStringLiteral("Biztos benne, hogy  törli a kijelölt tételt? ");

// Appends an empty line with the header's price group (ARCSOPORT) and lets pick fill it;
// the line is dropped when nothing was picked. With scanning on, a picked line is followed by
// another at once. recalculate runs after every pick.
void addPickedLines(const RecordCursor& header, MemTable& lines, const std::function<bool(int priceGroup)>& pick,
                    bool scanning, const std::function<void()>& recalculate);

// Deletes the current line when there is one and the clerk answers Yes ("Figyelem !").
void deleteCurrentLine(MemTable& lines, Prompt& prompt);

}  // namespace kavina::invoicing
