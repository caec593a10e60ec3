// The main window's command list: only handler names the menu tables know are taken, and
// every command runs at the command boundary.

#include "shell/mainwindow/MainWindowCommands.h"

#include <gtest/gtest.h>

#include "common/ScriptedPrompt.h"
#include "foundation/RuleError.h"
#include "shell/mainwindow/MainMenu.h"

namespace kavina::shell::testing {
namespace {

TEST(MainWindowCommandsTest, AMisspeltHandlerIsRefusedAtOnce) {
    ScriptedPrompt prompt;
    MainWindowCommands commands(prompt);
    int runs = 0;
    commands.add(QStringLiteral("Partnerek"), [&] { ++runs; });
    EXPECT_THROW(commands.add(QStringLiteral("Partnerk"), [&] { ++runs; }), std::invalid_argument);
    EXPECT_FALSE(commands.has(QStringLiteral("Partnerk")));
    EXPECT_TRUE(commands.run(QStringLiteral("Partnerek")));
    EXPECT_FALSE(commands.run(QStringLiteral("Partnerk")));
    EXPECT_EQ(runs, 1);
    for (const QString& handler : allHandlers()) EXPECT_NO_THROW(commands.add(handler, [] {}));
}

TEST(MainWindowCommandsTest, ARuleErrorEndsTheCommandWithItsMessage) {
    ScriptedPrompt prompt;
    MainWindowCommands commands(prompt);
    commands.add(QStringLiteral("Partnerek"), [] { throw RuleError(QStringLiteral("Nincs jogosultsága!")); });
    EXPECT_FALSE(commands.run(QStringLiteral("Partnerek")));
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|Nincs jogosultsága!"});
}

}  // namespace
}  // namespace kavina::shell::testing
