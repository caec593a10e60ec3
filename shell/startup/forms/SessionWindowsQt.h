#pragma once
// The shell's windows as the running program shows them, each modal to the main window once
// there is one.

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "shell/startup/SessionWindows.h"

namespace kavina {
class Desktop;
}

namespace kavina::shell {

struct SessionState;
class TLogo;

class SessionWindowsQt : public SessionWindows {
public:
    // printers: the printer list the settings dialog offers. The login window's picture opens
    // the maker's site of the ini file (key makersite), read when the window opens.
    SessionWindowsQt(SessionState& state, Desktop& desktop, QStringList printers);
    ~SessionWindowsQt() override;

    void setParentWindow(QWidget* window) { m_parent = window; }

    std::optional<QString> chooseDataFolder() override;
    bool login() override;
    void showSplash() override;
    void hideSplash() override;
    void reindex() override;
    int upgrade(int level) override;
    bool settings(SettingsPage page) override;
    void users() override;
    void passwordChange() override;
    void lockPrompt() override;
    bool lockPromptOpen() const override { return m_lockOpen; }

private:
    SessionState& m_state;
    Desktop& m_desktop;
    QStringList m_printers;
    QUrl makerSite() const;

    QPointer<QWidget> m_parent;
    std::unique_ptr<TLogo> m_splash;
    bool m_lockOpen = false;
};

}  // namespace kavina::shell
