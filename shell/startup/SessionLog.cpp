#include "shell/startup/SessionLog.h"

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/TextFormat.h"

namespace kavina::shell {
namespace {

namespace L = fields::Userlog;

// 1/2880 of a day.
constexpr int kStaleMs = 30 * 1000;

}  // namespace

SessionLog::SessionLog(TableHandle& userlog, Clock clock) : m_log(userlog), m_clock(std::move(clock)) {}

int SessionLog::purgeStale() {
    const QTime now = m_clock().time();
    int deleted = 0;
    m_log.first();
    while (!m_log.eof() && !m_log.isEmpty()) {
        const std::optional<QTime> refreshed = parseLogTime(m_log.asString(L::TIME));
        if (refreshed && isStale(*refreshed, now)) {
            // Moves on to the row that follows; after the last row, back to one already kept.
            m_log.deleteRecord();
            ++deleted;
            continue;
        }
        m_log.next();
    }
    return deleted;
}

void SessionLog::signIn(const QString& user) {
    RecordEdit added = RecordEdit::append(m_log);
    stamp(user);
    added.post();
    m_own = m_log.bookmark();
}

void SessionLog::signOfLife(const QString& user) {
    m_log.refresh();
    if (!findOwnRow(user)) return;
    RecordEdit change = RecordEdit::edit(m_log);
    stamp(user);
    change.post();
}

void SessionLog::stamp(const QString& user) {
    const QDateTime now = m_clock();
    m_log.setString(L::USER, user);
    m_log.setDate(L::DATE, now.date());
    m_log.setString(L::TIME, timeText(now.time()));
}

bool SessionLog::signOut(const QString& user) {
    m_log.refresh();
    const bool found = findOwnRow(user);
    m_own.reset();
    if (!found) return false;
    m_log.deleteRecord();
    return true;
}

QStringList SessionLog::users() {
    m_log.refresh();
    QStringList names;
    for (m_log.first(); !m_log.eof(); m_log.next()) names << m_log.asString(L::USER);
    return names;
}

bool SessionLog::findOwnRow(const QString& user) {
    if (!m_own) return false;
    if (m_log.gotoBookmark(*m_own) && m_log.asString(L::USER) == user) return true;
    // The table was packed since (a reindex): the user's first row stands in.
    if (!m_log.locate({{L::USER, user}})) return false;
    m_own = m_log.bookmark();
    return true;
}

std::optional<QTime> parseLogTime(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    for (const char* format : {"H:mm:ss", "H:mm"}) {
        const QTime time = QTime::fromString(trimmed, QLatin1String(format));
        if (time.isValid()) return time;
    }
    return std::nullopt;
}

bool isStale(const QTime& refreshed, const QTime& now) {
    return now.msecsSinceStartOfDay() - kStaleMs >= refreshed.msecsSinceStartOfDay();
}

QString activeUsersText(const QStringList& users) {
    QString text = QStringLiteral("Bejelentkezett felhasználók:\n") + QString(28, QLatin1Char('=')) + QLatin1Char('\n');
    for (const QString& user : users) text += user + QLatin1Char('\n');
    return text;
}

}  // namespace kavina::shell
