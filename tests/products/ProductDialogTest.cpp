#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "products/register/ProductDialog.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;

class ProductDialogTest : public ProductFolder {
protected:
    void SetUp() override {
        ProductFolder::SetUp();
        TableHandle& categories = data.KategoriaTable();
        categories.append();
        categories.setString(fields::Kategoria::KATEGORIA, QStringLiteral("Kéziszerszám"));
        categories.post();
    }
    QStringList categoryRows() {
        QStringList rows;
        TableHandle& c = data.KategoriaTable();
        c.refresh();
        for (c.first(); !c.eof(); c.next()) rows << c.asString(fields::Kategoria::KATEGORIA);
        return rows;
    }
};

TEST_F(ProductDialogTest, TheBoxesOfferTheTablesLists) {
    ProductDialog dialog(data, prompt, settings, false);
    EXPECT_EQ(dialog.warehouses(), QStringList{"Törzsraktár"});
    EXPECT_EQ(dialog.vatGroups(), (QStringList{"27%", "18%", "5%", "FAD"}));
    EXPECT_EQ(dialog.defaultVatGroup(), QStringLiteral("27%"));
    settings.afakulcs = QStringLiteral("5%");
    EXPECT_EQ(dialog.defaultVatGroup(), QStringLiteral("5%"));
    EXPECT_TRUE(dialog.units().contains(QStringLiteral("óra")));
    EXPECT_EQ(dialog.articleNumberMaxLength(), 30);
    settings.cikk_max = 8;
    EXPECT_EQ(dialog.articleNumberMaxLength(), 8);
}

TEST_F(ProductDialogTest, ANewCategoryIsRecordedOnYesAndEmptiedOnNo) {
    ProductDialog dialog(data, prompt, settings, false);
    const BoxCheck known = dialog.leftCategory(QStringLiteral("kéziszerszám"));
    EXPECT_EQ(known.text, QStringLiteral("Kéziszerszám"));  // the list's own spelling
    EXPECT_FALSE(known.refocus);
    prompt.answerYesNo(false);
    const BoxCheck declined = dialog.leftCategory(QStringLiteral("Kerti"));
    EXPECT_EQ(declined.text, QString());
    EXPECT_TRUE(declined.refocus);
    prompt.answerYesNo(true);
    const BoxCheck recorded = dialog.leftCategory(QStringLiteral("Kerti"));
    EXPECT_EQ(recorded.text, QStringLiteral("Kerti"));
    EXPECT_FALSE(recorded.refocus);
    EXPECT_EQ(categoryRows(), (QStringList{"Kerti", "Kéziszerszám"}));
    EXPECT_EQ(dialog.leftCategory(QString()).text, QString());
    const QString question = QStringLiteral(
        "yes/no|question|Figyelem!|Kerti: ez a kategória még nincs felvéve.\n\r"
        "Szeretné most rögzíteni?");
    EXPECT_EQ(prompt.transcript(), (QStringList{question, question}));
}

TEST_F(ProductDialogTest, ANewUnitIsAskedForTheSameWay) {
    ProductDialog dialog(data, prompt, settings, true);
    EXPECT_EQ(dialog.leftUnit(QStringLiteral("DB")).text, QStringLiteral("db"));
    prompt.answerYesNo(true);
    EXPECT_EQ(dialog.leftUnit(QStringLiteral("pár")).text, QStringLiteral("pár"));
    EXPECT_TRUE(dialog.units().contains(QStringLiteral("pár")));
    EXPECT_EQ(prompt.entries().at(0).text,
              QStringLiteral("pár: ez a mértékegység még nincs felvéve.\n\rSzeretné most rögzíteni?"));
}

TEST_F(ProductDialogTest, AnUnknownVatGroupOrWarehouseIsRefused) {
    ProductDialog dialog(data, prompt, settings, false);
    EXPECT_EQ(dialog.leftVatGroup(QStringLiteral("fad")).text, QStringLiteral("FAD"));
    const BoxCheck vat = dialog.leftVatGroup(QStringLiteral("20%"));
    EXPECT_TRUE(vat.refocus);
    EXPECT_EQ(dialog.leftWarehouse(QStringLiteral("törzsraktár")).text, QStringLiteral("Törzsraktár"));
    EXPECT_TRUE(dialog.leftWarehouse(QStringLiteral("Fióktelep")).refocus);
    EXPECT_FALSE(dialog.leftWarehouse(QString()).refocus);
    EXPECT_EQ(
        prompt.transcript(),
        (QStringList{"message|warning|Figyelem!|20%: ez az ÁFA-kulcs nincs a programban.\n\rVálasszon a listából!",
                     "message|warning|Figyelem!|Fióktelep: ez a RAKTÁR nincs a programban.\n\rVálasszon a listából!"}));
    EXPECT_EQ(dialog.vatGroups().size(), 4);  // nothing was added
}

