#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "TestFolder.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"

using namespace dbase;
using testing_support::TestFolder;

namespace {

class DamagedTableTest : public ::testing::Test {
protected:
    TestFolder dir;
    std::string good;

    void SetUp() override {
        Table::create(dir.path(), "t.dbf", {{"NEV", FieldType::Character, 10}, {"AR", FieldType::Float}},
                      TableLevel::DBase4);
        Table t(dir.path(), "t.dbf");
        t.open();
        for (int i = 0; i < 3; ++i) {
            t.append();
            t.setString("NEV", "n" + std::to_string(i));
            t.setFloat("AR", i);
            t.post();
        }
        t.close();
        good = dir.read("t.dbf");
    }

    // Opens the damaged bytes; returns the error text and checks the file was not touched.
    std::string openError(const std::string& bytes) {
        dir.write("t.dbf", bytes);
        std::string error = "no error";
        try {
            Table t(dir.path(), "t.dbf");
            t.open();
            for (t.first(); !t.eof(); t.next())
                for (int i = 0; i < int(t.fields().size()); ++i) t.asString(i);
        } catch (const DbError& e) {
            error = e.what();
        }
        EXPECT_EQ(dir.read("t.dbf"), bytes) << "a damaged table was written to";
        EXPECT_NE(error.find("t.dbf"), std::string::npos) << error;
        return error;
    }

    std::string patched(size_t at, std::initializer_list<int> bytes) const {
        std::string out = good;
        for (int b : bytes) out[at++] = char(b);
        return out;
    }
};

}  // namespace

TEST_F(DamagedTableTest, HeaderFaultsAreNamed) {
    EXPECT_NE(openError("").find("the header is truncated"), std::string::npos);
    EXPECT_NE(openError(good.substr(0, 20)).find("the header is truncated"), std::string::npos);
    EXPECT_NE(openError(good.substr(0, 50)).find("truncated"), std::string::npos);
    EXPECT_NE(openError(patched(0, {0x30})).find("not a dBASE table"), std::string::npos);
    EXPECT_NE(openError(patched(8, {0xFF, 0x7F})).find("length is damaged"), std::string::npos);
    EXPECT_NE(openError(patched(8, {10, 0})).find("length is damaged"), std::string::npos);
    // One byte too many: the field list still ends inside the header, but every record
    // would be read one byte late.
    EXPECT_NE(openError(patched(8, {32 + 2 * 32 + 1 + 1, 0})).find("header length 98 is damaged"), std::string::npos);
}

TEST_F(DamagedTableTest, FieldListFaultsAreNamed) {
    EXPECT_NE(openError(patched(10, {99, 0})).find("record length 99 does not match the fields"), std::string::npos);
    EXPECT_NE(openError(patched(32 + 11, {'X'})).find("unknown field type 'X'"), std::string::npos);
    EXPECT_NE(openError(patched(32, {'N', '-', 'V'})).find("invalid name"), std::string::npos);
    EXPECT_NE(openError(patched(32 + 16, {0})).find("has width 0"), std::string::npos);
    EXPECT_NE(openError(patched(32 + 32, {'N', 'E', 'V', 0})).find("defined twice"), std::string::npos);
    EXPECT_NE(openError(patched(96, {0})).find("the field list"), std::string::npos);
}

TEST_F(DamagedTableTest, ARecordCountBeyondTheFileIsAnError) {
    EXPECT_NE(openError(patched(4, {200, 0, 0, 0})).find("record count 200 goes beyond the end of the file"),
              std::string::npos);
    EXPECT_NE(openError(good.substr(0, good.size() - 10)).find("goes beyond the end"), std::string::npos);
}

TEST_F(DamagedTableTest, DamagedValuesFailWhenRead) {
    Table t(dir.path(), "t.dbf");
    t.open();
    const size_t at = t.header().headerLength + size_t(t.fields()[1].offset);
    t.close();
    std::string bytes = good;
    bytes.replace(at, 5, "1x2.5");
    const std::string error = openError(bytes);
    EXPECT_NE(error.find("field AR: '1x2.5"), std::string::npos) << error;
}

TEST_F(DamagedTableTest, ATrailingPartialRecordOfAnInterruptedAppendIsIgnored) {
    // A writer that died after writing record data but before the count: the header still
    // counts three records, and the next append overwrites the partial one.
    dir.write("t.dbf", good.substr(0, good.size() - 1) + std::string(7, 'Z'));
    Table t(dir.path(), "t.dbf");
    t.open();
    EXPECT_EQ(t.recordCount(), 3u);
    t.append();
    t.setString("NEV", "negyedik");
    t.post();
    t.close();
    t.open();
    t.last();
    EXPECT_EQ(t.asString("NEV"), "negyedik");
    EXPECT_EQ(t.recordCount(), 4u);
}

