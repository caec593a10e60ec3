// TSzamlar's page header (title, seller and buyer boxes, notes and labels, the five boxes)
// and its column headings.
#include <QDir>

#include "invoicing/print/SzamlarRun.h"
#include "report/PagePainter.h"

namespace kavina {
namespace {

using report::Band;
using report::BandKind;
using report::TextStyle;
using szamlar::Column;
using szamlar::kCentre;
using szamlar::kRight;
namespace H = fields::Szamla;

constexpr double kHeaderHeight = 82;
constexpr double kCashHeaderHeight = 69;  // without the five boxes the headings move up
constexpr double kBoxTop = 15;
constexpr double kBoxHeight = 38;
constexpr double kBuyerLeft = 97;
constexpr double kSellerLineStep = 4.2;

QImage loadLogo(const SzamlarRun& run) {
    const QString file = run.settingsText(fields::User::LOGOKEP).trimmed();
    if (file.isEmpty()) return {};
    return QImage(QDir(run.environment().dataFolder).filePath(file));
}

void addSeller(SzamlarRun& run, Band& band) {
    const TextStyle s = run.base;
    band.addFrame("sellerBox", QRectF(0, kBoxTop, 93, kBoxHeight));
    band.addText("sellerCaption", QRectF(2, kBoxTop + 1, 89, 4), run.rules.sellerCaption, s.withSize(7).withBold());
    const QImage logo = loadLogo(run);
    if (!logo.isNull()) band.addPicture("logo", QRectF(2, kBoxTop + 6, 24, 24), logo);
    const double left = logo.isNull() ? 2 : 28;
    const double width = 93 - left - 2;
    namespace U = fields::User;
    band.addText(U::USER1.text(), QRectF(left, kBoxTop + 6, width, 5), run.settingsText(U::USER1),
                 s.withSize(10).withBold());
    double y = kBoxTop + 11.5;
    // An empty second name line gives its place to the lines below it.
    for (const Field& field : {U::USER2, U::CIM, U::TELEFON, U::WEBLAP, U::EMAIL}) {
        const QString text = run.settingsText(field);
        if (text.trimmed().isEmpty() && field.name == U::USER2.name) continue;
        band.addText(field.text(), QRectF(left, y, width, kSellerLineStep), text, s);
        y += kSellerLineStep;
    }
    y = kBoxTop + kBoxHeight + 1;
    for (const Field& field : {U::SZAMLASZAM, U::ADOSZAM, U::VALLALK_IG, U::LABLEC1}) {
        band.addText("settings" + field.text(), QRectF(0, y, 93, 3.6), run.settingsText(field), s.withSize(7.5));
        y += 3.6;
    }
}

void addBuyer(SzamlarRun& run, Band& band) {
    const TextStyle s = run.base;
    const double x = kBuyerLeft + 2;
    band.addFrame("buyerBox", QRectF(kBuyerLeft, kBoxTop, 93, kBoxHeight));
    band.addText("buyerCaption", QRectF(x, kBoxTop + 1, 89, 4), run.rules.buyerCaption, s.withSize(7).withBold());
    band.addText("nameLabel", QRectF(x, kBoxTop + 7, 12, 5), "Név :", s);
    band.addText("buyerName", QRectF(x + 12, kBoxTop + 6.7, 77, 9),
                 run.headerText(H::NEV) + " " + run.headerText(H::NEV1), s.withSize(9).withBold().wrapped());
    band.addText("addressLabel", QRectF(x, kBoxTop + 17, 12, 5), "Cím :", s);
    band.addText("buyerTown", QRectF(x + 12, kBoxTop + 16.7, 77, 4.5),
                 run.headerText(H::IRSZAM) + " " + run.headerText(H::VAROS), s.withSize(9));
    band.addText("buyerStreet", QRectF(x + 12, kBoxTop + 21.2, 77, 4.5), run.headerText(H::CIM), s.withSize(9));
    // The buyer's tax numbers as the document was issued to it.
    double y = kBoxTop + 26.2;
    const QString tax = run.optionalHeaderText(H::BUYERTAX);
    if (!tax.isEmpty()) {
        band.addText("buyerTaxNumber", QRectF(x, y, 89, 4.5), QStringLiteral("Adószám: ") + tax, s.withSize(9));
        y += 4.5;
    }
    const QString eu = run.optionalHeaderText(H::BUYEREU);
    if (!eu.isEmpty())
        band.addText("buyerEuTaxNumber", QRectF(x, y, 89, 4.5), QStringLiteral("Közösségi adószám: ") + eu,
                     s.withSize(9));
}

// Cash-register sales and scrap records have no buyer: the name label shows the date and
// under it the number.
void addCashBlock(SzamlarRun& run, Band& band) {
    const TextStyle s = run.base.withSize(9);
    const double x = kBuyerLeft + 2;
    band.addFrame("buyerBox", QRectF(kBuyerLeft, kBoxTop, 93, kBoxHeight));
    band.addText("nameLabel", QRectF(x, kBoxTop + 7, 89, 5), "Kelt:" + run.headerText(H::KIALLIT), s);
    const QString caption = QStringLiteral("Bizonylat: ");
    if (!run.numberAsField()) {
        band.addText("numberLabel", QRectF(x, kBoxTop + 12.5, 89, 5), caption + run.headerText(H::SZAMLASZAM), s);
        return;
    }
    const double captionWidth = report::textWidth(s, caption);
    band.addText("numberLabel", QRectF(x, kBoxTop + 12.5, captionWidth + 0.5, 5), caption, s);
    band.addText("number", QRectF(x + captionWidth, kBoxTop + 12.5, 89 - captionWidth, 5),
                 run.headerText(H::SZAMLASZAM), s.withBold());
}

QString copiesNote(const SzamlarRun& run) {
    const int copies = run.copiesPrinted();
    if (run.inMemory || copies <= 0) return QStringLiteral("Az eredetivel megegyező hiteles másolat");
    return "A bizonylat " + QString::number(copies) + " példányban került nyomtatásra.";
}

void addNotesAndLabels(SzamlarRun& run, Band& band) {
    const TextStyle s = run.base.withSize(7.5);
    const double y = kBoxTop + kBoxHeight + 1;
    band.addText("copiesNote", QRectF(kBuyerLeft, y, 93, 3.8), copiesNote(run), s);
    // A document never printed has no serial yet: no "0. példány".
    const int64_t serial = run.header.asInteger(H::PRINT);
    if (run.rules.serialShown && !run.copyMarksHidden() && serial > 0)
        band.addText("serialLabel", QRectF(kBuyerLeft, y + 4, 46, 3.8), QString::number(serial) + ". példány", s);
    band.addPageNumber("pageLabel", QRectF(kBuyerLeft + 47, y + 4, 46, 3.8), "{page}/{pages} oldal",
                       s.withAlignment(kRight));
}

void addFiveBoxes(SzamlarRun& run, Band& band) {
    const bool dates = run.rules.datesShown;
    const std::pair<QString, QString> boxes[] = {
        {"Fizetés módja:", dates ? run.headerText(H::FIZMOD) : kNotApplicable},
        {"A teljesítés ideje:", dates ? run.headerText(H::TELJESIT) : kNotApplicable},
        {run.issueDateCaption(), run.headerText(H::KIALLIT)},
        {"Fizetési határidő:", dates ? run.headerText(H::FIZHAT) : kNotApplicable},
        {run.numberCaption(), run.headerText(run.numberField())},
    };
    const double top = kCashHeaderHeight + 0.5, width = szamlar::kWidth / 5;
    for (int i = 0; i < 5; ++i) {
        const double x = i * width;
        const std::string n = std::to_string(i + 1);
        band.addFrame("box" + n, QRectF(x, top, width, 11));
        band.addText("boxCaption" + n, QRectF(x + 1, top + 0.8, width - 2, 3.6), boxes[i].first,
                     run.base.withSize(6.5).withAlignment(kCentre));
        band.addText("boxValue" + n, QRectF(x + 1, top + 5, width - 2, 5), boxes[i].second,
                     run.base.withSize(9).withBold().withAlignment(kCentre));
    }
}

}  // namespace

void buildPageHeader(SzamlarRun& run) {
    const bool cash = run.cashLayout();
    Band& band = run.layout.addBand(BandKind::PageHeader, "pageHeader", cash ? kCashHeaderHeight : kHeaderHeight);
    band.addText("title", QRectF(90, 0, 100, 8), run.title(), run.base.withSize(16).withBold().withAlignment(kRight));
    if (!cash)
        band.addText("copyLabel", QRectF(70, 8, 120, 5),
                     run.copyMarksHidden() ? QString() : run.rules.copyLabel(run.copyLabel()),
                     run.base.withSize(9).withBold().withAlignment(kRight));
    addSeller(run, band);
    if (cash)
        addCashBlock(run, band);
    else
        addBuyer(run, band);
    addNotesAndLabels(run, band);
    if (!cash) addFiveBoxes(run, band);
    if (!run.overlay().isNull())
        band.addPicture("overlay", QRectF(20, kBoxTop, 150, 50), run.overlay(), Qt::AlignCenter);
}

void buildColumnHeader(SzamlarRun& run) {
    struct Heading {
        const char* name;
        Column column;
        QString upper;
        QString lower;
        bool amount;
    };
    const bool ownFirst = !run.firstColumnHeading().isEmpty();
    const std::vector<Heading> headings = {
        {"tariff", szamlar::kTariff, ownFirst ? run.firstColumnHeading() : QStringLiteral("VTSZ/"),
         ownFirst ? QString() : QStringLiteral("SZJ"), false},
        {"name", szamlar::kNameOneRow, "Megnevezés", "", false},
        {"quantity", run.quantityColumn(), "mennyi-", "sége", false},
        {"unit", run.unitColumn(), "menny.", "egysége", false},
        {"unitPrice", szamlar::kUnitPrice, "egységára", "(ÁFA nélkül)", true},
        {"netValue", szamlar::kNetValue, "értéke", "(ÁFA nélkül)", true},
        {"rate", run.rateColumn(), "ÁFA", "(%)", false},
        {"vatAmount", szamlar::kVatAmount, "áthárított ÁFA", "összege", true},
        {"grossValue", szamlar::kGrossValue, "értéke (ÁFÁ-", "val együtt)", true},
    };
    Band& band = run.layout.addBand(BandKind::ColumnHeader, "columnHeader", 9);
    band.addLine("top", QPointF(0, 0.3), QPointF(szamlar::kWidth, 0.3), 0.3);
    band.addLine("bottom", QPointF(0, 8.7), QPointF(szamlar::kWidth, 8.7), 0.3);
    const TextStyle s = run.base.withSize(6.5).withAlignment(kCentre);
    const bool noPrices = run.supplierOrderForm();
    for (const Heading& h : headings) {
        if (noPrices && h.amount) continue;
        const QRectF upper(h.column.x, h.lower.isEmpty() ? 2.7 : 1, h.column.width, 3.5);
        band.addText(std::string(h.name) + "Upper", upper, h.upper, s);
        band.addText(std::string(h.name) + "Lower", QRectF(h.column.x, 4.5, h.column.width, 3.5), h.lower, s);
    }
}

}  // namespace kavina
