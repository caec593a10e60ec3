#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QUrlQuery>

#include "TestServers.h"
#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "support/update/UpdateCheck.h"

namespace kavina::support {
namespace {

class RecordingStatus : public UpdateStatus {
public:
    QStringList texts;
    qint64 range = -1;
    qint64 advanced = 0;
    int begun = 0;
    int ended = 0;
    void begin() override { ++begun; }
    void setStatusText(const QString& text) override { texts << text; }
    void showProgress(qint64 r) override { range = r; }
    void advanceProgress(qint64 bytes) override { advanced += bytes; }
    void end() override { ++ended; }
};

const QString kSearching = QStringLiteral("Internetes frissítés keresése...");
const QString kFailed = QStringLiteral("message|error|Figyelem|Sikertelen letöltés. A frissítés megszakadt.");

class UpdateCheckTest : public ::testing::Test {
protected:
    static inline testing_support::TestFolder* certs = nullptr;
    static inline std::unique_ptr<TestServer> server;
    static inline QString root;

    static void SetUpTestSuite() {
        certs = new testing_support::TestFolder;
        root = QString::fromStdString(certs->path());
        ASSERT_TRUE(makeCertificate(root + "/cert.pem", root + "/key.pem"));
        server = std::make_unique<TestServer>(QStringLiteral("http_server.py"),
                                              QStringList{root, root + "/cert.pem", root + "/key.pem"});
    }
    static void TearDownTestSuite() {
        server.reset();
        delete certs;
    }

    testing_support::TestFolder program;
    ScriptedPrompt prompt;
    RecordingStatus status;
    QStringList started;
    bool startWorks = true;
    int ended = 0;
    QByteArray updater = QByteArray(3000, 'u') + "vége";