TEST(IntegrityTest, TheCheckFindsSharedMemosBadFlagsBadValuesAndTrailingBytes) {
    TestFolder dir;
    Table::create(dir.path(), "m.dbf", {{"AR", FieldType::Short}, {"MEGJ", FieldType::Memo}});
    {
        Table t(dir.path(), "m.dbf");
        t.open();
        for (int i = 0; i < 3; ++i) {
            t.append();
            t.setInteger("AR", i);
            t.setMemo("MEGJ", std::string(600, char('a' + i)));
            t.post();
        }
        EXPECT_TRUE(t.checkIntegrity().empty());
    }
    Table probe(dir.path(), "m.dbf");
    probe.open();
    const size_t start = probe.header().headerLength, length = probe.header().recordLength;
    const size_t memoAt = size_t(probe.fields()[1].offset), arAt = size_t(probe.fields()[0].offset);
    probe.close();
    std::string bytes = dir.read("m.dbf");
    std::memcpy(bytes.data() + start + length + memoAt, "         1", 10);  // record 2 shares record 1's memo
    bytes[start + 2 * length] = 'x';                                        // record 3's deletion flag
    std::memcpy(bytes.data() + start + arAt, "  1a2 ", 6);                  // record 1's number
    bytes += "trailing";
    dir.write("m.dbf", bytes);
    Table t(dir.path(), "m.dbf");
    t.open();
    std::string all;
    for (const std::string& f : t.checkIntegrity()) all += f + "\n";
    EXPECT_NE(all.find("the memos of records 1 and 2 share block 1"), std::string::npos) << all;
    EXPECT_NE(all.find("record 3 has a damaged deletion flag"), std::string::npos) << all;
    EXPECT_NE(all.find("record 1: field AR"), std::string::npos) << all;
    EXPECT_NE(all.find("bytes past its last record"), std::string::npos) << all;
}

namespace {

// The table of DamagedTableTest with its header counting fewer records than the file holds,
// as a writer that died between writing records and raising the count leaves it.
std::string withCount(std::string bytes, uint32_t count) {
    for (int i = 0; i < 4; ++i) bytes[size_t(4 + i)] = char(uint8_t(count >> (8 * i)));
    return bytes;
}

std::vector<std::string> names(Table& t) {
    std::vector<std::string> out;
    for (t.first(); !t.eof(); t.next()) out.push_back(t.asString("NEV"));
    return out;
}

}  // namespace

TEST_F(DamagedTableTest, AppendsRefuseToOverwriteRecordsPastTheHeaderCount) {
    const std::string bytes = withCount(good, 1);
    dir.write("t.dbf", bytes);
    Table t(dir.path(), "t.dbf");
    t.open();
    EXPECT_EQ(t.recordCount(), 1u);
    EXPECT_EQ(t.recordsPastCount(), 2u);
    t.append();
    t.setString("NEV", "uj");
    try {
        t.post();
        ADD_FAILURE() << "the append overwrote record 2";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::Damaged);
        EXPECT_NE(std::string(e.what()).find("a reindex recovers them"), std::string::npos) << e.what();
    }
    t.cancel();
    t.beginBulkAppend();
    t.append();
    t.setString("NEV", "uj");
    t.post();
    EXPECT_THROW(t.endBulkAppend(), DbError);
    t.close();
    EXPECT_TRUE(dir.read("t.dbf") == bytes);
    // Nor does a pack end the file before them.
    t.open({.exclusive = true});
    EXPECT_THROW(t.pack(), DbError);
    t.close();
    EXPECT_TRUE(dir.read("t.dbf") == bytes);
}

