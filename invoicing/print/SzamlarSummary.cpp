// TSzamlar's closing bands: the VAT summary with the amount payable, the remark with the
// footer rich text, and the page footer.
#include <QTextDocument>

#include "foundation/Rtf.h"
#include "foundation/SzamSzov.h"
#include "invoicing/print/PrintText.h"
#include "invoicing/print/SzamlarRun.h"
#include "report/PagePainter.h"

namespace kavina {
namespace {

using report::Band;
using report::BandKind;
using report::Element;
using report::TextStyle;
using szamlar::kRight;

constexpr double kTableTop = 10;  // under the two-line headings
constexpr double kRowHeight = 4.2;
constexpr double kColumnsLeft = 40;
constexpr double kColumnWidth = 30;

// The five amount columns of the summary, left to right.
constexpr const char* kCells[] = {"net", "discount", "discountedNet", "vat", "gross"};

double cellsOf(const VatRow& row, int i) {
    const double values[] = {row.net, row.discount, row.discountedNet, row.vat, row.gross};
    return values[i];
}

QRectF cellRect(int column, double top) {
    return QRectF(kColumnsLeft + column * kColumnWidth, top, kColumnWidth - 0.5, kRowHeight);
}

std::string rowName(const char* cell, int row) {
    return std::string(cell) + std::to_string(row);
}

void addHeadings(SzamlarRun& run, Band& band) {
    const TextStyle s = run.base.withSize(7).withBold();
    band.addLine("top", QPointF(0, 0.5), QPointF(szamlar::kWidth, 0.5), 0.3);
    band.addText("caption1", QRectF(0, 1.5, 40, 3.8), "A számlában szereplő", s);
    band.addText("caption2", QRectF(0, 5.2, 40, 3.8), "ÁFA részletezése", s);
    const QString discount = "(" + run.headerText(fields::Szamla::KEDVEZMENY) + " %)";
    const std::pair<QString, QString> heads[] = {{"Összesen", ""},
                                                 {"Kedvezmény", discount},
                                                 {"ÁFA nélküli", "számlaérték"},
                                                 {"Áthárított ÁFA", "összege"},
                                                 {"ÁFA-t tartalmazó", "számla végösszege"}};
    for (int i = 0; i < 5; ++i) {
        const QRectF upper = cellRect(i, 1.5);
        band.addText(rowName("head", i) + "Upper", upper, heads[i].first, s.withAlignment(kRight));
        band.addText(rowName("head", i) + "Lower", upper.translated(0, 3.7), heads[i].second, s.withAlignment(kRight));
    }
}

void addRows(SzamlarRun& run, Band& band) {
    const TextStyle s = run.base;
    for (int r = 0; r < VatSummary::kPrintedRates; ++r) {
        const double top = kTableTop + r * kRowHeight;
        band.addText(rowName("rate", r), QRectF(2, top, 36, kRowHeight), QString(), s);
        for (int c = 0; c < 5; ++c)
            band.addText(rowName(kCells[c], r), cellRect(c, top), QString(), s.withAlignment(kRight));
    }
    band.addLine("totalsLine", QPointF(kColumnsLeft, kTableTop), QPointF(szamlar::kWidth, kTableTop), 0.2);
    for (int c = 0; c < 5; ++c)
        band.addText(rowName(kCells[c], 9), cellRect(c, kTableTop), QString(), s.withBold().withAlignment(kRight));
    band.addText("rounding", QRectF(0, 0, szamlar::kWidth, 4), QString(), s.withAlignment(kRight));
    const TextStyle big = s.withSize(12).withBold();
    band.addText("payableLabel", QRectF(90, 0, 40, 6), "Fizetendő:", big);
    band.addText("payable", QRectF(130, 0, 52, 6), QString(), big.withAlignment(kRight));
    band.addText("payableUnit", QRectF(183, 0, 7, 6), "Ft", big.withAlignment(kRight));
    band.addText("words", QRectF(0, 0, szamlar::kWidth, 4.5), QString(),
                 s.withSize(9).withItalic().withAlignment(kRight));
    Element& note = band.addText("note", QRectF(0, 0, szamlar::kWidth, 4), QString(), s.withSize(7.5).wrapped());
    note.stretch = true;
}

QString summaryAmount(double value) {
    return printsAsZero(value) ? QString() : moneyText(value);
}

QString rateCell(const SzamlarRun& run, const VatRow& row, int index) {
    if (row.rate == 0) return index == 0 ? run.zeroRateText() : QString();
    return generalNumberText(row.rate) + " %";
}

QString noteLine(const SzamlarRun& run) {
    QString note;
    if (run.header.asFloat(fields::Szamla::szlnetto) > 0)
        note = " Az eredeti bizonylaton szereplő nettó ár: " +
               generalNumberText(run.header.asFloat(fields::Szamla::szlnetto)) +
               " Ft, bruttó ár: " + generalNumberText(run.header.asFloat(fields::Szamla::szlbrutto)) + " Ft";
    if (run.italic) note += TSzamlar::kItalicNote;
    return note;
}

// Fills the rows from the VAT summary and moves what follows the table under its last row.
void fillSummary(SzamlarRun& run, Band& band) {
    const int discount = int(run.header.asInteger(fields::Szamla::KEDVEZMENY));
    const std::vector<VatRow> rows = run.vat.printedRows(discount);
    for (int r = 0; r < VatSummary::kPrintedRates; ++r) {
        const bool shown = r < int(rows.size());
        band.element(rowName("rate", r)).text = shown ? rateCell(run, rows[size_t(r)], r) : QString();
        for (int c = 0; c < 5; ++c)
            band.element(rowName(kCells[c], r)).text = shown ? summaryAmount(cellsOf(rows[size_t(r)], c)) : QString();
    }
    const double totalsTop = kTableTop + rows.size() * kRowHeight + 0.6;
    const VatRow totals = run.vat.totals(discount);
    band.element("totalsLine").rect =
        QRectF(QPointF(kColumnsLeft, totalsTop - 0.3), QPointF(szamlar::kWidth, totalsTop - 0.3));
    for (int c = 0; c < 5; ++c) {
        Element& cell = band.element(rowName(kCells[c], 9));
        cell.text = moneyText(cellsOf(totals, c));
        cell.rect.moveTop(totalsTop);
    }
    const double payable = run.header.asFloat(fields::Szamla::FIZETENDO);
    const double difference = payable - totals.gross;
    double y = totalsTop + kRowHeight + 0.8;
    Element& rounding = band.element("rounding");
    rounding.text = printsAsZero(difference) ? QString() : "kerekítésből adódó eltérés: " + moneyText(difference);
    rounding.rect.moveTop(y);
    y += kRowHeight + 0.5;
    const int64_t whole = floatToInteger(payable);
    band.element("payable").text = groupDigits(whole) + (run.inMemory ? ",-" : "");
    for (const char* name : {"payableLabel", "payable", "payableUnit"}) band.element(name).rect.moveTop(y);
    band.element("words").text = "azaz " + SzamSzov(whole) + " Ft";
    band.element("words").rect.moveTop(y + 6.5);
    band.element("note").text = noteLine(run);
    band.element("note").rect.moveTop(y + 11.5);
    band.setHeight(y + 16);
}

std::shared_ptr<QTextDocument> footerDocument(const SzamlarRun& run, const std::optional<Field>& field) {
    if (!field) return nullptr;
    const QString memo = run.settingsText(*field);
    if (memo.trimmed().isEmpty()) return nullptr;
    auto document = std::make_shared<QTextDocument>();
    readFooterText(memo, *document);
    return document;
}

}  // namespace

void buildSummary(SzamlarRun& run) {
    Band& band = run.layout.addBand(BandKind::Summary, "summary", 40);
    addHeadings(run, band);
    addRows(run, band);
    band.setBeforePrint([&run](Band& b, report::PrintContext& context) {
        // Without prices there is nothing to sum up.
        if (run.supplierOrderForm()) {
            context.print = false;
            return;
        }
        fillSummary(run, b);
    });
}

bool hasZeroRateLine(SzamlarRun& run) {
    RecordCursor& lines = run.lines;
    if (lines.isEmpty()) return false;
    const CursorMark at = lines.bookmark();
    bool found = false;
    for (lines.first(); !lines.eof() && !found; lines.next()) found = lines.asFloat(fields::Szamla2::AFA) == 0;
    lines.gotoBookmark(at);
    return found;
}

void buildRemark(SzamlarRun& run) {
    const Field& remarkField = fields::Szamla::MEGJEGYZES;
    QString remark = run.headerText(remarkField).trimmed();
    // The legal reason of an exemption goes with every document that has a line of that rate.
    if (run.zeroCase && !run.zeroCase->reason.isEmpty() && hasZeroRateLine(run)) {
        const QString reason = run.zeroCase->code + QStringLiteral(": ") + run.zeroCase->reason;
        remark = remark.isEmpty() ? reason : remark + QLatin1Char('\n') + reason;
    }
    const std::shared_ptr<QTextDocument> footer = footerDocument(run, run.footerField());
    if (remark.isEmpty() && !footer) return;
    Band& band = run.layout.addBand(BandKind::Summary, "remark", 1);
    const TextStyle s = run.base.withSize(8).wrapped();
    double top = 1;
    if (!remark.isEmpty()) {
        // The remark has room for three lines, more when it needs them.
        const double threeLines = 3 * report::textHeight(s, QStringLiteral("Ág"), 100);
        Element& text = band.addText(remarkField.text(), QRectF(0, top, szamlar::kWidth, threeLines), remark, s);
        text.stretch = true;
        top += std::max(threeLines, report::textHeight(s, text.text, szamlar::kWidth)) + 1;
    }
    if (footer) band.addRichText("footer", QRectF(0, top, szamlar::kWidth, 0), footer);
}

void buildPageFooter(SzamlarRun& run) {
    const Field& pageFooterField = fields::User::LAPLABLEC;
    const std::shared_ptr<QTextDocument> footer = footerDocument(run, pageFooterField);
    const double footerHeight = footer ? report::richTextHeight(*footer, 128) : 0;
    const double y = std::max(footerHeight, 4.0) + 1.5;
    Band& band = run.layout.addBand(BandKind::PageFooter, "pageFooter", y + 4);
    band.addLine("top", QPointF(0, 0.3), QPointF(szamlar::kWidth, 0.3), 0.2);
    if (footer) band.addRichText(pageFooterField.text(), QRectF(0, 1, 128, footerHeight), footer);
    const TextStyle s = run.base;
    band.addText("madeBy", QRectF(130, 1, 60, 4), "Készítette: " + run.environment().currentUser,
                 s.withAlignment(kRight));
    band.addText("program", QRectF(0, y, 95, 3.5), TSzamlar::kProgramLabel, s.withSize(6.5));
    band.addText("maker", QRectF(95, y, 95, 3.5), TSzamlar::kMakerAddress, s.withSize(6.5).withAlignment(kRight));
}

}  // namespace kavina
