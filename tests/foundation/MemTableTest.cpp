// MemTable: sorting, the cursor and editing rules it shares with table handles, values
// converted and cut as in a table, and loading a table's records.

#include "foundation/MemTable.h"
#include "foundation/StorableText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "dbase/DbError.h"
#include "dbase/TestFolder.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TableHandle.h"

namespace kavina {
namespace {

using dbase::FieldType;
using testing_support::TestFolder;

// The fields of the fixture's record set.
namespace L {
constexpr Field NEV{"lista", "NEV"};
constexpr Field OSSZEG{"lista", "OSSZEG"};
constexpr Field SORSZ{"lista", "SORSZ"};
constexpr Field DATUM{"lista", "DATUM"};
constexpr Field MEGJ{"lista", "MEGJ"};
}  // namespace L

std::vector<QString> walk(RecordCursor& c, const Field& field) {
    std::vector<QString> out;
    for (c.first(); !c.eof(); c.next()) out.push_back(c.asString(field));
    return out;
}

void appendRow(RecordCursor& c, std::initializer_list<std::pair<Field, QString>> values) {
    c.append();
    for (const auto& [field, value] : values) c.setString(field, value);
    c.post();
}

class MemTableTest : public ::testing::Test {
protected:
    MemTable set{"lista"};

    void SetUp() override {
        set.setFields({{L::NEV.text(), FieldType::Character, 20},
                       {L::OSSZEG.text(), FieldType::Float},
                       {L::SORSZ.text(), FieldType::Integer},
                       {L::DATUM.text(), FieldType::Date},
                       {L::MEGJ.text(), FieldType::Memo}});
    }

    void fill(std::initializer_list<const char*> names) {
        int n = 0;
        for (const char* name : names) appendRow(set, {{L::NEV, name}, {L::SORSZ, QString::number(++n)}});
    }
};

// Amounts descending, then names ignoring case in Hungarian order; records equal on both
// keep the order they were appended in.
TEST_F(MemTableTest, SortsByADescendingAndACaseInsensitiveFieldKeepingEqualKeysInOrder) {
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"béla", "100"}, {"Ábel", "250"},  {"abel", "250"}, {"Béla", "100"}, {"Csaba", "100"},
        {"ÁBEL", "250"}, {"cecil", "100"}, {"Zoltán", ""},  {"ábel", "250"}, {"Aladár", "250"}};
    for (size_t i = 0; i < rows.size(); ++i)
        appendRow(set, {{L::NEV, rows[i].first}, {L::OSSZEG, rows[i].second}, {L::SORSZ, QString::number(i + 1)}});
    set.sort({{L::OSSZEG, true, false}, {L::NEV, false, true}});
    // Letter by letter, á right after a: abel, aladár, then the three ábel as appended; an
    // empty amount is the smallest.
    EXPECT_EQ(walk(set, L::SORSZ), (std::vector<QString>{"3", "10", "2", "6", "9", "1", "4", "7", "5", "8"}));

    set.sort({{L::NEV, false, false}});  // case-sensitive: a small letter right before its capital
    EXPECT_EQ(walk(set, L::NEV), (std::vector<QString>{"abel", "Aladár", "ábel", "Ábel", "ÁBEL", "béla", "Béla",
                                                       "cecil", "Csaba", "Zoltán"}));
    EXPECT_THROW(set.sort(std::vector<MemTable::SortKey>{{Field{"lista", "NINCS"}}}), dbase::DbError);
}

// Enough records for an unstable sort to show: within equal keys the appended order holds.
TEST_F(MemTableTest, ALongSortKeepsEqualKeysInTheirOrder) {
    const char* names[] = {"Ede", "ede", "EDE", "Éva"};
    for (int i = 0; i < 200; ++i)
        appendRow(set,
                  {{L::NEV, names[i % 4]}, {L::OSSZEG, QString::number(i * 7 % 3)}, {L::SORSZ, QString::number(i)}});
    set.sort({{L::OSSZEG, true, false}, {L::NEV, false, true}});
    // (amount descending, ede before éva in any case, then the appended order)
    std::vector<std::tuple<double, bool, int64_t>> order;
    for (set.first(); !set.eof(); set.next())
        order.emplace_back(-set.asFloat(L::OSSZEG), set.asString(L::NEV).startsWith(QStringLiteral("É")),
                           set.asInteger(L::SORSZ));
    EXPECT_EQ(order.size(), 200u);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
}

TEST_F(MemTableTest, SortsByAFieldListAndBookmarksFollowTheirRecords) {
    appendRow(set, {{L::NEV, "b"}, {L::DATUM, "2008.03.15"}});
    appendRow(set, {{L::NEV, "a"}, {L::DATUM, "2008.03.16"}});
    appendRow(set, {{L::NEV, "a"}, {L::DATUM, "2008.03.14"}});
    set.first();
    const CursorMark first = set.bookmark();
    set.sort("nev; datum");
    EXPECT_EQ(walk(set, L::DATUM), (std::vector<QString>{"2008.03.14", "2008.03.16", "2008.03.15"}));
    ASSERT_TRUE(set.gotoBookmark(first));
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("b"));
}

