#pragma once
// Keys of production index tags (docs/dbase-format.md, section 3.5, and docs/index-keys.md).
//  - Character fields: the stored code-page bytes, blank-padded to the key length.
//  - Numbers (N, F, I, O): 12 bytes of decimal floating point.
//  - Dates: the Julian Day Number as a little-endian double; date-times add the time of day
//    as a fraction of the day. A blank date keys as 0.
// Besides the stored form every key has a sort form: bytes whose plain byte order is the key
// order, so the tree compares keys with memcmp however they are stored.

#include <cstdint>
#include <string>
#include <string_view>

#include "Collation.h"
#include "Schema.h"

namespace dbase {

enum class KeyType : char { Character = 'C', Numeric = 'N', Date = 'D' };

struct KeyShape {
    KeyType type = KeyType::Character;
    int length = 0;  // stored key length

    static KeyShape forField(const FieldInfo& field);
};

inline constexpr int kMaxCharacterKey = 100;

// The stored key of a field in a record.
std::string storedKey(const FieldInfo& field, const KeyShape& shape, const uint8_t* record);
// The sort form of a stored key.
std::string sortKeyOf(const KeyShape& shape, std::string_view stored, const Collation& collation);
// The sort form of a value given as text (UTF-8 for character keys, a number, a date
// "2008.03.15"), for seeks; a character value shorter than the key seeks its prefix.
// Throws DbError when the text is no value of the key's type.
std::string sortKeyOfText(const KeyShape& shape, std::string_view text, CodePage cp, const Collation& collation,
                          bool caseInsensitive);

// Decimal floating-point keys.
std::string encodeBcd(double value);
double decodeBcd(std::string_view bytes);

}  // namespace dbase
