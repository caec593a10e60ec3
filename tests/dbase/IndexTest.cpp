#include <gtest/gtest.h>

#include <map>
#include <random>

#include "TestFolder.h"
#include "TestSeed.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"

using namespace dbase;
using testing_support::TestFolder;

namespace {

class IndexTest : public ::testing::Test {
protected:
    TestFolder dir;

    void createVat() {
        Table::create(dir.path(), "AFA.dbf", {{"AFA", FieldType::Float}, {"MEGNEVEZES", FieldType::Character, 20}});
        Table t(dir.path(), "AFA.dbf");
        t.open({.exclusive = true});
        const std::pair<double, const char*> rates[] = {{18, "18 %"}, {0, "FAD"}, {27, "27 %"}, {5, "5 %"}};
        for (const auto& [rate, name] : rates) {
            t.append();
            t.setFloat("AFA", rate);
            t.setString("MEGNEVEZES", name);
            t.post();
        }
        t.addIndex("AFA", "AFA", true);
    }

    void createLines() {
        Table::create(dir.path(), "Szamla.dbf", {{"SZAMLASZAM", FieldType::Character, 16}});
        Table::create(dir.path(), "Szamla2.dbf",
                      {{"SZAMLASZAM", FieldType::Character, 16},
                       {"ANYAGSZAM", FieldType::Float},
                       {"MEGNEVEZES", FieldType::Character, 30}});
        Table head(dir.path(), "Szamla.dbf");
        Table lines(dir.path(), "Szamla2.dbf");
        head.open({.exclusive = true});
        lines.open({.exclusive = true});
        head.addIndex("SZAMLASZAM", "SZAMLASZAM");
        lines.addIndex("ANYAGSZAM", "ANYAGSZAM");
        lines.addIndex("SZAMLASZAM", "SZAMLASZAM");
        for (int doc = 3; doc >= 1; --doc) {
            head.append();
            head.setString("SZAMLASZAM", "2024/0000" + std::to_string(doc));
            head.post();
        }
        const char* rows[][3] = {{"2024/00002", "7", "anya"}, {"2024/00001", "3", "csavar"},
                                 {"2024/00003", "1", "ék"},   {"2024/00001", "9", "alátét"},
                                 {"2024/00002", "2", "szög"}, {"2024/00001", "1", "zár"}};
        for (const auto& row : rows) {
            lines.append();
            lines.setString("SZAMLASZAM", row[0]);
            lines.setString("ANYAGSZAM", row[1]);
            lines.setString("MEGNEVEZES", row[2]);
            lines.post();
        }
    }

