#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "foundation/CommandBoundary.h"
#include "products/units/Units.h"

namespace kavina::products {
namespace {

namespace E = fields::Egyseg;

class UnitsTest : public ProductFolder {
protected:
    Units units{data, prompt};

    QStringList stored() {
        // What another workstation reads from the file now.
        TDataModule1 other;
        other.open(dir.path());
        QStringList names;
        TableHandle& u = other.EgysegTable();
        for (u.first(); !u.eof(); u.next()) names << u.asString(E::EGYSEG).trimmed();
        return names;
    }
    static QString ask(const QString& initial) { return "text|none|Szerkesztés|Mértékegység:|" + initial; }
};

TEST_F(UnitsTest, ANewUnitIsStoredAtOnceAndAnEmptyAnswerStoresNothing) {
    const QStringList before = stored();
    prompt.answerText(QStringLiteral("   "));
    EXPECT_FALSE(units.add());
    prompt.answerText(std::nullopt);
    EXPECT_FALSE(units.add());
    EXPECT_EQ(stored(), before);
    prompt.answerText(QStringLiteral("doboz"));
    EXPECT_TRUE(units.add());
    EXPECT_EQ(stored().size(), before.size() + 1);
    EXPECT_TRUE(stored().contains(QStringLiteral("doboz")));
    EXPECT_FALSE(data.EgysegTable().isEditing());
    EXPECT_EQ(prompt.transcript(),
              (QStringList{"text|none|Szerkesztés|Mértékegység:", "text|none|Szerkesztés|Mértékegység:",
                           "text|none|Szerkesztés|Mértékegység:"}));
}

TEST_F(UnitsTest, ANameLongerThanTheFieldIsAskedForAgainNotCut) {
    prompt.answerText(QStringLiteral("négyzetméter"));
    prompt.answerText(QStringLiteral("négyzetm."));
    EXPECT_TRUE(units.add());
    EXPECT_TRUE(stored().contains(QStringLiteral("négyzetm.")));
    EXPECT_FALSE(stored().contains(QStringLiteral("négyzetmét")));
    EXPECT_EQ(prompt.transcript(),
              (QStringList{"text|none|Szerkesztés|Mértékegység:",
                           "message|warning|Figyelem!|A mértékegység neve legfeljebb 10 karakter lehet!",
                           ask(QStringLiteral("négyzetméter"))}));
}

TEST_F(UnitsTest, ARenameLeavesTheProductsUnitText) {
    addRow(1, QStringLiteral("Szeg"), 3);
    ASSERT_TRUE(data.EgysegTable().locate({{E::EGYSEG, QStringLiteral("db")}}));
    prompt.answerText(QStringLiteral("darab"));
    EXPECT_TRUE(units.modifyCurrent());
    EXPECT_TRUE(stored().contains(QStringLiteral("darab")));
    EXPECT_FALSE(stored().contains(QStringLiteral("db")));
    data.AnyagTable().first();
    EXPECT_EQ(data.AnyagTable().asString(fields::Anyag::EGYSEG), QStringLiteral("db"));
    EXPECT_EQ(prompt.transcript(), QStringList{ask(QStringLiteral("db"))});
    // An empty answer keeps the name.
    prompt.answerText(QString());
    EXPECT_FALSE(units.modifyCurrent());
    EXPECT_TRUE(stored().contains(QStringLiteral("darab")));
}

TEST_F(UnitsTest, DeleteAsks) {
    ASSERT_TRUE(data.EgysegTable().locate({{E::EGYSEG, QStringLiteral("kg")}}));
    prompt.answerYesNo(false);
    EXPECT_FALSE(units.deleteCurrent());
    prompt.answerYesNo(true);
    EXPECT_TRUE(units.deleteCurrent());
    EXPECT_FALSE(stored().contains(QStringLiteral("kg")));
}

}  // namespace
}  // namespace kavina::products
