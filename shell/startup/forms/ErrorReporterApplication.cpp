#include "shell/startup/forms/ErrorReporterApplication.h"

#include "shell/startup/ErrorReporter.h"

namespace kavina::shell {

bool ErrorReporterApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!m_reporter) throw;
        m_reporter->report(std::current_exception());
        return false;
    }
}

}  // namespace kavina::shell
