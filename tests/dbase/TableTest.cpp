#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "TestFolder.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"

using namespace dbase;
using testing_support::TestFolder;

namespace {

const std::string kHungarian = "árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP";

std::vector<FieldDef> everyType() {
    return {{"NEV", FieldType::Character, 60}, {"KOD", FieldType::Integer},   {"DB", FieldType::Short},
            {"AR", FieldType::Float},          {"AKTIV", FieldType::Logical}, {"DATUM", FieldType::Date},
            {"IDO", FieldType::DateTime},      {"MEGJ", FieldType::Memo}};
}

class TableTest : public ::testing::Test {
protected:
    TestFolder dir;

    void createPartners() {
        Table::create(
            dir.path(), "Partner.DBF",
            {{"NEV", FieldType::Character, 30}, {"VAROS", FieldType::Character, 20}, {"KOD", FieldType::Integer}});
        Table t(dir.path(), "Partner.DBF");
        t.open();
        const char* rows[][2] = {{"Kovács", "Győr"}, {"Szabó", "Pécs"}, {"Tóth", "Győr"}, {"Nagy", "Szeged"}};
        int kod = 1;
        for (const auto& row : rows) {
            t.append();
            t.setString("NEV", row[0]);
            t.setString("VAROS", row[1]);
            t.setInteger("KOD", kod++);
            t.post();
        }
    }

    static std::vector<std::string> names(Table& t) {
        std::vector<std::string> out;
        for (t.first(); !t.eof(); t.next()) out.push_back(t.asString("NEV"));
        return out;
    }
};

}  // namespace

