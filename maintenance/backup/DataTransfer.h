#pragma once
// The backup ("Adatok mentése") and the restore ("Adatok visszatöltése") of the data folder:
// every file of the folder into one .kvb archive, and such an archive back into the folder.
//
// The backup reads the tables while they stay open: the engine writes every post through at
// once, so this instance has nothing pending. Other instances may be writing meanwhile, so
// the clerk is asked first when any is running. The archive is complete or absent (see
// archive/ZipArchive.h).
//
// The restore needs the folder to itself (the reindex's test) and goes through RestoreSwap:
// a refused or damaged archive changes nothing. Every shared handle is closed for it and
// reopened afterwards where its table is there; the signed-in user and rights stay as read at
// sign-in.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace kavina {
class Prompt;
class TDataModule1;
}  // namespace kavina

namespace kavina::maintenance {

// What the windows show: the label, the first bar over the files, the second over the file
// in hand.
struct TransferProgress {
    std::function<void(const QString& text)> label;
    std::function<void(int done, int count)> files;
    std::function<void(int percent)> current;
};

enum class BackupOutcome { Done, Cancelled, Failed };

// "Kavina backup (*.kvb);;Minden fájl (*)", the filter of both file dialogs.
QString backupFileFilter();
// The name offered when saving: "Kavina(" + yyMMdd_hhmm + ").kvb".
QString defaultBackupName(const QDateTime& now);

class DataBackup {
public:
    DataBackup(TDataModule1& data, Prompt& prompt);

    // Writes the archive. Asks first when other instances use the folder (Cancelled on "Nem");
    // shows the failure and returns Failed when the archive cannot be written; names the files
    // it could not read and left out.
    BackupOutcome run(const QString& archivePath, const TransferProgress& progress = {});

private:
    TDataModule1& m_data;
    Prompt& m_prompt;
};

class DataRestore {
public:
    DataRestore(TDataModule1& data, Prompt& prompt);

    // Restores the archive. Returns false, with the reason shown and the folder unchanged,
    // when another instance uses the folder or the archive is refused.
    bool run(const QString& archivePath, const TransferProgress& progress = {});

private:
    void closeHandles();
    void reopenHandles();

    TDataModule1& m_data;
    Prompt& m_prompt;
};

// The two main-window commands: the file dialog in the folder of the ini key savepath, then
// the window that runs the job (a seam the tests answer).
struct TransferCommandContext {
    Prompt& prompt;
    QString saveFolder;
    std::function<QDateTime()> now;
    std::function<BackupOutcome(const QString& path)> runBackupWindow;
    std::function<bool(const QString& path)> runRestoreWindow;
};

// "Adatok mentése". Cancelled when the file dialog is cancelled.
BackupOutcome backupCommand(const TransferCommandContext& context);
// "Adatok visszatöltése". False when the file dialog is cancelled or the restore refused.
bool restoreCommand(const TransferCommandContext& context);

}  // namespace kavina::maintenance
