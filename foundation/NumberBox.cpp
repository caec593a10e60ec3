#include "foundation/NumberBox.h"

#include <QRegularExpression>

#include "foundation/SzamSzov.h"

namespace kavina {

QString numberBoxText(double value) {
    const long double rounded = Kerekit(-1, value);
    QString text = QString::number(double(rounded), 'f', 4);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

std::optional<double> readNumberBox(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return 0.0;
    static const QRegularExpression number(QStringLiteral("^-?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    if (!number.match(trimmed).hasMatch()) return std::nullopt;
    QString plain = trimmed;
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

bool isNumberBoxInput(const QString& text) {
    for (const QChar c : text)
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char(',') && c != QLatin1Char('-'))
            return false;
    return true;
}

}  // namespace kavina
