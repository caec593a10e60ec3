#pragma once
// The words a clerk reads when the table engine fails: what happened, to which table, in
// Hungarian, followed by the engine's own English text for whoever looks into it.

#include <QString>
#include <exception>

namespace dbase {
class DbError;
}

namespace kavina {

// One sentence per kind of engine error, naming the table ("A(z) Szamla.dbf tábla sérült"),
// then ": " and the engine's text. An error of a memo or index file names its table; one that
// concerns no table (the data folder, the journal) speaks of the database.
QString dbErrorText(const dbase::DbError& error);

// The text of any error a message box shows: an engine error as above, any other as its own.
QString errorText(const std::exception& error);

}  // namespace kavina
