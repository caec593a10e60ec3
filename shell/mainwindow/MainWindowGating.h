#pragma once
// Which of the main window's entries the signed-in user may use: the rights letters (applied
// only in upgraded folders, whose Jogok.dbf has the rights field), the role "Felhasználó"
// that may not manage users or backups, and the password change that needs the user's own
// record. Whether a command exists at all is the command list's business (MainWindowCommands).

#include <QChar>

#include "shell/mainwindow/MainMenu.h"
#include "shell/startup/ShellContext.h"

namespace kavina::shell {

inline const QString kPlainUserRole = QStringLiteral("Felhasználó");

struct GateInputs {
    const Session& session;
    bool ownUserListed = false;  // CurrentUser is a user of Jogok.dbf
};

// Whether the gate lets an entry be enabled.
bool gateOpen(Gate gate, QChar right, const GateInputs& inputs);

}  // namespace kavina::shell
