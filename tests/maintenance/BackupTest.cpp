// The backup and the restore: a round trip byte for byte, the question when other instances
// run, hostile and damaged archives that change nothing, and restores killed at any moment
// that leave the folder as it was or fully restored.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "archive/ZipArchive.h"
#include "dbase/FolderCheck.h"
#include "dbase/Table.h"
#include "dbase/TestSeed.h"
#include "dbase/Transaction.h"
#include "maintenance/backup/DataTransfer.h"
#include "maintenance/backup/RestoreSwap.h"
#include "shell/SessionFixture.h"

namespace kavina::maintenance {
namespace {

using shell::testing::appendRow;
using shell::testing::column;
using shell::testing::SessionFixture;
namespace fs = std::filesystem;

// Every file of a folder (and of its subfolders, with their path) by name, with its bytes.
using FolderImage = std::map<std::string, std::string>;

FolderImage imageOf(const std::string& folder) {
    FolderImage image;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        image[fs::relative(entry.path(), folder).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The engine's lock file holds no data; opening a table may create it.
    image.erase(dbase::kFolderLockName);
    return image;
}

class BackupTest : public SessionFixture {
protected:
    testing_support::TestFolder out;
    std::string archivePath = out.file("mentes.kvb");

    void backup() {
        DataBackup job(dm, prompt);
        ASSERT_EQ(job.run(QString::fromStdString(archivePath)), BackupOutcome::Done);
    }
    bool restore(const std::string& path) { return DataRestore(dm, prompt).run(QString::fromStdString(path)); }
    // An archive of the given entries, written without any check of their names.
    std::string archiveOf(const std::vector<std::pair<std::string, std::string>>& entries) {
        std::vector<archive::ArchiveInput> inputs;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string source = "src" + std::to_string(i);
            out.write(source, entries[i].second);
            inputs.push_back({out.file(source), entries[i].first});
        }
        const std::string path = out.file("kezi.kvb");
        archive::writeArchive(path, inputs);
        return path;
    }
    std::vector<ScriptedPrompt::Entry> restoreError(const QString& text) {
        return {{ScriptedPrompt::Kind::Message, "Adatok visszatöltése", text, Icon::Error, {}}};
    }
};

TEST_F(BackupTest, RestoreBringsBackEveryFileOfTheBackupByteForByte) {
    appendRow(dm.PartnerTable(), {{fields::Partner::NEV, "Kovács és Társa Kft."}});
    dir.write("sajat.txt", "idegen fájl");
    backup();
    const FolderImage saved = imageOf(dir.path());

    appendRow(dm.PartnerTable(), {{fields::Partner::NEV, "Később Bt."}});
    dir.write("sajat.txt", "megváltozott");
    dir.write("uj.txt", "a mentés után készült");
    ASSERT_TRUE(restore(archivePath));

    FolderImage after = imageOf(dir.path());
    EXPECT_EQ(after.at("uj.txt"), "a mentés után készült");  // not in the archive: stays
    after.erase("uj.txt");
    EXPECT_EQ(after, saved);
    EXPECT_EQ(column(dm.PartnerTable(), fields::Partner::NEV).filter("Kovács és Társa Kft.").size(), 1);
    EXPECT_TRUE(column(dm.PartnerTable(), fields::Partner::NEV).filter("Később Bt.").isEmpty());
    EXPECT_TRUE(dm.UserTable().isOpen());
    EXPECT_TRUE(dm.LoginTable().isOpen());
    EXPECT_TRUE(prompt.transcript().isEmpty()) << prompt.transcript().join('\n').toStdString();
    EXPECT_TRUE(testing_support::checkAllTables(dir.path()).empty());
}

TEST_F(BackupTest, ArchiveStoresBareNamesAndCompressesOnlyWhatIsNotCompressedAlready) {
    dir.write("logo.jpg", std::string(4096, 'x'));
    backup();
    archive::ZipReader reader(archivePath);
    std::map<std::string, uint64_t> sizes;
    for (const archive::EntryInfo& entry : reader.entries()) sizes[entry.name] = entry.size;
    EXPECT_TRUE(sizes.count("Szamla.dbf"));
    EXPECT_TRUE(sizes.count("logo.jpg"));
    EXPECT_FALSE(sizes.count(dbase::kFolderLockName));
    EXPECT_FALSE(fs::exists(archivePath + ".tmp"));
    EXPECT_TRUE(archive::storedUncompressed("LOGO.JPG"));
    EXPECT_TRUE(archive::storedUncompressed("szamla.pdf"));
    EXPECT_FALSE(archive::storedUncompressed("Szamla.dbf"));
    // The compressed size of the picture is its own size: it was stored.
    EXPECT_LT(fs::file_size(archivePath), fs::file_size(dir.file("Szamla.dbf")) + 4096 * 2 + 100000);
}

TEST_F(BackupTest, BackupSavedIntoTheDataFolderLeavesItselfOut) {
    archivePath = dir.file("mentes.kvb");
    backup();
    backup();  // the second sees the first archive in the folder and overwrites it
    archive::ZipReader reader(archivePath);
    for (const archive::EntryInfo& entry : reader.entries()) EXPECT_NE(entry.name, "mentes.kvb");
}

TEST_F(BackupTest, OtherInstancesRunningAskBeforeBackupAndStopTheRestore) {
    dbase::Table other(dir.path(), "userlog.dbf");
    other.open();
    prompt.answerYesNo(false);
    EXPECT_EQ(DataBackup(dm, prompt).run(QString::fromStdString(archivePath)), BackupOutcome::Cancelled);
    EXPECT_FALSE(fs::exists(archivePath));
    prompt.answerYesNo(true);
    EXPECT_EQ(DataBackup(dm, prompt).run(QString::fromStdString(archivePath)), BackupOutcome::Done);
    const ScriptedPrompt::Entry question{ScriptedPrompt::Kind::YesNo,
                                         "Adatok mentése",
                                         "Más munkaállomások is használják az adatbázist. Amit közben rögzítenek, "
                                         "abból a mentés hiányos vagy ellentmondásos lehet.\nFolytatja a mentést?",
                                         Icon::Warning,
                                         {}};
    EXPECT_EQ(prompt.entries(), std::vector<ScriptedPrompt::Entry>({question, question}));

    const FolderImage before = imageOf(dir.path());
    EXPECT_FALSE(restore(archivePath));
    EXPECT_EQ(prompt.entries().back(),
              restoreError("Az adatbázist más munkaállomás is használja, ezért a visszatöltés nem indítható!\n"
                           "Kérem, zárja be a programot a többi munkaállomáson, és próbálja újra.")
                  .front());
    EXPECT_EQ(imageOf(dir.path()), before);
    EXPECT_TRUE(dm.UserTable().isOpen());
}

TEST_F(BackupTest, HostileEntryNamesChangeNothingInOrBesideTheFolder) {
    const std::string table = dir.read("Partner.dbf");
    const std::vector<std::string> hostile{"../kivul.dbf",
                                           "/tmp/kavina-abs.dbf",
                                           "sub/Partner.dbf",
                                           "a\\Partner.dbf",
                                           "C:Partner.dbf",
                                           "Par\ttner.dbf",
                                           "..",
                                           "kavina.rst",
                                           ""};
    for (const std::string& name : hostile) {
        SCOPED_TRACE(name);
        const std::string path = archiveOf({{"Partner.dbf", table}, {name, "rossz"}});
        const FolderImage before = imageOf(dir.path());
        EXPECT_FALSE(restore(path));
        EXPECT_EQ(imageOf(dir.path()), before);
        EXPECT_FALSE(fs::exists(fs::path(dir.path()).parent_path() / "kivul.dbf"));
        EXPECT_FALSE(fs::exists("/tmp/kavina-abs.dbf"));
        EXPECT_EQ(prompt.entries().back(),
                  restoreError("A mentés olyan fájlneveket tartalmaz, amelyeket a program nem tölt vissza:\n" +
                               QString::fromStdString(name) + "\nAz adatok nem változtak.")
                      .front());
    }
    const std::string twice = archiveOf({{"Partner.dbf", table}, {"PARTNER.DBF", table}});
    EXPECT_FALSE(restore(twice));
    EXPECT_EQ(
        prompt.entries().back(),
        restoreError("A mentés ugyanazt a fájlt többször tartalmazza:\nPARTNER.DBF\nAz adatok nem változtak.").front());
}

TEST_F(BackupTest, FlippedByteOrBrokenTableHeaderChangesNothing) {
    for (int i = 0; i < 200; ++i) appendRow(dm.PartnerTable(), {{fields::Partner::NEV, QString("Partner %1").arg(i)}});
    backup();
    appendRow(dm.PartnerTable(), {{fields::Partner::NEV, "Utána"}});
    const FolderImage before = imageOf(dir.path());

    std::string bytes = out.read("mentes.kvb");
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x10);
    out.write("mentes.kvb", bytes);
    EXPECT_FALSE(restore(archivePath));
    EXPECT_EQ(imageOf(dir.path()), before);
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_TRUE(prompt.entries().back().text.startsWith("A mentés sérült, ezért nem tölthető vissza:\n"))
        << prompt.entries().back().text.toStdString();
    EXPECT_TRUE(prompt.entries().back().text.endsWith("\nAz adatok nem változtak."));

