#include "products/lists/ProductListReport.h"

#include <QTextDocument>
#include <cmath>

#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/Rtf.h"
#include "foundation/SzamSzov.h"
#include "report/PagePainter.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
using report::Band;
using report::BandKind;
using report::TextStyle;

const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignTop;

struct Sums {
    double purchase = 0;       // Σ BESZERZAR × MENNYISEG
    double grossPurchase = 0;  // Σ bbesz × MENNYISEG
    double sale = 0;           // Σ FIXAR × MENNYISEG
    double grossSale = 0;      // Σ bfixar × MENNYISEG
};

Sums sumsOf(RecordCursor& products) {
    Sums s;
    const CursorMark at = products.bookmark();
    for (products.first(); !products.eof(); products.next()) {
        const double q = products.asFloat(A::MENNYISEG);
        s.purchase += products.asFloat(A::BESZERZAR) * q;
        s.grossPurchase += products.asFloat(A::bbesz) * q;
        s.sale += products.asFloat(A::FIXAR) * q;
        s.grossSale += products.asFloat(A::bfixar) * q;
    }
    products.gotoBookmark(at);
    return s;
}

// A data-bound money text of the field.
report::Element& addMoney(Band& band, const std::string& name, const QRectF& rect, RecordCursor& products,
                          const Field& field, const TextStyle& style) {
    report::Element& e = band.addField(name, rect, products, field.text(), style.withAlignment(kRight));
    e.format = [&field](const RecordCursor& p) { return moneyText(p.asFloat(field)).trimmed(); };
    return e;
}

