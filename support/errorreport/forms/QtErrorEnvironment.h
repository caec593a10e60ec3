#pragma once
// The error reporter's view of the running program: its windows, the screen, and the error
// window shown modally (or, in a run with a transcript, its lines told through the prompt).

#include <functional>

#include "support/errorreport/ErrorReportHandler.h"
#include "support/errorreport/forms/Terrorform.h"

namespace kavina {
class Prompt;
}

namespace kavina::support {

class QtErrorEnvironment : public ErrorEnvironment {
public:
    // With a prompt for transcripts, the window's lines go to it instead of a window.
    QtErrorEnvironment(Terrorform::Actions actions, Prompt* transcript = nullptr)
        : m_actions(std::move(actions)), m_transcript(transcript) {}

    QDateTime now() const override { return QDateTime::currentDateTime(); }
    ErrorDetails windowDetails() const override;
    QImage captureScreen() const override;
    void showErrorWindow(const ErrorWindowContent& content) override;

private:
    Terrorform::Actions m_actions;
    Prompt* m_transcript;
};

}  // namespace kavina::support
