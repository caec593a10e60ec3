#include <gtest/gtest.h>

#include <cstring>

#include "TestFolder.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"

using namespace dbase;
using testing_support::TestFolder;

namespace {

class MemoTest : public ::testing::Test {
protected:
    TestFolder dir;

    void createNotes(TableLevel level = TableLevel::DBase7) {
        Table::create(dir.path(), "notes.dbf", {{"NEV", FieldType::Character, 10}, {"MEGJ", FieldType::Memo}}, level);
    }

    void appendNote(Table& t, const std::string& name, const std::string& memo) {
        t.append();
        t.setString("NEV", name);
        t.setMemo("MEGJ", memo);
        t.post();
    }

    size_t memoFileSize() const { return dir.read("notes.dbt").size(); }

    static void put32(std::string& bytes, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = char(v >> (8 * i));
    }
};

}  // namespace

TEST_F(MemoTest, RewrittenMemosReuseTheFreedBlocks) {
    createNotes();
    Table t(dir.path(), "notes.dbf");
    t.open();
    appendNote(t, "a", std::string(3000, 'a'));  // blocks 1-6 of 512 bytes
    appendNote(t, "b", "short");                 // block 7
    t.first();
    t.edit();
    // The new text is stored before the old blocks are given back, so a failure between the
    // two never leaves the record pointing at free space: this one is appended.
    t.setMemo("MEGJ", std::string(1000, 'c'));
    t.post();
    const size_t grown = memoFileSize();
    t.next();
    t.edit();
    t.setMemo("MEGJ", std::string(1500, 'd'));  // three blocks out of the freed run 1-6
    t.post();
    EXPECT_EQ(memoFileSize(), grown);
    t.first();
    t.edit();
    t.setMemo("MEGJ", std::string(900, 'f'));  // the rest of that run
    t.post();
    EXPECT_EQ(memoFileSize(), grown);
    t.close();
    t.open();
    t.first();
    EXPECT_EQ(t.asMemo("MEGJ"), std::string(900, 'f'));
    t.next();
    EXPECT_EQ(t.asMemo("MEGJ"), std::string(1500, 'd'));
    t.edit();
    t.setMemo("MEGJ", std::string(5000, 'e'));  // nothing free is large enough: appended
    t.post();
    EXPECT_GT(memoFileSize(), grown);
    t.first();
    EXPECT_EQ(t.asMemo("MEGJ"), std::string(900, 'f'));
    t.next();
    EXPECT_EQ(t.asMemo("MEGJ"), std::string(5000, 'e'));
}

TEST_F(MemoTest, ClearingAMemoEmptiesTheField) {
    createNotes();
    Table t(dir.path(), "notes.dbf");
    t.open();
    appendNote(t, "a", "valami");
    t.edit();
    t.setNull("MEGJ");
    t.post();
    EXPECT_TRUE(t.isNull("MEGJ"));
    EXPECT_EQ(t.asMemo("MEGJ"), "");
}

TEST_F(MemoTest, DBase3MemosAreReadUpToTheirEndMarks) {
    createNotes(TableLevel::DBase3);
    {
        Table t(dir.path(), "notes.dbf");
        t.open();
        appendNote(t, "a", "first");
    }
    // A memo of another writer over two blocks, ended by 1A 1A.
    std::string memo = dir.read("notes.dbt");
    const std::string text = std::string(600, 'y') + "\x1A\x1A";
    memo.resize(3 * 512, '\0');
    std::memcpy(memo.data() + 1 * 512, text.data(), text.size());
    put32(memo, 0, 3);
    dir.write("notes.dbt", memo);
    std::string table = dir.read("notes.dbf");
    Table probe(dir.path(), "notes.dbf");
    probe.open();
    const size_t at = probe.header().headerLength + size_t(probe.header().fields[1].offset);
    probe.close();
    std::memcpy(table.data() + at, "         1", 10);
    dir.write("notes.dbf", table);
    Table t(dir.path(), "notes.dbf");
    t.open();
    EXPECT_EQ(t.asMemo("MEGJ"), std::string(600, 'y'));
}