TEST_F(TableTest, EveryTypeRoundTripsThroughCloseAndReopenIncludingExtremes) {
    Table::create(dir.path(), "t.dbf", everyType());
    const double precise = 0.12345678901234567;
    const std::string bigMemo(100 * 1024, 'x');
    {
        Table t(dir.path(), "t.dbf");
        t.open();
        t.append();
        t.setString("NEV", kHungarian);
        t.setInteger("KOD", std::numeric_limits<int32_t>::max());
        t.setInteger("DB", 32767);
        t.setFloat("AR", precise);
        t.setLogical("AKTIV", true);
        t.setDate("DATUM", {1900, 1, 1});
        t.setDateTime("IDO", {{2099, 12, 31}, 23 * 3600 + 59 * 60 + 59});
        t.setMemo("MEGJ", bigMemo + kHungarian);
        t.post();
        t.append();
        t.setInteger("KOD", std::numeric_limits<int32_t>::min() + 1);
        t.setInteger("DB", -32768);
        t.setFloat("AR", -1.7976931348623157e308);
        t.setLogical("AKTIV", false);
        t.setDate("DATUM", {2099, 12, 31});
        t.post();
    }
    Table t(dir.path(), "T.DBF");  // names ignore case
    t.open();
    ASSERT_EQ(t.recordCount(), 2u);
    t.first();
    EXPECT_EQ(t.asString("nev"), kHungarian);
    EXPECT_EQ(t.asInteger("KOD"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(t.asInteger("DB"), 32767);
    EXPECT_EQ(t.asFloat("AR"), precise);
    EXPECT_TRUE(t.asLogical("AKTIV"));
    EXPECT_EQ(t.asDate("DATUM"), (Date{1900, 1, 1}));
    EXPECT_EQ(t.asDateTime("IDO")->text(), "2099.12.31 23:59:59");
    EXPECT_EQ(t.asMemo("MEGJ"), bigMemo + kHungarian);
    t.next();
    EXPECT_EQ(t.asInteger("KOD"), std::numeric_limits<int32_t>::min() + 1);
    EXPECT_EQ(t.asInteger("DB"), -32768);
    EXPECT_EQ(t.asFloat("AR"), -1.7976931348623157e308);
    EXPECT_FALSE(t.asLogical("AKTIV"));
    EXPECT_EQ(t.asDate("DATUM"), (Date{2099, 12, 31}));
    EXPECT_TRUE(t.isNull("NEV"));
    EXPECT_TRUE(t.isNull("IDO"));
    EXPECT_EQ(t.asMemo("MEGJ"), "");
}

TEST_F(TableTest, OlderLevelsKeepTheirOwnLayout) {
    for (TableLevel level : {TableLevel::DBase3, TableLevel::DBase4}) {
        const std::string name = level == TableLevel::DBase3 ? "d3.dbf" : "d4.dbf";
        Table::create(dir.path(), name,
                      {{"NEV", FieldType::Character, 20},
                       {"AR", FieldType::Float, 19, 4},
                       {"KOD", FieldType::Integer},
                       {"MEGJ", FieldType::Memo},
                       {"DATUM", FieldType::Date}},
                      level);
        Table t(dir.path(), name);
        t.open();
        EXPECT_EQ(t.level(), level);
        t.append();
        t.setString("NEV", "Kovács");
        t.setFloat("AR", 1234.5678);
        t.setInteger("KOD", -2147483647);
        t.setMemo("MEGJ", "első\nmásodik");
        t.setDate("DATUM", {2008, 3, 15});
        t.post();
        t.close();
        t.open();
        EXPECT_EQ(t.asString("NEV"), "Kovács");
        EXPECT_DOUBLE_EQ(t.asFloat("AR"), 1234.5678);
        EXPECT_EQ(t.asInteger("KOD"), -2147483647);
        EXPECT_EQ(t.asMemo("MEGJ"), "első\nmásodik");
        EXPECT_EQ(t.asString("DATUM"), "2008.03.15");
        EXPECT_EQ(dir.read(name)[0], level == TableLevel::DBase3 ? '\x83' : '\x8B');
    }
    EXPECT_THROW(Table::create(dir.path(), "x.dbf", {{"IDO", FieldType::DateTime}}, TableLevel::DBase4), DbError);
}

TEST_F(TableTest, NavigationSkipsDeletedRecordsAndKeepsEdgesStable) {
    createPartners();
    Table t(dir.path(), "partner.dbf");
    t.open();
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(names(t), (std::vector<std::string>{"Kovács", "Szabó", "Tóth", "Nagy"}));
    t.first();
    t.next();
    t.deleteRecord();                      // Szabó
    EXPECT_EQ(t.asString("NEV"), "Tóth");  // the cursor moves on to the next record
    EXPECT_EQ(t.recordCount(), 3u);
    t.last();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.asString("NEV"), "Nagy");
    std::vector<std::string> backwards;
    for (t.last(); !t.bof(); t.prior()) backwards.push_back(t.asString("NEV"));
    EXPECT_EQ(backwards, (std::vector<std::string>{"Nagy", "Tóth", "Kovács"}));
    EXPECT_EQ(t.asString("NEV"), "Kovács");  // prior at the beginning stays on the first record
    t.last();
    t.deleteRecord();  // the last one: the cursor falls back to the one before
    EXPECT_EQ(t.asString("NEV"), "Tóth");
}

TEST_F(TableTest, BookmarksReturnToTheirRecord) {
    createPartners();
    Table t(dir.path(), "Partner.DBF");
    t.open();
    t.first();
    t.next();
    const Bookmark mark = t.bookmark();
    t.last();
    ASSERT_TRUE(t.gotoBookmark(mark));
    EXPECT_EQ(t.asString("NEV"), "Szabó");
    t.deleteRecord();
    t.first();
    EXPECT_FALSE(t.gotoBookmark(mark));
    EXPECT_EQ(t.asString("NEV"), "Kovács");
}

TEST_F(TableTest, LocateFindsByOneOrMoreFieldsWithCaseAndPrefixOptions) {
    createPartners();
    Table t(dir.path(), "Partner.DBF");
    t.open();
    EXPECT_TRUE(t.locate({{"VAROS", "Győr"}, {"NEV", "Tóth"}}));
    EXPECT_EQ(t.asInteger("KOD"), 3);
    EXPECT_FALSE(t.locate({{"NEV", "tóth"}}));
    EXPECT_EQ(t.asInteger("KOD"), 3);  // not found: the cursor stays
    EXPECT_TRUE(t.locate({{"NEV", "tóth"}}, {.caseInsensitive = true}));
    EXPECT_FALSE(t.locate({{"NEV", "Sza"}}));
    EXPECT_TRUE(t.locate({{"NEV", "Sza"}}, {.partialKey = true}));
    EXPECT_EQ(t.asString("NEV"), "Szabó");
    EXPECT_TRUE(t.locate({{"KOD", "4"}}));
    EXPECT_EQ(t.asString("NEV"), "Nagy");
    t.setFilter("VAROS = 'Győr'");
    t.setFiltered(true);
    EXPECT_FALSE(t.locate({{"NEV", "Nagy"}}));  // locate honours the filter
    EXPECT_THROW(t.locate({{"NINCS", "x"}}), DbError);
}

TEST_F(TableTest, EditRereadsTheRecordAndCancelRestoresIt) {
    createPartners();
    Table a(dir.path(), "Partner.DBF");
    Table b(dir.path(), "Partner.DBF");
    a.open();
    b.open();
    b.first();
    a.first();
    a.edit();
    a.setString("VAROS", "Budapest");
    a.post();
    EXPECT_EQ(b.asString("VAROS"), "Győr");  // b's buffer is as it was
    b.edit();                                // edit re-reads what a wrote
    EXPECT_EQ(b.asString("VAROS"), "Budapest");
    b.setString("VAROS", "Eger");
    b.cancel();
    EXPECT_EQ(b.asString("VAROS"), "Budapest");
    b.append();
    b.setString("NEV", "Új");
    b.cancel();
    EXPECT_EQ(b.recordCount(), 4u);
    EXPECT_THROW(b.setString("NEV", "x"), DbError);  // not in edit state
}

TEST_F(TableTest, PostedRecordsAreSeenByAnotherHandleAfterRefresh) {
    createPartners();
    Table a(dir.path(), "Partner.DBF");
    Table b(dir.path(), "Partner.DBF");
    a.open();
    b.open();
    b.last();
    a.append();
    a.setString("NEV", "Fekete");
    a.post();
    b.next();
    EXPECT_TRUE(b.eof());
    b.refresh();
    b.next();
    EXPECT_EQ(b.asString("NEV"), "Fekete");
    EXPECT_EQ(b.recordCount(), 5u);
}

TEST_F(TableTest, ExclusiveAndSharedOpensExcludeEachOther) {
    createPartners();
    Table shared(dir.path(), "Partner.DBF");
    Table other(dir.path(), "Partner.DBF");
    shared.open();
    try {
        other.open({.exclusive = true});
        FAIL() << "exclusive open succeeded while the table was open";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.contains(errtext::kTableBusy)) << e.what();
        EXPECT_NE(std::string(e.what()).find("Partner.DBF"), std::string::npos);
    }
    shared.close();
    other.open({.exclusive = true});
    EXPECT_THROW(shared.open(), DbError);
    EXPECT_THROW(Table::drop(dir.path(), "Partner.DBF"), DbError);
}

