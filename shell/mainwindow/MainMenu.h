#pragma once
// The main window's commands as data: the menu bar and the four toolbars, each entry with its
// caption, the name of the handler it runs, its shortcut, whether it is hidden and what gates
// it. The window builds its menus and buttons from these tables and nothing else, so a caption
// or a handler name is spelled exactly once.
//
// A handler name identifies a command: several entries may run the same one (the toolbar's
// "Garancia" and the menu's "Garancialevél"). An entry without a handler exists but does
// nothing; a submenu has children and no handler.

#include <QChar>
#include <QString>
#include <vector>

namespace kavina::shell {

// What besides the command's availability decides whether an entry is enabled.
enum class Gate {
    None,
    Right,          // the rights letter must be in CurrentRights (upgraded folders only)
    NotPlainUser,   // disabled for the role "Felhasználó"
    OwnUserListed,  // CurrentUser must be a user of Jogok.dbf
};

struct MenuEntry {
    QString caption;
    QString handler;
    QString shortcut;  // the key shown beside the caption, as "F9"
    bool hidden = false;
    Gate gate = Gate::None;
    QChar right;
    bool separator = false;
    bool submenu = false;
    QString objectName;  // given for the top-level menus; otherwise derived from the handler
    std::vector<MenuEntry> children;

    bool isSubmenu() const { return submenu || !children.empty(); }
};

struct ToolbarButton {
    QString objectName;  // for the switchable buttons also their key in the ini section toolbar
    QString caption;
    QString handler;
    bool switchable = false;
    Gate gate = Gate::None;
    QChar right;
    std::vector<MenuEntry> menu;  // a button with a menu runs no handler itself
};

struct ToolbarDef {
    QString objectName;
    QString title;
    bool links = false;  // drawn as a row of web links
    std::vector<ToolbarButton> buttons;
};

inline const QString kServiceMenuName = QStringLiteral("serviceMenu");

// The menus of the menu bar, in order; the service menu is the one named kServiceMenuName.
const std::vector<MenuEntry>& mainMenuBar();
// The toolbars "Műveletek", "Törzsadatok", "Segéd" and "Hivatkozások", in order.
const std::vector<ToolbarDef>& mainToolbars();

// Every handler name the tables mention, each once, in the order of first mention.
std::vector<QString> allHandlers();

}  // namespace kavina::shell
