#pragma once
// kavina-db, the administrator's tool over a data folder's tables. The commands run here so
// that tests can drive them in-process; main() only passes the arguments through.
//
//   schema FILE
//   dump FILE [--order TAG] [--filter EXPR] [--format csv|json]
//   create FILE --fields NAME:TYPE:WIDTH[:DEC],... [--tags FIELD[:desc],...] [--level 3|4|7]
//   import FILE --csv DATA.csv
//   check FILE|DIR      records, memos and every tag; exit status 1 when anything is wrong
//   reindex FILE|DIR    packs each table and rebuilds its tags, counting again the records a
//                       dead writer left past the header's count; a table it cannot read is
//                       left as it is
//   init [--demo] DIR   a new data folder (InitCommand.h; the one command that needs the
//                       catalogue)

#include <iosfwd>
#include <string>
#include <vector>

namespace kavina::dbtool {

// Runs one command; returns the exit status (0 success, 1 failure, 2 wrong usage). Results go
// to out, errors to err.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text of every command.
const char* usage();

}  // namespace kavina::dbtool