TEST_F(TableTest, PackRemovesDeletedRecordsAndKeepsMemos) {
    Table::create(dir.path(), "m.dbf", {{"NEV", FieldType::Character, 10}, {"MEGJ", FieldType::Memo}});
    Table t(dir.path(), "m.dbf");
    t.open();
    for (int i = 0; i < 5; ++i) {
        t.append();
        t.setString("NEV", "n" + std::to_string(i));
        t.setMemo("MEGJ", "memo " + std::to_string(i));
        t.post();
    }
    t.first();
    t.deleteRecord();
    t.next();
    t.deleteRecord();
    EXPECT_THROW(t.pack(), DbError);  // shared
    t.close();
    t.open({.exclusive = true});
    EXPECT_TRUE(t.pack());
    t.close();
    t.open();
    std::vector<std::string> seen;
    for (t.first(); !t.eof(); t.next()) seen.push_back(t.asString("NEV") + "/" + t.asMemo("MEGJ"));
    EXPECT_EQ(seen, (std::vector<std::string>{"n1/memo 1", "n3/memo 3", "n4/memo 4"}));
    EXPECT_EQ(dir.read("m.dbf").size(), t.header().headerLength + 3u * t.header().recordLength + 1);
}

TEST_F(TableTest, EmptyAndDropRemoveEverything) {
    Table::create(dir.path(), "m.dbf", {{"NEV", FieldType::Character, 10}, {"MEGJ", FieldType::Memo}});
    dir.write("M.MDX", "");
    {
        Table t(dir.path(), "m.dbf");
        t.open({.exclusive = true});
        t.append();
        t.setMemo("MEGJ", "x");
        t.post();
        t.emptyTable();
        EXPECT_EQ(t.recordCount(), 0u);
        EXPECT_TRUE(t.eof() && t.bof());
    }
    Table::drop(dir.path(), "M.dbf");
    for (const char* name : {"m.dbf", "m.dbt", "M.MDX"}) EXPECT_EQ(dir.read(name), "") << name;
    EXPECT_THROW(Table::create(dir.path(), "x.dbf", {{"A", FieldType::Character, 1}, {"a", FieldType::Integer}}),
                 DbError);
}

TEST_F(TableTest, IndexFlagWithoutIndexFileRefusesToOpenUntilCleared) {
    createPartners();
    std::string bytes = dir.read("Partner.DBF");
    bytes[28] = 1;
    dir.write("Partner.DBF", bytes);
    Table t(dir.path(), "Partner.DBF");
    try {
        t.open();
        FAIL() << "opened a table whose index file is missing";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("Partner.mdx is missing"), std::string::npos) << e.what();
    }
    Table::clearIndexFlag(dir.file("Partner.DBF"));
    t.open();
    EXPECT_EQ(t.recordCount(), 4u);
}

