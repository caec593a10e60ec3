#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "DocumentFolder.h"
#include "TestFolder.h"
#include "TestSeed.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"
#include "dbase/Transaction.h"

using namespace dbase;
using testing_support::checkAllTables;
using testing_support::TestFolder;
using testing_support::testSeed;

namespace {

// A second workstation: a real child process running fn, with a pipe each way to step it.
class Workstation {
public:
    explicit Workstation(std::function<int(Workstation&)> fn) {
        if (pipe(m_toChild) != 0 || pipe(m_toParent) != 0) throw std::runtime_error("pipe");
        m_pid = fork();
        if (m_pid == 0) {
            int rc = 1;
            try {
                rc = fn(*this);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "workstation: %s\n", e.what());
                rc = 99;
            }
            _exit(rc);
        }
    }
    ~Workstation() {
        if (m_pid > 0 && !m_waited) {
            signal();
            exitCode();
        }
    }

    // In the child: tell the parent; wait for the parent's go.
    void tellParent() {
        char c = 1;
        (void)!write(m_toParent[1], &c, 1);
    }
    void waitForParent() {
        char c;
        (void)!read(m_toChild[0], &c, 1);
    }
    // In the parent.
    void waitForChild() {
        char c;
        (void)!read(m_toParent[0], &c, 1);
    }
    void signal() {
        char c = 1;
        (void)!write(m_toChild[1], &c, 1);
    }
    void killNow() { ::kill(m_pid, SIGKILL); }
    // The end the parent reads the child's word from (to poll it).
    int parentEnd() const { return m_toParent[0]; }
    int exitCode() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_waited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    bool m_waited = false;
    int m_toChild[2]{};
    int m_toParent[2]{};
};

// Lets the workstations begin their work at one moment, once every one of them is ready.
void startTogether(std::initializer_list<Workstation*> stations) {
    for (Workstation* s : stations) s->waitForChild();
    for (Workstation* s : stations) s->signal();
}

// The real file system, with a call before each write (to stop a commit half way).
class PausingFileSystem final : public FileSystem {
public:
    std::function<void(const std::string& path, uint64_t offset)> beforeWrite;

    std::unique_ptr<File> open(const std::string& path, OpenMode mode) override {
        return std::make_unique<PausingFile>(*this, real().open(path, mode));
    }
    bool exists(const std::string& path) override { return real().exists(path); }
    std::optional<uint64_t> fileSize(const std::string& path) override { return real().fileSize(path); }
    void remove(const std::string& path) override { real().remove(path); }
    void rename(const std::string& source, const std::string& target) override { real().rename(source, target); }
    void syncDirectory(const std::string& folder) override { real().syncDirectory(folder); }

private:
    class PausingFile final : public File {
    public:
        PausingFile(PausingFileSystem& fs, std::unique_ptr<File> real) : m_fs(fs), m_real(std::move(real)) {}
        size_t read(uint64_t offset, void* buffer, size_t size) override { return m_real->read(offset, buffer, size); }
        void write(uint64_t offset, const void* data, size_t size) override {
            if (m_fs.beforeWrite) m_fs.beforeWrite(path(), offset);
            m_real->write(offset, data, size);
        }
        uint64_t size() override { return m_real->size(); }
        void truncate(uint64_t size) override { m_real->truncate(size); }
        void sync() override { m_real->sync(); }
        bool tryLock(uint64_t offset, uint64_t length, LockKind kind) override {
            return m_real->tryLock(offset, length, kind);
        }
        void unlock(uint64_t offset, uint64_t length) override { m_real->unlock(offset, length); }
        const std::string& path() const override { return m_real->path(); }

    private:
        PausingFileSystem& m_fs;
        std::unique_ptr<File> m_real;
    };
    static FileSystem& real() { return FileSystem::real(); }
};

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class ProcessTest : public ::testing::Test {
protected:
    TestFolder dir;
    void SetUp() override {
        Table::create(
            dir.path(), "Szamla2.dbf",
            {{"SZAMLASZAM", FieldType::Character, 16}, {"SOR", FieldType::Integer}, {"MEGJ", FieldType::Memo}});
    }

    static bool isBusy(Table& t, const OpenOptions& options) {
        try {
            t.open(options);
            t.close();
            return false;
        } catch (const DbError& e) {
            return e.contains(errtext::kTableBusy);
        }
    }
};

}  // namespace

