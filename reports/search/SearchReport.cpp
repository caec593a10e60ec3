#include "reports/search/SearchReport.h"

#include <QHash>

#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"
#include "reports/finance/FinanceReports.h"
#include "reports/turnover/ReportBands.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

using namespace bands;
namespace T1 = fields::Tmp1;
namespace T2 = fields::Tmp2;

namespace rows {
inline constexpr std::string_view kTable = "nyomtatas";
inline constexpr Field SZAMLASZAM{kTable, "SZAMLASZAM"};
inline constexpr Field sor{kTable, "sor"};  // false: the placeholder of a hit without lines
inline constexpr Field ITJSZAM{kTable, "ITJSZAM"};
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field MEGJEGYZES{kTable, "MEGJEGYZES"};
inline constexpr Field EGYSEGAR{kTable, "EGYSEGAR"};
inline constexpr Field MENNYISEG{kTable, "MENNYISEG"};
inline constexpr Field EGYSEG{kTable, "EGYSEG"};
}  // namespace rows

QString searchPeriodLine(const TextSearchRequest& request) {
    QString line = QStringLiteral("Időszak: ");
    if (request.from) line += dateText(*request.from) + QStringLiteral("-tól ");
    if (request.to) line += dateText(*request.to) + QStringLiteral("-ig ");
    return line;
}

namespace {

void fillRows(MemTable& out, TextSearchResult& result) {
    namespace R = rows;
    out.setFields({textField(R::SZAMLASZAM, 16),
                   {R::sor.text(), dbase::FieldType::Logical, 1, 0},
                   textField(R::ITJSZAM, 15),
                   textField(R::MEGNEVEZES, 100),
                   textField(R::MEGJEGYZES, 100),
                   numberField(R::EGYSEGAR),
                   numberField(R::MENNYISEG),
                   textField(R::EGYSEG, 10)});
    MemTable& hits = result.hits();
    MemTable& lines = result.lines();
    QHash<QString, std::vector<CursorMark>> byNumber;
    for (lines.first(); !lines.eof(); lines.next())
        byNumber[lines.asString(T2::SZAMLASZAM).trimmed()].push_back(lines.bookmark());
    for (hits.first(); !hits.eof(); hits.next()) {
        const QString number = hits.asString(T1::SZAMLASZAM).trimmed();
        const std::vector<CursorMark> own = byNumber.value(number);
        if (own.empty()) {
            out.append();
            out.setString(R::SZAMLASZAM, number);
            out.setLogical(R::sor, false);
            out.post();
        }
        for (const CursorMark& mark : own) {
            lines.gotoBookmark(mark);
            out.append();
            out.setString(R::SZAMLASZAM, number);
            out.setLogical(R::sor, true);
            out.setString(R::ITJSZAM, lines.asString(T2::ITJSZAM));
            out.setString(R::MEGNEVEZES, lines.asString(T2::MEGNEVEZES));
            out.setString(R::MEGJEGYZES, lines.asString(T2::MEGJEGYZES));
            out.setFloat(R::EGYSEGAR, lines.asFloat(T2::EGYSEGAR));
            out.setFloat(R::MENNYISEG, lines.asFloat(T2::MENNYISEG));
            out.setString(R::EGYSEG, lines.asString(T2::EGYSEG));
            out.post();
        }
    }
    hits.first();
    lines.first();
    out.first();
}

}  // namespace

