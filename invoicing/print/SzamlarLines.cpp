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

struct AmountColumn {
    const char* field;
    Column column;
};

constexpr AmountColumn kAmounts[] = {{"EGYSEGAR", szamlar::kUnitPrice},
                                     {"NETTOAR", szamlar::kNetValue},
                                     {"AFAFT", szamlar::kVatAmount},
                                     {"OSSZESEN", szamlar::kGrossValue}};

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
    band.element("ITJSZAM").text = line.asString("ITJSZAM");
    band.element("MEGNEVEZES").text = line.asString("MEGNEVEZES");
    band.element("MENNYISEG").text = generalNumberText(line.asFloat("MENNYISEG"));
    band.element("EGYSEG").text = line.asString("EGYSEG");
    const double rate = line.asFloat("AFA");
    band.element("AFA").text = rate == 0 ? QStringLiteral("FAD") : generalNumberText(rate);
    if (Element* remark = band.find("MEGJEGYZES")) remark->text = line.asString("MEGJEGYZES");
    for (const AmountColumn& a : kAmounts) {
        Element& cell = band.element(a.field);
        if (run.supplierOrderForm())
            cell.text.clear();
        else
            setAmount(run, cell, line.asFloat(a.field), std::string_view(a.field) == "AFAFT");
    }
    run.vat.add(rate, line.asFloat("NETTOAR"), line.asFloat("AFAFT"), line.asFloat("OSSZESEN"));
}

// Two rows: the numbers and the remark go under however many lines the name took.
void placeSecondRow(Band& band, double rowHeight) {
    Element& name = band.element("MEGNEVEZES");
    const double nameHeight = std::max(rowHeight, report::textHeight(name.style, name.text, name.rect.width()));
    for (const auto& e : band.elements())
        if (e->name != "ITJSZAM" && e->name != "MEGNEVEZES") e->rect.moveTop(nameHeight);
    band.setHeight(nameHeight + rowHeight);
}

// Without prices the name keeps to one line, as wide as it is, up to the first column.
void fitNameOnOneLine(SzamlarRun& run, Band& band) {
    Element& name = band.element("MEGNEVEZES");
    const double room = run.quantityColumn().x - name.rect.left() - 1;
    name.rect.setWidth(std::min(room, report::textWidth(name.style, name.text) + 0.5));
}

void addCell(Band& band, const char* field, Column column, double top, double height, const TextStyle& style) {
    band.addText(field, QRectF(column.x, top, column.width, height), QString(), style);
}

}  // namespace

void buildLines(SzamlarRun& run) {
    const TextStyle style = run.lineStyle();
    const double row = run.lineRowHeight();
    Band& group = run.layout.addBand(BandKind::GroupHeader, "group", row + 1.5);
    group.setGroupField("TERMEK");
    group.addText("groupName", QRectF(szamlar::kTariff.x, 1, 80, row), QString(),
                  style.withSize(style.pointSize + 1).withBold());
    group.setBeforePrint([&run](Band& band, report::PrintContext&) {
        band.element("groupName").text = run.lines.asLogical("TERMEK") ? "Szolgáltatások" : "Termékek";
    });

    const bool twoRows = run.environment().szlistmode == 1 && !run.supplierOrderForm();
    const double second = twoRows ? row : 0;
    Band& detail = run.layout.addBand(BandKind::Detail, "detail", row + second);
    addCell(detail, "ITJSZAM", szamlar::kTariff, 0, row, style);
    const Column name = twoRows ? szamlar::kNameFullRow : szamlar::kNameOneRow;
    Element& nameCell = detail.addText("MEGNEVEZES", QRectF(name.x, 0, name.width, row), QString(),
                                       style.wrapped(!run.supplierOrderForm()));
    nameCell.stretch = !run.supplierOrderForm();
    if (twoRows) {
        Element& remark = detail.addText("MEGJEGYZES", QRectF(szamlar::kRemark.x, second, szamlar::kRemark.width, row),
                                         QString(), style.withItalic().wrapped());
        remark.stretch = true;
    }
    addCell(detail, "MENNYISEG", run.quantityColumn(), second, row, style.withAlignment(kRight));
    addCell(detail, "EGYSEG", run.unitColumn(), second, row, style);
    addCell(detail, "AFA", run.rateColumn(), second, row, style.withAlignment(kCentre));
    for (const AmountColumn& a : kAmounts) addCell(detail, a.field, a.column, second, row, style.withAlignment(kRight));
    detail.setBeforePrint([&run, twoRows, row](Band& band, report::PrintContext&) {
        fillLine(run, band);
        if (twoRows) placeSecondRow(band, row);
        if (run.supplierOrderForm()) fitNameOnOneLine(run, band);
    });
}

}  // namespace kavina