    static std::vector<std::string> column(Table& t, const char* field) {
        std::vector<std::string> out;
        for (t.first(); !t.eof(); t.next()) out.push_back(t.asString(field));
        return out;
    }
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(IndexTest, ADescendingTagListsTheHighestRateFirst) {
    createVat();
    Table t(dir.path(), "AFA.dbf");
    t.open();
    EXPECT_TRUE(t.hasIndex());
    EXPECT_EQ(dir.read("AFA.dbf")[28], 1);  // the production index flag
    t.setOrder("AFA");
    EXPECT_EQ(column(t, "MEGNEVEZES"), (Texts{"27 %", "18 %", "5 %", "FAD"}));
    std::vector<std::string> backwards;
    for (t.last(); !t.bof(); t.prior()) backwards.push_back(t.asString("MEGNEVEZES"));
    EXPECT_EQ(backwards, (Texts{"FAD", "5 %", "18 %", "27 %"}));
    t.setOrder("");
    EXPECT_EQ(column(t, "MEGNEVEZES"), (Texts{"18 %", "FAD", "27 %", "5 %"}));
    EXPECT_THROW(t.setOrder("MEGNEVEZES"), DbError);
    EXPECT_THROW(t.setOrder("AFA;MEGNEVEZES"), DbError);
}

TEST_F(IndexTest, ADetailWalkComesInTheLinkTagsOrder) {
    createLines();
    Table head(dir.path(), "Szamla.dbf");
    Table lines(dir.path(), "Szamla2.dbf");
    head.open();
    lines.open();
    head.setOrder("SZAMLASZAM");
    lines.setOrder("SZAMLASZAM");
    lines.setMasterLink(head, "SZAMLASZAM", "SZAMLASZAM");
    head.first();
    EXPECT_EQ(head.asString("SZAMLASZAM"), "2024/00001");
    EXPECT_EQ(column(lines, "MEGNEVEZES"), (Texts{"csavar", "alátét", "zár"}));  // record order among equal keys
    EXPECT_EQ(lines.recordCount(), 3u);
    head.next();
    EXPECT_EQ(column(lines, "MEGNEVEZES"), (Texts{"anya", "szög"}));
    lines.setOrder("ANYAGSZAM");  // another order: the link still holds
    EXPECT_EQ(column(lines, "MEGNEVEZES"), (Texts{"szög", "anya"}));
}

TEST_F(IndexTest, SeeksFindExactAndNearestKeys) {
    createLines();
    Table lines(dir.path(), "Szamla2.dbf");
    lines.open();
    EXPECT_THROW(lines.findKey("1"), DbError);  // physical order has no key
    lines.setOrder("ANYAGSZAM");
    ASSERT_TRUE(lines.findKey("1"));
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "ék");  // the first of two equal keys
    lines.next();
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "zár");
    EXPECT_FALSE(lines.findKey("4"));
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "zár");  // not found: stays
    EXPECT_TRUE(lines.findNearest("4"));
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "anya");
    EXPECT_FALSE(lines.findNearest("100"));
    EXPECT_TRUE(lines.eof());
    lines.setOrder("szamlaszam");  // by field name, any case
    EXPECT_TRUE(lines.findKey("2024/00003"));
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "ék");
    EXPECT_FALSE(lines.findKey("2024/0000"));  // a key is whole, not a prefix
    EXPECT_TRUE(lines.findNearest("2024/0000"));
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "csavar");
    lines.setOrder("ANYAGSZAM");
    EXPECT_THROW(lines.findKey("x"), DbError) << "a text is no number";
}

TEST_F(IndexTest, LocateHonoursTheCurrentOrder) {
    createLines();
    Table lines(dir.path(), "Szamla2.dbf");
    lines.open();
    lines.setOrder("ANYAGSZAM");
    ASSERT_TRUE(lines.locate({{"SZAMLASZAM", "2024/00001"}}));
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "zár");  // first in ANYAGSZAM order
    lines.next();
    EXPECT_EQ(lines.asString("MEGNEVEZES"), "szög");
}

TEST_F(IndexTest, ChangesKeepEveryTagCurrentThroughEditsDeletesAndPack) {
    createLines();
    {
        Table lines(dir.path(), "Szamla2.dbf");
        lines.open();
        lines.setOrder("ANYAGSZAM");
        lines.findKey("9");
        lines.edit();
        lines.setFloat("ANYAGSZAM", 0);  // moves to the front of the order
        lines.post();
        EXPECT_EQ(lines.asString("MEGNEVEZES"), "alátét");
        lines.next();
        EXPECT_EQ(lines.asString("MEGNEVEZES"), "ék");
        lines.first();
        EXPECT_EQ(lines.asString("MEGNEVEZES"), "alátét");
        lines.findKey("7");
        lines.deleteRecord();
        EXPECT_EQ(lines.asString("MEGNEVEZES"), "csavar");  // the last one went: back to the one before
        EXPECT_EQ(column(lines, "MEGNEVEZES"), (Texts{"alátét", "ék", "zár", "szög", "csavar"}));
        EXPECT_TRUE(lines.checkIndexes().empty());
    }
    Table lines(dir.path(), "Szamla2.dbf");
    lines.open({.exclusive = true});
    EXPECT_TRUE(lines.pack());
    EXPECT_TRUE(lines.checkIndexes().empty());
    lines.setOrder("SZAMLASZAM");
    EXPECT_EQ(column(lines, "MEGNEVEZES"), (Texts{"csavar", "alátét", "zár", "szög", "ék"}));
    lines.emptyTable();
    EXPECT_TRUE(lines.checkIndexes().empty());
    EXPECT_TRUE(lines.isEmpty());
}

