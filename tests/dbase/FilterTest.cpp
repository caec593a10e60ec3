#include <gtest/gtest.h>

#include "TestFolder.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"

using namespace dbase;
using testing_support::TestFolder;

namespace {

class FilterTest : public ::testing::Test {
protected:
    TestFolder dir;
    Table t{dir.path(), "Anyag.dbf"};

    void SetUp() override {
        Table::create(dir.path(), "Anyag.dbf",
                      {{"MEGNEVEZES", FieldType::Character, 30},
                       {"AR", FieldType::Float},
                       {"DB", FieldType::Short},
                       {"TERMEK", FieldType::Logical},
                       {"DATUM", FieldType::Date},
                       {"IDO", FieldType::DateTime}});
        t.open();
        add("Csavar", 10, 100, false, "2008.03.15", "2008.03.15 10:15:00");
        add("csavarhúzó", 1500.5, 3, false, "2008.03.16", "2008.03.16 08:00:00");
        add("Anya", 5, 0, false, "2007.12.31", "");
        add("Szerelés", 8000, -1, true, "", "2009.01.01 00:00:00");
        add("Kovács's bolt", 0, 7, true, "2008.03.15", "2008.03.15 23:59:59");
        add("Ütvefúró", 25000, 2, false, "2010.06.01", "");
    }

    void add(const char* name, double ar, int db, bool termek, const char* date, const char* time) {
        t.append();
        t.setString("MEGNEVEZES", name);
        t.setFloat("AR", ar);
        t.setInteger("DB", db);
        t.setLogical("TERMEK", termek);
        t.setString("DATUM", date);
        t.setString("IDO", time);
        t.post();
    }

    std::vector<std::string> matching(const std::string& expression, FilterOptions options = {}) {
        t.setFilterOptions(options);
        t.setFilter(expression);
        t.setFiltered(true);
        std::vector<std::string> out;
        for (t.first(); !t.eof(); t.next()) out.push_back(t.asString("MEGNEVEZES"));
        EXPECT_EQ(t.recordCount(), out.size()) << expression;
        return out;
    }

    std::string errorOf(const std::string& expression) {
        try {
            t.setFilter(expression);
        } catch (const DbError& e) {
            return e.what();
        }
        return "no error";
    }
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(FilterTest, NumberComparisonsCoverEveryOperator) {
    EXPECT_EQ(matching("AR = 10"), (Names{"Csavar"}));
    EXPECT_EQ(matching("AR <> 10").size(), 5u);
    EXPECT_EQ(matching("ar != 10").size(), 5u);
    EXPECT_EQ(matching("AR > 1500.5"), (Names{"Szerelés", "Ütvefúró"}));
    EXPECT_EQ(matching("AR >= 1500.5"), (Names{"csavarhúzó", "Szerelés", "Ütvefúró"}));
    EXPECT_EQ(matching("AR < 5"), (Names{"Kovács's bolt"}));
    EXPECT_EQ(matching("AR <= 5"), (Names{"Anya", "Kovács's bolt"}));
    EXPECT_EQ(matching("DB < 0"), (Names{"Szerelés"}));
    EXPECT_EQ(matching("10 = AR"), (Names{"Csavar"}));  // a constant may stand first
    EXPECT_EQ(matching("5 > AR"), (Names{"Kovács's bolt"}));
}

TEST_F(FilterTest, TextMatchesByPrefixUnlessForbidden) {
    EXPECT_EQ(matching("MEGNEVEZES = 'Csavar'"), (Names{"Csavar"}));
    EXPECT_EQ(matching("MEGNEVEZES = 'Csavar*'"), (Names{"Csavar"}));
    EXPECT_EQ(matching("MEGNEVEZES = 'Csavar*'", {.caseInsensitive = true}), (Names{"Csavar", "csavarhúzó"}));
    EXPECT_EQ(matching("MEGNEVEZES = 'csavar*'", {.noPrefixMatching = true}), (Names{}));
    EXPECT_EQ(matching("MEGNEVEZES <> 'Cs*'").size(), 5u);
    EXPECT_EQ(matching("MEGNEVEZES = 'ütve*'", {.caseInsensitive = true}), (Names{"Ütvefúró"}));
    EXPECT_EQ(matching("MEGNEVEZES = 'ütve*'"), (Names{}));
    EXPECT_EQ(matching("MEGNEVEZES = '*'").size(), 6u);
}

TEST_F(FilterTest, TextOrderFollowsTheHungarianAlphabet) {
    // "Ü" sorts after "U" and before "V", not after "Z" as its byte value would.
    EXPECT_EQ(matching("MEGNEVEZES > 'T' AND MEGNEVEZES < 'V'"), (Names{"Ütvefúró"}));
    EXPECT_EQ(matching("MEGNEVEZES >= 'cs'", {.caseInsensitive = true}).size(), 5u);
    EXPECT_EQ(matching("MEGNEVEZES < 'B'"), (Names{"Anya"}));
}

TEST_F(FilterTest, QuotesInsideConstantsAreDoubled) {
    EXPECT_EQ(matching("MEGNEVEZES = 'Kovács''s bolt'"), (Names{"Kovács's bolt"}));
    EXPECT_EQ(matching("MEGNEVEZES = \"Kovács's bolt\""), (Names{"Kovács's bolt"}));
}

TEST_F(FilterTest, DatesCompareAsYearFirstText) {
    EXPECT_EQ(matching("DATUM = '2008.03.15'"), (Names{"Csavar", "Kovács's bolt"}));
    EXPECT_EQ(matching("DATUM > '2008.03.15'"), (Names{"csavarhúzó", "Ütvefúró"}));
    EXPECT_EQ(matching("DATUM < '2008.01.01' AND DATUM <> ''"), (Names{"Anya"}));
    EXPECT_EQ(matching("DATUM = ''"), (Names{"Szerelés"}));
    EXPECT_EQ(matching("DATUM = '2008.03*'"), (Names{"Csavar", "csavarhúzó", "Kovács's bolt"}));
    EXPECT_EQ(matching("IDO >= '2008.03.15 23:59:59'"), (Names{"csavarhúzó", "Szerelés", "Kovács's bolt"}));
    EXPECT_EQ(matching("IDO = ''"), (Names{"Anya", "Ütvefúró"}));
}

TEST_F(FilterTest, LogicalFieldsStandAloneAndCombine) {
    EXPECT_EQ(matching("TERMEK"), (Names{"Szerelés", "Kovács's bolt"}));
    EXPECT_EQ(matching("not termek and AR > 1000"), (Names{"csavarhúzó", "Ütvefúró"}));
    EXPECT_EQ(matching("TERMEK = 'F' AND DB = 0"), (Names{"Anya"}));
    EXPECT_EQ(matching("((TERMEK OR AR = 10) AND NOT (DB = 7)) Or MEGNEVEZES = 'Anya'"),
              (Names{"Csavar", "Anya", "Szerelés"}));
    EXPECT_EQ(matching("NOT NOT TERMEK"), (Names{"Szerelés", "Kovács's bolt"}));
}

TEST_F(FilterTest, SwitchingTheFilterOffShowsEveryRecord) {
    matching("TERMEK");
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 6u);
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 2u);
}