    static void put(const QString& name, const QByteArray& bytes) {
        QFile file(root + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void serve(const QByteArray& jav, const QByteArray& mode = "ok", const QByteArray& checksum = {}) {
        const QByteArray sum =
            checksum.isEmpty() ? QCryptographicHash::hash(updater, QCryptographicHash::Sha256).toHex() : checksum;
        put("version.ini", "[version]\r\njav=" + jav + "\r\nsize=" + QByteArray::number(updater.size()) +
                               "\r\nsha256=" + sum + "\r\n");
        put("updater", updater);
        put("mode", mode);
        QFile::remove(root + "/requests.log");
    }
    QString programFolder() const { return QString::fromStdString(program.path()); }
    QString updaterPath() const { return QDir(programFolder()).filePath(kUpdaterFileName); }
    void run(const QString& server = {}) {
        SupportSettings settings;
        settings.updateServer =
            server.isEmpty() ? "https://127.0.0.1:" + QString::number(UpdateCheckTest::server->port()) : server;
        settings.caFile = root + "/cert.pem";
        settings.timeoutSeconds = 5;
        UpdateCheck({.settings = settings,
                     .programFolder = programFolder(),
                     .buildDate = QDate(2008, 3, 15),
                     .query = {.computerName = "PC 1",
                               .userName = "anna",
                               .ip = "10.0.0.5",
                               .buildDate = "2008.03.15",
                               .header = {"Kovács & Tsa", "Bt.", "Győr, Fő u. 1.", {}, {}}},
                     .prompt = prompt,
                     .status = status,
                     .start =
                         [this](const QString& program, const QString& folder) {
                             started << program + "|" + folder;
                             return startWorks;
                         },
                     .endProgram = [this] { ++ended; }})
            .run();
        EXPECT_EQ(status.begun, 1);
        EXPECT_EQ(status.ended, 1);
    }
};

TEST_F(UpdateCheckTest, SameDateOffersNothing) {
    serve("2008.03.15");
    run();
    EXPECT_EQ(status.texts, (QStringList{kSearching, kSearching + " SIKERES", "Nincs elérhető frissítés!"}));
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_TRUE(QFile::exists(QDir(programFolder()).filePath("version.ini")));
}

TEST_F(UpdateCheckTest, VerifiedUpdaterIsStartedThenTheProgramEnds) {
    serve("2008.03.16");
    prompt.answerYesNo(true);
    run();
    EXPECT_EQ(status.texts, (QStringList{kSearching, kSearching + " SIKERES", "Letöltés:"}));
    EXPECT_EQ(status.range, updater.size());
    EXPECT_EQ(status.advanced, updater.size());
    EXPECT_EQ(prompt.transcript(),
              (QStringList{"yes/no|question|Figyelem!|Van elérhető frissítés! Szeretné letölteni?",
                           "message|information|Figyelem|A Kavina verzió frissítő sikeresen letöltődött!\nA "
                           "folyatatáshoz ki kell lépni a programból."}));
    QFile file(updaterPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), updater);
    EXPECT_TRUE(file.permissions() & QFileDevice::ExeOwner);
    EXPECT_EQ(started, QStringList{updaterPath() + "|" + programFolder()});
    EXPECT_EQ(ended, 1);
    // The query's values arrive whole: a "&" or an accented letter does not split them.
    QFile log(root + "/requests.log");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> requests = log.readAll().trimmed().split('\n');
    ASSERT_EQ(requests.size(), 2);
    const QByteArray query = requests[1].mid(requests[1].indexOf('?') + 1);
    EXPECT_EQ(query,
              "cname=PC%201&uname=anna&ip=10.0.0.5&ver=2008.03.15&name=Kov%E1cs%20%26%20Tsa%20Bt."
              "&adr=Gy%F5r%2C%20F%F5%20u.%201.");
    QString adr;
    for (const QByteArray& pair : query.split('&'))
        if (pair.startsWith("adr="))
            adr = QString(QStringDecoder("windows-1250").decode(QByteArray::fromPercentEncoding(pair.mid(4))));
    EXPECT_EQ(adr, "Győr, Fő u. 1.");
}

TEST_F(UpdateCheckTest, NotFoundTruncatedOrWrongChecksumIsNeverStarted) {
    for (const auto& [mode, checksum] :
         std::vector<std::pair<QByteArray, QByteArray>>{{"404", {}}, {"truncated", {}}, {"ok", QByteArray(64, 'a')}}) {
        SCOPED_TRACE(mode.toStdString() + " " + checksum.toStdString());
        prompt = ScriptedPrompt();
        status = RecordingStatus();
        serve("2009.01.01", mode, checksum);
        prompt.answerYesNo(true);
        run();
        EXPECT_EQ(prompt.transcript().last(), kFailed);
        if (mode == "404") {
            EXPECT_EQ(status.advanced, 0);  // a not-found page is no progress
        }
        EXPECT_TRUE(started.isEmpty());
        EXPECT_EQ(ended, 0);
        EXPECT_FALSE(QFile::exists(updaterPath()));
        EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files), QStringList{"version.ini"});
    }
}

TEST_F(UpdateCheckTest, ProgramKeepsRunningWhenTheUpdaterCannotStart) {
    serve("2008.04.01");
    prompt.answerYesNo(true);
    startWorks = false;
    run();
    EXPECT_EQ(started.size(), 1);
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(prompt.transcript().last(),
              "message|error|Figyelem|A frissítő program nem indítható el. A frissítés megszakadt.");
}

TEST_F(UpdateCheckTest, DecliningDownloadsNothing) {
    serve("2008.04.01");
    prompt.answerYesNo(false);
    run();
    EXPECT_FALSE(QFile::exists(updaterPath()));
    EXPECT_EQ(status.range, -1);
}

TEST_F(UpdateCheckTest, NoServerOrAVersionFileWithoutADateSaysSikertelen) {
    run("https://127.0.0.1:1");
    EXPECT_EQ(status.texts, (QStringList{kSearching, kSearching + " SIKERTELEN!"}));
    status = RecordingStatus();
    put("version.ini", "[version]\r\njav=holnap\r\n");
    run();
    EXPECT_EQ(status.texts, (QStringList{kSearching, kSearching + " SIKERES", kSearching + " SIKERTELEN!"}));
    status = RecordingStatus();
    put("version.ini", "<html>valami</html>");  // no jav: compares as 2000.01.01
    run();
    EXPECT_EQ(status.texts.last(), "Nincs elérhető frissítés!");
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(UpdateCheckTest, CertificateNotTrustedIsNoConnection) {
    SupportSettings settings;
    serve("2009.01.01");
    // Without the test certificate the server is not trusted: nothing is fetched at all.
    UpdateCheck(
        {.settings = {.updateServer = "https://127.0.0.1:" + QString::number(server->port()), .timeoutSeconds = 5},
         .programFolder = programFolder(),
         .buildDate = QDate(2008, 3, 15),
         .prompt = prompt,
         .status = status,
         .start = [](const QString&, const QString&) { return true; },
         .endProgram = [] {}})
        .run();
    EXPECT_EQ(status.texts.last(), kSearching + " SIKERTELEN!");
    EXPECT_FALSE(QFile::exists(root + "/requests.log"));
}

}  // namespace
}  // namespace kavina::support
