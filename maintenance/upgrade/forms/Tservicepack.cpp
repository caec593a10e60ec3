#include "maintenance/upgrade/forms/Tservicepack.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kavina::maintenance {

Tservicepack::Tservicepack(TDataModule1& data, Prompt& prompt, UpgradeHooks hooks, int level, QWidget* parent)
    : QDialog(parent), m_data(data), m_prompt(prompt), m_hooks(std::move(hooks)), m_level(level), m_reached(level) {
    setObjectName(QStringLiteral("Tservicepack"));
    setWindowTitle(QStringLiteral("Javítócsomag telepítése..."));
    auto* heading = new QLabel(QStringLiteral("Javítócsomag"), this);
    heading->setObjectName(QStringLiteral("headingLabel"));
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    heading->setFont(big);
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("logMemo"));
    m_log->setReadOnly(true);
    m_log->setMinimumSize(440, 260);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("upgradeProgressBar"));
    m_progress->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_log);
    layout->addWidget(m_progress);
    m_hooks.log = [this](const QString& line) {
        m_log->appendPlainText(line);
        m_log->repaint();
    };
    m_hooks.progress = [this](int done, int total) {
        m_progress->setRange(0, std::max(total, 1));
        m_progress->setValue(done);
        m_progress->repaint();
    };
}

void Tservicepack::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_started) return;
    m_started = true;
    QTimer::singleShot(kStartDelayMs, this, &Tservicepack::runJob);
}

void Tservicepack::reject() {
    if (!m_started || m_finished) QDialog::reject();
}

void Tservicepack::runJob() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        m_reached = DatabaseUpgrade(m_data, m_prompt, m_hooks).run(m_level);
    } catch (...) {
        m_error = std::current_exception();
    }
    QApplication::restoreOverrideCursor();
    m_finished = true;
    accept();
}

void Tservicepack::rethrowError() const {
    if (m_error) std::rethrow_exception(m_error);
}

}  // namespace kavina::maintenance
