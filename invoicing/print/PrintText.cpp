#include "invoicing/print/PrintText.h"

#include <cmath>

#include "foundation/SzamSzov.h"

namespace kavina {

QString generalNumberText(double value) {
    if (value == 0) return QStringLiteral("0");  // also for -0
    return QString::number(value, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

bool needsMoreThanTwoDecimals(double amount) {
    const long double cents = (long double)amount * 100;
    return std::fabs(cents - std::round(cents)) > 1e-4L;
}

bool printsAsZero(double amount) {
    return Kerekit(0, amount) == 0;
}

}  // namespace kavina
