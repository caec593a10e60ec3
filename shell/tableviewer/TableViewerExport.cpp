#include "shell/tableviewer/TableViewerExport.h"

#include <xlsxwriter.h>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <vector>

namespace kavina::shell {

namespace {

// Limits of the .xlsx format: rows of a sheet, characters of a cell.
constexpr uint32_t kMaxRows = 1048576;
constexpr int kMaxCellText = 32767;
constexpr double kMaxColumnWidth = 60;

struct Formats {
    lxw_format* header;
    lxw_format* date;
    lxw_format* dateTime;
};

lxw_datetime toLxw(const QDateTime& t) {
    const QDate d = t.date();
    const QTime time = t.time();
    return {d.year(), d.month(), d.day(), time.hour(), time.minute(), double(time.second())};
}

// Writes the current record's field into the cell; returns the width its text needs.
int writeCell(RecordCursor& cursor, lxw_worksheet* sheet, uint32_t row, int field, const Formats& formats) {
    const auto col = lxw_col_t(field);
    if (cursor.isNull(field)) return 0;
    switch (cursor.fields()[size_t(field)].logical) {
        case dbase::FieldType::Integer:
        case dbase::FieldType::Short:
        case dbase::FieldType::Float:
            worksheet_write_number(sheet, row, col, cursor.asFloat(field), nullptr);
            return int(cursor.asString(field).size());
        case dbase::FieldType::Logical:
            worksheet_write_boolean(sheet, row, col, cursor.asLogical(field) ? 1 : 0, nullptr);
            return 5;
        case dbase::FieldType::Date:
            if (const QDate d = cursor.asDate(field); d.isValid()) {
                lxw_datetime value = toLxw(QDateTime(d, QTime(0, 0)));
                worksheet_write_datetime(sheet, row, col, &value, formats.date);
                return 10;
            }
            return 0;
        case dbase::FieldType::DateTime:
            if (const QDateTime t = cursor.asDateTime(field); t.isValid()) {
                lxw_datetime value = toLxw(t);
                worksheet_write_datetime(sheet, row, col, &value, formats.dateTime);
                return 19;
            }
            return 0;
        default: {
            const QString text = cursor.asString(field).left(kMaxCellText);
            if (text.isEmpty()) return 0;
            worksheet_write_string(sheet, row, col, text.toUtf8().constData(), nullptr);
            return int(text.section('\n', 0, 0).size());
        }
    }
}

void writeRows(RecordCursor& cursor, lxw_worksheet* sheet, const Formats& formats) {
    const int fields = cursor.fieldCount();
    std::vector<int> widths(size_t(fields), 0);
    for (int f = 0; f < fields; ++f) {
        const std::string& name = cursor.fields()[size_t(f)].name;
        worksheet_write_string(sheet, 0, lxw_col_t(f), name.c_str(), formats.header);
        widths[size_t(f)] = int(name.size());
    }
    uint32_t row = 1;
    if (!cursor.isEmpty()) {
        for (cursor.first(); !cursor.eof(); cursor.next()) {
            if (row >= kMaxRows)
                throw SpreadsheetError("A tábla több rekordot tartalmaz, mint amennyi egy munkalapra fér.");
            for (int f = 0; f < fields; ++f)
                widths[size_t(f)] = std::max(widths[size_t(f)], writeCell(cursor, sheet, row, f, formats));
            ++row;
        }
    }
    for (int f = 0; f < fields; ++f)
        worksheet_set_column(sheet, lxw_col_t(f), lxw_col_t(f),
                             std::min(kMaxColumnWidth, double(widths[size_t(f)]) + 2), nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
}

void writeWorkbook(RecordCursor& cursor, const QString& file, const QString& sheetName) {
    report::Workbook book = report::newWorkbook(file);
    lxw_worksheet* sheet = workbook_add_worksheet(book.get(), report::sheetNameOf(sheetName).toUtf8().constData());
    Formats formats{workbook_add_format(book.get()), workbook_add_format(book.get()), workbook_add_format(book.get())};
    format_set_bold(formats.header);
    format_set_num_format(formats.date, "yyyy.mm.dd");
    format_set_num_format(formats.dateTime, "yyyy.mm.dd hh:mm:ss");
    writeRows(cursor, sheet, formats);
    report::closeWorkbook(std::move(book));
}

}  // namespace

void writeSpreadsheet(RecordCursor& cursor, const QString& path, const QString& sheetName) {
    const std::optional<CursorMark> mark =
        cursor.isEmpty() ? std::nullopt : std::optional<CursorMark>(cursor.bookmark());
    try {
        report::writeReplacing(path, [&](const QString& temporary) { writeWorkbook(cursor, temporary, sheetName); });
    } catch (...) {
        if (mark) cursor.gotoBookmark(*mark);
        throw;
    }
    if (mark) cursor.gotoBookmark(*mark);
}

QString spreadsheetPath(const QString& folder, const QString& tableName, const QDateTime& now) {
    return QDir(folder).filePath(tableName + now.toString("_yyyyMMdd_HHmmss") + ".xlsx");
}

}  // namespace kavina::shell
