#include "CodePage.h"

#include <array>
#include <vector>

#include "CodePageTables.h"

namespace dbase {
namespace {

const char16_t* upperHalf(CodePage cp) {
    return cp == CodePage::Dos852 ? detail::kDos852Upper : detail::kWin1250Upper;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reverse table: Unicode code point to byte (0 when the code page lacks it). Every character
// of both code pages lies below U+2600.
class Encoder {
public:
    static constexpr char32_t kLimit = 0x2600;
    explicit Encoder(CodePage cp) : m_bytes(kLimit, 0) {
        const char16_t* upper = upperHalf(cp);
        for (int i = 0; i < 128; ++i)
            if (upper[i] != 0xFFFD && upper[i] < kLimit) m_bytes[upper[i]] = static_cast<unsigned char>(0x80 + i);
    }
    int encode(char32_t c) const {
        if (c < 0x80) return static_cast<int>(c);
        if (c >= kLimit || m_bytes[c] == 0) return -1;
        return m_bytes[c];
    }

private:
    std::vector<unsigned char> m_bytes;
};

const Encoder& encoderFor(CodePage cp) {
    static const Encoder win(CodePage::Win1250);
    static const Encoder dos(CodePage::Dos852);
    return cp == CodePage::Dos852 ? dos : win;
}

size_t asciiPrefix(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    return i;
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when invalid.
size_t decodeUtf8(std::string_view text, size_t i, char32_t& out) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > text.size()) return 0;
    char32_t c = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    out = c;
    return len;
}

}  // namespace

std::string toUtf8(CodePage cp, std::string_view raw) {
    const size_t ascii = asciiPrefix(raw);
    if (ascii == raw.size()) return std::string(raw);
    const char16_t* upper = upperHalf(cp);
    std::string out;
    out.reserve(raw.size() * 2);
    out.append(raw.data(), ascii);
    for (char ch : raw.substr(ascii)) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else {
            const char16_t c = upper[b - 0x80];
            appendUtf8(out, c == 0xFFFD ? U'?' : c);
        }
    }
    return out;
}

std::string fromUtf8(CodePage cp, std::string_view utf8, size_t maxChars) {
    const size_t ascii = std::min(asciiPrefix(utf8), maxChars);
    if (ascii == utf8.size()) return std::string(utf8);
    const Encoder& enc = encoderFor(cp);
    std::string out;
    out.reserve(std::min(utf8.size(), maxChars));
    out.append(utf8.data(), ascii);
    for (size_t i = ascii; i < utf8.size() && out.size() < maxChars;) {
        char32_t c = 0;
        const size_t len = decodeUtf8(utf8, i, c);
        if (len == 0) {
            // Not UTF-8: a byte of an older Windows-1250 text passes through unchanged.
            const auto b = static_cast<unsigned char>(utf8[i]);
            const char16_t w = detail::kWin1250Upper[b - 0x80];
            const int mapped = (b >= 0x80 && w != 0xFFFD) ? enc.encode(w) : -1;
            out += static_cast<char>(mapped < 0 ? '?' : mapped);
            ++i;
            continue;
        }
        const int byte = enc.encode(c);
        out += static_cast<char>(byte < 0 ? '?' : byte);
        i += len;
    }
    return out;
}

CodePage codePageForDriver(uint8_t driverId, std::string_view driverName) {
    if (driverName.substr(0, 5) == "DB852") return CodePage::Dos852;
    switch (driverId) {
        case 0x22:
        case 0x1F:
        case 0x23:
        case 0x87:
        case 0x64: return CodePage::Dos852;
        default: return CodePage::Win1250;
    }
}

}  // namespace dbase
