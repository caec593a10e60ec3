#include "reports/partners/PartnerReports.h"

#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"
#include "reports/finance/FinanceReports.h"
#include "reports/products/ProductReports.h"
#include "reports/turnover/ReportBands.h"

namespace kavina::reports {

using namespace bands;

namespace {

Format grouped(const Field& f) {
    return [f](const RecordCursor& r) { return groupDigits(r.asInteger(f)).trimmed(); };
}

// The statistic's title with the partner under the period: its names, then its address.
std::unique_ptr<report::Layout> partnerTitled(MemTable& rows, const QString& subtitle, const ChosenPartner& partner,
                                              const QDate& from, const QDate& to) {
    auto layout = statistics(&rows, subtitle, periodLine(from, to));
    report::Band& title = layout->band("Title");
    const double top = title.height();
    title.addText("partnerCaption", QRectF(0, top, 20, kRow), QStringLiteral("Partner:"), kBold);
    title.addText("partnerName", QRectF(20, top, 200, kRow), partner.name + QLatin1Char(' ') + partner.nev2, kBold);
    title.addText("partnerAddress", QRectF(20, top + kRow, 200, kRow),
                  partner.postcode + QLatin1Char(' ') + partner.town + QLatin1Char(' ') + partner.street, kPlain);
    title.setHeight(top + 2 * kRow + 2);
    return layout;
}

}  // namespace

QString supplierTotalText(double total) {
    return moneyText(total);
}

std::unique_ptr<report::Layout> customersReport(MemTable& rows, const QDate& from, const QDate& to,
                                                const QString& user) {
    namespace C = customerlist;
    auto layout = statistics(&rows, QStringLiteral("Partnerek forgalom szerint"), periodLine(from, to));
    const std::vector<Column> columns = {{QStringLiteral("Vevő neve"), 0, 110},
                                         {QStringLiteral("Vevő címe"), 110, 110},
                                         {QStringLiteral("Forgalom [Ft]"), 220, 57, true}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, C::NEV, text(C::NEV));
    addCell(detail, rows, columns[1], 0, C::CIM, text(C::CIM));
    addCell(detail, rows, columns[2], 0, C::FORGALOM, grouped(C::FORGALOM));
    addFooter(*layout, QStringLiteral("Kiállította: ") + user);
    return layout;
}

std::unique_ptr<report::Layout> partnerInvoicesReport(MemTable& rows, int64_t total, const ChosenPartner& partner,
                                                      const QDate& from, const QDate& to, const QString& user) {
    namespace I = invoicelist;
    auto layout = partnerTitled(rows, QStringLiteral("Partner számlái"), partner, from, to);
    const std::vector<Column> columns = {{QStringLiteral("Számlaszám"), 0, 50},
                                         {QStringLiteral("Számla kelte"), 50, 35},
                                         {QStringLiteral("Nettó érték (Ft)"), 85, 45, true},
                                         {QStringLiteral("Fizetve?"), 140, 30}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, I::szamlaszam, text(I::szamlaszam));
    addCell(detail, rows, columns[1], 0, I::datum, [](const RecordCursor& r) { return dateText(r.asDate(I::datum)); });
    addCell(detail, rows, columns[2], 0, I::netto, grouped(I::netto));
    addCell(detail, rows, columns[3], 0, I::fizetve,
            [](const RecordCursor& r) { return r.asLogical(I::fizetve) ? QString() : QStringLiteral("nincs!"); });
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", kRow + 2);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    summary.addText("total", QRectF(1, 2, 150, kRow),
                    QStringLiteral("Nettó érték összesen: ") + groupDigits(total).trimmed() + QStringLiteral(" Ft"),
                    kBold);
    addFooter(*layout, QStringLiteral("Kiállította: ") + user);
    return layout;
}

std::unique_ptr<report::Layout> partnerProductsReport(MemTable& rows, const ChosenPartner& partner, const QDate& from,
                                                      const QDate& to, const QString& user) {
    namespace R = partnerproducts;
    auto layout = partnerTitled(rows, QStringLiteral("Termékek/szolgáltatások"), partner, from, to);
    const std::vector<Column> columns = {{QStringLiteral("Termék/szolgáltatás"), 0, 120},
                                         {QStringLiteral("VTSZ/SZJ"), 120, 35},
                                         {QStringLiteral("Egységár"), 155, 40, true},
                                         {QStringLiteral("Forgalom"), 195, 30, true},
                                         {QStringLiteral("me."), 227, 20}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, R::termek, text(R::termek, 75));
    addCell(detail, rows, columns[1], 0, R::szj, text(R::szj));
    addCell(detail, rows, columns[2], 0, R::egysegar, plain(R::egysegar));
    addCell(detail, rows, columns[3], 0, R::forgalom, plain(R::forgalom));
    addCell(detail, rows, columns[4], 0, R::me, text(R::me));
    addFooter(*layout, QStringLiteral("Kiállította: ") + user);
    return layout;
}

std::unique_ptr<report::Layout> supplierGoodsReport(MemTable& rows, double total, const ChosenPartner& partner,
                                                    const QDate& from, const QDate& to, const QString& user) {
    namespace R = suppliergoods;
    auto layout = partnerTitled(rows, QStringLiteral("Beszálító nettó forgalma"), partner, from, to);
    const std::vector<Column> columns = {{QStringLiteral("Cikkszám"), 0, 35},
                                         {QStringLiteral("Termék"), 35, 110},
                                         {QStringLiteral("Mennyiség"), 145, 30, true},
                                         {QString(), 177, 18},
                                         {QStringLiteral("Nettó forgalom"), 195, 45, true}};
    addColumnHeader(*layout, columns);
    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", kRow);
    addCell(detail, rows, columns[0], 0, R::cikkszam, text(R::cikkszam));
    addCell(detail, rows, columns[1], 0, R::termek, text(R::termek, 70));
    addCell(detail, rows, columns[2], 0, R::mennyiseg, plain(R::mennyiseg));
    addCell(detail, rows, columns[3], 0, R::me, text(R::me));
    addCell(detail, rows, columns[4], 0, R::netto, money(R::netto));
    report::Band& summary = layout->addBand(BandKind::Summary, "Summary", kRow + 2);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    addSummaryLine(summary, columns, 2, QStringLiteral("Nettó forgalom összesen:"), {{4, supplierTotalText(total)}});
    addFooter(*layout, QStringLiteral("Kiállította: ") + user);
    return layout;
}

}  // namespace kavina::reports
