#include "foundation/NewDataFolder.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/DemoBusiness.h"
#include "foundation/NavCodes.h"
#include "foundation/TableRows.h"

namespace kavina {
namespace {

namespace fs = std::filesystem;

std::string lowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Refuses a target that is not a folder or holds any table, memo or index file.
void requireNoTables(const fs::path& folder) {
    std::error_code ec;
    if (!fs::exists(folder, ec)) return;
    if (!fs::is_directory(folder, ec)) throw FolderRefused(folder.string() + " is not a folder; nothing was changed");
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string ext = lowerExtension(entry.path());
        if (ext == ".dbf" || ext == ".dbt" || ext == ".mdx") found.push_back(entry.path().filename().string());
    }
    if (found.empty()) return;
    std::sort(found.begin(), found.end());
    std::string list = found.front();
    for (size_t i = 1; i < found.size() && i < 3; ++i) list += ", " + found[i];
    if (found.size() > 3) list += ", ...";
    throw FolderRefused(folder.string() + " already holds tables (" + list +
                        "); a new data folder needs an empty or new folder. Nothing was changed.");
}

void addReferenceRows(const std::string& folder) {
    namespace Ar = fields::Arcsoport;
    namespace Fm = fields::Fizmod;
    namespace Vat = fields::AFA;
    appendRows(folder, TableId::Arcsoport,
               {{{Ar::ID, "1"}, {Ar::ARCSOPORT, "1. árcsoport"}},
                {{Ar::ID, "2"}, {Ar::ARCSOPORT, "2. árcsoport"}},
                {{Ar::ID, "3"}, {Ar::ARCSOPORT, "3. árcsoport"}},
                {{Ar::ID, "4"}, {Ar::ARCSOPORT, "Fix árcsoport"}}});
    appendRows(folder, TableId::Fizmod,
               {{{Fm::FIZMOD, "Készpénz"}, {Fm::HATARIDO, "0"}, {Fm::NAVPAYMENT, "CASH"}},
                {{Fm::FIZMOD, "Átutalás"}, {Fm::HATARIDO, "8"}, {Fm::NAVPAYMENT, "TRANSFER"}},
                {{Fm::FIZMOD, "Csekk"}, {Fm::HATARIDO, "8"}, {Fm::NAVPAYMENT, "OTHER"}}});
    appendRows(folder, TableId::AFA,
               {{{Vat::AFA, "27"}, {Vat::MEGNEVEZES, "27%"}, {Vat::VATKIND, "P"}},
                {{Vat::AFA, "18"}, {Vat::MEGNEVEZES, "18%"}, {Vat::VATKIND, "P"}},
                {{Vat::AFA, "5"}, {Vat::MEGNEVEZES, "5%"}, {Vat::VATKIND, "P"}},
                {{Vat::AFA, "0"}, {Vat::MEGNEVEZES, "FAD"}}});
    std::vector<Row> units;
    for (const char* unit : {"db", "kg", "m", "l", "óra", "csomag"})
        units.push_back({{fields::Egyseg::EGYSEG, unit},
                         {fields::Egyseg::NAVUNIT, navUnitOf(QString::fromUtf8(unit)).toStdString()}});
    appendRows(folder, TableId::Egyseg, units);
    appendRows(folder, TableId::Raktar, {{{fields::Raktar::MEGNEVEZES, "Törzsraktár"}}});
}

void buildTables(const std::string& folder, const std::string& target, const NewFolderOptions& options) {
    for (const TableDef& def : catalogue::tables())
        if (def.location == TableLocation::DataFolder) catalogue::createTable(def, folder);
    addReferenceRows(folder);
    if (options.demo) addDemoBusiness(folder, target, options.today, !options.demoHistoryFollows);
}

// Moves without replacing: a file another process put there meanwhile stays.
void moveNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
    if (errno != EINVAL && errno != ENOSYS)
        throw fs::filesystem_error("cannot move the new table into place", from, to,
                                   std::error_code(errno, std::generic_category()));
    // A file system without the no-replace rename: look first.
    if (fs::exists(to))
        throw fs::filesystem_error("the file appeared meanwhile", to, std::make_error_code(std::errc::file_exists));
    fs::rename(from, to);
}

// Moves every table file of the staging folder into the target; on failure takes back what
// it moved.
void moveInto(const fs::path& staging, const fs::path& target) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(staging)) {
        const std::string name = entry.path().filename().string();
        if (name != dbase::kJournalName && name != dbase::kFolderLockName) names.push_back(name);
    }
    std::vector<fs::path> moved;
    try {
        for (const std::string& name : names) {
            moveNoReplace(staging / name, target / name);
            moved.push_back(target / name);
        }
    } catch (...) {
        std::error_code ec;
        for (const fs::path& path : moved) fs::remove_all(path, ec);
        throw;
    }
}

// A hidden folder inside the target, removed with everything in it when done.
class StagingFolder {
public:
    explicit StagingFolder(const fs::path& target) {
        std::string pattern = (target / ".kavina-new-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw fs::filesystem_error("cannot create a working folder", target,
                                       std::error_code(errno, std::generic_category()));
        m_path = pattern;
    }
    ~StagingFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

}  // namespace

void createDataFolder(const std::string& folder, const NewFolderOptions& options) {
    const fs::path target(folder);
    requireNoTables(target);
    std::error_code ec;
    const bool existed = fs::exists(target, ec);
    fs::create_directories(target);
    try {
        StagingFolder staging(target);
        buildTables(staging.path().string(), fs::absolute(target).lexically_normal().string(), options);
        moveInto(staging.path(), target);
    } catch (...) {
        if (!existed) fs::remove(target, ec);  // only when empty again
        throw;
    }
}

}  // namespace kavina