TEST_F(MemoTest, LargerBlockSizesOfOtherWritersAreHonoured) {
    createNotes();
    {
        Table t(dir.path(), "notes.dbf");
        t.open();
        appendNote(t, "a", "x");
    }
    // The same memo laid out with 1024-byte blocks: header block, then the memo in block 1.
    std::string memo(2048, '\0');
    put32(memo, 0, 2);
    memo[20] = 0x00;
    memo[21] = 0x04;
    const std::string body = "ezer b\xE1jt blokk";  // Windows-1250 bytes on disk
    memo[1024] = '\xFF';
    memo[1025] = '\xFF';
    memo[1026] = 0x08;
    memo[1027] = 0x00;
    put32(memo, 1028, uint32_t(body.size() + 8));
    std::memcpy(memo.data() + 1032, body.data(), body.size());
    dir.write("notes.dbt", memo);
    Table t(dir.path(), "notes.dbf");
    t.open();
    EXPECT_EQ(t.asMemo("MEGJ"), "ezer bájt blokk");
}

TEST_F(MemoTest, DamagedMemoPointersAndLengthsAreErrors) {
    createNotes();
    {
        Table t(dir.path(), "notes.dbf");
        t.open();
        appendNote(t, "a", "text");
    }
    Table probe(dir.path(), "notes.dbf");
    probe.open();
    const size_t at = probe.header().headerLength + size_t(probe.header().fields[1].offset);
    probe.close();
    const std::string good = dir.read("notes.dbf");

    std::string outside = good;
    std::memcpy(outside.data() + at, "     99999", 10);
    dir.write("notes.dbf", outside);
    Table t(dir.path(), "notes.dbf");
    t.open();
    try {
        t.asMemo("MEGJ");
        FAIL() << "read a memo outside the file";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("outside the memo file"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("notes.dbt"), std::string::npos) << e.what();
    }
    t.close();

    std::string garbage = good;
    std::memcpy(garbage.data() + at, "   12x4   ", 10);
    dir.write("notes.dbf", garbage);
    t.open();
    EXPECT_THROW(t.asMemo("MEGJ"), DbError);
    t.close();

    dir.write("notes.dbf", good);
    std::string memo = dir.read("notes.dbt");
    put32(memo, 512 + 4, 0x7FFFFFF0);  // a length far beyond the file
    dir.write("notes.dbt", memo);
    t.open();
    EXPECT_THROW(t.asMemo("MEGJ"), DbError);
}

TEST_F(MemoTest, OtherWritersAppendAtTheEndEvenWhileBlocksAreFree) {
    createNotes();
    Table t(dir.path(), "notes.dbf");
    t.open();
    appendNote(t, "a", "short");
    appendNote(t, "b", std::string(1200, 'b'));
    t.first();
    t.edit();
    t.setMemo("MEGJ", std::string(700, 'x'));  // frees block 1
    t.post();
    const std::string memo = dir.read("notes.dbt");
    const uint32_t next = uint8_t(memo[0]) | uint8_t(memo[1]) << 8 | uint8_t(memo[2]) << 16 | uint8_t(memo[3]) << 24;
    EXPECT_EQ(size_t(next) * 512, memo.size());  // the place where a plain dBASE writer appends
}

TEST_F(MemoTest, AFreeListThatDoesNotHoldTogetherIsGivenUpNotFollowed) {
    // A free run that loops onto itself, and one that lost its mark: neither may be written.
    for (const std::string damage : {"loop", "unmarked"}) {
        if (damage == "unmarked") Table::drop(dir.path(), "notes.dbf");
        createNotes();
        Table t(dir.path(), "notes.dbf");
        t.open();
        appendNote(t, "a", std::string(100, 'a'));
        appendNote(t, "b", std::string(100, 'b'));
        appendNote(t, "c", std::string(100, 'c'));
        t.first();
        t.edit();
        t.setMemo("MEGJ", std::string(100, 'A'));  // block 1 is now a free run
        t.post();
        t.close();
        std::string memo = dir.read("notes.dbt");
        if (damage == "loop")
            put32(memo, 512, 1);
        else
            memo[512 + 8] = 'X';
        dir.write("notes.dbt", memo);
        t.open();
        t.last();
        t.edit();
        t.setMemo("MEGJ", std::string(damage == "loop" ? 1200 : 300, 'z'));
        t.post();
        t.close();
        t.open();
        std::vector<std::string> memos;
        for (t.first(); !t.eof(); t.next()) memos.push_back(t.asMemo("MEGJ"));
        EXPECT_EQ(memos, (std::vector<std::string>{std::string(100, 'A'), std::string(100, 'b'),
                                                   std::string(damage == "loop" ? 1200 : 300, 'z')}))
            << damage;
    }
}

