#include "reports/turnover/TurnoverReports.h"

#include <QLocale>
#include <QMap>
#include <cmath>
#include <vector>

#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"

namespace kavina::reports {

namespace {

using namespace bands;

QString dayCaption(const QDate& day) {
    return dateText(day);
}
QString periodCaption(const QDate& from, const QDate& to) {
    return dateText(from) + QStringLiteral("-") + dateText(to);
}

// The VAT rows of one payment code, in rate order.
struct VatRow {
    double netto, afa, osszeg, brutto;
};

QMap<QString, std::vector<VatRow>> vatByCode(MemTable& vat) {
    QMap<QString, std::vector<VatRow>> byCode;
    const CursorMark at = vat.bookmark();
    for (vat.first(); !vat.eof(); vat.next())
        byCode[vat.asString(dayvat::fizmod).trimmed()].push_back({vat.asFloat(dayvat::netto), vat.asFloat(dayvat::afa),
                                                                  vat.asFloat(dayvat::osszeg),
                                                                  vat.asFloat(dayvat::brutto)});
    vat.gotoBookmark(at);
    return byCode;
}

}  // namespace

QString plainNumber(double x) {
    // The figures are kept to four decimals; a sum of them carries binary noise
    // (5200.200000000001) that the shortest form would print.
    // Beyond 10^14 four decimals no longer fit the rounding's 64-bit integer (nor a double).
    if (std::abs(x) < 1e14) x = double(roundTo(4, x));
    if (x == 0) return QStringLiteral("0");  // never "-0"
    QString s = QString::number(x, 'f', QLocale::FloatingPointShortest);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

std::unique_ptr<report::Layout> dailyTurnoverReport(MemTable& documents, MemTable& vat,
                                                    const DailyTurnoverTotals& totals, const QDate& day) {
    namespace D = daydocs;
    auto layout = titled(&documents, QStringLiteral("Napi forgalomkimutatás"), dayCaption(day));
    const double width = layout->bandWidth();
    const std::vector<Column> columns = {{QStringLiteral("Bizonylat"), 0, 45},
                                         {QStringLiteral("Vevő"), 45, 95},
                                         {QStringLiteral("Összeg"), 140, 50, true}};
    // The group being printed: its code and its running sum.
    struct Group {
        QString code;
        double sum = 0;
    };
    auto group = std::make_shared<Group>();

    report::Band& head = layout->addBand(BandKind::GroupHeader, "GroupHeader", 2 * kRow + 3);
    head.setGroupField(D::fizmod.text());
    report::Element& name = head.addText("group", QRectF(0, 1, width, kRow), {}, kBold.withSize(10));
    (void)name;
    addHeads(head, columns, kRow + 2);
    head.setBeforePrint([group, &documents](report::Band& band, report::PrintContext&) {
        group->code = documents.asString(D::fizmod).trimmed();
        group->sum = 0;
        band.element("group").text = paymentGroupName(group->code);
    });

    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, documents, columns[0], 0, D::bizonylat, text(D::bizonylat));
    addCell(detail, documents, columns[1], 0, D::vevo, text(D::vevo));
    addCell(detail, documents, columns[2], 0, D::osszeg, money(D::osszeg));
    detail.setBeforePrint(
        [group, &documents](report::Band&, report::PrintContext&) { group->sum += documents.asFloat(D::osszeg); });

    // The group's total, then its VAT breakdown: every rate of the code, one line each.
    const std::vector<Column> vatColumns = {{QStringLiteral("Nettó ár"), 0, 45, true},
                                            {QStringLiteral("ÁFA %"), 45, 25, true},
                                            {QStringLiteral("ÁFA Ft"), 70, 45, true},
                                            {QStringLiteral("Bruttóár"), 115, 45, true}};
    const auto breakdown = std::make_shared<QMap<QString, std::vector<VatRow>>>(vatByCode(vat));
    report::Band& foot = layout->addBand(BandKind::GroupFooter, "GroupFooter", 6 * kRow);
    foot.setGroupField(D::fizmod.text());
    foot.addText("total", QRectF(0, 0, 190, kRow), {}, kBoldRight);
    foot.addText("breakdown", QRectF(0, kRow, 60, kRow), QStringLiteral("ÁFABONTÁS"), kBold);
    addHeads(foot, vatColumns, 2 * kRow);
    for (size_t i = 0; i < vatColumns.size(); ++i)
        foot.addText("rates_" + std::to_string(i), cell(vatColumns[i], 3 * kRow), {},
                     kRight.withAlignment(Qt::AlignRight | Qt::AlignTop));
    foot.addText("summary", QRectF(1, 4 * kRow, 44, kRow), QStringLiteral("ÖSSZESÍTÉS"), kBold);
    for (size_t i : {size_t(0), size_t(2), size_t(3)})
        foot.addText("sum_" + std::to_string(i), cell(vatColumns[i], 4 * kRow), {}, kBoldRight);
    foot.setBeforePrint([group, breakdown, vatColumns](report::Band& band, report::PrintContext&) {
        band.element("total").text = QStringLiteral("Összesen: ") + moneyText(group->sum);
        const std::vector<VatRow> rows = breakdown->value(group->code);
        const int lines = std::max<int>(1, int(rows.size()));
        QStringList columnsText[4];
        double sums[4] = {};
        for (const VatRow& r : rows) {
            const double values[4] = {r.netto, r.afa, r.osszeg, r.brutto};
            for (int i = 0; i < 4; ++i) {
                columnsText[i] << plainNumber(values[i]);
                sums[i] += values[i];
            }
        }
        for (int i = 0; i < 4; ++i) {
            if (rows.empty()) columnsText[i] << QStringLiteral("0");
            report::Element& e = band.element("rates_" + std::to_string(i));
            e.text = columnsText[i].join(QLatin1Char('\n'));
            e.rect = cell(vatColumns[size_t(i)], 3 * kRow);
            e.rect.setHeight(lines * kRow - 0.5);
        }
        const double sumTop = (3 + lines) * kRow;
        band.element("summary").rect.moveTop(sumTop);
        for (int i : {0, 2, 3}) {
            report::Element& e = band.element("sum_" + std::to_string(i));
            e.text = plainNumber(sums[i]);
            e.rect.moveTop(sumTop);
        }
        band.setHeight(sumTop + kRow + 3);
    });

    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", 6 * kRow);
    summary.addLine("overline", QPointF(0, 1), QPointF(width, 1));
    summary.addText("caption", QRectF(0, 2, 60, kRow), QStringLiteral("Összesítés:"), kBold.withSize(10));
    const std::pair<QString, int64_t> lines[] = {
        {QStringLiteral("Átutalásos számlák"), totals.transfer},
        {QStringLiteral("Készpénzes számlák"), totals.cash},
        {QStringLiteral("Pénztárgépes értékesítések"), totals.cashRegister},
        {QStringLiteral("Készpénzes forgalom összesen"), totals.cashTurnover()}};
    double top = 2 + kRow;
    int i = 0;
    for (const auto& [caption, amount] : lines) {
        summary.addText("line_" + std::to_string(i), QRectF(1, top, 80, kRow), caption, kPlain);
        summary.addText("amount_" + std::to_string(i++), QRectF(81, top, 50, kRow), moneyText(double(amount)), kRight);
        top += kRow;
    }
    return layout;
}

std::unique_ptr<report::Layout> dailyArticlesReport(MemTable& articles, double total, const QDate& day) {
    namespace A = dayarticles;
    auto layout = titled(&articles, QStringLiteral("Napi forgalomkimutatás"), dayCaption(day));
    const std::vector<Column> columns = {{QStringLiteral("Cikkszám"), 0, 30},
                                         {QStringLiteral("Megnevezés"), 30, 80},
                                         {QStringLiteral("Mennyiség"), 110, 22, true},
                                         {QStringLiteral("Egység"), 132, 18},
                                         {QStringLiteral("Bruttó ár"), 150, 40, true}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, articles, columns[0], 0, A::cikkszam, text(A::cikkszam));
    addCell(detail, articles, columns[1], 0, A::megnevezes, text(A::megnevezes, 50));
    addCell(detail, articles, columns[2], 0, A::mennyiseg, plain(A::mennyiseg));
    addCell(detail, articles, columns[3], 0, A::egyseg, text(A::egyseg));
    addCell(detail, articles, columns[4], 0, A::bruttoar, money(A::bruttoar));
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", kRow + 2);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    addSummaryLine(summary, columns, 2, QStringLiteral("Összesen:"), {{4, moneyText(total)}});
    return layout;
}

std::unique_ptr<report::Layout> dailyProfitReport(const DailyProfit& profit, const QDate& day) {
    auto layout = titled(nullptr, QStringLiteral("Napi forgalomkimutatás haszonszámítással"), dayCaption(day));
    const std::vector<Column> columns = {{QString(), 0, 70},
                                         {QStringLiteral("Bruttó össz."), 70, 40, true},
                                         {QStringLiteral("Nettó haszon"), 110, 40, true},
                                         {QStringLiteral("Árrés (%)"), 150, 40, true}};
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", 7 * kRow);
    summary.addText("caption", QRectF(0, 0, 60, kRow), QStringLiteral("Összesítés:"), kBold.withSize(10));
    addHeads(summary, {columns.begin() + 1, columns.end()}, kRow + 1);
    const std::pair<QString, const ProfitClass*> rows[] = {
        {QStringLiteral("Átutalásos számlák"), &profit.transfer},
        {QStringLiteral("Készpénzes számlák"), &profit.cash},
        {QStringLiteral("Pénztárgépes értékesítések"), &profit.cashRegister},
        {QStringLiteral("Forgalom összesen"), &profit.total}};
    double top = 2 * kRow + 2;
    for (const auto& [caption, c] : rows) {
        const bool last = c == &profit.total;
        const std::string at = std::to_string(int(top));
        summary.addText("row_" + at, cell(columns[0], top), caption, last ? kBold : kPlain);
        summary.addText("gross_" + at, cell(columns[1], top), plainNumber(double(c->gross)),
                        last ? kBoldRight : kRight);
        summary.addText("profit_" + at, cell(columns[2], top), plainNumber(c->profit), last ? kBoldRight : kRight);
        summary.addText("margin_" + at, cell(columns[3], top), plainNumber(c->margin), last ? kBoldRight : kRight);
        top += kRow;
    }
    return layout;
}

std::unique_ptr<report::Layout> profitPerDayReport(MemTable& rows, const ProfitPerDayTotals& totals, const QDate& from,
                                                   const QDate& to) {
    namespace R = perday;
    auto layout = titled(&rows, QStringLiteral("Forgalom kimutatás haszon számítással"), periodCaption(from, to));
    const std::vector<Column> columns = {{QStringLiteral("Dátum"), 0, 24},
                                         {QStringLiteral("KP. bruttó"), 24, 28, true},
                                         {QStringLiteral("PG. bruttó"), 52, 28, true},
                                         {QStringLiteral("ÁT. bruttó"), 80, 28, true},
                                         {QStringLiteral("Bruttó össz."), 108, 30, true},
                                         {QStringLiteral("Haszon"), 138, 28, true},
                                         {QStringLiteral("Árrés (%)"), 166, 24, true}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, R::datum, text(R::datum));
    const Field amounts[] = {R::kp, R::pg, R::ut, R::br, R::haszon, R::arres};
    for (size_t i = 0; i < 6; ++i) addCell(detail, rows, columns[i + 1], 0, amounts[i], plain(amounts[i]));
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", kRow + 2);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    addSummaryLine(summary, columns, 2, QStringLiteral("Összesen:"),
                   {{1, plainNumber(totals.kp)},
                    {2, plainNumber(totals.pg)},
                    {3, plainNumber(totals.ut)},
                    {4, plainNumber(totals.br)},
                    {5, plainNumber(totals.haszon)},
                    {6, plainNumber(totals.margin)}});
    return layout;
}