void addPageHeader(report::Layout& layout, const QString& subtitle) {
    const TextStyle plain;
    const double width = layout.bandWidth();
    Band& header = layout.addBand(BandKind::PageHeader, "PageHeader", subtitle.isEmpty() ? 10 : 16);
    header.addText("title", QRectF(0, 0, width, 8), QStringLiteral(" Anyagtörzs "),
                   plain.withSize(14).withBold().withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    if (!subtitle.isEmpty())
        header.addText("subtitle", QRectF(0, 8, width, 6), subtitle,
                       plain.withSize(11).withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    header.addLine("underline", QPointF(0, header.height() - 0.5), QPointF(width, header.height() - 0.5));
}

void addCategoryHeader(report::Layout& layout, RecordCursor& products) {
    Band& group = layout.addBand(BandKind::GroupHeader, "GroupHeader", 7);
    group.setGroupField(A::KATEGORIA.text());
    group.addField("category", QRectF(0, 1.5, layout.bandWidth(), 5), products, A::KATEGORIA.text(),
                   TextStyle().withSize(10).withBold());
}

}  // namespace

ListFooter listFooter(TDataModule1& data, const QString& currentUser) {
    TableHandle& settings = data.UserTable();
    settings.refresh();
    settings.first();
    return {settings.isEmpty() ? QString() : settings.asString(fields::User::LAPLABLEC), currentUser};
}

void addListFooter(report::Layout& layout, const ListFooter& footer) {
    const TextStyle plain;
    const double width = layout.bandWidth();
    std::shared_ptr<QTextDocument> text;
    if (!footer.pageFooter.trimmed().isEmpty()) {
        text = std::make_shared<QTextDocument>();
        readFooterText(footer.pageFooter, *text);
    }
    const double textHeight = text ? report::richTextHeight(*text, width) : 0;
    Band& band = layout.addBand(BandKind::PageFooter, "PageFooter", textHeight + 8);
    band.addLine("overline", QPointF(0, 0.5), QPointF(width, 0.5));
    if (text) band.addRichText("pageFooter", QRectF(0, 1, width, textHeight), text);
    band.addText("user", QRectF(0, textHeight + 2, width / 2, 5), QStringLiteral("Kiállította: ") + footer.currentUser,
                 plain);
    band.addText("program", QRectF(width / 2, textHeight + 2, width / 2, 5), QStringLiteral("Kavina 1.0 verzió"),
                 plain.withAlignment(kRight));
}

ProductListLayout productListLayoutOf(int szlistmode) {
    return szlistmode == 1 ? ProductListLayout::A : ProductListLayout::B;
}

std::unique_ptr<report::Layout> productListA(RecordCursor& products, const ListFooter& footer,
                                             const QString& subtitle) {
    const Sums sums = sumsOf(products);
    auto layout = std::make_unique<report::Layout>();
    layout->setSource(&products);
    const TextStyle plain;
    const double width = layout->bandWidth();
    addPageHeader(*layout, subtitle);
    addCategoryHeader(*layout, products);

    Band& detail = layout->addBand(BandKind::Detail, "Detail", 10);
    detail.addField("itjszam", QRectF(2, 0.5, 25, 4.5), products, A::ITJSZAM.text(), plain);
    detail.addField("name", QRectF(28, 0.5, 120, 4.5), products, A::MEGNEVEZES.text(), plain.withBold());
    report::Element& quantity = detail.addField("quantity", QRectF(150, 0.5, width - 150, 4.5), products,
                                                A::MENNYISEG.text(), plain.withAlignment(kRight));
    quantity.format = [](const RecordCursor& p) {
        return numberBoxText(p.asFloat(A::MENNYISEG)) + QLatin1Char(' ') + p.asString(A::EGYSEG);
    };
    const struct {
        const char* name;
        const char* caption;
        const Field& field;
        double left;
    } prices[] = {{"purchase", "Beszerzési ár", A::BESZERZAR, 2},
                  {"ar1", "1.ár:", A::AR1, 46},
                  {"ar2", "2.ár:", A::AR2, 82},
                  {"ar3", "3.ár:", A::AR3, 118},
                  {"fixar", "Fix.ár:", A::FIXAR, 154}};
    // Each price a few millimetres clear of the next caption.
    for (const auto& p : prices) {
        const bool purchase = std::string_view(p.name) == "purchase";
        const double captionWidth = purchase ? 17 : 9;
        const double valueWidth = purchase ? 22 : 24;
        detail.addText(std::string(p.name) + "Caption", QRectF(p.left, 5, captionWidth, 4.5),
                       QString::fromUtf8(p.caption), plain.withSize(7));
        addMoney(detail, p.name, QRectF(p.left + captionWidth, 5, valueWidth, 4.5), products, p.field,
                 plain.withSize(7));
    }
    detail.addLine("separator", QPointF(0, 9.8), QPointF(width, 9.8), 0.1);
    // The quantity in red when its whole part is 0: nothing or less than one left.
    detail.setBeforePrint([&products](Band& band, report::PrintContext&) {
        band.element("quantity").style.color =
            std::trunc(products.asFloat(A::MENNYISEG)) == 0 ? QColor(Qt::red) : QColor(Qt::black);
    });

    Band& summary = layout->addBand(BandKind::Summary, "Summary", 8);
    summary.addText("purchaseCaption", QRectF(0, 2, 80, 5), QStringLiteral("Beszerzési ár összesen:"),
                    plain.withSize(9).withBold());
    summary.addText("purchase", QRectF(80, 2, 60, 5), moneyText(sums.purchase).trimmed(),
                    plain.withSize(9).withBold().withAlignment(kRight));
    addListFooter(*layout, footer);
    return layout;
}

std::unique_ptr<report::Layout> productListB(RecordCursor& products, const ListFooter& footer) {
    const Sums sums = sumsOf(products);
    auto layout = std::make_unique<report::Layout>();
    layout->pageSetup().orientation = QPageLayout::Landscape;
    layout->setSource(&products);
    const TextStyle plain = TextStyle().withSize(7);
    addPageHeader(*layout, {});
    addCategoryHeader(*layout, products);

    Band& detail = layout->addBand(BandKind::Detail, "Detail", 5);
    detail.addField("itjszam", QRectF(0, 0.5, 16, 4), products, A::ITJSZAM.text(), plain);
    detail.addField("name", QRectF(17, 0.5, 65, 4), products, A::MEGNEVEZES.text(), plain);
    report::Element& quantity =
        detail.addField("quantity", QRectF(83, 0.5, 15, 4), products, A::MENNYISEG.text(), plain.withAlignment(kRight));
    quantity.format = [](const RecordCursor& p) { return numberBoxText(p.asFloat(A::MENNYISEG)); };
    detail.addField("unit", QRectF(100, 0.5, 12, 4), products, A::EGYSEG.text(), plain);
    const struct {
        const char* name;
        const char* caption;
        const Field& field;
        double left;
        double captionWidth;
        double valueWidth;
    } prices[] = {{"purchase", "Beszerzési ár", A::BESZERZAR, 114, 17, 24},
                  {"bbesz", "Bruttó:", A::bbesz, 158, 10, 24},
                  {"fixar", "Eladási ár:", A::FIXAR, 195, 15, 24},
                  {"bfixar", "Bruttó:", A::bfixar, 237, 10, 20}};
    // Each price a few millimetres clear of the next caption.
    for (const auto& p : prices) {
        detail.addText(std::string(p.name) + "Caption", QRectF(p.left, 0.5, p.captionWidth, 4),
                       QString::fromUtf8(p.caption), plain);
        addMoney(detail, p.name, QRectF(p.left + p.captionWidth, 0.5, p.valueWidth, 4), products, p.field, plain);
    }
    report::Element& rate =
        detail.addField("rate", QRectF(268, 0.5, 9, 4), products, A::AFAKULCS.text(), plain.withAlignment(kRight));
    rate.format = [](const RecordCursor& p) { return numberBoxText(p.asFloat(A::AFAKULCS)) + QStringLiteral(" %"); };

    Band& summary = layout->addBand(BandKind::Summary, "Summary", 13);
    const TextStyle bold = plain.withSize(8).withBold();
    const auto line = [&](const char* name, double top, const QString& caption, double net, double gross) {
        const std::string n(name);
        summary.addText(n + "Caption", QRectF(0, top, 70, 5), caption, bold);
        summary.addText(n + "NetCaption", QRectF(70, top, 12, 5), QStringLiteral("Nettó:"), bold);
        summary.addText(n + "Net", QRectF(82, top, 35, 5), moneyText(net).trimmed(), bold.withAlignment(kRight));
        summary.addText(n + "GrossCaption", QRectF(122, top, 14, 5), QStringLiteral("Bruttó:"), bold);
        summary.addText(n + "Gross", QRectF(136, top, 35, 5), moneyText(gross).trimmed(), bold.withAlignment(kRight));
    };
    line("purchase", 2, QStringLiteral("Beszerzési ár összesen:"), sums.purchase, sums.grossPurchase);
    line("sale", 7, QStringLiteral("Eladási ár ár összesen:"), sums.sale, sums.grossSale);
    addListFooter(*layout, footer);
    return layout;
}

report::PreparedReport prepareProductList(TableHandle& products, int szlistmode, const ListFooter& footer) {
    const std::string order = products.order();
    const CursorMark at = products.bookmark();
    products.setOrder(A::KATEGORIA);
    report::PreparedReport pages;
    try {
        pages = (productListLayoutOf(szlistmode) == ProductListLayout::A ? productListA(products, footer)
                                                                         : productListB(products, footer))
                    ->prepare();
    } catch (...) {
        products.setOrder(order);
        products.gotoBookmark(at);
        throw;
    }
    products.setOrder(order);
    products.gotoBookmark(at);
    return pages;
}

}  // namespace kavina::products
