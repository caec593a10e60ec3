// The document print layout, read back as text items per band and page: the VAT summary
// with discount, FAD and italics, rounding and payable lines, type rules, the set-up of the
// sales modes, the supplier-order form, page breaks and the two print sources.

#include "invoicing/print/TSzamlar.h"

#include <gtest/gtest.h>

#include <QImage>

#include "InvoiceFixture.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/QtPrinters.h"
#include "foundation/SzamSzov.h"
#include "foundation/TDataModule1.h"
#include "report/PreparedReport.h"

namespace kavina {
namespace {

using namespace testing_invoice;
using report::PreparedReport;

class TSzamlarTest : public ::testing::Test {
protected:
    MemTable settings{"settings"};
    MemoryDocument doc;
    testing_support::TestFolder folder;

    void SetUp() override { defineSettings(settings); }

    TSzamlarEnvironment environment(int szlistmode = 1) {
        return {&settings, QString::fromStdString(folder.path()), "Kovács Anna", szlistmode, 7};
    }

    void header(const QString& type, double payable, int discount = 0) {
        appendHeader(doc.mszamla, type, payable, discount);
    }
    void line(const LineSpec& spec) { appendLine(doc.mszamla2, "SZA2008/00007", spec); }

    PreparedReport print(TSzamlar& layout) {
        layout.useMemoryDocument(doc);
        doc.sortLinesForPrint();
        return layout.prepare();
    }

    PreparedReport invoice(int szlistmode = 1) {
        TSzamlar layout(environment(szlistmode));
        layout.setUp(SalesMode::Invoice);
        return print(layout);
    }

