#pragma once
// The commands the main window's entries run, by handler name. A window that brings the
// behaviour behind an entry registers its command here under the entry's handler name; an
// entry whose handler has no command is shown disabled.
//
// Every command runs at the command boundary (foundation/CommandBoundary.h), so that no
// exception leaves a Qt slot: rule errors show their message, conversion errors end the
// command silently, anything else reaches the program's error reporter.

#include <QString>
#include <functional>
#include <map>

#include "foundation/Prompt.h"

namespace kavina::shell {

class MainWindowCommands {
public:
    using Command = std::function<void()>;

    explicit MainWindowCommands(Prompt& prompt) : m_prompt(prompt) {}

    // Runs work at the command boundary; false when an error ended it.
    bool guard(const std::function<void()>& work);

    // Registers or replaces the command of a handler name. Throws std::invalid_argument for a
    // name no entry of the menu tables runs (MainMenu.h), so a misspelt handler fails at once
    // instead of leaving its entry disabled.
    void add(const QString& handler, Command command);
    bool has(const QString& handler) const { return m_commands.count(handler) != 0; }

    // Runs the handler's command, if it has one, through guard(). False when there is no
    // command or an error ended it.
    bool run(const QString& handler);

private:
    Prompt& m_prompt;
    std::map<QString, Command> m_commands;
};

}  // namespace kavina::shell
