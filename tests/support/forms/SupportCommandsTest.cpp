#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <map>
#include <stdexcept>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "support/update/forms/SupportCommands.h"

namespace kavina::support {
namespace {

class NoDesktop : public Desktop {
    bool openFile(const QString&) override { return true; }
};

TEST(SupportCommandsTest, UpdateCheckWithoutAServerSaysSoAndGivesTheStatusBarBack) {
    testing_support::TestFolder dir;
    const QString folder = QString::fromStdString(dir.path());
    TDataModule1 data;
    ScriptedPrompt prompt;
    NoDesktop desktop;
    QMainWindow window;
    auto* panel = new QLabel(QStringLiteral("Ügyintéző: Anna"));
    panel->setObjectName(QStringLiteral("statusPanel0"));
    window.statusBar()->addWidget(panel);
    QTimer timer(&window);
    timer.setObjectName(QStringLiteral("statusTimer"));
    timer.start(100000);
    std::map<QString, std::function<void()>> commands;
    bool ended = false;
    addSupportCommands([&](const QString& handler, std::function<void()> command) { commands[handler] = command; },
                       {.data = data,
                        .prompt = prompt,
                        .mainWindow = [&window] { return &window; },
                        .programFolder = folder,
                        .ini = [folder] { return IniFile(folder + "/kavinaextra.ini"); },
                        .buildDate = [] { return QDate(2008, 3, 15); },
                        .desktop = desktop,
                        .endProgram = [&ended] { ended = true; }});
    for (const char* handler : {"mHibajelentesekClick", "mEszrevetelClick", "InternetFriss", "TBItem1Click"})
        EXPECT_TRUE(commands.count(QString::fromLatin1(handler))) << handler;
    commands.at("InternetFriss")();
    EXPECT_EQ(panel->text(), "Internetes frissítés keresése... SIKERTELEN!");
    EXPECT_TRUE(timer.isActive());
    EXPECT_FALSE(ended);
    EXPECT_TRUE(prompt.entries().empty());
    // The deliberate error is one the program does not expect, for the error report to take.
    EXPECT_THROW(commands.at("TBItem1Click")(), std::logic_error);
}

}  // namespace
}  // namespace kavina::support
