#include "shell/startup/forms/SessionWindowsQt.h"

#include "foundation/DataModuleSetupData.h"
#include "foundation/forms/TSetup.h"
#include "maintenance/backup/forms/TransferWindow.h"
#include "maintenance/reindex/forms/Tindexform.h"
#include "maintenance/upgrade/forms/Tservicepack.h"
#include "shell/mainwindow/Platform.h"
#include "shell/startup/SessionState.h"
#include "shell/startup/forms/Tfoldselect.h"
#include "shell/users/Users.h"
#include "shell/users/forms/TJelszoForm.h"
#include "shell/users/forms/TLogo.h"
#include "shell/users/forms/Tfelhasznalokform.h"
#include "shell/users/forms/Tjelszo2.h"

namespace kavina::shell {

using maintenance::Tindexform;

SessionWindowsQt::SessionWindowsQt(SessionState& state, Desktop& desktop, QStringList printers)
    : m_state(state), m_desktop(desktop), m_printers(std::move(printers)) {}

QUrl SessionWindowsQt::makerSite() const {
    const PlatformSettings settings = m_state.ini ? loadPlatformSettings(*m_state.ini) : PlatformSettings();
    return QUrl(settings.makerSite);
}

SessionWindowsQt::~SessionWindowsQt() = default;

std::optional<QString> SessionWindowsQt::chooseDataFolder() {
    Tfoldselect dialog(m_parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.folder();
}

bool SessionWindowsQt::login() {
    TLogo dialog(m_state, m_desktop, makerSite(), m_parent);
    dialog.exec();
    return dialog.signedIn();
}

void SessionWindowsQt::showSplash() {
    m_splash = std::make_unique<TLogo>(m_state, m_desktop, makerSite());
    m_splash->runSplash();
}

void SessionWindowsQt::hideSplash() {
    m_splash.reset();
}

void SessionWindowsQt::reindex() {
    Tindexform dialog(m_state.data, m_state.prompt, m_parent);
    dialog.exec();
    dialog.rethrowError();
}

int SessionWindowsQt::upgrade(int level) {
    maintenance::UpgradeHooks hooks;
    hooks.backup = [this] {
        return maintenance::backupCommand({.prompt = m_state.prompt,
                                           .saveFolder = m_state.settings.savepath,
                                           .now = m_state.clock,
                                           .runBackupWindow =
                                               [this](const QString& path) {
                                                   return maintenance::runBackupWindow(m_state.data, m_state.prompt,
                                                                                       path, m_parent);
                                               },
                                           .runRestoreWindow = {}});
    };
    hooks.reindex = [this] { reindex(); };
    hooks.recordLevel = [this](int reached) {
        m_state.ini->writeInteger(QString::fromLatin1(kIniSection), QStringLiteral("spack"), reached);
        m_state.settings.spack = reached;
    };
    maintenance::Tservicepack dialog(m_state.data, m_state.prompt, hooks, level, m_parent);
    dialog.exec();
    dialog.rethrowError();
    return dialog.reachedLevel();
}

bool SessionWindowsQt::settings(SettingsPage page) {
    DataModuleSetupData data(m_state.data);
    SetupLogic logic(data, m_state.settings, *m_state.ini, m_state.prompt, m_printers);
    TSetup dialog(m_parent, logic);
    dialog.prepare(page == SettingsPage::Owner ? TSetup::Page::Owner : TSetup::Page::Documents);
    return dialog.exec() == QDialog::Accepted;
}

void SessionWindowsQt::users() {
    UserAdmin admin(m_state.data.JogTable(), m_state.session, m_state.prompt, m_state.clock);
    Tfelhasznalokform dialog(admin, m_state.data.JogTable(), m_parent);
    dialog.exec();
}

void SessionWindowsQt::passwordChange() {
    PasswordChange change(m_state.data.JogTable(), m_state.session, m_state.prompt);
    TJelszoForm dialog(change, m_parent);
    dialog.exec();
}

void SessionWindowsQt::lockPrompt() {
    m_lockOpen = true;
    Tjelszo2 dialog(m_state.session, m_state.prompt, m_parent);
    dialog.exec();
    m_lockOpen = false;
}

}  // namespace kavina::shell
