#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "foundation/SzamSzov.h"
#include "products/warehouses/StockReports.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;

class StockReportsTest : public ProductFolder {
protected:
    void set(const QString& name, const Field& field, double value) {
        select(name);
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setFloat(field, value);
        p.post();
    }
    void setLogical(const QString& name, const Field& field, bool value) {
        select(name);
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setLogical(field, value);
        p.post();
    }
    bool keves(const QString& name) {
        TableHandle p(dir.path(), "Anyag.dbf");
        p.open();
        EXPECT_TRUE(p.locate({{A::MEGNEVEZES, name}}));
        return p.asLogical(A::KEVES);
    }
    // The names the report's detail bands printed, page after page.
    static QStringList printedNames(const report::PreparedReport& pages) {
        QStringList names;
        for (int i = 0; i < pages.pageCount(); ++i)
            for (const report::PlacedBand* b : pages.bands(i, "Detail")) names << pages.text(pages.page(i), *b, "name");
        return names;
    }
};

TEST_F(StockReportsTest, EqualityAndABlankMinimumCountAsLowAndOnlyChangedFlagsAreWritten) {
    addRow(1, QStringLiteral("Egyenlő"), 5);
    set(QStringLiteral("Egyenlő"), A::MINMENNY, 5);
    addRow(2, QStringLiteral("Nulla"), 0);
    addRow(3, QStringLiteral("Mínusz"), -2);
    addRow(4, QStringLiteral("Van"), 0.0001);
    addRow(5, QStringLiteral("Bőven"), 10);
    set(QStringLiteral("Bőven"), A::MINMENNY, 9.9999);
    EXPECT_EQ(refreshLowStock(data), 3);
    EXPECT_TRUE(keves(QStringLiteral("Egyenlő")));
    EXPECT_TRUE(keves(QStringLiteral("Nulla")));
    EXPECT_TRUE(keves(QStringLiteral("Mínusz")));
    EXPECT_FALSE(keves(QStringLiteral("Van")));
    EXPECT_FALSE(keves(QStringLiteral("Bőven")));
    EXPECT_EQ(refreshLowStock(data), 0) << "nothing changed: nothing is written";
    set(QStringLiteral("Bőven"), A::MENNYISEG, 9.9999);
    EXPECT_EQ(refreshLowStock(data), 1);
    EXPECT_TRUE(keves(QStringLiteral("Bőven")));
}

TEST_F(StockReportsTest, TheLowStockListShowsUnbinnedGoodsByCategoryAndRestoresTheHandle) {
    addRow(1, QStringLiteral("Szeg"), 0, QStringLiteral("Vasáru"));
    addRow(2, QStringLiteral("Munkadíj"), 0, QStringLiteral("Szolgáltatás"), QString(), true);
    addRow(3, QStringLiteral("Kidobott"), 0, QStringLiteral("Lomtár"));
    addRow(4, QStringLiteral("Alma"), 0, QStringLiteral("Élelmiszer"));
    addRow(5, QStringLiteral("Bőséges"), 8, QStringLiteral("Élelmiszer"));
    addRow(6, QStringLiteral("Jó'k*"), 0, QStringLiteral("Jó'k*"));
    addRow(7, QStringLiteral("Jó'kedv"), 0, QStringLiteral("Jó'kedv"));
    set(QStringLiteral("Szeg"), A::BESZERZAR, 10);
    select(QStringLiteral("Bőséges"));
    const report::PreparedReport pages = prepareLowStockList(data, {QString(), QStringLiteral("Kovács Anna")});
    EXPECT_EQ(printedNames(pages), (QStringList{"Alma", "Jó'k*", "Jó'kedv", "Szeg"}))
        << "by category, neither the service nor the binned product";
    EXPECT_TRUE(keves(QStringLiteral("Munkadíj"))) << "the service's flag is set all the same";
    EXPECT_TRUE(keves(QStringLiteral("Kidobott")));
    const QStringList header = pages.texts(0, "PageHeader");
    EXPECT_TRUE(header.contains(QStringLiteral(" Anyagtörzs ")));
    EXPECT_TRUE(header.contains(kLowStockSubtitle));
    QStringList groups;
    for (const report::PlacedBand* b : pages.bands(0, "GroupHeader"))
        groups << pages.text(pages.page(0), *b, "category");
    EXPECT_EQ(groups, (QStringList{"Élelmiszer", "Jó'k*", "Jó'kedv", "Vasáru"}));
    EXPECT_TRUE(pages.texts(0, "PageFooter").contains(QStringLiteral("Kiállította: Kovács Anna")));
    TableHandle& p = data.AnyagTable();
    EXPECT_FALSE(p.filtered());
    EXPECT_EQ(p.order(), "MEGNEVEZES");
    // The filter goes keeping the record it showed first.
    EXPECT_EQ(currentName(), QStringLiteral("Alma"));
    EXPECT_EQ(listed().size(), 7);
}

