#include "foundation/RecordCursor.h"

#include <strings.h>

#include "dbase/DbError.h"

namespace kavina {

int RecordCursor::fieldIndex(std::string_view name) const {
    const auto& list = fields();
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string& candidate = list[i].name;
        if (candidate.size() == name.size() && ::strncasecmp(candidate.data(), name.data(), name.size()) == 0)
            return int(i);
    }
    return -1;
}

int RecordCursor::fieldNumber(std::string_view name) const {
    const int i = fieldIndex(name);
    if (i < 0) dbase::fail(sourceName(), "there is no field " + std::string(name));
    return i;
}

int RecordCursor::watch(CursorWatcher watcher) {
    const int id = m_nextWatcher++;
    m_watchers.emplace(id, std::move(watcher));
    return id;
}

void RecordCursor::unwatch(int id) {
    m_watchers.erase(id);
}

void RecordCursor::notify(CursorChange change) const noexcept {
    if (m_watchers.empty()) return;
    // A copy: a watcher may unwatch itself (its window closing) while it is told.
    const std::map<int, CursorWatcher> watchers = m_watchers;
    for (const auto& [id, watcher] : watchers) {
        try {
            watcher(change);
        } catch (...) {
            // A watcher only schedules work of its own; it has nothing to report to the cursor.
        }
    }
}

int RecordCursor::fieldIndex(const Field& field) const {
    checkTable(field);
    return fieldIndex(field.name);
}

int RecordCursor::fieldNumber(const Field& field) const {
    checkTable(field);
    return fieldNumber(field.name);
}

QDate RecordCursor::asDate(int field) const {
    const auto d = dateAt(field);
    return d ? toQDate(*d) : QDate();
}

QDateTime RecordCursor::asDateTime(int field) const {
    const auto dt = dateTimeAt(field);
    return dt ? toQDateTime(*dt) : QDateTime();
}

void RecordCursor::setDate(int field, const QDate& value) {
    if (value.isValid())
        writeDate(field, toEngineDate(value));
    else
        writeNull(field);
}

void RecordCursor::setDateTime(int field, const QDateTime& value) {
    if (value.isValid())
        writeDateTime(field, toEngineDateTime(value));
    else
        writeNull(field);
}

void copyFieldsByName(const RecordCursor& from, RecordCursor& to) {
    const auto& source = from.fields();
    for (size_t i = 0; i < source.size(); ++i) {
        const int target = to.fieldIndex(source[i].name);
        if (target >= 0) to.setString(target, from.asString(int(i)));
    }
}

QDate toQDate(const dbase::Date& date) {
    return QDate::fromJulianDay(date.julianDay());
}

dbase::Date toEngineDate(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}

// Stored date-times are wall-clock times without a zone. They come back as UTC so that a time
// inside a daylight-saving gap (2024.03.31 02:30) stays what was stored.
QDateTime toQDateTime(const dbase::DateTime& value) {
    return QDateTime(toQDate(value.date), QTime(0, 0).addSecs(value.secondsOfDay), Qt::UTC);
}

dbase::DateTime toEngineDateTime(const QDateTime& value) {
    return {toEngineDate(value.date()), value.time().msecsSinceStartOfDay() / 1000};
}

}  // namespace kavina
