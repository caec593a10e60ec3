#pragma once
// Small conveniences every window uses: padding, the one-year-later date and the filter
// helpers on table handles. No state.
//
// The filter helpers are templates over the handle type, so they take the program's
// TableHandle and the engine's Table alike (bookmark, gotoBookmark, setFilter, setFiltered,
// recordCount). Record sets have no filter.
#include <QDate>
#include <QString>
#include <cstdint>
#include <string>

namespace kavina {

// Blanks in front of the text up to the width; a longer text is returned whole.
QString padLeft(const QString& text, int width);

// The decimal text with "0"s in front up to the width, never cut: (42, 5) gives "00042",
// (123456, 5) gives "123456". A negative number keeps its minus sign first: (-42, 5) gives
// "-0042".
QString zeroPad(int64_t n, int width);

// The same month and day of the next year; 29 February gives 28 February.
QDate oneYearLater(const QDate& date);

// Switches the filter off and returns to the record that was current, if it still exists.
template <typename Handle>
void unfilterInPlace(Handle& handle) {
    const auto mark = handle.bookmark();
    handle.setFiltered(false);
    handle.gotoBookmark(mark);
}

// Sets the filter text, switches filtering on and returns the number of visible records.
// A filter text the handle refuses throws its error and leaves the previous filter in force.
template <typename Handle>
int filterAndCount(Handle& handle, const std::string& filter) {
    handle.setFilter(filter);
    handle.setFiltered(true);
    return int(handle.recordCount());
}

// Empties the filter text, switches filtering off, returns to the record that was current and
// returns the number of records.
template <typename Handle>
int clearFilterAndCount(Handle& handle) {
    const auto mark = handle.bookmark();
    handle.setFilter(std::string());
    handle.setFiltered(false);
    handle.gotoBookmark(mark);
    return int(handle.recordCount());
}

}  // namespace kavina
