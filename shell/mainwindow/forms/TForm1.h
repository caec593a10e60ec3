#pragma once
// TForm1, the main window: the toolbars and the menu bar of every command, the picture in the
// work area and the status bar. It owns no business logic: each entry runs the command
// registered under its handler name (commands()), and an entry without one is shown disabled.
// It also hosts the program-wide timers (start-up tasks, status and sign of life, save
// indicator, date check, idle lock) and the keys that work in every window (F3, F9).
//
// The shell drives it through MainWindowControl; it calls the shell through ShellActions.

#include <QDate>
#include <QDialog>
#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "shell/mainwindow/MainWindowCommands.h"
#include "shell/mainwindow/Platform.h"
#include "shell/mainwindow/forms/MainMenuBuilder.h"
#include "shell/mainwindow/forms/ToolbarBuilder.h"
#include "shell/startup/ShellContext.h"

class QMenu;
class QPrinter;

namespace kavina::shell {

class MainWindowFocus;
class MainWindowIdleLock;
class StatusBarPanels;

// The workstation settings and desktop services the window works with.
struct MainWindowSettings {
    const IniSettings& ini;
    Platform& platform;
    QString programFolder;  // where the overlay pictures and the help file are
    std::function<QDate()> today = [] { return QDate::currentDate(); };
};

class TForm1 : public QMainWindow, public MainWindowControl {
    Q_OBJECT

public:
    // Runs a dialog modally and returns its result; tests replace it so that no real modal
    // dialog opens.
    using DialogRunner = std::function<int(QDialog&)>;

    TForm1(TDataModule1& data, Session& session, ShellActions& actions, const MainWindowSettings& settings,
           Prompt& prompt, QWidget* parent = nullptr);
    ~TForm1() override;

    // The commands behind the entries; after adding one, applyMenusAndRights() enables it.
    // Errors escaping a command, a timer or a hook go to the commands' error handler.
    MainWindowCommands& commands() { return m_commands; }
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }
    // The cancelled-document overlay, loaded with its transparency when the window first shows.
    const QImage& stornoPicture() const { return m_stornoPicture; }
    // The printer documents go to: the ini key printer's entry of the printer list, as last
    // set up with "&Nyomtató beállítása".
    QPrinter& documentPrinter();
    // Whether the service menu is shown in the menu bar.
    bool serviceMenuShown() const;
    // Removes the program-wide key and focus hooks.
    void detachHooks();

    // ---- MainWindowControl ----
    void applyMenusAndRights() override;
    void refreshCaption() override;
    void restartStartupTimer() override;
    void restartStatusTimer() override;
    void applySettings() override;
    bool isMainWindowVisible() const override { return isVisible(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildTimers();
    void registerCommands();
    void registerDialogCommands();
    void runEntry(const QString& handler);
    void guarded(const std::function<void()>& work);
    void firstShown();
    void refreshStatusBar();
    void statusTick();
    void recordWritten(const QString& handleName);
    void checkSystemDate();
    void writeOverlayPictures();
    void applyMenuFont();
    void closeServiceMenu();
    void setupPrinter();
    void showAbout();
    void showTableViewer();

    TDataModule1& m_data;
    Session& m_session;
    ShellActions& m_actions;
    MainWindowSettings m_settings;
    Prompt& m_prompt;
    MainWindowCommands m_commands;
    MainMenuBuilder m_builder;
    std::map<QString, QMenu*> m_menus;
    BuiltToolbars m_toolbars;
    std::unique_ptr<StatusBarPanels> m_status;
    QTimer m_startupTimer;
    QTimer m_statusTimer;
    QTimer m_saveTimer;
    QTimer m_dateTimer;
    MainWindowIdleLock* m_idle = nullptr;
    MainWindowFocus* m_focus = nullptr;
    DialogRunner m_runDialog;
    QImage m_stornoPicture;
    std::unique_ptr<QPrinter> m_printer;  // set up by "&Nyomtató beállítása"
    int m_printerIndex = -1;              // the ini key printer m_printer was made for
    bool m_shown = false;
    bool m_serviceMenuClosed = false;
};

}  // namespace kavina::shell
