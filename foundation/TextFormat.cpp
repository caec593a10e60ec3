#include "foundation/TextFormat.h"

namespace kavina {

QString dateText(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("yyyy.MM.dd")) : QString();
}

QString timeText(const QTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

std::optional<QDate> parseDateText(const QString& text) {
    QString trimmed = text.trimmed();
    if (trimmed.size() == 11 && trimmed.endsWith(QLatin1Char('.'))) trimmed.chop(1);
    if (trimmed.size() != 10 || trimmed[4] != QLatin1Char('.') || trimmed[7] != QLatin1Char('.')) return std::nullopt;
    const QDate date = QDate::fromString(trimmed, QStringLiteral("yyyy.MM.dd"));
    if (!date.isValid()) return std::nullopt;
    return date;
}

}  // namespace kavina
