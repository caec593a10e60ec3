#pragma once
// Spreadsheet workbooks (.xlsx, libxlsxwriter): a printed report's table as a worksheet, and
// the pieces every workbook the program writes shares: the sheet name rules, and the write
// into a temporary file beside the target that replaces the target only when complete, so
// that a failure leaves neither a half-written file nor a changed target.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <variant>
#include <vector>

struct lxw_workbook;

namespace kavina::report {

// The workbook could not be written; the text is Hungarian, for the user, and names the cause.
class SpreadsheetError : public std::runtime_error {
public:
    explicit SpreadsheetError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// A cell: empty, a text (written as a text, so "=1+1" stays a text) or a number.
using SheetValue = std::variant<std::monostate, QString, double>;
using SheetRow = std::vector<SheetValue>;

// A report's table: bold headings, the rows, then bold totals rows.
struct SheetTable {
    QString sheetName;
    QStringList headings;
    std::vector<SheetRow> rows;
    std::vector<SheetRow> totals;
};

// Writes the table as the only worksheet of a workbook at path, replacing a file there. Each
// column is as wide as its longest text (within limits). Throws SpreadsheetError.
void writeSheetTable(const SheetTable& table, const QString& path);

// ---- shared by the program's workbooks ----

// The name as a worksheet may carry it: without []:*?/\, at most 31 characters, not empty.
QString sheetNameOf(QString name);

struct WorkbookFree {
    void operator()(lxw_workbook* book) const;
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookFree>;

// Runs write on a new temporary file in the target's folder, then renames it over path. A
// target a spreadsheet program holds open, a read-only target or a folder that cannot be
// written is refused before anything is written. Throws SpreadsheetError, or what write
// throws; either way the temporary file is gone and the target is as it was.
void writeReplacing(const QString& path, const std::function<void(const QString& temporary)>& write);

// A new workbook at file (a temporary one of writeReplacing); closeWorkbook writes it out.
Workbook newWorkbook(const QString& file);
void closeWorkbook(Workbook book);

}  // namespace kavina::report
