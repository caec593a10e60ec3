#include <gtest/gtest.h>
#include <linux/magic.h>
#include <signal.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "DocumentFolder.h"
#include "FaultFileSystem.h"
#include "TestFolder.h"
#include "TestSeed.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"
#include "dbase/Transaction.h"

using namespace dbase;
using namespace testing_support;

namespace {

class TransactionTest : public ::testing::Test {
protected:
    TestFolder dir;
    void SetUp() override { makeDocumentFolder(dir.path(), 30, 5); }
};

}  // namespace

TEST_F(TransactionTest, ACommittedSaveIsComplete) {
    const auto before = snapshot(dir.path());
    EXPECT_EQ(saveDocument(dir.path(), FileSystem::real(), {}), "2024/00006");
    EXPECT_EQ(dir.read(kJournalName), "");  // emptied: no journal
    Table lines(dir.path(), "Szamla2.dbf");
    lines.open();
    lines.setOrder("SZAMLASZAM");
    ASSERT_TRUE(lines.findKey("2024/00006"));
    int count = 0;
    for (; !lines.eof() && lines.asString("SZAMLASZAM") == "2024/00006"; lines.next()) ++count;
    EXPECT_EQ(count, 20);
    EXPECT_TRUE(checkAllTables(dir.path()).empty());
    EXPECT_NE(snapshot(dir.path()), before);
}

TEST_F(TransactionTest, AnExceptionInsideRollsEverythingBackAndHandlesFollow) {
    const auto before = snapshot(dir.path());
    Table head(dir.path(), "Szamla.dbf");  // a long-lived handle, as the program keeps them
    head.open();
    const uint32_t headers = head.recordCount();
    {
        Transaction tx(dir.path());
        head.append();
        head.setString("SZAMLASZAM", "2024/99999");
        head.post();
        Table other(dir.path(), "Szamla.dbf");  // another handle of this process reads it
        other.open();
        EXPECT_EQ(other.recordCount(), headers + 1);
        EXPECT_EQ(head.recordCount(), headers + 1);
        // no commit: the transaction ends by exception or scope
    }
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_EQ(head.recordCount(), headers);
    head.last();
    EXPECT_NE(head.asString("SZAMLASZAM"), "2024/99999");
    head.append();  // the handle goes on working after the rollback
    head.setString("SZAMLASZAM", "2024/99998");
    head.post();
    EXPECT_EQ(head.recordCount(), headers + 1);
    EXPECT_TRUE(checkAllTables(dir.path()).empty());
}

TEST_F(TransactionTest, AHandleInTagOrderOnARecordTheRollbackRemovedGoesBackToTheFirst) {
    Table head(dir.path(), "Szamla.dbf");
    head.open();
    head.setOrder("SZAMLASZAM");
    {
        Transaction tx(dir.path());
        head.append();
        head.setString("SZAMLASZAM", "2024/99999");
        head.post();  // the handle stands on the new record
    }
    head.refresh();  // the record is gone: no damage is reported, the handle starts again
    EXPECT_FALSE(head.eof());
    EXPECT_EQ(head.asString("SZAMLASZAM"), "2024/00001");
    EXPECT_TRUE(checkAllTables(dir.path()).empty());
}

