#pragma once
// Conversion between UTF-8 (the engine's API) and the single-byte code page of a table's
// character and memo data. Characters the code page lacks become '?'.

#include <cstdint>
#include <string>
#include <string_view>

namespace dbase {

enum class CodePage { Win1250, Dos852 };

// Decodes code-page bytes to UTF-8.
std::string toUtf8(CodePage cp, std::string_view raw);

// Encodes UTF-8 to code-page bytes, keeping at most maxChars characters, so a cut never
// splits a character. Invalid UTF-8 bytes are taken as Windows-1250 bytes of an older writer.
std::string fromUtf8(CodePage cp, std::string_view utf8, size_t maxChars = std::string::npos);

// The code page a header's language driver id or level-7 driver name implies.
CodePage codePageForDriver(uint8_t driverId, std::string_view driverName);

}  // namespace dbase
