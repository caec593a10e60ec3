#include "DbTool.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "Csv.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"
#include "dbase/Transaction.h"

namespace kavina::dbtool {
namespace {

using dbase::FieldType;
using dbase::Table;

constexpr const char* kUsage =
    "usage:\n"
    "  kavina-db schema FILE\n"
    "  kavina-db dump FILE [--order TAG] [--filter EXPR] [--format csv|json]\n"
    "  kavina-db create FILE --fields NAME:TYPE:WIDTH[:DEC],... [--tags FIELD[:desc],...] [--level 3|4|7]\n"
    "  kavina-db import FILE --csv DATA.csv\n"
    "  kavina-db check FILE|DIR\n"
    "  kavina-db reindex FILE|DIR\n"
    "  kavina-db init [--demo] DIR\n"
    "  kavina-db generate --year YYYY --documents N [--seed N] [--products N] [--partners N] DIR\n"
    "types: C text, I integer, S short integer, F float, L logical, D date, T date-time, M memo\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Command {
    std::string name;
    std::string file;
    std::map<std::string, std::string> options;
};

Command parseArgs(const std::vector<std::string>& args, const std::vector<std::string>& allowed) {
    if (args.size() < 2) throw UsageError("a command and a table file are needed");
    Command cmd{args[0], args[1], {}};
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& key = args[i];
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) throw UsageError("unknown option " + key);
        if (i + 1 >= args.size()) throw UsageError("option " + key + " needs a value");
        cmd.options[key] = args[++i];
    }
    return cmd;
}

std::pair<std::string, std::string> splitPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::unique_ptr<Table> openTable(const std::string& path, bool exclusive, bool readOnly) {
    const auto [folder, name] = splitPath(path);
    auto table = std::make_unique<Table>(folder, name);
    table->open({.exclusive = exclusive, .readOnly = readOnly});
    return table;
}

const char* levelName(dbase::TableLevel level) {
    switch (level) {
        case dbase::TableLevel::DBase3: return "dBASE III";
        case dbase::TableLevel::DBase4: return "dBASE IV";
        case dbase::TableLevel::DBase7: return "dBASE level 7";
    }
    return "?";
}

int schema(const Command& cmd, std::ostream& out) {
    auto table = openTable(cmd.file, false, true);
    const auto& h = table->header();
    out << "table: " << table->path() << "\n"
        << "level: " << levelName(h.level) << "\n"
        << "code page: " << (h.codePage() == dbase::CodePage::Dos852 ? "852" : "1250") << "\n"
        << "records: " << h.recordCount << "\n"
        << "production index: " << (h.indexFlag ? "yes" : "no") << "\n"
        << "fields:\n";
    for (const auto& f : h.fields)
        out << "  " << f.name << " " << dbase::typeLetter(f.logical) << " (stored " << f.physical << " " << f.length
            << (f.decimals ? "." + std::to_string(f.decimals) : "") << ")\n";
    return 0;
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string jsonValue(const Table& table, int i) {
    const auto& f = table.fields()[size_t(i)];
    if (table.isNull(i)) return "null";
    switch (f.logical) {
        case FieldType::Integer:
        case FieldType::Short:
        case FieldType::Float: return table.asString(i);
        case FieldType::Logical: return table.asLogical(i) ? "true" : "false";
        default: return jsonString(table.asString(i));
    }
}

// The records a dump leaves out because the header does not count them; the dump then ends
// with a failure status, so that an empty or short dump is never taken for the whole table.
int reportRecordsPastCount(Table& table, std::ostream& err) {
    const uint32_t past = table.recordsPastCount();
    if (past == 0) return 0;
    err << "kavina-db: " << table.path() << ": the file holds " << past << " whole records after the "
        << table.header().recordCount << " its header counts; they are not shown (kavina-db reindex recovers them)\n";
    return 1;
}

int dump(const Command& cmd, std::ostream& out, std::ostream& err) {
    const std::string format = cmd.options.count("--format") ? cmd.options.at("--format") : "csv";
    if (format != "csv" && format != "json") throw UsageError("format must be csv or json");
    auto table = openTable(cmd.file, false, true);
    if (cmd.options.count("--order")) table->setOrder(cmd.options.at("--order"));
    if (cmd.options.count("--filter")) {
        table->setFilter(cmd.options.at("--filter"));
        table->setFiltered(true);
    }
    const auto& fields = table->fields();
    const int count = int(fields.size());
    if (format == "csv") {
        for (int i = 0; i < count; ++i) out << (i ? "," : "") << csvField(fields[size_t(i)].name);
        out << "\n";
        for (table->first(); !table->eof(); table->next()) {
            for (int i = 0; i < count; ++i) out << (i ? "," : "") << csvField(table->asString(i));
            out << "\n";
        }
        return reportRecordsPastCount(*table, err);
    }
    out << "[";
    bool firstRecord = true;
    for (table->first(); !table->eof(); table->next()) {
        out << (firstRecord ? "\n  {" : ",\n  {");
        firstRecord = false;
        for (int i = 0; i < count; ++i)
            out << (i ? ", " : "") << jsonString(fields[size_t(i)].name) << ": " << jsonValue(*table, i);
        out << "}";
    }
    out << (firstRecord ? "]\n" : "\n]\n");
    return reportRecordsPastCount(*table, err);
}

int toInt(const std::string& text, const std::string& what) {
    int v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size()) throw UsageError(what + " '" + text + "' is not a number");
    return v;
}

