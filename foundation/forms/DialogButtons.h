#pragma once
// The button row at the bottom right of the program's small dialogs.
#include <QString>

class QBoxLayout;
class QDialog;
class QPushButton;

namespace kavina {

struct DialogButtons {
    QPushButton* accept = nullptr;  // object name "acceptPushButton", the default button
    QPushButton* reject = nullptr;  // object name "rejectPushButton"
};

// Adds to the layout a row of two buttons at the right: the first accepts the dialog, the
// second rejects it.
DialogButtons addDialogButtons(QDialog* dialog, QBoxLayout* layout, const QString& acceptText,
                               const QString& rejectText);

}  // namespace kavina
