#pragma once
// The commands the main window's entries run, by handler name. The feature that owns the
// window behind an entry registers its command here under the entry's handler name; an entry
// whose handler has no command is shown disabled.
//
// run() is the command boundary: an exception that escapes a command goes to the error handler
// (by default an error box) and the program goes on, so that no exception leaves a Qt slot.

#include <QString>
#include <exception>
#include <functional>
#include <map>

#include "foundation/Prompt.h"

namespace kavina::shell {

class MainWindowCommands {
public:
    using Command = std::function<void()>;
    using ErrorHandler = std::function<void(std::exception_ptr)>;

    // The default error handler shows the error's text with the caption "Hiba".
    explicit MainWindowCommands(Prompt& prompt);

    // Hands escaping errors to the program's error reporter instead. Must not throw.
    void setErrorHandler(ErrorHandler handler) { m_onError = std::move(handler); }
    // Runs work at the command boundary: what escapes it goes to the error handler.
    void guard(const std::function<void()>& work);

    // Registers or replaces the command of a handler name.
    void add(const QString& handler, Command command);
    bool has(const QString& handler) const { return m_commands.count(handler) != 0; }

    // Runs the handler's command, if it has one, through guard(). False when there is no
    // command or an error escaped it.
    bool run(const QString& handler);

private:
    ErrorHandler m_onError;
    std::map<QString, Command> m_commands;
};

}  // namespace kavina::shell