// Every record is found again by its bookmark, also once records were inserted before it,
// deleted before it or sorted, and after the list was emptied and filled again.
TEST_F(MemTableTest, BookmarksFindTheirRecordsAfterInsertsDeletesSortsAndEmptying) {
    fill({"c", "d", "e"});
    std::vector<std::pair<CursorMark, QString>> marks;
    const auto remember = [&] {
        marks.clear();
        for (set.first(); !set.eof(); set.next()) marks.emplace_back(set.bookmark(), set.asString(L::NEV));
    };
    const auto expectAllFound = [&](const char* when) {
        for (const auto& [mark, name] : marks) {
            ASSERT_TRUE(set.gotoBookmark(mark)) << when;
            EXPECT_EQ(set.asString(L::NEV), name) << when;
        }
    };
    remember();
    expectAllFound("appended");
    set.first();
    set.insert();
    set.setString(L::NEV, QStringLiteral("a"));
    set.post();
    expectAllFound("after an insert before them");
    set.first();
    set.next();
    set.deleteRecord();  // "c"
    marks.erase(marks.begin());
    expectAllFound("after a delete before them");
    set.sort({{L::NEV, true}});
    expectAllFound("sorted");
    set.emptyTable();
    EXPECT_FALSE(set.gotoBookmark(marks.front().first));
    fill({"x", "y"});
    remember();
    expectAllFound("filled again");
}

TEST_F(MemTableTest, NavigatesAsATableHandleDoes) {
    EXPECT_TRUE(set.isEmpty());
    set.first();
    EXPECT_TRUE(set.eof() && set.bof());
    fill({"a", "b", "c"});
    set.first();
    EXPECT_TRUE(set.bof());
    EXPECT_FALSE(set.eof());
    set.prior();
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("a"));
    set.last();
    EXPECT_TRUE(set.eof()) << "last() sets eof, as a table handle's does";
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("c"));
    set.next();
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("c")) << "past the end it stays on the last record";
    EXPECT_EQ(set.recordCount(), 3u);
}

TEST_F(MemTableTest, InsertGoesBeforeTheCurrentRecordAndDeleteMovesOn) {
    fill({"a", "c"});
    set.last();
    set.insert();
    set.setString(L::NEV, "b");
    set.post();
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("b"));
    EXPECT_EQ(walk(set, L::NEV), (std::vector<QString>{"a", "b", "c"}));

    set.first();
    set.next();
    set.deleteRecord();
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("c"));
    set.deleteRecord();  // the last one: back to the one before
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("a"));
    EXPECT_TRUE(set.eof());
    set.deleteRecord();
    EXPECT_TRUE(set.isEmpty());
    EXPECT_THROW(set.deleteRecord(), dbase::DbError);
    EXPECT_THROW(set.edit(), dbase::DbError);
}

TEST_F(MemTableTest, CancelDropsTheChangeAndMovingPostsIt) {
    fill({"a", "b"});
    set.first();
    set.edit();
    set.setString(L::NEV, "x");
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("x"));
    set.cancel();
    EXPECT_EQ(set.asString(L::NEV), QStringLiteral("a"));
    set.append();
    set.cancel();
    EXPECT_EQ(set.recordCount(), 2u);
    set.edit();
    set.setString(L::NEV, "y");
    set.next();
    EXPECT_EQ(walk(set, L::NEV), (std::vector<QString>{"y", "b"}));
    EXPECT_THROW(set.setString(L::NEV, "z"), dbase::DbError) << "not in edit state";
}

TEST_F(MemTableTest, LocatesAsATableDoes) {
    fill({"Kovács", "kovácsné", "Szabó"});
    EXPECT_TRUE(set.locate({{L::NEV, "szabó"}}, {.caseInsensitive = true}));
    EXPECT_EQ(set.asString(L::SORSZ), QStringLiteral("3"));
    EXPECT_TRUE(set.locate({{L::NEV, "kovács"}}, {.caseInsensitive = false, .partialKey = true}));
    EXPECT_EQ(set.asString(L::SORSZ), QStringLiteral("2"));
    EXPECT_FALSE(set.locate({{L::NEV, "Kovács"}, {L::SORSZ, "2"}}));
    EXPECT_EQ(set.asString(L::SORSZ), QStringLiteral("2")) << "a failed locate stays";
    EXPECT_THROW(set.locate({}), dbase::DbError);
}

