#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "DocumentFolder.h"
#include "FaultFileSystem.h"
#include "TestFolder.h"
#include "dbase/Transaction.h"
#include "dbtool/DbTool.h"

using testing_support::TestFolder;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

class DbToolTest : public ::testing::Test {
protected:
    TestFolder dir;

    Result run(std::vector<std::string> args) {
        std::ostringstream out, err;
        const int code = kavina::dbtool::run(args, out, err);
        return {code, out.str(), err.str()};
    }

    void createProducts(const std::string& name) {
        ASSERT_EQ(
            run({"create", dir.file(name), "--fields", "NEV:C:30,KOD:I,DB:S,AR:F,TERMEK:L,DATUM:D,IDO:T,MEGJ:M"}).code,
            0);
    }
};

const char* kCsv =
    "NEV,KOD,DB,AR,TERMEK,DATUM,IDO,MEGJ\n"
    "Csavar M6,1,-12,12.5,F,2008.03.15,2008.03.15 10:15:00,\"több sor,\nidézet \"\"x\"\"\"\n"
    "Szerelés,2147483647,32767,0.1,T,2099.12.31,,\n"
    ",,,,,,,\n";

}  // namespace

TEST_F(DbToolTest, ACsvDumpImportsBackUnchanged) {
    createProducts("a.dbf");
    dir.write("in.csv", kCsv);
    const Result imported = run({"import", dir.file("a.dbf"), "--csv", dir.file("in.csv")});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(imported.out, "3 records imported\n");
    const Result dumped = run({"dump", dir.file("a.dbf")});
    ASSERT_EQ(dumped.code, 0) << dumped.err;
    EXPECT_EQ(dumped.out, kCsv);

    createProducts("b.dbf");
    dir.write("dump.csv", dumped.out);
    ASSERT_EQ(run({"import", dir.file("b.dbf"), "--csv", dir.file("dump.csv")}).code, 0);
    EXPECT_EQ(run({"dump", dir.file("b.dbf")}).out, dumped.out);
}

TEST_F(DbToolTest, JsonDumpWritesNumbersAsNumbersAndHonoursTheFilter) {
    createProducts("a.dbf");
    dir.write("in.csv", kCsv);
    ASSERT_EQ(run({"import", dir.file("a.dbf"), "--csv", dir.file("in.csv")}).code, 0);
    const Result json = run({"dump", dir.file("a.dbf"), "--format", "json", "--filter", "termek"});
    ASSERT_EQ(json.code, 0) << json.err;
    EXPECT_EQ(json.out,
              "[\n  {\"NEV\": \"Szerelés\", \"KOD\": 2147483647, \"DB\": 32767, \"AR\": 0.1, \"TERMEK\": true, "
              "\"DATUM\": \"2099.12.31\", \"IDO\": null, \"MEGJ\": null}\n]\n");
    EXPECT_EQ(run({"dump", dir.file("a.dbf"), "--format", "json", "--filter", "KOD = 5"}).out, "[]\n");
}

TEST_F(DbToolTest, SchemaListsLogicalAndStoredTypes) {
    createProducts("a.dbf");
    const Result schema = run({"schema", dir.file("a.dbf")});
    ASSERT_EQ(schema.code, 0);
    EXPECT_NE(schema.out.find("level: dBASE level 7"), std::string::npos);
    EXPECT_NE(schema.out.find("  NEV C (stored C 30)\n"), std::string::npos);
    EXPECT_NE(schema.out.find("  DB S (stored N 6)\n"), std::string::npos);
    EXPECT_NE(schema.out.find("  AR F (stored O 8)\n"), std::string::npos);
    EXPECT_NE(schema.out.find("  IDO T (stored @ 8)\n"), std::string::npos);
}

