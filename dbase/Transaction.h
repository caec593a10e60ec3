#pragma once
// All-or-nothing saves across the tables of one data folder.
//
// While a transaction runs, every write that a table handle of the folder makes (records,
// memos, index pages, headers) is held in memory, shared by all handles of this process on
// the same file, so they read their own changes; unlocks are held back, so every lock the
// transaction took stays taken until it ends. Commit then:
//   1. writes a rollback journal (kavina.jnl in the folder) with the before-image of every
//      byte range to be overwritten and the old length of every file to be extended, and
//      syncs it and the folder;
//   2. writes the changes into the files and syncs each changed file by itself;
//   3. empties the journal (the file is kept for the next commit; an empty journal is none),
//      syncs that, and releases the locks.
// The order of the syncs and why each is needed is in docs/journal.md.
// An exception inside the transaction (or a rollback) drops the held changes: the files were
// never touched. A process that dies during step 2 leaves the journal; the next handle that
// opens a table of the folder, on any workstation, rolls it back first, under the folder lock.
// One transaction at a time per folder: the folder lock (a byte lock on kavina.lck) queues
// the saves of several workstations.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "File.h"

namespace dbase {

class FolderState;

inline constexpr const char* kJournalName = "kavina.jnl";
inline constexpr const char* kFolderLockName = "kavina.lck";

struct TransactionOptions {
    // Without syncing a commit is still all or nothing for a process that dies, but not for
    // a machine that loses power (for measurements and working tables).
    bool sync = true;
};

class Transaction {
public:
    // Takes the folder lock (waiting while another workstation saves) and rolls back a
    // journal a dead process left. Throws "Table is busy." when the folder stays locked.
    explicit Transaction(const std::string& folder, FileSystem& fs = FileSystem::real(),
                         const TransactionOptions& options = {});
    // Rolls back unless committed; never throws.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Makes every change of the transaction durable, or none: on failure the folder is as
    // before and the error is thrown.
    void commit();
    void rollback();

private:
    void release();

    std::shared_ptr<FolderState> m_state;
    FileSystem& m_fs;
    std::string m_folder;
    TransactionOptions m_options;
    bool m_open = false;
};

struct RecoveryReport {
    bool rolledBack = false;  // a journal was found and its before-images written back
    bool needsCheck = false;  // the journal was damaged: what it proved was rolled back
    std::string detail;
};

// Rolls back a journal a dead process left in the folder, under the folder lock. Cheap when
// there is none. Called by every table open.
RecoveryReport recoverFolder(const std::string& folder, FileSystem& fs = FileSystem::real());

// Journals a recovery could not roll back in full are set aside beside the tables as
// kavina.jnl.damaged, then kavina.jnl.damaged2, 3, ..., so a later one never replaces an
// earlier one before someone has looked at it. Their paths, in the order they were kept.
std::vector<std::string> keptDamagedJournals(const std::string& folder);

// The process-wide state of one data folder: its running transaction, if any, and the
// rollback count that tells handles to re-read what they cached.
std::shared_ptr<FolderState> folderState(const std::string& folder);
uint64_t rollbackEpoch(const FolderState& state);
bool transactionActive(const FolderState& state);
// A number of the running transaction, different for every transaction of the process; 0 when
// none runs.
uint64_t transactionSerial(const FolderState& state);

// Wraps a file a table handle opened, so its writes take part in the folder's transactions.
std::unique_ptr<File> participatingFile(std::unique_ptr<File> file, std::shared_ptr<FolderState> state);

}  // namespace dbase
