// Interchange with independent dBASE implementations: tables the engine writes must read back
// unchanged in them, and theirs in the engine.
//  - level 7: TDbf, Free Pascal's dBASE engine, through tests/tools/tdbfcheck.pas, compiled
//    with fpc on first use into KAVINA_TOOL_BUILD_DIR;
//  - dBASE III and IV: the Python libraries dbf (writes dBASE III) and dbfread (reads), through
//    the scripts in tests/tools, run with Debian's /usr/bin/python3.
// The helpers speak one canonical text (field lines, "record n", NAME=value, "end"); see the
// tools for its details. A missing tool fails the tests: the set-up script installs them.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ExternalTools.h"
#include "TestFolder.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"

using namespace dbase;
using testing_support::Dump;
using testing_support::parseDump;
using testing_support::pythonLibraries;
using testing_support::quote;
using testing_support::readFile;
using testing_support::run;
using testing_support::tdbfChecker;
using testing_support::TestFolder;
using testing_support::ToolRun;
namespace fs = std::filesystem;

namespace {

const char* const kHungarian = "árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP";

// ---- canonical text ----

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 32) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
                    out += hex;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::string hexOf(double value) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(std::bit_cast<uint64_t>(value)));
    return hex;
}

double doubleOfHex(const std::string& hex) {
    return std::bit_cast<double>(std::stoull(hex.substr(0, 16), nullptr, 16));
}

// The shortest text that reads back as the same double, as Python's repr() writes it.
std::string shortestText(double value) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string text(buf, end);
    if (text.find_first_of(".en") == std::string::npos) text += ".0";
    return text;
}

// ---- table content shared by the engine and the tools ----

struct Column {
    std::string name;
    FieldType type;
    int width = 0;
    int decimals = 0;
};

// Values of one record by field name: raw UTF-8 for text and memos, canonical text for the
// rest (floats as the hex digits of the double); nullopt for an empty field.
using Row = std::map<std::string, std::optional<std::string>>;

struct Content {
    std::vector<Column> columns;
    std::vector<Row> rows;
    std::vector<bool> deleted;  // per row; missing entries mean live
    bool isDeleted(size_t i) const { return i < deleted.size() && deleted[i]; }
};

const Column& columnNamed(const Content& c, const std::string& name) {
    for (const Column& col : c.columns)
        if (col.name == name) return col;
    throw std::logic_error("no column " + name);
}

void writeWithEngine(const std::string& folder, const std::string& file, const Content& c,
                     TableLevel level = TableLevel::DBase7) {
    std::vector<FieldDef> defs;
    for (const Column& col : c.columns) defs.push_back({col.name, col.type, col.width, col.decimals});
    Table::create(folder, file, defs, level);
    Table t(folder, file);
    t.open({.exclusive = true});
    for (const Row& row : c.rows) {
        t.append();
        for (const auto& [name, value] : row) {
            if (!value) continue;
            switch (columnNamed(c, name).type) {
                case FieldType::Memo: t.setMemo(name, *value); break;
                case FieldType::Integer:
                case FieldType::Short: t.setInteger(name, std::stoll(*value)); break;
                case FieldType::Float: t.setFloat(name, doubleOfHex(*value)); break;
                case FieldType::Logical: t.setLogical(name, *value == "T"); break;
                default: t.setString(name, *value); break;  // text, dates and date-times parse from text
            }
        }
        t.post();
    }
    // deleteRecord moves on to the next record, so one pass in file order marks the victims.
    t.first();
    for (size_t i = 0; i < c.rows.size(); ++i) {
        if (c.isDeleted(i))
            t.deleteRecord();
        else
            t.next();
    }
    t.close();
}

// The physical descriptor TDbf is asked to create for a column of a level-7 table.
std::string level7Descriptor(const Column& col) {
    return testing_support::level7Descriptor(col.type, col.width);
}

// The content as the tools read it. TDbf takes floats as the hex digits of the double,
// python-dbf as decimal text (decimalFloats).
std::string contentText(const Content& c, const std::string& preamble,
                        const std::function<std::string(const Column&)>& descriptor, bool decimalFloats = false) {
    std::string out = preamble;
    for (const Column& col : c.columns) out += "field " + col.name + " " + descriptor(col) + "\n";
    for (size_t i = 0; i < c.rows.size(); ++i) {
        out += c.isDeleted(i) ? "record deleted\n" : "record\n";
        for (const auto& [name, value] : c.rows[i]) {
            if (!value) continue;
            const FieldType type = columnNamed(c, name).type;
            const bool text = type == FieldType::Character || type == FieldType::Memo;
            const bool decimal = decimalFloats && type == FieldType::Float;
            out += name + "=" + (text ? escape(*value) : decimal ? shortestText(doubleOfHex(*value)) : *value) + "\n";
        }
    }
    return out + "end\n";
}

