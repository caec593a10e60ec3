#pragma once
// The command boundary: every command a window starts (a button, a menu entry, a key, a
// timer) runs through runCommand(), and nothing escapes it, so no exception ever leaves a Qt
// slot. What escapes the command is sorted here, the same way in every window:
//
// - a ConversionError (a text that is not a number or a date) ends the command silently;
// - a RuleError shows its Hungarian message with the Prompt, as a warning;
// - anything else goes to the program-wide error reporter, which the program installs at
//   start (shell/startup/ErrorReporter); until one is installed, an error box "Hiba" with the
//   error's text is shown with the command's Prompt.
//
// Records the command put into edit or insert are cancelled on the way out by their
// RecordEdit guards (RecordEdit.h), never by the boundary.
//
//     connect(button, &QPushButton::clicked, this, [this] {
//         runCommand(m_prompt, [&] { m_logic.deleteCurrent(); });
//     });

#include <exception>
#include <functional>

namespace kavina {

class Prompt;

using ErrorReporterHook = std::function<void(std::exception_ptr)>;

// Installs the program-wide reporter of unexpected errors; an empty hook removes it. The hook
// must not throw. Returns the hook it replaced.
ErrorReporterHook setErrorReporter(ErrorReporterHook hook);

// Installs a reporter for as long as it lives, then puts back the one before: the program's
// main() holds one for the whole run, a test for its own run.
class ScopedErrorReporter {
public:
    explicit ScopedErrorReporter(ErrorReporterHook hook) : m_previous(setErrorReporter(std::move(hook))) {}
    ~ScopedErrorReporter() { setErrorReporter(std::move(m_previous)); }
    ScopedErrorReporter(const ScopedErrorReporter&) = delete;
    ScopedErrorReporter& operator=(const ScopedErrorReporter&) = delete;

private:
    ErrorReporterHook m_previous;
};

// Hands an unexpected error to the reporter, or, without one, shows it in an error box with
// the prompt. Never throws.
void reportUnexpectedError(std::exception_ptr error, Prompt& prompt) noexcept;

// Runs the command at the boundary. True when it ran to its end; false when an error ended it
// (and was dealt with as above).
bool runCommand(Prompt& prompt, const std::function<void()>& command) noexcept;

// Deals with an error in flight as the boundary does. For the few places that must catch by
// themselves (the application object's last resort). Never throws.
void handleCommandError(std::exception_ptr error, Prompt& prompt) noexcept;

}  // namespace kavina
