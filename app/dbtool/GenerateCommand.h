#pragma once
// kavina-db generate --year YYYY --documents N [--seed N] [--products N] [--partners N] DIR:
// a data folder with a year of documents stored through the program's own saves, with a
// progress line on the terminal. A folder without tables is created with its registers; a
// folder holding a business gets the documents after its own.

#include <QDate>
#include <iosfwd>
#include <string>
#include <vector>

namespace kavina::dbtool {

// args[0] is "generate". Returns the exit status: 0 done, 1 refused or failed, 2 wrong usage.
// The progress line goes to progress (a terminal), the summary to out.
int runGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The demo's history: a few hundred documents over the four months before today, stored after
// the demo's own documents, so that the lists, the statistics and the stock have content.
void addDemoHistory(const std::string& folder, const QDate& today);

}  // namespace kavina::dbtool
