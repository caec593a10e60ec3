// The main window of a signed-in session with every command of its menus wired to the
// features' windows and logic. The program runs it around the event loop; the end-to-end tests
// run it around a scripted day, so both drive the same commands.
#pragma once

#include <QString>
#include <functional>

namespace kavina {
class Desktop;
}

namespace kavina::shell {
class SessionActions;
class SessionState;
class SessionWindowsQt;
class TForm1;
}  // namespace kavina::shell

namespace kavina::app {

// Runs while the main window is shown; returns the run's result (the event loop's exit code).
using MainWindowLoop = std::function<int(shell::TForm1& form)>;

// Builds the main window of the signed-in session `state`, registers every menu command, loads
// the plugins once the start-up tasks have run (starting `pluginToStart` when it names one),
// shows the window and runs `loop`; after it the window is detached from `actions` and the
// plugins are unloaded. Returns what `loop` returned.
int runMainWindow(shell::SessionState& state, shell::SessionActions& actions, shell::SessionWindowsQt& windows,
                  Desktop& desktop, const QString& pluginToStart, const MainWindowLoop& loop);

}  // namespace kavina::app
