// The main sequence of start-up against a program folder and a data folder: the ini file of a
// first start, the refusals, the repair of lost index files, the purge, the sign-in, the
// crash flag and the reindex decision, and the data fix.

#include "shell/startup/Startup.h"

#include <QDir>
#include <QFile>
#include <filesystem>

#include "SessionFakes.h"
#include "SessionFixture.h"
#include "dbase/Table.h"
#include "foundation/NewDataFolder.h"
#include "maintenance/backup/RestoreSwap.h"
#include "maintenance/reindex/Reindex.h"
#include "shell/startup/SessionState.h"
#include "shell/users/Login.h"
#include "shell/users/LoginPassword.h"

namespace kavina::shell::testing {
namespace {

namespace fs = std::filesystem;

class StartupTest : public ProgramFixture {
protected:
    StartupTest() {
        createDataFolder(data.path(), {.today = QDate(2024, 5, 17)});
        windows.onReindex = [this] { maintenance::Reindex(state.data, prompt, {}).run(); };
    }
    void writeIni(const QString& extra = {}) {
        program.write("kavinaextra.ini",
                      ("[adatok]\ndatabase='" + QString::fromStdString(data.path()) + "/'\n" + extra).toStdString());
    }
    // Rows and users put in before start-up, through a handle of their own on the fields' table.
    void append(std::initializer_list<std::pair<Field, QString>> values) {
        TableHandle h(data.path(), std::string(values.begin()->first.table));
        h.open();
        appendRow(h, values);
    }
    QStringList columnOf(const Field& field) {
        TableHandle h(data.path(), std::string(field.table));
        h.open();
        return shell::testing::column(h, field);
    }
    StartupOutcome start() { return Startup(state, windows, systemPrinters, {}).run(); }

    FakeWindows windows;
    QStringList systemPrinters{"Irodai lézer"};
};

TEST_F(StartupTest, FirstStartWritesTheIniThroughTheFolderDialogWithoutCrashBox) {
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    windows.folder = QString::fromStdString(data.path());
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_TRUE(ini().startsWith("[adatok]\ndatabase='" + QString::fromStdString(data.path()) + "/'\n"))
        << ini().toStdString();
    EXPECT_TRUE(ini().contains("kilepett=0"));
    EXPECT_EQ(windows.calls, QStringList({"folder", "splash"}));
    EXPECT_TRUE(prompt.transcript().isEmpty());
    EXPECT_EQ(state.session.currentUser, "Kata");
    EXPECT_EQ(state.session.dataFolder, QString::fromStdString(data.path()));
    EXPECT_TRUE(state.data.tranzakcio().isOpen());
}

// A restore killed after its journal was written: the staged settings table (a copy with a
// company name of its own) is put in place before any table is opened.
TEST_F(StartupTest, ARestoreStoppedDuringItsSwapIsFinishedFirst) {
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    writeIni("kilepett=1\n");
    const std::string staging = data.file(maintenance::kRestoreStagingFolder);
    fs::create_directory(staging);
    std::string journal = "kavina-restore 1\n";
    for (const auto& entry : fs::directory_iterator(data.path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("user.", 0) != 0) continue;
        fs::copy_file(entry.path(), staging + "/" + name);
        journal += name + "\t" + name + "\n";
    }
    {
        TableHandle settings(staging, "user.dbf");
        settings.open();
        appendRow(settings, {{fields::User::USER1, "Visszatöltött Kft."}});
    }
    data.write(maintenance::kRestoreJournal, journal + "end\n");
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_EQ(columnOf(fields::User::USER1), QStringList({"Visszatöltött Kft."}));
    EXPECT_FALSE(fs::exists(staging));
    EXPECT_FALSE(fs::exists(data.file(maintenance::kRestoreJournal)));
    EXPECT_EQ(prompt.transcript().first(),
              "message|information|Figyelem!|A legutóbbi adatvisszatöltés megszakadt. A program most befejezte: az "
              "adatok a mentés szerintiek.");
}

TEST_F(StartupTest, LeavingTheFolderDialogEndsWithoutAnIniFile) {
    EXPECT_EQ(start(), StartupOutcome::Exit);
    EXPECT_FALSE(QFile::exists(state.iniPath()));
}

TEST_F(StartupTest, AMissingDataFolderEndsWithItsMessage) {
    program.write("kavinaextra.ini", "[adatok]\ndatabase=nincs\n");
    EXPECT_EQ(start(), StartupOutcome::Exit);
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|error|Figyelem!|A rendszer nem találja a megadott elérési utat!\nAz adatbázis nem "
                           "található a(z) " +
                           QString::fromStdString(program.path()) +
                           "/nincs könyvtárban!\n\n"
                           "Lehetséges, hogy hálózati meghajtó nincs csatlakoztatva, vagy az elérési út hibásan van "
                           "bejegyzezve a kavinaextra.ini fájlban. Kérem, ellenőrizze a \"database\" kulcshoz rendelt "
                           "bejegyzést."}));
}