// What TDbf prints for a value the engine stored.
std::string tdbfView(const Column& col, const std::optional<std::string>& value) {
    if (!value || (col.type == FieldType::Memo && value->empty())) return "<null>";
    switch (col.type) {
        case FieldType::Character:
        case FieldType::Memo: return escape(*value);
        case FieldType::Float: return value->substr(0, 16);
        case FieldType::DateTime: return *value + ".000";
        default: return *value;
    }
}

// The engine's reading of a field in the same canonical form as Row values.
std::optional<std::string> engineView(const Table& t, const FieldInfo& f) {
    const int i = t.fieldNumber(f.name);
    if (f.logical == FieldType::Character) {
        const std::string text = t.asString(i);
        return text.empty() ? std::nullopt : std::optional(text);
    }
    if (t.isNull(i)) return std::nullopt;
    switch (f.logical) {
        case FieldType::Memo: return t.asMemo(i);
        case FieldType::Integer:
        case FieldType::Short: return std::to_string(t.asInteger(i));
        case FieldType::Float: return hexOf(t.asFloat(i));
        case FieldType::Logical: return std::string(t.asLogical(i) ? "T" : "F");
        default: return t.asString(i);
    }
}

std::string shown(const std::optional<std::string>& v) {
    return v ? escape(*v) : "<null>";
}

// Compares two texts in full; a long text's difference is shown around its first byte.
::testing::AssertionResult sameText(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    if (actual.size() + expected.size() < 400)
        return ::testing::AssertionFailure() << "got \"" << actual << "\"\n   expected \"" << expected << "\"";
    const size_t at = size_t(
        std::mismatch(actual.begin(), actual.begin() + long(std::min(actual.size(), expected.size())), expected.begin())
            .first -
        actual.begin());
    const size_t from = at < 40 ? 0 : at - 40;
    return ::testing::AssertionFailure() << "texts of " << actual.size() << " and " << expected.size()
                                         << " bytes differ from byte " << at << ": got \"" << actual.substr(from, 120)
                                         << "\"\n   expected \"" << expected.substr(from, 120) << "\"";
}

// Reads every live record with the engine and compares it with the live rows of the content.
void expectEngineReads(const std::string& folder, const std::string& file, const Content& c) {
    Table t(folder, file);
    ASSERT_NO_THROW(t.open({.readOnly = true}));
    size_t row = 0;
    size_t seen = 0;
    for (t.first(); !t.eof(); t.next(), ++row, ++seen) {
        while (c.isDeleted(row)) ++row;
        ASSERT_LT(row, c.rows.size()) << "the engine sees more records than were written";
        for (const Column& col : c.columns) {
            const auto it = c.rows[row].find(col.name);
            std::optional<std::string> expected = it == c.rows[row].end() ? std::nullopt : it->second;
            if (col.type == FieldType::Memo && expected && expected->empty()) expected.reset();
            const FieldInfo& f = t.fields()[size_t(t.fieldNumber(col.name))];
            std::optional<std::string> actual;
            try {
                actual = engineView(t, f);
            } catch (const DbError& e) {
                ADD_FAILURE() << "record " << t.recNo() << " field " << col.name << ": " << e.what();
                continue;
            }
            EXPECT_TRUE(sameText(shown(actual), shown(expected))) << "record " << t.recNo() << " field " << col.name;
        }
    }
    size_t live = 0;
    for (size_t i = 0; i < c.rows.size(); ++i) live += c.isDeleted(i) ? 0 : 1;
    EXPECT_EQ(seen, live) << "live records the engine sees";
}

// ---- the content used by several tests ----

std::string bigMemo(const std::string& line) {
    std::string memo;
    for (int i = 0; memo.size() < 100 * 1024; ++i) memo += std::to_string(i) + " " + line + "\r\n";
    return memo;
}

const std::vector<Column> kEveryType = {
    {"NEV", FieldType::Character, 60}, {"SZAM", FieldType::Integer},   {"DB", FieldType::Short},
    {"AR", FieldType::Float},          {"TERMEK", FieldType::Logical}, {"DATUM", FieldType::Date},
    {"IDO", FieldType::DateTime},      {"MEGJ", FieldType::Memo},
};

