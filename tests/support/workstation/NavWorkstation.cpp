// One workstation of the two-workstation test of online invoice reporting, as its own process.
//
//   nav_test_workstation send DATAFOLDER TAG COUNT LOG   reports COUNT invoices TAG-1..COUNT
//   nav_test_workstation table DATAFOLDER TAG LOG COUNT  reports the folder's queue table, as
//                                                        the running program does, until it
//                                                        holds COUNT entries, all decided
//   nav_test_workstation hold DATAFOLDER LOG             holds the sender lock until killed
//
// Every taking and release of the sender lock is appended to LOG as "in TAG" / "out TAG",
// written while the lock is held. The settings come from the data folder. Exit status 0 when
// every invoice was accepted.

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

#include "NavTestServer.h"
#include "support/nav/NavSender.h"
#include "support/nav/SenderLock.h"
#include "support/nav/TableInvoiceQueue.h"

namespace {

void append(const QString& log, const QString& line) {
    const int fd = open(log.toLocal8Bit().constData(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0) return;
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    [[maybe_unused]] const ssize_t written = write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    close(fd);
}

kavina::nav::SenderOptions optionsFor(const QString& tag, const QString& log) {
    kavina::nav::SenderOptions options;
    options.pollPauseMilliseconds = 30;
    options.connectTimeoutSeconds = 2;
    options.answerTimeoutSeconds = 10;
    options.lockHeld = [=](bool held) { append(log, (held ? QStringLiteral("in ") : QStringLiteral("out ")) + tag); };
    return options;
}

// Rounds over the shared queue table with short pauses, while the test stores invoices in it.
// A round that fails on the table (busy for a moment) is tried again, as the program's sender
// thread does.
int table(const QString& folder, const QString& tag, const QString& log, int count) {
    using namespace kavina::nav;
    TableInvoiceQueue queue(folder);
    const auto settled = [&] {
        const std::vector<QueuedInvoice> all = queue.all();
        if (static_cast<int>(all.size()) < count) return false;
        for (const QueuedInvoice& e : all)
            if (!e.isFinal()) return false;
        return true;
    };
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 150000) {
        try {
            if (settled()) break;
            NavSender sender(loadNavSettings(folder), queue, folder, optionsFor(tag, log));
            sender.runRound();
        } catch (const std::exception& e) {
            fprintf(stderr, "%s: %s\n", qPrintable(tag), e.what());
        }
        QThread::msleep(50);
    }
    for (const QueuedInvoice& e : queue.all())
        if (e.state != QueueState::Done) return 1;
    return settled() ? 0 : 1;
}

int send(const QString& folder, const QString& tag, int count, const QString& log) {
    using namespace kavina::nav;
    MemoryInvoiceQueue queue;
    for (int i = 1; i <= count; ++i) {
        QueuedInvoice e;
        e.invoiceNumber = QStringLiteral("%1-%2").arg(tag).arg(i);
        e.operation = QStringLiteral("CREATE");
        e.invoiceXml = invoiceData(e.invoiceNumber);
        queue.add(e);
    }
    NavSender sender(loadNavSettings(folder), queue, folder, optionsFor(tag, log));
    for (int round = 0; round < 400; ++round) {
        const RoundReport r = sender.runRound();
        if (r.outcome == RoundOutcome::Finished) break;
        if (r.outcome == RoundOutcome::OtherWorkstation) QThread::msleep(20);
    }
    for (const QueuedInvoice& e : queue.all())
        if (e.state != QueueState::Done) return 1;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == QLatin1String("send")) return send(args[2], args[3], args[4].toInt(), args[5]);
    if (args.size() == 6 && args[1] == QLatin1String("table")) return table(args[2], args[3], args[4], args[5].toInt());
    if (args.size() == 4 && args[1] == QLatin1String("hold")) {
        const auto lock = kavina::nav::SenderLock::tryTake(args[2]);
        if (!lock) return 2;
        append(args[3], QStringLiteral("in H"));
        QThread::sleep(60);
        return 0;
    }
    return 3;
}