TEST_F(ProcessTest, ExclusiveOpenInAnotherProcessExcludesSharedOpens) {
    const std::string folder = dir.path();
    Workstation other([&](Workstation& self) {
        Table t(folder, "Szamla2.dbf");
        t.open({.exclusive = true});
        self.tellParent();
        self.waitForParent();
        return 0;
    });
    other.waitForChild();
    Table mine(folder, "szamla2.DBF");
    EXPECT_TRUE(isBusy(mine, {}));
    EXPECT_TRUE(isBusy(mine, {.exclusive = true}));
    other.signal();
    EXPECT_EQ(other.exitCode(), 0);
    EXPECT_FALSE(isBusy(mine, {.exclusive = true}));  // released when the other process closed it
}

TEST_F(ProcessTest, SharedOpenInAnotherProcessExcludesExclusiveOpens) {
    const std::string folder = dir.path();
    Workstation other([&](Workstation& self) {
        Table t(folder, "Szamla2.dbf");
        t.open();
        self.tellParent();
        self.waitForParent();
        return 0;
    });
    other.waitForChild();
    Table mine(folder, "Szamla2.dbf");
    EXPECT_TRUE(isBusy(mine, {.exclusive = true}));
    EXPECT_FALSE(isBusy(mine, {}));
    other.signal();
    EXPECT_EQ(other.exitCode(), 0);
}

TEST_F(ProcessTest, ARecordPostedByAnotherProcessIsSeenAfterRefresh) {
    const std::string folder = dir.path();
    Table mine(folder, "Szamla2.dbf");
    mine.open();
    Workstation other([&](Workstation& self) {
        Table t(folder, "Szamla2.dbf");
        t.open();
        t.append();
        t.setString("SZAMLASZAM", "2024/00001");
        t.setInteger("SOR", 1);
        t.setMemo("MEGJ", "megjegyzés a másik gépről");
        t.post();
        self.tellParent();
        self.waitForParent();
        return 0;
    });
    other.waitForChild();
    EXPECT_TRUE(mine.isEmpty());
    mine.refresh();
    ASSERT_FALSE(mine.isEmpty());
    EXPECT_EQ(mine.asString("SZAMLASZAM"), "2024/00001");
    EXPECT_EQ(mine.asMemo("MEGJ"), "megjegyzés a másik gépről");
    other.signal();
    EXPECT_EQ(other.exitCode(), 0);
}

TEST_F(ProcessTest, AppendsFromTwoProcessesAtOnceAreAllKept) {
    const std::string folder = dir.path();
    constexpr int kEach = 3000;
    // One appends record by record, the other in bulk blocks.
    auto appender = [&](const std::string& prefix) {
        return [&folder, prefix](Workstation& self) {
            Table t(folder, "Szamla2.dbf");
            t.open();
            self.tellParent();
            self.waitForParent();
            if (prefix == "B") t.beginBulkAppend();
            for (int i = 0; i < kEach; ++i) {
                t.append();
                t.setString("SZAMLASZAM", prefix);
                t.setInteger("SOR", i);
                t.setMemo("MEGJ", prefix + std::to_string(i));
                t.post();
            }
            t.endBulkAppend();
            return 0;
        };
    };
    Workstation a(appender("A"));
    Workstation b(appender("B"));
    startTogether({&a, &b});
    ASSERT_EQ(a.exitCode(), 0);
    ASSERT_EQ(b.exitCode(), 0);
    Table t(folder, "Szamla2.dbf");
    t.open();
    EXPECT_EQ(t.recordCount(), 2u * kEach);
    std::set<std::string> seen;
    for (t.first(); !t.eof(); t.next()) {
        const std::string key = t.asString("SZAMLASZAM") + std::to_string(t.asInteger("SOR"));
        EXPECT_EQ(t.asMemo("MEGJ"), key);  // no memo block was handed out twice
        seen.insert(key);
    }
    EXPECT_EQ(seen.size(), 2u * kEach);
}

