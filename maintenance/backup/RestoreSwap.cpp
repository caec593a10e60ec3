#include "maintenance/backup/RestoreSwap.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "archive/ZipArchive.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"
#include "dbase/Transaction.h"

namespace kavina::maintenance {
namespace fs = std::filesystem;
namespace {

constexpr const char* kJournalHeader = "kavina-restore 1";
constexpr const char* kJournalEnd = "end";

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Names the restore keeps for itself, and the engine's lock file, which a restore must not
// replace while other instances may wait on it.
bool reservedName(const std::string& name) {
    const std::string l = lower(name);
    return l == kRestoreStagingFolder || l == kRestoreJournal || l == std::string(kRestoreJournal) + ".tmp" ||
           l == dbase::kFolderLockName;
}

// The file of the folder that a name stands for, ignoring case; the name itself when none.
std::string targetName(const std::string& folder, const std::string& name) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string existing = entry.path().filename().string();
        if (lower(existing) == lower(name) && entry.is_regular_file(ec)) return existing;
    }
    return name;
}

void checkNames(const std::vector<archive::EntryInfo>& entries) {
    std::vector<std::string> hostile;
    std::vector<std::string> twice;
    std::set<std::string> seen;
    for (const archive::EntryInfo& entry : entries) {
        if (!archive::isBareFileName(entry.name) || reservedName(entry.name))
            hostile.push_back(entry.name);
        else if (!seen.insert(lower(entry.name)).second)
            twice.push_back(entry.name);
    }
    if (!hostile.empty())
        throw RestoreRefused(RestoreRefusal::HostileNames, "entries that are no bare file names", hostile);
    if (!twice.empty()) throw RestoreRefused(RestoreRefusal::DuplicateNames, "entries named twice", twice);
}

RestoreRefused refusalOf(const archive::ArchiveError& e) {
    switch (e.kind()) {
        case archive::ArchiveErrorKind::Damaged: return {RestoreRefusal::Damaged, e.what()};
        case archive::ArchiveErrorKind::CannotWrite: return {RestoreRefusal::CannotWrite, e.what()};
        case archive::ArchiveErrorKind::CannotRead: break;
    }
    return {RestoreRefusal::CannotRead, e.what()};
}

// Every staged table opened by the engine: a header, field list or index file that the
// engine cannot read refuses the archive before anything is replaced.
void checkTables(const std::string& staging, const std::vector<archive::EntryInfo>& entries) {
    for (const archive::EntryInfo& entry : entries) {
        if (!endsWith(lower(entry.name), ".dbf")) continue;
        try {
            dbase::Table table(staging, entry.name);
            table.open({.readOnly = true});
            table.close();
        } catch (const dbase::DbError& e) {
            throw RestoreRefused(RestoreRefusal::Damaged, entry.name + ": " + e.what());
        }
    }
}

void writeJournal(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& moves) {
    const std::string temp = folder + kRestoreJournal + ".tmp";
    std::string text = std::string(kJournalHeader) + "\n";
    for (const auto& [staged, target] : moves) text += staged + "\t" + target + "\n";
    text += std::string(kJournalEnd) + "\n";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    // The journal's bytes reach the disk before its name does.
    written = written && ::fsync(fd) == 0;
    if (fd >= 0) written = ::close(fd) == 0 && written;
    if (!written || std::rename(temp.c_str(), (folder + kRestoreJournal).c_str()) != 0)
        throw RestoreRefused(RestoreRefusal::CannotWrite, temp + ": the restore journal cannot be written");
    archive::syncFolder(folder);
}

// The renames a whole journal lists; nothing for a journal that is not whole.
std::optional<std::vector<std::pair<std::string, std::string>>> readJournal(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kJournalHeader) return std::nullopt;
    std::vector<std::pair<std::string, std::string>> moves;
    while (std::getline(in, line)) {
        if (line == kJournalEnd) return moves;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) return std::nullopt;
        const std::string staged = line.substr(0, tab);
        const std::string target = line.substr(tab + 1);
        if (!archive::isBareFileName(staged) || !archive::isBareFileName(target)) return std::nullopt;
        moves.emplace_back(staged, target);
    }
    return std::nullopt;
}

void clearStaging(const std::string& folder) {
    std::error_code ec;
    fs::remove_all(folder + kRestoreStagingFolder, ec);
    fs::remove(folder + kRestoreJournal + ".tmp", ec);
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool finishSwap(const std::string& folder, const std::function<void(std::size_t)>& swapping) {
    const std::string journal = folder + kRestoreJournal;
    std::error_code ec;
    if (!fs::exists(journal, ec)) {
        clearStaging(folder);
        return false;
    }
    const auto moves = readJournal(journal);
    if (moves) {
        const std::string staging = folder + kRestoreStagingFolder + "/";
        std::size_t swapped = 0;
        if (swapping) swapping(swapped);
        for (const auto& [staged, target] : *moves) {
            // A file already moved by the run that stopped is no longer staged.
            if (fs::exists(staging + staged, ec)) {
                if (std::rename((staging + staged).c_str(), (folder + target).c_str()) != 0)
                    throw std::runtime_error(folder + target + ": the restored file cannot be put in place");
            }
            ++swapped;
            if (swapping) swapping(swapped);
        }
        archive::syncFolder(folder);
    }
    fs::remove(journal, ec);
    archive::syncFolder(folder);
    clearStaging(folder);
    return moves.has_value();
}

}  // namespace

std::vector<std::string> restoreArchive(const std::string& dataFolder, const std::string& archivePath,
                                        const RestoreObserver& observer) {
    const std::string folder = withSlash(dataFolder);
    const dbase::Transaction folderLock(folder);
    finishSwap(folder, {});
    std::vector<archive::EntryInfo> entries;
    const std::string staging = folder + kRestoreStagingFolder + "/";
    try {
        archive::ZipReader reader(archivePath);
        entries = reader.entries();
        checkNames(entries);
        std::error_code ec;
        fs::create_directory(staging, ec);
        if (ec) throw RestoreRefused(RestoreRefusal::CannotWrite, staging + ": " + ec.message());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::function<void(int)> percent = [&](int p) {
                if (observer.extracting) observer.extracting(i, entries.size(), entries[i].name, p);
            };
            reader.extract(i, staging + entries[i].name, percent);
        }
        checkTables(staging, entries);
        for (const archive::EntryInfo& entry : entries) archive::syncFile(staging + entry.name);
        archive::syncFolder(staging);
    } catch (const archive::ArchiveError& e) {
        clearStaging(folder);
        throw refusalOf(e);
    } catch (...) {
        clearStaging(folder);
        throw;
    }
    // What the engine's check of the staged tables may have left there (its lock file).
    std::vector<std::pair<std::string, std::string>> moves;
    std::vector<std::string> restored;
    for (const archive::EntryInfo& entry : entries) {
        moves.emplace_back(entry.name, targetName(folder, entry.name));
        restored.push_back(moves.back().second);
    }
    try {
        writeJournal(folder, moves);
    } catch (...) {
        clearStaging(folder);
        throw;
    }
    finishSwap(folder, observer.swapping);
    return restored;
}

bool finishInterruptedRestore(const std::string& dataFolder) {
    const std::string folder = withSlash(dataFolder);
    const dbase::Transaction folderLock(folder);
    return finishSwap(folder, {});
}

}  // namespace kavina::maintenance
