#pragma once
// The shell's operations behind the main window's commands, shortcuts and timers: user
// switch, signed-in users, program lock and idle lock, users, password change, settings,
// reindex, the start-up tasks, the sign of life, the exit question and the sign-out.

#include <QString>
#include <functional>

#include "shell/startup/ShellContext.h"

namespace kavina::shell {

struct SessionState;
class SessionWindows;

class SessionActions : public ShellActions {
public:
    // endProgram ends the run at once (a user switch that signs nobody in); it is called after
    // the sign-out.
    SessionActions(SessionState& state, SessionWindows& windows, std::function<void()> endProgram);

    // The main window, once it exists. Requires: set before the window's timers run.
    void setWindow(MainWindowControl* window) { m_window = window; }
    // What runs after each run of the start-up tasks (the plugins' loading, which itself
    // happens once per program run).
    void setAfterStartupTasks(std::function<void()> work) { m_afterStartupTasks = std::move(work); }

    void switchUser() override;
    void showActiveUsers() override;
    void lockProgram() override;
    void idleLock() override;
    void openUsers() override;
    void changePassword() override;
    void openSettings() override;
    void reindex() override;
    void runStartupTasks() override;
    void signOfLife() override;
    bool confirmExit() override;
    void signOut() override;

private:
    SessionState& m_state;
    SessionWindows& m_windows;
    std::function<void()> m_endProgram;
    MainWindowControl* m_window = nullptr;
    std::function<void()> m_afterStartupTasks;
};

// Whether a post or delete reported by the data module's recordWritten shows the save
// indicator: not for user.dbf, Jogok.dbf and userlog.dbf, which belong to the main window
// (the sign of life writes userlog.dbf every 10 seconds).
bool showsSaveIndicator(const QString& handleName);

}  // namespace kavina::shell
