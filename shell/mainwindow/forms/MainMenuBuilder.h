#pragma once
// Builds the main window's menu bar and the menus of its toolbar buttons from the command
// tables (MainMenu.h), and keeps every built entry with what gates it, so that enabling can be
// redone whenever the user, the rights or the available commands change.
//
// Object names: a top-level menu carries its table name ("fileMenu"); an entry's action
// carries its handler name, with "_2", "_3" ... for later entries of the same handler; a
// toolbar button and its action carry the button's name ("bEladas"). Every action also has
// the dynamic property "handler".

#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "shell/mainwindow/MainMenu.h"
#include "shell/mainwindow/MainWindowCommands.h"
#include "shell/mainwindow/MainWindowGating.h"

class QAction;
class QMenu;
class QMenuBar;

namespace kavina::shell {

class MainMenuBuilder {
public:
    using Run = std::function<void(const QString& handler)>;

    explicit MainMenuBuilder(Run run) : m_run(std::move(run)) {}

    // Adds the menus of the table to the bar; returns the top-level menus by object name.
    std::map<QString, QMenu*> buildMenuBar(QMenuBar* bar);
    // Adds the entries to the menu (submenus included).
    void fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries);
    // Records an action that the builder did not make (a toolbar button).
    void track(QAction* action, const QString& handler, Gate gate, QChar right, QMenu* menu = nullptr);

    // Enables every entry whose command exists and whose gate is open; a submenu is enabled
    // when its gate is open and it shows at least one entry. Entries without a handler stay
    // disabled.
    void apply(const GateInputs& inputs, const MainWindowCommands& commands);

    // The actions that run the handler, in building order.
    std::vector<QAction*> actionsOf(const QString& handler) const;

private:
    struct Tracked {
        QAction* action;
        QString handler;
        Gate gate;
        QChar right;
        QMenu* menu;
    };

    QAction* addEntry(QMenu* menu, const MenuEntry& entry);
    QString uniqueName(const QString& handler);

    Run m_run;
    std::vector<Tracked> m_tracked;
    std::map<QString, int> m_nameUse;
};

}  // namespace kavina::shell
