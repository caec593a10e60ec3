#pragma once
// A new data folder: every table of the catalogue (the optional ones too, so a new folder
// needs no upgrade), each with its index file, and the reference rows a business needs to
// start: price groups, payment methods, VAT groups, units and the main warehouse. The
// settings record and the users stay empty for the first start to fill.
//
// The demo adds a small business to try every screen with: its settings record, partners,
// towns, categories, goods and services. Its partner and product codes are taken, so its
// settings record carries the counters that follow them.
//
// The tables are built in a hidden folder inside the target and moved in only when complete,
// so a failure leaves the target as it was.

#include <QDate>
#include <stdexcept>
#include <string>

namespace kavina {

struct NewFolderOptions {
    bool demo = false;
    QDate today = QDate::currentDate();  // the demo's year of the last year opening
    // A generated history of documents follows the demo business: the demo's handful of
    // documents is left out and every counter starts at 1, so that the numbers of each series
    // follow the days of the history.
    bool demoHistoryFollows = false;
};

// The target already holds tables, or is not a folder. Nothing was changed.
class FolderRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates the folder (and its parents) when missing and fills it. Throws FolderRefused when
// it already holds a table, memo or index file; a DbError or std::filesystem error when
// writing fails, after removing what it wrote.
void createDataFolder(const std::string& folder, const NewFolderOptions& options = {});

}  // namespace kavina
