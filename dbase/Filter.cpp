#include "Filter.h"

#include <strings.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "Collation.h"
#include "DbError.h"
#include "FieldCodec.h"

namespace dbase {
namespace {

enum class Op { Eq, Ne, Gt, Ge, Lt, Le };

bool applyOp(Op op, int cmp) {
    switch (op) {
        case Op::Eq: return cmp == 0;
        case Op::Ne: return cmp != 0;
        case Op::Gt: return cmp > 0;
        case Op::Ge: return cmp >= 0;
        case Op::Lt: return cmp < 0;
        case Op::Le: return cmp <= 0;
    }
    return false;
}

Op flipped(Op op) {
    switch (op) {
        case Op::Gt: return Op::Lt;
        case Op::Ge: return Op::Le;
        case Op::Lt: return Op::Gt;
        case Op::Le: return Op::Ge;
        default: return op;
    }
}

template <typename T>
int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// ---- predicates -------------------------------------------------------------------------

class TextCompare final : public RecordPredicate {
public:
    TextCompare(const FieldInfo& f, std::string constant, Op op, bool prefix, bool ci, CodePage cp)
        : m_offset(f.offset),
          m_length(f.length),
          m_constant(std::move(constant)),
          m_op(op),
          m_prefix(prefix),
          m_ci(ci),
          m_collation(cp) {
        if (m_ci)
            for (char& c : m_constant) c = static_cast<char>(m_collation.fold(static_cast<unsigned char>(c)));
        m_constant = std::string(trimRight(m_constant));
        m_fits = m_constant.size() <= size_t(m_length);
    }
    bool test(const uint8_t* record) const override {
        const char* raw = reinterpret_cast<const char*>(record + m_offset);
        if (m_op == Op::Eq || m_op == Op::Ne) return equalTest(raw) == (m_op == Op::Eq);
        return applyOp(m_op, m_collation.compare(trimRight({raw, size_t(m_length)}), m_constant, m_ci));
    }

private:
    // The field's bytes start with the constant and (unless matching a prefix) continue with
    // blanks only; no trimming of the whole field per record.
    bool equalTest(const char* raw) const {
        if (!m_fits) return false;
        const size_t n = m_constant.size();
        if (!m_ci) {
            if (std::memcmp(raw, m_constant.data(), n) != 0) return false;
        } else {
            for (size_t i = 0; i < n; ++i)
                if (m_collation.fold(static_cast<unsigned char>(raw[i])) != static_cast<unsigned char>(m_constant[i]))
                    return false;
        }
        if (m_prefix) return true;
        for (size_t i = n; i < size_t(m_length); ++i)
            if (raw[i] != ' ' && raw[i] != '\0') return false;
        return true;
    }

