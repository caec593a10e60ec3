#pragma once
// Recording stand-ins for the shell's windows and the main window.

#include <QStringList>
#include <functional>
#include <optional>

#include "shell/startup/SessionWindows.h"
#include "shell/startup/ShellContext.h"

namespace kavina::shell::testing {

class FakeWindows : public SessionWindows {
public:
    QStringList calls;
    std::optional<QString> folder;
    std::function<bool()> onLogin = [] { return false; };
    std::function<void()> onReindex = [] {};

    std::optional<QString> chooseDataFolder() override { return record("folder"), folder; }
    bool login() override { return record("login"), onLogin(); }
    void showSplash() override { record("splash"); }
    void hideSplash() override { record("hide splash"); }
    void reindex() override { record("reindex"), onReindex(); }
    std::function<int(int)> onUpgrade = [](int) { return 10; };
    int upgrade(int level) override {
        calls << QStringLiteral("upgrade %1").arg(level);
        return onUpgrade(level);
    }
    bool settingsAccepted = false;
    bool settings(SettingsPage page) override {
        record(page == SettingsPage::Owner ? "settings owner" : "settings documents");
        return settingsAccepted;
    }
    void users() override { record("users"); }
    void passwordChange() override { record("password change"); }
    void lockPrompt() override { record("lock prompt"); }
    bool lockPromptOpen() const override { return false; }

private:
    int record(const char* call) { return calls << QString::fromLatin1(call), 0; }
};

class FakeMainWindow : public MainWindowControl {
public:
    QStringList calls;
    bool visible = true;

    void applyMenusAndRights() override { calls << "menus and rights"; }
    void refreshCaption() override { calls << "caption"; }
    void restartStartupTimer() override { calls << "restart start-up timer"; }
    void restartStatusTimer() override { calls << "restart status timer"; }
    void applySettings() override { calls << "apply settings"; }
    bool isMainWindowVisible() const override { return visible; }
};

}  // namespace kavina::shell::testing