TEST_F(ProcessTest, TwoProcessesWritingOneIndexedTableKeepItsTagsConsistent) {
    const std::string folder = dir.path();
    Table::create(folder, "Anyag.dbf", {{"CIKKSZAM", FieldType::Character, 12}, {"AR", FieldType::Float}});
    {
        Table t(folder, "Anyag.dbf");
        t.open({.exclusive = true});
        t.addIndex("CIKKSZAM", "CIKKSZAM");
        t.addIndex("AR", "AR", true);
    }
    constexpr int kEach = 400;
    auto writer = [&folder](const std::string& mine, const std::string& theirs) {
        return [&folder, mine, theirs](Workstation& self) {
            Table t(folder, "Anyag.dbf");
            t.open();
            t.setOrder("CIKKSZAM");
            self.tellParent();
            self.waitForParent();
            for (int i = 0; i < kEach; ++i) {
                t.append();
                t.setString("CIKKSZAM", mine + std::to_string(i));
                t.setFloat("AR", i);
                t.post();
                if (i % 3 == 0 && t.findKey(mine + std::to_string(i / 2))) {  // an edit that moves a key
                    t.edit();
                    t.setFloat("AR", 1000 + i);
                    t.post();
                }
            }
            self.tellParent();
            self.waitForParent();  // both have written everything
            t.refresh();
            for (int i = 0; i < kEach; ++i)
                if (!t.findKey(theirs + std::to_string(i))) return 3;
            return 0;
        };
    };
    Workstation a(writer("A", "B"));
    Workstation b(writer("B", "A"));
    a.waitForChild();
    b.waitForChild();
    a.signal();
    b.signal();
    a.waitForChild();
    b.waitForChild();
    a.signal();
    b.signal();
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);
    Table t(folder, "Anyag.dbf");
    t.open();
    EXPECT_EQ(t.recordCount(), 2u * kEach);
    const auto faults = t.checkIndexes();
    EXPECT_TRUE(faults.empty()) << faults.front();
}

TEST_F(ProcessTest, ARecordInEditElsewhereCannotBeEditedUntilReleased) {
    const std::string folder = dir.path();
    Table mine(folder, "Szamla2.dbf");
    mine.open();
    mine.append();
    mine.setInteger("SOR", 1);
    mine.post();
    Workstation other([&](Workstation& self) {
        Table t(folder, "Szamla2.dbf");
        t.open();
        t.edit();
        t.setInteger("SOR", 2);
        self.tellParent();
        self.waitForParent();
        t.post();
        self.tellParent();
        self.waitForParent();
        return 0;
    });
    other.waitForChild();
    try {
        mine.edit();
        FAIL() << "edited a record another process holds";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.contains(errtext::kRecordLocked)) << e.what();
        EXPECT_NE(std::string(e.what()).find("Szamla2.dbf: record 1"), std::string::npos) << e.what();
    }
    EXPECT_EQ(mine.state(), TableState::Browse);
    other.signal();
    other.waitForChild();
    mine.edit();  // released by the post; the edit sees the other's value
    EXPECT_EQ(mine.asInteger("SOR"), 2);
    mine.setInteger("SOR", mine.asInteger("SOR") + 10);
    mine.post();
    other.signal();
    EXPECT_EQ(other.exitCode(), 0);
    mine.refresh();
    EXPECT_EQ(mine.asInteger("SOR"), 12);
}

TEST_F(ProcessTest, StockChangesOfTwoProcessesOnOneProductAreBothKept) {
    const std::string folder = dir.path();
    Table::create(folder, "Anyag.dbf", {{"CIKKSZAM", FieldType::Character, 10}, {"MENNYISEG", FieldType::Float}});
    {
        Table t(folder, "Anyag.dbf");
        t.open();
        t.append();
        t.setString("CIKKSZAM", "CSAVAR");
        t.setFloat("MENNYISEG", 1000);
        t.post();
    }
    constexpr int kMoves = 300;
    auto mover = [&folder](double quantity) {
        return [&folder, quantity](Workstation& self) {
            Table t(folder, "Anyag.dbf");
            t.open();
            self.tellParent();
            self.waitForParent();
            for (int i = 0; i < kMoves; ++i) {
                if (!t.locate({{"CIKKSZAM", "CSAVAR"}})) return 3;
                t.edit();  // re-reads the quantity under the record lock
                t.setFloat("MENNYISEG", t.asFloat("MENNYISEG") + quantity);
                t.post();
            }
            return 0;
        };
    };
    Workstation in(mover(2.5));
    Workstation out(mover(-1));
    in.waitForChild();
    out.waitForChild();
    in.signal();
    out.signal();
    EXPECT_EQ(in.exitCode(), 0);
    EXPECT_EQ(out.exitCode(), 0);
    Table t(folder, "Anyag.dbf");
    t.open();
    EXPECT_DOUBLE_EQ(t.asFloat("MENNYISEG"), 1000 + kMoves * 2.5 - kMoves);
}