TEST_F(DbToolTest, ABadRowChangesNothing) {
    createProducts("a.dbf");
    dir.write("bad.csv", "NEV,KOD\nelső,1\nmásodik,kettő\n");
    const Result r = run({"import", dir.file("a.dbf"), "--csv", dir.file("bad.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("'kettő' is not a number"), std::string::npos) << r.err;
    EXPECT_EQ(run({"dump", dir.file("a.dbf")}).out, "NEV,KOD,DB,AR,TERMEK,DATUM,IDO,MEGJ\n");

    dir.write("cols.csv", "NEV,NINCS\nx,y\n");
    EXPECT_NE(run({"import", dir.file("a.dbf"), "--csv", dir.file("cols.csv")}).err.find("no field NINCS"),
              std::string::npos);
    dir.write("short.csv", "NEV,KOD\nx\n");
    EXPECT_NE(run({"import", dir.file("a.dbf"), "--csv", dir.file("short.csv")}).err.find("has 1 values"),
              std::string::npos);
    dir.write("open.csv", "NEV\n\"nincs vége\n");
    EXPECT_EQ(run({"import", dir.file("a.dbf"), "--csv", dir.file("open.csv")}).code, 1);
}

TEST_F(DbToolTest, WrongUsageAndMissingFilesFail) {
    EXPECT_EQ(run({}).code, 2);
    EXPECT_EQ(run({"frobnicate", "x.dbf"}).code, 2);
    EXPECT_EQ(run({"dump", dir.file("a.dbf"), "--format", "xml"}).code, 2);
    EXPECT_EQ(run({"create", dir.file("a.dbf"), "--fields", "NEV:Q:3"}).code, 2);
    EXPECT_EQ(run({"create", dir.file("a.dbf"), "--fields", "NEV:C"}).code, 2);
    const Result missing = run({"dump", dir.file("nincs.dbf")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("nincs.dbf: the table does not exist"), std::string::npos) << missing.err;
    createProducts("a.dbf");
    EXPECT_EQ(run({"create", dir.file("a.dbf"), "--fields", "X:C:1"}).code, 1);  // never overwritten
    EXPECT_EQ(run({"create", dir.file("c.dbf"), "--fields", "X:C:1", "--level", "5"}).code, 2);
    EXPECT_EQ(run({"dump", dir.file("a.dbf"), "--filter", "NEV = "}).code, 1);
}

TEST_F(DbToolTest, TagsAreCreatedKeptCurrentCheckedAndRebuilt) {
    ASSERT_EQ(run({"create", dir.file("afa.dbf"), "--fields", "AFA:F,NEV:C:12", "--tags", "AFA:desc,NEV"}).code, 0);
    dir.write("in.csv", "AFA,NEV\n18,közép\n27,általános\n5,kedvezményes\n0,FAD\n");
    ASSERT_EQ(run({"import", dir.file("afa.dbf"), "--csv", dir.file("in.csv")}).code, 0);
    EXPECT_EQ(run({"dump", dir.file("afa.dbf"), "--order", "AFA"}).out,
              "AFA,NEV\n27,általános\n18,közép\n5,kedvezményes\n0,FAD\n");
    EXPECT_EQ(run({"dump", dir.file("afa.dbf"), "--order", "NINCS"}).code, 1);
    const Result ok = run({"check", dir.path()});
    EXPECT_EQ(ok.code, 0) << ok.out;
    EXPECT_NE(ok.out.find("afa.dbf: ok"), std::string::npos);

    std::string mdx = dir.read("afa.mdx");
    mdx[mdx.find("FAD") + 1] = 'X';
    dir.write("afa.mdx", mdx);
    const Result bad = run({"check", dir.file("afa.dbf")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.out.find("tag NEV"), std::string::npos) << bad.out;
    const Result rebuilt = run({"reindex", dir.file("afa.dbf")});
    EXPECT_EQ(rebuilt.code, 0) << rebuilt.err;
    EXPECT_EQ(rebuilt.out, dir.file("afa.dbf") + ": 2 tags rebuilt\n");
    EXPECT_EQ(run({"check", dir.file("afa.dbf")}).code, 0);
    EXPECT_EQ(run({"dump", dir.file("afa.dbf"), "--order", "AFA"}).out.rfind("AFA,NEV\n27,általános\n", 0), 0u);
    // A cut index file: the tags still come from its readable header.
    dir.write("afa.mdx", dir.read("afa.mdx").substr(0, 3000));
    EXPECT_EQ(run({"check", dir.file("afa.dbf")}).code, 1);
    EXPECT_EQ(run({"reindex", dir.path()}).code, 0);
    EXPECT_EQ(run({"check", dir.path()}).code, 0);
}

namespace {

// Puts a record count into a table file's header, as a crash between writing records and
// the header leaves it.
std::string withRecordCount(std::string table, uint32_t count) {
    for (int i = 0; i < 4; ++i) table[size_t(4 + i)] = char(uint8_t(count >> (8 * i)));
    return table;
}

}  // namespace

TEST_F(DbToolTest, RecordsPastTheHeaderCountAreReportedAndAReindexRecoversThem) {
    ASSERT_EQ(run({"create", dir.file("a.dbf"), "--fields", "NEV:C:12,AR:I,MEGJ:M", "--tags", "NEV"}).code, 0);
    dir.write("in.csv", "NEV,AR,MEGJ\nbab,1,egy\nalma,2,\ncitrom,3,három\ndió,4,\n");
    ASSERT_EQ(run({"import", dir.file("a.dbf"), "--csv", dir.file("in.csv")}).code, 0);
    const std::string whole = dir.read("a.dbf");
    const std::string index = dir.read("a.mdx");
    const std::string ordered = run({"dump", dir.file("a.dbf"), "--order", "NEV"}).out;
    for (uint32_t counted : {0u, 2u}) {
        SCOPED_TRACE(counted);
        dir.write("a.dbf", withRecordCount(whole, counted));
        dir.write("a.mdx", index);
        const Result dumped = run({"dump", dir.file("a.dbf")});
        EXPECT_EQ(dumped.code, 1);
        EXPECT_NE(dumped.err.find(std::to_string(4 - counted) + " whole records after the " + std::to_string(counted)),
                  std::string::npos)
            << dumped.err;
        const Result checked = run({"check", dir.path()});
        EXPECT_EQ(checked.code, 1);
        EXPECT_NE(checked.out.find("whole records after the"), std::string::npos) << checked.out;
        const Result rebuilt = run({"reindex", dir.file("a.dbf")});
        ASSERT_EQ(rebuilt.code, 0) << rebuilt.err;
        EXPECT_NE(rebuilt.out.find(std::to_string(4 - counted) + " records past the header's count recovered"),
                  std::string::npos)
            << rebuilt.out;
        EXPECT_EQ(run({"dump", dir.file("a.dbf"), "--order", "NEV"}).out, ordered);
        EXPECT_EQ(run({"check", dir.path()}).code, 0);
    }
}

TEST_F(DbToolTest, AReindexOfATableItCannotReadChangesNoFile) {
    ASSERT_EQ(run({"create", dir.file("a.dbf"), "--fields", "NEV:C:12,AR:I,MEGJ:M", "--tags", "NEV,AR"}).code, 0);
    dir.write("in.csv", "NEV,AR,MEGJ\nbab,1,egy\nalma,2,\n");
    ASSERT_EQ(run({"import", dir.file("a.dbf"), "--csv", dir.file("in.csv")}).code, 0);
    const std::string table = dir.read("a.dbf"), index = dir.read("a.mdx"), memo = dir.read("a.dbt");
    const auto patched = [&](size_t at, std::initializer_list<int> bytes) {
        std::string out = table;
        for (int b : bytes) out[at++] = char(b);
        return out;
    };
    std::string noise(index.size(), '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 7919 + 13) % 251);
    struct Case {
        const char* what;
        std::string table, index, memo;
        bool memoFile = true;
    };
    const std::vector<Case> cases = {
        {"version byte", patched(0, {0x30}), index, memo},
        {"header length", patched(8, {0xFF, 0x7F}), index, memo},
        {"record length", patched(10, {99, 0}), index, memo},
        {"field type", patched(68 + 32, {'X'}), index, memo},
        {"record count", patched(4, {200, 0, 0, 0}), index, memo},
        {"cut short", table.substr(0, table.size() - 20), index, memo},
        {"truncated header", table.substr(0, 40), index, memo},
        {"memo header", table, index, memo.substr(0, 10)},
        {"memo file missing", table, index, memo, false},
        {"index of random bytes", patched(0, {0x30}), noise, memo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("a.dbf", c.table);
        dir.write("a.mdx", c.index);
        std::remove(dir.file("a.dbt").c_str());
        if (c.memoFile) dir.write("a.dbt", c.memo);
        const Result r = run({"reindex", dir.file("a.dbf")});
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("a.db"), std::string::npos) << r.err;
        EXPECT_TRUE(dir.read("a.dbf") == c.table) << "the table was written to";
        EXPECT_TRUE(dir.read("a.mdx") == c.index) << "the index was written to or deleted";
        if (c.memoFile) {
            EXPECT_TRUE(dir.read("a.dbt") == c.memo) << "the memo file was written to";
        }
    }
}

namespace {

uint32_t get32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

void set32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(uint8_t(v >> (8 * i)));
}

// Puts a chain of interior pages above the first tag's root, each pointing at the next page
// three times: a walk in key order would meet the leaves 3^depth times.
std::string withRepeatedPages(std::string mdx, int depth) {
    constexpr size_t kPage = 512, kBlock = 1024, kEntry = 16;  // a 12-byte character key
    const uint32_t tagHeader = get32(mdx, 544);
    const uint32_t leaf = get32(mdx, tagHeader * kPage);
    const uint32_t first = uint32_t(mdx.size() / kPage);
    const std::string largest = mdx.substr(leaf * kPage + 8 + 4, 12);  // a key; its order does not matter here
    for (int level = 0; level < depth; ++level) {
        std::string node(kBlock, '\0');
        const uint32_t child = level + 1 < depth ? first + uint32_t(level + 1) * 2 : leaf;
        set32(node, 0, 2);
        for (size_t e = 0; e < 2; ++e) {
            set32(node, 8 + e * kEntry, child);
            node.replace(8 + e * kEntry + 4, 12, largest);
        }
        set32(node, 8 + 2 * kEntry, child);
        mdx += node;
    }
    set32(mdx, tagHeader * kPage, first);
    set32(mdx, 32, uint32_t(mdx.size() / kPage));
    return mdx;
}

}  // namespace

TEST_F(DbToolTest, ATagWhosePagesRepeatEndsTheOrderedDumpWithAnError) {
    ASSERT_EQ(run({"create", dir.file("a.dbf"), "--fields", "NEV:C:12", "--tags", "NEV"}).code, 0);
    dir.write("in.csv", "NEV\nbab\nalma\ncitrom\n");
    ASSERT_EQ(run({"import", dir.file("a.dbf"), "--csv", dir.file("in.csv")}).code, 0);
    dir.write("a.mdx", withRepeatedPages(dir.read("a.mdx"), 30));
    const Result dumped = run({"dump", dir.file("a.dbf"), "--order", "NEV"});
    EXPECT_EQ(dumped.code, 1);
    EXPECT_NE(dumped.err.find("tag NEV loops"), std::string::npos) << dumped.err;
    EXPECT_LT(dumped.out.size(), 10000u);
    const Result checked = run({"check", dir.file("a.dbf")});
    EXPECT_EQ(checked.code, 1);
    EXPECT_NE(checked.out.find("reached twice"), std::string::npos) << checked.out;
    EXPECT_EQ(run({"reindex", dir.file("a.dbf")}).code, 0);
    EXPECT_EQ(run({"dump", dir.file("a.dbf"), "--order", "NEV"}).out, "NEV\nalma\nbab\ncitrom\n");
}

// Damage other software or a failing disk leaves: every kind makes check and dump fail with
// the cause, never pass or print garbage.
TEST_F(DbToolTest, DamagedValuesHeadersAndFlagsFailCheckAndDump) {
    ASSERT_EQ(run({"create", dir.file("a.dbf"), "--fields", "NEV:C:6,AR:F,KESZ:L", "--tags", "NEV"}).code, 0);
    dir.write("in.csv", "NEV,AR,KESZ\nbab,1.5,T\nalma,2,F\n");
    ASSERT_EQ(run({"import", dir.file("a.dbf"), "--csv", dir.file("in.csv")}).code, 0);
    const std::string table = dir.read("a.dbf");
    const size_t headerLength = uint8_t(table[8]) | uint8_t(table[9]) << 8;
    const size_t record2 = headerLength + (1 + 6 + 8 + 1);
    const auto expectFailure = [&](const std::string& what, const std::string& bytes, const std::string& cause) {
        SCOPED_TRACE(what);
        dir.write("a.dbf", bytes);
        const Result checked = run({"check", dir.file("a.dbf")});
        EXPECT_EQ(checked.code, 1);
        EXPECT_NE(checked.out.find(cause), std::string::npos) << checked.out;
        for (const char* format : {"csv", "json"}) {
            const Result dumped = run({"dump", dir.file("a.dbf"), "--format", format});
            EXPECT_EQ(dumped.code, 1) << dumped.out;
            EXPECT_NE(dumped.err.find(cause), std::string::npos) << dumped.err;
            EXPECT_EQ(dumped.out.find("nan"), std::string::npos) << dumped.out;
        }
    };
    std::string nan = table;
    nan.replace(record2 + 1 + 6, 8, std::string(8, '\xFF'));
    expectFailure("a float of FF bytes", nan, "field AR: holds no valid number");
    std::string q = table;
    q[record2 + 1 + 6 + 8] = 'Q';
    expectFailure("a logical Q", q, "field KESZ: holds 'Q', which is no logical value");
    std::string longer = table;
    longer[8] = char(headerLength + 1);
    expectFailure("a header length one too large", longer, "header length " + std::to_string(headerLength + 1));

    // The table without its index flag opens, but its index file is no longer kept current.
    std::string unflagged = table;
    unflagged[28] = 0;
    dir.write("a.dbf", unflagged);
    const Result checked = run({"check", dir.file("a.dbf")});
    EXPECT_EQ(checked.code, 1);
    EXPECT_NE(checked.out.find("index flag is cleared, but its index file a.mdx exists"), std::string::npos)
        << checked.out;
    ASSERT_EQ(run({"reindex", dir.file("a.dbf")}).code, 0);
    EXPECT_EQ(run({"check", dir.file("a.dbf")}).code, 0);
    EXPECT_EQ(run({"dump", dir.file("a.dbf"), "--order", "NEV"}).out, "NEV,AR,KESZ\nalma,2,F\nbab,1.5,T\n");
    std::string index = dir.read("a.mdx");
    index[24] = 0;
    dir.write("a.mdx", index);
    EXPECT_NE(run({"check", dir.file("a.dbf")}).out.find("not marked as a production index"), std::string::npos);
}

TEST_F(DbToolTest, TheCheckNamesMemoFilesCutShortOrWithTheirNextBlockInsideAMemo) {
    ASSERT_EQ(run({"create", dir.file("a.dbf"), "--fields", "NEV:C:6,MEGJ:M"}).code, 0);
    dir.write("in.csv", "NEV,MEGJ\nbab," + std::string(600, 'b') + "\nalma," + std::string(600, 'a') + "\n");
    ASSERT_EQ(run({"import", dir.file("a.dbf"), "--csv", dir.file("in.csv")}).code, 0);
    ASSERT_EQ(run({"check", dir.path()}).code, 0);
    const std::string memo = dir.read("a.dbt");
    std::string inside = memo;
    set32(inside, 0, 2);  // inside bab's memo (blocks 1 and 2)
    dir.write("a.dbt", inside);
    Result checked = run({"check", dir.path()});
    EXPECT_EQ(checked.code, 1);
    EXPECT_NE(checked.out.find("next free block 2 lies inside the memo of record 1"), std::string::npos) << checked.out;
    dir.write("a.dbt", memo.substr(0, 3 * 512));
    checked = run({"check", dir.path()});
    EXPECT_EQ(checked.code, 1);
    EXPECT_NE(checked.out.find("it was cut short"), std::string::npos) << checked.out;
    dir.write("in2.csv", "NEV,MEGJ\nuj,szoveg\n");
    const Result imported = run({"import", dir.file("a.dbf"), "--csv", dir.file("in2.csv")});
    EXPECT_EQ(imported.code, 1);
    EXPECT_NE(imported.err.find("cut short"), std::string::npos) << imported.err;
}

// A save died while writing its changes, and then someone deleted the index file it was
// changing. Every command still runs; check names the journal it set aside and says what to do.
TEST_F(DbToolTest, AJournalNamingADeletedFileIsSetAsideAndNamedByTheCheck) {
    using namespace testing_support;
    makeDocumentFolder(dir.path(), 30, 3);
    FaultFileSystem counting;
    const auto before = snapshot(dir.path());
    saveDocument(dir.path(), counting, {});
    restore(dir.path(), before);
    FaultFileSystem crashing;
    crashing.crashWriteAt = counting.writes;
    EXPECT_THROW(saveDocument(dir.path(), crashing, {}), SimulatedCrash);
    std::remove(dir.file("Szamla.mdx").c_str());
    const auto crashed = snapshot(dir.path());

    const Result checked = run({"check", dir.path()});
    EXPECT_EQ(checked.code, 1);
    const std::string damaged = dir.file(std::string(dbase::kJournalName) + ".damaged");
    EXPECT_NE(checked.out.find("Szamla.mdx is missing, so its changes could not be rolled back"), std::string::npos)
        << checked.out;
    EXPECT_NE(checked.out.find(damaged + ": a save was interrupted"), std::string::npos) << checked.out;
    EXPECT_NE(checked.out.find("then delete this file"), std::string::npos) << checked.out;
    EXPECT_NE(checked.out.find("the production index file Szamla.mdx is missing"), std::string::npos) << checked.out;
    restore(dir.path(), crashed);
    const Result dumped = run({"dump", dir.file("Anyag.dbf")});
    EXPECT_EQ(dumped.code, 0) << dumped.err;

    ASSERT_EQ(run({"reindex", dir.path()}).code, 0);
    EXPECT_EQ(run({"check", dir.path()}).code, 1);  // until someone has looked and deleted it
    std::remove(damaged.c_str());
    const Result clean = run({"check", dir.path()});
    EXPECT_EQ(clean.code, 0) << clean.out;
}
