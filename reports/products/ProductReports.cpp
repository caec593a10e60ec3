#include "reports/products/ProductReports.h"

#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"
#include "reports/finance/FinanceReports.h"
#include "reports/turnover/ReportBands.h"

namespace kavina::reports {

using namespace bands;

QString periodLine(const QDate& from, const QDate& to) {
    return QStringLiteral("Időszak: ") + dateText(from) + QStringLiteral("-") + dateText(to);
}

std::unique_ptr<report::Layout> soldReport(MemTable& rows, SoldKind kind, const QDate& from, const QDate& to,
                                           const QString& user) {
    namespace S = soldlist;
    const QString subtitle =
        kind == SoldKind::Goods ? QStringLiteral("Eladott termékek") : QStringLiteral("Igénybe vett szolgáltatások");
    auto layout = statistics(&rows, subtitle, periodLine(from, to));
    const std::vector<Column> columns = {{QStringLiteral("Cikkszám"), 0, 35},
                                         {QStringLiteral("Megnevezés"), 35, 95},
                                         {QStringLiteral("Egységár (bruttó)"), 130, 32, true},
                                         {QStringLiteral("Forgalom"), 162, 25, true},
                                         {QStringLiteral("me."), 187, 15},
                                         {QStringLiteral("ÁFA"), 202, 15, true},
                                         {QStringLiteral("Össz. érték (Ft)"), 217, 60, true}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, S::CIKKSZAM, text(S::CIKKSZAM));
    addCell(detail, rows, columns[1], 0, S::NEV, text(S::NEV, 60));
    addCell(detail, rows, columns[2], 0, S::BRUTTOOSSZ, money(S::BRUTTOOSSZ));
    addCell(detail, rows, columns[3], 0, S::FORGALOM, plain(S::FORGALOM));
    addCell(detail, rows, columns[4], 0, S::EGYSEG, text(S::EGYSEG));
    addCell(detail, rows, columns[5], 0, S::AFA, plain(S::AFA));
    addCell(detail, rows, columns[6], 0, S::BRUTTO, money(S::BRUTTO));

    // The breakdown lists every rate in use, one printed line each.
    const std::vector<VatSum> rates = vatBreakdown(rows);
    long double total = 0;
    for (const VatSum& r : rates) total += r.gross;
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", (double(rates.size()) + 2) * kRow + 4);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    summary.addText("breakdown", QRectF(1, 2, 60, kRow - 0.5), QStringLiteral("ÁFA bontás"), kBold);
    double top = 2 + kRow;
    int i = 0;
    for (const VatSum& r : rates) {
        const std::string at = std::to_string(i++);
        summary.addText("rate_" + at, QRectF(1, top, 40, kRow - 0.5), plainNumber(r.rate) + QStringLiteral(" %"),
                        kPlain);
        summary.addText("gross_" + at, cell(columns[6], top), moneyText(r.gross), kRight);
        top += kRow;
    }
    addSummaryLine(summary, columns, top, QStringLiteral("Összesen:"), {{6, moneyText(double(total))}});
    addFooter(*layout, QStringLiteral("Kiállította: ") + user);
    return layout;
}

std::unique_ptr<report::Layout> byArticleReport(MemTable& rows, double totalMargin, const QDate& from, const QDate& to,
                                                const QString& user) {
    namespace R = articlelist;
    auto layout = statistics(&rows, QStringLiteral("Termékek cikszám szerint"), periodLine(from, to));
    const std::vector<Column> columns = {{QStringLiteral("Cikkszám"), 0, 35},
                                         {QStringLiteral("Megnevezés"), 35, 85},
                                         {QStringLiteral("Készleten van"), 120, 28, true},
                                         {QString(), 148, 14},
                                         {QStringLiteral("Eladott m."), 162, 25, true},
                                         {QStringLiteral("Nettó besz. ár"), 187, 30, true},
                                         {QStringLiteral("Nettó elad. ár"), 217, 30, true},
                                         {QStringLiteral("Árrés"), 247, 30, true}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, R::CIKKSZAM, text(R::CIKKSZAM));
    addCell(detail, rows, columns[1], 0, R::NEV, text(R::NEV, 55));
    addCell(detail, rows, columns[2], 0, R::KESZLET, plain(R::KESZLET));
    addCell(detail, rows, columns[3], 0, R::EGYSEG, text(R::EGYSEG));
    addCell(detail, rows, columns[4], 0, R::FORGALOM, plain(R::FORGALOM));
    addCell(detail, rows, columns[5], 0, R::NBESZ, plain(R::NBESZ));
    addCell(detail, rows, columns[6], 0, R::NELAD, plain(R::NELAD));
    addCell(detail, rows, columns[7], 0, R::ARRES, plain(R::ARRES));
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", kRow + 2);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    addSummaryLine(summary, columns, 2, QStringLiteral("Összesen:"), {{7, plainNumber(totalMargin)}});
    addFooter(*layout, QStringLiteral("Kiállította: ") + user);
    return layout;
}

std::unique_ptr<report::Layout> productListReport(MemTable& rows, const ProductListTotals& totals,
                                                  const QDateTime& printed) {
    namespace P = productlist;
    auto layout = std::make_unique<report::Layout>();
    layout->pageSetup().orientation = QPageLayout::Landscape;
    layout->setSource(&rows);
    const double width = layout->bandWidth();
    report::Band& header = layout->addBand(BandKind::PageHeader, "PageHeader", 16);
    header.addText("title", QRectF(0, 0, width, 8), QStringLiteral(" Részletes terméklista "),
                   kPlain.withSize(14).withBold().withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    header.addText(
        "printed", QRectF(0, 9, 120, kRow),
        QStringLiteral("Nyomtatva: ") + dateText(printed.date()) + QStringLiteral(", ") + timeText(printed.time()),
        kPlain);
    header.addPageNumber("page", QRectF(width - 60, 9, 60, kRow), QStringLiteral("{page}/{pages} oldal"), kRight);
    const std::vector<Column> columns = {{QStringLiteral("Cikkszám"), 0, 28},
                                         {QStringLiteral("Megnevezés"), 28, 62},
                                         {QStringLiteral("Jelenlegi készlet"), 90, 30, true},
                                         {QStringLiteral("Nettó besz. ár"), 120, 22, true},
                                         {QStringLiteral("Bruttó besz. ár"), 142, 24, true},
                                         {QStringLiteral("Nettó elad. ár"), 166, 24, true},
                                         {QStringLiteral("Bruttó elad. ár"), 190, 24, true},
                                         {QStringLiteral("ÁFA kulcs"), 214, 16, true},
                                         {QStringLiteral("Árrés %"), 230, 18, true},
                                         {QStringLiteral("Készlet érték"), 248, 29, true}};
    // The price heads are wider than their figures: they wrap onto two lines.
    report::Band& heads = layout->addBand(BandKind::ColumnHeader, "ColumnHeader", 2 * kRow + 2);
    for (const Column& c : columns) {
        TextStyle style = c.right ? kBoldRight : kBold;
        style.wordWrap = true;
        QRectF rect = cell(c, 0);
        rect.setHeight(2 * kRow - 0.5);
        heads.addText("head_" + c.title.toStdString(), rect, c.title, style);
    }
    heads.addLine("underline", QPointF(0, 2 * kRow + 1), QPointF(width, 2 * kRow + 1));
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, P::CIKKSZAM, text(P::CIKKSZAM));
    addCell(detail, rows, columns[1], 0, P::MEGNEVEZES, text(P::MEGNEVEZES, 40));
    addCell(detail, rows, columns[2], 0, P::MENNYISEG, [](const RecordCursor& r) {
        return plainNumber(r.asFloat(P::MENNYISEG)) + QLatin1Char(' ') + r.asString(P::EGYSEG).trimmed();
    });
    const Field prices[] = {P::BESZERZAR, P::bbesz, P::FIXAR, P::bfixar, P::AFAKULCS};
    for (size_t i = 0; i < 5; ++i) addCell(detail, rows, columns[i + 3], 0, prices[i], plain(prices[i]));
    addCell(detail, rows, columns[8], 0, P::ARRES, [](const RecordCursor& r) {
        return r.asLogical(P::HIBA) ? QStringLiteral("HIBA") : plainNumber(r.asFloat(P::ARRES));
    });
    addCell(detail, rows, columns[9], 0, P::ERTEK, plain(P::ERTEK));

    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", 4 * kRow + 3);
    summary.addLine("overline", QPointF(0, 1), QPointF(width, 1));
    // A sum is wider than its column: each ends at its column's right edge, the net and the
    // gross sums on lines of their own so that neighbours never overlap.
    const std::pair<int, double> sums[] = {
        {3, totals.purchaseNet}, {4, totals.purchaseGross}, {5, totals.saleNet}, {6, totals.saleGross}};
    for (const auto& [index, amount] : sums) {
        const Column& c = columns[size_t(index)];
        const double top = 2 + ((index - 3) % 2) * kRow;
        summary.addText("sum_" + std::to_string(index), QRectF(c.left + c.width - 49, top, 48, kRow - 0.5),
                        moneyText(amount).trimmed(), kBoldRight);
    }
    summary.addText("average", QRectF(1, 2 + 2 * kRow, 150, kRow - 0.5),
                    QStringLiteral("Átlag árrés : ") + plainNumber(double(roundTo(4, totals.averageMargin()))) +
                        QStringLiteral(" %"),
                    kBold);
    summary.addText("value", QRectF(1, 2 + 3 * kRow, 150, kRow - 0.5),
                    QStringLiteral("Készlet bto érték: ") + moneyText(double(roundTo(4, totals.stockValue))).trimmed(),
                    kBold);
    return layout;
}

}  // namespace kavina::reports
