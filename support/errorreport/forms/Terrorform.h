#pragma once
// Terrorform, the error window ("Figyelem!", header "Hibajelentés"): the error's lines in a
// read-only box, the link to the full report and the buttons "Bezár" and "Hibajelentés"
// (mails the report). Without a report to show, the link is hidden and the mail button off.

#include <QDialog>
#include <functional>

#include "support/errorreport/ErrorReportHandler.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace kavina::support {

class Terrorform : public QDialog {
    Q_OBJECT

public:
    struct Actions {
        std::function<void(const QString& path)> openReport;
        // Mails the report; true when sent (the window then closes as accepted).
        std::function<bool(const ErrorWindowContent&)> mailReport;
    };

    Terrorform(ErrorWindowContent content, Actions actions, QWidget* parent = nullptr);

private:
    ErrorWindowContent m_content;
    Actions m_actions;
};

}  // namespace kavina::support
