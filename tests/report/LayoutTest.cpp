// The band engine: print order, groups, page breaks and page numbers, stretching texts,
// before-print hooks, data-bound texts and what preparing leaves of the source.

#include "report/Layout.h"

#include <gtest/gtest.h>

#include "dbase/DbError.h"
#include "foundation/MemTable.h"
#include "report/PagePainter.h"

namespace kavina::report {
namespace {

using dbase::FieldType;

// The fields of the test's record set.
namespace L {
constexpr Field NEV{"lines", "NEV"};
constexpr Field CSOPORT{"lines", "CSOPORT"};
}  // namespace L

class LayoutTest : public ::testing::Test {
protected:
    MemTable lines{"lines"};
    Layout layout;
    TextStyle style;

    void SetUp() override {
        lines.setFields({{"NEV", FieldType::Character, 100}, {"CSOPORT", FieldType::Character, 10}});
        layout.setSource(&lines);
    }

    void add(const QString& name, const QString& group = {}) {
        lines.append();
        lines.setString(L::NEV, name);
        lines.setString(L::CSOPORT, group);
        lines.post();
    }

    Band& detailWithName(double height = 5) {
        Band& detail = layout.addBand(BandKind::Detail, "detail", height);
        detail.addField("name", QRectF(0, 0, 100, height), lines, "NEV", style);
        return detail;
    }