TEST_F(ProductDialogTest, TheArticleNumberLengthIsCheckedOnlyWithAMaximum) {
    ProductDialog dialog(data, prompt, settings, true);
    ProductFields f = service(QStringLiteral("Munka"), {0, 0, 0, 0});
    f.articleNumber = QStringLiteral("1234567");
    EXPECT_TRUE(dialog.leftArticleNumber(f));
    settings.cikk_min = 8;
    settings.cikk_max = 8;
    EXPECT_FALSE(dialog.leftArticleNumber(f));
    settings.cikk_min = 3;
    settings.cikk_max = 6;
    EXPECT_FALSE(dialog.leftArticleNumber(f));
    EXPECT_FALSE(dialog.accept(f));
    f.articleNumber = QStringLiteral("12345");
    EXPECT_EQ(dialog.accept(f), 27);
    EXPECT_EQ(prompt.transcript(),
              (QStringList{"message|warning|Figyelem!|A cikkszám mező hosszának 8 karakternek kell lennie!",
                           "message|warning|Figyelem!|A cikkszám mező hosszának 3 és 6 közé kell esnie!",
                           "message|warning|Figyelem!|A cikkszám mező hosszának 3 és 6 közé kell esnie!"}));
}

TEST_F(ProductDialogTest, AKnownArticleNumberOrNameFillsTheEmptyBoxes) {
    addRow(1, QStringLiteral("Kalapács 500 g"), 5, QStringLiteral("Kéziszerszám"));
    TableHandle& p = data.AnyagTable();
    p.edit();
    p.setString(A::ITJSZAM, QStringLiteral("8205"));
    p.setFloat(A::MINMENNY, 4);
    p.setInteger(A::szavatossag, 365);
    p.setString(A::KEP, QStringLiteral("/kepek/kalapacs.png"));
    p.post();
    ProductDialog dialog(data, prompt, settings, false);

    ProductFields byArticle;
    byArticle.articleNumber = QStringLiteral("C-1");
    byArticle.unit = QStringLiteral("kg");
    ASSERT_TRUE(dialog.leftArticleNumber(byArticle));
    EXPECT_EQ(byArticle.name, QStringLiteral("Kalapács 500 g"));
    EXPECT_EQ(byArticle.category, QStringLiteral("Kéziszerszám"));
    EXPECT_EQ(byArticle.statNumber, QStringLiteral("8205"));
    EXPECT_EQ(byArticle.unit, QStringLiteral("kg"));  // not empty: kept
    EXPECT_EQ(byArticle.picture, QStringLiteral("/kepek/kalapacs.png"));
    EXPECT_EQ(byArticle.minimum, 4);
    EXPECT_EQ(byArticle.warranty, 365);

    ProductFields byName;
    byName.name = QStringLiteral("Kalapács 500 g");
    byName.warranty = 30;
    dialog.leftName(byName);
    EXPECT_EQ(byName.articleNumber, QStringLiteral("C-1"));
    EXPECT_EQ(byName.unit, QStringLiteral("db"));
    EXPECT_EQ(byName.warranty, 30);

    ProductFields unknown;
    unknown.name = QStringLiteral("kalapács 500 g");  // the name must match exactly
    dialog.leftName(unknown);
    EXPECT_EQ(unknown.articleNumber, QString());
    // The service dialog fills nothing in.
    ProductDialog serviceDialog(data, prompt, settings, true);
    ProductFields serviceFields;
    serviceFields.articleNumber = QStringLiteral("C-1");
    serviceDialog.leftArticleNumber(serviceFields);
    EXPECT_EQ(serviceFields.name, QString());
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(ProductDialogTest, AcceptNeedsAVatGroupOfTheListAndAKnownWarehouse) {
    ProductDialog dialog(data, prompt, settings, false);
    ProductFields f = goods(QStringLiteral("Fogó"));
    EXPECT_EQ(dialog.accept(f), 27);
    f.vatGroup = QStringLiteral("5%");
    EXPECT_EQ(dialog.accept(f), 5);
    f.vatGroup = QString();
    EXPECT_FALSE(dialog.accept(f));
    f.vatGroup = QStringLiteral("FAD");
    f.warehouse = QStringLiteral("Raktár 9");
    EXPECT_FALSE(dialog.accept(f));
    EXPECT_EQ(prompt.entries().size(), 2u);
}

TEST_F(ProductDialogTest, AProductReadsBackAsTheDialogWroteIt) {
    TableHandle& p = data.AnyagTable();
    ProductFields f = goods(QStringLiteral("Fogó"));
    f.barcode = QStringLiteral("5991234000011");
    f.minimum = 2.5;
    f.warranty = 730;
    f.picture = QStringLiteral("/kepek/fogo.jpg");
    f.onPriceList = false;
    f.statNumber = QStringLiteral("8203");
    f.articleNumber = QStringLiteral("KSZ-1");
    p.append();
    p.setFloat(A::ANYAGKOD, 1);
    writeProductFields(p, f, 27);
    p.post();
    EXPECT_EQ(readProductFields(p, data.AFATable()), f);

    ProductFields s = service(QStringLiteral("Szerelés"), {1, 2, 3, 4.5});
    p.append();
    p.setLogical(A::TERMEK, true);
    writeProductFields(p, s, 5);
    p.post();
    s.vatGroup = QStringLiteral("5%");
    EXPECT_EQ(readProductFields(p, data.AFATable()), s);
}

}  // namespace
}  // namespace kavina::products
