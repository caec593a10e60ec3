#pragma once
// Calendar dates and date-times of the engine's API, with the year-first texts the program
// shows and filters by ("2008.03.15", "2008.03.15 10:15:00").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dbase {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;

    bool isValid() const;
    // Julian Day Number (2000.01.01 is 2 451 545).
    int64_t julianDay() const;
    static Date fromJulianDay(int64_t jdn);
    std::string text() const;  // "2008.03.15"
    static std::optional<Date> parse(std::string_view text);
    auto operator<=>(const Date&) const = default;
};

struct DateTime {
    Date date;
    int secondsOfDay = 0;  // 0 .. 86 399

    std::string text() const;  // "2008.03.15 10:15:00"
    // Accepts "yyyy.MM.dd HH:mm:ss", "yyyy.MM.dd HH:mm" or a date alone (midnight).
    static std::optional<DateTime> parse(std::string_view text);
    auto operator<=>(const DateTime&) const = default;
};

}  // namespace dbase