    // The text of the band's element on its first print on the page.
    static QString text(const PreparedReport& r, const char* band, const char* element, int page = 0) {
        const auto bands = r.bands(page, band);
        return bands.empty() ? QString("<no band>") : r.text(r.page(page), *bands.front(), element);
    }
    static const report::PageItem* item(const PreparedReport& r, const char* band, const char* element, int nth = 0,
                                        int page = 0) {
        const auto bands = r.bands(page, band);
        return size_t(nth) < bands.size() ? r.item(r.page(page), *bands[size_t(nth)], element) : nullptr;
    }
};

// 27 % and 5 % with a 10 % discount: the 5 % row first; each row the undiscounted net, the
// discount, the discounted net, the VAT and the gross; the totals add the rows.
TEST_F(TSzamlarTest, TwoRatesGiveTwoSummaryRowsLowestFirstWithTheDiscountApplied) {
    header("B", 1332, 10);
    line({"Fúrógép", 2, 500, 27});
    line({"Szakkönyv", 1, 200, 5});
    const PreparedReport r = invoice();

    EXPECT_EQ(text(r, "summary", "head1Lower"), "(10 %)");
    EXPECT_EQ(text(r, "summary", "rate0"), "5 %");
    EXPECT_EQ(text(r, "summary", "rate1"), "27 %");
    EXPECT_EQ(text(r, "summary", "rate2"), "");
    const QStringList row27 = {text(r, "summary", "net1"), text(r, "summary", "discount1"),
                               text(r, "summary", "discountedNet1"), text(r, "summary", "vat1"),
                               text(r, "summary", "gross1")};
    EXPECT_EQ(row27, (QStringList{moneyText(1000), moneyText(100), moneyText(900), moneyText(243), moneyText(1143)}));
    EXPECT_EQ(text(r, "summary", "discount0"), moneyText(20));
    EXPECT_EQ(text(r, "summary", "vat0"), moneyText(9));
    EXPECT_EQ(text(r, "summary", "gross9"), moneyText(1332));
    EXPECT_EQ(text(r, "summary", "discountedNet9"), moneyText(1080));
    EXPECT_EQ(text(r, "summary", "rounding"), "") << "1332 payable against 1332 gross";
    EXPECT_EQ(moneyText(1143), " 1 143,00 Ft");
}

// A 0 % line prints FAD in its rate column and in the first summary row, "---" for its VAT.
TEST_F(TSzamlarTest, AZeroRateLinePrintsFadAndDashes) {
    header("B", 1270 + 300);
    line({"Tankönyv", 1, 300, 0});
    line({"Fúrógép", 2, 500, 27});
    const PreparedReport r = invoice();
    EXPECT_EQ(text(r, "detail", "AFA"), "FAD");
    EXPECT_EQ(text(r, "detail", "AFAFT"), "---");
    EXPECT_EQ(text(r, "summary", "rate0"), "FAD");
    EXPECT_EQ(text(r, "summary", "vat0"), "") << "a zero amount is left empty";
    EXPECT_EQ(text(r, "summary", "rate1"), "27 %");
}

// The buyer's tax numbers as issued print under its address; a buyer without them prints none.
TEST_F(TSzamlarTest, TheBuyersTaxNumbersPrintUnderItsAddress) {
    header("B", 1270);
    doc.mszamla.edit();
    doc.mszamla.setString(fields::Szamla::BUYERTAX, "12345676-2-41");
    doc.mszamla.setString(fields::Szamla::BUYEREU, "HU12345676");
    doc.mszamla.post();
    line({"Fúrógép", 2, 500, 27});
    PreparedReport r = invoice();
    EXPECT_EQ(text(r, "pageHeader", "buyerTaxNumber"), "Adószám: 12345676-2-41");
    EXPECT_EQ(text(r, "pageHeader", "buyerEuTaxNumber"), "Közösségi adószám: HU12345676");
    doc.mszamla.edit();
    doc.mszamla.setString(fields::Szamla::BUYERTAX, "");
    doc.mszamla.post();
    r = invoice();
    EXPECT_EQ(item(r, "pageHeader", "buyerTaxNumber"), nullptr);
    EXPECT_EQ(text(r, "pageHeader", "buyerEuTaxNumber"), "Közösségi adószám: HU12345676");
}

// A 0 % group with an exemption case prints the case where a plain one prints FAD, and the
// legal reason in the remarks.
TEST_F(TSzamlarTest, AnExemptZeroRatePrintsItsCaseAndTheReasonInTheRemarks) {
    createDataFolder(folder.path());
    {
        TDataModule1 data;
        data.open(folder.path());
        TableHandle& vat = data.AFATable();
        for (vat.first(); !vat.eof(); vat.next())
            if (vat.asFloat(fields::AFA::AFA) == 0) {
                vat.edit();
                vat.setString(fields::AFA::VATKIND, "E");
                vat.setString(fields::AFA::VATCASE, "AAM");
                vat.setString(fields::AFA::VATREASON, "Alanyi adómentes");
                vat.post();
            }
    }
    header("B", 1270 + 300);
    line({"Tankönyv", 1, 300, 0});
    line({"Fúrógép", 2, 500, 27});
    const PreparedReport r = invoice();
    EXPECT_EQ(text(r, "detail", "AFA"), "AAM");
    EXPECT_EQ(text(r, "summary", "rate0"), "AAM");
    EXPECT_TRUE(text(r, "remark", "MEGJEGYZES").endsWith("AAM: Alanyi adómentes"))
        << text(r, "remark", "MEGJEGYZES").toStdString();
}

// 12.3456 prints as 12,35 in italics and brings the note; an amount of exactly two
// decimals stays upright even where floating arithmetic leaves noise (12.35 * 100).
TEST_F(TSzamlarTest, AnAmountWithMoreThanTwoDecimalsPrintsRoundedInItalicsWithTheNote) {
    header("B", 16);
    line({"Csavar", 1, 12.3456, 27});
    line({"Alátét", 1, 12.35, 0});
    const PreparedReport r = invoice();
    const report::PageItem* odd = item(r, "detail", "EGYSEGAR", 0);
    const report::PageItem* even = item(r, "detail", "EGYSEGAR", 1);
    ASSERT_TRUE(odd && even);
    EXPECT_EQ(odd->text, "    12,35 Ft");
    EXPECT_EQ(even->text, "    12,35 Ft");
    EXPECT_EQ(r.texts(0, "detail")[1], "Alátét") << "the 0 % line first";
    EXPECT_FALSE(r.style(*odd).italic) << "the 0 % line's 12.35";
    EXPECT_TRUE(r.style(*even).italic) << "12.3456";
    EXPECT_EQ(text(r, "summary", "note"), TSzamlar::kItalicNote);
}

TEST_F(TSzamlarTest, ANoteLineTellsTheOriginalPricesBeforeTheItalicNote) {
    header("3", 100);
    doc.mszamla.edit();
    doc.mszamla.setFloat(fields::Szamla::szlnetto, 1234.5);
    doc.mszamla.setFloat(fields::Szamla::szlbrutto, 1567.82);
    doc.mszamla.post();
    line({"Csavar", 1, 12.3456, 27});
    const PreparedReport r = invoice();
    EXPECT_EQ(text(r, "summary", "note"),
              " Az eredeti bizonylaton szereplő nettó ár: 1234,5 Ft, bruttó ár: 1567,82 Ft" + TSzamlar::kItalicNote);
}

// A cash invoice of 1 002 gross paying 1 000 shows the difference; the payable amount is
// grouped, in words, and from memory ends in ",-".
TEST_F(TSzamlarTest, ACashInvoiceRoundedDownShowsTheRoundingLineAndTheAmountInWords) {
    header("B", 1000);
    line({"Kábel", 1, 789, 27});  // 1 002,03 gross
    const PreparedReport r = invoice();
    EXPECT_EQ(text(r, "summary", "gross9"), moneyText(1002.03));
    EXPECT_EQ(text(r, "summary", "rounding"), "kerekítésből adódó eltérés: " + moneyText(1000 - 1002.03));
    EXPECT_TRUE(text(r, "summary", "rounding").endsWith(" -2,03 Ft"));
    EXPECT_EQ(text(r, "summary", "payable"), "1 000,-");
    EXPECT_EQ(text(r, "summary", "words"), "azaz egyezer Ft");
}

TEST_F(TSzamlarTest, WholeForintGrossPayingLessShowsMinusTwo) {
    header("B", 1000);
    line({"Kábel", 1, 1002, 0});
    const PreparedReport r = invoice();
    EXPECT_EQ(text(r, "summary", "rounding"), "kerekítésből adódó eltérés: " + QString("    -2,00 Ft"));
}

// The copy label, captions, serial label and dashes by type code.
TEST_F(TSzamlarTest, TypeRulesSetCaptionsCopyLabelSerialAndDashes) {
    struct Case {
        const char* type;
        QString seller, buyer, copy, serial, payment;
    };
    const QString certified = "Eredeti példány";
    const std::vector<Case> cases = {
        {"J", "Az eladó adatai ", " A vevő adatai ", "Számlával egy tekintet alá eső okirat! - Eredeti példány",
         "1. példány", "Készpénz"},
        {"B", "Az eladó adatai", "A vevő adatai", certified, "1. példány", "Készpénz"},
        {"A", "Az eladó adatai", "A vevő adatai", "", "", "Készpénz"},
        {"F", "Az átadó adatai", "Az átvevő adatai", "", "", "Készpénz"},
        {"3", "Az átvevő adatai", "Az átadó adatai", certified, "1. példány", "Készpénz"},
        {"4", "A szállító adatai", "A vevő adatai", "", "", "Készpénz"},
        {"X", "A megrendelő adatai", "A szállító adatai", "", "", "-------"},
        {"S", "Az eladó adatai ", " A vevő adatai ", certified, "1. példány", "Készpénz"},
    };
    for (const Case& c : cases) {
        doc.empty();
        header(c.type, 1270);
        line({"Fúrógép", 2, 500, 27});
        TSzamlar layout(environment());
        layout.setUp(SalesMode::Invoice);
        layout.setCopyLabel(certified);
        const PreparedReport r = print(layout);
        SCOPED_TRACE(c.type);
        EXPECT_EQ(text(r, "pageHeader", "sellerCaption"), c.seller);
        EXPECT_EQ(text(r, "pageHeader", "buyerCaption"), c.buyer);
        EXPECT_EQ(text(r, "pageHeader", "copyLabel"), c.copy);
        EXPECT_EQ(text(r, "pageHeader", "serialLabel"), c.serial);
        EXPECT_EQ(text(r, "pageHeader", "boxValue1"), c.payment);
        EXPECT_EQ(text(r, "pageHeader", "boxValue2"), c.type == QString("X") ? "-------" : "2008.03.14");
        EXPECT_EQ(text(r, "pageHeader", "boxValue3"), "2008.03.15");
        EXPECT_EQ(text(r, "pageHeader", "boxValue5"), "SZA2008/00007");
    }
}

// Five rates: the four lowest print, and the totals are theirs alone.
TEST_F(TSzamlarTest, FiveRatesPrintTheFourLowestAndTheirTotals) {
    header("B", 0);
    for (double rate : {27.0, 18.0, 5.0, 25.0, 20.0}) line({"Áru " + QString::number(rate), 1, 100, rate});
    const PreparedReport r = invoice();
    EXPECT_EQ((QStringList{text(r, "summary", "rate0"), text(r, "summary", "rate1"), text(r, "summary", "rate2"),
                           text(r, "summary", "rate3")}),
              (QStringList{"5 %", "18 %", "20 %", "25 %"}));
    EXPECT_EQ(text(r, "summary", "net9"), moneyText(400));
    EXPECT_EQ(text(r, "summary", "gross9"), moneyText(105 + 118 + 120 + 125));
    EXPECT_EQ(text(r, "summary", "vat9"), moneyText(68));
    EXPECT_EQ(text(r, "summary", "rounding"), "kerekítésből adódó eltérés: " + moneyText(-468));
}

// Sixty lines run over several pages, each with the page header and its "n/m oldal"; the
// summary follows the last line on the last page.
TEST_F(TSzamlarTest, SixtyLinesPrintOnSeveralPagesWithHeadersAndPageLabels) {
    header("B", 60 * 127);
    for (int i = 1; i <= 60; ++i) line({"Tétel " + QString::number(i), 1, 100, 27});
    const PreparedReport r = invoice();
    ASSERT_GE(r.pageCount(), 2);
    const QString count = QString::number(r.pageCount());
    QStringList names;
    for (int p = 0; p < r.pageCount(); ++p) {
        EXPECT_EQ(text(r, "pageHeader", "pageLabel", p), QString::number(p + 1) + "/" + count + " oldal");
        EXPECT_EQ(text(r, "pageHeader", "title", p), "SZÁMLA ");
        EXPECT_EQ(text(r, "columnHeader", "nameUpper", p), "Megnevezés");
        EXPECT_EQ(text(r, "pageFooter", "madeBy", p), "Készítette: Kovács Anna");
        for (const report::PlacedBand* d : r.bands(p, "detail")) names << r.text(r.page(p), *d, "MEGNEVEZES");
    }
    EXPECT_EQ(names.size(), 60);
    EXPECT_EQ(names.back(), "Tétel 60");
    const int last = r.pageCount() - 1;
    const auto& bands = r.page(last).bands;
    const auto summary = std::find_if(bands.begin(), bands.end(), [](const auto& b) { return b.name == "summary"; });
    ASSERT_NE(summary, bands.end());
    EXPECT_EQ((summary - 1)->name, "detail");
    EXPECT_EQ(text(r, "summary", "gross9", last), moneyText(60 * 127));
}

// Cash-register sales and scrap records leave out the buyer and the five boxes and show
// the date and number under the name label; the scrap number is an item of its own.
TEST_F(TSzamlarTest, CashSaleAndScrapPrintDateAndNumberInsteadOfTheBuyer) {
    header("1", 1270);
    line({"Fúrógép", 2, 500, 27});
    TSzamlar cash(environment());
    cash.setCopyLabel("Eredeti példány");
    cash.setUp(SalesMode::CashSale);
    PreparedReport r = print(cash);
    EXPECT_EQ(text(r, "pageHeader", "title"), "Pénztárgépes értékesítés ");
    EXPECT_EQ(text(r, "pageHeader", "nameLabel"), "Kelt:2008.03.15");
    EXPECT_EQ(text(r, "pageHeader", "numberLabel"), "Bizonylat: SZA2008/00007");
    const QStringList header = r.texts(0, "pageHeader");
    for (const char* absent :
         {"Cím :", "Példa Kereskedelmi Kft. Beszerzési osztály", "Fizetés módja:", "Eredeti példány"})
        EXPECT_FALSE(header.contains(absent)) << absent;
    EXPECT_LT(r.bands(0, "columnHeader").front()->rect.top(), 80) << "the headings move up";

    TSzamlar scrap(environment());
    scrap.setUp(SalesMode::Scrap);
    r = print(scrap);
    EXPECT_EQ(text(r, "pageHeader", "title"), "Selejtezési jegyzőkönyv ");
    EXPECT_EQ(text(r, "pageHeader", "numberLabel"), "Bizonylat: ");
    EXPECT_EQ(text(r, "pageHeader", "number"), "SZA2008/00007");
}

// A supplier order from its editor prints no prices: the amount headings and amounts are
// empty, quantity, unit and rate stand where the last three amounts were, no summary.
TEST_F(TSzamlarTest, TheSupplierOrderFormPrintsNoPricesAndMovesTheQuantityColumns) {
    header("X", 1270);
    line({"Fúrógép, ütvefúró, 800 W teljesítményű, koffer és fúrószár-készlet", 2, 500, 27});
    TSzamlar layout(environment(0));
    layout.setTitle("MEGRENDELÉS ");
    layout.setSupplierOrderForm(true);
    const PreparedReport r = print(layout);
    for (const char* absent : {"egységára", "értéke", "áthárított ÁFA", "értéke (ÁFÁ-"})
        EXPECT_FALSE(r.texts(0, "columnHeader").contains(absent)) << absent;
    for (const char* amount : {"EGYSEGAR", "NETTOAR", "AFAFT", "OSSZESEN"}) EXPECT_EQ(text(r, "detail", amount), "");
    EXPECT_DOUBLE_EQ(item(r, "detail", "MENNYISEG")->rect.left(), 10 + 114);
    EXPECT_DOUBLE_EQ(item(r, "detail", "EGYSEG")->rect.left(), 10 + 147);
    EXPECT_DOUBLE_EQ(item(r, "detail", "AFA")->rect.left(), 10 + 168);
    EXPECT_DOUBLE_EQ(item(r, "columnHeader", "quantityUpper")->rect.left(), 10 + 114);
    const report::PageItem* name = item(r, "detail", "MEGNEVEZES");
    EXPECT_LE(name->rect.right(), 10 + 114);
    EXPECT_GT(name->rect.width(), 53) << "wider than the name column, on one line";
    EXPECT_TRUE(r.bands(0, "summary").empty());
}

// Products and services under their group headings; the seller's logo pushes the seller
// lines right; an empty second name line lets the address move up.
TEST_F(TSzamlarTest, GroupsLogoAndSellerLines) {
    header("B", 1397);
    line({"Fúrógép", 2, 500, 27});
    line({"Javítás", 1, 100, 27, true});
    QImage logo(60, 40, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(QString::fromStdString(folder.file("logo.png"))));
    settings.edit();
    settings.setString(fields::User::LOGOKEP, "logo.png");
    settings.setString(fields::User::USER2, "");
    settings.post();
    const PreparedReport r = invoice();
    EXPECT_EQ(r.texts(0, "group"), (QStringList{"Termékek", "Szolgáltatások"}));
    const report::PageItem* picture = item(r, "pageHeader", "logo");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->image.size(), QSize(60, 40));
    EXPECT_GE(item(r, "pageHeader", "USER1")->rect.left(), picture->rect.right());
    EXPECT_EQ(text(r, "pageHeader", "USER2"), "");
    EXPECT_DOUBLE_EQ(item(r, "pageHeader", "CIM")->rect.top(), item(r, "pageHeader", "USER1")->rect.top() + 5.5);

