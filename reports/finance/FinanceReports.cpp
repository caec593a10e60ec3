#include "reports/finance/FinanceReports.h"

#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"
#include "reports/turnover/ReportBands.h"

namespace kavina::reports {

namespace {

using namespace bands;

QString periodText(const QDate& from, const QDate& to) {
    return QStringLiteral("Időszak: ") + dateText(from) + QStringLiteral(" - ") + dateText(to);
}

Format day(const Field& f) {
    return [f](const RecordCursor& r) { return dateText(r.asDate(f)); };
}
Format grouped(const Field& f) {
    return [f](const RecordCursor& r) { return groupDigits(floatToInteger(r.asFloat(f))).trimmed(); };
}

}  // namespace

std::unique_ptr<report::Layout> statistics(RecordCursor* source, const QString& subtitle, const QString& period) {
    auto layout = std::make_unique<report::Layout>();
    layout->pageSetup().orientation = QPageLayout::Landscape;
    layout->setSource(source);
    const double width = layout->bandWidth();
    report::Band& band = layout->addBand(BandKind::Title, "Title", period.isEmpty() ? 20 : 25);
    band.addText("title", QRectF(0, 0, width, 8), QStringLiteral(" STATISZTIKA "),
                 kPlain.withSize(14).withBold().withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    band.addText("subtitle", QRectF(0, 9, width, 6), subtitle,
                 kBold.withSize(11).withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    if (!period.isEmpty())
        band.addText("period", QRectF(0, 16, width, 6), period, kPlain.withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    band.addLine("underline", QPointF(0, band.height() - 2), QPointF(width, band.height() - 2));
    return layout;
}

QString numberText(double x) {
    QString text = moneyText(x);
    text.chop(3);  // " Ft"
    return text;
}

std::unique_ptr<report::Layout> turnoverListReport(MemTable& rows, int64_t total, const QDate& from, const QDate& to,
                                                   const QString& user) {
    namespace T = turnoverlist;
    auto layout = statistics(&rows, QStringLiteral("Forgalom kimutatás"), periodText(from, to));
    const std::vector<Column> columns = {
        {QStringLiteral("Számlaszám"), 0, 35},   {QStringLiteral("Név"), 35, 65},
        {QStringLiteral("Cím"), 100, 70},        {QStringLiteral("Készült"), 170, 22},
        {QStringLiteral("Teljesítés"), 192, 22}, {QStringLiteral("Bruttó összeg"), 214, 33, true},
        {QStringLiteral("Fiz.mód"), 249, 28}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, T::SZAMLASZAM, text(T::SZAMLASZAM));
    addCell(detail, rows, columns[1], 0, T::NEV, text(T::NEV));
    addCell(detail, rows, columns[2], 0, T::TELJESCIM, text(T::TELJESCIM));
    addCell(detail, rows, columns[3], 0, T::KIALLIT, day(T::KIALLIT));
    addCell(detail, rows, columns[4], 0, T::teljesit, day(T::teljesit));
    addCell(detail, rows, columns[5], 0, T::FIZETENDO, grouped(T::FIZETENDO));
    addCell(detail, rows, columns[6], 0, T::FIZMOD, text(T::FIZMOD));
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", 2 * kRow + 3);
    const double width = layout->bandWidth();
    summary.addLine("overline", QPointF(0, 1), QPointF(width, 1));
    summary.addText("total", QRectF(0, 2, width, kRow),
                    QStringLiteral("Bruttó forgalom összesen: ") + forintText(total).trimmed(), kBold);
    summary.addText("words", QRectF(0, 2 + kRow, width, kRow),
                    QStringLiteral("azaz ") + SzamSzov(total) + QStringLiteral(" Ft"), kPlain);
    addFooter(*layout, QStringLiteral("Kiállította: ") + user);
    return layout;
}

std::unique_ptr<report::Layout> profitListReport(MemTable& rows, const ProfitTotals& totals, ProfitBasis basis,
                                                 const QDate& from, const QDate& to, const QString& user) {
    namespace P = profitlist;
    auto layout = statistics(&rows,
                             basis == ProfitBasis::Invoices ? QStringLiteral("Haszon számítás (számlák)")
                                                            : QStringLiteral("Haszon számítás (szállítók)"),
                             periodText(from, to));
    const std::vector<Column> columns = {{QStringLiteral("Számlaszám"), 0, 35},
                                         {QStringLiteral("Név"), 35, 70},
                                         {QStringLiteral("Cím"), 105, 70},
                                         {QStringLiteral("Besz.ár"), 175, 30, true},
                                         {QStringLiteral("Elad. ár"), 205, 30, true},
                                         {QStringLiteral("Haszon"), 235, 42, true}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, P::szamlaszam, text(P::szamlaszam));
    addCell(detail, rows, columns[1], 0, P::nev, text(P::nev));
    addCell(detail, rows, columns[2], 0, P::cim, text(P::cim));
    addCell(detail, rows, columns[3], 0, P::beszar, money(P::beszar));
    addCell(detail, rows, columns[4], 0, P::eladar, money(P::eladar));
    addCell(detail, rows, columns[5], 0, P::haszonft, [](const RecordCursor& r) {
        const QString amount = moneyText(r.asFloat(P::haszonft)).trimmed();
        if (r.asString(P::haszonsz).trimmed().isEmpty()) return amount;
        return amount + QStringLiteral(" (") + numberText(r.asFloat(P::haszonsz)).trimmed() + QStringLiteral("%)");
    });
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", 4 * kRow + 3);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    if (totals.shown()) {
        const std::pair<QString, QString> lines[] = {
            {QStringLiteral("Beszerzés:"), forintText(totals.costForints()).trimmed()},
            {QStringLiteral("Eladás:"), forintText(totals.saleForints()).trimmed()},
            {QStringLiteral("Haszon (Ft):"), forintText(totals.profitForints()).trimmed()},
            {QStringLiteral("Haszon (%):"),
             QStringLiteral("(") + numberText(totals.percent()).trimmed() + QStringLiteral("%)")}};
        double top = 2;
        for (const auto& [caption, value] : lines) {
            summary.addText("caption_" + std::to_string(int(top)), QRectF(175, top, 30, kRow), caption, kBold);
            summary.addText("value_" + std::to_string(int(top)), QRectF(205, top, 72, kRow), value, kBoldRight);
            top += kRow;
        }
    }
    addFooter(*layout, QStringLiteral("Készítette: ") + user);
    return layout;
}

std::unique_ptr<report::Layout> stockValueReport(MemTable& rows, const StockValue& totals, const QString& user) {
    namespace S = stocklist;
    auto layout = statistics(&rows, QStringLiteral("Készleten lévő áruk értéke"), {});
    const std::vector<Column> columns = {{QStringLiteral("Megnevezés"), 0, 85},
                                         {QStringLiteral("Mennyiség"), 85, 22, true},
                                         {QString(), 107, 15},
                                         {QStringLiteral("Besz.ár."), 122, 31, true},
                                         {QStringLiteral("Elad.ár 1"), 153, 31, true},
                                         {QStringLiteral("Elad.ár 2"), 184, 31, true},
                                         {QStringLiteral("Elad.ár. 3"), 215, 31, true},
                                         {QStringLiteral("Elad.ár. fix"), 246, 31, true}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, S::MEGNEVEZES, text(S::MEGNEVEZES));
    addCell(detail, rows, columns[1], 0, S::MENNYISEG, plain(S::MENNYISEG));
    addCell(detail, rows, columns[2], 0, S::EGYSEG, text(S::EGYSEG));
    const Field values[] = {S::BESZERZAR, S::AR1, S::AR2, S::AR3, S::FIXAR};
    for (size_t i = 0; i < 5; ++i) addCell(detail, rows, columns[i + 3], 0, values[i], money(values[i]));
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", 2 * kRow + 3);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    std::vector<std::pair<int, QString>> net, gross;
    for (int i = 0; i < 5; ++i) {
        net.emplace_back(i + 3, stockTotalText(totals.net[i]));
        gross.emplace_back(i + 3, stockTotalText(totals.gross[i]));
    }
    addSummaryLine(summary, columns, 2, QStringLiteral("Nettó értékek:"), net);
    addSummaryLine(summary, columns, 2 + kRow, QStringLiteral("Bruttó értékek:"), gross);
    addFooter(*layout, QStringLiteral("Kiállította: ") + user);
    return layout;
}

}  // namespace kavina::reports
