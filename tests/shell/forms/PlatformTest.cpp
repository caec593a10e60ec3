// The desktop actions of the main window: which calculator and date settings start, the help
// file and its message when missing, the web links, and the ini keys that change them.

#include <QFile>
#include <QStandardPaths>

#include "MainWindowTestSupport.h"
#include "foundation/IniFile.h"

namespace kavina::shell::testing {
namespace {

class PlatformTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    RecordingDesktop desktop;
    RecordingStarter starter;
    ScriptedPrompt prompt;

    QString folder() const { return QString::fromStdString(dir.path()); }
    Platform platform(PlatformSettings settings = {}) { return Platform(settings, folder(), desktop, starter, prompt); }
};

TEST_F(PlatformTest, TheCalculatorIsTheFirstOfTheDesktopCalculatorsOnThePath) {
    starter.onPath = {"xcalc", "galculator"};
    platform().startCalculator();
    EXPECT_EQ(starter.started, QStringList({"/usr/bin/galculator"}));

    starter.onPath = {};
    platform().startCalculator();
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|Nem található számológép program a gépen.\n"
                           "A kavinaextra.ini fájl calculator kulcsában megadhatja, melyiket indítsa a program."}));
}

TEST_F(PlatformTest, IniKeysNameTheCalculatorTheDateCommandAndTheAddresses) {
    {
        IniFile ini(folder() + "/kavinaextra.ini");
        ini.write("adatok", {{"calculator", "speedcrunch --portable"},
                             {"datecommand", "\"time admin\" --now"},
                             {"supportmail", "help@example.hu"}});
    }
    const PlatformSettings settings = loadPlatformSettings(IniFile(folder() + "/kavinaextra.ini"));
    EXPECT_EQ(settings.makerSite, PlatformSettings().makerSite) << "a missing key keeps its default";
    starter.onPath = {"speedcrunch", "time admin", "gnome-calculator"};
    Platform p = platform(settings);
    p.startCalculator();
    p.openDateSettings();
    p.mailSupport();
    EXPECT_EQ(starter.started, QStringList({"/usr/bin/speedcrunch --portable", "/usr/bin/time admin --now"}));
    EXPECT_EQ(desktop.opened, QStringList({"mailto:help@example.hu?subject=Kavina"}));

    starter.works = false;
    p.startCalculator();
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|A számológép nem indítható el: speedcrunch --portable"}));
}

TEST_F(PlatformTest, DateSettingsTryTheKnownCommandsInOrder) {
    starter.onPath = {"time-admin"};
    platform().openDateSettings();
    EXPECT_EQ(starter.started, QStringList({"/usr/bin/time-admin"}));
    starter.onPath = {};
    platform().openDateSettings();
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].text,
              "A dátum és idő beállításai nem nyithatók meg.\n"
              "A kavinaextra.ini fájl datecommand kulcsában megadhatja a parancsot.");
}

TEST_F(PlatformTest, TheHelpFileOpensWhenItIsBesideTheProgramAndIsMissedInHungarianOtherwise) {
    platform().openHelp();
    EXPECT_TRUE(desktop.opened.isEmpty());
    EXPECT_EQ(prompt.transcript(), QStringList({"message|warning|Figyelem!|A program leírása (kavina.chm) nem "
                                                "található a program mappájában:\n" +
                                                folder()}));

    QFile help(folder() + "/kavina.chm");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    platform().openHelp();
    EXPECT_EQ(desktop.opened, QStringList({folder() + "/kavina.chm"}));

    desktop.works = false;
    platform().openHelp();
    EXPECT_EQ(prompt.entries().back().text,
              "A program leírása nem nyitható meg: nincs a gépen olyan program, "
              "amely a kavina.chm fájlt megjeleníti.");
}

TEST_F(PlatformTest, ALinkTheDesktopCannotOpenSaysSo) {
    desktop.works = false;
    platform().openMakerSite();
    EXPECT_EQ(desktop.opened, QStringList({"https://www.lumetra.hu/"}));
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|A hivatkozás nem nyitható meg: https://www.lumetra.hu/"}));
}

TEST(SystemProgramStarterTest, FindsProgramsOnThePathAndByPath) {
    SystemProgramStarter starter;
    EXPECT_EQ(starter.findProgram("sh"), QStandardPaths::findExecutable("sh"));
    EXPECT_EQ(starter.findProgram("/bin/sh"), "/bin/sh");
    EXPECT_EQ(starter.findProgram("/etc"), "") << "a folder is no program";
    EXPECT_EQ(starter.findProgram("kavina-no-such-calculator"), "");
}

}  // namespace
}  // namespace kavina::shell::testing