// Each save takes the next number from a counter record and adds a record under it whose other
// key lands anywhere in its tag, through handles both processes keep open from save to save:
// what the other process wrote since must be read again before a save changes a tag.
TEST_F(ProcessTest, TransactionsOfTwoProcessesWithLongLivedHandlesKeepTheTagsWhole) {
    const std::string folder = dir.path();
    Table::create(folder, "user.dbf", {{"SZAMLASZ", FieldType::Integer}});
    Table::create(folder, "Szamla.dbf", {{"SZAMLASZAM", FieldType::Character, 16}, {"NEV", FieldType::Character, 40}});
    {
        Table t(folder, "Szamla.dbf");
        t.open({.exclusive = true});
        t.addIndex("SZAMLASZAM", "SZAMLASZAM");
        t.addIndex("NEV", "NEV");
        Table user(folder, "user.dbf");
        user.open();
        user.append();
        user.setInteger("SZAMLASZ", 0);
        user.post();
    }
    constexpr int kEach = 300;
    const unsigned seed = testSeed();
    auto saver = [&folder](unsigned mySeed) {
        return [&folder, mySeed](Workstation& self) {
            std::mt19937 rng(mySeed);
            Table user(folder, "user.dbf"), head(folder, "Szamla.dbf");
            user.open();
            head.open();
            head.setOrder("NEV");
            self.tellParent();
            self.waitForParent();
            for (int i = 0; i < kEach; ++i) {
                Transaction tx(folder, FileSystem::real(), {.sync = false});
                user.first();
                user.edit();
                const int64_t n = user.asInteger("SZAMLASZ") + 1;
                user.setInteger("SZAMLASZ", n);
                user.post();
                head.append();
                head.setString("SZAMLASZAM", std::to_string(100000 + n));
                head.setString("NEV", "Vevő " + std::to_string(rng() % 100000));
                head.post();
                tx.commit();
            }
            return 0;
        };
    };
    Workstation a(saver(seed)), b(saver(seed + 1));
    startTogether({&a, &b});
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);
    const auto faults = checkAllTables(folder);
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
    Table head(folder, "Szamla.dbf");
    head.open();
    EXPECT_EQ(head.recordCount(), 2u * kEach);
    head.setOrder("SZAMLASZAM");
    for (int n = 1; n <= 2 * kEach; ++n) EXPECT_TRUE(head.findKey(std::to_string(100000 + n))) << n;
}

namespace {

// A table of 190 document headers with a tag on the number, and a process that saves more
// headers in a transaction and stops in the middle of writing the index, before the write that
// stop(offset) picks, until the parent lets it go on (or kills it).
struct HalfWrittenSave {
    explicit HalfWrittenSave(const std::string& folder) : folder(folder) {
        Table::create(folder, "Szamla.dbf", {{"SZAMLASZAM", FieldType::Character, 16}});
        Table t(folder, "Szamla.dbf");
        t.open({.exclusive = true});
        t.addIndex("SZAMLASZAM", "SZAMLASZAM");
        for (int n = 1; n <= 190; ++n) add(t, n);
    }
    static void add(Table& t, int n) {
        t.append();
        t.setString("SZAMLASZAM", "2024/" + std::to_string(10000 + n));
        t.post();
    }
    std::function<int(Workstation&)> saver(int count, std::function<bool(uint64_t)> stop) const {
        return [folder = folder, count, stop](Workstation& self) {
            self.waitForParent();  // forked before the parent opens the table
            PausingFileSystem fs;
            Table t(folder, "Szamla.dbf", fs);
            t.open();
            Transaction tx(folder, fs, {.sync = false});
            for (int n = 201; n < 201 + count; ++n) add(t, n);
            bool stopped = false;
            fs.beforeWrite = [&](const std::string& path, uint64_t offset) {
                if (stopped || !endsWith(path, ".mdx") || !stop(offset)) return;
                stopped = true;
                self.tellParent();
                self.waitForParent();
            };
            tx.commit();
            return stopped ? 0 : 4;
        };
    }
    std::string folder;
};

}  // namespace

