#include "Csv.h"

#include <stdexcept>

namespace kavina::dbtool {

std::optional<std::vector<std::string>> readCsvRecord(std::istream& in) {
    if (in.peek() == std::char_traits<char>::eof()) return std::nullopt;
    std::vector<std::string> fields(1);
    bool quoted = false;
    bool afterQuote = false;
    for (int ch = in.get(); ch != std::char_traits<char>::eof(); ch = in.get()) {
        const char c = static_cast<char>(ch);
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
                continue;
            }
            if (in.peek() == '"') {
                fields.back() += '"';
                in.get();
                continue;
            }
            quoted = false;
            afterQuote = true;
            continue;
        }
        if (c == ',') {
            fields.emplace_back();
            afterQuote = false;
            continue;
        }
        if (c == '\r' && in.peek() == '\n') continue;
        if (c == '\n') return fields;
        if (c == '"' && fields.back().empty() && !afterQuote) {
            quoted = true;
            continue;
        }
        fields.back() += c;
    }
    if (quoted) throw std::runtime_error("a quoted CSV field is not closed");
    return fields;
}

std::string csvField(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace kavina::dbtool