TEST_F(DamagedTableTest, AReindexCountsWholeRecordsAgainAndDropsATornOneAfterThem) {
    Table probe(dir.path(), "t.dbf");
    probe.open();
    const size_t start = probe.header().headerLength, length = probe.header().recordLength;
    probe.close();
    for (const bool pack : {true, false}) {
        SCOPED_TRACE(pack ? "packed" : "not packed");
        std::string bytes = withCount(good, 1);
        bytes[start + length] = '*';  // record 2 was deleted
        bytes.resize(start + 3 * length);
        bytes += " n3-torn";  // a fourth record cut short, without the end marker
        dir.write("t.dbf", bytes);
        const ReindexReport report =
            Table::reindex(dir.path(), "t.dbf", {{"NEV", "NEV", false}}, FileSystem::real(), {.pack = pack});
        EXPECT_EQ(report.recoveredRecords, 2u);
        EXPECT_EQ(report.droppedBytes, 8u);
        Table t(dir.path(), "t.dbf");
        t.open();
        EXPECT_EQ(names(t), (std::vector<std::string>{"n0", "n2"}));
        EXPECT_EQ(t.header().recordCount, pack ? 2u : 3u);
        EXPECT_TRUE(t.checkIntegrity().empty());
        t.setOrder("NEV");
        EXPECT_EQ(names(t), (std::vector<std::string>{"n0", "n2"}));
    }
}

namespace {

template <typename Action>
DbError failureOf(Action&& action) {
    try {
        action();
    } catch (const DbError& e) {
        return e;
    }
    ADD_FAILURE() << "no engine error";
    return DbError("none");
}

}  // namespace

TEST(DbErrorTest, FailuresCarryTheirKindAndTable) {
    TestFolder dir;
    Table::create(dir.path(), "Szamla.dbf", {{"NEV", FieldType::Character, 10}, {"MEGJ", FieldType::Memo}});
    Table held(dir.path(), "Szamla.dbf");
    held.open();
    held.append();
    held.setString("NEV", "egy");
    held.setMemo("MEGJ", "megjegyzés");
    held.post();

    Table other(dir.path(), "Szamla.dbf");
    const DbError busy = failureOf([&] { other.open({.exclusive = true}); });
    EXPECT_EQ(busy.kind(), DbErrorKind::Busy);
    EXPECT_EQ(busy.tableName(), "Szamla.dbf");
    EXPECT_EQ(busy.file(), dir.file("Szamla.dbf"));
    other.open();
    // The kind follows the engine constant a failure carries (a lock wait would take seconds).
    const DbError locked = failureOf([&] { fail(other.path(), "record 1: " + std::string(errtext::kRecordLocked)); });
    EXPECT_EQ(locked.kind(), DbErrorKind::RecordLocked);
    EXPECT_EQ(locked.tableName(), "Szamla.dbf");
    EXPECT_EQ(failureOf([&] { other.setOrder("NINCS"); }).kind(), DbErrorKind::Invalid);
    EXPECT_EQ(failureOf([&] { (void)other.fieldNumber("NINCS"); }).kind(), DbErrorKind::Invalid);
    other.edit();
    EXPECT_EQ(failureOf([&] { other.setDate("NEV", Date{2024, 2, 30}); }).kind(), DbErrorKind::Invalid);
    other.cancel();
    other.close();
    held.close();

    std::string memo = dir.read("Szamla.dbt");
    memo[512] = 'x';  // the memo's block no longer starts a memo
    dir.write("Szamla.dbt", memo);
    Table t(dir.path(), "Szamla.dbf");
    t.open();
    const DbError damaged = failureOf([&] { (void)t.asMemo("MEGJ"); });
    EXPECT_EQ(damaged.kind(), DbErrorKind::Damaged);
    EXPECT_EQ(damaged.tableName(), "Szamla.dbf");  // the memo file's table
    t.close();

    // Without its index flag the table opens, but asking for a tag tells why there is none.
    {
        Table indexed(dir.path(), "Szamla.dbf");
        indexed.open({.exclusive = true});
        indexed.addIndex("NEV", "NEV");
    }
    Table::clearIndexFlag(dir.file("Szamla.dbf"));
    t.open();
    const DbError unflagged = failureOf([&] { t.setOrder("NEV"); });
    EXPECT_EQ(unflagged.kind(), DbErrorKind::Damaged);
    EXPECT_NE(std::string(unflagged.what()).find("index flag is cleared"), std::string::npos) << unflagged.what();
    t.close();

    const DbError missing = failureOf([&] { Table(dir.path(), "Nincs.dbf").open(); });
    EXPECT_EQ(missing.kind(), DbErrorKind::Missing);
    EXPECT_EQ(missing.tableName(), "Nincs.dbf");
    std::remove(dir.file("Szamla.dbt").c_str());
    EXPECT_EQ(failureOf([&] { t.open(); }).kind(), DbErrorKind::Missing);
    EXPECT_EQ(DbError(dir.path() + ": Table is busy.", DbErrorKind::Busy, dir.path()).tableName(), "");
}