    static std::vector<std::string> bandNames(const PreparedReport& r, int page) {
        std::vector<std::string> names;
        for (const PlacedBand& b : r.page(page).bands) names.push_back(b.name);
        return names;
    }
};

// Page header, title, column header, group header on every change, details, the group
// footer showing its group's last record, summary, page footer at the bottom.
TEST_F(LayoutTest, BandsPrintInOrderWithGroupsAndTheFooterAtThePageBottom) {
    for (auto [name, group] : {std::pair{"alma", "gyümölcs"}, {"körte", "gyümölcs"}, {"répa", "zöldség"}})
        add(name, group);
    layout.addBand(BandKind::PageFooter, "footer", 10).addText("f", QRectF(0, 0, 50, 5), "lábléc", style);
    layout.addBand(BandKind::Summary, "summary", 5).addText("s", QRectF(0, 0, 50, 5), "összesen", style);
    layout.addBand(BandKind::PageHeader, "header", 20).addText("h", QRectF(0, 0, 50, 5), "fejléc", style);
    layout.addBand(BandKind::Title, "title", 5).addText("t", QRectF(0, 0, 50, 5), "cím", style);
    layout.addBand(BandKind::ColumnHeader, "columns", 5).addText("c", QRectF(0, 0, 50, 5), "oszlopok", style);
    Band& groupHeader = layout.addBand(BandKind::GroupHeader, "group", 5);
    groupHeader.setGroupField("CSOPORT");
    groupHeader.addField("g", QRectF(0, 0, 50, 5), lines, "CSOPORT", style).format = [](const RecordCursor& c) {
        return c.asString(L::CSOPORT).toUpper();
    };
    Band& groupFooter = layout.addBand(BandKind::GroupFooter, "groupEnd", 5);
    groupFooter.setGroupField("CSOPORT");
    groupFooter.addField("last", QRectF(0, 0, 50, 5), lines, "NEV", style);
    detailWithName();
    lines.first();
    lines.next();

    const PreparedReport r = layout.prepare();

    ASSERT_EQ(r.pageCount(), 1);
    EXPECT_EQ(bandNames(r, 0),
              (std::vector<std::string>{"header", "title", "columns", "group", "detail", "detail", "groupEnd", "group",
                                        "detail", "groupEnd", "summary", "footer"}));
    EXPECT_EQ(r.texts(0, "groupEnd"), (QStringList{"körte", "répa"}));
    EXPECT_EQ(r.texts(0, "group"), (QStringList{"GYÜMÖLCS", "ZÖLDSÉG"}));
    const PlacedBand& footer = r.page(0).bands.back();
    EXPECT_DOUBLE_EQ(footer.rect.bottom(), layout.pageSetup().contentRect().bottom());
    EXPECT_DOUBLE_EQ(r.page(0).bands.front().rect.top(), 10);
    EXPECT_EQ(lines.asString(L::NEV), "körte") << "the source is left where it was";
}

// Details that do not fit above the footer go to a new page with the headers again; no
// record is lost or repeated, and every page's "n/m" counts the pages of the whole run.
TEST_F(LayoutTest, PagesBreakAboveTheFooterAndEveryPageKnowsThePageCount) {
    for (int i = 1; i <= 60; ++i) add(QString::number(i));
    Band& header = layout.addBand(BandKind::PageHeader, "header", 30);
    header.addPageNumber("page", QRectF(0, 0, 40, 5), "{page}/{pages} oldal", style);
    layout.addBand(BandKind::ColumnHeader, "columns", 8).addText("c", QRectF(0, 0, 40, 5), "Megnevezés", style);
    layout.addBand(BandKind::PageFooter, "footer", 15).addText("f", QRectF(0, 0, 40, 5), "lábléc", style);
    layout.addBand(BandKind::Summary, "summary", 40).addText("s", QRectF(0, 0, 40, 5), "összesen", style);
    detailWithName(10);

    const PreparedReport r = layout.prepare();

    ASSERT_EQ(r.pageCount(), 3);  // 277 mm - 53 mm leaves room for 22 lines a page
    QStringList printed;
    for (int p = 0; p < r.pageCount(); ++p) {
        const QString label = QString::number(p + 1) + "/3 oldal";
        EXPECT_EQ(r.texts(p, "header"), QStringList{label});
        EXPECT_EQ(r.texts(p, "columns"), QStringList{"Megnevezés"});
        EXPECT_EQ(r.texts(p, "footer"), QStringList{"lábléc"});
        const double footerTop = r.bands(p, "footer").front()->rect.top();
        for (const PlacedBand* d : r.bands(p, "detail")) EXPECT_LE(d->rect.bottom(), footerTop + 1e-9);
        printed << r.texts(p, "detail");
    }
    QStringList expected;
    for (int i = 1; i <= 60; ++i) expected << QString::number(i);
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(r.bands(0, "detail").size(), 22u);
    EXPECT_TRUE(r.bands(1, "summary").empty());
    EXPECT_EQ(r.texts(2, "summary"), QStringList{"összesen"}) << "the summary follows the last line";
}

// A wrapped text taller than its box makes its band taller, pushing what follows down;
// an unwrapped one keeps the band's height.
TEST_F(LayoutTest, AStretchingWrappedTextGrowsItsBand) {
    add(QString("hosszú megnevezés ").repeated(5));
    add("rövid");
    Band& detail = layout.addBand(BandKind::Detail, "detail", 4);
    Element& name = detail.addField("name", QRectF(0, 0, 30, 4), lines, "NEV", style.wrapped());
    name.stretch = true;

    const PreparedReport r = layout.prepare();

    const auto details = r.bands(0, "detail");
    ASSERT_EQ(details.size(), 2u);
    EXPECT_GT(details[0]->rect.height(), 8);
    EXPECT_NEAR(details[0]->rect.height(), textHeight(style.wrapped(), QString("hosszú megnevezés ").repeated(5), 30),
                1e-9);
    EXPECT_DOUBLE_EQ(details[1]->rect.top(), details[0]->rect.bottom());
    EXPECT_DOUBLE_EQ(details[1]->rect.height(), 4);
}

// Hooks see the page and record number, set texts, change heights, move elements and skip
// a print; what they change stays for the next print.
TEST_F(LayoutTest, BeforePrintHooksChangeTextsHeightsPositionsAndSkipBands) {
    for (const char* n : {"a", "b", "c", "d"}) add(n);
    Band& detail = detailWithName(5);
    detail.addText("number", QRectF(120, 0, 20, 5), {}, style);
    std::vector<int> pagesSeen;
    detail.setBeforePrint([&](Band& band, PrintContext& context) {
        pagesSeen.push_back(context.page);
        band.element("number").text = QString::number(context.recordNumber);
        context.print = context.recordNumber != 2;
        if (context.recordNumber == 3) {
            band.setHeight(12);
            band.element("number").rect.moveLeft(150);
        }
    });

    const PreparedReport r = layout.prepare();

    const auto details = r.bands(0, "detail");
    ASSERT_EQ(details.size(), 3u);
    EXPECT_EQ(r.texts(0, "detail"), (QStringList{"a", "1", "c", "3", "d", "4"}));
    EXPECT_DOUBLE_EQ(details[1]->rect.height(), 12);
    EXPECT_DOUBLE_EQ(details[2]->rect.height(), 12) << "a change stays for the next print";
    EXPECT_DOUBLE_EQ(r.item(r.page(0), *details[0], "number")->rect.left(), 130);
    EXPECT_DOUBLE_EQ(r.item(r.page(0), *details[1], "number")->rect.left(), 160);
    EXPECT_EQ(pagesSeen, (std::vector<int>{1, 1, 1, 1}));
}

// A band taller than a whole page goes on a page of its own instead of breaking forever.
TEST_F(LayoutTest, ABandTallerThanThePageStillPrintsOnce) {
    add("a");
    add("b");
    detailWithName(400);
    const PreparedReport r = layout.prepare();
    EXPECT_EQ(r.pageCount(), 2);
    EXPECT_EQ(r.texts(0, "detail"), QStringList{"a"});
    EXPECT_EQ(r.texts(1, "detail"), QStringList{"b"});
}

// Empty texts and texts bound to an empty cursor put nothing on the page; a layout without
// records still prints its summary; an unknown field fails and leaves the source in place.
TEST_F(LayoutTest, EmptyValuesPrintNothingAndAnUnknownFieldFails) {
    MemTable header{"header"};
    header.setFields({{"SZAM", FieldType::Character, 10}});
    Band& summary = layout.addBand(BandKind::Summary, "summary", 5);
    summary.addField("number", QRectF(0, 0, 20, 5), header, "SZAM", style);
    summary.addText("empty", QRectF(30, 0, 20, 5), {}, style);
    summary.addText("fixed", QRectF(60, 0, 20, 5), "ott", style);

    PreparedReport r = layout.prepare();
    ASSERT_EQ(r.pageCount(), 1);
    EXPECT_EQ(r.texts(0, "summary"), QStringList{"ott"});

    add("a");
    add("b");
    lines.last();
    Band& detail = layout.addBand(BandKind::Detail, "detail", 5);
    detail.addField("bad", QRectF(0, 0, 20, 5), lines, "NINCS", style);
    EXPECT_THROW(layout.prepare(), dbase::DbError);
    EXPECT_EQ(lines.asString(L::NEV), "b");
}

// Rich text is inspected as its plain text and its height follows the document; a
// landscape page turns the paper.
TEST_F(LayoutTest, RichTextStretchesToItsDocumentAndLandscapeTurnsThePaper) {
    layout.pageSetup().orientation = QPageLayout::Landscape;
    auto doc = std::make_shared<QTextDocument>();
    doc->setHtml("<p><b>Fizetési feltételek</b></p><p>Első sor</p><p>Második sor</p><p>Harmadik sor</p>");
    Band& summary = layout.addBand(BandKind::Summary, "summary", 1);
    summary.addRichText("footer", QRectF(0, 0, 100, 1), doc);

    const PreparedReport r = layout.prepare();

    EXPECT_NEAR(r.setup().paperSize().width(), 297, 0.5);
    const PlacedBand& band = *r.bands(0, "summary").front();
    EXPECT_EQ(r.text(r.page(0), band, "footer"), doc->toPlainText());
    EXPECT_NEAR(band.rect.height(), richTextHeight(*doc, 100), 1e-9);
    EXPECT_GT(band.rect.height(), 4 * textHeight(style, "x", 100) * 0.8);
}

}  // namespace
}  // namespace kavina::report
