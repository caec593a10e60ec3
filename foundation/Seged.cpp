#include "foundation/Seged.h"

namespace kavina {

QString padLeft(const QString& text, int width) {
    return text.rightJustified(width, QLatin1Char(' '));
}

QString zeroPad(int64_t n, int width) {
    const QString digits = QString::number(n < 0 ? 0 - uint64_t(n) : uint64_t(n));
    if (n >= 0) return digits.rightJustified(width, QLatin1Char('0'));
    return QLatin1Char('-') + digits.rightJustified(width - 1, QLatin1Char('0'));
}

QDate oneYearLater(const QDate& date) {
    // QDate moves 29 February to the last day of February of a common year.
    return date.addYears(1);
}

}  // namespace kavina
