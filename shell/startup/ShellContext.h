#pragma once
// What the main window and the rest of the shell (start-up, sign-in, users, reindex) need of
// each other. The main window calls the shell's operations through ShellActions; the shell
// drives the window through MainWindowControl; both read the run-wide Session.

#include <QChar>
#include <QString>

namespace kavina::shell {

// The run-wide values of one running instance, held for the whole run.
struct Session {
    QString dataFolder;       // DataFolder: the ini key "database", resolved
    QString currentUser;      // CurrentUser: FELHASZNAL of the signed-in user
    QString currentPassword;  // CurrentPassword: as stored at sign-in or last changed in this run
    QString currentRole;      // CurrentRole: JOGOSULT of that user
    QString currentRights;    // CurrentRights: the rights letters of that user
    QString buildDate;        // BuildDate: the program file's modification date as date text
    // The main-window letters apply only to upgraded folders (Jogok.dbf with more than
    // twelve fields); the product window's letters apply always.
    bool mainWindowRightsApply = false;

    bool hasRight(QChar letter) const { return currentRights.contains(letter); }
};

// The shell's operations behind main-window commands, shortcuts and timers.
class ShellActions {
public:
    virtual ~ShellActions() = default;
    virtual void switchUser() = 0;       // "Felhasználó váltása"
    virtual void showActiveUsers() = 0;  // "Aktív felhasználók"
    virtual void lockProgram() = 0;      // "Program zárolása" and F9
    virtual void idleLock() = 0;         // the idle time reached the lock setting
    virtual void openUsers() = 0;        // "&Felhasználók"
    virtual void changePassword() = 0;   // "&Jelszó módosítása"
    virtual void openSettings() = 0;     // the settings dialog
    virtual void reindex() = 0;          // the reindex window
    virtual void runStartupTasks() = 0;  // 100 ms after the main window first appears
    virtual void signOfLife() = 0;       // every 10 seconds while the main window is visible
    virtual bool confirmExit() = 0;      // the exit question; true closes the program
    virtual void signOut() = 0;          // on close: the userlog row deleted, kilepett = 1
};

// What the shell asks of the main window.
class MainWindowControl {
public:
    virtual ~MainWindowControl() = default;
    // The menu and caption set-up and the rights gating, from the session and the settings.
    virtual void applyMenusAndRights() = 0;
    // The caption from the settings record's company lines.
    virtual void refreshCaption() = 0;
    // Starts the one-shot start-up task timer again (after a user switch).
    virtual void restartStartupTimer() = 0;
    // Shows the status bar texts at once and starts the 10-second status timer again (after a
    // user switch, so that the new clerk's name shows without waiting for the next beat).
    virtual void restartStatusTimer() = 0;
    // The settings dialog was accepted: what the window takes from the settings (caption,
    // idle-lock minutes, document printer) follows the new values at once.
    virtual void applySettings() = 0;
    virtual bool isMainWindowVisible() const = 0;
};

}  // namespace kavina::shell