Content everyTypeContent(const std::string& text) {
    Content c;
    c.columns = kEveryType;
    c.rows = {
        {{"NEV", text},
         {"SZAM", "2147483647"},
         {"DB", "32767"},
         {"AR", hexOf(0.1)},
         {"TERMEK", "T"},
         {"DATUM", "1900.01.01"},
         {"IDO", "1900.01.01 00:00:01"},
         {"MEGJ", bigMemo(text)}},
        {{"NEV", "Csavar M6"},
         {"SZAM", "-2147483647"},
         {"DB", "-32768"},
         {"AR", hexOf(-1234567.8901234567)},
         {"TERMEK", "F"},
         {"DATUM", "2099.12.31"},
         {"IDO", "2099.12.31 23:59:59"},
         {"MEGJ", "rövid\r\n" + text}},
        {{"NEV", "törölt"}, {"SZAM", "7"}, {"MEGJ", "a deleted record's memo"}},
        {{"NEV", "zero"},
         {"SZAM", "0"},
         {"DB", "0"},
         {"AR", hexOf(0.0)},
         {"DATUM", "2000.02.29"},
         {"IDO", "2008.03.15 10:15:00"}},
        {},
    };
    c.deleted = {false, false, true};
    return c;
}

std::string asciiOnly() {
    return "Plain text, \"quoted\" and \\ backslashed";
}

}  // namespace

// ---- production indexes against TDbf ----

// One tag as TDbf lists it, with the physical record numbers in its order.
struct TagWalk {
    std::string name;
    std::string expression;
    std::string direction;
    std::vector<uint32_t> order;
};

std::vector<TagWalk> parseTagWalks(const std::string& out) {
    std::vector<TagWalk> tags;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "tag") {
            tags.emplace_back();
            words >> tags.back().name >> tags.back().expression >> tags.back().direction;
        } else if (word == "order" && !tags.empty()) {
            for (uint32_t r; words >> r;) tags.back().order.push_back(r);
        }
    }
    return tags;
}

// Partners with Hungarian names in several cases, repeated prices and counts.
Content indexedPartners() {
    Content c;
    c.columns = {{"NEV", FieldType::Character, 30},
                 {"AR", FieldType::Float},
                 {"DB", FieldType::Integer},
                 {"DATUM", FieldType::Date}};
    const char* names[] = {"Őrült Kft.", "orsós Bt.", "ÖRÖM Zrt.", "Álom Kft.", "alma",  "Alma",  "ábel",
                           "Ábel",       "Cica",      "csiga",     "Ödön",      "olló",  "Ózd",   "óra",
                           "Utca",       "üveg",      "Űr",        "ünnep",     "zebra", "Zsolt", "",
                           "Éva",        "Eger",      "égbolt",    "Ivó",       "ír"};
    int i = 0;
    for (const char* name : names) {
        ++i;
        c.rows.push_back({{"NEV", std::string(name)},
                          {"AR", hexOf((i % 7) * 12.5 - 25)},
                          {"DB", std::to_string((i * 37) % 11 - 5)},
                          {"DATUM", "2008.03." + std::to_string(10 + i % 9)}});
    }
    return c;
}

// ---- level 7 against TDbf ----

class InteropTDbfTest : public ::testing::Test {
protected:
    TestFolder dir;

    void SetUp() override { ASSERT_FALSE(tdbfChecker().command.empty()) << tdbfChecker().problem; }

    Dump dumpWithTDbf(const std::string& file) {
        const ToolRun r = run(dir, quote(tdbfChecker().command) + " dump " + quote(dir.file(file)));
        EXPECT_EQ(r.code, 0) << "TDbf could not read " << file << ": " << r.err;
        const Dump d = parseDump(r.out);
        EXPECT_TRUE(d.complete) << "TDbf's dump of " << file << " stops early:\n" << r.out.substr(0, 4000) << r.err;
        return d;
    }

    void writeWithTDbf(const std::string& file, const std::string& content, const char* mode = "write") {
        dir.write("content.txt", content);
        const ToolRun r = run(dir, quote(tdbfChecker().command) + " " + mode + " " + quote(dir.file(file)) + " " +
                                       quote(dir.file("content.txt")));
        ASSERT_EQ(r.code, 0) << "TDbf could not write " << file << ": " << r.err;
    }

