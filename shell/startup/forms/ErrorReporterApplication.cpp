#include "shell/startup/forms/ErrorReporterApplication.h"

#include "foundation/CommandBoundary.h"

namespace kavina::shell {

bool ErrorReporterApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!m_prompt) throw;
        handleCommandError(std::current_exception(), *m_prompt);
        return false;
    }
}

}  // namespace kavina::shell