    // Sound as an archive, but the table inside is not a table.
    const std::string path = archiveOf({{"Partner.dbf", "nem tábla, csak szöveg"}});
    EXPECT_FALSE(restore(path));
    EXPECT_EQ(imageOf(dir.path()), before);
    EXPECT_TRUE(prompt.entries().back().text.startsWith("A mentés sérült, ezért nem tölthető vissza:\nPartner.dbf"));

    out.write("nem.kvb", "ez nem zip");
    EXPECT_FALSE(restore(out.file("nem.kvb")));
    EXPECT_EQ(imageOf(dir.path()), before);
    EXPECT_FALSE(fs::exists(dir.file(kRestoreStagingFolder)));
    EXPECT_EQ(column(dm.PartnerTable(), fields::Partner::NEV).filter("Utána").size(), 1);
}

TEST_F(BackupTest, TheCommandsOfferTheDefaultNameInTheSaveFolderAndStopOnCancel) {
    QString ran;
    TransferCommandContext context{.prompt = prompt,
                                   .saveFolder = "/mentesek",
                                   .now = [] { return QDateTime(QDate(2008, 3, 15), QTime(14, 30, 59)); },
                                   .runBackupWindow =
                                       [&ran](const QString& path) {
                                           ran = path;
                                           return BackupOutcome::Done;
                                       },
                                   .runRestoreWindow =
                                       [&ran](const QString& path) {
                                           ran = path;
                                           return true;
                                       }};
    prompt.answerFile(std::nullopt);
    EXPECT_EQ(backupCommand(context), BackupOutcome::Cancelled);
    prompt.answerFile("/mentesek/heti");
    EXPECT_EQ(backupCommand(context), BackupOutcome::Done);
    EXPECT_EQ(ran, "/mentesek/heti.kvb");
    prompt.answerFile(std::nullopt);
    EXPECT_FALSE(restoreCommand(context));
    EXPECT_EQ(ran, "/mentesek/heti.kvb");
    const ScriptedPrompt::Entry save{ScriptedPrompt::Kind::File, "Adatok mentése",
                                     "Kavina backup (*.kvb);;Minden fájl (*)", Icon::None, "/mentesek"};
    const ScriptedPrompt::Entry load{ScriptedPrompt::Kind::File, "Adatok visszatöltése",
                                     "Kavina backup (*.kvb);;Minden fájl (*)", Icon::None, "/mentesek"};
    EXPECT_EQ(prompt.entries(), std::vector<ScriptedPrompt::Entry>({save, save, load}));
    EXPECT_EQ(defaultBackupName(context.now()), "Kavina(080315_1430).kvb");
}

// A restore killed in a child process: at each step of the swap, and at random moments of
// the whole run. Whatever the moment, finishing the interrupted restore (as start-up does)
// leaves either the folder as it was or the archive's files in full.
class RestoreCrashTest : public BackupTest {
protected:
    FolderImage before;
    FolderImage restored;
    std::size_t fileCount = 0;