    settings.edit();
    settings.setString(fields::User::LOGOKEP, "nincs.png");
    settings.post();
    const PreparedReport without = invoice();
    EXPECT_EQ(item(without, "pageHeader", "logo"), nullptr);
    EXPECT_DOUBLE_EQ(item(without, "pageHeader", "USER1")->rect.left(), 10 + 2);
}

// The remark, then the caller's footer rich text; the page footer's rich text, author,
// program label and the maker's address.
TEST_F(TSzamlarTest, RemarkFootersAndAuthor) {
    header("B", 1270);
    doc.mszamla.edit();
    doc.mszamla.setString(fields::Szamla::MEGJEGYZES, "Szállítás a raktárba, rámpáról.");
    doc.mszamla.post();
    line({"Fúrógép", 2, 500, 27});
    settings.edit();
    settings.setString(
        fields::User::LABSZAMLA,
        R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\f0\fs16 A term\'e9k \b 1 \b0 \'e9v garanci\'e1val.\par})");
    settings.setString(fields::User::LAPLABLEC, "Köszönjük a vásárlást!");
    settings.post();
    const PreparedReport r = invoice();
    EXPECT_EQ(text(r, "remark", "MEGJEGYZES"), "Szállítás a raktárba, rámpáról.");
    EXPECT_EQ(text(r, "remark", "footer").trimmed(), "A termék 1 év garanciával.");
    EXPECT_EQ(r.texts(0, "pageFooter"),
              (QStringList{"Köszönjük a vásárlást!", "Készítette: Kovács Anna", "Kavina 1.0 verzió", "www.kavina.hu"}));
    EXPECT_EQ(text(r, "pageHeader", "copiesNote"), "Az eredetivel megegyező hiteles másolat");

    TSzamlar cash(environment());
    cash.setUp(SalesMode::CashSale);
    const PreparedReport noFooter = print(cash);
    EXPECT_EQ(text(noFooter, "remark", "footer"), "") << "cash-register sales print no footer text";
}

// Printing the stored document: the current Szamla.dbf record with its lines, the amount
// payable without ",-", the copies note of a save's print.
TEST_F(TSzamlarTest, TheStoredDocumentPrintsFromTheTables) {
    const std::string data = folder.file("adatok");
    createDataFolder(data);
    TDataModule1 module;
    module.open(data);
    appendHeader(module.SzamlaTable(), "B", 1270);
    appendLine(module.Szamla2Table(), "SZA2008/00007", {"Fúrógép", 2, 500, 27});
    appendHeader(module.SzamlaTable(), "B", 99);
    module.SzamlaTable().edit();
    module.SzamlaTable().setString(fields::Szamla::SZAMLASZAM, "SZA2008/00008");
    module.SzamlaTable().post();
    appendLine(module.Szamla2Table(), "SZA2008/00008", {"Más", 1, 99, 0});
    ASSERT_TRUE(module.SzamlaTable().findKey("SZA2008/00007"));

    TSzamlar layout(environment());
    layout.setUp(SalesMode::Invoice);
    layout.setCopiesPrinted(2);
    layout.useStoredDocument(module.SzamlaTable(), module.Szamla2Table());
    const PreparedReport r = layout.prepare();
    EXPECT_EQ(r.texts(0, "detail").filter("Fúrógép").size(), 1);
    EXPECT_TRUE(r.texts(0, "detail").filter("Más").isEmpty());
    EXPECT_EQ(text(r, "summary", "payable"), "1 270");
    EXPECT_EQ(text(r, "pageHeader", "copiesNote"), "A bizonylat 2 példányban került nyomtatásra.");
    EXPECT_EQ(text(r, "pageHeader", "buyerName"), "Példa Kereskedelmi Kft. Beszerzési osztály");
    EXPECT_EQ(module.SzamlaTable().asString(fields::Szamla::SZAMLASZAM), "SZA2008/00007");
}

// With szlistmode the numbers and the line remark go on a second row under the name; without
// it one row and no remark. The rows follow the font size of the lines.
TEST_F(TSzamlarTest, TheLineModeSetsOneOrTwoRowsAndTheFontSizeTheirHeight) {
    header("B", 1270);
    line({"Fúrógép", 2, 500, 27, false, "bontott csomagolás"});
    const PreparedReport two = invoice(1);
    EXPECT_GT(item(two, "detail", "MENNYISEG")->rect.top(), item(two, "detail", "MEGNEVEZES")->rect.bottom() - 0.01);
    EXPECT_EQ(text(two, "detail", "MEGJEGYZES"), "bontott csomagolás");
    const PreparedReport one = invoice(0);
    EXPECT_DOUBLE_EQ(item(one, "detail", "MENNYISEG")->rect.top(), item(one, "detail", "MEGNEVEZES")->rect.top());
    EXPECT_EQ(item(one, "detail", "MEGJEGYZES"), nullptr);

    TSzamlarEnvironment large = environment(0);
    large.bfont = 10;
    TSzamlar layout(large);
    const PreparedReport bigger = print(layout);
    EXPECT_GT(bigger.bands(0, "detail").front()->rect.height(), one.bands(0, "detail").front()->rect.height() * 1.3);
}

// A document not printed yet (PRINT empty) gets no "0. példány"; an overlay mark prints on
// every page.
TEST_F(TSzamlarTest, NoSerialBeforeTheFirstPrintAndTheOverlayOnEveryPage) {
    header("B", 0);
    doc.mszamla.edit();
    doc.mszamla.setString(fields::Szamla::PRINT, "");
    doc.mszamla.post();
    for (int i = 1; i <= 60; ++i) line({"Tétel", 1, 100, 27});
    QImage storno(200, 80, QImage::Format_ARGB32);
    storno.fill(Qt::red);
    TSzamlar layout(environment());
    layout.setUp(SalesMode::Invoice);
    layout.setOverlay(storno);
    const PreparedReport r = print(layout);
    ASSERT_GE(r.pageCount(), 2);
    for (int p = 0; p < r.pageCount(); ++p) {
        EXPECT_EQ(item(r, "pageHeader", "serialLabel", 0, p), nullptr);
        const report::PageItem* overlay = item(r, "pageHeader", "overlay", 0, p);
        ASSERT_TRUE(overlay);
        EXPECT_EQ(overlay->image.size(), QSize(200, 80));
    }
}

// Every prepare starts with an empty summary and a clear italic flag.
TEST_F(TSzamlarTest, EachPrepareStartsWithAnEmptySummary) {
    header("B", 1270);
    line({"Fúrógép", 2, 500.001, 27});
    TSzamlar layout(environment());
    layout.setUp(SalesMode::Invoice);
    print(layout);
    EXPECT_TRUE(layout.italicFlag());
    doc.mszamla2.first();
    doc.mszamla2.edit();
    fillLine(doc.mszamla2, "SZA2008/00007", {"Fúrógép", 2, 500, 27});
    doc.mszamla2.post();
    const PreparedReport again = print(layout);
    EXPECT_FALSE(layout.italicFlag());
    EXPECT_EQ(text(again, "summary", "gross9"), moneyText(1270));
    EXPECT_EQ(text(again, "summary", "note"), "");
}

}  // namespace
}  // namespace kavina