    // Compares TDbf's dump with the content, record by record, including deletion marks.
    static void expectTDbfShows(const Dump& d, const Content& c) {
        ASSERT_EQ(d.records.size(), c.rows.size()) << "records TDbf sees";
        for (size_t i = 0; i < c.rows.size(); ++i) {
            EXPECT_EQ(d.records[i].deleted, c.isDeleted(i)) << "deletion mark of record " << i + 1;
            for (const Column& col : c.columns) {
                const auto want = c.rows[i].find(col.name);
                const std::string expected = tdbfView(col, want == c.rows[i].end() ? std::nullopt : want->second);
                const auto got = d.records[i].values.find(col.name);
                ASSERT_NE(got, d.records[i].values.end()) << "TDbf shows no field " << col.name;
                const std::string actual = col.type == FieldType::Float ? got->second.substr(0, 16) : got->second;
                EXPECT_TRUE(sameText(actual, expected)) << "record " << i + 1 << " field " << col.name;
            }
        }
    }
};

TEST_F(InteropTDbfTest, ReadsEveryFieldTypeOfAnEngineTable) {
    const Content c = everyTypeContent(asciiOnly());
    writeWithEngine(dir.path(), "tetel.dbf", c);
    const Dump d = dumpWithTDbf("tetel.dbf");
    EXPECT_EQ(d.header.at("level"), "7");
    const std::vector<std::string> fields = {"NEV C 60 0",   "SZAM I 4 0",  "DB N 6 0",  "AR O 8 0",
                                             "TERMEK L 1 0", "DATUM D 8 0", "IDO @ 8 0", "MEGJ M 10 0"};
    EXPECT_EQ(d.fields, fields);
    expectTDbfShows(d, c);
}

TEST_F(InteropTDbfTest, ReadsHungarianTextOfAnEngineTableAsWindows1250) {
    Content c;
    c.columns = {{"NEV", FieldType::Character, 60}, {"MEGJ", FieldType::Memo}};
    c.rows = {{{"NEV", kHungarian}, {"MEGJ", std::string(kHungarian) + "\r\n" + kHungarian}}};
    writeWithEngine(dir.path(), "partner.dbf", c);
    const Dump d = dumpWithTDbf("partner.dbf");
    // TDbf takes a level-7 table's code page from the driver name at header bytes 32-63 alone;
    // the id at byte 29 is not consulted at this level.
    EXPECT_EQ(d.header.at("codepage"), "1250")
        << "driver name written: '" << (d.header.count("langname") ? d.header.at("langname") : "") << "'";
    expectTDbfShows(d, c);
}

TEST_F(InteropTDbfTest, EngineReadsEveryFieldTypeOfATDbfTable) {
    const Content c = everyTypeContent(kHungarian);
    // 200 (0xC8) is TDbf's id of the Windows-1250 driver.
    writeWithTDbf("tetel.dbf", contentText(c, "level 7\nlangid 200\n", level7Descriptor));
    {
        Table t(dir.path(), "tetel.dbf");
        t.open({.readOnly = true});
        EXPECT_EQ(t.level(), TableLevel::DBase7);
        EXPECT_EQ(t.codePage(), CodePage::Win1250);
        ASSERT_EQ(t.fields().size(), kEveryType.size());
        for (size_t i = 0; i < kEveryType.size(); ++i)
            EXPECT_EQ(t.fields()[i].logical, kEveryType[i].type)
                << t.fields()[i].name << " stored as " << t.fields()[i].physical;
        EXPECT_EQ(t.recordCount(), 4u);
    }
    expectEngineReads(dir.path(), "tetel.dbf", c);
}

