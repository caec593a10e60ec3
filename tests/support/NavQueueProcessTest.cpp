// Two running programs report the shared queue table of one folder while invoices are being
// stored in it: one sends at a time, one killed while its request waits for the authority's
// answer is taken over by the other, and no invoice reaches the authority twice.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>

#include "NavTestServer.h"
#include "dbase/FolderCheck.h"
#include "documents/InvoiceDataFolder.h"
#include "support/nav/TableInvoiceQueue.h"

namespace kavina::nav {
namespace {

const QString kWorkstation = QStringLiteral(KAVINA_NAV_WORKSTATION);

class NavQueueProcessTest : public documents::InvoiceDataFolder {
protected:
    void SetUp() override {
        InvoiceDataFolder::SetUp();
        server.start();
        server.writeSettings(folder);
    }
    void TearDown() override {
        InvoiceDataFolder::TearDown();
        EXPECT_EQ(server.log(QStringLiteral("problems.log")), QStringList());
        EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
    }

    QStringList lockLog() const {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                                           : QStringList();
    }

    NavTestServer server;
    QString folder = QString::fromStdString(dir.path());
    QString log = QString::fromStdString(dir.path() + "/lock.log");
};

TEST_F(NavQueueProcessTest, EveryStoredInvoiceIsAcceptedOnceThoughTheSendingProgramIsKilled) {
    QStringList numbers;
    for (int i = 0; i < 8; ++i) numbers << storeDocument(SalesMode::Invoice, 1 + i % 2, {{1, 1, 100.0 + i}});
    // The first request is answered only after a while: its sender dies waiting for it.
    server.control(R"({"stall": 1, "stall_seconds": 6})");
    const int total = 8 + 4 + 12 + 1;
    QProcess a;
    QProcess b;
    a.start(kWorkstation, {"table", folder, "A", log, QString::number(total)});
    b.start(kWorkstation, {"table", folder, "B", log, QString::number(total)});
    for (int i = 0; i < 4; ++i) numbers << storeDocument(SalesMode::Invoice, 2, {{1, 3, 70.0 + i}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.log(QStringLiteral("received.log")).isEmpty(); }, 30000));
    const QStringList before = lockLog();
    ASSERT_FALSE(before.isEmpty());
    ASSERT_TRUE(before.last().startsWith(QStringLiteral("in "))) << before.join(' ').toStdString();
    const QString killed = before.last().mid(3);
    QProcess& victim = killed == QLatin1String("A") ? a : b;
    QProcess& survivor = killed == QLatin1String("A") ? b : a;
    victim.kill();  // SIGKILL: no chance to let the lock go or to write what it knows
    ASSERT_TRUE(victim.waitForFinished(10000));

    // Invoices stored meanwhile, and the storno of one whose send was cut short.
    for (int i = 0; i < 12; ++i) numbers << storeDocument(SalesMode::Invoice, 1 + i % 2, {{1, 2, 50.0 + i}});
    storno(numbers[0]);
    numbers << numbers[0] + QStringLiteral("-S");
    ASSERT_TRUE(survivor.waitForFinished(170000));
    EXPECT_EQ(survivor.exitCode(), 0) << survivor.readAllStandardError().toStdString();

    for (const QString& number : numbers) EXPECT_EQ(server.received(number), 1) << number.toStdString();
    const std::vector<QueuedInvoice> entries = TableInvoiceQueue(folder).all();
    EXPECT_EQ(entries.size(), static_cast<size_t>(total));
    for (const QueuedInvoice& e : entries) EXPECT_EQ(e.state, QueueState::Done) << e.invoiceNumber.toStdString();

    // Every hold ends with its own release before the next begins, but for the killed one's
    // last, which its death ended.
    const QStringList events = lockLog();
    const qsizetype cut = before.size() - 1;
    for (qsizetype i = 0; i < events.size(); ++i) {
        if (i == cut) continue;
        ASSERT_TRUE(events[i].startsWith(QStringLiteral("in "))) << events.join(' ').toStdString();
        ASSERT_LT(i + 1, events.size());
        EXPECT_EQ(events[i + 1], QStringLiteral("out ") + events[i].mid(3)) << events.join(' ').toStdString();
        ++i;
    }
    EXPECT_TRUE(events.mid(cut + 1).contains(QStringLiteral("in ") + survivor.arguments()[2]));
}

}  // namespace
}  // namespace kavina::nav
