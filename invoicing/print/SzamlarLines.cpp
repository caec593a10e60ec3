// TSzamlar's lines: the group header between products and services and one detail band per
// line, in one row or, with szlistmode, the name on a full row and the numbers with the line
// remark under it. Every printed line adds to the VAT summary.
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
using szamlar::Column;
using szamlar::kCentre;
using szamlar::kRight;

namespace L = fields::Szamla2;

struct AmountColumn {
    Field field;
    Column column;
};

constexpr AmountColumn kAmounts[] = {{L::EGYSEGAR, szamlar::kUnitPrice},
                                     {L::NETTOAR, szamlar::kNetValue},
                                     {L::AFAFT, szamlar::kVatAmount},
                                     {L::OSSZESEN, szamlar::kGrossValue}};

// Sets an amount cell: the money format, in italics when that rounds the amount.
void setAmount(SzamlarRun& run, Element& cell, double value, bool zeroAsDashes) {
    if (zeroAsDashes && value == 0) {
        cell.text = QStringLiteral("---");
        cell.style.italic = false;
        return;
    }
    cell.text = moneyText(value);
    cell.style.italic = needsMoreThanTwoDecimals(value);
    run.italic = run.italic || cell.style.italic;
}

void fillLine(SzamlarRun& run, Band& band) {
    const RecordCursor& line = run.lines;
    // Each cell is named after the field it shows.
    for (const Field& f : {L::MEGNEVEZES, L::EGYSEG}) band.element(f.name).text = line.asString(f);
    band.element(L::ITJSZAM.name).text = line.asString(run.firstColumnField());
    band.element(L::MENNYISEG.name).text = generalNumberText(line.asFloat(L::MENNYISEG));
    const double rate = line.asFloat(L::AFA);
    band.element(L::AFA.name).text = rate == 0 ? run.zeroRateText() : generalNumberText(rate);
    run.zeroRatePrinted = run.zeroRatePrinted || rate == 0;
    if (Element* remark = band.find(L::MEGJEGYZES.name)) remark->text = line.asString(L::MEGJEGYZES);
    for (const AmountColumn& a : kAmounts) {
        Element& cell = band.element(a.field.name);
        if (run.supplierOrderForm())
            cell.text.clear();
        else
            setAmount(run, cell, line.asFloat(a.field), a.field.name == L::AFAFT.name);
    }
    run.vat.add(rate, line.asFloat(L::NETTOAR), line.asFloat(L::AFAFT), line.asFloat(L::OSSZESEN));
}

// Two rows: the numbers and the remark go under however many lines the name took.
void placeSecondRow(Band& band, double rowHeight) {
    Element& name = band.element(L::MEGNEVEZES.name);
    const double nameHeight = std::max(rowHeight, report::textHeight(name.style, name.text, name.rect.width()));
    for (const auto& e : band.elements())
        if (e->name != L::ITJSZAM.name && e->name != L::MEGNEVEZES.name) e->rect.moveTop(nameHeight);
    band.setHeight(nameHeight + rowHeight);
}

// Without prices the name keeps to one line, as wide as it is, up to the first column.
void fitNameOnOneLine(SzamlarRun& run, Band& band) {
    Element& name = band.element(L::MEGNEVEZES.name);
    const double room = run.quantityColumn().x - name.rect.left() - 1;
    name.rect.setWidth(std::min(room, report::textWidth(name.style, name.text) + 0.5));
}

void addCell(Band& band, const Field& field, Column column, double top, double height, const TextStyle& style) {
    band.addText(field.text(), QRectF(column.x, top, column.width, height), QString(), style);
}

}  // namespace

void buildLines(SzamlarRun& run) {
    const TextStyle style = run.lineStyle();
    const double row = run.lineRowHeight();
    Band& group = run.layout.addBand(BandKind::GroupHeader, "group", row + 1.5);
    group.setGroupField(L::TERMEK.text());
    group.addText("groupName", QRectF(szamlar::kTariff.x, 1, 80, row), QString(),
                  style.withSize(style.pointSize + 1).withBold());
    group.setBeforePrint([&run](Band& band, report::PrintContext&) {
        band.element("groupName").text = run.lines.asLogical(L::TERMEK) ? "Szolgáltatások" : "Termékek";
    });

    const bool twoRows = run.environment().szlistmode == 1 && !run.supplierOrderForm();
    const double second = twoRows ? row : 0;
    Band& detail = run.layout.addBand(BandKind::Detail, "detail", row + second);
    addCell(detail, L::ITJSZAM, szamlar::kTariff, 0, row, style);
    const Column name = twoRows ? szamlar::kNameFullRow : szamlar::kNameOneRow;
    Element& nameCell = detail.addText(L::MEGNEVEZES.text(), QRectF(name.x, 0, name.width, row), QString(),
                                       style.wrapped(!run.supplierOrderForm()));
    nameCell.stretch = !run.supplierOrderForm();
    if (twoRows) {
        Element& remark =
            detail.addText(L::MEGJEGYZES.text(), QRectF(szamlar::kRemark.x, second, szamlar::kRemark.width, row),
                           QString(), style.withItalic().wrapped());
        remark.stretch = true;
    }
    addCell(detail, L::MENNYISEG, run.quantityColumn(), second, row, style.withAlignment(kRight));
    addCell(detail, L::EGYSEG, run.unitColumn(), second, row, style);
    addCell(detail, L::AFA, run.rateColumn(), second, row, style.withAlignment(kCentre));
    for (const AmountColumn& a : kAmounts) addCell(detail, a.field, a.column, second, row, style.withAlignment(kRight));
    detail.setBeforePrint([&run, twoRows, row](Band& band, report::PrintContext&) {
        fillLine(run, band);
        if (twoRows) placeSecondRow(band, row);
        if (run.supplierOrderForm()) fitNameOnOneLine(run, band);
    });
}

}  // namespace kavina
