#pragma once
// The program-wide reporter of unexpected errors: what escapes a command and is neither a
// conversion error (silent) nor a rule error (its own message) is shown in an error box, and
// the program goes on. An engine error is told in Hungarian, naming its table, before the
// engine's own text. The program installs it as the command boundary's reporter
// (foundation/CommandBoundary.h) for the first moments of a run; once the program folder is
// known, the error report of support/errorreport takes over (report file, screenshot, mail).

#include <QString>
#include <exception>

namespace kavina {
class Prompt;
}

namespace kavina::shell {

class ErrorReporter {
public:
    explicit ErrorReporter(Prompt& prompt) : m_prompt(prompt) {}

    // Shows the error's box. Never throws.
    void report(std::exception_ptr error) noexcept;

    // The lines of the error box for an error text.
    static QString messageFor(const QString& errorText);

private:
    Prompt& m_prompt;
};

}  // namespace kavina::shell
