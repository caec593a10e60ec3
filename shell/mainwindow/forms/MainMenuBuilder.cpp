#include "shell/mainwindow/forms/MainMenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kavina::shell {

namespace {

bool showsAnEntry(const QMenu* menu) {
    for (const QAction* a : menu->actions())
        if (a->isVisible() && !a->isSeparator()) return true;
    return false;
}

}  // namespace

std::map<QString, QMenu*> MainMenuBuilder::buildMenuBar(QMenuBar* bar) {
    std::map<QString, QMenu*> menus;
    for (const MenuEntry& top : mainMenuBar()) {
        QMenu* menu = bar->addMenu(top.caption);
        menu->setObjectName(top.objectName);
        fillMenu(menu, top.children);
        menus[top.objectName] = menu;
    }
    return menus;
}

void MainMenuBuilder::fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) addEntry(menu, entry);
}

QAction* MainMenuBuilder::addEntry(QMenu* menu, const MenuEntry& entry) {
    if (entry.separator) return menu->addSeparator();
    if (entry.isSubmenu()) {
        QMenu* sub = menu->addMenu(entry.caption);
        sub->setObjectName(entry.caption);
        fillMenu(sub, entry.children);
        sub->menuAction()->setVisible(!entry.hidden);
        track(sub->menuAction(), {}, entry.gate, entry.right, sub);
        return sub->menuAction();
    }
    // F3 and F9 work from every window (MainWindowKeys); the menu only names them.
    const QString text =
        entry.shortcut.isEmpty() || entry.shortcut == "F1" ? entry.caption : entry.caption + "\t" + entry.shortcut;
    QAction* action = menu->addAction(text);
    action->setObjectName(uniqueName(entry.handler.isEmpty() ? entry.caption : entry.handler));
    action->setProperty("handler", entry.handler);
    action->setProperty("caption", entry.caption);
    action->setVisible(!entry.hidden);
    if (entry.shortcut == "F1") action->setShortcut(QKeySequence(Qt::Key_F1));
    if (!entry.handler.isEmpty())
        QObject::connect(action, &QAction::triggered, action, [run = m_run, h = entry.handler] { run(h); });
    track(action, entry.handler, entry.gate, entry.right);
    return action;
}

QString MainMenuBuilder::uniqueName(const QString& handler) {
    const int use = ++m_nameUse[handler];
    return use == 1 ? handler : handler + "_" + QString::number(use);
}

void MainMenuBuilder::track(QAction* action, const QString& handler, Gate gate, QChar right, QMenu* menu) {
    m_tracked.push_back({action, handler, gate, right, menu});
}

void MainMenuBuilder::apply(const GateInputs& inputs, const MainWindowCommands& commands) {
    // Innermost menus were tracked first, so a submenu sees its children already decided.
    for (const Tracked& t : m_tracked) {
        const bool open = gateOpen(t.gate, t.right, inputs);
        if (t.menu)
            t.action->setEnabled(open && showsAnEntry(t.menu));
        else
            t.action->setEnabled(open && !t.handler.isEmpty() && commands.has(t.handler));
    }
}

std::vector<QAction*> MainMenuBuilder::actionsOf(const QString& handler) const {
    std::vector<QAction*> out;
    for (const Tracked& t : m_tracked)
        if (!t.menu && t.handler == handler) out.push_back(t.action);
    return out;
}

}  // namespace kavina::shell