TEST_F(InteropTDbfTest, NumbersKeepEveryBitBothWays) {
    Content c;
    c.columns = {{"SZAM", FieldType::Integer}, {"DB", FieldType::Short}, {"AR", FieldType::Float}};
    const double doubles[] = {0.1,
                              -0.1,
                              1.0 / 3.0,
                              -2.25,
                              3.5,
                              123456789.12345679,
                              1e300,
                              -1e-300,
                              5e-324,
                              1.7976931348623157e308,
                              -1.7976931348623157e308,
                              2.2250738585072014e-308,
                              -1.0};
    const long long ints[] = {1, -1, 2147483647, -2147483647, 1000000, -999999, 42, -5, 65536, -65536, 2, -2, 3};
    const int shorts[] = {1, -1, 32767, -32768, 100, -100, 9999, -9999, 12345, -12345, 0, 7, -7};
    for (size_t i = 0; i < std::size(doubles); ++i)
        c.rows.push_back(
            {{"SZAM", std::to_string(ints[i])}, {"DB", std::to_string(shorts[i])}, {"AR", hexOf(doubles[i])}});

    writeWithEngine(dir.path(), "engine.dbf", c);
    expectTDbfShows(dumpWithTDbf("engine.dbf"), c);

    writeWithTDbf("tdbf.dbf", contentText(c, "level 7\nlangid 200\n", level7Descriptor));
    expectEngineReads(dir.path(), "tdbf.dbf", c);

    // Four zero bytes are the empty integer, so the smallest 32-bit value has no encoding.
    Table t(dir.path(), "engine.dbf");
    t.open();
    t.append();
    EXPECT_THROW(t.setInteger("SZAM", -2147483648LL), DbError);
    EXPECT_THROW(t.setInteger("SZAM", 2147483648LL), DbError);
    EXPECT_THROW(t.setInteger("DB", 32768), DbError);
    t.cancel();
}

TEST_F(InteropTDbfTest, DatesAndTimesAgreeToTheSecondBothWays) {
    Content c;
    c.columns = {{"DATUM", FieldType::Date}, {"IDO", FieldType::DateTime}};
    const char* const stamps[][2] = {
        {"1900.01.01", "1900.01.01 00:00:00"}, {"1900.03.01", "1900.02.28 23:59:59"},
        {"2000.02.29", "2000.02.29 12:00:00"}, {"1999.12.31", "1999.12.31 23:59:59"},
        {"2024.01.01", "2024.01.01 00:00:00"}, {"2099.12.31", "2099.12.31 23:59:59"},
        {"2038.01.19", "2038.01.19 03:14:08"}, {"1970.01.01", "1970.01.01 00:00:00"},
    };
    for (const auto& s : stamps) c.rows.push_back({{"DATUM", s[0]}, {"IDO", s[1]}});

    writeWithEngine(dir.path(), "engine.dbf", c);
    expectTDbfShows(dumpWithTDbf("engine.dbf"), c);

    writeWithTDbf("tdbf.dbf", contentText(c, "level 7\nlangid 200\n", level7Descriptor));
    expectEngineReads(dir.path(), "tdbf.dbf", c);
}

// TDbf never reuses memo space: it writes a new memo at the block named by memo header bytes
// 0-3 and moves that number past it. After the engine has freed memo blocks, the memo file of
// a table both programs write must still hold every memo intact.
TEST_F(InteropTDbfTest, MemosSurviveWhenTDbfAppendsAfterTheEngineFreedBlocks) {
    Content c;
    c.columns = {{"SZAM", FieldType::Integer}, {"MEGJ", FieldType::Memo}};
    c.rows = {{{"SZAM", "1"}, {"MEGJ", "short"}},
              {{"SZAM", "2"}, {"MEGJ", std::string(1200, 'b')}},
              {{"SZAM", "3"}, {"MEGJ", "third"}}};
    writeWithEngine(dir.path(), "jegyzet.dbf", c);
    {
        Table t(dir.path(), "jegyzet.dbf");
        t.open();
        t.first();
        t.edit();
        c.rows[0]["MEGJ"] = std::string(700, 'x');
        t.setMemo("MEGJ", *c.rows[0]["MEGJ"]);
        t.post();
    }
    Content appended;
    appended.columns = c.columns;
    appended.rows = {{{"SZAM", "4"}, {"MEGJ", std::string(1500, 'd')}}};
    writeWithTDbf("jegyzet.dbf", contentText(appended, "", level7Descriptor), "append");
    c.rows.push_back(appended.rows[0]);

    expectEngineReads(dir.path(), "jegyzet.dbf", c);
    expectTDbfShows(dumpWithTDbf("jegyzet.dbf"), c);
}