SearchReport::SearchReport(TextSearchResult& result, const TextSearchRequest& request, const QString& user) {
    namespace R = rows;
    fillRows(m_rows, result);
    m_layout = statistics(&m_rows, QStringLiteral("Számlák adott szövegrész szerint"), searchPeriodLine(request));
    report::Band& title = m_layout->band("Title");
    const double titleTop = title.height();
    title.addText("textCaption", QRectF(0, titleTop, 35, kRow), QStringLiteral("Keresett szöveg:"), kBold);
    title.addText("text", QRectF(35, titleTop, 200, kRow), request.text, kPlain);
    title.setHeight(titleTop + kRow + 2);

    // The hit's block: its heads and values, then the heads of its lines.
    const std::vector<Column> hitColumns = {{QStringLiteral("Számlaszám"), 0, 35},
                                            {QStringLiteral("Név"), 35, 70},
                                            {QStringLiteral("Cím"), 105, 80},
                                            {QStringLiteral("Készült"), 185, 22},
                                            {QStringLiteral("Bruttó összeg"), 207, 30, true},
                                            {QStringLiteral("készítő"), 239, 38}};
    const std::vector<Column> lineColumns = {{QStringLiteral("VTSZ/SZJ"), 0, 30},
                                             {QStringLiteral("Termék/szolgáltatás"), 30, 120},
                                             {QStringLiteral("Cím"), 150, 60},
                                             {QStringLiteral("Egységár/mennyiség"), 210, 67, true}};
    report::Band& block = m_layout->addBand(BandKind::GroupHeader, "Hit", 3 * kRow + 2.5);
    block.setGroupField(R::SZAMLASZAM.text());
    block.addLine("separator", QPointF(0, 0.5), QPointF(m_layout->bandWidth(), 0.5));
    addHeads(block, hitColumns, 1);
    for (size_t i = 0; i < hitColumns.size(); ++i)
        block.addText("hit_" + std::to_string(i), cell(hitColumns[i], 1 + kRow), {},
                      hitColumns[i].right ? kRight : kPlain);
    // The line heads repeat "Cím": they get names of their own.
    for (size_t i = 0; i < lineColumns.size(); ++i)
        block.addText("linehead_" + std::to_string(i), cell(lineColumns[i], 2 + 2 * kRow), lineColumns[i].title,
                      lineColumns[i].right ? kBoldRight : kBold);
    MemTable* hits = &result.hits();
    QHash<QString, CursorMark> hitAt;
    for (hits->first(); !hits->eof(); hits->next())
        hitAt.insert(hits->asString(T1::SZAMLASZAM).trimmed(), hits->bookmark());
    hits->first();
    block.setBeforePrint([this, hits, hitAt](report::Band& band, report::PrintContext&) {
        const auto found = hitAt.constFind(m_rows.asString(R::SZAMLASZAM).trimmed());
        if (found == hitAt.constEnd() || !hits->gotoBookmark(*found)) return;
        const QString values[] = {hits->asString(T1::SZAMLASZAM).trimmed(),
                                  hits->asString(T1::NEV).trimmed(),
                                  hits->asString(T1::CIM).trimmed(),
                                  dateText(hits->asDate(T1::KIALLIT)),
                                  groupDigits(hits->asInteger(T1::FIZETENDO)).trimmed(),
                                  hits->asString(T1::UGYINTEZO).trimmed()};
        for (size_t i = 0; i < 6; ++i) band.element("hit_" + std::to_string(i)).text = values[i];
    });

    report::Band& detail = m_layout->addBand(BandKind::Detail, "Detail", 2 * kRow);
    addCell(detail, m_rows, lineColumns[0], 0, R::ITJSZAM, text(R::ITJSZAM));
    addCell(detail, m_rows, lineColumns[1], 0, R::MEGNEVEZES, text(R::MEGNEVEZES, 80));
    addCell(detail, m_rows, lineColumns[1], kRow, R::MEGJEGYZES, text(R::MEGJEGYZES, 80));
    addCell(detail, m_rows, lineColumns[3], 0, R::EGYSEGAR,
            [](const RecordCursor& r) { return plainNumber(r.asFloat(R::EGYSEGAR)) + QStringLiteral("Ft"); });
    addCell(detail, m_rows, lineColumns[3], kRow, R::MENNYISEG, [](const RecordCursor& r) {
        return plainNumber(r.asFloat(R::MENNYISEG)) + QLatin1Char(' ') + r.asString(R::EGYSEG).trimmed();
    });
    detail.setBeforePrint(
        [this](report::Band&, report::PrintContext& context) { context.print = m_rows.asLogical(R::sor); });
    addFooter(*m_layout, QStringLiteral("Kiállította: ") + user);
}

SearchReport::~SearchReport() = default;

}  // namespace kavina::reports
