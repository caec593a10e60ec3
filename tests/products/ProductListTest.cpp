#include <gtest/gtest.h>

#include <QImage>

#include "ProductFolder.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;

class ProductListTest : public ProductFolder {
protected:
    std::unique_ptr<ProductWindow> window;

    void SetUp() override {
        ProductFolder::SetUp();
        TableHandle& warehouses = data.raktar();
        warehouses.append();
        warehouses.setString(fields::Raktar::AZON, QStringLiteral("B2"));
        warehouses.setString(fields::Raktar::MEGNEVEZES, QStringLiteral("Kovács' raktár*"));
        warehouses.post();
        addRow(1, QStringLiteral("Kalapács"), 5, QStringLiteral("Kéziszerszám"));
        addRow(2, QStringLiteral("Fogó"), 0, QStringLiteral("Kéziszerszám"));
        addRow(3, QStringLiteral("Csavar"), -2, QStringLiteral("Jó'k*"), QStringLiteral("B2 Kovács' raktár*"));
        addRow(4, QStringLiteral("Csavarhúzó"), 1, QStringLiteral("Jó'kedv"));
        addRow(5, QStringLiteral("Szerelés"), 0, QStringLiteral("Munkadíj"), QStringLiteral("B2 Kovács' raktár*"),
               true);
        addRow(6, QStringLiteral("Régi fúró"), 2, QStringLiteral("Lomtár"));
        window = std::make_unique<ProductWindow>(data, prompt, dialogs, desktop, options());
    }
    void openOn(int tsorrend) {
        settings.tsorrend = tsorrend;
        window->open();
    }
    void setFlag(const QString& name, bool outOfStock) {
        TableHandle& p = data.AnyagTable();
        const bool filtered = p.filtered();
        p.setFiltered(false);
        select(name);
        p.edit();
        p.setLogical(A::NINCSANYAG, outOfStock);
        p.post();
        p.setFiltered(filtered);
    }
};

TEST_F(ProductListTest, TheTabsListTheirProductsInNameOrder) {
    openOn(0);
    EXPECT_EQ(listed(), (QStringList{"Csavar", "Csavarhúzó", "Fogó", "Kalapács"}));
    window->selectTab(int(ProductTab::Empty));
    EXPECT_EQ(listed(), (QStringList{"Csavar", "Fogó"}));
    window->selectTab(int(ProductTab::InStock));
    EXPECT_EQ(listed(), (QStringList{"Csavarhúzó", "Kalapács"}));
    window->selectTab(int(ProductTab::Services));
    EXPECT_EQ(listed(), QStringList{"Szerelés"});
    window->selectTab(int(ProductTab::Bin));
    EXPECT_EQ(listed(), QStringList{"Régi fúró"});
    EXPECT_EQ(tabCaption(ProductTab::InStock), QStringLiteral("Csak amiből van raktáron"));
}

TEST_F(ProductListTest, ChoosingATabRefillsTheCategoriesOfItsProducts) {
    openOn(0);
    EXPECT_EQ(window->categories(), (QStringList{"minden", "Jó'k*", "Jó'kedv", "Kéziszerszám"}));
    window->selectTab(int(ProductTab::Services));
    EXPECT_EQ(window->categories(), (QStringList{"minden", "Munkadíj"}));
    EXPECT_EQ(window->category(), 0);
}

