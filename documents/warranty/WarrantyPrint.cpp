#include "documents/warranty/WarrantyPrint.h"

#include <QDir>

#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"

namespace kavina::documents {

namespace {

using report::Band;
using report::BandKind;
using report::TextStyle;
namespace G = fields::Garancia;
namespace L = fields::Garancia2;
namespace U = fields::User;

struct Column {
    const char* title;
    double left, width;
    Field field;
    bool right;
};

const Column kColumns[] = {{"Megnevezés", 0, 80, L::MEGNEVEZES, false},
                           {"Gyártási szám:", 81, 45, L::GYARISZAM, false},
                           {"Menny.", 127, 18, L::MENNYISEG, true},
                           {"Egység", 147, 16, L::EGYSEG, false},
                           {"Egységár", 164, 26, L::NETTO_AR, true}};

void sellerBox(Band& band, const WarrantySeller& s, const TextStyle& plain) {
    band.addFrame("sellerBox", QRectF(0, 12, 93, 44));
    band.addText("sellerCaption", QRectF(2, 13, 89, 4), QStringLiteral("Az eladó adatai "), plain.withBold());
    const double left = s.logo.isNull() ? 2 : 24;
    if (!s.logo.isNull()) band.addPicture("logo", QRectF(2, 19, 20, 20), s.logo);
    double y = 18;
    int i = 0;
    for (const QString& line : {s.name, s.name2, s.address, s.phone, s.bankAccount, s.taxNumber}) {
        band.addText("seller" + std::to_string(i), QRectF(left, y, 93 - left - 2, 4.5), line,
                     i == 0 ? plain.withBold() : plain);
        ++i;
        y += 5.5;
    }
}

void buyerBox(Band& band, const MemTable& h, const TextStyle& plain) {
    band.addFrame("buyerBox", QRectF(97, 12, 93, 44));
    band.addText("buyerCaption", QRectF(99, 13, 89, 4), QStringLiteral(" A vevő adatai "), plain.withBold());
    band.addText("nameLabel", QRectF(99, 19, 12, 4.5), QStringLiteral("Név :"), plain);
    band.addText("name", QRectF(111, 19, 77, 4.5),
                 (h.asString(G::NEV).trimmed() + QLatin1Char(' ') + h.asString(G::NEV1).trimmed()).trimmed(),
                 plain.withBold());
    band.addText("addressLabel", QRectF(99, 25, 12, 4.5), QStringLiteral("Cím :"), plain);
    band.addText("town", QRectF(111, 25, 77, 4.5),
                 h.asString(G::IRSZ).trimmed() + QLatin1Char(' ') + h.asString(G::VAROS).trimmed(), plain);
    band.addText("street", QRectF(111, 30, 77, 4.5), h.asString(G::CIM).trimmed(), plain);
    band.addText("invoice", QRectF(99, 48, 89, 4.5),
                 QStringLiteral("A számla száma: ") + h.asString(G::SZAMLASZAM).trimmed(), plain);
}

void datesRow(Band& band, const MemTable& h, const TextStyle& plain) {
    const struct {
        const char* caption;
        QString value;
    } cells[] = {{"Vásárlás ideje:", dateText(h.asDate(G::VASARLAS))},
                 {"Garancia kezdete:", dateText(h.asDate(G::GARKEZD))},
                 {"Garancia ideje:", dateText(h.asDate(G::GARLEJAR))},
                 {"Garancia időn túli jav.:", dateText(h.asDate(G::TULJAV))},
                 {"Garancialevél száma:", h.asString(G::SORSZAM).trimmed()}};
    const double width = 190.0 / 5;
    band.addFrame("datesBox", QRectF(0, 59, 190, 12));
    for (int i = 0; i < 5; ++i) {
        band.addText("dateCaption" + std::to_string(i), QRectF(i * width + 1.5, 60, width - 2, 4),
                     QString::fromUtf8(cells[i].caption), plain.withSize(7));
        band.addText("date" + std::to_string(i), QRectF(i * width + 1.5, 65, width - 2, 5), cells[i].value,
                     plain.withBold());
    }
}

QString lineValue(const RecordCursor& line, const Column& column) {
    if (column.field.name == L::MENNYISEG.name) return numberBoxText(line.asFloat(L::MENNYISEG));
    if (column.field.name == L::NETTO_AR.name) return moneyText(line.asFloat(L::NETTO_AR)).trimmed();
    return line.asString(column.field).trimmed();
}

}  // namespace

WarrantySeller warrantySeller(const RecordCursor& s, const QString& dataFolder) {
    WarrantySeller seller{
        s.asString(U::USER1).trimmed(),   s.asString(U::USER2).trimmed(),      s.asString(U::CIM).trimmed(),
        s.asString(U::TELEFON).trimmed(), s.asString(U::SZAMLASZAM).trimmed(), s.asString(U::ADOSZAM).trimmed(),
        s.asString(U::LABGARANC),         s.asString(U::LAPLABLEC).trimmed(),  {}};
    const QString logo = s.asString(U::LOGOKEP).trimmed();
    if (!logo.isEmpty()) seller.logo = QImage(QDir(dataFolder).filePath(logo));
    return seller;
}

std::unique_ptr<report::Layout> TGaranciar(WarrantyDocument& certificate, const WarrantySeller& seller,
                                           const QString& currentUser, const QString& webAddress) {
    auto layout = std::make_unique<report::Layout>();
    layout->setSource(&certificate.gari2);
    const double width = layout->bandWidth();
    const TextStyle plain = TextStyle{}.withSize(8.5);
    MemTable& h = certificate.gari;

    Band& title = layout->addBand(BandKind::Title, "Title", 74);
    title.addText("title", QRectF(0, 0, width, 9), QStringLiteral("Garancia levél"),
                  plain.withSize(16).withBold().withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    sellerBox(title, seller, plain);
    buyerBox(title, h, plain);
    datesRow(title, h, plain);

    Band& header = layout->addBand(BandKind::ColumnHeader, "ColumnHeader", 10);
    for (const Column& c : kColumns) {
        const TextStyle style =
            plain.withBold().withAlignment((c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        header.addText(std::string("head_") + c.title, QRectF(c.left, 0.5, c.width, 4.5), QString::fromUtf8(c.title),
                       style);
    }
    header.addText("netHead", QRectF(kColumns[4].left, 5, kColumns[4].width, 4.5), QStringLiteral("Nettó"),
                   plain.withBold().withAlignment(Qt::AlignRight | Qt::AlignTop));
    header.addLine("underline", QPointF(0, 9.7), QPointF(width, 9.7));

    Band& detail = layout->addBand(BandKind::Detail, "Detail", 5.5);
    for (const Column& c : kColumns) {
        report::Element& e = detail.addField(
            std::string("line_") + c.title, QRectF(c.left, 0.5, c.width, 4.5), certificate.gari2, c.field.text(),
            plain.withAlignment((c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop));
        e.format = [c](const RecordCursor& line) { return lineValue(line, c); };
    }

    Band& summary = layout->addBand(BandKind::Summary, "Summary", 40);
    summary.addLine("overline", QPointF(0, 1), QPointF(width, 1));
    summary.addText("conditions", QRectF(0, 3, width, 36), seller.conditions.trimmed(), plain.withSize(7.5).wrapped());

    Band& footer = layout->addBand(BandKind::PageFooter, "PageFooter", 9);
    const TextStyle small = TextStyle{}.withSize(7);
    footer.addLine("footerLine", QPointF(0, 1), QPointF(width, 1));
    footer.addText("pageFooter", QRectF(0, 1.5, width, 3.5), seller.pageFooter,
                   small.withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    footer.addText("madeBy", QRectF(0, 5, 70, 4), QStringLiteral("Készítette: ") + currentUser, small);
    footer.addText("version", QRectF(width / 2 - 30, 5, 60, 4), QStringLiteral("Kavina 1.0 verzió"),
                   small.withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    footer.addText("web", QRectF(width - 70, 5, 70, 4), webAddress, small.withAlignment(Qt::AlignRight | Qt::AlignTop));
    return layout;
}

}  // namespace kavina::documents
