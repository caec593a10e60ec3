#include "maintenance/backup/DataTransfer.h"

#include <QDir>
#include <QFileInfo>
#include <QStringLiteral>
#include <filesystem>
#include <fstream>

#include "archive/ZipArchive.h"
#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "maintenance/backup/RestoreSwap.h"
#include "maintenance/reindex/Reindex.h"

namespace kavina::maintenance {
namespace fs = std::filesystem;
namespace {

const QString kBackupCaption = QStringLiteral("Adatok mentése");
const QString kRestoreCaption = QStringLiteral("Adatok visszatöltése");
const QString kUnchanged = QStringLiteral("\nAz adatok nem változtak.");

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

QString nameList(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) list << fromStd(name);
    return list.join(QLatin1Char('\n'));
}

bool sameFile(const fs::path& a, const QString& b) {
    std::error_code ec;
    return !b.isEmpty() && fs::exists(b.toStdString(), ec) && fs::equivalent(a, b.toStdString(), ec);
}

// Every file of the folder but the engine's lock file and the restore's own files, by name.
std::vector<fs::path> folderFiles(const std::string& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const QString name = fromStd(entry.path().filename().string()).toLower();
        if (name == QLatin1String(dbase::kFolderLockName) || name.startsWith(QLatin1String(kRestoreJournal))) continue;
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool readable(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in.good();
}

QString refusalText(const RestoreRefused& refused) {
    switch (refused.reason()) {
        case RestoreRefusal::HostileNames:
            return QStringLiteral("A mentés olyan fájlneveket tartalmaz, amelyeket a program nem tölt vissza:\n") +
                   nameList(refused.names()) + kUnchanged;
        case RestoreRefusal::DuplicateNames:
            return QStringLiteral("A mentés ugyanazt a fájlt többször tartalmazza:\n") + nameList(refused.names()) +
                   kUnchanged;
        case RestoreRefusal::Damaged:
            return QStringLiteral("A mentés sérült, ezért nem tölthető vissza:\n") + fromStd(refused.what()) +
                   kUnchanged;
        case RestoreRefusal::CannotRead:
            return QStringLiteral("A mentés nem olvasható:\n") + fromStd(refused.what()) + kUnchanged;
        case RestoreRefusal::CannotWrite: break;
    }
    return QStringLiteral("A visszatöltés nem sikerült, mert az adatkönyvtárba nem lehet írni:\n") +
           fromStd(refused.what()) + kUnchanged;
}

QString withExtension(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".kvb") : path;
}

}  // namespace

QString backupFileFilter() {
    return QStringLiteral("Kavina backup (*.kvb);;Minden fájl (*)");
}

QString defaultBackupName(const QDateTime& now) {
    return QStringLiteral("Kavina(") + now.toString(QStringLiteral("yyMMdd_HHmm")) + QStringLiteral(").kvb");
}

DataBackup::DataBackup(TDataModule1& data, Prompt& prompt) : m_data(data), m_prompt(prompt) {}

