#include "documents/partners/PartnerReport.h"

namespace kavina::documents {

namespace {

using report::BandKind;
using report::TextStyle;

struct Column {
    const char* title;
    double left;
    double width;
};

// Five columns over the 277 mm of a landscape page between 10 mm margins.
const Column kColumns[] = {{"Partner neve / kapcsolattartó", 0, 70},
                           {"Partner címe / levélcím", 70, 85},
                           {"Telefon/FAX", 155, 35},
                           {"Email", 190, 50},
                           {"Csoport/fiz.mód", 240, 37}};

QString joined(const RecordCursor& p, const char* first, const char* sep, const char* second) {
    return (p.asString(first) + QString::fromUtf8(sep) + p.asString(second)).trimmed();
}

QString addressLine(const RecordCursor& p, const char* postcode, const char* town, const char* street) {
    return p.asString(postcode) + QLatin1Char(' ') + p.asString(town) + QStringLiteral(", ") + p.asString(street);
}

// The two lines of one column: first and second, each computed from the partner.
using Line = std::function<QString(const RecordCursor&)>;

void addTwoLines(report::Band& band, RecordCursor& partners, const Column& column, int index, Line first, Line second,
                 const TextStyle& style) {
    const QRectF top(column.left + 1, 1, column.width - 2, 4.5);
    report::Element& a = band.addField("line1_" + std::to_string(index), top, partners, "NEV", style);
    a.format = std::move(first);
    if (!second) return;
    report::Element& b = band.addField("line2_" + std::to_string(index), top.translated(0, 5), partners, "NEV", style);
    b.format = std::move(second);
}

}  // namespace

std::unique_ptr<report::Layout> TPartnerReport(RecordCursor& partners, const QString& webAddress,
                                               const QString& currentUser) {
    auto layout = std::make_unique<report::Layout>();
    layout->pageSetup().orientation = QPageLayout::Landscape;
    layout->setSource(&partners);
    const TextStyle plain;
    const TextStyle bold = plain.withBold();

    report::Band& header = layout->addBand(BandKind::PageHeader, "PageHeader", 18);
    header.addText("title", QRectF(0, 0, layout->bandWidth(), 8), QStringLiteral("Partnerek"),
                   plain.withSize(14).withBold().withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    for (const Column& c : kColumns)
        header.addText(std::string("title_") + c.title, QRectF(c.left + 1, 11, c.width - 2, 5),
                       QString::fromUtf8(c.title), bold);
    header.addLine("underline", QPointF(0, 17), QPointF(layout->bandWidth(), 17));

    report::Band& detail = layout->addBand(BandKind::Detail, "Detail", 11.5);
    detail.addFrame("frame", QRectF(0, 0, layout->bandWidth(), 11));
    addTwoLines(
        detail, partners, kColumns[0], 0, [](const RecordCursor& p) { return joined(p, "NEV", " ", "NEV2"); },
        [](const RecordCursor& p) { return p.asString("KAPCSNEV"); }, plain);
    addTwoLines(
        detail, partners, kColumns[1], 1,
        [](const RecordCursor& p) { return addressLine(p, "IRSZAM", "VAROS", "UTCA"); },
        [](const RecordCursor& p) { return addressLine(p, "LEVIR", "LEVVAROS", "LEVUTCA"); }, plain);
    addTwoLines(
        detail, partners, kColumns[2], 2, [](const RecordCursor& p) { return p.asString("TELEFON"); },
        [](const RecordCursor& p) { return p.asString("FAX"); }, plain);
    addTwoLines(
        detail, partners, kColumns[3], 3, [](const RecordCursor& p) { return p.asString("EMAIL"); }, {}, plain);
    addTwoLines(
        detail, partners, kColumns[4], 4, [](const RecordCursor& p) { return p.asString("PCSOPORT"); },
        [](const RecordCursor& p) { return p.asString("FIZMOD"); }, plain);

    report::Band& footer = layout->addBand(BandKind::PageFooter, "PageFooter", 8);
    const double width = layout->bandWidth();
    footer.addLine("overline", QPointF(0, 1), QPointF(width, 1));
    footer.addText("version", QRectF(0, 2, 60, 5), QStringLiteral("Kavina 1.0 verzió"), plain);
    footer.addText("user", QRectF(width / 2 - 50, 2, 100, 5), QStringLiteral("Kiállította: ") + currentUser,
                   plain.withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    footer.addText("web", QRectF(width - 80, 2, 80, 5), webAddress, plain.withAlignment(Qt::AlignRight | Qt::AlignTop));
    return layout;
}

}  // namespace kavina::documents
