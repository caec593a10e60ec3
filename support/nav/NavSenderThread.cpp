#include "support/nav/NavSenderThread.h"

#include <algorithm>

#include "foundation/RuleError.h"

namespace kavina::nav {

int pauseAfter(RoundOutcome outcome, int offlineStreak) {
    switch (outcome) {
        case RoundOutcome::Offline:
        case RoundOutcome::Refused: {
            const int doublings = std::clamp(offlineStreak - 1, 0, 6);
            return std::min(15'000 << doublings, 15 * 60'000);
        }
        case RoundOutcome::Processing: return 10'000;
        case RoundOutcome::OtherWorkstation:
        case RoundOutcome::NotSetUp:
        case RoundOutcome::Finished: return 60'000;
    }
    return 60'000;
}

NavSenderThread::NavSenderThread(QString dataFolder, QueueMaker makeQueue, SenderOptions options, QObject* parent)
    : QThread(parent),
      m_dataFolder(std::move(dataFolder)),
      m_makeQueue(std::move(makeQueue)),
      m_options(std::move(options)) {
    m_options.stop = &m_stop;
}

NavSenderThread::~NavSenderThread() {
    stopAndWait();
}

void NavSenderThread::wake() {
    const std::lock_guard lock(m_mutex);
    m_woken = true;
    m_wakeUp.notify_all();
}

void NavSenderThread::stopAndWait() {
    m_stop = true;
    wake();
    wait();
}

void NavSenderThread::run() {
    int streak = 0;
    std::unique_ptr<InvoiceQueue> queue;
    while (!m_stop) {
        RoundReport report;
        try {
            if (!queue) queue = m_makeQueue();
            NavSender sender(loadNavSettings(m_dataFolder), *queue, m_dataFolder, m_options);
            report = sender.runRound();
        } catch (const RuleError& e) {
            report = {RoundOutcome::Refused, e.message(), 0};
        } catch (const std::exception& e) {
            // The queue's store failed (a busy or damaged table): try again later.
            report = {RoundOutcome::Offline, QString::fromLocal8Bit(e.what()), 0};
            queue.reset();
        }
        const bool failed = report.outcome == RoundOutcome::Offline || report.outcome == RoundOutcome::Refused;
        streak = failed ? streak + 1 : 0;
        emit roundFinished(static_cast<int>(report.outcome), report.message);
        std::unique_lock lock(m_mutex);
        m_wakeUp.wait_for(lock, std::chrono::milliseconds(pauseAfter(report.outcome, streak)),
                          [this] { return m_woken || m_stop.load(); });
        m_woken = false;
    }
}

}  // namespace kavina::nav
