#pragma once
// Rows given as field texts, for filling new tables (reference rows, the demo business).

#include <string>
#include <utility>
#include <vector>

#include "foundation/Catalogue.h"

namespace kavina {

// Field name and value as text, converted as the engine converts typed text.
using Row = std::vector<std::pair<std::string, std::string>>;

// Appends the rows to the catalogue table in the folder. Throws DbError.
void appendRows(const std::string& folder, TableId id, const std::vector<Row>& rows);

// A number as the shortest text that reads back to the same double.
std::string numberText(double value);

}  // namespace kavina
