// The real program with a plugin in its folder: the plugin named as the first argument starts
// right after loading, and closing the program stops it.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>

#include "dbase/TestFolder.h"
#include "foundation/NewDataFolder.h"

namespace kavina::support {
namespace {

namespace fs = std::filesystem;

const QString kProgram = QStringLiteral(KAVINA_BIN_DIR "/kavina");

class PluginProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(kProgram)) GTEST_SKIP() << "kavina is not built in this tree";
        createDataFolder(data.path(), {.demo = true});
        std::error_code ec;
        fs::create_hard_link(kProgram.toStdString(), program.file("kavina"), ec);
        if (ec) fs::copy_file(kProgram.toStdString(), program.file("kavina"));
        fs::copy_file(std::string(KAVINA_TEST_PLUGIN_DIR) + "/good.kvp", program.file("good.kvp"));
        fs::copy_file(std::string(KAVINA_TEST_PLUGIN_DIR) + "/nostart.kvp", program.file("nostart.kvp"));
        program.write("kavinaextra.ini", "[adatok]\ndatabase='" + data.path() + "/'\nkilepett=1\nnologo=1\n");
    }

    QString file(const char* name) const { return QString::fromStdString(program.file(name)); }
    QString read(const char* name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    testing_support::TestFolder data;
    testing_support::TestFolder program;
};

TEST_F(PluginProcessTest, ThePluginNamedOnTheCommandLineStartsAfterLoadingAndStopsAtTheEnd) {
    QProcess kavina;
    kavina.setProgram(file("kavina"));
    kavina.setArguments({"--transcript", file("transcript.txt"), "good.kvp"});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KAVINA_TEST_PLUGIN_LOG", file("calls.log"));
    kavina.setProcessEnvironment(env);
    kavina.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return read("calls.log").contains("good Start"); }, 30000))
        << read("transcript.txt").toStdString();
    kavina.terminate();
    ASSERT_TRUE(kavina.waitForFinished(15000));

    const QString folders =
        "good folders " + QString::fromStdString(data.path()) + " " + QString::fromStdString(program.path()) + "\n";
    EXPECT_EQ(read("calls.log").toStdString(),
              ("good AutoStart\n" + folders + "good Start\ngood AutoStop\n").toStdString());
    // The library without PluginStart was named in the one warning and never called.
    EXPECT_TRUE(read("transcript.txt").contains("nostart.kvp: hiányzó belépési pont: PluginStart"))
        << read("transcript.txt").toStdString();
}

}  // namespace
}  // namespace kavina::support
