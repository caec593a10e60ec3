#include "IndexKey.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "DbError.h"
#include "FieldCodec.h"

namespace dbase {
namespace {

constexpr int kBcdLength = 12;
constexpr int kBcdExponentBias = 0x34;
constexpr int kMaxBcdDigits = 20;

// Bytes that order like the double they encode (the level-7 double layout).
void orderedDoubleInto(double v, char* out) {
    if (v == 0) v = 0;  // -0 keys as 0
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    bits = (bits & 0x8000'0000'0000'0000ULL) ? ~bits : bits | 0x8000'0000'0000'0000ULL;
    for (int i = 7; i >= 0; --i) {
        out[size_t(i)] = char(bits & 0xFF);
        bits >>= 8;
    }
}

std::string orderedDouble(double v) {
    std::string out(8, '\0');
    orderedDoubleInto(v, out.data());
    return out;
}

std::string littleEndianDouble(double v) {
    std::string out(8, '\0');
    std::memcpy(out.data(), &v, 8);
    return out;
}

double readLittleEndianDouble(std::string_view bytes) {
    double v = 0;
    if (bytes.size() >= 8) std::memcpy(&v, bytes.data(), 8);
    return v;
}

double julianOf(const FieldInfo& f, const uint8_t* record) {
    if (f.physical == '@') {
        const auto dt = codec::readDateTime(f, record);
        return dt ? double(dt->date.julianDay()) + dt->secondsOfDay / 86400.0 : 0.0;
    }
    const auto d = codec::readDate(f, record);
    return d ? double(d->julianDay()) : 0.0;
}

}  // namespace

KeyShape KeyShape::forField(const FieldInfo& field) {
    switch (field.physical) {
        case 'C': return {KeyType::Character, std::min(field.length, kMaxCharacterKey)};
        case 'L': return {KeyType::Character, 1};
        case 'D':
        case '@': return {KeyType::Date, 8};
        case 'N':
        case 'F':
        case 'I':
        case '+':
        case 'O': return {KeyType::Numeric, kBcdLength};
        default:
            throw DbError("field " + field.name + " of type " + std::string(1, field.physical) + " cannot be indexed");
    }
}

std::string encodeBcd(double value) {
    std::string out(kBcdLength, '\0');
    if (!std::isfinite(value) || std::fabs(value) < 1e-50) {
        out[0] = char(kBcdExponentBias);
        out[1] = 0x01;
        return out;
    }
    // Shortest digits that read back to the value: d.ddddde±x means 0.dddddd × 10^(x+1).
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const std::string_view text(buf, size_t(end - buf));
    const size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, ePos))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits.size() > size_t(kMaxBcdDigits)) digits.resize(kMaxBcdDigits);
    int exponent = 0;
    std::from_chars(text.data() + ePos + 1 + (text[ePos + 1] == '+'), text.data() + text.size(), exponent);
    exponent += 1;
    if (exponent + kBcdExponentBias > 255 || exponent + kBcdExponentBias < 1)
        throw DbError("the number " + std::string(text) + " is too large or small for an index key");
    out[0] = char(kBcdExponentBias + exponent);
    out[1] = char((value < 0 ? 0x80 : 0) | (int(digits.size()) << 2) | 0x01);
    for (size_t i = 0; i < digits.size(); ++i) {
        const int d = digits[i] - '0';
        out[2 + i / 2] = char(uint8_t(out[2 + i / 2]) | (i % 2 == 0 ? d << 4 : d));
    }
    return out;
}

double decodeBcd(std::string_view bytes) {
    if (bytes.size() < size_t(kBcdLength)) return 0;
    // Digits as a whole number scaled by a power of ten, in extended precision. Index order
    // only needs the same bytes to give the same value and larger decimals larger values.
    // The digit count differs between writers (exact or rounded up to even): all 19 leading
    // nibbles are read, trailing zeros do not change the value.
    static const auto powers = [] {
        std::vector<long double> p(512);
        for (int i = 0; i < 512; ++i) p[size_t(i)] = std::pow(10.0L, i - 256);
        return p;
    }();
    uint64_t mantissa = 0;
    for (int i = 0; i < 19; ++i) {
        const auto byte = uint8_t(bytes[2 + size_t(i) / 2]);
        mantissa = mantissa * 10 + uint64_t(std::min(i % 2 == 0 ? byte >> 4 : byte & 0x0F, 9));
    }
    if (mantissa == 0) return 0;
    const int scale = int(uint8_t(bytes[0])) - kBcdExponentBias - 19 + 256;
    const double v = double(static_cast<long double>(mantissa) * powers[size_t(std::clamp(scale, 0, 511))]);
    return (uint8_t(bytes[1]) & 0x80) ? -v : v;
}

std::string storedKey(const FieldInfo& field, const KeyShape& shape, const uint8_t* record) {
    switch (shape.type) {
        case KeyType::Character: {
            std::string key(reinterpret_cast<const char*>(record + field.offset), size_t(shape.length));
            return key;
        }
        case KeyType::Numeric: {
            const auto v = field.physical == 'N' || field.physical == 'F' ? [&]() -> std::optional<double> {
                try {
                    return codec::readFloat(field, record);
                } catch (const DbError&) {
                    return 0.0;  // a damaged number keys as 0, like a blank one
                }
            }()
                : codec::readFloat(field, record);
            return encodeBcd(v.value_or(0.0));
        }
        case KeyType::Date: {
            double jd = 0;
            try {
                jd = julianOf(field, record);
            } catch (const DbError&) {
                jd = 0;
            }
            return littleEndianDouble(jd);
        }
    }
    return {};
}

std::string sortKeyOf(const KeyShape& shape, std::string_view stored, const Collation& collation) {
    switch (shape.type) {
        case KeyType::Character: return collation.sortKey(stored, size_t(shape.length), false);
        case KeyType::Numeric: return orderedDouble(decodeBcd(stored));
        case KeyType::Date: return orderedDouble(readLittleEndianDouble(stored));
    }
    return {};
}

size_t sortKeyWidth(const KeyShape& shape) {
    return shape.type == KeyType::Character ? size_t(shape.length) : 8;
}

void sortKeyInto(const KeyShape& shape, std::string_view stored, const Collation& collation, char* out) {
    switch (shape.type) {
        case KeyType::Character: return collation.sortKeyInto(stored, size_t(shape.length), out);
        case KeyType::Numeric: return orderedDoubleInto(decodeBcd(stored), out);
        case KeyType::Date: return orderedDoubleInto(readLittleEndianDouble(stored), out);
    }
}

std::string sortKeyOfText(const KeyShape& shape, std::string_view text, CodePage cp, const Collation& collation,
                          bool caseInsensitive) {
    switch (shape.type) {
        case KeyType::Character: {
            const std::string bytes = fromUtf8(cp, text, size_t(shape.length));
            std::string key = collation.sortKey(bytes, bytes.size(), caseInsensitive);
            return key;
        }
        case KeyType::Numeric: {
            double v = 0;
            const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
            if (text.empty() || ec != std::errc() || p != text.data() + text.size())
                throw DbError("'" + std::string(text) + "' is not a number");
            return orderedDouble(decodeBcd(encodeBcd(v)));
        }
        case KeyType::Date: {
            if (text.empty()) return orderedDouble(0);
            if (const auto dt = DateTime::parse(text))
                return orderedDouble(double(dt->date.julianDay()) + dt->secondsOfDay / 86400.0);
            throw DbError("'" + std::string(text) + "' is not a date");
        }
    }
    return {};
}

}  // namespace dbase
