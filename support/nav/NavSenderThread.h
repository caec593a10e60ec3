#pragma once
// Runs the sender's rounds on a thread of their own, so the window never waits for the
// authority. The settings are read again before each round, so reporting starts as soon as an
// administrator fills them in. Between rounds it pauses (see pauseAfter); wake() ends a pause
// at once, as after a save that queued an invoice.

#include <QString>
#include <QThread>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "support/nav/NavSender.h"

namespace kavina::nav {

// The pause before the next round, in milliseconds. An unreachable or refusing authority is
// asked again after growing pauses (15 s doubling up to 15 minutes); offlineStreak counts the
// rounds that failed so in a row, from 1.
int pauseAfter(RoundOutcome outcome, int offlineStreak);

class NavSenderThread : public QThread {
    Q_OBJECT
public:
    // Makes the queue the thread works on, on the thread itself (a table handle serves the
    // thread that opened it).
    using QueueMaker = std::function<std::unique_ptr<InvoiceQueue>()>;
    NavSenderThread(QString dataFolder, QueueMaker makeQueue, SenderOptions options = {}, QObject* parent = nullptr);
    ~NavSenderThread() override;

    void wake();
    // Ends the current step, then the thread.
    void stopAndWait();

signals:
    // After every round, on this thread: connect with a queued connection.
    void roundFinished(int outcome, const QString& message);

protected:
    void run() override;

private:
    QString m_dataFolder;
    QueueMaker m_makeQueue;
    SenderOptions m_options;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    bool m_woken = false;
};

}  // namespace kavina::nav
