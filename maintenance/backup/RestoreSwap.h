#pragma once
// Putting a backup archive back into the data folder so that a restore stopped at any moment
// (an error, a killed process, a lost machine) leaves the folder either as it was or fully
// restored, never a mix of old and restored tables.
//
// The archive is first checked whole: every entry name must be a bare file name (no folder,
// drive letter, "..", backslash or control character), none may appear twice (names ignore
// case, as the data folder's do), and none may be a file of the restore itself. Every entry is
// then extracted into the staging folder kavina.restore inside the data folder (same file
// system, so a rename moves it), its CRC checked on the way and every table's header opened
// by the engine. Up to here the data folder's own files are untouched.
//
// The swap: a journal kavina.rst listing the staged files (written under a temporary name,
// synced and renamed, so it is either whole or absent) marks the point after which the
// restore is finished forwards; each staged file is then renamed over the data folder's file
// of the same name (ignoring case). Removing the journal and the staging folder ends it.
// finishInterruptedRestore(), called at start-up and before every restore, completes the
// renames a journal lists, or, without a journal, only clears away the staging folder.
//
// The whole restore holds the engine's folder lock (kavina.lck), which every table open of
// every instance takes for its recovery: an instance starting meanwhile waits, then is
// turned away as busy, instead of opening a table halfway through the swap, and it cannot
// mistake a running restore's staging folder for a leftover.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kavina::maintenance {

inline constexpr const char* kRestoreStagingFolder = "kavina.restore";
inline constexpr const char* kRestoreJournal = "kavina.rst";

enum class RestoreRefusal {
    HostileNames,    // names() lists the entries that are not bare file names
    DuplicateNames,  // names() lists the names that appear twice
    Damaged,         // detail() holds the cause (CRC, cut short, not a zip, a table's header)
    CannotRead,      // the archive cannot be opened
    CannotWrite,     // the staging folder cannot be written (disk full, rights)
};

class RestoreRefused : public std::runtime_error {
public:
    RestoreRefused(RestoreRefusal reason, const std::string& detail, std::vector<std::string> names = {})
        : std::runtime_error(detail), m_reason(reason), m_names(std::move(names)) {}
    RestoreRefusal reason() const { return m_reason; }
    const std::vector<std::string>& names() const { return m_names; }

private:
    RestoreRefusal m_reason;
    std::vector<std::string> m_names;
};

struct RestoreObserver {
    // The entry being extracted (from 0), the count, its name and its percentage.
    std::function<void(std::size_t entry, std::size_t count, const std::string& name, int percent)> extracting;
    // Called after the journal is in place and after each rename of the swap (with the
    // number of files swapped so far); the crash tests stop the process here.
    std::function<void(std::size_t swapped)> swapping;
};

// Restores the archive into the folder as described above. Returns the names of the files
// put in place. Throws RestoreRefused with the folder unchanged when the archive is refused
// before the swap begins. Requires: no handle of this process has a table of the folder open,
// and no other instance uses the folder.
std::vector<std::string> restoreArchive(const std::string& folder, const std::string& archivePath,
                                        const RestoreObserver& observer = {});

// Finishes a restore that stopped during its swap, or clears the staging folder one left
// before it. Returns true when a swap was finished. Throws DbError ("Table is busy.") while
// another instance restores into the folder.
bool finishInterruptedRestore(const std::string& folder);

}  // namespace kavina::maintenance
