#include "maintenance/backup/forms/TransferWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kavina::maintenance {

TransferWindow::TransferWindow(const QString& objectName, const QString& caption, Job job, QWidget* parent)
    : QDialog(parent), m_job(std::move(job)) {
    setObjectName(objectName);
    setWindowTitle(caption);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("stateLabel"));
    m_label->setMinimumWidth(360);
    m_files = new QProgressBar(this);
    m_files->setObjectName(QStringLiteral("filesProgressBar"));
    m_current = new QProgressBar(this);
    m_current->setObjectName(QStringLiteral("fileProgressBar"));
    m_current->setRange(0, 100);
    for (QProgressBar* bar : {m_files, m_current}) bar->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_files);
    layout->addWidget(m_current);
}

void TransferWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started) return;
    m_started = true;
    QTimer::singleShot(kStartDelayMs, this, &TransferWindow::runJob);
}

void TransferWindow::reject() {
    if (!m_started || m_finished) QDialog::reject();
}

// Painted at once, without running the event loop: no timer of the main window may reach a
// table while the restore has its handles closed.
void TransferWindow::runJob() {
    TransferProgress progress;
    progress.label = [this](const QString& text) {
        m_label->setText(text);
        m_label->repaint();
    };
    progress.files = [this](int done, int count) {
        m_files->setRange(0, std::max(count, 1));
        m_files->setValue(done);
        m_files->repaint();
    };
    progress.current = [this](int percent) {
        m_current->setValue(percent);
        m_current->repaint();
    };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        m_job(progress);
    } catch (...) {
        m_error = std::current_exception();
    }
    QApplication::restoreOverrideCursor();
    m_finished = true;
    accept();
}

void TransferWindow::rethrowError() const {
    if (m_error) std::rethrow_exception(m_error);
}

BackupOutcome runBackupWindow(TDataModule1& data, Prompt& prompt, const QString& path, QWidget* parent) {
    BackupOutcome outcome = BackupOutcome::Failed;
    TransferWindow window(
        QStringLiteral("Tdbsave"), QStringLiteral("Adatok mentése"),
        [&](const TransferProgress& progress) { outcome = DataBackup(data, prompt).run(path, progress); }, parent);
    window.exec();
    window.rethrowError();
    return outcome;
}

bool runRestoreWindow(TDataModule1& data, Prompt& prompt, const QString& path, QWidget* parent) {
    bool restored = false;
    TransferWindow window(
        QStringLiteral("Tdbload"), QStringLiteral("Adatok visszatöltése"),
        [&](const TransferProgress& progress) { restored = DataRestore(data, prompt).run(path, progress); }, parent);
    window.exec();
    window.rethrowError();
    return restored;
}

}  // namespace kavina::maintenance