// A memo file cut short (a copy that stopped early, a full disk): the header still names the
// old end, and records point past the new one. Writing a memo at the new end would hand their
// blocks out again, so another record's memo would read the new text.
TEST_F(MemoTest, AMemoFileCutShortRefusesWritesAndTheCheckSaysSo) {
    for (const TableLevel level : {TableLevel::DBase7, TableLevel::DBase3}) {
        SCOPED_TRACE(int(level));
        if (level == TableLevel::DBase3) Table::drop(dir.path(), "notes.dbf");
        createNotes(level);
        {
            Table t(dir.path(), "notes.dbf");
            t.open();
            for (const char* name : {"a", "b", "c"}) appendNote(t, name, std::string(600, name[0]));  // 2 blocks each
        }
        const std::string cut = dir.read("notes.dbt").substr(0, 4 * 512);  // b's memo half gone, c's lost
        dir.write("notes.dbt", cut);
        const std::string table = dir.read("notes.dbf");
        Table t(dir.path(), "notes.dbf");
        t.open();
        t.append();
        t.setString("NEV", "d");
        t.setMemo("MEGJ", "new text");
        try {
            t.post();
            ADD_FAILURE() << "a memo was written into a memo file cut short";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbErrorKind::Damaged);
            EXPECT_EQ(e.tableName(), "notes.dbf");
            EXPECT_NE(std::string(e.what()).find("cut short"), std::string::npos) << e.what();
        }
        t.cancel();
        t.first();
        t.edit();
        t.setMemo("MEGJ", "changed");
        EXPECT_THROW(t.post(), DbError);
        t.cancel();
        EXPECT_TRUE(dir.read("notes.dbt") == cut);
        EXPECT_TRUE(dir.read("notes.dbf") == table);
        std::string all;
        for (const std::string& f : t.checkIntegrity()) all += f + "\n";
        EXPECT_NE(all.find("before its next free block 7: it was cut short"), std::string::npos) << all;
    }
}

TEST_F(MemoTest, AReindexPutsTheEndBackOnlyWhenNoMemoWasLost) {
    createNotes();
    {
        Table t(dir.path(), "notes.dbf");
        t.open();
        for (const char* name : {"a", "b"}) appendNote(t, name, std::string(600, name[0]));  // blocks 1-4
    }
    const std::string whole = dir.read("notes.dbt");
    // A header that names an end past the file, every memo whole: a writer died before its memo.
    std::string ahead = whole;
    put32(ahead, 0, 9);
    dir.write("notes.dbt", ahead);
    EXPECT_TRUE(Table::reindex(dir.path(), "notes.dbf", {}).memoEndRepaired);
    {
        Table t(dir.path(), "notes.dbf");
        t.open();
        appendNote(t, "c", "written again");
        EXPECT_TRUE(t.checkIntegrity().empty());
        t.last();
        EXPECT_EQ(t.asMemo("MEGJ"), "written again");
    }
    // A file cut inside b's memo: b's text is lost, and the file is left for a backup.
    dir.write("notes.dbt", whole.substr(0, 4 * 512));
    EXPECT_FALSE(Table::reindex(dir.path(), "notes.dbf", {}).memoEndRepaired);
    EXPECT_TRUE(dir.read("notes.dbt") == whole.substr(0, 4 * 512));
}

TEST_F(MemoTest, TheCheckFindsANextFreeBlockInsideAUsedMemo) {
    createNotes();
    {
        Table t(dir.path(), "notes.dbf");
        t.open();
        for (const char* name : {"a", "b"}) appendNote(t, name, std::string(600, name[0]));
        EXPECT_TRUE(t.checkIntegrity().empty());
    }
    std::string memo = dir.read("notes.dbt");
    put32(memo, 0, 4);  // inside b's memo (blocks 3 and 4): another writer would overwrite it
    dir.write("notes.dbt", memo);
    Table t(dir.path(), "notes.dbf");
    t.open();
    std::string all;
    for (const std::string& f : t.checkIntegrity()) all += f + "\n";
    EXPECT_NE(all.find("next free block 4 lies inside the memo of record 2"), std::string::npos) << all;
}
