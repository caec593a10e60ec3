#pragma once
// The database upgrade ("Javítócsomag telepítése..."): eleven numbered steps that bring a data
// folder written by an older version to the catalogue's tables and fields.
//
// The level the steps start from is the higher of the workstation's ini level (spack) and the
// level the folder itself shows (its tables and fields, see detectedLevel()), so that a new
// workstation on a current folder changes nothing, and no step's data changes run again on
// fields that already exist. A step that adds fields rebuilds its table beside the old one
// (TableRebuild.h), so a failure never costs the table its records. The level is recorded
// after every step that succeeded; a failure stops the run with a message and the next start
// resumes from the last step done.
//
// Every table that gains fields gets the catalogue's fields in the catalogue's order, as far
// as the level reached has them, followed by any field of its own the catalogue does not know.

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbase/Schema.h"
#include "foundation/Catalogue.h"
#include "maintenance/backup/DataTransfer.h"

namespace dbase {
class Table;
}

namespace kavina {
class Prompt;
class TDataModule1;
}  // namespace kavina

namespace kavina::maintenance {

inline constexpr int kUpgradeLevel = 11;

// The level a folder shows, from the marks its steps leave: 11 NavQueue.dbf, 10 Szamla2.nbesz, 9 vonalkod.dbf,
// 8 Partner.vonalkod, 7 Anyag.szavatossag, 5 Szamla.szlnetto, 4 user.vissza, 3 Anyag.bar1,
// 2 raktar.dbf; 0 without any.
int detectedLevel(const std::string& folder);

// The fields the step adds to the table (empty for most).
std::vector<std::string> fieldsAddedBy(int step, TableId table);
// The catalogue's fields of the table as a folder at that level has them.
std::vector<dbase::FieldDef> fieldsAtLevel(TableId table, int level);

struct UpgradeHooks {
    std::function<void(const QString& line)> log;
    std::function<void(int done, int total)> progress;
    std::function<BackupOutcome()> backup;       // the backup command: file dialog and window
    std::function<void()> reindex;               // the reindex window, after the last step
    std::function<void(int level)> recordLevel;  // writes spack
};

class DatabaseUpgrade {
public:
    DatabaseUpgrade(TDataModule1& data, Prompt& prompt, UpgradeHooks hooks);

    // Runs every step above the starting level. Returns the level reached (recorded through
    // the hook as each step ends): kUpgradeLevel when done, lower when a step failed or the clerk stopped
    // before the first step.
    int run(int iniLevel);

private:
    void runStep(int step);
    void log(const QString& line);
    void rebuild(TableId table, int step, std::function<void(const dbase::Table&, dbase::Table&)> fill = {},
                 std::function<std::vector<uint32_t>(dbase::Table&)> order = {});
    bool lacksFieldsOf(int step, TableId table);
    void createIfMissing(TableId table);
    void updateAll(TableId table, const std::function<void(dbase::Table&)>& change);

    void step1();
    void step2();
    void step3();
    void step5();
    void step6();
    void step8();
    void step11();

    TDataModule1& m_data;
    Prompt& m_prompt;
    UpgradeHooks m_hooks;
};

}  // namespace kavina::maintenance
