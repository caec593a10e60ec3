#include "support/nav/forms/NavReporting.h"

#include <QLabel>
#include <QStatusBar>

#include "foundation/RuleError.h"
#include "support/nav/NavStatus.h"

namespace kavina::nav {

NavReporting::NavReporting(QStatusBar& bar, QString dataFolder, NavSenderThread::QueueMaker makeQueue,
                           SenderOptions options)
    : m_dataFolder(std::move(dataFolder)),
      m_makeQueue(makeQueue),
      m_label(new QLabel),
      m_thread(m_dataFolder, std::move(makeQueue), std::move(options)) {
    m_label->setObjectName(QStringLiteral("navStatusLabel"));
    m_label->setContentsMargins(6, 0, 6, 0);
    bar.addPermanentWidget(m_label);
    connect(&m_thread, &NavSenderThread::roundFinished, this, &NavReporting::roundFinished, Qt::QueuedConnection);
}

NavReporting::~NavReporting() {
    m_thread.stopAndWait();
}

void NavReporting::start() {
    refresh();
    m_thread.start(QThread::LowPriority);
}

void NavReporting::wake() {
    m_thread.wake();
}

InvoiceQueue* NavReporting::queue() {
    if (!m_queue) {
        try {
            m_queue = m_makeQueue();
        } catch (const RuleError& e) {
            m_problem = e.message();
        }
    }
    return m_queue.get();
}

QString NavReporting::statusText() const {
    return m_label->text();
}

void NavReporting::roundFinished(int outcome, const QString& message) {
    const auto o = static_cast<RoundOutcome>(outcome);
    const bool stoppedShort = o == RoundOutcome::Offline || o == RoundOutcome::Refused;
    m_problem = stoppedShort ? message : QString();
    refresh();
}

void NavReporting::refresh() {
    std::vector<QueuedInvoice> entries;
    bool setUp = false;
    try {
        setUp = loadNavSettings(m_dataFolder).complete();
        if (InvoiceQueue* q = queue()) entries = q->all();
    } catch (const std::exception& e) {
        // The status line only informs: a queue busy for a moment is read at the next round.
        m_problem = QString::fromLocal8Bit(e.what());
        m_queue.reset();
    }
    const NavStatusLine line = navStatus(entries, setUp, QDateTime::currentDateTime(), m_problem);
    m_label->setText(line.text);
    m_label->setToolTip(m_problem);
    switch (line.level) {
        case StatusLevel::Normal: m_label->setStyleSheet(QString()); break;
        case StatusLevel::Warning: m_label->setStyleSheet(QStringLiteral("background: #ffd27f; color: black;")); break;
        case StatusLevel::Alarm:
            m_label->setStyleSheet(QStringLiteral("background: #c0392b; color: white; font-weight: bold;"));
            break;
    }
}

}  // namespace kavina::nav
