// The catalogue's inner consistency: orders and links name real tags and fields, and a value
// copied from one table into another fits where the documents expect it to.

#include "foundation/Catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "dbase/DbError.h"
#include "dbase/TestFolder.h"

namespace kavina {
namespace {

const dbase::FieldDef& fieldOf(TableId id, const char* name) {
    const dbase::FieldDef* f = catalogue::table(id).field(name);
    if (!f) throw std::logic_error(catalogue::table(id).fileName + " has no field " + name);
    return *f;
}

bool hasTag(const TableDef& def, const std::string& name) {
    for (const TagDef& t : def.tags)
        if (t.name == name) return true;
    return false;
}

TEST(CatalogueTest, OrdersTagsAndLinksNameWhatTheTableHas) {
    std::set<std::string> files;
    for (const TableDef& def : catalogue::tables()) {
        SCOPED_TRACE(def.fileName);
        EXPECT_TRUE(files.insert(def.fileName).second);
        EXPECT_TRUE(def.defaultOrder.empty() || hasTag(def, def.defaultOrder));
        EXPECT_TRUE(def.orderAfterReindex.empty() || hasTag(def, def.orderAfterReindex));
        for (const TagDef& t : def.tags) {
            EXPECT_NE(def.field(t.field), nullptr) << t.name;
            EXPECT_LE(t.name.size(), 10u) << "an index tag name has at most ten characters";
            EXPECT_EQ(t.descending, def.id == TableId::AFA);
        }
        if (def.detailOf) {
            const TableDef& master = catalogue::table(def.detailOf->master);
            EXPECT_LT(int(master.id), int(def.id)) << "masters open before their details";
            ASSERT_NE(master.field(def.detailOf->linkField), nullptr);
            EXPECT_EQ(master.field(def.detailOf->linkField)->width, def.field(def.detailOf->linkField)->width);
            EXPECT_TRUE(hasTag(def, def.defaultOrder)) << "a detail follows its master through a tag";
        }
        EXPECT_EQ(catalogue::findByFileName(def.fileName), &def);
        EXPECT_EQ(def.handleName.empty(), def.location == TableLocation::ProgramFolder);
    }
    EXPECT_EQ(catalogue::findByFileName("PARTNER.dbf"), &catalogue::table(TableId::Partner));
    EXPECT_EQ(catalogue::findByHandleName("szamla2table"), &catalogue::table(TableId::Szamla2));
    EXPECT_EQ(catalogue::findByFileName("nincs.dbf"), nullptr);
    EXPECT_EQ(catalogue::findByHandleName(""), nullptr);
}

struct Copy {
    TableId from;
    const char* fromField;
    TableId to;
    const char* toField;
};

// Values documents, certificates and worksheets copy in from partners, products and users
// come from fields at least as wide, so only the document cuts them.
TEST(CatalogueTest, CopiedValuesComeFromFieldsAtLeastAsWide) {
    const Copy copies[] = {
        {TableId::Partner, "NEV", TableId::Szamla, "NEV"},
        {TableId::Partner, "NEV2", TableId::Szamla, "NEV1"},
        {TableId::Partner, "VAROS", TableId::Szamla, "VAROS"},
        {TableId::Partner, "UTCA", TableId::Szamla, "CIM"},
        {TableId::Partner, "FIZMOD", TableId::Szamla, "FIZMOD"},
        {TableId::Partner, "NEV", TableId::Garancia, "NEV"},
        {TableId::Partner, "VAROS", TableId::Garancia, "VAROS"},
        {TableId::Partner, "UTCA", TableId::Munkalap, "CIM"},
        {TableId::Partner, "VAROS", TableId::Munkalap, "VAROS"},
        {TableId::Anyag, "MEGNEVEZES", TableId::Szamla2, "MEGNEVEZES"},
        {TableId::Anyag, "CIKKSZAM", TableId::Szamla2, "cikkszam"},
        {TableId::Anyag, "ITJSZAM", TableId::Szamla2, "ITJSZAM"},
        {TableId::Anyag, "MEGNEVEZES", TableId::Garancia2, "MEGNEVEZES"},
        {TableId::Jogok, "FELHASZNAL", TableId::Szamla, "UGYINTEZO"},
    };
    for (const Copy& c : copies) {
        const dbase::FieldDef& from = fieldOf(c.from, c.fromField);
        const dbase::FieldDef& to = fieldOf(c.to, c.toField);
        SCOPED_TRACE(std::string(c.fromField) + " -> " + c.toField);
        EXPECT_EQ(from.type, to.type);
        EXPECT_GE(from.width, to.width);
    }
    // The joined address holds town, a blank and street whole.
    EXPECT_GE(fieldOf(TableId::Partner, "TELJESCIM").width,
              fieldOf(TableId::Partner, "VAROS").width + 1 + fieldOf(TableId::Partner, "UTCA").width);
}

// Values picked from a list and looked up again by equality must neither be cut nor outgrow
// the list: a signed-in user is found in userlog.dbf by name, a category by its text.
TEST(CatalogueTest, PickedValuesHaveTheWidthOfTheirList) {
    const Copy picks[] = {
        {TableId::Telep, "TELEPULES", TableId::Partner, "VAROS"},
        {TableId::Fizmod, "FIZMOD", TableId::Partner, "FIZMOD"},
        {TableId::PCsoport, "PCSOPORT", TableId::Partner, "PCSOPORT"},
        {TableId::Kategoria, "KATEGORIA", TableId::Anyag, "KATEGORIA"},
        {TableId::Egyseg, "EGYSEG", TableId::Anyag, "EGYSEG"},
        {TableId::Jogok, "FELHASZNAL", TableId::Userlog, "USER"},
        {TableId::Szamla, "SZAMLASZAM", TableId::Garancia, "SZAMLASZAM"},
    };
    for (const Copy& c : picks) {
        SCOPED_TRACE(std::string(c.fromField) + " -> " + c.toField);
        EXPECT_EQ(fieldOf(c.from, c.fromField).width, fieldOf(c.to, c.toField).width);
    }
}

// The upgrade creates an optional table only when it is missing; a second creation must leave
// the first one's files alone.
TEST(CatalogueTest, CreatingATableThatExistsChangesNothing) {
    testing_support::TestFolder dir;
    const TableDef& def = catalogue::table(TableId::Munkalap);  // with memo and index files
    EXPECT_FALSE(catalogue::existsIn(def, dir.path()));
    catalogue::createTable(def, dir.path());
    EXPECT_TRUE(catalogue::existsIn(def, dir.path()));
    const std::string dbf = dir.read("munkalap.dbf"), dbt = dir.read("munkalap.dbt"), mdx = dir.read("munkalap.mdx");
    EXPECT_THROW(catalogue::createTable(def, dir.path()), dbase::DbError);
    EXPECT_EQ(dir.read("munkalap.dbf"), dbf);
    EXPECT_EQ(dir.read("munkalap.dbt"), dbt);
    EXPECT_EQ(dir.read("munkalap.mdx"), mdx);
    EXPECT_FALSE(mdx.empty());
}

}  // namespace
}  // namespace kavina
