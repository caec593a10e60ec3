#include <gtest/gtest.h>

#include <sstream>

#include "TestFolder.h"
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