    void SetUp() override {
        for (int i = 0; i < 300; ++i)
            appendRow(dm.PartnerTable(), {{fields::Partner::NEV, QString("Régi partner %1").arg(i)}});
        for (int i = 0; i < 6; ++i) dir.write("kep" + std::to_string(i) + ".txt", std::string(200000 + i, 'k'));
        backup();
        fileCount = archive::ZipReader(archivePath).entries().size();
        dm.close();
        // What a full restore gives: the archive's files over a folder changed since.
        testing_support::TestFolder probe;
        fs::copy(dir.path(), probe.path(), fs::copy_options::overwrite_existing);
        restoreArchive(probe.path(), archivePath);
        restored = imageOf(probe.path());
    }
    void change() {
        dbase::Table partners(dir.path(), "Partner.dbf");
        partners.open();
        partners.append();
        partners.setString("NEV", "Új partner a mentés után");
        partners.post();
        partners.close();
        for (int i = 0; i < 6; ++i) dir.write("kep" + std::to_string(i) + ".txt", "megváltozott");
    }
    void restoreKilled(const std::function<void(pid_t)>& killer, std::size_t killAtSwap) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RestoreObserver observer;
            observer.swapping = [killAtSwap](std::size_t swapped) {
                if (swapped == killAtSwap) ::raise(SIGKILL);
            };
            try {
                restoreArchive(dir.path(), archivePath, observer);
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        killer(child);
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    void expectAsBeforeOrRestored(const FolderImage& changed) {
        finishInterruptedRestore(dir.path());
        const FolderImage now = imageOf(dir.path());
        EXPECT_TRUE(now == changed || now == restored) << "a mixed folder";
        EXPECT_FALSE(fs::exists(dir.file(kRestoreStagingFolder)));
        EXPECT_FALSE(fs::exists(dir.file(kRestoreJournal)));
        EXPECT_TRUE(testing_support::checkAllTables(dir.path()).empty());
    }
};

TEST_F(RestoreCrashTest, KilledAtEveryStepOfTheSwap) {
    for (std::size_t step : {std::size_t(0), std::size_t(1), fileCount / 2, fileCount - 1, fileCount}) {
        SCOPED_TRACE(step);
        change();
        const FolderImage changed = imageOf(dir.path());
        restoreKilled([](pid_t) {}, step);
        finishInterruptedRestore(dir.path());
        // The journal was whole before the first rename: the restore is finished forwards.
        EXPECT_EQ(imageOf(dir.path()), restored);
        expectAsBeforeOrRestored(changed);
    }
}

TEST_F(RestoreCrashTest, KilledAtRandomMoments) {
    const unsigned seed = testing_support::testSeed();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    const auto start = std::chrono::steady_clock::now();
    restoreKilled([](pid_t) {}, std::size_t(-1));
    const auto full = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    int asBefore = 0;
    for (int round = 0; round < 12; ++round) {
        change();
        const FolderImage changed = imageOf(dir.path());
        const auto delay = std::chrono::microseconds(random() % (full.count() + 1));
        restoreKilled(
            [delay](pid_t child) {
                std::this_thread::sleep_for(delay);
                ::kill(child, SIGKILL);
            },
            std::size_t(-1));
        finishInterruptedRestore(dir.path());
        if (imageOf(dir.path()) == changed) ++asBefore;
        expectAsBeforeOrRestored(changed);
    }
    std::printf("restores killed before their swap: %d of 12\n", asBefore);
}

}  // namespace
}  // namespace kavina::maintenance