TEST_F(InteropTDbfTest, EngineReadsADBase4TableWrittenByTDbf) {
    Content c;
    c.columns = {{"NEV", FieldType::Character, 60}, {"SZAM", FieldType::Integer}, {"AR", FieldType::Float},
                 {"TERMEK", FieldType::Logical},    {"DATUM", FieldType::Date},   {"MEGJ", FieldType::Memo}};
    c.rows = {{{"NEV", kHungarian},
               {"SZAM", "-2147483648"},
               {"AR", hexOf(-1234.5)},
               {"TERMEK", "T"},
               {"DATUM", "2008.03.15"},
               {"MEGJ", bigMemo(kHungarian)}},
              {{"NEV", "második"},
               {"SZAM", "2147483647"},
               {"AR", hexOf(0.25)},
               {"TERMEK", "F"},
               {"DATUM", "2099.12.31"},
               {"MEGJ", "ő\r\nű"}},
              {}};
    const auto descriptor = [](const Column& col) -> std::string {
        switch (col.type) {
            case FieldType::Integer: return "N 11 0";
            case FieldType::Float: return "F 20 6";
            default: return level7Descriptor(col);
        }
    };
    // 34 (0x22) is the Hungarian code page 852 driver, DB852HDC.
    writeWithTDbf("tetel.dbf", contentText(c, "level 4\nlangid 34\n", descriptor));
    {
        Table t(dir.path(), "tetel.dbf");
        t.open({.readOnly = true});
        EXPECT_EQ(t.level(), TableLevel::DBase4);
        EXPECT_EQ(t.header().version, 0x8B);
        EXPECT_EQ(t.codePage(), CodePage::Dos852);
    }
    expectEngineReads(dir.path(), "tetel.dbf", c);
}

// ---- dBASE III and IV against the Python libraries ----

class InteropDbfLibraryTest : public ::testing::Test {
protected:
    TestFolder dir;

    void SetUp() override { ASSERT_FALSE(pythonLibraries().command.empty()) << pythonLibraries().problem; }

    std::string script(const char* name) const {
        return quote(pythonLibraries().command) + " " + quote(std::string(KAVINA_TEST_TOOLS) + "/" + name);
    }

    Dump dumpWithDbfread(const std::string& file, const std::string& encoding = "") {
        const ToolRun r =
            run(dir, script("dbfreaddump.py") + " " + quote(dir.file(file)) + (encoding.empty() ? "" : " " + encoding));
        EXPECT_EQ(r.code, 0) << "dbfread could not read " << file << ": " << r.err;
        const Dump d = parseDump(r.out);
        EXPECT_TRUE(d.complete) << r.out.substr(0, 4000) << r.err;
        return d;
    }

    // Values chosen to be exact in N(19,6), so the text dbfread parses is the value written.
    static Content levelContent() {
        Content c;
        c.columns = {{"NEV", FieldType::Character, 60}, {"SZAM", FieldType::Integer},   {"DB", FieldType::Short},
                     {"AR", FieldType::Float, 19, 6},   {"TERMEK", FieldType::Logical}, {"DATUM", FieldType::Date},
                     {"MEGJ", FieldType::Memo}};
        c.rows = {{{"NEV", kHungarian},
                   {"SZAM", "2147483647"},
                   {"DB", "-32768"},
                   {"AR", hexOf(-1234.5)},
                   {"TERMEK", "T"},
                   {"DATUM", "1900.01.01"},
                   {"MEGJ", bigMemo(kHungarian)}},
                  {{"NEV", "Csavar"},
                   {"SZAM", "-2147483648"},
                   {"DB", "32767"},
                   {"AR", hexOf(123456789012.25)},
                   {"TERMEK", "F"},
                   {"DATUM", "2099.12.31"},
                   {"MEGJ", "rövid\r\nmemó"}},
                  {{"NEV", "törölt"}, {"SZAM", "5"}, {"MEGJ", "gone"}},
                  {{"NEV", "zero"}, {"SZAM", "0"}, {"AR", hexOf(0.1)}}};
        c.deleted = {false, false, true};
        return c;
    }

    static std::string dbfreadView(const Column& col, const std::optional<std::string>& value) {
        if (!value) return col.type == FieldType::Character ? "" : "<null>";
        switch (col.type) {
            case FieldType::Character:
            case FieldType::Memo: return escape(*value);
            case FieldType::Float: return shortestText(doubleOfHex(*value));
            default: return *value;
        }
    }

