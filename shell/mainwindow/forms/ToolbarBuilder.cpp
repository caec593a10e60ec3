#include "shell/mainwindow/forms/ToolbarBuilder.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "shell/mainwindow/forms/ToolbarIcons.h"

namespace kavina::shell {

namespace {

const QString kLinkStyle = QStringLiteral(
    "QToolButton { color: #1a5fb4; border: none; padding: 2px 8px; text-decoration: underline; }"
    "QToolButton:hover { color: #c01c28; }"
    "QToolButton:disabled { color: #8a8a8a; }");

QToolBar* makeBar(QMainWindow& window, const ToolbarDef& def) {
    auto* bar = new QToolBar(def.title, &window);
    bar->setObjectName(def.objectName);
    bar->setMovable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(def.links ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextUnderIcon);
    if (def.links) bar->setStyleSheet(kLinkStyle);
    window.addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QAction* addButton(QToolBar* bar, const ToolbarButton& b, bool link, MainMenuBuilder& builder,
                   const MainMenuBuilder::Run& run) {
    auto* action = new QAction(b.caption, bar);
    action->setObjectName(b.objectName);
    action->setProperty("handler", b.handler);
    action->setProperty("caption", b.caption);
    action->setIconText(b.caption);  // as given, blanks included
    action->setToolTip(b.caption.trimmed());
    if (!link) action->setIcon(toolbarIcon(b.objectName));
    QMenu* menu = nullptr;
    if (!b.menu.empty()) {
        menu = new QMenu(bar);
        menu->setObjectName(b.objectName + "Menu");
        builder.fillMenu(menu, b.menu);
        action->setMenu(menu);
    } else {
        QObject::connect(action, &QAction::triggered, action, [run, h = b.handler] { run(h); });
    }
    bar->addAction(action);
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
        button->setObjectName(b.objectName);
        if (menu) button->setPopupMode(QToolButton::InstantPopup);
        if (link) button->setCursor(Qt::PointingHandCursor);
    }
    builder.track(action, b.handler, b.gate, b.right, menu);
    return action;
}

using Switch = int IniSettings::*;

const std::map<QString, Switch>& switches() {
    static const std::map<QString, Switch> all = {
        {"bAjanlat", &IniSettings::bAjanlat},         {"bSzamla", &IniSettings::bSzamla},
        {"bEladas", &IniSettings::bEladas},           {"bKifizetes", &IniSettings::bKifizetes},
        {"bGarancia", &IniSettings::bGarancia},       {"bBevetel", &IniSettings::bBevetel},
        {"bMegrendeles", &IniSettings::bMegrendeles}, {"bSzallito", &IniSettings::bSzallito},
        {"bVisszaru", &IniSettings::bVisszaru},       {"bSelejt", &IniSettings::bSelejt},
        {"bMunkalap", &IniSettings::bMunkalap},
    };
    return all;
}

}  // namespace

BuiltToolbars buildToolbars(QMainWindow& window, MainMenuBuilder& builder, const MainMenuBuilder::Run& run) {
    BuiltToolbars built;
    bool first = true;
    for (const ToolbarDef& def : mainToolbars()) {
        QToolBar* bar = makeBar(window, def);
        if (first) window.addToolBarBreak(Qt::TopToolBarArea);
        first = false;
        built.bars[def.objectName] = bar;
        for (const ToolbarButton& b : def.buttons)
            built.buttons[b.objectName] = addButton(bar, b, def.links, builder, run);
    }
    return built;
}

int toolbarSwitch(const IniSettings& settings, const QString& buttonName) {
    const auto it = switches().find(buttonName);
    return it == switches().end() ? 1 : settings.*(it->second);
}

void applyToolbarSwitches(const BuiltToolbars& toolbars, const IniSettings& settings) {
    for (const auto& [name, action] : toolbars.buttons)
        if (switches().count(name)) action->setVisible(toolbarSwitch(settings, name) == 1);
}

}  // namespace kavina::shell
