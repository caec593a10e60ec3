#include "shell/mainwindow/SessionActions.h"

#include "dbase/DbError.h"
#include "foundation/Prompt.h"
#include "shell/startup/SessionState.h"
#include "shell/startup/SessionWindows.h"
#include "shell/startup/Shutdown.h"
#include "shell/startup/StartupTasks.h"
#include "shell/users/Login.h"
#include "shell/users/Users.h"

namespace kavina::shell {

SessionActions::SessionActions(SessionState& state, SessionWindows& windows, std::function<void()> endProgram)
    : m_state(state), m_windows(windows), m_endProgram(std::move(endProgram)) {}

// user.dbf, Jogok.dbf and userlog.dbf belong to the main window rather than to the data
// module: their writes (the sign of life every 10 seconds among them) show no indicator.
bool showsSaveIndicator(const QString& handleName) {
    for (TableId id : {TableId::User, TableId::Jogok, TableId::Userlog})
        if (handleName == QString::fromStdString(catalogue::table(id).handleName)) return false;
    return true;
}

void SessionActions::switchUser() {
    m_state.log->signOut(m_state.session.currentUser);
    if (!m_windows.login()) {
        shell::signOut(m_state);
        m_endProgram();
        return;
    }
    Login(m_state.data.JogTable(), *m_state.log, m_state.session, m_state.prompt, m_state.clock).takeRights();
    if (!m_window) return;
    m_window->restartStartupTimer();
    m_window->restartStatusTimer();
}

void SessionActions::showActiveUsers() {
    m_state.prompt.information(QStringLiteral("Felhasználók"), activeUsersText(m_state.log->users()));
}

void SessionActions::lockProgram() {
    if (!canLock(m_state.session)) {
        warnNoPasswordForLock(m_state.prompt);
        return;
    }
    if (!m_windows.lockPromptOpen()) m_windows.lockPrompt();
}

void SessionActions::idleLock() {
    const bool visible = m_window && m_window->isMainWindowVisible();
    if (idleLockDue(m_state.session, visible, m_windows.lockPromptOpen())) m_windows.lockPrompt();
}

void SessionActions::openUsers() {
    m_windows.users();
}

void SessionActions::changePassword() {
    if (PasswordChange(m_state.data.JogTable(), m_state.session, m_state.prompt).available())
        m_windows.passwordChange();
}

void SessionActions::openSettings() {
    if (m_windows.settings(SettingsPage::Owner) && m_window) m_window->applySettings();
}

void SessionActions::reindex() {
    m_windows.reindex();
}

void SessionActions::runStartupTasks() {
    if (!m_window) return;
    StartupTasks(m_state, m_windows, *m_window).run();
    if (m_afterStartupTasks) m_afterStartupTasks();
}

// A row another workstation holds locked for a moment is refreshed at the next beat.
void SessionActions::signOfLife() {
    if (!m_window || !m_window->isMainWindowVisible() || !m_state.data.LoginTable().isOpen()) return;
    try {
        m_state.log->signOfLife(m_state.session.currentUser);
    } catch (const dbase::DbError& e) {
        if (!e.contains(dbase::errtext::kRecordLocked)) throw;
    }
}

bool SessionActions::confirmExit() {
    return shell::confirmExit(m_state.prompt);
}

void SessionActions::signOut() {
    shell::signOut(m_state);
}

}  // namespace kavina::shell
