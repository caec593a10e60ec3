#pragma once
// Reading and writing one field's bytes inside a record buffer (docs/dbase-format.md, section 1.6).
// Every function takes the field descriptor and the whole record; errors name the field.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Date.h"
#include "Schema.h"

namespace dbase::codec {

bool isNull(const FieldInfo& f, const uint8_t* record);
void setNull(const FieldInfo& f, uint8_t* record);

// Raw text of a field (code-page bytes of C with trailing blanks removed).
std::string_view rawText(const FieldInfo& f, const uint8_t* record);

std::optional<int64_t> readInteger(const FieldInfo& f, const uint8_t* record);
std::optional<double> readFloat(const FieldInfo& f, const uint8_t* record);
std::optional<bool> readLogical(const FieldInfo& f, const uint8_t* record);
std::optional<Date> readDate(const FieldInfo& f, const uint8_t* record);
std::optional<DateTime> readDateTime(const FieldInfo& f, const uint8_t* record);
// The memo block number, 0 when the field holds no memo.
uint32_t readMemoBlock(const FieldInfo& f, const uint8_t* record);

// Text of any non-memo field as the program shows it: numbers in the shortest form that
// reads back to the same value, dates "2008.03.15", logicals "T"/"F", empty for null.
std::string readAsText(const FieldInfo& f, const uint8_t* record, CodePage cp);

void writeText(const FieldInfo& f, uint8_t* record, std::string_view utf8, CodePage cp);
void writeInteger(const FieldInfo& f, uint8_t* record, int64_t value);
void writeFloat(const FieldInfo& f, uint8_t* record, double value);
void writeLogical(const FieldInfo& f, uint8_t* record, bool value);
void writeDate(const FieldInfo& f, uint8_t* record, const Date& value);
void writeDateTime(const FieldInfo& f, uint8_t* record, const DateTime& value);
void writeMemoBlock(const FieldInfo& f, uint8_t* record, uint32_t block);

// Formats a double in the shortest text that reads back bit for bit.
std::string shortestText(double value);

// Byte encodings of the level-7 binary types, exposed for the filter's fast paths.
double decodeDouble(const uint8_t* p);
double decodeTimestamp(const uint8_t* p);
double timestampOf(const DateTime& value);

}  // namespace dbase::codec
