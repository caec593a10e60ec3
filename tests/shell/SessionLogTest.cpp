// userlog.dbf: the stale-row purge of start-up (times of day only), this instance's own row,
// and the list of signed-in users.

#include "shell/startup/SessionLog.h"

#include "SessionFixture.h"
#include "maintenance/reindex/Reindex.h"

namespace kavina::shell::testing {
namespace {

class SessionLogTest : public SessionFixture {
protected:
    void addRow(const QString& user, const QString& time, const QString& date = QStringLiteral("2024.05.17")) {
        appendRow(dm.LoginTable(), {{"USER", user}, {"DATE", date}, {"TIME", time}});
    }
    SessionLog log{dm.LoginTable(), clock};
};

TEST_F(SessionLogTest, PurgeDeletesRowsThirtySecondsOldAndKeepsYoungerOrEmptyOnes) {
    // now is 15:00:30
    addRow("a-29s", "15:00:01");
    addRow("b-30s", "15:00:00");
    addRow("c-empty", "");
    addRow("d-old", "09:12:00");
    addRow("e-garbage", "dél körül");
    addRow("f-future", "15:00:40");
    EXPECT_EQ(log.purgeStale(), 2);
    EXPECT_EQ(column(dm.LoginTable(), "USER"), QStringList({"a-29s", "c-empty", "e-garbage", "f-future"}));
}

TEST_F(SessionLogTest, PurgeComparesTimesOfDayOnlyIgnoringTheDate) {
    addRow("yesterday-later", "16:00:00", "2024.05.16");  // later in the day: kept
    addRow("last-year-earlier", "14:00:00", "2023.01.01");
    addRow("one-digit-hour", "9:05:03");  // as older locales wrote it
    log.purgeStale();
    EXPECT_EQ(column(dm.LoginTable(), "USER"), QStringList({"yesterday-later"}));

    // Just after midnight nothing refreshed before midnight is old enough.
    now = QDateTime(QDate(2024, 5, 18), QTime(0, 0, 10));
    addRow("before-midnight", "23:59:45");
    EXPECT_EQ(log.purgeStale(), 0);
    EXPECT_TRUE(isStale(QTime(0, 0, 0), QTime(0, 0, 30)));
    EXPECT_FALSE(isStale(QTime(0, 0, 0), QTime(0, 0, 29, 999)));
}

TEST_F(SessionLogTest, TwoInstancesOfOneUserEachKeepAndRemoveTheirOwnRow) {
    TDataModule1 other;
    other.open(dir.path());
    QDateTime otherNow = now;
    SessionLog second(other.LoginTable(), [&] { return otherNow; });

    log.signIn("Rendszergazda");
    now = now.addSecs(2);
    second.signIn("Rendszergazda");
    EXPECT_EQ(log.users(), QStringList({"Rendszergazda", "Rendszergazda"}));

    // The second instance's sign of life refreshes its own row, not the first one's.
    otherNow = otherNow.addSecs(20);
    second.signOfLife("Rendszergazda");
    EXPECT_EQ(column(dm.LoginTable(), "TIME"), QStringList({"15:00:30", "15:00:50"}));

    EXPECT_TRUE(second.signOut("Rendszergazda"));
    EXPECT_EQ(column(dm.LoginTable(), "TIME"), QStringList({"15:00:30"}));
    EXPECT_TRUE(log.signOut("Rendszergazda"));
    EXPECT_FALSE(log.signOut("Rendszergazda"));
    EXPECT_TRUE(log.users().isEmpty());
}

TEST_F(SessionLogTest, SignOfLifeRefreshesTheOwnRowUntilSignOut) {
    addRow("Kata", "08:00:00", "2024.05.01");  // another instance's row
    now = QDateTime(QDate(2024, 5, 16), QTime(23, 59, 58));
    log.signIn("Kata");
    now = QDateTime(QDate(2024, 5, 17), QTime(0, 0, 8));
    log.signOfLife("Kata");
    EXPECT_EQ(column(dm.LoginTable(), "DATE"), QStringList({"2024.05.01", "2024.05.17"}));
    EXPECT_EQ(column(dm.LoginTable(), "TIME"), QStringList({"08:00:00", "00:00:08"}));

    // Signed out, this instance touches no row of the user any more.
    EXPECT_TRUE(log.signOut("Kata"));
    log.signOfLife("Kata");
    EXPECT_FALSE(log.signOut("Kata"));
    EXPECT_EQ(column(dm.LoginTable(), "TIME"), QStringList({"08:00:00"}));
}

TEST_F(SessionLogTest, AfterAPackTheUsersFirstRowStandsInForTheOwnOne) {
    addRow("Anna", "15:00:00");
    log.signIn("Kata");
    dm.LoginTable().first();
    dm.LoginTable().deleteRecord();  // Anna's row goes; the pack moves Kata's row up
    maintenance::rebuildTable(dm, TableId::Userlog);
    appendRow(dm.LoginTable(), {{"USER", "Péter"}, {"TIME", "15:00:00"}});
    EXPECT_TRUE(log.signOut("Kata"));
    EXPECT_EQ(log.users(), QStringList({"Péter"}));
}

TEST(ActiveUsersText, HeadingRuleAndOneLinePerRow) {
    EXPECT_EQ(activeUsersText({"Kata", "Péter"}),
              QStringLiteral("Bejelentkezett felhasználók:\n============================\nKata\nPéter\n"));
}

}  // namespace
}  // namespace kavina::shell::testing
