#pragma once
// userlog.dbf, the list of running instances: one row per signed-in instance with USER, DATE
// (day of sign-in) and TIME (the instance's last sign of life as a time-of-day text). Every
// instance refreshes its row every 10 seconds; a starting instance deletes the rows that have
// not been refreshed for 30 seconds.
//
// Each instance keeps to its own row: it remembers the row it appended and refreshes or
// deletes that one, so that two instances signed in under the same name (a folder with one
// password-less user) each keep a row of their own. When the remembered position no longer
// holds the user (a reindex packed the table), the user's first row stands in for it.

#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

#include "foundation/TableHandle.h"
#include "shell/startup/SessionClock.h"

namespace kavina::shell {

class SessionLog {
public:
    SessionLog(TableHandle& userlog, Clock clock);

    // Deletes every row whose TIME is a time of day at least 30 seconds before the current
    // time of day. Only times of day are compared: DATE is ignored, a row refreshed late in
    // the evening is purged only late on a later day, and an empty TIME is never purged.
    // Returns the number of rows deleted.
    int purgeStale();

    // Appends this instance's row: USER, DATE today and TIME now.
    void signIn(const QString& user);
    // The 10-second sign of life: re-reads the table and sets USER, DATE and TIME on this
    // instance's row. Does nothing when it has none (signed out, or the row was purged).
    void signOfLife(const QString& user);
    // Deletes this instance's row. False when it has none; another instance's row of the same
    // user is never taken for it.
    bool signOut(const QString& user);

    // USER of every row, in the table's order.
    QStringList users();

private:
    bool findOwnRow(const QString& user);
    // Sets USER, DATE and TIME of the record being changed and posts it.
    void stamp(const QString& user);

    TableHandle& m_log;
    Clock m_clock;
    std::optional<CursorMark> m_own;
};

// A row's TIME as a time of day: "HH:mm:ss", also "H:mm:ss" and "H:mm" as older locales wrote
// it; nothing for an empty or unreadable text.
std::optional<QTime> parseLogTime(const QString& text);

// Whether a row last refreshed at that time is stale at that moment.
bool isStale(const QTime& refreshed, const QTime& now);

// The text of "Aktív felhasználók": the heading, 28 "=" and each user on a line of its own.
QString activeUsersText(const QStringList& users);

}  // namespace kavina::shell
