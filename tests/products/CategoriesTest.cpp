#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "foundation/CommandBoundary.h"
#include "products/lists/Categories.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;
namespace K = fields::Kategoria;

const QString kAsk = QStringLiteral("text|none|Szerkesztés|Kategória :");

class CategoriesTest : public ProductFolder {
protected:
    Categories categories{data, prompt, std::chrono::milliseconds(50)};

    void addCategory(const QString& name) {
        TableHandle& k = data.KategoriaTable();
        k.append();
        k.setString(K::KATEGORIA, name);
        k.post();
    }
    void selectCategory(const QString& name) {
        ASSERT_TRUE(data.KategoriaTable().locate({{K::KATEGORIA, name}})) << name.toStdString();
    }
    QStringList stored() {
        TableHandle k(dir.path(), "Kategoria.dbf");
        k.open();
        QStringList out;
        for (k.first(); !k.eof(); k.next()) out << k.asString(K::KATEGORIA);
        return out;
    }
    std::map<QString, QString> productCategories() {
        TableHandle p(dir.path(), "Anyag.dbf");
        p.open();
        std::map<QString, QString> out;
        for (p.first(); !p.eof(); p.next()) out[p.asString(A::MEGNEVEZES)] = p.asString(A::KATEGORIA);
        return out;
    }
};

TEST_F(CategoriesTest, ARenameReachesHiddenProductsExactlyAndTheRegisterStaysOnItsRecord) {
    addCategory(QStringLiteral("Jó'k*"));
    addRow(1, QStringLiteral("Első"), 1, QStringLiteral("Jó'k*"));
    addRow(2, QStringLiteral("Rejtett"), 1, QStringLiteral("Jó'k*"));
    addRow(3, QStringLiteral("Hasonló"), 1, QStringLiteral("Jó'kedv"));
    addRow(4, QStringLiteral("Kisbetűs"), 1, QStringLiteral("jó'k*"));
    TableHandle& p = data.AnyagTable();
    p.setFilter("ANYAGKOD <> 2");
    p.setFiltered(true);
    select(QStringLiteral("Hasonló"));
    selectCategory(QStringLiteral("Jó'k*"));
    prompt.answerText(QStringLiteral("  Jók "));
    ASSERT_TRUE(categories.modifyCurrent());
    const auto now = productCategories();
    EXPECT_EQ(now.at(QStringLiteral("Első")), QStringLiteral("Jók"));
    EXPECT_EQ(now.at(QStringLiteral("Rejtett")), QStringLiteral("Jók"));
    EXPECT_EQ(now.at(QStringLiteral("Hasonló")), QStringLiteral("Jó'kedv"));
    EXPECT_EQ(now.at(QStringLiteral("Kisbetűs")), QStringLiteral("jó'k*"));
    EXPECT_TRUE(stored().contains(QStringLiteral("Jók")));
    EXPECT_FALSE(stored().contains(QStringLiteral("Jó'k*")));
    EXPECT_EQ(currentName(), QStringLiteral("Hasonló"));
    EXPECT_EQ(p.filter(), "ANYAGKOD <> 2");
    EXPECT_EQ(prompt.transcript(), QStringList{kAsk + "|Jó'k*"});
}

TEST_F(CategoriesTest, RenamingOntoAnExistingCategoryIsRefusedAndAskedAgain) {
    addCategory(QStringLiteral("Szerszám"));
    addCategory(QStringLiteral("Vasáru"));
    addRow(1, QStringLiteral("Szeg"), 1, QStringLiteral("Vasáru"));
    selectCategory(QStringLiteral("Vasáru"));
    prompt.answerText(QStringLiteral("Szerszám"));
    prompt.answerText(std::nullopt);
    EXPECT_FALSE(categories.modifyCurrent());
    EXPECT_EQ(prompt.transcript(),
              (QStringList{kAsk + "|Vasáru", "message|warning|Figyelem!|Már van ilyen nevű kategória: Szerszám",
                           kAsk + "|Szerszám"}));
    EXPECT_EQ(stored().count(QStringLiteral("Szerszám")), 1);
    EXPECT_EQ(productCategories().at(QStringLiteral("Szeg")), QStringLiteral("Vasáru"));
}

TEST_F(CategoriesTest, NewNamesMustBeFreshAndFitAndDeleteLeavesTheProducts) {
    prompt.answerText(QString());
    EXPECT_FALSE(categories.add());
    prompt.answerText(QString(61, QLatin1Char('x')));
    prompt.answerText(QStringLiteral("Festék"));
    EXPECT_TRUE(categories.add());
    prompt.answerText(QStringLiteral("Festék"));
    prompt.answerText(std::nullopt);
    EXPECT_FALSE(categories.add());
    EXPECT_EQ(stored(), QStringList{"Festék"});
    EXPECT_EQ(prompt.transcript().at(2), "message|warning|Figyelem!|" + categoryTooLongMessage());
    EXPECT_EQ(categoryTooLongMessage(), QStringLiteral("A kategória neve legfeljebb 60 karakter lehet!"));

    addRow(1, QStringLiteral("Ecset"), 1, QStringLiteral("Festék"));
    selectCategory(QStringLiteral("Festék"));
    prompt.answerYesNo(true);
    EXPECT_TRUE(categories.deleteCurrent());
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(productCategories().at(QStringLiteral("Ecset")), QStringLiteral("Festék"));
    EXPECT_EQ(prompt.transcript().last(),
              QStringLiteral("yes/no|question|Figyelem!|Biztos, hogy törölni szeretné a kiválasztott tételt?"));
}

TEST_F(CategoriesTest, AProductHeldElsewhereStopsTheRenameAndNothingChanges) {
    addCategory(QStringLiteral("Vasáru"));
    addRow(1, QStringLiteral("Szeg"), 1, QStringLiteral("Vasáru"));
    addRow(2, QStringLiteral("Foglalt"), 1, QStringLiteral("Vasáru"));
    TDataModule1 other;
    other.open(dir.path());
    ASSERT_TRUE(other.AnyagTable().locate({{A::MEGNEVEZES, QStringLiteral("Foglalt")}}));
    other.AnyagTable().edit();
    selectCategory(QStringLiteral("Vasáru"));
    prompt.answerText(QStringLiteral("Fémáru"));
    EXPECT_FALSE(runCommand(prompt, [&] { categories.modifyCurrent(); }));
    other.AnyagTable().cancel();
    EXPECT_TRUE(prompt.transcript().last().contains(QStringLiteral("„Foglalt” termék nem módosítható")));
    EXPECT_EQ(stored(), QStringList{"Vasáru"});
    EXPECT_EQ(productCategories().at(QStringLiteral("Szeg")), QStringLiteral("Vasáru"));
}

}  // namespace
}  // namespace kavina::products
