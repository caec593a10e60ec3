#include "maintenance/upgrade/TableRebuild.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "archive/ZipArchive.h"
#include "dbase/DbError.h"
#include "dbase/File.h"
#include "dbase/Table.h"
#include "foundation/SzamSzov.h"
#include "foundation/TDataModule1.h"

namespace kavina::maintenance {
namespace fs = std::filesystem;
namespace {

constexpr const char* kCopyPrefix = "upg_";
constexpr const char* kOldPrefix = "old_";
const char* const kExtensions[] = {".dbf", ".dbt", ".mdx"};

std::string stem(const std::string& fileName) {
    return fileName.substr(0, fileName.rfind('.'));
}

// The file of the folder of that name, ignoring case, or the name as given.
std::string onDisk(const std::string& folder, const std::string& name) {
    return dbase::resolvePath(folder, name);
}

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

void moveFile(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0)
        throw dbase::DbError(from + ": cannot be renamed to " + to, dbase::DbErrorKind::Io, from);
}

void removeFiles(const std::string& folder, const std::string& prefix, const std::string& base) {
    std::error_code ec;
    for (const char* ext : kExtensions) fs::remove(onDisk(folder, prefix + base + ext), ec);
}

void writeMarker(const std::string& folder, const std::string& fileName) {
    const std::string path = folder + kRebuildMarker;
    const std::string text = fileName + "\n";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ok && ::fsync(fd) == 0;
    if (fd >= 0) ok = ::close(fd) == 0 && ok;
    if (!ok) throw dbase::DbError(path + ": cannot be written", dbase::DbErrorKind::Io, path);
    archive::syncFolder(folder);
}

// The old files step aside, the copies take their names. Run again after a crash, it picks up
// where the files stand: a copy still there has not taken its name yet.
void finishSwap(const std::string& folder, const std::string& fileName) {
    const std::string base = stem(fileName);
    if (exists(onDisk(folder, kCopyPrefix + fileName))) {
        std::vector<std::string> targets;
        for (const char* ext : kExtensions) {
            std::string current = onDisk(folder, base + ext);
            // A rerun after the old file stepped aside takes the name's case from it.
            const std::string stepped = onDisk(folder, kOldPrefix + base + ext);
            if (!exists(current) && exists(stepped))
                current = folder + fs::path(stepped).filename().string().substr(std::strlen(kOldPrefix));
            targets.push_back(current);
            const std::string old = folder + kOldPrefix + fs::path(current).filename().string();
            if (exists(current) && !exists(onDisk(folder, kOldPrefix + base + ext))) moveFile(current, old);
        }
        // The table file last: until it moves, a rerun still finds the copy to finish with.
        for (int i : {1, 2, 0}) {
            const std::string copy = onDisk(folder, kCopyPrefix + base + kExtensions[i]);
            if (exists(copy)) moveFile(copy, targets[static_cast<std::size_t>(i)]);
        }
        archive::syncFolder(folder);
    }
    removeFiles(folder, kOldPrefix, base);
    std::error_code ec;
    fs::remove(folder + kRebuildMarker, ec);
    archive::syncFolder(folder);
}

void copyValue(const dbase::Table& from, int source, dbase::Table& to, int target) {
    if (from.isNull(source)) return;
    const dbase::FieldType type = to.fields()[static_cast<std::size_t>(target)].logical;
    const dbase::FieldType sourceType = from.fields()[static_cast<std::size_t>(source)].logical;
    const bool numericSource = sourceType == dbase::FieldType::Float || sourceType == dbase::FieldType::Integer ||
                               sourceType == dbase::FieldType::Short;
    switch (type) {
        case dbase::FieldType::Character: to.setString(target, from.asString(source)); break;
        case dbase::FieldType::Integer:
        case dbase::FieldType::Short:
            if (sourceType == dbase::FieldType::Float)
                to.setInteger(target, floatToInteger(from.asFloat(source)));
            else if (numericSource)
                to.setInteger(target, from.asInteger(source));
            break;
        case dbase::FieldType::Float:
            if (numericSource) to.setFloat(target, from.asFloat(source));
            break;
        case dbase::FieldType::Logical: to.setLogical(target, from.asLogical(source)); break;
        case dbase::FieldType::Date:
            if (auto date = from.asDate(source)) to.setDate(target, *date);
            break;
        case dbase::FieldType::DateTime:
            if (auto stamp = from.asDateTime(source)) to.setDateTime(target, *stamp);
            break;
        case dbase::FieldType::Memo: to.setMemo(target, from.asMemo(source)); break;
    }
}

std::vector<uint32_t> fileOrder(dbase::Table& from) {
    std::vector<uint32_t> records;
    for (from.first(); !from.eof(); from.next()) records.push_back(from.recNo());
    return records;
}

// Copies every live record of the open old table into the open copy.
void copyRecords(dbase::Table& from, dbase::Table& to, const RebuildSpec& spec, const RebuildProgress& progress) {
    std::vector<std::pair<int, int>> pairs;
    for (int t = 0; t < static_cast<int>(to.fields().size()); ++t)
        if (const int s = from.fieldIndex(to.fields()[static_cast<std::size_t>(t)].name); s >= 0)
            pairs.emplace_back(s, t);
    const std::vector<uint32_t> records = spec.order ? spec.order(from) : fileOrder(from);
    const int total = static_cast<int>(records.size()) * 2;
    int done = 0;
    to.beginBulkAppend();
    for (uint32_t record : records) {
        from.gotoBookmark({record});
        to.append();
        for (const auto& [source, target] : pairs) copyValue(from, source, to, target);
        if (spec.fill) spec.fill(from, to);
        to.post();
        done += 2;
        if (progress && (done % 200 == 0 || done == total)) progress(done, total);
    }
    to.endBulkAppend();
    if (to.recordCount() != records.size())
        throw dbase::DbError(to.path() + ": the copy holds " + std::to_string(to.recordCount()) +
                                 " records instead of " + std::to_string(records.size()),
                             dbase::DbErrorKind::Damaged, to.path());
}

}  // namespace

