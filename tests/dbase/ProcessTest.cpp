#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "TestFolder.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"

using namespace dbase;
using testing_support::TestFolder;

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
    a.waitForChild();
    b.waitForChild();
    a.signal();
    b.signal();
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
