#include "reports/export/ProductWorkbook.h"

#include <xlsxwriter.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "foundation/RuleError.h"
#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"

namespace kavina::reports {

namespace P = productlist;

namespace {

constexpr double kMaxWidth = 60;

QString shownText(const std::variant<QString, double>& value) {
    if (const QString* text = std::get_if<QString>(&value)) return *text;
    return QString::number(std::get<double>(value), 'g', 15);
}

}  // namespace

std::vector<double> Workbook::widths() const {
    std::vector<double> widths;
    for (const WorkbookCell& c : cells) {
        // The title and the time spill over the empty cells beside them.
        if (c.row < 3) continue;
        if (size_t(c.column) > widths.size()) widths.resize(size_t(c.column), 0);
        // Bold letters are wider; one character more keeps them inside the column.
        const double need = double(shownText(c.value).size()) + (c.bold ? 3 : 2);
        widths[size_t(c.column - 1)] = std::min(kMaxWidth, std::max(widths[size_t(c.column - 1)], need));
    }
    return widths;
}

Workbook productWorkbook(MemTable& rows, const ProductListTotals& totals, const QDateTime& made) {
    Workbook book;
    auto put = [&book](int row, int column, std::variant<QString, double> value, bool bold = false) {
        book.cells.push_back({row, column, std::move(value), bold});
    };
    put(1, 1, QStringLiteral("RÉSZLETES TERMÉKLISTA"), true);
    put(2, 1, QStringLiteral("Nyomtatva: ") + dateText(made.date()) + QLatin1Char(' ') + timeText(made.time()));
    const QString heads[] = {
        QStringLiteral("Cikkszám"),       QStringLiteral("Megnevezés"),      QStringLiteral("Jelenlegi "),
        QStringLiteral("készlet"),        QStringLiteral("Nettó besz. ár"),  QStringLiteral("Bruttó besz. ár"),
        QStringLiteral("Nettó elad. ár"), QStringLiteral("Bruttó elad. ár"), QStringLiteral("ÁFA kulcs"),
        QStringLiteral("Árrés %"),        QStringLiteral("Készlet érték")};
    for (int c = 0; c < 11; ++c) put(3, c + 1, heads[c], true);
    int row = 4;
    if (!rows.isEmpty()) {
        for (rows.first(); !rows.eof(); rows.next(), ++row) {
            put(row, 1, rows.asString(P::CIKKSZAM).trimmed());
            put(row, 2, rows.asString(P::MEGNEVEZES).trimmed());
            put(row, 3, rows.asFloat(P::MENNYISEG));
            put(row, 4, rows.asString(P::EGYSEG).trimmed());
            put(row, 5, rows.asFloat(P::BESZERZAR));
            put(row, 6, rows.asFloat(P::bbesz));
            put(row, 7, rows.asFloat(P::FIXAR));
            put(row, 8, rows.asFloat(P::bfixar));
            put(row, 9, double(floatToInteger(rows.asFloat(P::AFAKULCS))));
            if (rows.asLogical(P::HIBA))
                put(row, 10, QStringLiteral("HIBA"));
            else
                put(row, 10, rows.asFloat(P::ARRES));
            put(row, 11, rows.asFloat(P::ERTEK));
        }
        rows.first();
    }
    for (int c : {5, 6, 7, 8}) put(row, c, QStringLiteral("Összesen:"), true);
    put(row, 10, QStringLiteral("Átlag árrés:"), true);
    put(row, 11, QStringLiteral("Készlet bto érték"), true);
    ++row;
    put(row, 5, totals.purchaseNet);
    put(row, 6, totals.purchaseGross);
    put(row, 7, totals.saleNet);
    put(row, 8, totals.saleGross);
    put(row, 10, totals.averageMargin());
    put(row, 11, totals.stockValue);
    return book;
}

namespace {

struct WorkbookFree {
    void operator()(lxw_workbook* w) const { lxw_workbook_free(w); }
};

void writeCells(const Workbook& book, const QString& file) {
    std::unique_ptr<lxw_workbook, WorkbookFree> workbook(workbook_new(QFile::encodeName(file).constData()));
    if (!workbook) throw RuleError(QStringLiteral("A munkafüzet nem hozható létre: ") + file);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), "Terméklista");
    lxw_format* bold = workbook_add_format(workbook.get());
    format_set_bold(bold);
    for (const WorkbookCell& c : book.cells) {
        const auto row = lxw_row_t(c.row - 1);
        const auto column = lxw_col_t(c.column - 1);
        lxw_format* format = c.bold ? bold : nullptr;
        if (const QString* text = std::get_if<QString>(&c.value))
            worksheet_write_string(sheet, row, column, text->toUtf8().constData(), format);
        else
            worksheet_write_number(sheet, row, column, std::get<double>(c.value), format);
    }
    const std::vector<double> widths = book.widths();
    for (size_t c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr);
    const lxw_error result = workbook_close(workbook.release());
    if (result != LXW_NO_ERROR)
        throw RuleError(QStringLiteral("A munkafüzet írása sikertelen: ") + QString::fromUtf8(lxw_strerror(result)));
}

}  // namespace

void saveWorkbook(const Workbook& book, const QString& path) {
    const QFileInfo target(path);
    QTemporaryFile reserved(target.absolutePath() + QStringLiteral("/.") + target.completeBaseName() +
                            QStringLiteral("-XXXXXX.tmp"));
    reserved.setAutoRemove(false);
    if (!reserved.open())
        throw RuleError(QStringLiteral("A munkafüzet nem menthető ebbe a mappába: ") + target.absolutePath());
    const QString temporary = reserved.fileName();
    reserved.close();
    // The name is only reserved: the writer makes the file anew, with the permissions of any
    // new file rather than the private ones of a temporary file.
    QFile::remove(temporary);
    try {
        writeCells(book, temporary);
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0)
            throw RuleError(QStringLiteral("A munkafüzet nem menthető ide: ") + path + QStringLiteral(" (") +
                            QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char(')'));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

std::optional<QString> chooseProductWorkbook(Prompt& prompt, const QString& folder) {
    std::optional<QString> chosen =
        prompt.chooseFile({.caption = kProductWorkbookTitle,
                           .folder = folder,
                           .filter = QStringLiteral("Excel fájlok (*.xlsx);;Minden fájl (*)"),
                           .save = true,
                           .fileName = QStringLiteral("Részletes terméklista.xlsx")});
    if (!chosen || chosen->trimmed().isEmpty()) return std::nullopt;
    if (QFileInfo(*chosen).suffix().isEmpty()) *chosen += QStringLiteral(".xlsx");
    return chosen;
}

void exportProductWorkbook(const std::string& dataFolder, const QString& path, const QDateTime& now, Prompt& prompt,
                           Desktop& desktop, const Progress& progress) {
    MemTable rows(std::string(P::kTable));
    const ProductListTotals totals = collectProductList(dataFolder, ProductOrder::ByArticle, rows, progress);
    saveWorkbook(productWorkbook(rows, totals, now), path);
    if (!desktop.openFile(path))
        prompt.warning(QStringLiteral("Figyelem!"),
                       QStringLiteral("A munkafüzet elkészült, de nincs program, amely megnyitná: ") + path);
}

}  // namespace kavina::reports
