#pragma once
// The detailed product list as a spreadsheet: which value goes into which cell, which cells
// are bold and how wide each column is, then the .xlsx file written from it. Text cells are
// always written as text, so a name beginning with "=" never becomes a formula.

#include <QDateTime>
#include <QString>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "foundation/Desktop.h"
#include "foundation/MemTable.h"
#include "foundation/Prompt.h"
#include "reports/products/ProductStatistics.h"

namespace kavina::reports {

struct WorkbookCell {
    int row;     // from 1
    int column;  // from 1 (A)
    std::variant<QString, double> value;
    bool bold = false;
};

struct Workbook {
    std::vector<WorkbookCell> cells;
    // The width of each column from A, in characters, fitted to its longest value from the
    // heads down.
    std::vector<double> widths() const;
};

// The workbook of the products of rows (as collectProductList fills it, by article number):
// the title, the time it was made, the heads in row 3, one row per product from row 4, then
// the labels of the sums and the sums. The average margin of an empty list is 0.
Workbook productWorkbook(MemTable& rows, const ProductListTotals& totals, const QDateTime& made);

// Writes the workbook to path (a temporary file first, renamed when complete). Throws
// RuleError naming the cause; a file already at path is then left as it was.
void saveWorkbook(const Workbook& book, const QString& path);

inline const QString kProductWorkbookTitle = QStringLiteral("Részletes terméklista excelbe");

// The file the clerk chose for the list ("Részletes terméklista.xlsx" proposed in folder), with
// the extension added when it was left off; nothing when cancelled.
std::optional<QString> chooseProductWorkbook(Prompt& prompt, const QString& folder);

// Collects the goods in stock by article number, writes them to path and opens the file with
// the desktop's program for it. Throws RuleError when the file cannot be written; says so
// when nothing could open it.
void exportProductWorkbook(const std::string& dataFolder, const QString& path, const QDateTime& now, Prompt& prompt,
                           Desktop& desktop, const Progress& progress = {});

}  // namespace kavina::reports