BackupOutcome DataBackup::run(const QString& archivePath, const TransferProgress& progress) {
    if (otherInstancesRunning(m_data) &&
        !m_prompt.askYesNo(kBackupCaption,
                           QStringLiteral("Más munkaállomások is használják az adatbázist. Amit közben "
                                          "rögzítenek, abból a mentés hiányos vagy ellentmondásos lehet.\n"
                                          "Folytatja a mentést?"),
                           Icon::Warning))
        return BackupOutcome::Cancelled;
    std::vector<archive::ArchiveInput> inputs;
    std::vector<std::string> skipped;
    for (const fs::path& file : folderFiles(m_data.dataFolder())) {
        // A backup saved into the data folder does not take itself in.
        if (sameFile(file, archivePath) || sameFile(file, archivePath + QStringLiteral(".tmp"))) continue;
        if (!readable(file)) {
            skipped.push_back(file.filename().string());
            continue;
        }
        inputs.push_back({file.string(), file.filename().string()});
    }
    const archive::Progress onEntry = [&](std::size_t entry, std::size_t count, const std::string& name, int percent) {
        if (progress.files) progress.files(static_cast<int>(entry), static_cast<int>(count));
        if (progress.label)
            progress.label(fromStd(name) + QStringLiteral("  ") + QString::number(percent) + QStringLiteral(" %"));
        if (progress.current) progress.current(percent);
    };
    try {
        archive::writeArchive(withExtension(archivePath).toStdString(), inputs, onEntry);
    } catch (const archive::ArchiveError& e) {
        m_prompt.error(kBackupCaption, QStringLiteral("A mentés nem sikerült:\n") + fromStd(e.what()) +
                                           QStringLiteral("\nA mentés fájlja nem készült el."));
        return BackupOutcome::Failed;
    }
    if (progress.files) progress.files(static_cast<int>(inputs.size()), static_cast<int>(inputs.size()));
    if (!skipped.empty())
        m_prompt.warning(
            kBackupCaption,
            QStringLiteral("A következő fájlok nem kerültek a mentésbe, mert nem olvashatók:\n") + nameList(skipped));
    return BackupOutcome::Done;
}

DataRestore::DataRestore(TDataModule1& data, Prompt& prompt) : m_data(data), m_prompt(prompt) {}

bool DataRestore::run(const QString& archivePath, const TransferProgress& progress) {
    if (takeFolderForExclusiveUse(m_data)) {
        m_prompt.error(kRestoreCaption,
                       QStringLiteral("Az adatbázist más munkaállomás is használja, ezért a visszatöltés nem "
                                      "indítható!\nKérem, zárja be a programot a többi munkaállomáson, és "
                                      "próbálja újra."));
        return false;
    }
    if (progress.label) progress.label(QStringLiteral("Fájlok bezárása..."));
    closeHandles();
    RestoreObserver observer;
    observer.extracting = [&](std::size_t entry, std::size_t count, const std::string&, int percent) {
        if (progress.files) progress.files(static_cast<int>(entry), static_cast<int>(count));
        if (progress.label) progress.label(QString::number(percent) + QStringLiteral(" %"));
        if (progress.current) progress.current(percent);
    };
    bool restored = false;
    try {
        restoreArchive(m_data.dataFolder(), archivePath.toStdString(), observer);
        restored = true;
    } catch (const RestoreRefused& refused) {
        reopenHandles();
        m_prompt.error(kRestoreCaption, refusalText(refused));
        return false;
    } catch (...) {
        reopenHandles();
        throw;
    }
    if (progress.label) progress.label(QStringLiteral("Fájlok megnyitása..."));
    reopenHandles();
    return restored;
}

void DataRestore::closeHandles() {
    for (const TableDef& def : catalogue::tables())
        if (def.location == TableLocation::DataFolder && !def.handleName.empty()) m_data.closeTable(def.id);
}

// A backup made before the optional tables existed leaves their handles closed.
void DataRestore::reopenHandles() {
    for (const TableDef& def : catalogue::tables())
        if (def.location == TableLocation::DataFolder && !def.handleName.empty() &&
            catalogue::existsIn(def, m_data.dataFolder()))
            m_data.openTable(def.id);
}

BackupOutcome backupCommand(const TransferCommandContext& context) {
    FileChoice choice{.caption = kBackupCaption,
                      .folder = context.saveFolder,
                      .filter = backupFileFilter(),
                      .save = true,
                      .fileName = defaultBackupName(context.now())};
    const std::optional<QString> path = context.prompt.chooseFile(choice);
    if (!path) return BackupOutcome::Cancelled;
    return context.runBackupWindow(withExtension(*path));
}

bool restoreCommand(const TransferCommandContext& context) {
    FileChoice choice{.caption = kRestoreCaption, .folder = context.saveFolder, .filter = backupFileFilter()};
    const std::optional<QString> path = context.prompt.chooseFile(choice);
    if (!path) return false;
    return context.runRestoreWindow(*path);
}

}  // namespace kavina::maintenance
