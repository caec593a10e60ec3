#pragma once
// The fields of the plugin list's record set (record set name "pluginlist").

#include "foundation/Field.h"

namespace kavina::support::pluginListFields {

inline constexpr Field Name{"pluginlist", "Name"};
inline constexpr Field Ver{"pluginlist", "Ver"};
inline constexpr Field name2{"pluginlist", "name2"};  // the description, not shown
inline constexpr Field index{"pluginlist", "index"};  // the plugin's place in the loading order

}  // namespace kavina::support::pluginListFields
