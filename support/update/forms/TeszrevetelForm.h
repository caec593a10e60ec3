#pragma once
// TeszrevetelForm, "Észrevételek küldése": name, e-mail, phone and the message, sent with
// "&Küldés" through the given function; the window closes once the mail is sent and stays
// open with its text when sending fails (the failure goes to the command boundary).

#include <QDialog>
#include <functional>

#include "support/update/Feedback.h"

class QLineEdit;
class QPlainTextEdit;

namespace kavina {
class Prompt;
}

namespace kavina::support {

class TeszrevetelForm : public QDialog {
    Q_OBJECT

public:
    TeszrevetelForm(const FeedbackInput& initial, std::function<void(const FeedbackInput&)> send, Prompt& prompt,
                    QWidget* parent = nullptr);

    FeedbackInput input() const;

private:
    QLineEdit* m_name;
    QLineEdit* m_email;
    QLineEdit* m_phone;
    QPlainTextEdit* m_message;
    std::function<void(const FeedbackInput&)> m_send;
    Prompt& m_prompt;
};

}  // namespace kavina::support
