#include "invoicing/register/RegisterList.h"

#include <map>

#include "foundation/CatalogueFields.h"
#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/print/TSzamlar.h"
#include "invoicing/register/DocumentList.h"

namespace kavina::invoicing {

namespace {

using report::BandKind;
using report::TextStyle;
namespace H = fields::Szamla;

using Text = std::function<QString(const RecordCursor&)>;

struct Column {
    const char* name;
    const char16_t* title;
    double left;
    double width;
    Text text;
    bool amount = false;
};

Text field(const Field& f) {
    return [f](const RecordCursor& d) { return d.asString(f).trimmed(); };
}

Text money(const Field& f) {
    return [f](const RecordCursor& d) { return moneyText(d.asFloat(f)).trimmed(); };
}

// Nine columns over the 277 mm of a landscape page between 10 mm margins.
std::vector<Column> columns() {
    const Text address = [](const RecordCursor& d) {
        return (d.asString(H::IRSZAM).trimmed() + QLatin1Char(' ') + d.asString(H::VAROS).trimmed() + QLatin1Char(' ') +
                d.asString(H::CIM).trimmed())
            .trimmed();
    };
    return {{"number", u"Biz. szám", 0, 30, field(H::SZAMLASZAM)},
            {"name", u"Név", 30, 52, field(H::NEV)},
            {"address", u"Cím", 82, 64, address},
            {"issued", u"Készült", 146, 18, field(H::KIALLIT)},
            {"performed", u"Teljesítés", 164, 18, field(H::TELJESIT)},
            {"due", u"Fiz.hat", 182, 18, field(H::FIZHAT)},
            {"method", u"Fiz.mód", 200, 21, field(H::FIZMOD)},
            {"net", u"Nettó ár", 221, 28, money(H::AFAALAP), true},
            {"gross", u"Bruttó ár", 249, 28, money(H::FIZETENDO), true}};
}

QColor rowColour(const RecordCursor& d) {
    const QChar type = documentType(d);
    if (type == type::Invoice && !d.asLogical(H::FIZETVE)) return kListUnpaidColour;
    if (type == type::Cancelled || type == type::DeliveryNoteCancelled) return kListCancelledColour;
    return Qt::black;
}

void addPageHeader(report::Layout& layout, const QString& caption, const QDateTime& printed) {
    const double width = layout.bandWidth();
    const TextStyle plain;
    const TextStyle bold = plain.withBold();
    report::Band& header = layout.addBand(BandKind::PageHeader, "pageHeader", 26);
    header.addText("title", QRectF(0, 0, 120, 8), QStringLiteral("Listázás"), plain.withSize(14).withBold());
    header.addText("caption", QRectF(0, 8, 160, 6), caption, plain.withSize(11).withBold());
    header.addText(
        "printed", QRectF(width - 100, 0, 100, 5),
        QStringLiteral("A nyomtatás ideje: ") + dateText(printed.date()) + QLatin1Char(' ') + timeText(printed.time()),
        plain.withAlignment(Qt::AlignRight | Qt::AlignTop));
    header.addPageNumber("page", QRectF(width - 40, 6, 40, 5), QStringLiteral("{page} oldal"),
                         plain.withAlignment(Qt::AlignRight | Qt::AlignTop));
    for (const Column& c : columns()) {
        const Qt::Alignment align = (c.amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
        header.addText(std::string("title_") + c.name, QRectF(c.left + 0.5, 19, c.width - 1, 5),
                       QString::fromUtf16(c.title), bold.withAlignment(align));
    }
    header.addLine("underline", QPointF(0, 25), QPointF(width, 25), 0.3);
}

}  // namespace

std::unique_ptr<report::Layout> registerListLayout(RecordCursor& documents, const QString& caption,
                                                   const QDateTime& printed) {
    auto layout = std::make_unique<report::Layout>();
    layout->pageSetup().orientation = QPageLayout::Landscape;
    layout->setSource(&documents);
    addPageHeader(*layout, caption, printed);

    const TextStyle plain = TextStyle().withSize(7.5);
    report::Band& detail = layout->addBand(BandKind::Detail, "detail", 4.6);
    for (const Column& c : columns()) {
        const Qt::Alignment align = (c.amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
        report::Element& e = detail.addField(c.name, QRectF(c.left + 0.5, 0.5, c.width - 1, 4), documents,
                                             H::SZAMLASZAM.text(), plain.withAlignment(align));
        e.format = c.text;
    }
    // The total is summed as the rows print, so it covers exactly the listed rows.
    // A row moved to the next page is prepared twice; keyed by its number it counts once.
    auto amounts = std::make_shared<std::map<int, double>>();
    detail.setBeforePrint([&documents, amounts](report::Band& band, report::PrintContext& context) {
        const QColor colour = rowColour(documents);
        for (const auto& e : band.elements()) e->style.color = colour;
        (*amounts)[context.recordNumber] = documents.asFloat(H::FIZETENDO);
    });

    report::Band& summary = layout->addBand(BandKind::Summary, "summary", 9);
    summary.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1), 0.3);
    report::Element& sum = summary.addText("total", QRectF(layout->bandWidth() - 130, 2.5, 130, 5), QString(),
                                           plain.withSize(9).withBold().withAlignment(Qt::AlignRight | Qt::AlignTop));
    summary.setBeforePrint([&sum, amounts](report::Band&, report::PrintContext&) {
        double total = 0;
        for (const auto& [row, amount] : *amounts) total += amount;
        sum.text = QStringLiteral("Bruttó ár összesen: ") + moneyText(total).trimmed();
    });

    report::Band& footer = layout->addBand(BandKind::PageFooter, "pageFooter", 8);
    footer.addLine("overline", QPointF(0, 1), QPointF(layout->bandWidth(), 1));
    footer.addText("version", QRectF(0, 2, 80, 5), TSzamlar::kProgramLabel, plain);
    footer.addText("web", QRectF(layout->bandWidth() - 80, 2, 80, 5), TSzamlar::kMakerAddress,
                   plain.withAlignment(Qt::AlignRight | Qt::AlignTop));
    return layout;
}

}  // namespace kavina::invoicing