    void expectDbfreadShows(const Dump& d, const Content& c) {
        // dbfread lists the live records first, then the deleted ones.
        std::vector<size_t> order;
        for (size_t i = 0; i < c.rows.size(); ++i)
            if (!c.isDeleted(i)) order.push_back(i);
        for (size_t i = 0; i < c.rows.size(); ++i)
            if (c.isDeleted(i)) order.push_back(i);
        ASSERT_EQ(d.records.size(), order.size());
        for (size_t k = 0; k < order.size(); ++k) {
            const Row& row = c.rows[order[k]];
            EXPECT_EQ(d.records[k].deleted, c.isDeleted(order[k]));
            for (const Column& col : c.columns) {
                const auto want = row.find(col.name);
                const std::string expected = dbfreadView(col, want == row.end() ? std::nullopt : want->second);
                const auto got = d.records[k].values.find(col.name);
                ASSERT_NE(got, d.records[k].values.end()) << "dbfread shows no field " << col.name;
                EXPECT_TRUE(sameText(got->second, expected)) << "record " << order[k] + 1 << " field " << col.name;
            }
        }
    }
};

TEST_F(InteropDbfLibraryTest, DbfreadReadsEngineTablesOfLevels3And4) {
    const Content c = levelContent();
    // -2147483648 fits an N(11,0) field; only the level-7 I encoding lacks it.
    writeWithEngine(dir.path(), "iii.dbf", c, TableLevel::DBase3);
    writeWithEngine(dir.path(), "iv.dbf", c, TableLevel::DBase4);

    // A dBASE III header has no language driver: the program's dBASE III tables are
    // Windows-1250 by convention, so the reader is told.
    const Dump iii = dumpWithDbfread("iii.dbf", "cp1250");
    EXPECT_EQ(iii.header.at("version"), "0x83");
    EXPECT_EQ(iii.header.at("langid"), "0");
    const std::vector<std::string> fieldsIII = {"NEV C 60 0",   "SZAM N 11 0", "DB N 6 0",   "AR N 19 6",
                                                "TERMEK L 1 0", "DATUM D 8 0", "MEGJ M 10 0"};
    EXPECT_EQ(iii.fields, fieldsIII);
    expectDbfreadShows(iii, c);

    const Dump iv = dumpWithDbfread("iv.dbf");
    EXPECT_EQ(iv.header.at("version"), "0x8b");
    EXPECT_EQ(iv.header.at("encoding"), "cp1250") << "dbfread chooses the code page from byte 29";
    const std::vector<std::string> fieldsIV = {"NEV C 60 0",   "SZAM N 11 0", "DB N 6 0",   "AR F 19 6",
                                               "TERMEK L 1 0", "DATUM D 8 0", "MEGJ M 10 0"};
    EXPECT_EQ(iv.fields, fieldsIV);
    expectDbfreadShows(iv, c);
}

class InteropDbfWriterTest : public InteropDbfLibraryTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(InteropDbfWriterTest, EngineReadsADBase3TableWrittenByPythonDbf) {
    Content c;
    c.columns = {{"NEV", FieldType::Character, 60}, {"SZAM", FieldType::Integer}, {"AR", FieldType::Float, 19, 6},
                 {"TERMEK", FieldType::Logical},    {"DATUM", FieldType::Date},   {"MEGJ", FieldType::Memo}};
    c.rows = {{{"NEV", kHungarian},
               {"SZAM", "2147483647"},
               {"AR", hexOf(-1234.5)},
               {"TERMEK", "T"},
               {"DATUM", "1900.01.01"},
               {"MEGJ", bigMemo(kHungarian)}},
              {{"NEV", "Csavar"},
               {"SZAM", "-99999999"},
               {"AR", hexOf(0.125)},
               {"TERMEK", "F"},
               {"DATUM", "2099.12.31"},
               {"MEGJ", "rövid\r\nmemó ő"}},
              {}};
    const auto descriptor = [](const Column& col) -> std::string {
        switch (col.type) {
            case FieldType::Integer: return "N 11 0";
            case FieldType::Float: return "N " + std::to_string(col.width) + " " + std::to_string(col.decimals);
            case FieldType::Memo: return "M 10 0";
            default: return level7Descriptor(col);
        }
    };
    dir.write("content.txt", contentText(c, std::string("codepage ") + GetParam() + "\n", descriptor, true));
    const ToolRun r =
        run(dir, script("dbfwrite.py") + " " + quote(dir.file("tetel.dbf")) + " " + quote(dir.file("content.txt")));
    ASSERT_EQ(r.code, 0) << "python-dbf could not write the table: " << r.err;
    {
        Table t(dir.path(), "tetel.dbf");
        t.open({.readOnly = true});
        EXPECT_EQ(t.level(), TableLevel::DBase3);
        EXPECT_EQ(t.header().version, 0x83);
        EXPECT_EQ(t.codePage(), std::string(GetParam()) == "cp852" ? CodePage::Dos852 : CodePage::Win1250);
    }
    expectEngineReads(dir.path(), "tetel.dbf", c);
}

