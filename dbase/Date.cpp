#include "Date.h"

#include <charconv>
#include <cstdio>

namespace dbase {
namespace {

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

bool readInt(std::string_view s, int& out) {
    if (s.empty()) return false;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

}  // namespace

bool Date::isValid() const {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

int64_t Date::julianDay() const {
    // Proleptic Gregorian calendar (Fliegel and Van Flandern).
    const int64_t a = (14 - month) / 12;
    const int64_t y = year + 4800 - a;
    const int64_t m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

Date Date::fromJulianDay(int64_t jdn) {
    const int64_t a = jdn + 32044;
    const int64_t b = (4 * a + 3) / 146097;
    const int64_t c = a - 146097 * b / 4;
    const int64_t d = (4 * c + 3) / 1461;
    const int64_t e = c - 1461 * d / 4;
    const int64_t m = (5 * e + 2) / 153;
    Date out;
    out.day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    out.month = static_cast<int>(m + 3 - 12 * (m / 10));
    out.year = static_cast<int>(100 * b + d - 4800 + m / 10);
    return out;
}

std::string Date::text() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d.%02d.%02d", year, month, day);
    return buf;
}

std::optional<Date> Date::parse(std::string_view text) {
    // Year first, dots (a trailing dot is tolerated), as the workstation's short date format.
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    const size_t p1 = text.find('.');
    const size_t p2 = p1 == std::string_view::npos ? p1 : text.find('.', p1 + 1);
    if (p2 == std::string_view::npos) return std::nullopt;
    Date d;
    if (!readInt(text.substr(0, p1), d.year) || !readInt(text.substr(p1 + 1, p2 - p1 - 1), d.month) ||
        !readInt(text.substr(p2 + 1), d.day) || p1 != 4)
        return std::nullopt;
    if (!d.isValid()) return std::nullopt;
    return d;
}

std::string DateTime::text() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", secondsOfDay / 3600, secondsOfDay / 60 % 60, secondsOfDay % 60);
    return date.text() + buf;
}

std::optional<DateTime> DateTime::parse(std::string_view text) {
    const size_t space = text.find(' ');
    const auto date = Date::parse(text.substr(0, space));
    if (!date) return std::nullopt;
    DateTime out{*date, 0};
    if (space == std::string_view::npos) return out;
    std::string_view time = text.substr(space + 1);
    int parts[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        const size_t colon = time.find(':');
        if (!readInt(time.substr(0, colon), parts[count++])) return std::nullopt;
        if (colon == std::string_view::npos) break;
        time = time.substr(colon + 1);
        if (count == 3) return std::nullopt;
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59 || parts[0] < 0 || parts[1] < 0 || parts[2] < 0)
        return std::nullopt;
    out.secondsOfDay = parts[0] * 3600 + parts[1] * 60 + parts[2];
    return out;
}

}  // namespace dbase