std::vector<dbase::FieldDef> parseFields(const std::string& spec) {
    std::vector<dbase::FieldDef> defs;
    std::stringstream list(spec);
    std::string item;
    while (std::getline(list, item, ',')) {
        std::vector<std::string> parts;
        std::stringstream ps(item);
        std::string part;
        while (std::getline(ps, part, ':')) parts.push_back(part);
        if (parts.size() < 2 || parts.size() > 4 || parts[1].size() != 1)
            throw UsageError("field '" + item + "' is not NAME:TYPE:WIDTH[:DEC]");
        const auto type = dbase::typeFromLetter(parts[1][0]);
        if (!type) throw UsageError("field '" + item + "' has an unknown type " + parts[1]);
        dbase::FieldDef def{parts[0], *type, 0, 0};
        if (parts.size() > 2) def.width = toInt(parts[2], "width");
        if (parts.size() > 3) def.decimals = toInt(parts[3], "decimals");
        if (*type == FieldType::Character && def.width == 0)
            throw UsageError("text field " + parts[0] + " needs a width");
        defs.push_back(def);
    }
    if (defs.empty()) throw UsageError("--fields lists no field");
    return defs;
}

int create(const Command& cmd) {
    if (!cmd.options.count("--fields")) throw UsageError("create needs --fields");
    dbase::TableLevel level = dbase::TableLevel::DBase7;
    if (cmd.options.count("--level")) {
        const int n = toInt(cmd.options.at("--level"), "level");
        if (n != 3 && n != 4 && n != 7) throw UsageError("level must be 3, 4 or 7");
        level = static_cast<dbase::TableLevel>(n);
    }
    const auto [folder, name] = splitPath(cmd.file);
    Table::create(folder, name, parseFields(cmd.options.at("--fields")), level);
    if (cmd.options.count("--tags")) {
        Table table(folder, name);
        table.open({.exclusive = true});
        std::stringstream list(cmd.options.at("--tags"));
        std::string item;
        while (std::getline(list, item, ',')) {
            const size_t colon = item.find(':');
            const std::string field = item.substr(0, colon);
            const std::string option = colon == std::string::npos ? "" : item.substr(colon + 1);
            if (!option.empty() && option != "desc") throw UsageError("tag '" + item + "' is not FIELD[:desc]");
            table.addIndex(field, field, option == "desc");
        }
    }
    return 0;
}

// The tables a FILE|DIR argument names: the file itself, or every .dbf of the folder.
std::vector<std::string> tablesOf(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) return {path};
    std::vector<std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(path, ec)) {
        std::string ext = entry.path().extension().string();
        for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (entry.is_regular_file() && ext == ".dbf") out.push_back(entry.path().string());
    }
    std::sort(out.begin(), out.end());
    if (out.empty()) throw std::runtime_error(path + ": the folder holds no table");
    return out;
}

int check(const Command& cmd, std::ostream& out) {
    bool faulty = false;
    std::error_code ec;
    if (std::filesystem::is_directory(cmd.file, ec)) {
        // What a dead save left is rolled back first (any open would do it), so that what it
        // could not undo is told here.
        const dbase::RecoveryReport recovery = dbase::recoverFolder(cmd.file);
        if (recovery.needsCheck) out << cmd.file << ": " << recovery.detail << "\n";
        // Kept until someone has looked: the tables can check clean and still hold part of
        // the save the journal could not undo in full.
        for (const std::string& damaged : dbase::keptDamagedJournals(cmd.file)) {
            out << damaged
                << ": a save was interrupted and its rollback journal was damaged or named a missing file; what it "
                   "reached was rolled back, but the tables may still hold part of that save. Look at the documents "
                   "saved last (and at the faults listed below), repair them, then delete this file\n";
            faulty = true;
        }
    }
    for (const std::string& path : tablesOf(cmd.file)) {
        std::vector<std::string> faults;
        try {
            auto table = openTable(path, false, true);
            faults = table->checkIntegrity();
        } catch (const dbase::DbError& e) {
            faults.push_back(e.what());
        }
        if (faults.empty()) out << path << ": ok\n";
        for (const std::string& f : faults) out << f << "\n";
        faulty = faulty || !faults.empty();
    }
    return faulty ? 1 : 0;
}

