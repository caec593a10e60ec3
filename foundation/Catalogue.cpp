#include "foundation/Catalogue.h"

#include <strings.h>

#include <array>
#include <cassert>
#include <filesystem>

#include "dbase/File.h"
#include "dbase/Table.h"
#include "foundation/CatalogueTables.h"

namespace kavina {
namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string withExtension(const std::string& fileName, const char* extension) {
    return fileName.substr(0, fileName.rfind('.')) + extension;
}

// The files a table may consist of: the table, its memo file and its production index.
std::array<std::string, 3> filesOf(const TableDef& def, const std::string& folder) {
    return {dbase::resolvePath(folder, def.fileName), dbase::resolvePath(folder, withExtension(def.fileName, ".dbt")),
            dbase::resolvePath(folder, withExtension(def.fileName, ".mdx"))};
}

void addTags(const TableDef& def, const std::string& folder) {
    if (def.tags.empty()) return;
    dbase::Table table(folder, def.fileName);
    table.open({.exclusive = true});
    for (const TagDef& tag : def.tags) table.addIndex(tag.name, tag.field, tag.descending);
}

}  // namespace

const dbase::FieldDef* TableDef::field(std::string_view name) const {
    for (const dbase::FieldDef& f : fields)
        if (sameName(f.name, name)) return &f;
    return nullptr;
}

namespace catalogue {

const std::vector<TableDef>& tables() {
    static const std::vector<TableDef> defs = [] {
        std::vector<TableDef> built = buildTables();
        for (size_t i = 0; i < built.size(); ++i) assert(size_t(built[i].id) == i);
        return built;
    }();
    return defs;
}

const TableDef& table(TableId id) {
    return tables()[size_t(id)];
}

const TableDef* findByFileName(std::string_view fileName) {
    for (const TableDef& def : tables())
        if (sameName(def.fileName, fileName)) return &def;
    return nullptr;
}

const TableDef* findByHandleName(std::string_view handleName) {
    if (handleName.empty()) return nullptr;
    for (const TableDef& def : tables())
        if (sameName(def.handleName, handleName)) return &def;
    return nullptr;
}

std::vector<dbase::MdxFile::TagDefinition> tagDefinitions(const TableDef& def) {
    std::vector<dbase::MdxFile::TagDefinition> out;
    for (const TagDef& tag : def.tags) out.push_back({tag.name, tag.field, tag.descending});
    return out;
}

bool existsIn(const TableDef& def, const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_regular_file(dbase::resolvePath(folder, def.fileName), ec);
}

void createTable(const TableDef& def, const std::string& folder) {
    const auto files = filesOf(def, folder);
    std::array<bool, 3> existed{};
    for (size_t i = 0; i < files.size(); ++i) existed[i] = std::filesystem::exists(files[i]);
    try {
        dbase::Table::create(folder, def.fileName, def.fields, kTableLevel);
        addTags(def, folder);
    } catch (...) {
        // Only what this call wrote goes: a memo or index file found beforehand stays.
        std::error_code ec;
        for (size_t i = 0; i < files.size(); ++i)
            if (!existed[i]) std::filesystem::remove(files[i], ec);
        throw;
    }
}

}  // namespace catalogue
}  // namespace kavina
