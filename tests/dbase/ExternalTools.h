#pragma once
// Running the independent dBASE implementations that tests check the engine against: TDbf
// (Free Pascal, through tests/tools/tdbfcheck.pas, compiled on first use) and the Python
// libraries dbf and dbfread (Debian's /usr/bin/python3). They speak one canonical text
// (header lines, "field" lines, "record n", NAME=value, "end"); see the tools for its details.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "dbase/Schema.h"

namespace testing_support {

inline constexpr const char* kPython = "/usr/bin/python3";

// A text quoted for the shell.
std::string quote(const std::string& text);
std::string readFile(const std::filesystem::path& path);

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs a shell command, its output caught in files of the folder.
ToolRun run(const TestFolder& dir, const std::string& command);

struct Tool {
    std::string command;  // empty when unavailable
    std::string problem;
};

const Tool& tdbfChecker();
const Tool& pythonLibraries();

struct DumpRecord {
    bool deleted = false;
    std::map<std::string, std::string> values;
};

struct Dump {
    std::map<std::string, std::string> header;  // lines before the fields: level, codepage...
    std::vector<std::string> fields;            // "NAME TYPE LENGTH DECIMALS"
    std::vector<DumpRecord> records;
    bool complete = false;  // the closing "end" was seen
};

Dump parseDump(const std::string& text);

// The descriptor ("TYPE LENGTH DECIMALS") of a field of a level-7 table, in the stored types
// the engine uses and TDbf shows.
std::string level7Descriptor(dbase::FieldType type, int width);

}  // namespace testing_support
