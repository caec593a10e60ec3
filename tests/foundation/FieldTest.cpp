// Field constants on handles, record sets and filters: a constant of another table is refused
// even where a field of its name exists, names known only at run time go through fieldAt(),
// and filter values are matched whole whatever they contain.

#include <gtest/gtest.h>

#include "common/OpenDataFolder.h"
#include "dbase/DbError.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/MemTable.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"
#include "foundation/TableRows.h"

namespace kavina {
namespace {

namespace P = fields::Partner;

class FieldTest : public OpenDataFolder {
protected:
    void addPartner(const QString& name, const QString& group) {
        TableHandle& partners = data.PartnerTable();
        partners.append();
        partners.setString(P::NEV, name);
        partners.setString(P::PCSOPORT, group);
        partners.post();
    }
};

TEST_F(FieldTest, AHandleRefusesTheFieldOfAnotherTableEvenWhenTheNameExists) {
    addPartner(QStringLiteral("Alfa Kft."), QString());
    TableHandle& partners = data.PartnerTable();
    partners.first();
    EXPECT_EQ(partners.asString(P::NEV), QStringLiteral("Alfa Kft."));
    // Szamla.dbf has a NEV too; on the partners it is a mistake, not a synonym.
    EXPECT_THROW(partners.asString(fields::Szamla::NEV), dbase::DbError);
    EXPECT_THROW(partners.locate({{fields::Szamla::NEV, QStringLiteral("Alfa Kft.")}}), dbase::DbError);
    EXPECT_THROW(partners.setOrder(fields::Szamla::NEV), dbase::DbError);
    EXPECT_FALSE(partners.isEditing());
    // A record set takes the constants of the table whose structure it copied.
    MemTable copy;
    copy.loadAll(partners);
    EXPECT_EQ(copy.asString(P::NEV), QStringLiteral("Alfa Kft."));
}

TEST_F(FieldTest, ANameKnownOnlyAtRunTimeBecomesAConstantOfTheCursor) {
    addPartner(QStringLiteral("Béta Bt."), QString());
    TableHandle& partners = data.PartnerTable();
    const Field name = partners.fieldAt(partners.fieldNumber("nev"));
    EXPECT_EQ(name.table, P::kTable);
    ASSERT_TRUE(partners.locate({{name, QStringLiteral("Béta Bt.")}}));
    EXPECT_EQ(partners.asString(name), QStringLiteral("Béta Bt."));
    EXPECT_THROW(partners.fieldNumber("NINCS"), dbase::DbError);
}

// A group name with an apostrophe and a trailing star restricts to exactly its own partners:
// neither a broken expression nor a prefix match.
TEST_F(FieldTest, ARestrictionMatchesQuotesAndStarsAsPlainText) {
    const QString odd = QStringLiteral("Jó'k*");
    addPartner(QStringLiteral("Egy"), odd);
    addPartner(QStringLiteral("Kettő"), QStringLiteral("Jó'kedv"));
    addPartner(QStringLiteral("Három"), QStringLiteral("jó'k*"));
    TableHandle& partners = data.PartnerTable();
    filter::restrictExactly(partners, filter::equals(P::PCSOPORT, odd));
    QStringList names;
    for (partners.first(); !partners.eof(); partners.next()) names << partners.asString(P::NEV);
    EXPECT_EQ(names, QStringList{QStringLiteral("Egy")});
    filter::removeRestriction(partners);
    EXPECT_EQ(partners.recordCount(), 3u);
    EXPECT_EQ(filter::allOf({filter::equals(P::NEV, QStringLiteral("a")), filter::isFalse(fields::Szamla::FIZETVE)}),
              "NEV = 'a' AND NOT FIZETVE");
}

TEST(TableRowsTest, AFieldOfAnotherTableIsRefused) {
    testing_support::TestFolder dir;
    createDataFolder(dir.path());
    EXPECT_THROW(appendRows(dir.path(), TableId::Egyseg, {{{fields::Kategoria::KATEGORIA, "db"}}}), dbase::DbError);
    appendRows(dir.path(), TableId::Egyseg, {{{fields::Egyseg::EGYSEG, "tekercs"}}});
    TableHandle units(dir.path(), "Egyseg.dbf");
    units.open();
    EXPECT_TRUE(units.locate({{fields::Egyseg::EGYSEG, QStringLiteral("tekercs")}}));
}

}  // namespace
}  // namespace kavina
