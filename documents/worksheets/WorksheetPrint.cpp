#include "documents/worksheets/WorksheetPrint.h"

#include <QDir>

#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/TextFormat.h"

namespace kavina::documents {

namespace {

using report::Band;
using report::BandKind;
using report::TextStyle;
namespace U = fields::User;

// Every value of the work and cost rows stands with one blank before and after it.
QString spaced(const QString& value) {
    return QLatin1Char(' ') + value + QLatin1Char(' ');
}

QString number(double value) {
    return spaced(numberBoxText(value));
}

class Page {
public:
    Page(Band& band, double width) : m_band(band), m_width(width) {}

    void text(const QString& t, double left, double width, double height, const TextStyle& style) {
        m_band.addText("t" + std::to_string(m_count++), QRectF(left, m_y, width, height), t, style);
    }
    void line() { m_band.addLine("l" + std::to_string(m_count++), QPointF(0, m_y), QPointF(m_width, m_y)); }
    void frame(double height) { m_band.addFrame("f" + std::to_string(m_count++), QRectF(0, m_y, m_width, height)); }
    void down(double mm) { m_y += mm; }
    double y() const { return m_y; }
    Band& band() { return m_band; }

private:
    Band& m_band;
    double m_width;
    double m_y = 0;
    int m_count = 0;
};

void companyBlock(Page& page, const WorksheetCompany& company, const TextStyle& plain, double width) {
    const double left = company.logo.isNull() ? 0 : 30;
    if (!company.logo.isNull()) page.band().addPicture("logo", QRectF(0, 0, 26, 26), company.logo);
    page.text(QStringLiteral("MUNKALAP "), width - 80, 80, 10,
              plain.withSize(18).withBold().withAlignment(Qt::AlignRight | Qt::AlignTop));
    page.text(company.name, left, 110, 6, plain.withSize(12).withBold());
    page.down(6);
    for (const QString& line : {company.name2, company.address, company.phone}) {
        page.text(line, left, 110, 5, plain.withSize(9));
        page.down(5);
    }
    page.down(std::max(0.0, 28 - page.y()));
}

void customerBlock(Page& page, const WorksheetValues& w, const TextStyle& plain, const TextStyle& bold) {
    page.text(QStringLiteral(" Megrendelő "), 0, 60, 5, bold);
    page.down(6);
    page.frame(18);
    page.down(1.5);
    page.text(QStringLiteral("Név :"), 2, 20, 5, plain);
    page.text((w.name.trimmed() + QLatin1Char(' ') + w.name2.trimmed()).trimmed(), 22, 160, 5, bold);
    page.down(5.5);
    page.text(QStringLiteral("Cím :"), 2, 20, 5, plain);
    page.text(w.postcode.trimmed() + QLatin1Char(' ') + w.town.trimmed(), 22, 160, 5, plain);
    page.down(5);
    page.text(w.address.trimmed(), 22, 160, 5, plain);
    page.down(8);
}

void timesRow(Page& page, const WorksheetValues& w, const TextStyle& plain, const TextStyle& small) {
    const struct {
        const char* label;
        QString value;
    } cells[] = {{"Munkatársunk:", w.clerk.trimmed()},
                 {"Munka kezdete:", dateText(w.started)},
                 {"Munka befelyezve:", dateText(w.finished)},
                 {"Dátum:", dateText(w.printDate)},
                 {"Munkalap száma:", w.number}};
    const double cellWidth = 190.0 / 5;
    page.frame(12);
    for (int i = 0; i < 5; ++i) {
        page.text(QString::fromUtf8(cells[i].label), i * cellWidth + 1.5, cellWidth - 2, 4, small);
        page.band().addText("cell" + std::to_string(i), QRectF(i * cellWidth + 1.5, page.y() + 5, cellWidth - 2, 5),
                            cells[i].value, plain.withBold());
    }
    page.down(16);
}

void workAndCosts(Page& page, const WorksheetValues& w, const TextStyle& plain, const TextStyle& bold) {
    page.text(QStringLiteral(" Teljesítések "), 0, 80, 5, bold);
    page.down(6);
    page.text(QStringLiteral("Munkaórák száma:") + number(w.hours) + QStringLiteral("óra"), 4, 90, 5, plain);
    page.text(QStringLiteral("Utazási idő:") + number(w.travelHours) + QStringLiteral("óra"), 100, 90, 5, plain);
    page.down(8);
    page.text(QStringLiteral("Költségek"), 0, 80, 5, bold);
    page.down(6);
    const QString rows[] = {QStringLiteral("Gépkocsi használat") + spaced(w.plate.trimmed()) + QStringLiteral("frsz") +
                                number(w.kilometres) + QStringLiteral("km"),
                            QStringLiteral("Utazási költség") + number(w.travelCost) + QStringLiteral("Ft"),
                            QStringLiteral("Szállásköltség") + spaced(w.lodging.trimmed()) +
                                number(w.lodgingCost).mid(1) + QStringLiteral("Ft"),
                            QStringLiteral("Egyéb költség") + spaced(w.other.trimmed()) + number(w.otherCost).mid(1) +
                                QStringLiteral("Ft")};
    for (const QString& row : rows) {
        page.text(row, 4, 186, 5, plain);
        page.down(5.5);
    }
    page.down(3);
}

void memoBox(Page& page, const QString& title, const QString& text, double height, const TextStyle& plain,
             const TextStyle& bold) {
    page.text(title, 0, 120, 5, bold);
    page.down(6);
    page.frame(height);
    page.band().addText("memo" + title.toStdString(), QRectF(2, page.y() + 1.5, 186, height - 3), text.trimmed(),
                        plain.wrapped());
    page.down(height + 4);
}

void signatures(Page& page, const WorksheetCompany& company, const TextStyle& plain, const TextStyle& bold) {
    page.text(QStringLiteral("A javítást megrendelem / A munka elvégzését igazolom"), 0, 190, 5, bold);
    page.down(22);
    page.band().addLine("sign1", QPointF(10, page.y()), QPointF(80, page.y()));
    page.band().addLine("sign2", QPointF(110, page.y()), QPointF(180, page.y()));
    page.down(1);
    const TextStyle centred = plain.withAlignment(Qt::AlignHCenter | Qt::AlignTop);
    page.text(QStringLiteral("Megrendelő aláírása"), 10, 70, 5, centred);
    page.text(QStringLiteral("Munkatárs aláírása"), 110, 70, 5, centred);
    page.down(10);
    page.text(company.closingText.trimmed(), 0, 190, 20, plain.withSize(7).wrapped());
}

}  // namespace

WorksheetCompany worksheetCompany(const RecordCursor& settings, const QString& dataFolder) {
    WorksheetCompany company{settings.asString(U::USER1).trimmed(),
                             settings.asString(U::USER2).trimmed(),
                             settings.asString(U::CIM).trimmed(),
                             settings.asString(U::TELEFON).trimmed(),
                             settings.asString(U::LABMUNKA),
                             settings.asString(U::LAPLABLEC).trimmed(),
                             {}};
    const QString logo = settings.asString(U::LOGOKEP).trimmed();
    if (!logo.isEmpty()) company.logo = QImage(QDir(dataFolder).filePath(logo));
    return company;
}

std::unique_ptr<report::Layout> TMunkalapr(const WorksheetValues& worksheet, const WorksheetCompany& company,
                                           const QString& webAddress) {
    auto layout = std::make_unique<report::Layout>();
    const double width = layout->bandWidth();
    const TextStyle plain = TextStyle{}.withSize(9);
    const TextStyle bold = plain.withBold();

    Page page(layout->addBand(BandKind::Title, "Worksheet", 250), width);
    companyBlock(page, company, plain, width);
    customerBlock(page, worksheet, plain, bold);
    timesRow(page, worksheet, plain, plain.withSize(7));
    workAndCosts(page, worksheet, plain, bold);
    memoBox(page, QStringLiteral("A bejelentett hiba"), worksheet.fault, 22, plain, bold);
    memoBox(page, QStringLiteral("Az elvégzett munka leírása"), worksheet.work, 45, plain, bold);
    signatures(page, company, plain, bold);

    Band& footer = layout->addBand(BandKind::PageFooter, "PageFooter", 9);
    const TextStyle small = TextStyle{}.withSize(7);
    footer.addLine("overline", QPointF(0, 1), QPointF(width, 1));
    footer.addText("pageFooter", QRectF(0, 1.5, width, 3.5), company.pageFooter,
                   small.withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    footer.addText("version", QRectF(0, 5, 60, 4), QStringLiteral("Kavina 1.0 verzió"), small);
    footer.addText("web", QRectF(width - 80, 5, 80, 4), webAddress, small.withAlignment(Qt::AlignRight | Qt::AlignTop));
    return layout;
}

}  // namespace kavina::documents
