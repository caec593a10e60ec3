#pragma once
// The program-wide handler of errors that escape a command. A conversion error ends the
// command silently; any other error is shown in an error box and the program goes on. An
// engine error is told in Hungarian, naming its table, before the engine's own text. The
// full error report (report file, screenshot, mail) is not part of this program yet.

#include <QString>
#include <exception>
#include <utility>

namespace kavina {
class Prompt;
}

namespace kavina::shell {

class ErrorReporter {
public:
    explicit ErrorReporter(Prompt& prompt) : m_prompt(prompt) {}

    // Handles the error in flight or the one given. Never throws.
    void report(std::exception_ptr error) noexcept;

    // The lines of the error box for an error text.
    static QString messageFor(const QString& errorText);

private:
    Prompt& m_prompt;
};

// Runs a command; what escapes it goes to the reporter. For slots, which must not let an
// exception leave them.
template <typename Command>
void runCommand(ErrorReporter& reporter, Command&& command) noexcept {
    try {
        std::forward<Command>(command)();
    } catch (...) {
        reporter.report(std::current_exception());
    }
}

}  // namespace kavina::shell
