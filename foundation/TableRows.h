#pragma once
// Rows given as field texts, for filling new tables (reference rows, the demo business).

#include <string>
#include <utility>
#include <vector>

#include "foundation/Catalogue.h"
#include "foundation/Field.h"

namespace kavina {

// Field and value as text, converted as the engine converts typed text.
using Row = std::vector<std::pair<Field, std::string>>;

// Appends the rows to the catalogue table in the folder. Throws DbError, also for a field of
// another table.
void appendRows(const std::string& folder, TableId id, const std::vector<Row>& rows);

// A number as the shortest text that reads back to the same double.
std::string numberText(double value);

}  // namespace kavina