INSTANTIATE_TEST_SUITE_P(Interop, InteropDbfWriterTest, ::testing::Values("cp1250", "cp852"));

class InteropTDbfIndexTest : public InteropTDbfTest {
protected:
    std::vector<TagWalk> tagsWithTDbf(const std::string& file) {
        const ToolRun r = run(dir, quote(tdbfChecker().command) + " tags " + quote(dir.file(file)));
        EXPECT_EQ(r.code, 0) << "TDbf could not list the tags of " << file << ": " << r.err;
        EXPECT_NE(r.out.find("\nend"), std::string::npos) << r.out;
        return parseTagWalks(r.out);
    }

    void indexWithTDbf(const std::string& file, const std::string& specs) {
        const ToolRun r = run(dir, quote(tdbfChecker().command) + " index " + quote(dir.file(file)) + " " + specs);
        ASSERT_EQ(r.code, 0) << "TDbf could not add tags to " << file << ": " << r.err;
    }

    static std::vector<uint32_t> engineOrder(Table& t, const std::string& tag) {
        std::vector<uint32_t> order;
        t.setOrder(tag);
        for (t.first(); !t.eof(); t.next()) order.push_back(t.recNo());
        return order;
    }

    void expectSameWalks(const std::string& file, const std::vector<std::string>& tags) {
        const std::vector<TagWalk> walks = tagsWithTDbf(file);
        Table t(dir.path(), file);
        t.open({.readOnly = true});
        for (const std::string& tag : tags) {
            const auto walk = std::find_if(walks.begin(), walks.end(), [&](const TagWalk& w) { return w.name == tag; });
            ASSERT_NE(walk, walks.end()) << "TDbf lists no tag " << tag;
            EXPECT_EQ(walk->order, engineOrder(t, tag)) << "order of tag " << tag;
        }
    }
};

TEST_F(InteropTDbfIndexTest, TDbfListsAndWalksTheTagsOfAnEngineTableInTheEnginesOrder) {
    writeWithEngine(dir.path(), "Partner.dbf", indexedPartners());
    {
        Table t(dir.path(), "Partner.dbf");
        t.open({.exclusive = true});
        t.addIndex("NEV", "NEV");
        t.addIndex("AR", "AR", true);
        t.addIndex("DB", "DB");
        t.addIndex("DATUM", "DATUM");
    }
    const std::vector<TagWalk> walks = tagsWithTDbf("Partner.dbf");
    ASSERT_EQ(walks.size(), 4u);
    const std::pair<const char*, const char*> listed[] = {
        {"NEV", "asc"}, {"AR", "desc"}, {"DB", "asc"}, {"DATUM", "asc"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(walks[i].name, listed[i].first);
        EXPECT_EQ(walks[i].expression, listed[i].first);
        EXPECT_EQ(walks[i].direction, listed[i].second);
    }
    // TDbf compares date keys as decimal numbers, so it cannot walk a date tag of any writer.
    expectSameWalks("Partner.dbf", {"NEV", "AR", "DB"});
}

TEST_F(InteropTDbfIndexTest, EngineReadsAndKeepsCurrentTheTagsTDbfCreated) {
    const Content c = indexedPartners();
    writeWithTDbf("Partner.dbf", contentText(c, "level 7\nlangid 200\n", level7Descriptor));
    indexWithTDbf("Partner.dbf", "NEV AR:desc DB");
    {
        Table t(dir.path(), "Partner.dbf");
        t.open();
        EXPECT_EQ(t.tagNames(), (std::vector<std::string>{"NEV", "AR", "DB"}));
        EXPECT_EQ(t.checkIndexes(), std::vector<std::string>{});
    }
    expectSameWalks("Partner.dbf", {"NEV", "AR", "DB"});
    {
        Table t(dir.path(), "Partner.dbf");
        t.open();
        t.append();
        t.setString("NEV", "Ágota");
        t.setFloat("AR", 33.25);
        t.setInteger("DB", 2);
        t.post();
        ASSERT_TRUE(t.locate({{"NEV", "alma"}}));
        t.edit();
        t.setString("NEV", "Zsuzsa");
        t.setFloat("AR", -7.5);
        t.post();
        EXPECT_EQ(t.checkIndexes(), std::vector<std::string>{});
    }
    expectSameWalks("Partner.dbf", {"NEV", "AR", "DB"});
}
