#include "ExternalTools.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace testing_support {

namespace fs = std::filesystem;

std::string quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string readFile(const fs::path& path) {
    std::string out;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
        std::fclose(f);
    }
    return out;
}

ToolRun run(const TestFolder& dir, const std::string& command) {
    const std::string out = dir.file("tool.out"), err = dir.file("tool.err");
    const int status = std::system((command + " >" + quote(out) + " 2>" + quote(err)).c_str());
    ToolRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

namespace {

bool commandWorks(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Compiles the checker once; later test processes reuse the binary while it is newer than
// its source. Each compile works in a folder of its own and renames the result into place,
// so parallel test processes never see a half-written binary.
Tool buildTDbfChecker() {
    const fs::path source = fs::path(KAVINA_TEST_TOOLS) / "tdbfcheck.pas";
    const fs::path dir = KAVINA_TOOL_BUILD_DIR;
    const fs::path binary = dir / "tdbfcheck";
    if (!commandWorks("command -v fpc"))
        return {"",
                "fpc is not installed; the interchange tests need Free Pascal with TDbf "
                "(Debian packages fpc and fp-units-db, installed by the set-up script)"};
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (fs::exists(binary) && fs::last_write_time(binary) >= fs::last_write_time(source)) return {binary.string(), ""};
    const fs::path work = dir / ("tdbfcheck-build-" + std::to_string(::getpid()));
    fs::create_directories(work, ec);
    const fs::path log = work / "fpc.log";
    const std::string compile = "fpc -FU" + quote(work.string()) + " -FE" + quote(work.string()) + " " +
                                quote(source.string()) + " >" + quote(log.string()) + " 2>&1";
    if (std::system(compile.c_str()) != 0 || !fs::exists(work / "tdbfcheck"))
        return {"", "fpc could not compile " + source.string() + " (is fp-units-db installed?):\n" + readFile(log)};
    fs::rename(work / "tdbfcheck", binary, ec);
    fs::remove_all(work, ec);
    if (ec) return {"", "cannot place the compiled checker at " + binary.string() + ": " + ec.message()};
    return {binary.string(), ""};
}

}  // namespace

const Tool& tdbfChecker() {
    static const Tool tool = buildTDbfChecker();
    return tool;
}

const Tool& pythonLibraries() {
    static const Tool tool = [] {
        if (!commandWorks(std::string(kPython) + " -c 'import dbf, dbfread'"))
            return Tool{"", std::string(kPython) +
                                " cannot import dbf and dbfread; the interchange tests need the "
                                "Debian packages python3-dbf and python3-dbfread (set-up script)"};
        return Tool{kPython, ""};
    }();
    return tool;
}

Dump parseDump(const std::string& text) {
    Dump dump;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line == "end") {
            dump.complete = true;
        } else if (line.rfind("field ", 0) == 0) {
            dump.fields.push_back(line.substr(6));
        } else if (line.rfind("record ", 0) == 0) {
            dump.records.push_back({line.find(" deleted") != std::string::npos, {}});
        } else if (!dump.records.empty() && line.find('=') != std::string::npos) {
            const size_t eq = line.find('=');
            dump.records.back().values[line.substr(0, eq)] = line.substr(eq + 1);
        } else if (const size_t space = line.find(' '); space != std::string::npos) {
            dump.header[line.substr(0, space)] = line.substr(space + 1);
        }
    }
    return dump;
}

std::string level7Descriptor(dbase::FieldType type, int width) {
    using dbase::FieldType;
    switch (type) {
        case FieldType::Character: return "C " + std::to_string(width) + " 0";
        case FieldType::Integer: return "I 4 0";
        case FieldType::Short: return "N 6 0";
        case FieldType::Float: return "O 8 0";
        case FieldType::Logical: return "L 1 0";
        case FieldType::Date: return "D 8 0";
        case FieldType::DateTime: return "@ 8 0";
        case FieldType::Memo: return "M 10 0";
    }
    return "";
}

}  // namespace testing_support