TEST_F(IndexTest, ADamagedIndexIsReportedAndARebuildRepairsIt) {
    createLines();
    const std::string good = dir.read("Szamla2.mdx");
    // Cut short: refused on open, naming the table.
    dir.write("Szamla2.mdx", good.substr(0, 1000));
    Table t(dir.path(), "Szamla2.dbf");
    try {
        t.open();
        FAIL() << "opened a table with a truncated index";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("Szamla2.dbf"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
    }
    // A key changed inside a leaf: found by the check and on use in that order.
    std::string flipped = good;
    const size_t at = flipped.find("2024/00003");
    ASSERT_NE(at, std::string::npos);
    flipped[at + 9] = '7';
    dir.write("Szamla2.mdx", flipped);
    t.open();
    EXPECT_FALSE(t.checkIndexes().empty());
    t.setOrder("SZAMLASZAM");
    EXPECT_THROW(
        {
            for (t.first(); !t.eof(); t.next()) {
            }
        },
        DbError);
    t.close();
    // The repair: delete the index, clear the flag, reopen exclusively, add the tags again.
    std::remove(dir.file("Szamla2.mdx").c_str());
    EXPECT_THROW(t.open(), DbError);
    Table::clearIndexFlag(dir.file("Szamla2.dbf"));
    t.open({.exclusive = true});
    t.addIndex("ANYAGSZAM", "ANYAGSZAM");
    t.addIndex("SZAMLASZAM", "SZAMLASZAM");
    EXPECT_TRUE(t.checkIndexes().empty());
    t.setOrder("SZAMLASZAM");
    EXPECT_EQ(column(t, "MEGNEVEZES"), (Texts{"csavar", "alátét", "zár", "anya", "szög", "ék"}));
}

TEST_F(IndexTest, RandomTableChangesMatchAModelOrder) {
    const unsigned seed = testing_support::testSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    Table::create(dir.path(), "t.dbf", {{"NEV", FieldType::Character, 4}, {"AR", FieldType::Float}});
    Table t(dir.path(), "t.dbf");
    t.open({.exclusive = true});
    t.addIndex("NEV", "NEV");
    t.addIndex("AR", "AR", true);
    std::map<uint32_t, std::pair<std::string, double>> model;  // live records
    auto randomName = [&] { return std::string(1, char('a' + rng() % 5)) + std::string(1, char('a' + rng() % 5)); };
    for (int op = 0; op < 3000; ++op) {
        const unsigned dice = rng() % 100;
        if (dice < 55 || model.empty()) {
            t.append();
            const std::string name = randomName();
            const double ar = double(rng() % 50) / 2;
            t.setString("NEV", name);
            t.setFloat("AR", ar);
            t.post();
            model[t.recNo()] = {name, ar};
        } else {
            auto it = model.begin();
            std::advance(it, long(rng() % model.size()));
            ASSERT_TRUE(t.gotoBookmark({it->first}));
            if (dice < 85) {
                t.edit();
                it->second = {randomName(), double(rng() % 50) / 2};
                t.setString("NEV", it->second.first);
                t.setFloat("AR", it->second.second);
                t.post();
            } else {
                t.deleteRecord();
                model.erase(it);
            }
        }
        if (op % 1000 == 999) {
            t.pack();  // renumbers: rebuild the model in physical order
            std::map<uint32_t, std::pair<std::string, double>> packed;
            uint32_t r = 1;
            for (const auto& entry : model) packed[r++] = entry.second;
            model = packed;
        }
    }
    ASSERT_TRUE(t.checkIndexes().empty());
    std::multimap<std::string, uint32_t> byName;
    std::multimap<double, uint32_t, std::greater<>> byPrice;
    for (const auto& [rec, v] : model) {
        byName.insert({v.first, rec});
        byPrice.insert({v.second, rec});
    }
    t.setOrder("NEV");
    std::vector<uint32_t> seen, want;
    for (t.first(); !t.eof(); t.next()) seen.push_back(t.recNo());
    for (const auto& [k, rec] : byName) want.push_back(rec);
    EXPECT_EQ(seen, want);
    t.setOrder("AR");
    seen.clear();
    want.clear();
    for (t.first(); !t.eof(); t.next()) seen.push_back(t.recNo());
    for (const auto& [k, rec] : byPrice) want.push_back(rec);
    EXPECT_EQ(seen, want);
}

TEST_F(IndexTest, LocateThroughATagFindsTheFirstRecordInPhysicalOrder) {
    createLines();
    Table lines(dir.path(), "Szamla2.dbf");
    lines.open();
    ASSERT_TRUE(lines.locate({{"SZAMLASZAM", "2024/00001"}, {"MEGNEVEZES", "alátét"}}));
    EXPECT_EQ(lines.recNo(), 4u);
    ASSERT_TRUE(lines.locate({{"SZAMLASZAM", "2024/00001"}}));
    EXPECT_EQ(lines.recNo(), 2u);
    ASSERT_TRUE(lines.locate({{"SZAMLASZAM", "2024/0000"}}, {.partialKey = true}));
    EXPECT_EQ(lines.recNo(), 1u);
    ASSERT_TRUE(lines.locate({{"ANYAGSZAM", "1"}}));
    EXPECT_EQ(lines.recNo(), 3u);
    EXPECT_FALSE(lines.locate({{"ANYAGSZAM", "4"}}));
    EXPECT_EQ(lines.recNo(), 3u);
    lines.deleteRecord();
    ASSERT_TRUE(lines.locate({{"ANYAGSZAM", "1"}}));  // the deleted one is passed over
    EXPECT_EQ(lines.recNo(), 6u);
    lines.setOrder("SZAMLASZAM");
    ASSERT_TRUE(lines.locate({{"SZAMLASZAM", "2024/00002"}, {"MEGNEVEZES", "szög"}}));
    EXPECT_EQ(lines.recNo(), 5u);
    EXPECT_FALSE(lines.locate({{"SZAMLASZAM", "2024/00004"}}));
    EXPECT_EQ(lines.recNo(), 5u);
}

TEST_F(IndexTest, CaseInsensitiveLocatesThroughATagFindWhatAScanFinds) {
    Table::create(dir.path(), "Partner.dbf", {{"NEV", FieldType::Character, 20}});
    Table t(dir.path(), "Partner.dbf");
    t.open({.exclusive = true});
    const char* names[] = {"Őrült Kft.", "orsós Bt.", "ÖRÖM Zrt.", "Álom Kft.", "alma", "őRÜLT kft.", "Ország", "ŐS"};
    for (const char* name : names) {
        t.append();
        t.setString("NEV", name);
        t.post();
    }
    t.addIndex("NEV", "NEV");
    // The first match in physical order, and in the tag's order (small letters first).
    struct Case {
        const char* value;
        bool prefix;
        uint32_t physical;
        uint32_t inOrder;
    };
    const Case cases[] = {{"ŐRÜLT KFT.", false, 1, 6}, {"őrült kft.", false, 1, 6}, {"ORSZÁG", false, 7, 7},
                          {"őr", true, 1, 6},          {"ö", true, 3, 3},           {"álom kft.", false, 4, 4},
                          {"ős", false, 8, 8},         {"ősz", false, 0, 0},        {"ALMA", true, 5, 5}};
    for (const bool ordered : {false, true}) {
        t.setOrder(ordered ? "NEV" : "");
        for (const Case& c : cases) {
            const bool found = t.locate({{"NEV", c.value}}, {.caseInsensitive = true, .partialKey = c.prefix});
            EXPECT_EQ(found, c.physical != 0) << c.value;
            if (found) {
                EXPECT_EQ(t.recNo(), ordered ? c.inOrder : c.physical) << c.value;
            }
        }
    }
}

// A dBASE III table has no language driver, so its index says 0 at the driver byte; the keys
// must be ordered as a later opening reads that 0, or seeks and the check disagree with the tag.
TEST_F(IndexTest, ALevel3TablesTagKeepsOneOrderWhenReopened) {
    Table::create(dir.path(), "nevek.dbf", {{"NEV", FieldType::Character, 12}}, TableLevel::DBase3);
    Texts walked;
    {
        Table t(dir.path(), "nevek.dbf");
        t.open({.exclusive = true});
        for (const char* name : {"Zoltán", "Ábel", "anna", "Őze", "Béla", "Ottó"}) {
            t.append();
            t.setString("NEV", name);
            t.post();
        }
        t.addIndex("NEV", "NEV");
        t.setOrder("NEV");
        walked = column(t, "NEV");
    }
    Table t(dir.path(), "nevek.dbf");
    t.open();
    t.setOrder("NEV");
    EXPECT_EQ(column(t, "NEV"), walked);
    EXPECT_TRUE(t.checkIntegrity().empty());
    for (const std::string& name : walked) EXPECT_TRUE(t.findKey(name)) << name;
    t.append();
    t.setString("NEV", "Éva");
    t.post();
    EXPECT_TRUE(t.checkIntegrity().empty());
}
