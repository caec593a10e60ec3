#pragma once
// What the main window's tests share: a shell that records the operations the window asks of
// it, a desktop and a program starter that record what would have been opened or started, and
// a fixture with a demo data folder, a signed-in session and a TForm1 built on all of them.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/NewDataFolder.h"
#include "foundation/QtPrinters.h"
#include "foundation/TDataModule1.h"
#include "shell/mainwindow/Platform.h"
#include "shell/mainwindow/forms/TForm1.h"

namespace kavina::shell::testing {

class FakeShellActions : public ShellActions {
public:
    QStringList calls;
    bool exitAnswer = true;

    void switchUser() override { calls << "switchUser"; }
    void showActiveUsers() override { calls << "showActiveUsers"; }
    void lockProgram() override { calls << "lockProgram"; }
    void idleLock() override { calls << "idleLock"; }
    void openUsers() override { calls << "openUsers"; }
    void changePassword() override { calls << "changePassword"; }
    void openSettings() override { calls << "openSettings"; }
    void reindex() override { calls << "reindex"; }
    void runStartupTasks() override { calls << "runStartupTasks"; }
    void signOfLife() override { calls << "signOfLife"; }
    bool confirmExit() override {
        calls << "confirmExit";
        return exitAnswer;
    }
    void signOut() override { calls << "signOut"; }
};

class RecordingDesktop : public Desktop {
public:
    QStringList opened;
    bool works = true;
    bool openFile(const QString& pathOrAddress) override {
        opened << pathOrAddress;
        return works;
    }
};

class RecordingStarter : public ProgramStarter {
public:
    QStringList onPath;   // program names that are found
    QStringList started;  // "program arg arg"
    bool works = true;
    QString findProgram(const QString& name) const override {
        return onPath.contains(name) ? "/usr/bin/" + name : QString();
    }
    bool start(const QString& program, const QStringList& arguments) override {
        started << (QStringList{program} + arguments).join(' ');
        return works;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    testing_support::TestFolder dataDir;
    testing_support::TestFolder programDir;
    TDataModule1 dm;
    Session session;
    FakeShellActions actions;
    IniSettings ini;
    ScriptedPrompt prompt;
    RecordingDesktop desktop;
    RecordingStarter starter;
    QDate today = QDate(2008, 3, 15);
    std::unique_ptr<Platform> platform;
    std::unique_ptr<TForm1> window;
    std::vector<QString> ranDialogs;

    void SetUp() override {
        createDataFolder(dataDir.path(), {true, today});
        dm.open(dataDir.path());
        session.dataFolder = QString::fromStdString(dataDir.path());
        session.currentUser = "Rendszergazda";
        session.currentRole = "Rendszergazda";
        session.currentRights = "ABFMP13459TUVWGH";
        session.buildDate = "2008.03.01";
        session.mainWindowRightsApply = true;
    }

    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    QString programFolder() const { return QString::fromStdString(programDir.path()); }

    TForm1& makeWindow() {
        platform = std::make_unique<Platform>(PlatformSettings{}, programFolder(), desktop, starter, prompt);
        window = std::make_unique<TForm1>(dm, session, actions,
                                          MainWindowSettings{ini, *platform, programFolder(), [this] { return today; }},
                                          prompt);
        window->setDialogRunner([this](QDialog& dialog) {
            ranDialogs.push_back(dialog.objectName());
            return int(QDialog::Rejected);
        });
        return *window;
    }

    // The menu-bar or toolbar action of the handler (the first of several).
    QAction* action(const QString& objectName) const { return window->findChild<QAction*>(objectName); }

    QMenu* menu(const QString& objectName) const { return window->findChild<QMenu*>(objectName); }

    // The action found by its path of captions from the menu bar: {"&Fájl", "Aktív felhasználók"}.
    QAction* entry(const QStringList& captions) const {
        QList<QAction*> level = window->menuBar()->actions();
        QAction* found = nullptr;
        for (const QString& caption : captions) {
            found = nullptr;
            for (QAction* a : level) {
                const QString own = a->property("caption").isValid() ? a->property("caption").toString() : a->text();
                if (own == caption) found = a;
            }
            if (!found) return nullptr;
            level = found->menu() ? found->menu()->actions() : QList<QAction*>();
        }
        return found;
    }
};

}  // namespace kavina::shell::testing
