#pragma once
// Dates and times as the program shows, compares and filters them: year-first text
// "yyyy.MM.dd" (2008.03.15) and "HH:mm:ss". Nothing else in the program formats or parses
// these, so one place decides what a valid date text is.
#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

namespace kavina {

// "2008.03.15"; an invalid date gives an empty text.
QString dateText(const QDate& date);
// "14:05:09"; an invalid time gives an empty text.
QString timeText(const QTime& time);
// Parses "yyyy.MM.dd" (a trailing dot is accepted, as older data folders have it);
// anything else, or an impossible date such as 2009.02.29, gives nothing.
std::optional<QDate> parseDateText(const QString& text);

}  // namespace kavina
