#pragma once
// The application object of the program: every event goes through notify(), so an error that
// escapes an event handler anywhere in the program reaches the error reporter instead of
// ending the program.

#include <QApplication>

namespace kavina::shell {

class ErrorReporter;

class ErrorReporterApplication : public QApplication {
public:
    ErrorReporterApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    void setReporter(ErrorReporter* reporter) { m_reporter = reporter; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorReporter* m_reporter = nullptr;
};

}  // namespace kavina::shell