TEST_F(StartupTest, AnEmptyFolderChosenAtFirstStartIsToldInHungarianAndMayGetANewDatabase) {
    testing_support::TestFolder empty;
    const QString folder = QString::fromStdString(empty.path());
    windows.folder = folder;
    const QString question = "yes/no|question|Figyelem!|A(z) " + folder +
                             " könyvtárban nincs Kavina adatbázis!\n\nLétrehozza most ebben a könyvtárban a program "
                             "új, üres adatbázisát?";
    prompt.answerYesNo(false);
    EXPECT_EQ(start(), StartupOutcome::Exit);
    EXPECT_EQ(prompt.transcript(), QStringList({question}));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());

    prompt.answerYesNo(true);
    // The login window of a new folder makes its first user and signs them in.
    windows.onLogin = [this] {
        Login login(state.data.JogTable(), *state.log, state.session, prompt, state.clock);
        return login.createFirstUser() && login.signIn("Rendszergazda", "") == LoginOutcome::SignedIn;
    };
    EXPECT_EQ(start(), StartupOutcome::Run);
    EXPECT_EQ(prompt.transcript(), QStringList({question, question}));
    EXPECT_TRUE(QFile::exists(folder + "/user.dbf"));
}

TEST_F(StartupTest, AFolderWithOtherTablesButNoSettingsTableIsRefused) {
    testing_support::TestFolder other;
    other.write("adat.dbf", "x");
    program.write("kavinaextra.ini", "[adatok]\ndatabase='" + other.path() + "/'\n");
    EXPECT_EQ(start(), StartupOutcome::Exit);
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|error|Figyelem!|A(z) " + QString::fromStdString(other.path()) +
                           " könyvtár nem Kavina adatbázis: hiányzik belőle a beállítások táblája (user.dbf).\n\n"
                           "Kérem, ellenőrizze a kavinaextra.ini fájlban a \"database\" kulcshoz rendelt "
                           "bejegyzést."}));
}

TEST_F(StartupTest, WithoutPrintersOnlyASwitchedOffPdfPrinterEndsTheProgram) {
    systemPrinters.clear();
    writeIni("pdfprinter=0\n");
    EXPECT_EQ(start(), StartupOutcome::Exit);
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|error|Figyelem!|A rendszer nem talál telepített nyomtatót!\n\nA program "
                           "használatához mindenképpen szükség van nyomtatóra, ezért kérem csatlakoztassa és "
                           "telepítse azt. "}));
    EXPECT_FALSE(ini().contains("kilepett"));
}

TEST_F(StartupTest, AFolderHeldExclusivelyEndsWithTheWarningAndChangesNothing) {
    writeIni("kilepett=1\n");
    dbase::Table holder(data.path(), "user.dbf");
    holder.open({.exclusive = true});
    append({{fields::Userlog::USER, "old"}, {fields::Userlog::TIME, "10:00:00"}});
    EXPECT_EQ(start(), StartupOutcome::Exit);
    EXPECT_EQ(
        prompt.transcript(),
        QStringList({"message|warning|Figyelem!|A program adatbázisa kizárólagos használatban van!\n\nLehet, hogy "
                     "a rendszergazda karbantartást végez a program adatbázisain.\nA belépéshez kérjen "
                     "segítséget a rendszergazdától, vagy próbálkozzon később."}));
    EXPECT_EQ(columnOf(fields::Userlog::USER), QStringList({"old"}));
    EXPECT_TRUE(ini().contains("kilepett=1"));
}