TEST_F(ProductListTest, ACategoryWithAQuoteAndAStarListsExactlyItsOwnProducts) {
    openOn(0);
    window->selectCategory(int(window->categories().indexOf(QStringLiteral("Jó'k*"))));
    EXPECT_EQ(listed(), QStringList{"Csavar"});
    window->selectCategory(int(window->categories().indexOf(QStringLiteral("Jó'kedv"))));
    EXPECT_EQ(listed(), QStringList{"Csavarhúzó"});
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(ProductListTest, AWarehouseRestrictsGoodsButNotServices) {
    openOn(0);
    EXPECT_EQ(window->warehouses(), (QStringList{"minden", "Törzsraktár", "B2 Kovács' raktár*"}));
    window->selectWarehouse(2);
    EXPECT_EQ(listed(), QStringList{"Csavar"});
    EXPECT_EQ(rememberedWarehouse, 2);
    window->selectTab(int(ProductTab::Services));
    EXPECT_EQ(listed(), QStringList{"Szerelés"});
    window->selectTab(int(ProductTab::All));
    EXPECT_EQ(listed(), QStringList{"Csavar"});
    // The next opening selects the same warehouse.
    ProductWindow again(data, prompt, dialogs, desktop, options());
    again.open();
    EXPECT_EQ(again.warehouse(), 2);
    EXPECT_EQ(listed(), QStringList{"Csavar"});
}

TEST_F(ProductListTest, TheEmptyTabCountsQuantitiesButABoxChangeCountsTheFlag) {
    openOn(0);
    setFlag(QStringLiteral("Kalapács"), true);  // stock 5, flagged by an old movement
    setFlag(QStringLiteral("Fogó"), false);     // stock 0, never flagged
    window->selectTab(int(ProductTab::Empty));
    EXPECT_EQ(listed(), (QStringList{"Csavar", "Fogó"}));
    window->selectCategory(int(window->categories().indexOf(QStringLiteral("Kéziszerszám"))));
    EXPECT_EQ(listed(), QStringList{"Kalapács"});
    window->selectWarehouse(1);
    EXPECT_EQ(listed(), QStringList{"Kalapács"});  // the chosen category still restricts
    window->selectCategory(0);
    EXPECT_EQ(listed(), QStringList{"Kalapács"});
}

TEST_F(ProductListTest, TheFilterIsCaseInsensitiveAndMatchesWholeValues) {
    EXPECT_EQ(listFilter(ProductTab::All, QStringLiteral("O'Brien*"), QStringLiteral("x"), ListChange::Tab),
              "(MEGJEGYZES='O''Brien*') AND ((NOT TERMEK) AND (NOT KATEGORIA='Lomtár'))");
    EXPECT_EQ(listFilter(ProductTab::Services, QStringLiteral("B"), QStringLiteral("Jó'k"), ListChange::Box),
              "(TERMEK AND (NOT KATEGORIA='Lomtár')) AND KATEGORIA='Jó''k'");
    openOn(0);
    window->selectCategory(int(window->categories().indexOf(QStringLiteral("Kéziszerszám"))));
    EXPECT_TRUE(data.AnyagTable().table().filterOptions().caseInsensitive);
    EXPECT_TRUE(data.AnyagTable().table().filterOptions().noPrefixMatching);
}

TEST_F(ProductListTest, TheSearchFindsTheFirstProductBeginningWithTheTextWhateverItsCase) {
    openOn(0);
    window->search(QStringLiteral("csavarh"));
    EXPECT_EQ(currentName(), QStringLiteral("Csavarhúzó"));
    window->search(QStringLiteral("FOG"));
    EXPECT_EQ(currentName(), QStringLiteral("Fogó"));
    window->search(QStringLiteral("xyz"));
    EXPECT_EQ(currentName(), QStringLiteral("Fogó"));
    EXPECT_EQ(searchText(SearchKey::ArticleNumber, QString(40, QLatin1Char('7')) + QStringLiteral(" ")).size(), 30);
    EXPECT_EQ(searchText(SearchKey::Name, QStringLiteral("  a b  ")), QStringLiteral("a b"));
}

TEST_F(ProductListTest, TheArticleNumberOrderSearchesAndKeepsTheProduct) {
    openOn(1);
    EXPECT_EQ(window->searchKey(), SearchKey::ArticleNumber);
    EXPECT_EQ(listed(), (QStringList{"Kalapács", "Fogó", "Csavar", "Csavarhúzó"}));
    window->search(QStringLiteral("c-4"));
    EXPECT_EQ(currentName(), QStringLiteral("Csavarhúzó"));
    window->setSearchKey(SearchKey::Name);
    EXPECT_EQ(currentName(), QStringLiteral("Csavarhúzó"));
    EXPECT_EQ(listed().first(), QStringLiteral("Csavar"));
}

TEST_F(ProductListTest, EnterWithArticleNumberOrderPicksOnlyAnExactMatch) {
    openOn(1);
    window->search(QStringLiteral("C-2"));
    EXPECT_EQ(window->enter(QStringLiteral("C-2")), ProductWindow::EnterOutcome::Accept);
    window->search(QStringLiteral("C-"));
    prompt.answerYesNo(true);
    dialogs.edits.push_back([](const ProductFields& start) {
        EXPECT_EQ(start.articleNumber, QStringLiteral("C-"));
        EXPECT_EQ(start.barcode, QString());
        return std::nullopt;
    });
    EXPECT_EQ(window->enter(QStringLiteral("C-")), ProductWindow::EnterOutcome::Nothing);
    prompt.answerYesNo(false);
    EXPECT_EQ(window->enter(QStringLiteral("C-99")), ProductWindow::EnterOutcome::Nothing);
    EXPECT_EQ(dialogs.calls, QStringList{"edit:Új termék felvétele"});
    const QString question = QStringLiteral(
        "yes/no|question|Figyelem!|A keresett cikkszám nem található a terméktörzsben!\nSzeretné felvenni új "
        "temékként?");
    EXPECT_EQ(prompt.transcript(), (QStringList{question, question}));
}

TEST_F(ProductListTest, EnterWithBarcodeOrderOffersANewServiceOnTheServicesTab) {
    openOn(2);
    window->selectTab(int(ProductTab::Services));
    prompt.answerYesNo(true);
    EXPECT_EQ(window->enter(QStringLiteral("5991234")), ProductWindow::EnterOutcome::Nothing);
    EXPECT_EQ(dialogs.calls, QStringList{"edit:Új szolgáltatás felvétele"});
    EXPECT_EQ(prompt.entries().at(0).text, QStringLiteral("A keresett vonalkód nem található a terméktörzsben!\n"
                                                          "Szeretné felvenni új temékként?"));
    window->selectTab(int(ProductTab::All));
    prompt.answerYesNo(true);
    window->enter(QStringLiteral("5991234"));
    EXPECT_EQ(dialogs.starts.back().barcode, QStringLiteral("5991234"));
}

TEST_F(ProductListTest, EnterWithNameOrderOnlyMovesTheFocus) {
    openOn(0);
    EXPECT_EQ(window->enter(QStringLiteral("nincs ilyen")), ProductWindow::EnterOutcome::FocusList);
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(ProductListTest, TheSearchDialogWalksTheListAndSaysWhenItIsOver) {
    openOn(0);
    EXPECT_TRUE(window->find(QStringLiteral("CSAVAR"), SearchIn::Name));
    EXPECT_EQ(currentName(), QStringLiteral("Csavar"));
    EXPECT_TRUE(window->findNext(QStringLiteral("csavar"), SearchIn::Name));
    EXPECT_EQ(currentName(), QStringLiteral("Csavarhúzó"));
    EXPECT_FALSE(window->findNext(QStringLiteral("csavar"), SearchIn::Name));
    EXPECT_EQ(currentName(), QStringLiteral("Kalapács"));  // it stops on the last product
    EXPECT_TRUE(window->find(QStringLiteral("kézi"), SearchIn::Category));
    EXPECT_EQ(currentName(), QStringLiteral("Fogó"));
    EXPECT_TRUE(window->find(QStringLiteral("-4"), SearchIn::ArticleNumber));
    EXPECT_EQ(currentName(), QStringLiteral("Csavarhúzó"));
    EXPECT_EQ(prompt.transcript(), QStringList{"message|information|Figyelem!|A keresés befelyeződött!"});
}

TEST_F(ProductListTest, RowsAreTintedByTheirStock) {
    openOn(0);
    TableHandle& p = data.AnyagTable();
    select(QStringLiteral("Fogó"));
    EXPECT_EQ(window->tintOf(p), RowTint::NoStock);
    select(QStringLiteral("Kalapács"));
    EXPECT_EQ(window->tintOf(p), RowTint::None);
    p.edit();
    p.setFloat(A::MINMENNY, 6);
    p.post();
    EXPECT_EQ(window->tintOf(p), RowTint::BelowMinimum);
    p.edit();
    p.setFloat(A::MENNYISEG, 0);
    p.post();
    EXPECT_EQ(window->tintOf(p), RowTint::NoStock);  // no stock wins
    settings.colorgrid = 0;
    EXPECT_EQ(window->tintOf(p), RowTint::None);
    settings.colorgrid = 1;
    window->selectTab(int(ProductTab::Services));
    EXPECT_EQ(window->tintOf(p), RowTint::None);  // services have no stock to colour
}

TEST_F(ProductListTest, OnlyAPictureFileIsOpened) {
    openOn(0);
    const QString picture = QString::fromStdString(dir.file("kalapacs.png"));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(picture));
    const QString script = QString::fromStdString(dir.file("kep.sh"));
    dir.write("kep.sh", "#!/bin/sh\necho hi\n");
    const QString disguised = QString::fromStdString(dir.file("kep.png"));
    dir.write("kep.png", "#!/bin/sh\necho hi\n");
    const auto setPicture = [&](const QString& path) {
        TableHandle& p = data.AnyagTable();
        select(QStringLiteral("Kalapács"));
        p.edit();
        p.setString(A::KEP, path);
        p.post();
    };
    select(QStringLiteral("Kalapács"));
    window->openPicture();
    setPicture(picture);
    EXPECT_EQ(window->picturePath(), picture);
    window->openPicture();
    setPicture(script);
    EXPECT_EQ(window->picturePath(), QString());
    window->openPicture();
    setPicture(disguised);
    EXPECT_EQ(window->picturePath(), QString());
    window->openPicture();
    setPicture(QString::fromStdString(dir.file("nincs.png")));
    EXPECT_EQ(window->picturePath(), QString());
    EXPECT_EQ(desktop.opened, QStringList{picture});
    ASSERT_EQ(prompt.entries().size(), 3u);
    EXPECT_EQ(prompt.entries()[0].text, QStringLiteral("A termékről nincs kép nyílvántartva!"));
    EXPECT_EQ(prompt.entries()[1].text, QStringLiteral("A termék képe nem nyitható meg, mert nem képfájl: ") + script);
    EXPECT_EQ(prompt.entries()[2].text,
              QStringLiteral("A termék képe nem nyitható meg, mert nem képfájl: ") + disguised);
}

TEST_F(ProductListTest, ThePeriodicReReadWaitsForTheSetting) {
    openOn(0);
    EXPECT_FALSE(window->refreshTick());  // norefresh is on by default
    settings.norefresh = 0;
    addRow(9, QStringLiteral("Ásó"), 1);
    EXPECT_TRUE(window->refreshTick());
    EXPECT_EQ(listed().first(), QStringLiteral("Ásó"));
    window->close();
    EXPECT_FALSE(data.AnyagTable().filtered());
}

}  // namespace
}  // namespace kavina::products
