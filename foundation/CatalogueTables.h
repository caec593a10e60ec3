#pragma once
// The catalogue's table definitions, built once by Catalogue.cpp.

#include <vector>

#include "foundation/Catalogue.h"

namespace kavina::catalogue {

// Every table in TableId order.
std::vector<TableDef> buildTables();

}  // namespace kavina::catalogue
