#pragma once
// The CSV dialect of kavina-db: UTF-8, comma-separated, a header row of field names, fields
// quoted with '"' when they hold a comma, a quote or a line break (quotes doubled inside).

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace kavina::dbtool {

// Reads one record; nullopt at the end of input. Throws std::runtime_error on an unclosed quote.
std::optional<std::vector<std::string>> readCsvRecord(std::istream& in);

std::string csvField(const std::string& value);

}  // namespace kavina::dbtool