TEST_F(FilterTest, ErrorsNameThePosition) {
    EXPECT_NE(errorOf("AR = ").find("position 6"), std::string::npos) << errorOf("AR = ");
    EXPECT_NE(errorOf("NINCS = 1").find("position 1: unknown field 'NINCS'"), std::string::npos);
    EXPECT_NE(errorOf("MEGNEVEZES = 'abc").find("position 14: the text constant is not closed"), std::string::npos);
    EXPECT_NE(errorOf("(AR = 1").find("')' expected"), std::string::npos);
    EXPECT_NE(errorOf("AR = 1 AR = 2").find("position 8"), std::string::npos);
    EXPECT_NE(errorOf("AR = 'tíz'").find("not a number"), std::string::npos);
    EXPECT_NE(errorOf("DATUM = '2008.13.01'").find("not a date"), std::string::npos);
    EXPECT_NE(errorOf("MEGNEVEZES").find("not a logical field"), std::string::npos);
    EXPECT_NE(errorOf("AR = DB").find("one field with one constant"), std::string::npos);
    EXPECT_NE(errorOf("AR # 1").find("unexpected character '#'"), std::string::npos);
    EXPECT_NE(errorOf("NOT").find("position 4: a condition is missing"), std::string::npos);
    EXPECT_EQ(errorOf(""), "no error");  // an empty expression is no filter
    EXPECT_NE(errorOf("AR = 1").find("no error"), std::string::npos);
    // A failed expression leaves the previous filter in force.
    matching("TERMEK");
    EXPECT_THROW(t.setFilter("TERMEK AND"), DbError);
    EXPECT_EQ(t.filter(), "TERMEK");
    EXPECT_EQ(t.recordCount(), 2u);
}

TEST_F(FilterTest, DeepNestingIsRefusedWithAClearErrorInsteadOfExhaustingTheStack) {
    const std::string deep = std::string(20000, '(') + "DB = 3" + std::string(20000, ')');
    for (const std::string& expression : {deep, [] {
                                              std::string nots;
                                              for (int i = 0; i < 20000; ++i) nots += "NOT ";
                                              return nots + "TERMEK";
                                          }()}) {
        try {
            t.setFilter(expression);
            ADD_FAILURE() << "a filter nested 20 000 deep was taken";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbErrorKind::Invalid);
            EXPECT_NE(std::string(e.what()).find("nested more than 100 deep"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(matching(std::string(100, '(') + "DB = 3" + std::string(100, ')')),
              (std::vector<std::string>{"csavarhúzó"}));
}
