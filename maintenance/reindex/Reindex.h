#pragma once
// The reindex: every production index file of the data folder rebuilt from scratch, every
// table but garancia.dbf packed on the way. It needs the folder to itself: it first opens
// userlog.dbf exclusively, which fails while any other instance runs (each keeps that table
// open), and then holds user.dbf exclusively for the whole job, so that an instance starting
// meanwhile is turned away at its first table instead of finding indexes half built.
//
// The tables are rebuilt through the data module's shared handles: each is closed, rebuilt
// and reopened on its order after a reindex, with its detail link restored. Optional tables
// are touched only when their file is there.

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "dbase/DbError.h"
#include "foundation/Catalogue.h"

namespace kavina {
class Prompt;
class TDataModule1;
}  // namespace kavina

namespace kavina::maintenance {

// One table of the job: the progress position set before it, the group label it sets (empty:
// the label stays), and whether it is packed.
struct ReindexStep {
    int position;
    QString label;
    TableId table;
    bool pack = true;
};

inline constexpr int kReindexLastPosition = 17;

// The tables in the order the job rebuilds them.
const std::vector<ReindexStep>& reindexSteps();

class Reindex {
public:
    // Told the progress position and the group label before each table (and at the start).
    using Progress = std::function<void(int position, const QString& label)>;

    // beforeTables is called once the folder is taken, before the first table is rebuilt.
    Reindex(TDataModule1& data, Prompt& prompt, Progress progress, std::function<void()> beforeTables = {});

    // The whole job. Returns false, with the refusal shown and nothing changed, when another
    // instance has the folder open. Errors after that test are not caught: the tables done so
    // far stay rebuilt, the one in hand is reopened when it still can be.
    bool run();

private:
    bool takeFolder();
    void report(int position, const QString& label);

    TDataModule1& m_data;
    Prompt& m_prompt;
    Progress m_progress;
    std::function<void()> m_beforeTables;
};

// The test that no other instance uses the folder: userlog.dbf opened exclusively (every
// running instance keeps it open) and closed again. On success userlog.dbf and user.dbf are
// left closed for the caller to reopen; on failure they are open again. Returns the engine's
// error when the test failed, nothing when the folder is free.
std::optional<dbase::DbError> takeFolderForExclusiveUse(TDataModule1& data);
// The same test, for a question before a job: every handle is as before afterwards.
bool otherInstancesRunning(TDataModule1& data);

// Rebuilds one table through its shared handle: closes it, refuses with "Table is busy."
// before changing anything when another handle has it open, and with the engine's error when
// the table cannot be read; then clears the production-index flag, deletes the index file,
// counts again the records a dead writer left past the header's count, packs (when asked),
// adds the catalogue's tags and reopens the handle on its order after a reindex. Throws
// DbError.
void rebuildTable(TDataModule1& data, TableId id, bool pack = true);

// Whether the folder holds the table's production index file (names ignore case).
bool hasIndexFile(const std::string& folder, TableId id);

// The start-up decision: a full reindex when one of the base tables' index files is missing,
// when the last run did not end cleanly, or when autoindex is set.
bool fullReindexNeeded(const std::string& folder, bool lastRunEndedCleanly, bool autoindex);
// Checked after it for raktar.dbf and vonalkod.dbf: the table's file exists without its index
// file, which asks for one more reindex.
bool optionalIndexMissing(const std::string& folder, TableId id);

}  // namespace kavina::maintenance
