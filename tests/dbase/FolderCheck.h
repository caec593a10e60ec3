#pragma once
// The engine's check of every table and tag of a folder, for the tests that end with it.
#include <string>
#include <vector>

namespace testing_support {

// Every fault found, each after the name of its table; empty when the folder is sound.
std::vector<std::string> checkAllTables(const std::string& folder);

}  // namespace testing_support
