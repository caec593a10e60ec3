#pragma once
// The commands the main window's entries run, by handler name. Each Part that brings the
// window behind an entry registers its command here under the entry's handler name; an entry
// whose handler has no command is shown disabled.
//
// run() is the command boundary: an exception that escapes a command is shown in an error box
// and the program goes on, so that no exception leaves a Qt slot.

#include <QString>
#include <functional>
#include <map>

#include "foundation/Prompt.h"

namespace kavina::shell {

class MainWindowCommands {
public:
    using Command = std::function<void()>;

    explicit MainWindowCommands(Prompt& prompt) : m_prompt(prompt) {}

    // Registers or replaces the command of a handler name.
    void add(const QString& handler, Command command);
    bool has(const QString& handler) const { return m_commands.count(handler) != 0; }

    // Runs the handler's command, if it has one. An escaping exception is shown with the caption
    // "Hiba" and its text; the return is then false, as it is when there is no command.
    bool run(const QString& handler);

private:
    Prompt& m_prompt;
    std::map<QString, Command> m_commands;
};

}  // namespace kavina::shell