TEST_F(StartupTest, StaleRowsArePurgedAndLostUserIndexesRepairedBeforeTheSignIn) {
    writeIni("kilepett=1\n");
    append({{fields::Userlog::USER, "fresh"}, {fields::Userlog::TIME, "15:00:01"}});
    append({{fields::Userlog::USER, "stale"}, {fields::Userlog::TIME, "15:00:00"}});
    append({{fields::Userlog::USER, "no-time"}});
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    fs::remove(fs::path(data.path()) / "userlog.mdx");
    fs::remove(fs::path(data.path()) / "Jogok.mdx");
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_TRUE(fs::exists(fs::path(data.path()) / "userlog.mdx"));
    EXPECT_TRUE(fs::exists(fs::path(data.path()) / "Jogok.mdx"));
    EXPECT_EQ(state.data.LoginTable().order(), "USER");
    // The repaired indexes do not call for a reindex; the new row is this instance's own.
    EXPECT_EQ(windows.calls, QStringList({"splash"}));
    EXPECT_EQ(columnOf(fields::Userlog::USER), QStringList({"fresh", "no-time", "Kata"}));
}

TEST_F(StartupTest, ACrashedRunShowsTheCrashBoxAndReindexes) {
    writeIni("kilepett=0\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_EQ(windows.calls, QStringList({"reindex"}));
    EXPECT_EQ(prompt.transcript(), QStringList({"message|information|Figyelem!|" + crashBoxText()}));
    EXPECT_TRUE(crashBoxText().contains("szabálytalanul lett leállítva! \n"));
    EXPECT_TRUE(ini().contains("kilepett=0"));
}

TEST_F(StartupTest, AJournalThatCouldNotBeRolledBackInFullIsToldToTheClerk) {
    writeIni("kilepett=1\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    data.write("kavina.jnl.damaged", "an earlier one nobody has looked at yet");
    data.write("kavina.jnl", "KVJNL001\x07 a save cut short");
    ASSERT_EQ(start(), StartupOutcome::Run);
    const QString earlier = QString::fromStdString(data.file("kavina.jnl.damaged"));
    const QString kept = QString::fromStdString(data.file("kavina.jnl.damaged2"));
    EXPECT_EQ(data.read("kavina.jnl.damaged"), "an earlier one nobody has looked at yet");
    EXPECT_TRUE(QFile::exists(kept));
    const QString both = earlier + "\n" + kept;
    EXPECT_EQ(prompt.transcript(), QStringList({"message|warning|Figyelem!|" + damagedJournalText(both)}));
    EXPECT_TRUE(damagedJournalText(both).contains("A naplót a program félretette: " + both + "\n\n"));
    EXPECT_TRUE(damagedJournalText(both).endsWith("majd törölje ezt a fájlt."));
}

TEST_F(StartupTest, AutoindexReindexesAtEveryStart) {
    writeIni("kilepett=1\nautoindex=1\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_EQ(windows.calls, QStringList({"reindex"}));
    EXPECT_TRUE(prompt.transcript().isEmpty());
}

TEST_F(StartupTest, AMissingBarcodeIndexCountsOnlyWithItsTable) {
    writeIni("kilepett=1\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    fs::remove(fs::path(data.path()) / "vonalkod.mdx");
    fs::remove(fs::path(data.path()) / "vonalkod.dbf");
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_TRUE(windows.calls.isEmpty());
    EXPECT_FALSE(state.data.vonalkodTable().isOpen());
}

TEST_F(StartupTest, AMissingWarehouseIndexWithItsTableAsksForAReindex) {
    writeIni("kilepett=1\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    fs::remove(fs::path(data.path()) / "raktar.mdx");
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_EQ(windows.calls, QStringList({"reindex"}));
    EXPECT_TRUE(fs::exists(fs::path(data.path()) / "raktar.mdx"));
    EXPECT_EQ(state.data.raktar().order(), "MEGNEVEZES");
}

TEST_F(StartupTest, TwoUsersOneWithoutPasswordShowTheLoginWindow) {
    writeIni("kilepett=1\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    append({{fields::Jogok::FELHASZNAL, "Péter"}, {fields::Jogok::JELSZO, "x"}});
    EXPECT_EQ(start(), StartupOutcome::Exit);  // the login window closed without a sign-in
    EXPECT_EQ(windows.calls, QStringList({"login"}));
    EXPECT_TRUE(ini().contains("kilepett=1"));
}

TEST_F(StartupTest, TheLoginWindowSignsInAndRightsComeFromTheUser) {
    writeIni("kilepett=1\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}, {fields::Jogok::JELSZO, "Alma"}, {fields::Jogok::JOGOK, "B9"}});
    windows.onLogin = [this] {
        Login login(state.data.JogTable(), *state.log, state.session, prompt, state.clock);
        return login.signIn("kata", "ALMA") == LoginOutcome::SignedIn;
    };
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_EQ(state.session.currentRights, "B9");
    EXPECT_TRUE(state.session.mainWindowRightsApply);
    EXPECT_EQ(columnOf(fields::Userlog::TIME), QStringList({"15:00:30"}));
}

TEST_F(StartupTest, CashSalesStoredAsInvoicesGetTheirOwnType) {
    writeIni("kilepett=1\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    append({{fields::Szamla::SZAMLASZAM, "PGÉ2008/00001"}, {fields::Szamla::SZAMLATIP, "S"}});
    append({{fields::Szamla::SZAMLASZAM, "PGÉ2008/00002"}, {fields::Szamla::SZAMLATIP, "S"}});
    append({{fields::Szamla::SZAMLASZAM, "SZA2008/00001"}, {fields::Szamla::SZAMLATIP, "S"}});
    append({{fields::Szamla::SZAMLASZAM, "PGÉ2008/00003"}, {fields::Szamla::SZAMLATIP, "T"}});
    ASSERT_EQ(start(), StartupOutcome::Run);
    EXPECT_EQ(columnOf(fields::Szamla::SZAMLATIP), QStringList({"2", "2", "S", "T"}));
    EXPECT_FALSE(state.data.SzamlaTable().filtered());
    EXPECT_EQ(state.data.SzamlaTable().asString(fields::Szamla::SZAMLASZAM), "PGÉ2008/00001");
}

// The bytes this process has read from files so far (the kernel's count).
uint64_t bytesReadSoFar() {
    QFile io("/proc/self/io");
    if (!io.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> lines = io.readAll().split('\n');
    for (const QByteArray& line : lines)
        if (line.startsWith("rchar:")) return line.mid(6).trimmed().toULongLong();
    return 0;
}

// The cash-sale fix reads the stretch of document numbers it may change, not every header:
// a start does not slow down as documents accumulate.
TEST_F(StartupTest, TheCashSaleFixReadsOnlyTheCashSaleNumbers) {
    writeIni("kilepett=1\nnologo=1\n");
    append({{fields::Jogok::FELHASZNAL, "Kata"}});
    {
        dbase::Table headers(data.path(), "Szamla.dbf");
        headers.open();
        headers.beginBulkAppend();
        for (int n = 1; n <= 20000; ++n) {
            headers.append();
            headers.setString(fields::Szamla::SZAMLASZAM.text(), "SZA2024/" + std::to_string(100000 + n));
            headers.setString(fields::Szamla::SZAMLATIP.text(), "S");
            headers.post();
        }
        headers.endBulkAppend();
    }
    append({{fields::Szamla::SZAMLASZAM, "PGÉ2008/00001"}, {fields::Szamla::SZAMLATIP, "S"}});
    const uint64_t tableBytes = fs::file_size(fs::path(data.path()) / "Szamla.dbf");
    const uint64_t before = bytesReadSoFar();
    ASSERT_EQ(start(), StartupOutcome::Run);
    const uint64_t read = bytesReadSoFar() - before;
    ASSERT_GT(before, 0u) << "no read count from the kernel";
    EXPECT_LT(read, tableBytes / 4) << read << " bytes read at start-up, the headers are " << tableBytes;
    EXPECT_EQ(columnOf(fields::Szamla::SZAMLATIP).last(), "2");
    EXPECT_EQ(columnOf(fields::Szamla::SZAMLATIP).first(), "S");
}

}  // namespace
}  // namespace kavina::shell::testing
