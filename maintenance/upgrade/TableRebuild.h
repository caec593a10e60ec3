#pragma once
// A table rebuilt with a new field list without ever emptying it: the records are copied into
// a new table beside the old one (upg_<name>), the copy's record count is checked against the
// old table's live records, the copy gets the old table's tags, and only then the files are
// swapped: the old ones step aside as old_<name>, the new ones take the table's name, and the
// old ones are deleted last. A marker file kavina.upg names the table while its swap runs, so
// recoverRebuilds() can finish a swap a dead process left; without the marker, leftover copies
// are simply removed and the table is as it was.
//
// Values are copied by field name (ignoring case) as typed values, never through text: a
// floating value into an integer field is rounded to the nearest integer, ties to even.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbase/Schema.h"
#include "foundation/Catalogue.h"

namespace dbase {
class Table;
}

namespace kavina {
class TDataModule1;
}

namespace kavina::maintenance {

inline constexpr const char* kRebuildMarker = "kavina.upg";

struct RebuildSpec {
    TableId table;
    std::vector<dbase::FieldDef> fields;  // the new table's fields in order
    // Sets what the copy cannot: called with the old record and the new one (in insert state,
    // the copied values already in).
    std::function<void(const dbase::Table& from, dbase::Table& to)> fill;
    // The order the records are copied in (record numbers of live records); empty: file order.
    std::function<std::vector<uint32_t>(dbase::Table& from)> order;
};

// Told the records done and twice the record count, as the upgrade's progress bar runs.
using RebuildProgress = std::function<void(int done, int total)>;

// Rebuilds the table through the data module's handle, which is closed for it and reopened
// afterwards. Throws DbError (the table busy, a value the new field cannot take, a count that
// does not match) with the table's files as they were.
void rebuildBeside(TDataModule1& data, const RebuildSpec& spec, const RebuildProgress& progress = {});

// The fields a table file has now, as definitions a rebuild takes.
std::vector<dbase::FieldDef> currentFields(const std::string& folder, const std::string& fileName);

// Finishes a swap that a dead process left half done, or removes the copies of a rebuild that
// never reached its swap.
void recoverRebuilds(const std::string& folder);

}  // namespace kavina::maintenance
