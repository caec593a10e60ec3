#pragma once
// The texts of the main window's status bar panels: the clerk, the version and the data folder.

#include <QString>

#include "shell/startup/ShellContext.h"

namespace kavina::shell {

// Panel 0: "Ügyintéző: " + CurrentUser.
QString clerkPanelText(const Session& session);
// Panel 1: "Verzió: 1.0." + the digits of BuildDate after its first two characters, so that
// 2005.02.02 gives "Verzió: 1.0.050202".
QString versionPanelText(const QString& buildDate);
// Panel 3: "adatbázis: " + DataFolder.
QString databasePanelText(const Session& session);
// Panel 3 while the save indicator shows.
inline const QString kSavingPanelText = QStringLiteral("  ");

}  // namespace kavina::shell
