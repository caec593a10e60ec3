#pragma once
// The operating system's request to end the program (SIGTERM, SIGINT, SIGHUP: a shutdown of
// the desktop, a terminal closed, a service manager) signs the instance out as a normal exit
// does, without asking, and then ends the event loop. A process killed outright (SIGKILL)
// cannot do that: it leaves kilepett = 0 and its userlog.dbf row for the next start.

#include <functional>

namespace kavina::shell {

// Installs the handlers; onRequest runs in the event loop, once. Call once, after the
// application object exists.
void endOnTerminationSignals(std::function<void()> onRequest);

}  // namespace kavina::shell