// The same values set into a table field and a record-set field read back the same, and
// values a table refuses are refused here too.
TEST(MemTableConversionTest, ValuesConvertAndCutAsInATable) {
    namespace S = fields::Szamla;
    TestFolder dir;
    createDataFolder(dir.path());
    TableHandle table(dir.path(), "Szamla.dbf");
    table.open();
    MemTable set;
    set.copyStructure(table);
    const std::vector<std::pair<Field, QString>> values = {{S::VAROS, QString(60, QChar(0x0151))},  // 60 times ő
                                                           {S::NEV, QStringLiteral("Ünnepi Ősz Kft.")},
                                                           {S::AFAALAP, QStringLiteral("1234.50")},
                                                           {S::PARTNERKOD, QStringLiteral(" 42 ")},
                                                           {S::KIALLIT, QStringLiteral("2008.02.29")},
                                                           {S::FIZETVE, QStringLiteral("t")},
                                                           {S::MEGJEGYZES, QStringLiteral("hosszú\r\nmegjegyzés")},
                                                           {S::AFA, QString()}};
    for (RecordCursor* c : std::initializer_list<RecordCursor*>{&table, &set}) {
        c->append();
        for (const auto& [field, value] : values) c->setString(field, value);
        EXPECT_THROW(c->setString(S::PARTNERKOD, "12a"), dbase::DbError);
        // A star Windows-1250 lacks would be stored as "?".
        EXPECT_THROW(c->setString(S::NEV, QStringLiteral("Ünnepi Ősz ★ Kft.")), UnstorableTextError);
        EXPECT_THROW(c->setString(S::MEGJEGYZES, QStringLiteral("★")), UnstorableTextError);
        EXPECT_THROW(c->setString(S::KIALLIT, "2009.02.29"), dbase::DbError);
        EXPECT_THROW(c->setInteger(S::PARTNERKOD, 1LL << 40), dbase::DbError);
        c->post();
    }
    for (const auto& [field, value] : values) EXPECT_EQ(set.asString(field), table.asString(field)) << field.text();
    EXPECT_EQ(set.asString(S::VAROS).size(), 30);
    EXPECT_EQ(set.asString(S::NEV), QStringLiteral("Ünnepi Ősz Kft."));
    EXPECT_EQ(set.asString(S::AFAALAP), QStringLiteral("1234.5"));
    EXPECT_EQ(set.asDate(S::KIALLIT), QDate(2008, 2, 29));
    EXPECT_TRUE(set.isNull(S::AFA));
    EXPECT_EQ(set.asFloat(S::AFA), 0.0);
    EXPECT_EQ(set.fieldIndex("teljescim"), table.fieldIndex(S::TELJESCIM));
}

TEST(MemTableLoadTest, LoadsTheRecordsATableShowsAndLeavesItWhereItWas) {
    namespace Ar = fields::Arcsoport;
    TestFolder dir;
    createDataFolder(dir.path());
    TableHandle groups(dir.path(), "arcsoport.dbf");
    groups.open();
    groups.first();
    groups.next();
    MemTable set;
    set.loadAll(groups);
    EXPECT_EQ(set.fieldCount(), 2);
    EXPECT_EQ(walk(set, Ar::ARCSOPORT),
              (std::vector<QString>{"1. árcsoport", "2. árcsoport", "3. árcsoport", "Fix árcsoport"}));
    EXPECT_EQ(groups.asString(Ar::ID), QStringLiteral("2"));

    TableHandle vat(dir.path(), "AFA.dbf");
    vat.open();
    vat.setOrder(fields::AFA::AFA);
    vat.setFilter("AFA > 0");
    vat.setFiltered(true);
    set.emptyTable();
    EXPECT_EQ(set.recordCount(), 0u);
    MemTable rates;
    rates.loadAll(vat);
    EXPECT_EQ(walk(rates, fields::AFA::AFA), (std::vector<QString>{"27", "18", "5"}));
    EXPECT_EQ(rates.fields()[0].logical, FieldType::Float);

    MemTable codes;  // a text that is not a number stops the load and adds nothing
    codes.setFields({{Ar::ARCSOPORT.text(), FieldType::Integer}, {Ar::ID.text(), FieldType::Integer}});
    appendRow(codes, {{Ar::ID, "7"}});
    EXPECT_THROW(codes.loadAll(groups), dbase::DbError);
    EXPECT_EQ(walk(codes, Ar::ID), std::vector<QString>{"7"});
    EXPECT_EQ(groups.asString(Ar::ID), QStringLiteral("2"));
    EXPECT_THROW(codes.loadAll(codes), dbase::DbError);

    MemTable none;
    EXPECT_THROW(none.first(), dbase::DbError);
    EXPECT_THROW(none.setFields({{"NEV", FieldType::Character, 0}}), dbase::DbError);
    EXPECT_EQ(none.state(), dbase::TableState::Inactive);
}

}  // namespace
}  // namespace kavina
