#include "maintenance/reindex/Reindex.h"

#include <QStringLiteral>
#include <filesystem>
#include <memory>

#include "dbase/DbError.h"
#include "dbase/File.h"
#include "dbase/Table.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::maintenance {
namespace {

const QString kErrorCaption = QStringLiteral("Hiba");

std::string indexFileName(const std::string& tableFile) {
    return tableFile.substr(0, tableFile.rfind('.')) + ".mdx";
}

bool fileIn(const std::string& folder, const std::string& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(dbase::resolvePath(folder, name), ec);
}

// The engine's reindex opens the table exclusively before it changes anything: another handle
// holding it, or a table it cannot read, throws with every file as it was.
void rebuildClosed(const std::string& folder, const TableDef& def, bool pack) {
    std::vector<dbase::MdxFile::TagDefinition> tags;
    for (const TagDef& tag : def.tags) tags.push_back({tag.name, tag.field, tag.descending});
    dbase::Table::reindex(folder, def.fileName, tags, dbase::FileSystem::real(), {.pack = pack});
}

QString busyText() {
    return QStringLiteral(
        "Az adatbázis használatban van, ezért nem lehet kizárólagos használatra megnyitni!\n\r"
        "Kérem próbálja meg később elindítani az újraindexelést.");
}

}  // namespace

const std::vector<ReindexStep>& reindexSteps() {
    static const std::vector<ReindexStep> steps{
        {1, QStringLiteral("Rendszer"), TableId::Userlog},
        {2, {}, TableId::Jogok},
        {3, QStringLiteral("Partnerek"), TableId::Partner},
        {4, QStringLiteral("Termékek"), TableId::Anyag},
        {5, {}, TableId::Kategoria},
        {6, QStringLiteral("Munkalapok"), TableId::Raktar},
        {7, {}, TableId::AFA},
        {7, {}, TableId::PCsoport},
        {8, QStringLiteral("Települések"), TableId::Telep},
        {9, {}, TableId::Fizmod},
        {10, QStringLiteral("Bizonylatok"), TableId::Szamla},
        {11, {}, TableId::Szamla2},
        {12, {}, TableId::Egyseg},
        {13, {}, TableId::Garancia, false},
        {14, {}, TableId::Garancia2},
        {15, QStringLiteral("Munkalapok"), TableId::Munkalap},
        {16, QStringLiteral("Vonalkódok"), TableId::Vonalkod},
        {17, QStringLiteral("Tranzakciók"), TableId::Tranzakcio},
    };
    return steps;
}

Reindex::Reindex(TDataModule1& data, Prompt& prompt, Progress progress, std::function<void()> beforeTables)
    : m_data(data), m_prompt(prompt), m_progress(std::move(progress)), m_beforeTables(std::move(beforeTables)) {}

void Reindex::report(int position, const QString& label) {
    if (m_progress) m_progress(position, label);
}

bool Reindex::run() {
    report(0, {});
    report(1, QStringLiteral("Rendszer"));
    if (!takeFolder()) return false;
    // user.dbf stays exclusive until the end, so no instance starts on half-built indexes.
    auto folderLock = std::make_unique<dbase::Table>(m_data.dataFolder(), catalogue::table(TableId::User).fileName);
    try {
        folderLock->open({.exclusive = true});
    } catch (const dbase::DbError&) {
        m_data.openTable(TableId::Userlog);
        m_data.openTable(TableId::User);
        m_prompt.error(kErrorCaption, busyText());
        return false;
    }
    if (m_beforeTables) m_beforeTables();
    QString label = QStringLiteral("Rendszer");
    try {
        for (const ReindexStep& step : reindexSteps()) {
            const TableDef& def = catalogue::table(step.table);
            if (def.optional && !catalogue::existsIn(def, m_data.dataFolder())) continue;
            if (!step.label.isEmpty()) label = step.label;
            report(step.position, label);
            rebuildTable(m_data, step.table, step.pack);
        }
    } catch (...) {
        folderLock.reset();
        m_data.openTable(TableId::User);
        throw;
    }
    folderLock.reset();
    m_data.openTable(TableId::User);
    return true;
}

// The exclusive test on userlog.dbf. Our own handle of user.dbf is closed with it: the
// folder lock that follows needs that table too.
bool Reindex::takeFolder() {
    const std::optional<dbase::DbError> refused = takeFolderForExclusiveUse(m_data);
    if (!refused) return true;
    if (refused->contains(dbase::errtext::kTableBusy))
        m_prompt.error(kErrorCaption, busyText());
    else
        m_prompt.error(kErrorCaption, QStringLiteral("Error: DbError\n\r") + QString::fromStdString(refused->what()));
    return false;
}

std::optional<dbase::DbError> takeFolderForExclusiveUse(TDataModule1& data) {
    data.closeTable(TableId::Userlog);
    data.closeTable(TableId::User);
    TableHandle& log = data.LoginTable();
    try {
        log.open({.exclusive = true});
        log.close();
        return std::nullopt;
    } catch (const dbase::DbError& e) {
        data.openTable(TableId::Userlog);
        data.openTable(TableId::User);
        return e;
    }
}

bool otherInstancesRunning(TDataModule1& data) {
    if (takeFolderForExclusiveUse(data)) return true;
    data.openTable(TableId::Userlog);
    data.openTable(TableId::User);
    return false;
}

void rebuildTable(TDataModule1& data, TableId id, bool pack) {
    const TableDef& def = catalogue::table(id);
    data.closeTable(id);
    try {
        rebuildClosed(data.dataFolder(), def, pack);
    } catch (const dbase::DbError&) {
        // Left closed, the handle would fail every later use; reopen it when its files allow.
        try {
            data.openTable(id, TDataModule1::Order::AfterReindex);
        } catch (const dbase::DbError&) {
        }
        throw;
    }
    data.reopen(id, TDataModule1::Order::AfterReindex);
}

bool hasIndexFile(const std::string& folder, TableId id) {
    return fileIn(folder, indexFileName(catalogue::table(id).fileName));
}

bool fullReindexNeeded(const std::string& folder, bool lastRunEndedCleanly, bool autoindex) {
    static const TableId baseTables[] = {
        TableId::Anyag,  TableId::Egyseg,    TableId::Fizmod,   TableId::Garancia, TableId::Garancia2,
        TableId::Jogok,  TableId::Kategoria, TableId::Munkalap, TableId::Partner,  TableId::PCsoport,
        TableId::Szamla, TableId::Szamla2,   TableId::Telep,    TableId::Userlog,  TableId::AFA,
    };
    if (!lastRunEndedCleanly || autoindex) return true;
    for (TableId id : baseTables)
        if (!hasIndexFile(folder, id)) return true;
    return false;
}

bool optionalIndexMissing(const std::string& folder, TableId id) {
    return catalogue::existsIn(catalogue::table(id), folder) && !hasIndexFile(folder, id);
}

}  // namespace kavina::maintenance
