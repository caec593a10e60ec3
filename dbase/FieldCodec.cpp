#include "FieldCodec.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "DbError.h"

namespace dbase::codec {
namespace {

constexpr int64_t kMsPerDay = 86'400'000;
// Day number of the timestamp encoding: day 1 is 0001-01-01 (Julian Day Number - 1 721 425).
constexpr int64_t kTimestampJdnOffset = 1'721'425;

// Values a caller gives that the field cannot take are Invalid; stored bytes that hold no
// valid value are Damaged.
[[noreturn]] void fieldFail(const FieldInfo& f, const std::string& cause, DbErrorKind kind = DbErrorKind::Invalid) {
    throw DbError("field " + f.name + ": " + cause, kind);
}

[[noreturn]] void damagedValue(const FieldInfo& f, const std::string& cause) {
    fieldFail(f, cause, DbErrorKind::Damaged);
}

uint64_t loadBigEndian64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
}

void storeBigEndian64(uint8_t* p, uint64_t v) {
    v = __builtin_bswap64(v);
    std::memcpy(p, &v, 8);
}

bool zero64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v == 0;
}

bool allBytes(const uint8_t* p, int n, uint8_t b) {
    for (int i = 0; i < n; ++i)
        if (p[i] != b) return false;
    return true;
}

std::string_view span(const FieldInfo& f, const uint8_t* record) {
    return {reinterpret_cast<const char*>(record + f.offset), static_cast<size_t>(f.length)};
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    return s;
}

// A stored byte as text an error can show.
std::string printable(uint8_t c) {
    if (c >= 0x20 && c < 0x7F) return std::string(1, char(c));
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", c);
    return buf;
}

std::optional<double> parseNumber(const FieldInfo& f, std::string_view text, DbErrorKind kind) {
    text = trim(text);
    if (text.empty()) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);
    if (text.empty()) fieldFail(f, "'+' is not a number", kind);
    // Some writers mark an overflowing value with asterisks; it holds no number.
    if (text.front() == '*') return std::nullopt;
    double v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    // from_chars also takes "nan" and "inf": no dBASE number is either.
    if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(v))
        fieldFail(f, "'" + std::string(text) + "' is not a number", kind);
    return v;
}

void writeAscii(const FieldInfo& f, uint8_t* record, std::string_view text) {
    if (text.size() > static_cast<size_t>(f.length))
        fieldFail(f, "the value " + std::string(text) + " does not fit in " + std::to_string(f.length) + " characters");
    uint8_t* p = record + f.offset;
    std::memset(p, ' ', f.length);
    std::memcpy(p + f.length - text.size(), text.data(), text.size());  // right-aligned
}

void writeNumeric(const FieldInfo& f, uint8_t* record, double value) {
    if (!std::isfinite(value)) fieldFail(f, "the value is not a finite number");
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.*f", f.decimals, value);
    std::string_view text(buf, static_cast<size_t>(n));
    if (text == "-0" || (text.substr(0, 2) == "-0" && text.find_first_not_of("-0.") == std::string_view::npos))
        text.remove_prefix(1);
    writeAscii(f, record, text);
}

int64_t roundTiesToEven(const FieldInfo& f, double v) {
    if (!std::isfinite(v) || std::fabs(v) > 9.2e18) fieldFail(f, "the value is out of the integer range");
    return static_cast<int64_t>(std::nearbyint(v));
}

void requireRange(const FieldInfo& f, int64_t v, int64_t lo, int64_t hi) {
    if (v < lo || v > hi) fieldFail(f, std::to_string(v) + " is out of the field's range");
}

}  // namespace

