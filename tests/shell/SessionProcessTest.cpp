// Real kavina processes (offscreen) on one data folder, each from a program folder of its own
// as on two workstations: the active-user rows, a clean and a killed end, the crash box and
// reindex of the next start, and the reindex refused while another instance runs.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>
#include <map>

#include "SessionFixture.h"
#include "foundation/NewDataFolder.h"
#include "maintenance/reindex/Reindex.h"
#include "shell/startup/SessionLog.h"
#include "shell/startup/SessionTranscript.h"
#include "shell/startup/Startup.h"

namespace kavina::shell::testing {
namespace {

namespace fs = std::filesystem;

const QString kProgram = QStringLiteral(KAVINA_BIN_DIR "/kavina");

// One workstation: a program folder with the program, its ini file and its transcript.
class Workstation {
public:
    Workstation(const QString& dataFolder) {
        const QString program = folder() + "/kavina";
        std::error_code ec;
        fs::create_hard_link(kProgram.toStdString(), program.toStdString(), ec);
        if (ec) fs::copy_file(kProgram.toStdString(), program.toStdString());
        m_folder.write("kavinaextra.ini",
                       ("[adatok]\ndatabase='" + dataFolder + "/'\nkilepett=1\nnologo=1\n").toStdString());
        m_process.setProgram(program);
        m_process.setArguments({"--transcript", transcriptPath(), "--answer", "igen"});
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        m_process.setProcessEnvironment(env);
    }
    ~Workstation() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QString folder() const { return QString::fromStdString(m_folder.path()); }
    QString transcriptPath() const { return folder() + "/transcript.txt"; }
    QString transcript() const { return QString::fromStdString(m_folder.read("transcript.txt")); }
    QString ini() const { return QString::fromStdString(m_folder.read("kavinaextra.ini")); }
    void setIni(const std::string& text) { m_folder.write("kavinaextra.ini", text); }
    bool running() const { return m_process.state() == QProcess::Running; }

    void start() { m_process.start(); }
    // A clean end asked for by the system (SIGTERM): the program signs out.
    bool terminate() {
        m_process.terminate();
        return m_process.waitForFinished(15000) && m_process.exitCode() == 0;
    }
    void killOutright() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    testing_support::TestFolder m_folder;
    QProcess m_process;
};

class SessionProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(kProgram)) GTEST_SKIP() << "kavina is not built in this tree";
        createDataFolder(data.path(), {.demo = true});
    }
    QString dataFolder() const { return QString::fromStdString(data.path()); }

    // The userlog.dbf rows, read through a handle opened only for the moment.
    QStringList rows(const char* field = "USER") const {
        TableHandle log(data.path(), "userlog.dbf");
        log.open();
        QStringList values = column(log, field);
        log.close();
        return values;
    }
    bool waitForRows(int count, int ms = 20000) const {
        return QTest::qWaitFor([&] { return rows().size() == count; }, ms);
    }
    std::map<std::string, std::string> tableBytesExceptUserlog() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(data.path())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("userlog", 0) != 0) files[name] = data.read(name);
        }
        return files;
    }

    testing_support::TestFolder data;
};

TEST_F(SessionProcessTest, TwoInstancesBothListedAndClosingOneRemovesOnlyItsRow) {
    Workstation first(dataFolder());
    Workstation second(dataFolder());
    first.start();
    ASSERT_TRUE(waitForRows(1)) << first.transcript().toStdString();  // the first user, signed in
    second.start();
    ASSERT_TRUE(waitForRows(2)) << second.transcript().toStdString();  // signed in automatically
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.ini().contains("kilepett=0"); }, 10000));
    EXPECT_EQ(activeUsersText(rows()),
              "Bejelentkezett felhasználók:\n============================\n"
              "Rendszergazda\nRendszergazda\n");
    EXPECT_TRUE(first.ini().contains("kilepett=0"));

    ASSERT_TRUE(first.terminate());
    EXPECT_EQ(rows().size(), 1);
    EXPECT_TRUE(first.ini().contains("kilepett=1"));
    EXPECT_TRUE(second.running());
    EXPECT_TRUE(second.ini().contains("kilepett=0"));
    EXPECT_EQ(first.transcript(), "");  // no crash box, no question on either
    EXPECT_EQ(second.transcript(), "");
    ASSERT_TRUE(second.terminate());
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(SessionProcessTest, AKilledInstanceLeavesItsTracesAndTheNextStartShowsTheCrashBoxAndReindexes) {
    Workstation station(dataFolder());
    station.start();
    ASSERT_TRUE(waitForRows(1)) << station.transcript().toStdString();
    // Signed in, and past the point where it marks itself running.
    ASSERT_TRUE(QTest::qWaitFor([&] { return station.ini().contains("kilepett=0"); }, 10000));
    station.killOutright();
    EXPECT_TRUE(station.ini().contains("kilepett=0"));
    ASSERT_EQ(rows().size(), 1);

    // A deleted document header occupies its place until a reindex packs the table.
    {
        TableHandle headers(data.path(), "Szamla.dbf");
        headers.open();
        appendRow(headers, {{"SZAMLASZAM", "SZA2024/00099"}});
        headers.last();
        headers.deleteRecord();
    }
    const auto sizeBefore = fs::file_size(data.file("Szamla.dbf"));
    station.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return fs::file_size(data.file("Szamla.dbf")) < sizeBefore; }, 20000));
    ASSERT_TRUE(waitForRows(2)) << station.transcript().toStdString();  // the dead row is too young
    EXPECT_EQ(station.transcript(), SessionTranscript::line("message", "Figyelem!", crashBoxText()) + "\n");
    ASSERT_TRUE(station.terminate());
    ASSERT_EQ(rows().size(), 1);

    // Thirty seconds on, the dead instance's row is purged by the next start.
    {
        TableHandle log(data.path(), "userlog.dbf");
        log.open();
        log.first();
        log.edit();
        log.setString("TIME", QTime::currentTime().addSecs(-31).toString("HH:mm:ss"));
        log.post();
    }
    station.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows().size() == 1 && station.ini().contains("kilepett=0"); }, 20000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return rows("TIME").first() >= QTime::currentTime().addSecs(-15).toString("HH:mm:ss"); }, 5000));
    ASSERT_TRUE(station.terminate());
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(SessionProcessTest, TheReindexRefusesWhileAnotherInstanceRunsAndChangesNothing) {
    Workstation station(dataFolder());
    station.start();
    ASSERT_TRUE(waitForRows(1)) << station.transcript().toStdString();
    TDataModule1 dm;
    dm.open(data.path());
    ScriptedPrompt prompt;
    const auto before = tableBytesExceptUserlog();
    EXPECT_FALSE(maintenance::Reindex(dm, prompt, {}).run());
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|error|Hiba|Az adatbázis használatban van, ezért nem lehet kizárólagos "
                           "használatra megnyitni!\n\rKérem próbálja meg később elindítani az újraindexelést."}));
    EXPECT_EQ(tableBytesExceptUserlog(), before);
    dm.close();
    ASSERT_TRUE(station.terminate());
}

}  // namespace
}  // namespace kavina::shell::testing