TEST_F(StockReportsTest, TheStockSheetListsPositiveFixedPricesInTheSettingsOrder) {
    addRow(1, QStringLiteral("Csavar"), 3);
    addRow(2, QStringLiteral("Anyag fix ár nélkül"), 50);
    addRow(3, QStringLiteral("Munkadíj"), 0, QStringLiteral("Munka"), QString(), true);
    addRow(4, QStringLiteral("Bolt"), -1, QStringLiteral("Lomtár"));
    for (const QString& n : {QStringLiteral("Csavar"), QStringLiteral("Munkadíj"), QStringLiteral("Bolt")})
        set(n, A::FIXAR, 100);
    set(QStringLiteral("Csavar"), A::bfixar, 127);
    // Article numbers run against names: C-1 Csavar, C-3 Munkadíj, C-4 Bolt.
    select(QStringLiteral("Munkadíj"));
    const QDateTime made(QDate(2008, 3, 15), QTime(10, 15, 30));
    report::PreparedReport pages = prepareStockReport(data, 2, made);
    EXPECT_EQ(printedNames(pages), (QStringList{"Csavar", "Munkadíj", "Bolt"}));
    EXPECT_EQ(data.AnyagTable().order(), "CIKKSZAM") << "the order stays";
    EXPECT_FALSE(data.AnyagTable().filtered());
    EXPECT_EQ(currentName(), QStringLiteral("Csavar")) << "the first product the sheet listed stays current";
    const auto detail = pages.bands(0, "Detail");
    EXPECT_EQ(pages.text(pages.page(0), *detail[0], "bfixar"), QStringLiteral("127"));
    EXPECT_EQ(pages.text(pages.page(0), *detail[0], "quantity"), QStringLiteral("3"));
    EXPECT_EQ(pages.text(pages.page(0), *detail[0], "cikkszam"), QStringLiteral("C-1"));
    EXPECT_TRUE(pages.texts(0, "PageHeader").contains(QStringLiteral("Készült: 2008.03.15 10:15:30")));

    pages = prepareStockReport(data, 0, made);
    EXPECT_EQ(printedNames(pages), (QStringList{"Bolt", "Csavar", "Munkadíj"}));
    pages = prepareStockReport(data, 1, made);
    EXPECT_EQ(printedNames(pages), (QStringList{"Csavar", "Munkadíj", "Bolt"}));
}

TEST_F(StockReportsTest, PagesAreNumberedOfTheTotalAndAnEmptySheetStillHasItsHeader) {
    const QDateTime made(QDate(2008, 3, 15), QTime(8, 0, 0));
    report::PreparedReport empty = prepareStockReport(data, 0, made);
    ASSERT_EQ(empty.pageCount(), 1);
    EXPECT_TRUE(empty.texts(0, "PageHeader").contains(QStringLiteral("Készletjelentés / leltárfelvételi ív")));
    EXPECT_TRUE(empty.texts(0, "PageHeader").contains(QStringLiteral("1/1 oldal")));
    for (int i = 1; i <= 100; ++i) {
        addRow(i, QStringLiteral("Termék %1").arg(i, 3, 10, QLatin1Char('0')), i);
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setFloat(A::FIXAR, 10);
        p.post();
    }
    const report::PreparedReport pages = prepareStockReport(data, 0, made);
    ASSERT_EQ(pages.pageCount(), 3);
    EXPECT_TRUE(pages.texts(1, "PageHeader").contains(QStringLiteral("2/3 oldal")));
    EXPECT_EQ(printedNames(pages).size(), 100);
}

