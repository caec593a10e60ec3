#pragma once
// The backup window Tdbsave ("Adatok mentése") and the restore window Tdbload ("Adatok
// visszatöltése"): a label and two progress bars (the files, the file in hand). 100 ms after
// it appears the window runs its job once and closes itself; it cannot be closed meanwhile.
// An error of the job closes it too and is handed on by rethrowError().

#include <QDialog>
#include <exception>
#include <functional>

#include "maintenance/backup/DataTransfer.h"

class QLabel;
class QProgressBar;

namespace kavina::maintenance {

class TransferWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int kStartDelayMs = 100;
    using Job = std::function<void(const TransferProgress& progress)>;

    // objectName "Tdbsave" or "Tdbload"; caption as the user sees it.
    TransferWindow(const QString& objectName, const QString& caption, Job job, QWidget* parent = nullptr);

    void rethrowError() const;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void runJob();

    Job m_job;
    QLabel* m_label;
    QProgressBar* m_files;
    QProgressBar* m_current;
    bool m_started = false;
    bool m_finished = false;
    std::exception_ptr m_error;
};

// The windows as the commands run them, modally over the parent.
BackupOutcome runBackupWindow(TDataModule1& data, Prompt& prompt, const QString& path, QWidget* parent);
bool runRestoreWindow(TDataModule1& data, Prompt& prompt, const QString& path, QWidget* parent);

}  // namespace kavina::maintenance