void reindexTable(const std::string& path, std::ostream& out) {
    const auto [folder, name] = splitPath(path);
    const auto tags = Table::readTagDefinitions(folder, name);
    const dbase::ReindexReport report = Table::reindex(folder, name, tags);
    if (report.recoveredRecords > 0)
        out << path << ": " << report.recoveredRecords << " records past the header's count recovered\n";
    if (report.droppedBytes > 0)
        out << path << ": " << report.droppedBytes << " bytes after the last whole record dropped (no record)\n";
    if (report.memoEndRepaired) out << path << ": the memo file's next free block put back at its end\n";
    out << path << ": " << tags.size() << " tags rebuilt\n";
}

// A folder is reindexed table by table: one that cannot be read (reindex leaves it unchanged)
// is named, and the others are still rebuilt.
int reindex(const Command& cmd, std::ostream& out) {
    std::error_code ec;
    if (!std::filesystem::is_directory(cmd.file, ec)) {
        reindexTable(cmd.file, out);
        return 0;
    }
    int code = 0;
    for (const std::string& path : tablesOf(cmd.file)) {
        try {
            reindexTable(path, out);
        } catch (const dbase::DbError& e) {
            out << path << ": not reindexed: " << e.what() << "\n";
            code = 1;
        }
    }
    return code;
}

// Sets every column of one CSV row into the record being inserted.
void fillRecord(Table& table, const std::vector<int>& columns, const std::vector<std::string>& row, size_t line) {
    if (row.size() != columns.size())
        throw std::runtime_error("line " + std::to_string(line) + " has " + std::to_string(row.size()) +
                                 " values, the header " + std::to_string(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i) {
        try {
            if (row[i].empty())
                table.setNull(columns[i]);
            else
                table.setString(columns[i], row[i]);
        } catch (const dbase::DbError& e) {
            throw std::runtime_error("line " + std::to_string(line) + ": " + e.what());
        }
    }
}

int import(const Command& cmd, std::ostream& out) {
    if (!cmd.options.count("--csv")) throw UsageError("import needs --csv");
    std::ifstream in(cmd.options.at("--csv"), std::ios::binary);
    if (!in) throw std::runtime_error(cmd.options.at("--csv") + ": cannot open");
    auto table = openTable(cmd.file, false, false);
    const auto header = readCsvRecord(in);
    if (!header) throw std::runtime_error(cmd.options.at("--csv") + ": the file is empty");
    std::vector<int> columns;
    for (const std::string& name : *header) {
        const int i = table->fieldIndex(name);
        if (i < 0) throw std::runtime_error(cmd.options.at("--csv") + ": the table has no field " + name);
        columns.push_back(i);
    }
    // Every row is checked before the first is written, so a bad file changes nothing.
    std::vector<std::vector<std::string>> rows;
    while (auto row = readCsvRecord(in)) {
        if (row->size() == 1 && row->front().empty()) continue;  // blank line
        table->append();
        fillRecord(*table, columns, *row, rows.size() + 2);
        table->cancel();
        rows.push_back(std::move(*row));
    }
    table->beginBulkAppend();
    for (size_t i = 0; i < rows.size(); ++i) {
        table->append();
        fillRecord(*table, columns, rows[i], i + 2);
        table->post();
    }
    table->endBulkAppend();
    out << rows.size() << " records imported\n";
    return 0;
}

}  // namespace

const char* usage() {
    return kUsage;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty() || args[0] == "--help" || args[0] == "help") {
            (args.empty() ? err : out) << kUsage;
            return args.empty() ? 2 : 0;
        }
        const std::string& name = args[0];
        if (name == "schema") return schema(parseArgs(args, {}), out);
        if (name == "dump") return dump(parseArgs(args, {"--filter", "--format", "--order"}), out, err);
        if (name == "create") return create(parseArgs(args, {"--fields", "--level", "--tags"}));
        if (name == "check") return check(parseArgs(args, {}), out);
        if (name == "reindex") return reindex(parseArgs(args, {}), out);
        if (name == "import") return import(parseArgs(args, {"--csv"}), out);
        throw UsageError("unknown command " + name);
    } catch (const UsageError& e) {
        err << "kavina-db: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        err << "kavina-db: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace kavina::dbtool