TEST_F(StockReportsTest, ListLayoutsSumTheirPricesAndMarkAnEmptyQuantity) {
    addRow(1, QStringLiteral("Szeg"), 2.5, QStringLiteral("Vasáru"));
    addRow(2, QStringLiteral("Csavar"), 0.5, QStringLiteral("Vasáru"));
    TableHandle& p = data.AnyagTable();
    for (p.first(); !p.eof(); p.next()) {
        p.edit();
        p.setFloat(A::BESZERZAR, 1000);
        p.setFloat(A::bbesz, 1270);
        p.setFloat(A::FIXAR, 2000);
        p.setFloat(A::bfixar, 2540);
        p.post();
    }
    p.setOrder(A::KATEGORIA);
    const ListFooter footer{QStringLiteral("Kis Bolt Kft. – minden jog fenntartva"), QStringLiteral("Kovács Anna")};
    const report::PreparedReport a = productListA(p, footer)->prepare();
    EXPECT_TRUE(a.texts(0, "Summary").contains(moneyText(3000).trimmed()));
    EXPECT_EQ(moneyText(3000).trimmed(), QStringLiteral("3 000,00 Ft"));
    const auto rows = a.bands(0, "Detail");
    ASSERT_EQ(rows.size(), 2u);
    const report::PageItem* szeg = a.item(a.page(0), *rows[0], "quantity");
    const report::PageItem* csavar = a.item(a.page(0), *rows[1], "quantity");
    ASSERT_TRUE(csavar && szeg);
    EXPECT_EQ(csavar->text, QStringLiteral("0,5 db"));
    EXPECT_EQ(a.style(*csavar).color, QColor(Qt::red));
    EXPECT_EQ(a.style(*szeg).color, QColor(Qt::black));
    EXPECT_EQ(a.text(a.page(0), *rows[0], "fixar"), QStringLiteral("2 000,00 Ft"));
    const QStringList footerTexts = a.texts(0, "PageFooter");
    EXPECT_TRUE(footerTexts.contains(QStringLiteral("Kavina 1.0 verzió")));

    const report::PreparedReport b = productListB(p, footer)->prepare();
    const QStringList sums = b.texts(0, "Summary");
    EXPECT_TRUE(sums.contains(QStringLiteral("3 000,00 Ft")));  // purchase, net
    EXPECT_TRUE(sums.contains(QStringLiteral("3 810,00 Ft")));  // purchase, gross
    EXPECT_TRUE(sums.contains(QStringLiteral("6 000,00 Ft")));  // sale, net
    EXPECT_TRUE(sums.contains(QStringLiteral("7 620,00 Ft")));  // sale, gross
    EXPECT_TRUE(sums.contains(QStringLiteral("Eladási ár ár összesen:")));
    EXPECT_EQ(b.text(b.page(0), *b.bands(0, "Detail")[0], "rate"), QStringLiteral("27 %"));
    EXPECT_EQ(productListLayoutOf(1), ProductListLayout::A);
    EXPECT_EQ(productListLayoutOf(0), ProductListLayout::B);
    EXPECT_EQ(productListLayoutOf(2), ProductListLayout::B);
}

}  // namespace
}  // namespace kavina::products

namespace kavina::products {
namespace {

TEST_F(StockReportsTest, TheRegistersPrintGroupsByCategoryAndRestoresOrderFilterAndRecord) {
    addRow(1, QStringLiteral("Alma"), 1, QStringLiteral("Zöldség"));
    addRow(2, QStringLiteral("Balta"), 1, QStringLiteral("Szerszám"));
    addRow(3, QStringLiteral("Cékla"), 1, QStringLiteral("Zöldség"));
    addRow(4, QStringLiteral("Rejtett"), 1, QStringLiteral("Szerszám"));
    TableHandle& p = data.AnyagTable();
    p.setOrder(A::MEGNEVEZES);
    p.setFilter("ANYAGKOD <> 4");
    p.setFiltered(true);
    select(QStringLiteral("Cékla"));
    for (int mode : {1, 0}) {
        const report::PreparedReport pages = prepareProductList(p, mode, {QString(), QStringLiteral("Kovács Anna")});
        EXPECT_EQ(printedNames(pages), (QStringList{"Balta", "Alma", "Cékla"})) << mode;
        EXPECT_EQ(p.order(), "MEGNEVEZES");
        EXPECT_TRUE(p.filtered());
        EXPECT_EQ(currentName(), QStringLiteral("Cékla"));
    }
}

}  // namespace
}  // namespace kavina::products
