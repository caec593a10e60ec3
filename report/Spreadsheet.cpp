#include "report/Spreadsheet.h"

#include <xlsxwriter.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace kavina::report {

namespace {

constexpr int kMaxCellText = 32767;
constexpr int kMaxSheetName = 31;
constexpr double kMaxColumnWidth = 60;

// The operating system's reason in the clerk's words.
QString causeOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM: return QStringLiteral("nincs hozzá írási jog");
        case EROFS: return QStringLiteral("csak olvasható helyen van");
        case ENOSPC:
        case EDQUOT: return QStringLiteral("megtelt a lemez");
        case ENOENT: return QStringLiteral("a mappa nem létezik");
        case ENOTDIR: return QStringLiteral("az útvonal egy része nem mappa");
        case EISDIR: return QStringLiteral("ezen a néven egy mappa van");
        case EBUSY:
        case ETXTBSY: return QStringLiteral("egy másik program használja");
        case ENAMETOOLONG: return QStringLiteral("túl hosszú a név");
        default: return QStringLiteral("rendszerhiba, kód: %1").arg(error);
    }
}

QString folderCause(const QFileInfo& folder) {
    if (!folder.exists()) return causeOf(ENOENT);
    if (!folder.isDir()) return causeOf(ENOTDIR);
    if (!folder.isWritable()) return causeOf(EACCES);
    return causeOf(errno);
}

// A spreadsheet program that has the workbook open leaves a lock file beside it: LibreOffice
// ".~lock.name#", the office suite of Windows "~$name". Writing over the workbook then would
// lose what the clerk is editing there, or fail on a share.
bool heldOpen(const QFileInfo& target) {
    const QDir folder = target.absoluteDir();
    return folder.exists(QStringLiteral(".~lock.") + target.fileName() + QLatin1Char('#')) ||
           folder.exists(QStringLiteral("~$") + target.fileName());
}

void refuseUnwritableTarget(const QFileInfo& target) {
    const QString name = QDir::toNativeSeparators(target.absoluteFilePath());
    if (target.isDir()) throw SpreadsheetError("A munkafüzet nem menthető ide: " + name + " (" + causeOf(EISDIR) + ")");
    if (heldOpen(target))
        throw SpreadsheetError("A munkafüzet nem menthető, mert egy táblázatkezelő program megnyitotta: " + name +
                               "\nZárja be, és próbálja újra.");
    if (target.exists() && !target.isWritable())
        throw SpreadsheetError("A munkafüzet nem menthető, mert a fájl írásvédett: " + name);
}

QString reserveTemporary(const QFileInfo& target) {
    QTemporaryFile reserved(target.absolutePath() + "/." + target.completeBaseName() + "-XXXXXX.tmp");
    reserved.setAutoRemove(false);
    errno = 0;
    if (!reserved.open())
        throw SpreadsheetError("A mappa nem írható: " + QDir::toNativeSeparators(target.absolutePath()) + " (" +
                               folderCause(QFileInfo(target.absolutePath())) + ")");
    return reserved.fileName();
}

QString closeCause(lxw_error error, int osError) {
    if (osError == ENOSPC || osError == EDQUOT) return causeOf(osError);
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED: return QStringLiteral("elfogyott a memória");
        case LXW_ERROR_CREATING_TMPFILE: return QStringLiteral("nem hozható létre ideiglenes fájl");
        default: return osError ? causeOf(osError) : QStringLiteral("a fájl írása megszakadt");
    }
}

void setWidths(lxw_worksheet* sheet, const std::vector<int>& widths) {
    for (size_t c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::min(kMaxColumnWidth, double(widths[c]) + 2),
                             nullptr);
}

// Writes one cell; returns the width its text needs.
int writeValue(lxw_worksheet* sheet, uint32_t row, size_t column, const SheetValue& value, lxw_format* format) {
    const auto col = lxw_col_t(column);
    if (const auto* number = std::get_if<double>(&value)) {
        worksheet_write_number(sheet, row, col, *number, format);
        return int(QString::number(*number, 'f', 2).size()) + 2;
    }
    if (const auto* text = std::get_if<QString>(&value); text && !text->isEmpty()) {
        const QString cut = text->left(kMaxCellText);
        worksheet_write_string(sheet, row, col, cut.toUtf8().constData(), format);
        return int(cut.section('\n', 0, 0).size());
    }
    if (format) worksheet_write_blank(sheet, row, col, format);
    return 0;
}

void writeTable(const SheetTable& table, const QString& file) {
    Workbook book = newWorkbook(file);
    lxw_worksheet* sheet = workbook_add_worksheet(book.get(), sheetNameOf(table.sheetName).toUtf8().constData());
    lxw_format* bold = workbook_add_format(book.get());
    format_set_bold(bold);
    lxw_format* amount = workbook_add_format(book.get());
    format_set_num_format(amount, "#,##0.00");
    lxw_format* boldAmount = workbook_add_format(book.get());
    format_set_bold(boldAmount);
    format_set_num_format(boldAmount, "#,##0.00");

    std::vector<int> widths(size_t(table.headings.size()), 0);
    const auto write = [&](uint32_t row, const SheetRow& cells, bool total) {
        if (widths.size() < cells.size()) widths.resize(cells.size(), 0);
        for (size_t c = 0; c < cells.size(); ++c) {
            const bool number = std::holds_alternative<double>(cells[c]);
            lxw_format* format = number ? (total ? boldAmount : amount) : (total ? bold : nullptr);
            widths[c] = std::max(widths[c], writeValue(sheet, row, c, cells[c], format));
        }
    };
    uint32_t row = 0;
    SheetRow headings;
    for (const QString& h : table.headings) headings.emplace_back(h);
    write(row++, headings, true);
    for (const SheetRow& cells : table.rows) write(row++, cells, false);
    for (const SheetRow& cells : table.totals) write(row++, cells, true);
    setWidths(sheet, widths);
    worksheet_freeze_panes(sheet, 1, 0);
    closeWorkbook(std::move(book));
}

}  // namespace

void WorkbookFree::operator()(lxw_workbook* book) const {
    lxw_workbook_free(book);
}

QString sheetNameOf(QString name) {
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    for (QChar& c : name)
        if (forbidden.contains(c)) c = '_';
    name = name.left(kMaxSheetName);
    return name.isEmpty() ? QStringLiteral("Tábla") : name;
}

Workbook newWorkbook(const QString& file) {
    Workbook book(workbook_new(QFile::encodeName(file).constData()));
    if (!book) throw SpreadsheetError("A munkafüzet nem hozható létre: " + QDir::toNativeSeparators(file));
    return book;
}

void closeWorkbook(Workbook book) {
    errno = 0;
    const lxw_error result = workbook_close(book.release());
    const int osError = errno;
    if (result != LXW_NO_ERROR) throw SpreadsheetError("A munkafüzet írása sikertelen: " + closeCause(result, osError));
}

void writeReplacing(const QString& path, const std::function<void(const QString& temporary)>& write) {
    const QFileInfo target(path);
    refuseUnwritableTarget(target);
    const QString temporary = reserveTemporary(target);
    try {
        write(temporary);
        errno = 0;
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0)
            throw SpreadsheetError("A munkafüzet nem menthető ide: " + QDir::toNativeSeparators(path) + " (" +
                                   causeOf(errno) + ")");
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

void writeSheetTable(const SheetTable& table, const QString& path) {
    writeReplacing(path, [&](const QString& temporary) { writeTable(table, temporary); });
}

}  // namespace kavina::report
