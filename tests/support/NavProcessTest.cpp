// Two workstations report to the authority at once, each its own process: the sender lock lets
// one send at a time, and a workstation that dies holding it does not stop the others.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTest>

#include "NavTestServer.h"
#include "dbase/FolderCheck.h"
#include "foundation/NewDataFolder.h"
#include "support/nav/SenderLock.h"

namespace kavina::nav {
namespace {

const QString kWorkstation = QStringLiteral(KAVINA_NAV_WORKSTATION);

class NavProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        createDataFolder(data.path());
        server.start();
        server.writeSettings(folder);
    }
    void TearDown() override { EXPECT_EQ(testing_support::checkAllTables(data.path()), std::vector<std::string>()); }

    QStringList lockLog() const {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                                           : QStringList();
    }

    testing_support::TestFolder data;
    QString folder = QString::fromStdString(data.path());
    QString log = QString::fromStdString(data.file("lock.log"));
    NavTestServer server;
};

TEST_F(NavProcessTest, TwoWorkstationsNeverSendAtTheSameTime) {
    QProcess a;
    QProcess b;
    a.start(kWorkstation, {"send", folder, "A", "40", log});
    b.start(kWorkstation, {"send", folder, "B", "40", log});
    ASSERT_TRUE(a.waitForFinished(120000));
    ASSERT_TRUE(b.waitForFinished(120000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();

    // Every taking of the lock is followed by its own release before anyone else takes it.
    const QStringList events = lockLog();
    ASSERT_FALSE(events.isEmpty());
    ASSERT_EQ(events.size() % 2, 0);
    QSet<QString> holders;
    for (qsizetype i = 0; i < events.size(); i += 2) {
        EXPECT_TRUE(events[i].startsWith(QStringLiteral("in "))) << events.join(' ').toStdString();
        EXPECT_EQ(events[i + 1], QStringLiteral("out ") + events[i].mid(3)) << events.join(' ').toStdString();
        holders.insert(events[i].mid(3));
    }
    EXPECT_EQ(holders.size(), 2);
    for (int i = 1; i <= 40; ++i) {
        EXPECT_EQ(server.received(QStringLiteral("A-%1").arg(i)), 1);
        EXPECT_EQ(server.received(QStringLiteral("B-%1").arg(i)), 1);
    }
    EXPECT_EQ(server.log(QStringLiteral("problems.log")), QStringList());
}

TEST_F(NavProcessTest, AnotherWorkstationTakesOverWhenTheHolderDies) {
    QProcess holder;
    holder.start(kWorkstation, {"hold", folder, log});
    ASSERT_TRUE(QTest::qWaitFor([&] { return lockLog().contains(QStringLiteral("in H")); }, 20000));
    EXPECT_FALSE(SenderLock::tryTake(folder));
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(10000));

    QProcess b;
    b.start(kWorkstation, {"send", folder, "B", "3", log});
    ASSERT_TRUE(b.waitForFinished(60000));
    EXPECT_EQ(b.exitCode(), 0);
    EXPECT_EQ(lockLog(), (QStringList{"in H", "in B", "out B"}));
}

}  // namespace
}  // namespace kavina::nav
