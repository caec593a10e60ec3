#include "products/barcodes/Ean13.h"

#include <array>

namespace kavina::products {

namespace {

// The left half's digit patterns of odd (L) and even (G) parity; the right half's (R) are the
// L patterns with bars and spaces swapped.
constexpr std::array<const char*, 10> kOdd = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                              "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr std::array<const char*, 10> kEven = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                               "0111001", "0000101", "0010001", "0001001", "0010111"};
// The first digit is not drawn: it chooses the parities of the six left digits.
constexpr std::array<const char*, 10> kParity = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                                 "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

bool allDigits(const QString& text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !text.isEmpty();
}

int digitAt(const QString& text, int i) {
    return text.at(i).unicode() - '0';
}

QString swapped(const char* pattern) {
    QString out = QString::fromLatin1(pattern);
    for (QChar& c : out) c = c == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

}  // namespace

int ean13CheckDigit(const QString& twelve) {
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += digitAt(twelve, i) * (i % 2 == 0 ? 1 : 3);
    return (10 - sum % 10) % 10;
}

QString Ean13::modules() const {
    QString out = QStringLiteral("101");
    const char* parity = kParity[size_t(digitAt(digits, 0))];
    for (int i = 1; i <= 6; ++i) {
        const int d = digitAt(digits, i);
        out += QString::fromLatin1(parity[i - 1] == 'L' ? kOdd[size_t(d)] : kEven[size_t(d)]);
    }
    out += QStringLiteral("01010");
    for (int i = 7; i <= 12; ++i) out += swapped(kOdd[size_t(digitAt(digits, i))]);
    out += QStringLiteral("101");
    return out;
}

std::optional<Ean13> ean13Of(const QString& stored) {
    const QString text = stored.trimmed();
    if (!allDigits(text)) return std::nullopt;
    if (text.size() == 12) return Ean13{text + QString::number(ean13CheckDigit(text))};
    if (text.size() == 13 && ean13CheckDigit(text) == digitAt(text, 12)) return Ean13{text};
    return std::nullopt;
}

QString ean13Refusal(const QString& stored) {
    const QString text = stored.trimmed();
    if (text.isEmpty()) return QStringLiteral("Nincs vonalkód");
    if (text.size() == 13 && allDigits(text)) return QStringLiteral("Hibás ellenőrző szám: ") + text;
    return QStringLiteral("Nem EAN-13 kód: ") + text;
}

}  // namespace kavina::products
