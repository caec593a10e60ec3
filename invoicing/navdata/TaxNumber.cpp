#include "invoicing/navdata/TaxNumber.h"

#include <QRegularExpression>

namespace kavina::nav {

std::optional<TaxNumber> findTaxNumber(const QString& text) {
    static const QRegularExpression form(QStringLiteral("(?<!\\d)(\\d{8})\\s*-\\s*(\\d)\\s*-\\s*(\\d{2})(?!\\d)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    return TaxNumber{m.captured(1), m.captured(2), m.captured(3)};
}

bool hasValidCheckDigit(const QString& taxpayerId) {
    if (taxpayerId.size() != 8) return false;
    static const int weights[] = {9, 7, 3, 1, 9, 7, 3};
    int sum = 0;
    for (int i = 0; i < 7; ++i) {
        if (!taxpayerId[i].isDigit()) return false;
        sum += taxpayerId[i].digitValue() * weights[i];
    }
    return taxpayerId[7].isDigit() && (10 - sum % 10) % 10 == taxpayerId[7].digitValue();
}

std::optional<QString> taxNumberProblem(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    const std::optional<TaxNumber> number = findTaxNumber(trimmed);
    static const QRegularExpression whole(QStringLiteral("^\\d{8}\\s*-\\s*\\d\\s*-\\s*\\d{2}$"));
    if (!number || !whole.match(trimmed).hasMatch())
        return QStringLiteral(
            "Az adószám formája: 8 számjegy, kötőjel, 1 számjegy, kötőjel, 2 számjegy "
            "(például 12345676-2-41).");
    if (!hasValidCheckDigit(number->taxpayerId))
        return QStringLiteral("Az adószám ellenőrző számjegye (a 8. számjegy) hibás.");
    if (number->vatCode < QStringLiteral("1") || number->vatCode > QStringLiteral("5"))
        return QStringLiteral("Az adószám ÁFA-kódja (a 9. számjegy) csak 1 és 5 között lehet.");
    return std::nullopt;
}

std::optional<QString> communityVatNumber(const QString& text) {
    QString compact = text.toUpper();
    compact.remove(QLatin1Char(' '));
    static const QRegularExpression form(QStringLiteral("^[A-Z]{2}[0-9A-Z]{2,13}$"));
    if (!form.match(compact).hasMatch()) return std::nullopt;
    return compact;
}

}  // namespace kavina::nav
