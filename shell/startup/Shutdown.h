#pragma once
// Ending a run: the exit question, the sign-out (this instance's userlog.dbf row deleted and
// the clean-exit flag kilepett = 1 written), and the files the main window leaves behind.

#include <QString>

namespace kavina {
class Prompt;
}

namespace kavina::shell {

struct SessionState;

// "Biztos benne, hogy kilép a Kavina programból?"; true for "Igen".
bool confirmExit(Prompt& prompt);

// The sign-out, also for code that ends the program by itself. Safe to call more than once.
void signOut(SessionState& state);

// Deletes "rontott.gif", "storno.gif" and "version.ini" from the folder where present.
void removeLeftoverFiles(const QString& folder);

}  // namespace kavina::shell
