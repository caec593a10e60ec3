#include "foundation/CommandBoundary.h"

#include "foundation/ConversionError.h"
#include "foundation/DbErrorText.h"
#include "foundation/Prompt.h"
#include "foundation/RuleError.h"

namespace kavina {

namespace {

ErrorReporterHook& reporterHook() {
    static ErrorReporterHook hook;
    return hook;
}

}  // namespace

ErrorReporterHook setErrorReporter(ErrorReporterHook hook) {
    ErrorReporterHook previous = std::move(reporterHook());
    reporterHook() = std::move(hook);
    return previous;
}

void reportUnexpectedError(std::exception_ptr error, Prompt& prompt) noexcept {
    try {
        if (const ErrorReporterHook& hook = reporterHook()) {
            hook(error);
            return;
        }
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            prompt.error(QStringLiteral("Hiba"), errorText(e));
        } catch (...) {
            prompt.error(QStringLiteral("Hiba"), QStringLiteral("Ismeretlen hiba történt."));
        }
    } catch (...) {
        // Telling the user failed as well; there is nobody left to tell.
    }
}

void handleCommandError(std::exception_ptr error, Prompt& prompt) noexcept {
    try {
        std::rethrow_exception(error);
    } catch (const ConversionError&) {
        return;
    } catch (const RuleError& rule) {
        try {
            prompt.warning(rule.caption(), rule.message());
        } catch (...) {
            // The message box itself failed; the rule error has nothing more to say.
        }
    } catch (...) {
        reportUnexpectedError(std::current_exception(), prompt);
    }
}

bool runCommand(Prompt& prompt, const std::function<void()>& command) noexcept {
    try {
        command();
        return true;
    } catch (...) {
        handleCommandError(std::current_exception(), prompt);
        return false;
    }
}

}  // namespace kavina
