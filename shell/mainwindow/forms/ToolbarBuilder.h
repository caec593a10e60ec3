#pragma once
// Builds the main window's four toolbars from the command tables: picture buttons for the
// document commands, the master data and the settings, and a row of web links. Buttons with a
// menu open it at once; the others run their handler.

#include <QString>
#include <map>

#include "foundation/IniSettings.h"
#include "shell/mainwindow/forms/MainMenuBuilder.h"

class QAction;
class QMainWindow;
class QToolBar;

namespace kavina::shell {

struct BuiltToolbars {
    std::map<QString, QToolBar*> bars;    // by toolbar object name
    std::map<QString, QAction*> buttons;  // by button object name
};

// Adds the toolbars to the window; the builder tracks every button for enabling.
BuiltToolbars buildToolbars(QMainWindow& window, MainMenuBuilder& builder, const MainMenuBuilder::Run& run);

// Shows each switchable button only when its key in the ini section toolbar is 1.
void applyToolbarSwitches(const BuiltToolbars& toolbars, const IniSettings& settings);

// The ini value of a switchable button (1 when the name is not one).
int toolbarSwitch(const IniSettings& settings, const QString& buttonName);

}  // namespace kavina::shell