double decodeDouble(const uint8_t* p) {
    uint64_t bits = loadBigEndian64(p);
    bits = (bits & 0x8000'0000'0000'0000ULL) ? bits & ~0x8000'0000'0000'0000ULL : ~bits;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double decodeTimestamp(const uint8_t* p) {
    const uint64_t bits = loadBigEndian64(p);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double timestampOf(const DateTime& value) {
    return double((value.date.julianDay() - kTimestampJdnOffset) * kMsPerDay + int64_t(value.secondsOfDay) * 1000);
}

bool isNull(const FieldInfo& f, const uint8_t* record) {
    const uint8_t* p = record + f.offset;
    switch (f.physical) {
        case 'I':
        case '+':
        case 'O':
        case '@': return allBytes(p, f.length, 0);
        case 'L': return *p == ' ' || *p == '?' || *p == 0;
        case 'M':
        case 'B':
        case 'G': return readMemoBlock(f, record) == 0;
        case 'C': return rawText(f, record).empty();
        default: return trim(span(f, record)).empty();
    }
}

void setNull(const FieldInfo& f, uint8_t* record) {
    const bool binary = f.physical == 'I' || f.physical == '+' || f.physical == 'O' || f.physical == '@';
    std::memset(record + f.offset, binary ? 0 : ' ', f.length);
}

std::string_view rawText(const FieldInfo& f, const uint8_t* record) {
    const char* begin = reinterpret_cast<const char*>(record + f.offset);
    size_t n = static_cast<size_t>(f.length);
    // Blank tails are long in wide name fields: skip them eight bytes at a time.
    static constexpr uint64_t kBlanks = 0x2020202020202020ULL;
    while (n >= 8) {
        uint64_t word;
        std::memcpy(&word, begin + n - 8, 8);
        if (word != kBlanks) break;
        n -= 8;
    }
    while (n > 0 && (begin[n - 1] == ' ' || begin[n - 1] == '\0')) --n;
    return {begin, n};
}

std::optional<int64_t> readInteger(const FieldInfo& f, const uint8_t* record) {
    const uint8_t* p = record + f.offset;
    switch (f.physical) {
        case 'I':
        case '+': {
            if (allBytes(p, 4, 0)) return std::nullopt;
            const uint32_t u =
                (uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]) ^ 0x8000'0000U;
            return static_cast<int32_t>(u);
        }
        case 'L': {
            const auto b = readLogical(f, record);
            return b ? std::optional<int64_t>(*b ? 1 : 0) : std::nullopt;
        }
        default: {
            const auto v = readFloat(f, record);
            return v ? std::optional<int64_t>(roundTiesToEven(f, *v)) : std::nullopt;
        }
    }
}

std::optional<double> readFloat(const FieldInfo& f, const uint8_t* record) {
    const uint8_t* p = record + f.offset;
    switch (f.physical) {
        case 'O': {
            if (zero64(p)) return std::nullopt;
            const double v = decodeDouble(p);
            // No writer stores a NaN or an infinity (all FF bytes decode to a NaN).
            if (!std::isfinite(v)) damagedValue(f, "holds no valid number");
            return v;
        }
        case 'I':
        case '+': {
            const auto v = readInteger(f, record);
            return v ? std::optional<double>(double(*v)) : std::nullopt;
        }
        case 'N':
        case 'F':
        case 'C': return parseNumber(f, span(f, record), DbErrorKind::Damaged);
        default: fieldFail(f, "is not a number field");
    }
}

std::optional<bool> readLogical(const FieldInfo& f, const uint8_t* record) {
    if (f.physical != 'L') fieldFail(f, "is not a logical field");
    const uint8_t c = record[f.offset];
    switch (c) {
        case 'T':
        case 't':
        case 'Y':
        case 'y': return true;
        case 'F':
        case 'f':
        case 'N':
        case 'n': return false;
        // Not set; a zero byte is what a record some writers fill with zeros holds.
        case ' ':
        case '?':
        case 0: return std::nullopt;
        default: damagedValue(f, "holds '" + printable(c) + "', which is no logical value");
    }
}

std::optional<Date> readDate(const FieldInfo& f, const uint8_t* record) {
    if (f.physical == '@') {
        const auto dt = readDateTime(f, record);
        return dt ? std::optional<Date>(dt->date) : std::nullopt;
    }
    if (f.physical != 'D') fieldFail(f, "is not a date field");
    const std::string_view s = span(f, record);
    if (trim(s).empty() || s == "00000000") return std::nullopt;
    Date d;
    const auto num = [&](size_t pos, size_t len, int& out) {
        const auto [ptr, ec] = std::from_chars(s.data() + pos, s.data() + pos + len, out);
        return ec == std::errc() && ptr == s.data() + pos + len;
    };
    if (!num(0, 4, d.year) || !num(4, 2, d.month) || !num(6, 2, d.day) || !d.isValid())
        damagedValue(f, "'" + std::string(s) + "' is not a valid date");
    return d;
}

std::optional<DateTime> readDateTime(const FieldInfo& f, const uint8_t* record) {
    if (f.physical == 'D') {
        const auto d = readDate(f, record);
        return d ? std::optional<DateTime>(DateTime{*d, 0}) : std::nullopt;
    }
    if (f.physical != '@') fieldFail(f, "is not a date-time field");
    const uint8_t* p = record + f.offset;
    if (allBytes(p, 8, 0)) return std::nullopt;
    const double ms = decodeTimestamp(p);
    if (!std::isfinite(ms) || ms < kMsPerDay || ms > 4e14) damagedValue(f, "holds an invalid timestamp");
    const auto total = static_cast<int64_t>(std::llround(ms / 1000.0));
    const int64_t days = total / 86400;
    DateTime dt{Date::fromJulianDay(days + kTimestampJdnOffset), static_cast<int>(total % 86400)};
    return dt;
}

uint32_t readMemoBlock(const FieldInfo& f, const uint8_t* record) {
    const std::string_view s = trim(span(f, record));
    if (f.length == 4) {  // binary block numbers of some level-7 writers
        const uint8_t* p = record + f.offset;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    uint32_t block = 0;
    for (char c : s) {
        if (c < '0' || c > '9') damagedValue(f, "holds a damaged memo block number");
        block = block * 10 + uint32_t(c - '0');
        if (block > 0x7FFF'FFFF) damagedValue(f, "holds a damaged memo block number");
    }
    return block;
}

std::string shortestText(double value) {
    char buf[64];
    const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, p);
}

std::string readAsText(const FieldInfo& f, const uint8_t* record, CodePage cp) {
    if (f.physical == 'C') return toUtf8(cp, rawText(f, record));
    if (isNull(f, record)) return {};
    switch (f.logical) {
        case FieldType::Character: return toUtf8(cp, rawText(f, record));
        case FieldType::Integer:
        case FieldType::Short: {
            const auto v = readInteger(f, record);
            return v ? std::to_string(*v) : std::string();
        }
        case FieldType::Float:
            if (f.physical == 'N' || f.physical == 'F') {
                const auto v = readFloat(f, record);
                return v ? shortestText(*v) : std::string();
            }
            return shortestText(*readFloat(f, record));
        case FieldType::Logical: {
            const auto b = readLogical(f, record);
            return b ? (*b ? "T" : "F") : "";
        }
        case FieldType::Date: {
            const auto d = readDate(f, record);
            return d ? d->text() : "";
        }
        case FieldType::DateTime: {
            const auto dt = readDateTime(f, record);
            return dt ? dt->text() : "";
        }
        case FieldType::Memo: return {};
    }
    return {};
}

void writeText(const FieldInfo& f, uint8_t* record, std::string_view utf8, CodePage cp) {
    if (f.physical != 'C') {
        const std::string_view value = trim(utf8);
        if (value.empty()) return setNull(f, record);
        switch (f.logical) {
            case FieldType::Integer:
            case FieldType::Short:
            case FieldType::Float: {
                const auto v = parseNumber(f, value, DbErrorKind::Invalid);
                if (!v) fieldFail(f, "'" + std::string(value) + "' is not a number");
                if (f.logical == FieldType::Float) return writeFloat(f, record, *v);
                if (*v != std::floor(*v)) fieldFail(f, "'" + std::string(value) + "' is not a whole number");
                return writeInteger(f, record, static_cast<int64_t>(*v));
            }
            case FieldType::Logical: {
                const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
                if (value.size() != 1 || (c != 'T' && c != 'F' && c != 'Y' && c != 'N'))
                    fieldFail(f, "'" + std::string(value) + "' is not a logical value (T or F)");
                return writeLogical(f, record, c == 'T' || c == 'Y');
            }
            case FieldType::Date: {
                const auto d = Date::parse(value);
                if (!d) fieldFail(f, "'" + std::string(value) + "' is not a date (yyyy.MM.dd)");
                return writeDate(f, record, *d);
            }
            case FieldType::DateTime: {
                const auto dt = DateTime::parse(value);
                if (!dt) fieldFail(f, "'" + std::string(value) + "' is not a date and time (yyyy.MM.dd HH:mm:ss)");
                return writeDateTime(f, record, *dt);
            }
            default: fieldFail(f, "cannot be set as text");
        }
    }
    const std::string bytes = fromUtf8(cp, utf8, static_cast<size_t>(f.length));
    uint8_t* p = record + f.offset;
    std::memset(p, ' ', f.length);
    std::memcpy(p, bytes.data(), bytes.size());
}

void writeInteger(const FieldInfo& f, uint8_t* record, int64_t value) {
    switch (f.physical) {
        case 'I':
        case '+': {
            // The smallest 32-bit value encodes as four zero bytes, the empty value.
            requireRange(f, value, std::numeric_limits<int32_t>::min() + 1LL, std::numeric_limits<int32_t>::max());
            const uint32_t u = static_cast<uint32_t>(static_cast<int32_t>(value)) ^ 0x8000'0000U;
            uint8_t* p = record + f.offset;
            p[0] = uint8_t(u >> 24);
            p[1] = uint8_t(u >> 16);
            p[2] = uint8_t(u >> 8);
            p[3] = uint8_t(u);
            return;
        }
        case 'O': return writeFloat(f, record, double(value));
        case 'N':
        case 'F':
            if (f.logical == FieldType::Short) requireRange(f, value, -32768, 32767);
            if (f.logical == FieldType::Integer)
                requireRange(f, value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
            if (f.decimals == 0) return writeAscii(f, record, std::to_string(value));
            return writeNumeric(f, record, double(value));
        case 'L': return writeLogical(f, record, value != 0);
        default: fieldFail(f, "is not a number field");
    }
}

void writeFloat(const FieldInfo& f, uint8_t* record, double value) {
    switch (f.physical) {
        case 'O': {
            if (!std::isfinite(value)) fieldFail(f, "the value is not a finite number");
            uint64_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            bits = (bits & 0x8000'0000'0000'0000ULL) ? ~bits : bits | 0x8000'0000'0000'0000ULL;
            return storeBigEndian64(record + f.offset, bits);
        }
        case 'I':
        case '+': return writeInteger(f, record, roundTiesToEven(f, value));
        case 'N':
        case 'F':
            if (f.logical != FieldType::Float) return writeInteger(f, record, roundTiesToEven(f, value));
            return writeNumeric(f, record, value);
        default: fieldFail(f, "is not a number field");
    }
}

void writeLogical(const FieldInfo& f, uint8_t* record, bool value) {
    if (f.physical != 'L') fieldFail(f, "is not a logical field");
    record[f.offset] = value ? 'T' : 'F';
}

void writeDate(const FieldInfo& f, uint8_t* record, const Date& value) {
    if (f.physical == '@') return writeDateTime(f, record, DateTime{value, 0});
    if (f.physical != 'D') fieldFail(f, "is not a date field");
    if (!value.isValid()) fieldFail(f, "the date is not valid");
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", value.year, value.month, value.day);
    std::memcpy(record + f.offset, buf, 8);
}

void writeDateTime(const FieldInfo& f, uint8_t* record, const DateTime& value) {
    if (f.physical == 'D') return writeDate(f, record, value.date);
    if (f.physical != '@') fieldFail(f, "is not a date-time field");
    if (!value.date.isValid() || value.secondsOfDay < 0 || value.secondsOfDay >= 86400)
        fieldFail(f, "the date and time are not valid");
    const double ms = timestampOf(value);
    uint64_t bits;
    std::memcpy(&bits, &ms, sizeof bits);
    storeBigEndian64(record + f.offset, bits);
}

void writeMemoBlock(const FieldInfo& f, uint8_t* record, uint32_t block) {
    if (f.length == 4) {
        uint8_t* p = record + f.offset;
        for (int i = 0; i < 4; ++i) p[i] = uint8_t(block >> (8 * i));
        return;
    }
    if (block == 0) return setNull(f, record);
    writeAscii(f, record, std::to_string(block));
}

}  // namespace dbase::codec
