#include "maintenance/reindex/forms/Tindexform.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "maintenance/reindex/Reindex.h"

namespace kavina::maintenance {

Tindexform::Tindexform(TDataModule1& data, Prompt& prompt, QWidget* parent)
    : QDialog(parent), m_data(data), m_prompt(prompt) {
    setObjectName(QStringLiteral("Tindexform"));
    setWindowTitle(QStringLiteral("Indexelés"));
    auto* title = new QLabel(QStringLiteral("Indexelés folyamatban:"), this);
    title->setObjectName(QStringLiteral("titleLabel"));
    m_groupLabel = new QLabel(this);
    m_groupLabel->setObjectName(QStringLiteral("groupLabel"));
    m_groupLabel->setMinimumWidth(160);
    QFont bold = m_groupLabel->font();
    bold.setBold(true);
    m_groupLabel->setFont(bold);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("indexProgressBar"));
    m_progress->setRange(0, kReindexLastPosition);
    m_progress->setValue(0);
    m_progress->setMinimumWidth(320);
    auto* layout = new QGridLayout(this);
    layout->addWidget(title, 0, 0);
    layout->addWidget(m_groupLabel, 0, 1);
    layout->addWidget(m_progress, 1, 0, 1, 2);
}

void Tindexform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started) return;
    m_started = true;
    QTimer::singleShot(kStartDelayMs, this, &Tindexform::runJob);
}

// The job runs once, to its end: the window cannot be closed while it runs.
void Tindexform::reject() {
    if (!m_started || m_done || m_error) QDialog::reject();
}

// The wait cursor comes once the folder is taken, so that a refusal is read with the normal one.
void Tindexform::runJob() {
    bool waiting = false;
    try {
        Reindex job(
            m_data, m_prompt, [this](int position, const QString& label) { showProgress(position, label); },
            [&waiting] {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                waiting = true;
            });
        m_done = job.run();
    } catch (...) {
        m_error = std::current_exception();
    }
    if (waiting) QApplication::restoreOverrideCursor();
    if (m_done)
        accept();
    else
        QDialog::reject();
}

// Painted at once, without running the event loop: no timer of the main window (the sign of
// life among them) may reach a table while its handle is closed for the rebuild.
void Tindexform::showProgress(int position, const QString& label) {
    m_progress->setValue(position);
    m_groupLabel->setText(label);
    repaint();
}

void Tindexform::rethrowError() const {
    if (m_error) std::rethrow_exception(m_error);
}

}  // namespace kavina::maintenance