// A seek while another process's commit is writing the tag waits for the commit to end, then
// finds what it wrote: no half-written page is read, none is kept.
TEST_F(ProcessTest, ASeekDuringAnotherProcesssCommitWaitsForItAndSeesItWhole) {
    const std::string folder = dir.path() + "/during";
    std::filesystem::create_directory(folder);
    HalfWrittenSave save(folder);
    int writes = 0;
    // Enough headers to split leaves and move the root; stopped after the first index write.
    Workstation other(save.saver(60, [&writes](uint64_t) { return ++writes == 2; }));
    Table mine(folder, "Szamla.dbf");
    mine.open();
    mine.setOrder("SZAMLASZAM");
    other.signal();
    other.waitForChild();
    std::thread goOn([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.signal();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(mine.findKey("2024/10250"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    goOn.join();
    ASSERT_EQ(other.exitCode(), 0);
    for (int n = 1; n <= 260; ++n)
        EXPECT_EQ(mine.findKey("2024/" + std::to_string(10000 + n)), n <= 190 || n > 200) << n;
    const auto faults = checkAllTables(folder);
    EXPECT_TRUE(faults.empty()) << faults.front();
}

// A commit killed after writing index pages: a handle that reads them before the rollback puts
// the old ones back must read the index again after it.
TEST_F(ProcessTest, IndexPagesOfAKilledCommitAreNotTakenForCurrentAfterTheRollback) {
    const std::string folder = dir.path() + "/killed";
    std::filesystem::create_directory(folder);
    HalfWrittenSave save(folder);
    // Three headers fit in the last leaf; stopped when the index header is next.
    Workstation other(save.saver(3, [](uint64_t offset) { return offset == 0; }));
    Table mine(folder, "Szamla.dbf");
    mine.open();
    other.signal();
    other.waitForChild();
    other.killNow();
    other.exitCode();
    mine.setOrder("SZAMLASZAM");
    EXPECT_TRUE(mine.findKey("2024/10190"));  // reads the last leaf as the commit left it
    EXPECT_TRUE(recoverFolder(folder).rolledBack);
    EXPECT_FALSE(mine.findKey("2024/10202"));
    {
        Transaction tx(folder, FileSystem::real(), {.sync = false});
        for (int n = 301; n <= 330; ++n) HalfWrittenSave::add(mine, n);
        tx.commit();
    }
    const auto faults = checkAllTables(folder);
    EXPECT_TRUE(faults.empty()) << faults.front();
    EXPECT_EQ(mine.recordCount(), 220u);
}

// A handle walks a document's lines; another process changes them; whatever positions the
// handle next, the records it then returns, by the positioning and by the steps after it, hold
// the new values.
TEST_F(ProcessTest, EveryPositioningReadsWhatAnotherProcessChangedSince) {
    const std::string folder = dir.path() + "/lines";
    std::filesystem::create_directory(folder);
    Table::create(folder, "Szamla.dbf", {{"SZAMLASZAM", FieldType::Character, 16}});
    Table::create(
        folder, "Szamla2.dbf",
        {{"SZAMLASZAM", FieldType::Character, 16}, {"SOR", FieldType::Integer}, {"ERTEK", FieldType::Integer}});
    {
        Table head(folder, "Szamla.dbf"), lines(folder, "Szamla2.dbf");
        head.open({.exclusive = true});
        lines.open({.exclusive = true});
        lines.addIndex("SZAMLASZAM", "SZAMLASZAM");
        for (const char* number : {"2024/00001", "2024/00002", "2024/00003"}) {
            head.append();
            head.setString("SZAMLASZAM", number);
            head.post();
            for (int line = 1; line <= 5; ++line) {
                lines.append();
                lines.setString("SZAMLASZAM", number);
                lines.setInteger("SOR", line);
                lines.setInteger("ERTEK", 0);
                lines.post();
            }
        }
    }
    // The other process sets ERTEK of every line to the number of the round, when told to.
    Workstation other([&folder](Workstation& self) {
        Table lines(folder, "Szamla2.dbf");
        lines.open();
        for (int round = 1;; ++round) {
            self.waitForParent();
            if (lines.isEmpty()) return 3;
            for (lines.first(); !lines.eof(); lines.next()) {
                lines.edit();
                lines.setInteger("ERTEK", round);
                lines.post();
            }
            self.tellParent();
            if (round == 100) return 0;
        }
    });
    Table head(folder, "Szamla.dbf"), ordered(folder, "Szamla2.dbf"), physical(folder, "Szamla2.dbf"),
        detail(folder, "Szamla2.dbf");
    head.open();
    ordered.open();
    physical.open();
    detail.open();
    ordered.setOrder("SZAMLASZAM");
    detail.setOrder("SZAMLASZAM");
    detail.setMasterLink(head, "SZAMLASZAM", "SZAMLASZAM");
    const Bookmark secondLine = [&] {
        physical.gotoBookmark({7});
        return physical.bookmark();
    }();
    struct Case {
        const char* name;
        Table& table;
        std::function<void()> position;
        bool forward = true;
    };
    const std::vector<Case> cases = {
        {"findKey", ordered, [&] { ASSERT_TRUE(ordered.findKey("2024/00002")); }},
        {"findNearest", ordered, [&] { ASSERT_TRUE(ordered.findNearest("2024/00002")); }},
        {"first in a tag", ordered, [&] { ordered.first(); }},
        {"last in a tag", ordered, [&] { ordered.last(); }, false},
        {"setOrder", ordered, [&] { ordered.setOrder("SZAMLASZAM"); }},
        {"locate in a tag", ordered,
         [&] {
             ASSERT_TRUE(ordered.locate({{"SOR", "3"}}));
         }},
        {"gotoBookmark in a tag", ordered, [&] { ASSERT_TRUE(ordered.gotoBookmark(secondLine)); }},
        {"refresh in a tag", ordered, [&] { ordered.refresh(); }},
        {"first", physical, [&] { physical.first(); }},
        {"last", physical, [&] { physical.last(); }, false},
        {"locate", physical,
         [&] {
             ASSERT_TRUE(physical.locate({{"SOR", "4"}}));
         }},
        {"gotoBookmark", physical, [&] { ASSERT_TRUE(physical.gotoBookmark(secondLine)); }},
        {"refresh", physical, [&] { physical.refresh(); }},
        {"master moved", detail,
         [&] {
             ASSERT_TRUE(head.locate({{"SZAMLASZAM", "2024/00002"}}));
         }},
    };
    int round = 0;
    for (const Case& c : cases) {
        for (Table* t : {&ordered, &physical, &detail}) {
            head.first();
            for (t->first(); !t->eof(); t->next()) (void)t->asInteger("ERTEK");  // reads ahead
            t->gotoBookmark(secondLine);
        }
        other.signal();
        other.waitForChild();
        ++round;
        c.position();
        for (int step = 0; step < 3 && !c.table.isEmpty(); ++step) {
            EXPECT_EQ(c.table.asInteger("ERTEK"), round) << c.name << ", step " << step;
            if (c.forward ? (c.table.next(), c.table.eof()) : (c.table.prior(), c.table.bof())) break;
        }
    }
    other.killNow();  // waiting for its next round
    other.exitCode();
    const auto faults = checkAllTables(folder);
    EXPECT_TRUE(faults.empty()) << faults.front();
}

// One process saves headers with keys all over the tag, splitting its pages, while another
// seeks and walks it: every key saved before finds its record, and walks stay in key order.
TEST_F(ProcessTest, SeeksAndWalksDuringAnotherProcesssCommitsSeeEveryEarlierKeyInOrder) {
    const std::string folder = dir.path() + "/seeks";
    std::filesystem::create_directory(folder);
    Table::create(folder, "Szamla.dbf", {{"SZAMLASZAM", FieldType::Character, 16}});
    const auto keyOf = [](unsigned n) { return "K" + std::to_string(1000000 + (n * 7919u) % 1000000); };
    {
        Table t(folder, "Szamla.dbf");
        t.open({.exclusive = true});
        t.addIndex("SZAMLASZAM", "SZAMLASZAM");
        for (unsigned n = 0; n < 300; ++n) {
            t.append();
            t.setString("SZAMLASZAM", keyOf(n));
            t.post();
        }
    }
    const unsigned seed = testSeed();
    Workstation writer([&folder, seed](Workstation& self) {
        std::mt19937 rng(seed);
        Table t(folder, "Szamla.dbf");
        t.open();
        self.tellParent();
        self.waitForParent();
        for (int save = 0; save < 150; ++save) {
            Transaction tx(folder, FileSystem::real(), {.sync = false});
            for (int i = 0; i < 20; ++i) {
                t.append();
                t.setString("SZAMLASZAM", "K" + std::to_string(1000000 + rng() % 1000000) + "x");
                t.post();
            }
            tx.commit();
        }
        self.tellParent();
        return 0;
    });
    Table mine(folder, "Szamla.dbf");
    mine.open();
    mine.setOrder("SZAMLASZAM");
    std::mt19937 rng(seed + 1);
    startTogether({&writer});
    int seeks = 0, misses = 0, disorders = 0;
    std::string failure;
    for (bool done = false; !done;) {
        pollfd ready{writer.parentEnd(), POLLIN, 0};
        done = ::poll(&ready, 1, 0) > 0;
        try {
            ++seeks;
            if (!mine.findKey(keyOf(rng() % 300))) ++misses;
            std::string previous = mine.asString("SZAMLASZAM");
            for (int step = 0; step < 30 && (mine.next(), !mine.eof()); ++step) {
                const std::string key = mine.asString("SZAMLASZAM");
                if (key < previous) ++disorders;
                previous = key;
            }
        } catch (const DbError& e) {
            failure = e.what();
            break;
        }
    }
    EXPECT_EQ(failure, "");
    EXPECT_EQ(misses, 0) << "of " << seeks << " seeks";
    EXPECT_EQ(disorders, 0);
    EXPECT_EQ(writer.exitCode(), 0);
    const auto faults = checkAllTables(folder);
    EXPECT_TRUE(faults.empty()) << faults.front();
}

// In a save, every record a handle edits is locked against other workstations, also when
// another workstation's open edit keeps the save from locking all records at once and another
// handle of the save already holds a record of the table.
TEST_F(ProcessTest, InASaveEveryEditedRecordIsLockedAgainstOtherWorkstations) {
    const std::string folder = dir.path();
    {
        Table t(folder, "Szamla2.dbf");
        t.open();
        for (int i = 1; i <= 10; ++i) {
            t.append();
            t.setInteger("SOR", i);
            t.post();
        }
    }
    Workstation other([&folder](Workstation& self) {
        Table t(folder, "Szamla2.dbf");
        t.open();
        t.gotoBookmark({7});
        t.edit();  // an edit dialog left open
        self.tellParent();
        self.waitForParent();
        t.cancel();
        t.gotoBookmark({5});
        try {
            t.edit();
        } catch (const DbError& e) {
            return e.contains(errtext::kRecordLocked) ? 0 : 4;
        }
        return 5;  // edited a record the save holds
    });
    other.waitForChild();
    {
        Transaction tx(folder, FileSystem::real(), {.sync = false});
        Table a(folder, "Szamla2.dbf"), b(folder, "Szamla2.dbf");
        a.open();
        b.open();
        ASSERT_TRUE(b.gotoBookmark({3}));
        b.edit();
        b.setInteger("SOR", 30);
        b.post();
        ASSERT_TRUE(a.gotoBookmark({5}));
        a.edit();
        a.setInteger("SOR", 50);
        a.post();
        other.signal();
        EXPECT_EQ(other.exitCode(), 0);
        tx.commit();
    }
    const auto faults = checkAllTables(folder);
    EXPECT_TRUE(faults.empty()) << faults.front();
}
