#pragma once
// kavina-db init [--demo] DIR: a new data folder with every table of the catalogue and the
// reference rows, and with --demo the demo business too. This command needs the catalogue,
// so it lives apart from the other commands, which use the table engine alone.

#include <QDate>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace kavina::dbtool {

// What --demo adds once the demo business stands in the folder (kavina-db: a few months of
// documents); throws when it fails.
using DemoHistory = std::function<void(const std::string& folder, const QDate& today)>;

// args[0] is "init". Returns the exit status: 0 done, 1 refused or failed, 2 wrong usage.
int runInit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const DemoHistory& history = {});

}  // namespace kavina::dbtool