std::vector<dbase::FieldDef> currentFields(const std::string& folder, const std::string& fileName) {
    dbase::Table table(folder, fileName);
    table.open({.readOnly = true});
    std::vector<dbase::FieldDef> defs;
    for (const dbase::FieldInfo& f : table.fields()) {
        dbase::FieldDef def{f.name, f.logical, 0, 0};
        if (f.logical == dbase::FieldType::Character) def.width = f.length;
        if (table.level() != dbase::TableLevel::DBase7 && f.logical == dbase::FieldType::Float) {
            def.width = f.length;
            def.decimals = f.decimals;
        }
        defs.push_back(def);
    }
    return defs;
}

void rebuildBeside(TDataModule1& data, const RebuildSpec& spec, const RebuildProgress& progress) {
    const std::string folder = data.dataFolder();
    const std::string fileName = fs::path(onDisk(folder, catalogue::table(spec.table).fileName)).filename().string();
    const std::string base = stem(fileName);
    const std::string copyName = kCopyPrefix + fileName;
    data.closeTable(spec.table);
    try {
        removeFiles(folder, kCopyPrefix, base);
        std::vector<dbase::MdxFile::TagDefinition> tags;
        {
            dbase::Table from(folder, fileName);
            from.open({.exclusive = true});
            dbase::Table::create(folder, copyName, spec.fields, catalogue::kTableLevel);
            dbase::Table to(folder, copyName);
            to.open({.exclusive = true});
            copyRecords(from, to, spec, progress);
            for (const auto& tag : dbase::Table::readTagDefinitions(folder, fileName))
                if (to.fieldIndex(tag.expression) >= 0) tags.push_back(tag);
        }
        dbase::Table::reindex(folder, copyName, tags, dbase::FileSystem::real(), {.pack = false});
        writeMarker(folder, fileName);
    } catch (...) {
        removeFiles(folder, kCopyPrefix, base);
        try {
            data.openTable(spec.table);
        } catch (const dbase::DbError&) {
        }
        throw;
    }
    finishSwap(folder, fileName);
    data.reopen(spec.table);
}

void recoverRebuilds(const std::string& folder) {
    std::ifstream marker(folder + kRebuildMarker);
    std::string fileName;
    if (marker && std::getline(marker, fileName) && !fileName.empty()) {
        marker.close();
        finishSwap(folder, fileName);
    }
    // Copies of a rebuild that never reached its swap; only the program's own tables' names,
    // so a clerk's file that happens to start the same way stays.
    for (const TableDef& def : catalogue::tables()) {
        if (def.location != TableLocation::DataFolder) continue;
        removeFiles(folder, kCopyPrefix, stem(def.fileName));
        removeFiles(folder, kOldPrefix, stem(def.fileName));
    }
}

}  // namespace kavina::maintenance
