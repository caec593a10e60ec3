#pragma once
// The table catalogue: the one place that defines every table of the program. For each table
// it holds the file name as spelled on disk, the name of its shared handle, its fields in
// physical order with type and width, its index tags in creation order, the order its shared
// handle is set to (on opening and after a reindex), whether the file is optional, and the
// master it follows as a detail. Everything else names tables through TableId and reads their
// structure from here; no other file spells a table's structure.
//
// The data folder's tables are created at dBASE level 7: integers, doubles and date-times
// then round-trip exactly, and field names may be longer than ten characters (szavatossag).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbase/MdxFile.h"
#include "dbase/Schema.h"

namespace kavina {

enum class TableId {
    Partner,
    Anyag,
    Kategoria,
    PCsoport,
    Telep,
    Fizmod,
    Szamla,
    Szamla2,
    AFA,
    Egyseg,
    Garancia,
    Garancia2,
    Arcsoport,
    Munkalap,
    Raktar,
    Akcio,
    Tranzakcio,
    Vonalkod,
    NavQueue,
    User,
    Jogok,
    Userlog,
    Tmp1,
    Tmp2,
};

enum class TableLocation {
    DataFolder,
    ProgramFolder,  // working tables of the text search, beside the program
};

struct TagDef {
    std::string name;
    std::string field;
    bool descending = false;
};

// The detail side of a master link: the detail shows only the records whose linkField equals
// the master's field of the same name.
struct DetailLink {
    TableId master;
    std::string linkField;
};

struct TableDef {
    TableId id;
    std::string fileName;
    std::string handleName;  // empty for the working tables, which have no shared handle
    std::vector<dbase::FieldDef> fields;
    std::vector<TagDef> tags;       // in creation order
    std::string defaultOrder;       // a tag name; empty is physical order
    std::string orderAfterReindex;  // the order the handle is reopened on after a reindex
    bool optional = false;          // touched only when its .dbf exists
    std::optional<DetailLink> detailOf;
    TableLocation location = TableLocation::DataFolder;

    // The field definition of that name (ignoring case), or nullptr.
    const dbase::FieldDef* field(std::string_view name) const;
};

namespace catalogue {

inline constexpr dbase::TableLevel kTableLevel = dbase::TableLevel::DBase7;

// Every table, data folder first, in the order of the table list.
const std::vector<TableDef>& tables();
const TableDef& table(TableId id);
// Looks a table up by its file name or its handle name, ignoring case; nullptr when unknown.
const TableDef* findByFileName(std::string_view fileName);
const TableDef* findByHandleName(std::string_view handleName);

// The tags as the engine's reindex takes them.
std::vector<dbase::MdxFile::TagDefinition> tagDefinitions(const TableDef& def);

// True when the table's .dbf is in the folder (file names ignore case).
bool existsIn(const TableDef& def, const std::string& folder);

// Creates the table, empty, with its memo file and its tags, in the folder. Throws DbError
// when it exists or cannot be written; on failure no file of the table is left behind.
void createTable(const TableDef& def, const std::string& folder);

}  // namespace catalogue
}  // namespace kavina
