#pragma once
// The application object of the program: every event goes through notify(), so an error that
// escapes an event handler anywhere, despite the command boundary, is still dealt with as the
// boundary deals with it instead of ending the program.

#include <QApplication>

namespace kavina {
class Prompt;
}

namespace kavina::shell {

class ErrorReporterApplication : public QApplication {
public:
    ErrorReporterApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    void setPrompt(Prompt* prompt) { m_prompt = prompt; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompt* m_prompt = nullptr;
};

}  // namespace kavina::shell