TEST_F(TransactionTest, AHandleClosedInsideASaveKeepsItsRecordLocksUntilTheSaveEnds) {
    // Another workstation, started before the save, tries the record when told to.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const pid_t other = fork();
    if (other == 0) {
        char c;
        int code = 2;
        if (read(go[0], &c, 1) == 1) {
            try {
                Table goods(dir.path(), "Anyag.dbf");
                goods.open();
                goods.first();
                goods.edit();
                code = 1;  // it got the record the save holds
                goods.cancel();
            } catch (const DbError& e) {
                code = e.kind() == DbErrorKind::RecordLocked ? 0 : 3;
            }
        }
        _exit(code);
    }
    Transaction tx(dir.path());
    {
        Table goods(dir.path(), "Anyag.dbf");
        goods.open();
        goods.first();
        goods.edit();
        goods.setFloat("MENNYISEG", 7);
        goods.post();
    }  // closed inside the save, before the commit
    ASSERT_EQ(write(go[1], "x", 1), 1);
    int status = 0;
    waitpid(other, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other workstation took a record the save holds";
    tx.commit();
    Table goods(dir.path(), "Anyag.dbf");
    goods.open();
    goods.first();
    EXPECT_EQ(goods.asFloat("MENNYISEG"), 7);
    EXPECT_TRUE(checkAllTables(dir.path()).empty());
}

TEST_F(TransactionTest, TwoHandlesOfOneTableInOneSaveKeepEachOthersIndexChanges) {
    Table a(dir.path(), "Szamla.dbf"), b(dir.path(), "Szamla.dbf");
    a.open();
    b.open();
    a.setOrder("NEV");
    b.setOrder("NEV");  // b reads the tag before the save
    {
        Transaction tx(dir.path());
        for (Table* t : {&a, &b, &a}) {
            t->append();
            t->setString("SZAMLASZAM", "2024/" + std::to_string(90000 + t->recordCount()));
            t->setString("NEV", t == &a ? "Aladár" : "Béla");
            t->post();
        }
        tx.commit();
    }
    const auto faults = checkAllTables(dir.path());
    EXPECT_TRUE(faults.empty()) << faults.front();
    b.refresh();
    for (const char* name : {"Aladár", "Béla"}) EXPECT_TRUE(b.findKey(name)) << name;
}

TEST_F(TransactionTest, ACommittedSaveSurvivesAPowerCutRightAfterIt) {
    const auto before = snapshot(dir.path());
    saveDocument(dir.path(), FileSystem::real(), {});
    const auto after = snapshot(dir.path());
    restore(dir.path(), before);
    {
        FaultFileSystem fs;
        fs.crashMode = FaultFileSystem::Crash::DropUnsynced;
        saveDocument(dir.path(), fs, {});
        EXPECT_TRUE(fs.protocolFaults.empty()) << fs.protocolFaults.front();
        fs.powerCut();  // everything the save reported done must be on the disk
    }
    recoverFolder(dir.path());
    EXPECT_TRUE(sameData(snapshot(dir.path()), after));
}

namespace {
// Whether the folder is on a local disk file system whose sync stores every file of it.
bool onLocalDisk(const std::string& folder) {
    struct statfs fs {};
    if (::statfs(folder.c_str(), &fs) != 0) return false;
    const auto type = static_cast<unsigned long>(fs.f_type);
    return type == EXT4_SUPER_MAGIC || type == XFS_SUPER_MAGIC || type == BTRFS_SUPER_MAGIC || type == TMPFS_MAGIC;
}
}  // namespace

// On a network share a file is stored only when it is synced by itself: a sync of the whole file
// system sends the server nothing. There a commit syncs every file it changed, each once; on a
// local disk one sync of the file system stores them all with one flush. The journal is synced
// before the changes and again once emptied. Traced at the system calls.
TEST_F(TransactionTest, ACommitSyncsEachFileItChangedAndTheJournal) {
    if (const char* folder = std::getenv("KAVINA_SAVE_IN")) {  // the traced run below
        saveDocument(folder, FileSystem::real(), {});
        return;
    }
    if (std::system("strace -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    const auto before = snapshot(dir.path());
    const TestFolder logs;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    // The leak checker of a sanitizer build cannot run under strace's ptrace.
    const std::string command = "ASAN_OPTIONS=detect_leaks=0 KAVINA_SAVE_IN='" + dir.path() +
                                "' strace -f -qq -y -e trace=fsync,fdatasync,syncfs,sync -o '" +
                                logs.file("trace.txt") + "' '" + self +
                                "' --gtest_filter=TransactionTest.ACommitSyncsEachFileItChangedAndTheJournal "
                                "> /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto after = snapshot(dir.path());
    std::map<std::string, int> synced;
    int wholeDisk = 0;
    std::istringstream trace(logs.read("trace.txt"));
    for (std::string line; std::getline(trace, line);) {
        if (line.find(" resumed>") != std::string::npos) continue;  // the end of a call that ran side by side
        std::istringstream words(line);
        std::string pid, call;
        words >> pid >> call;
        call = call.substr(0, call.find('('));
        EXPECT_NE(call, "sync") << line;
        const size_t at = line.find("<" + dir.path() + "/");
        if (at == std::string::npos) continue;  // the traced run's own test folder
        if (call == "syncfs") {
            ++wholeDisk;
            continue;
        }
        const size_t from = at + dir.path().size() + 2;
        synced[line.substr(from, line.find('>', from) - from)]++;
    }
    std::map<std::string, int> changed;
    for (const auto& [name, bytes] : after)
        if (name != kJournalName && (!before.count(name) || before.at(name) != bytes)) changed[name] = 1;
    EXPECT_GE(changed.size(), 8u);
    std::map<std::string, int> expected{{kJournalName, 2}};
    if (onLocalDisk(dir.path())) {
        EXPECT_EQ(wholeDisk, 1);
    } else {
        EXPECT_EQ(wholeDisk, 0);
        expected.insert(changed.begin(), changed.end());
    }
    EXPECT_EQ(synced, expected);
}

// A thread of the program working in the background (the tax authority's sender) writes the
// folder as another workstation would: its edit goes to the disk even while a save of the
// window's thread is open and then rolled back, and a save of its own waits for that one.
TEST_F(TransactionTest, AnotherThreadOfTheProgramNeitherJoinsNorBreaksASave) {
    std::optional<Transaction> save(std::in_place, dir.path());
    Table head(dir.path(), "Szamla.dbf");
    head.open();
    head.append();
    head.setString("SZAMLASZAM", "2024/99999");
    head.post();

    std::string failure;
    std::thread background([&] {
        try {
            Table stock(dir.path(), "Anyag.dbf");
            stock.open();
            stock.first();
            stock.edit();
            stock.setFloat("MENNYISEG", 7);
            stock.post();
            Transaction own(dir.path());  // waits for the window's save
            Table log(dir.path(), "tranzakcio.dbf");
            log.open();
            log.append();
            log.setString("CIKKSZAM", "HATTER");
            log.post();
            own.commit();
        } catch (const std::exception& e) {
            failure = e.what();
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    save.reset();  // the window's save is abandoned
    background.join();
    EXPECT_EQ(failure, "");

    Table stock(dir.path(), "Anyag.dbf");
    stock.open();
    stock.first();
    EXPECT_EQ(stock.asFloat("MENNYISEG"), 7);
    Table log(dir.path(), "tranzakcio.dbf");
    log.open();
    log.setOrder("CIKKSZAM");
    EXPECT_TRUE(log.findKey("HATTER"));
    head.refresh();
    head.setOrder("SZAMLASZAM");
    EXPECT_FALSE(head.findKey("2024/99999"));
    const auto faults = checkAllTables(dir.path());
    EXPECT_TRUE(faults.empty()) << faults.front();
}

TEST_F(TransactionTest, StructuralChangesAreRefusedInside) {
    Transaction tx(dir.path());
    Table t(dir.path(), "tranzakcio.dbf");
    t.open({.exclusive = true});
    EXPECT_THROW(t.pack(), DbError);
    EXPECT_THROW(t.emptyTable(), DbError);
    EXPECT_THROW(t.addIndex("TIPUS", "TIPUS"), DbError);
    EXPECT_THROW(Transaction(dir.path()), DbError);  // one at a time
}

namespace {
size_t openDescriptors() {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}
}  // namespace

TEST_F(TransactionTest, AFailedWriteOrSyncLeavesTheFolderAsBeforeAndNothingHeld) {
    const auto before = snapshot(dir.path());
    const size_t descriptors = openDescriptors();
    for (int which = 0; which < 2; ++which) {
        for (int n = 1; n <= 40; n += 3) {
            FaultFileSystem fs;
            (which == 0 ? fs.failWriteAt : fs.failSyncAt) = n;
            try {
                saveDocument(dir.path(), fs, {});
            } catch (const DbError&) {
            }
            const auto now = snapshot(dir.path());
            if (!sameData(now, before)) {
                // The fault came after the save was complete: then it is all there.
                EXPECT_TRUE(checkAllTables(dir.path()).empty());
                restore(dir.path(), before);
                continue;
            }
            EXPECT_EQ(dir.read(kJournalName), "");
            // No lock is left: another save goes through at once.
            saveDocument(dir.path(), FileSystem::real(), {.lines = 1});
            restore(dir.path(), before);
        }
    }
    EXPECT_EQ(openDescriptors(), descriptors);  // no file handle left open
}

TEST_F(TransactionTest, AJournalCutShortWhileItWasWrittenIsNoDamage) {
    // A save killed in the middle of writing its journal: the tables are as before it.
    const auto before = snapshot(dir.path());
    FaultFileSystem fs;
    fs.crashWriteAt = 4;
    EXPECT_THROW(saveDocument(dir.path(), fs, {}), SimulatedCrash);
    const std::string journal = dir.read(kJournalName);
    ASSERT_GT(journal.size(), 200u);
    restore(dir.path(), before);
    for (const size_t cut : {journal.size() - 20, journal.size() / 2, size_t(9)}) {
        dir.write(kJournalName, journal.substr(0, cut));
        const RecoveryReport report = recoverFolder(dir.path());
        EXPECT_TRUE(report.rolledBack) << cut;
        EXPECT_FALSE(report.needsCheck) << cut << ": " << report.detail;
        EXPECT_EQ(dir.read(kJournalName), "");
        EXPECT_TRUE(keptDamagedJournals(dir.path()).empty());
        EXPECT_TRUE(sameData(snapshot(dir.path()), before));
    }
}

TEST_F(TransactionTest, ADamagedJournalRollsBackWhatItProvesAndAsksForACheck) {
    const auto before = snapshot(dir.path());
    // A commit that died while writing the data, leaving its journal: make it by crashing.
    FaultFileSystem fs;
    fs.crashWriteAt = 4;
    EXPECT_THROW(saveDocument(dir.path(), fs, {}), SimulatedCrash);
    ASSERT_NE(dir.read(kJournalName), "");
    const std::string journal = dir.read(kJournalName);
    dir.write(kJournalName, journal.substr(0, journal.size() - 20));  // cut short
    const RecoveryReport report = recoverFolder(dir.path());
    EXPECT_TRUE(report.rolledBack);
    EXPECT_TRUE(report.needsCheck);
    EXPECT_NE(report.detail.find("incomplete"), std::string::npos);
    EXPECT_FALSE(FileSystem::real().exists(dir.file(kJournalName)));
    EXPECT_TRUE(FileSystem::real().exists(dir.file(std::string(kJournalName) + ".damaged")));
    EXPECT_EQ(recoverFolder(dir.path()).rolledBack, false);  // once only
    (void)before;

    // A second damaged journal before anyone looked at the first is kept beside it.
    const std::string first = dir.read(std::string(kJournalName) + ".damaged");
    FaultFileSystem again;
    again.crashWriteAt = 4;
    EXPECT_THROW(saveDocument(dir.path(), again, {}), SimulatedCrash);
    const std::string second = dir.read(kJournalName);
    dir.write(kJournalName, second.substr(0, second.size() - 7));
    EXPECT_TRUE(recoverFolder(dir.path()).needsCheck);
    const std::string kept = dir.file(std::string(kJournalName) + ".damaged");
    EXPECT_EQ(keptDamagedJournals(dir.path()), (std::vector<std::string>{kept, kept + "2"}));
    EXPECT_EQ(dir.read(std::string(kJournalName) + ".damaged"), first);
    EXPECT_EQ(dir.read(std::string(kJournalName) + ".damaged2"), second.substr(0, second.size() - 7));
}

// A save died while writing its changes, and then someone deleted a file it had changed (a
// damaged index, say). Every open rolls back what the journal still can, sets the journal
// aside and goes on; nothing crashes.
TEST_F(TransactionTest, AJournalNamingAMissingFileRollsBackTheRestAndIsSetAside) {
    const auto before = snapshot(dir.path());
    FaultFileSystem counting;
    saveDocument(dir.path(), counting, {});
    restore(dir.path(), before);
    FaultFileSystem fs;
    fs.crashWriteAt = counting.writes;  // the last change of the save: the journal names every file
    EXPECT_THROW(saveDocument(dir.path(), fs, {}), SimulatedCrash);
    ASSERT_NE(dir.read(kJournalName), "");
    std::filesystem::remove(dir.file("Szamla.mdx"));
    const auto crashed = snapshot(dir.path());

    Table products(dir.path(), "Anyag.dbf");
    products.open();
    EXPECT_EQ(products.recordCount(), 30u);
    products.close();
    EXPECT_EQ(dir.read(kJournalName), "");
    EXPECT_TRUE(std::filesystem::exists(dir.file(std::string(kJournalName) + ".damaged")));
    auto expected = before;
    expected.erase("Szamla.mdx");
    EXPECT_TRUE(sameData(snapshot(dir.path()), expected));  // every file the journal could reach is as before
    EXPECT_FALSE(recoverFolder(dir.path()).rolledBack);

    restore(dir.path(), crashed);
    const RecoveryReport report = recoverFolder(dir.path());
    EXPECT_TRUE(report.rolledBack);
    EXPECT_TRUE(report.needsCheck);
    EXPECT_NE(report.detail.find("Szamla.mdx"), std::string::npos) << report.detail;
}

TEST_F(TransactionTest, CrashAtEveryWriteLeavesTheFolderBeforeOrAfter) {
    const auto before = snapshot(dir.path());
    saveDocument(dir.path(), FileSystem::real(), {});
    const auto after = snapshot(dir.path());
    restore(dir.path(), before);
    FaultFileSystem counting;
    saveDocument(dir.path(), counting, {});
    ASSERT_TRUE(counting.protocolFaults.empty()) << counting.protocolFaults.front();
    const int writes = counting.writes;
    ASSERT_GT(writes, 10);
    int asBefore = 0, asAfter = 0;
    for (auto mode : {FaultFileSystem::Crash::KeepWritten, FaultFileSystem::Crash::DropUnsynced}) {
        for (int n = 1; n <= writes; ++n) {
            restore(dir.path(), before);
            FaultFileSystem fs;
            fs.crashWriteAt = n;
            fs.crashMode = mode;
            EXPECT_THROW(saveDocument(dir.path(), fs, {}), SimulatedCrash) << n;
            EXPECT_TRUE(fs.protocolFaults.empty()) << fs.protocolFaults.front();
            recoverFolder(dir.path());  // the next start
            const auto now = snapshot(dir.path());
            ASSERT_TRUE(sameData(now, before) || sameData(now, after)) << "crash at write " << n;
            (sameData(now, before) ? asBefore : asAfter)++;
            const auto faults = checkAllTables(dir.path());
            ASSERT_TRUE(faults.empty()) << faults.front();
        }
    }
    EXPECT_GT(asBefore, 0);
}

// The program keeps its handles open from save to save, so a later save's journal is made partly
// from what they learnt in earlier ones (cached index pages, the end of each file), across a
// rolled-back save too. A crash at any write of that later save must still leave the folder
// exactly before or after it.
TEST_F(TransactionTest, CrashInALaterSaveOfLongLivedHandlesLeavesTheFolderBeforeOrAfter) {
    const auto start = snapshot(dir.path());
    const auto earlierSaves = [&](FileSystem& fs, DocumentHandles& handles) {
        saveDocument(dir.path(), fs, handles, {});
        try {
            Transaction tx(dir.path(), fs);
            handles.lines.append();
            handles.lines.setString("SZAMLASZAM", "2024/99999");
            handles.lines.post();
            handles.products.first();
            handles.products.edit();
            handles.products.setFloat("MENNYISEG", -1);
            handles.products.post();
            throw std::runtime_error("the save fails");
        } catch (const std::runtime_error&) {
        }
        saveDocument(dir.path(), fs, handles, {});
    };
    std::map<std::string, std::string> before, after;
    int writes = 0;
    {
        FaultFileSystem counting;
        DocumentHandles handles(dir.path(), counting);
        earlierSaves(counting, handles);
        before = snapshot(dir.path());
        const int writesBefore = counting.writes;
        saveDocument(dir.path(), counting, handles, {});
        writes = counting.writes - writesBefore;
        after = snapshot(dir.path());
        ASSERT_TRUE(counting.protocolFaults.empty()) << counting.protocolFaults.front();
    }
    ASSERT_GT(writes, 10);
    for (auto mode : {FaultFileSystem::Crash::KeepWritten, FaultFileSystem::Crash::DropUnsynced}) {
        for (int n = 1; n <= writes; ++n) {
            restore(dir.path(), start);
            {
                FaultFileSystem fs;
                DocumentHandles handles(dir.path(), fs);
                earlierSaves(fs, handles);
                ASSERT_EQ(snapshot(dir.path()), before);
                fs.crashWriteAt = fs.writes + n;
                fs.crashMode = mode;
                EXPECT_THROW(saveDocument(dir.path(), fs, handles, {}), SimulatedCrash) << n;
                EXPECT_TRUE(fs.protocolFaults.empty()) << fs.protocolFaults.front();
            }
            recoverFolder(dir.path());
            const auto now = snapshot(dir.path());
            ASSERT_TRUE(sameData(now, before) || sameData(now, after)) << "crash at write " << n;
            const auto faults = checkAllTables(dir.path());
            ASSERT_TRUE(faults.empty()) << faults.front();
        }
    }
}

TEST_F(TransactionTest, KillCrashAtRandomMomentsLeavesTheFolderBeforeOrAfter) {
    const auto before = snapshot(dir.path());
    saveDocument(dir.path(), FileSystem::real(), {});
    const auto after = snapshot(dir.path());
    const unsigned seed = testing_support::testSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    int asBefore = 0, asAfter = 0;
    for (int run = 0; run < 200; ++run) {
        restore(dir.path(), before);
        const pid_t pid = fork();
        if (pid == 0) {
            try {
                saveDocument(dir.path(), FileSystem::real(), {});
            } catch (...) {
                _exit(2);
            }
            _exit(0);
        }
        usleep(useconds_t(rng() % 6000));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        recoverFolder(dir.path());
        const auto now = snapshot(dir.path());
        ASSERT_TRUE(sameData(now, before) || sameData(now, after)) << "run " << run;
        (sameData(now, before) ? asBefore : asAfter)++;
    }
    EXPECT_TRUE(checkAllTables(dir.path()).empty());
    RecordProperty("as_before", asBefore);
    RecordProperty("as_after", asAfter);
}

TEST_F(TransactionTest, ProcessSavesQueueAndNeitherNumbersNorStockAreLost) {
    constexpr int kProcesses = 4, kEach = 250, kLines = 3;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        if (pid == 0) {
            try {
                for (int i = 0; i < kEach; ++i)
                    saveDocument(dir.path(), FileSystem::real(), {.lines = kLines, .stockProducts = 3});
            } catch (const std::exception& e) {
                std::fprintf(stderr, "save failed: %s\n", e.what());
                _exit(2);
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Table head(dir.path(), "Szamla.dbf");
    head.open();
    std::set<std::string> numbers;
    for (head.first(); !head.eof(); head.next()) numbers.insert(head.asString("SZAMLASZAM"));
    EXPECT_EQ(numbers.size(), size_t(5 + kProcesses * kEach));
    char last[32];
    std::snprintf(last, sizeof last, "2024/%05d", 5 + kProcesses * kEach);
    EXPECT_EQ(*numbers.rbegin(), last);  // no gap: 1 .. 1005 all taken once
    Table products(dir.path(), "Anyag.dbf");
    products.open();
    double moved = 0;
    for (products.first(); !products.eof(); products.next()) moved += 100000 - products.asFloat("MENNYISEG");
    EXPECT_DOUBLE_EQ(moved, 5.0 * 3 + kProcesses * kEach * kLines);
    const auto faults = checkAllTables(dir.path());
    EXPECT_TRUE(faults.empty()) << faults.front();
}
