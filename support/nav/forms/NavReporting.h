#pragma once
// Online reporting while the program runs: the sender's thread, and the line of the main
// window's status bar that tells how many invoices wait (warning at 24 and 48 hours) or that
// reporting is not set up. The line is worked out again after every round of the sender.

#include <QObject>
#include <QString>
#include <memory>

#include "support/nav/NavSenderThread.h"

class QLabel;
class QStatusBar;

namespace kavina::nav {

class NavReporting final : public QObject {
    Q_OBJECT

public:
    NavReporting(QStatusBar& bar, QString dataFolder, NavSenderThread::QueueMaker makeQueue,
                 SenderOptions options = {});
    ~NavReporting() override;

    void start();
    // A new invoice was queued: the sender goes at once.
    void wake();
    // Works the status line out again from the queue.
    void refresh();
    // The queue as this (the window's) thread reads it; nullptr when it cannot be opened.
    InvoiceQueue* queue();
    QString statusText() const;

private:
    void roundFinished(int outcome, const QString& message);

    QString m_dataFolder;
    NavSenderThread::QueueMaker m_makeQueue;
    QLabel* m_label;
    std::unique_ptr<InvoiceQueue> m_queue;
    QString m_problem;
    NavSenderThread m_thread;
};

}  // namespace kavina::nav