TEST_F(TableTest, MasterLinkShowsOnlyTheCurrentHeadersLines) {
    Table::create(dir.path(), "Szamla.dbf", {{"SZAMLASZAM", FieldType::Character, 16}});
    Table::create(dir.path(), "Szamla2.dbf",
                  {{"SZAMLASZAM", FieldType::Character, 16}, {"MEGNEVEZES", FieldType::Character, 20}});
    Table head(dir.path(), "Szamla.dbf");
    Table lines(dir.path(), "Szamla2.dbf");
    head.open();
    lines.open();
    for (const char* n : {"2024/00001", "2024/00002", "2024/00003"}) {
        head.append();
        head.setString("SZAMLASZAM", n);
        head.post();
    }
    const char* rows[][2] = {{"2024/00001", "csavar"}, {"2024/00002", "anya"}, {"2024/00001", "alátét"}};
    for (const auto& row : rows) {
        lines.append();
        lines.setString("SZAMLASZAM", row[0]);
        lines.setString("MEGNEVEZES", row[1]);
        lines.post();
    }
    lines.setMasterLink(head, "SZAMLASZAM", "SZAMLASZAM");
    head.first();
    std::vector<std::string> seen;
    for (lines.first(); !lines.eof(); lines.next()) seen.push_back(lines.asString("MEGNEVEZES"));
    EXPECT_EQ(seen, (std::vector<std::string>{"csavar", "alátét"}));
    head.next();
    EXPECT_EQ(lines.recordCount(), 1u);
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "anya");
    head.next();
    EXPECT_TRUE(lines.isEmpty());
    lines.clearMasterLink();
    EXPECT_EQ(lines.recordCount(), 3u);
}

TEST_F(TableTest, UnknownFieldsAndWrongTypesAreClearErrors) {
    createPartners();
    Table t(dir.path(), "Partner.DBF");
    t.open();
    EXPECT_THROW(t.asString("NINCS"), DbError);
    EXPECT_THROW(t.asLogical("NEV"), DbError);
    t.edit();
    EXPECT_THROW(t.setString("KOD", "tizenkettő"), DbError);
    EXPECT_THROW(t.setDate("NEV", {2008, 3, 15}), DbError);
    t.cancel();
    Table missing(dir.path(), "Nincs.dbf");
    EXPECT_THROW(missing.open(), DbError);
}

TEST_F(TableTest, BulkAppendWritesEveryRecordOnceAndNavigationFlushesFirst) {
    Table::create(dir.path(), "b.dbf", {{"NEV", FieldType::Character, 100}, {"SOR", FieldType::Integer}});
    Table t(dir.path(), "b.dbf");
    Table other(dir.path(), "b.dbf");
    t.open();
    other.open();
    t.beginBulkAppend();
    for (int i = 0; i < 12000; ++i) {  // more than one megabyte of records
        t.append();
        t.setString("NEV", "sor " + std::to_string(i));
        t.setInteger("SOR", i);
        t.post();
    }
    EXPECT_GT(other.recordCount(), 0u);  // full blocks were written on the way
    EXPECT_LT(other.recordCount(), 12000u);
    t.first();  // navigation writes what is pending
    EXPECT_EQ(other.recordCount(), 12000u);
    t.append();
    t.setInteger("SOR", 12000);
    t.post();
    t.endBulkAppend();
    EXPECT_EQ(t.recNo(), 12001u);
    t.close();
    t.open();
    int expected = 0;
    for (t.first(); !t.eof(); t.next()) EXPECT_EQ(t.asInteger("SOR"), expected++);
    EXPECT_EQ(expected, 12001);
}

// Level 7 keeps an autoincrement counter in each field descriptor and may carry field
// properties after the field list; rebuilding the index, packing and emptying rewrite the
// header and must write those bytes back as they found them.
TEST_F(TableTest, RewritingTheHeaderKeepsBytesTheEngineDoesNotInterpret) {
    Table::create(dir.path(), "auto.dbf", {{"NEV", FieldType::Character, 10}, {"KOD", FieldType::Integer}});
    {
        Table t(dir.path(), "auto.dbf");
        t.open();
        for (const char* name : {"egy", "kettő"}) {
            t.append();
            t.setString("NEV", name);
            t.post();
        }
    }
    std::string bytes = dir.read("auto.dbf");
    const size_t secondField = 68 + 48;
    const std::string counter("\x2A\0\0\0", 4);  // next value 42
    bytes.replace(secondField + 42, 4, counter);
    bytes.replace(20, 2, "\x05\x07");  // reserved bytes another program wrote
    dir.write("auto.dbf", bytes);

    Table t(dir.path(), "auto.dbf");
    t.open({.exclusive = true});
    t.addIndex("NEV", "NEV");
    t.first();
    t.deleteRecord();
    EXPECT_TRUE(t.pack());
    EXPECT_EQ(t.recordCount(), 1u);
    t.emptyTable();
    t.close();
    const std::string after = dir.read("auto.dbf");
    EXPECT_EQ(after.substr(secondField + 42, 4), counter);
    EXPECT_EQ(after.substr(20, 2), "\x05\x07");
    EXPECT_EQ(after[68 + 37], '\x01');  // the new tag's flag is still written
    t.open();
    EXPECT_TRUE(t.checkIntegrity().empty());
}