std::unique_ptr<report::Layout> profitPerProductReport(MemTable& rows, const ProfitPerProductTotals& totals,
                                                       const QDate& from, const QDate& to) {
    namespace R = perproduct;
    auto layout = titled(&rows, QStringLiteral("Időszakos haszon, és átlag árrés számítás termékenként"),
                         periodCaption(from, to));
    const std::vector<Column> columns = {
        {QStringLiteral("Cikkszám"), 0, 30},           {QStringLiteral("Megnevezés"), 30, 160},
        {QStringLiteral("Mennyiség"), 0, 40, true},    {QStringLiteral("Á.N.Besz ár"), 50, 32, true},
        {QStringLiteral("Á.N.Elad ár"), 82, 32, true}, {QStringLiteral("Haszon"), 114, 40, true},
        {QStringLiteral("Árrés (%)"), 154, 36, true}};
    report::Band& heads = layout->addBand(BandKind::ColumnHeader, "ColumnHeader", 2 * kRow + 2);
    addHeads(heads, {columns.begin(), columns.begin() + 2}, 0);
    addHeads(heads, {columns.begin() + 2, columns.end()}, kRow);
    heads.addLine("underline", QPointF(0, 2 * kRow + 1), QPointF(layout->bandWidth(), 2 * kRow + 1));
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", 2 * kRow + 1);
    addCell(detail, rows, columns[0], 0, R::cikkszam, text(R::cikkszam));
    addCell(detail, rows, columns[1], 0, R::megnevezes, text(R::megnevezes));
    addCell(detail, rows, columns[2], kRow, R::mennyiseg, plain(R::mennyiseg));
    addCell(detail, rows, {QStringLiteral("Egység"), 40, 12}, kRow, R::egyseg, text(R::egyseg));
    const Field amounts[] = {R::anbesz, R::anelad, R::haszon, R::arres};
    for (size_t i = 0; i < 4; ++i) addCell(detail, rows, columns[i + 3], kRow, amounts[i], plain(amounts[i]));
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", kRow + 2);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    addSummaryLine(summary, columns, 2, QStringLiteral("Összesen:"),
                   {{5, plainNumber(totals.haszon)}, {6, plainNumber(totals.averageMargin)}});
    return layout;
}

}  // namespace kavina::reports