    int m_offset, m_length;
    std::string m_constant;
    Op m_op;
    bool m_prefix, m_ci;
    bool m_fits = true;
    Collation m_collation;
};

// Compares fixed bytes: dates as YYYYMMDD (blank = spaces, below every date).
class BytesCompare final : public RecordPredicate {
public:
    BytesCompare(const FieldInfo& f, std::string constant, Op op, bool prefix)
        : m_offset(f.offset), m_constant(std::move(constant)), m_op(op), m_prefix(prefix) {}
    bool test(const uint8_t* record) const override {
        const int cmp = std::memcmp(record + m_offset, m_constant.data(), m_constant.size());
        if (m_prefix && (m_op == Op::Eq || m_op == Op::Ne)) return (cmp == 0) == (m_op == Op::Eq);
        return applyOp(m_op, cmp);
    }

private:
    int m_offset;
    std::string m_constant;
    Op m_op;
    bool m_prefix;
};

class NumberCompare final : public RecordPredicate {
public:
    NumberCompare(const FieldInfo& f, double constant, Op op) : m_field(f), m_constant(constant), m_op(op) {
        m_orderedConstant = ordered(constant == 0 ? 0.0 : constant);
    }
    bool test(const uint8_t* record) const override {
        if (m_field.physical == 'O') {
            // Doubles are stored so that their big-endian bytes order like the values; an
            // empty field counts as 0.
            uint64_t raw;
            std::memcpy(&raw, record + m_field.offset, 8);
            raw = __builtin_bswap64(raw);
            if (raw == 0 || raw == 0x7FFF'FFFF'FFFF'FFFFULL) raw = 0x8000'0000'0000'0000ULL;  // empty, -0
            return applyOp(m_op, threeWay(raw, m_orderedConstant));
        }
        return applyOp(m_op, threeWay(value(record), m_constant));
    }

private:
    double value(const uint8_t* record) const {
        const uint8_t* p = record + m_field.offset;
        switch (m_field.physical) {
            case 'O': {
                static const uint8_t kZero[8] = {};
                return std::memcmp(p, kZero, 8) == 0 ? 0.0 : codec::decodeDouble(p);
            }
            case 'I':
            case '+': {
                const auto v = codec::readInteger(m_field, record);
                return v ? double(*v) : 0.0;
            }
            default: {
                const char* s = reinterpret_cast<const char*>(p);
                const char* e = s + m_field.length;
                while (s < e && *s == ' ') ++s;
                double v = 0;
                std::from_chars(s, e, v);  // blank and damaged values count as 0
                return v;
            }
        }
    }

    static uint64_t ordered(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return (bits & 0x8000'0000'0000'0000ULL) ? ~bits : bits | 0x8000'0000'0000'0000ULL;
    }

    FieldInfo m_field;
    double m_constant;
    uint64_t m_orderedConstant = 0;
    Op m_op;
};

class TimestampCompare final : public RecordPredicate {
public:
    TimestampCompare(const FieldInfo& f, double constant, Op op) : m_offset(f.offset), m_constant(constant), m_op(op) {}
    bool test(const uint8_t* record) const override {
        static const uint8_t kZero[8] = {};
        const uint8_t* p = record + m_offset;
        const double v =
            std::memcmp(p, kZero, 8) == 0 ? -std::numeric_limits<double>::infinity() : codec::decodeTimestamp(p);
        return applyOp(m_op, threeWay(v, m_constant));
    }

private:
    int m_offset;
    double m_constant;
    Op m_op;
};

class LogicalTest final : public RecordPredicate {
public:
    LogicalTest(const FieldInfo& f, bool expected, Op op) : m_offset(f.offset), m_expected(expected), m_op(op) {}
    bool test(const uint8_t* record) const override {
        const uint8_t c = record[m_offset];
        const bool value = c == 'T' || c == 't' || c == 'Y' || c == 'y';
        return applyOp(m_op, threeWay(int(value), int(m_expected)));
    }

private:
    int m_offset;
    bool m_expected;
    Op m_op;
};

class AndNode final : public RecordPredicate {
public:
    explicit AndNode(std::vector<std::unique_ptr<RecordPredicate>> parts) : m_parts(std::move(parts)) {}
    bool test(const uint8_t* record) const override {
        for (const auto& p : m_parts)
            if (!p->test(record)) return false;
        return true;
    }

private:
    std::vector<std::unique_ptr<RecordPredicate>> m_parts;
};

class OrNode final : public RecordPredicate {
public:
    explicit OrNode(std::vector<std::unique_ptr<RecordPredicate>> parts) : m_parts(std::move(parts)) {}
    bool test(const uint8_t* record) const override {
        for (const auto& p : m_parts)
            if (p->test(record)) return true;
        return false;
    }

private:
    std::vector<std::unique_ptr<RecordPredicate>> m_parts;
};

class NotNode final : public RecordPredicate {
public:
    explicit NotNode(std::unique_ptr<RecordPredicate> inner) : m_inner(std::move(inner)) {}
    bool test(const uint8_t* record) const override { return !m_inner->test(record); }

private:
    std::unique_ptr<RecordPredicate> m_inner;
};

// ---- tokens -----------------------------------------------------------------------------

enum class Tok { Ident, Text, Number, Oper, LParen, RParen, End };

struct Token {
    Tok kind;
    std::string text;
    size_t position;  // 1-based
};

bool identStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool identChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class Parser {
public:
    Parser(std::string_view text, const TableHeader& header, const FilterOptions& options, const std::string& file)
        : m_text(text), m_header(header), m_options(options), m_file(file) {
        tokenize();
    }

    std::unique_ptr<RecordPredicate> parse() {
        auto result = parseOr();
        if (peek().kind != Tok::End) error(peek().position, "unexpected '" + peek().text + "'");
        return result;
    }

private:
    [[noreturn]] void error(size_t position, const std::string& what) const {
        fail(m_file, DbErrorKind::Invalid, "filter error at position " + std::to_string(position) + ": " + what);
    }

    void tokenize() {
        size_t i = 0;
        while (i < m_text.size()) {
            const char c = m_text[i];
            const size_t pos = i + 1;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++i;
                continue;
            }
            if (c == '(' || c == ')') {
                m_tokens.push_back({c == '(' ? Tok::LParen : Tok::RParen, std::string(1, c), pos});
                ++i;
                continue;
            }
            if (c == '\'' || c == '"') {
                i = readQuoted(i);
                continue;
            }
            if (std::isdigit(static_cast<unsigned char>(c)) ||
                ((c == '-' || c == '+' || c == '.') && i + 1 < m_text.size() &&
                 std::isdigit(static_cast<unsigned char>(m_text[i + 1])))) {
                size_t j = i + 1;
                while (j < m_text.size() && (std::isdigit(static_cast<unsigned char>(m_text[j])) || m_text[j] == '.'))
                    ++j;
                m_tokens.push_back({Tok::Number, std::string(m_text.substr(i, j - i)), pos});
                i = j;
                continue;
            }
            if (identStart(c)) {
                size_t j = i + 1;
                while (j < m_text.size() && identChar(m_text[j])) ++j;
                m_tokens.push_back({Tok::Ident, std::string(m_text.substr(i, j - i)), pos});
                i = j;
                continue;
            }
            static const char* kOps[] = {"<>", "!=", ">=", "<=", "=", ">", "<"};
            bool matched = false;
            for (const char* op : kOps) {
                if (m_text.substr(i, std::strlen(op)) == op) {
                    m_tokens.push_back({Tok::Oper, op, pos});
                    i += std::strlen(op);
                    matched = true;
                    break;
                }
            }
            if (!matched) error(pos, "unexpected character '" + std::string(1, c) + "'");
        }
        m_tokens.push_back({Tok::End, "end of expression", m_text.size() + 1});
    }

    size_t readQuoted(size_t i) {
        const char quote = m_text[i];
        std::string value;
        size_t j = i + 1;
        while (true) {
            if (j >= m_text.size()) error(i + 1, "the text constant is not closed");
            if (m_text[j] == quote) {
                if (j + 1 < m_text.size() && m_text[j + 1] == quote) {
                    value += quote;
                    j += 2;
                    continue;
                }
                break;
            }
            value += m_text[j++];
        }
        m_tokens.push_back({Tok::Text, value, i + 1});
        return j + 1;
    }

    const Token& peek() const { return m_tokens[m_pos]; }
    const Token& take() { return m_tokens[m_pos++]; }
    bool keyword(const char* word) const {
        const Token& t = peek();
        if (t.kind != Tok::Ident || t.text.size() != std::strlen(word)) return false;
        for (size_t k = 0; k < t.text.size(); ++k)
            if (std::toupper(static_cast<unsigned char>(t.text[k])) != word[k]) return false;
        return true;
    }

    std::unique_ptr<RecordPredicate> parseOr() {
        std::vector<std::unique_ptr<RecordPredicate>> parts;
        parts.push_back(parseAnd());
        while (keyword("OR")) {
            take();
            parts.push_back(parseAnd());
        }
        return parts.size() == 1 ? std::move(parts[0]) : std::make_unique<OrNode>(std::move(parts));
    }

    std::unique_ptr<RecordPredicate> parseAnd() {
        std::vector<std::unique_ptr<RecordPredicate>> parts;
        parts.push_back(parseFactor());
        while (keyword("AND")) {
            take();
            parts.push_back(parseFactor());
        }
        return parts.size() == 1 ? std::move(parts[0]) : std::make_unique<AndNode>(std::move(parts));
    }

    std::unique_ptr<RecordPredicate> parseFactor() {
        // Parentheses and NOT nest by recursion: a bound keeps a hostile filter from
        // exhausting the stack (no filter a person writes comes near it).
        if (keyword("NOT") || peek().kind == Tok::LParen) {
            if (m_depth >= kMaxNesting)
                error(peek().position,
                      "parentheses and NOT are nested more than " + std::to_string(kMaxNesting) + " deep");
            ++m_depth;
            auto inner = parseNested();
            --m_depth;
            return inner;
        }
        const Token left = take();
        if (left.kind == Tok::End) error(left.position, "a condition is missing");
        if (left.kind == Tok::Oper || left.kind == Tok::RParen) error(left.position, "unexpected '" + left.text + "'");
        if (peek().kind != Tok::Oper) {
            if (left.kind != Tok::Ident) error(peek().position, "an operator is expected");
            const FieldInfo& f = fieldAt(left);
            if (f.physical != 'L') error(left.position, "field " + f.name + " is not a logical field");
            return std::make_unique<LogicalTest>(f, true, Op::Eq);
        }
        const Token op = take();
        const Token right = take();
        if (right.kind == Tok::End || right.kind == Tok::Oper || right.kind == Tok::LParen || right.kind == Tok::RParen)
            error(right.position, "a field or constant is expected");
        const bool leftField = left.kind == Tok::Ident && !isLogicalWord(left);
        const bool rightField = right.kind == Tok::Ident && !isLogicalWord(right);
        if (leftField == rightField) error(left.position, "a condition compares one field with one constant");
        return leftField ? comparison(fieldAt(left), opOf(op), right)
                         : comparison(fieldAt(right), flipped(opOf(op)), left);
    }

    std::unique_ptr<RecordPredicate> parseNested() {
        if (keyword("NOT")) {
            take();
            return std::make_unique<NotNode>(parseFactor());
        }
        take();
        auto inner = parseOr();
        if (peek().kind != Tok::RParen) error(peek().position, "')' expected");
        take();
        return inner;
    }

    static bool isLogicalWord(const Token& t) {
        std::string u;
        for (char c : t.text) u += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return u == "TRUE" || u == "FALSE";
    }

    Op opOf(const Token& t) const {
        if (t.text == "=") return Op::Eq;
        if (t.text == "<>" || t.text == "!=") return Op::Ne;
        if (t.text == ">") return Op::Gt;
        if (t.text == ">=") return Op::Ge;
        if (t.text == "<") return Op::Lt;
        return Op::Le;
    }

    const FieldInfo& fieldAt(const Token& t) const {
        for (const FieldInfo& f : m_header.fields)
            if (f.name.size() == t.text.size() && strncasecmp(f.name.c_str(), t.text.c_str(), t.text.size()) == 0)
                return f;
        error(t.position, "unknown field '" + t.text + "'");
    }

    std::unique_ptr<RecordPredicate> comparison(const FieldInfo& f, Op op, const Token& constant) {
        std::string value = constant.text;
        bool prefix = false;
        if (constant.kind == Tok::Text && !m_options.noPrefixMatching && !value.empty() && value.back() == '*' &&
            (op == Op::Eq || op == Op::Ne)) {
            prefix = true;
            value.pop_back();
        }
        switch (f.logical) {
            case FieldType::Character:
                return std::make_unique<TextCompare>(f, fromUtf8(m_header.codePage(), value), op, prefix,
                                                     m_options.caseInsensitive, m_header.codePage());
            case FieldType::Integer:
            case FieldType::Short:
            case FieldType::Float: {
                double number = 0;
                const auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
                if (value.empty() || ec != std::errc() || p != value.data() + value.size() || prefix)
                    error(constant.position, "'" + constant.text + "' is not a number for field " + f.name);
                return std::make_unique<NumberCompare>(f, number, op);
            }
            case FieldType::Logical: {
                const std::string u = upperText(value);
                if (u != "T" && u != "F" && u != "Y" && u != "N" && u != "TRUE" && u != "FALSE")
                    error(constant.position, "'" + constant.text + "' is not a logical value for field " + f.name);
                return std::make_unique<LogicalTest>(f, u == "T" || u == "Y" || u == "TRUE", op);
            }
            case FieldType::Date: return dateComparison(f, op, constant, value, prefix);
            case FieldType::DateTime: {
                if (value.empty())
                    return std::make_unique<TimestampCompare>(f, -std::numeric_limits<double>::infinity(), op);
                const auto dt = DateTime::parse(value);
                if (!dt || prefix)
                    error(constant.position, "'" + constant.text + "' is not a date and time for field " + f.name);
                return std::make_unique<TimestampCompare>(f, codec::timestampOf(*dt), op);
            }
            case FieldType::Memo: error(constant.position, "memo field " + f.name + " cannot be compared");
        }
        error(constant.position, "unsupported comparison");
    }

    std::unique_ptr<RecordPredicate> dateComparison(const FieldInfo& f, Op op, const Token& constant,
                                                    const std::string& value, bool prefix) {
        if (f.physical == '@') error(constant.position, "unsupported date field");
        if (value.empty() && !prefix) return std::make_unique<BytesCompare>(f, std::string(8, ' '), op, false);
        if (prefix) {
            std::string digits;
            for (char c : value) {
                if (c == '.') continue;
                if (!std::isdigit(static_cast<unsigned char>(c)) || digits.size() >= 8)
                    error(constant.position, "'" + constant.text + "' is not the start of a date for field " + f.name);
                digits += c;
            }
            return std::make_unique<BytesCompare>(f, digits, op, true);
        }
        const auto d = Date::parse(value);
        if (!d) error(constant.position, "'" + constant.text + "' is not a date (yyyy.MM.dd) for field " + f.name);
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", d->year, d->month, d->day);
        return std::make_unique<BytesCompare>(f, std::string(buf, 8), op, false);
    }

    static std::string upperText(const std::string& s) {
        std::string u;
        for (char c : s) u += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return u;
    }

    std::string_view m_text;
    const TableHeader& m_header;
    FilterOptions m_options;
    const std::string& m_file;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
    static constexpr int kMaxNesting = 100;
};

}  // namespace

std::unique_ptr<RecordPredicate> compileFilter(std::string_view expression, const TableHeader& header,
                                               const FilterOptions& options, const std::string& file) {
    return Parser(expression, header, options, file).parse();
}

std::unique_ptr<RecordPredicate> makeFieldEquals(const TableHeader& header, int field, std::string_view valueUtf8,
                                                 bool caseInsensitive, bool prefix, const std::string& file) {
    const FieldInfo& f = header.fields.at(static_cast<size_t>(field));
    if (f.logical == FieldType::Character)
        return std::make_unique<TextCompare>(f, fromUtf8(header.codePage(), valueUtf8), Op::Eq, prefix, caseInsensitive,
                                             header.codePage());
    // Other types: compare the stored bytes the value would produce.
    std::vector<uint8_t> record(header.recordLength, ' ');
    try {
        codec::writeText(f, record.data(), valueUtf8, header.codePage());
    } catch (const DbError& e) {
        fail(file, DbErrorKind::Invalid, e.what());
    }
    if (f.logical == FieldType::Float || f.logical == FieldType::Integer || f.logical == FieldType::Short) {
        const auto v = codec::readFloat(f, record.data());
        return std::make_unique<NumberCompare>(f, v.value_or(0.0), Op::Eq);
    }
    FieldInfo shifted = f;
    return std::make_unique<BytesCompare>(
        shifted, std::string(reinterpret_cast<const char*>(record.data() + f.offset), size_t(f.length)), Op::Eq, false);
}

std::unique_ptr<RecordPredicate> makeAll(std::vector<std::unique_ptr<RecordPredicate>> parts) {
    return std::make_unique<AndNode>(std::move(parts));
}

}  // namespace dbase
