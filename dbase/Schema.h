#pragma once
// Field definitions and the table header (docs/dbase-format.md, sections 1.1-1.4).
//
// Logical types are those the program's tables use; each is stored in a physical dBASE type
// that round-trips it and that other dBASE readers understand:
//   level 7:    C->C  I->I  S->N(6,0)  F->O  L->L  D->D  T->@  M->M
//   levels 3/4: C->C  I->N(11,0)  S->N(6,0)  F->N/F(width,dec)  L->L  D->D  M->M  (no T)

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CodePage.h"

namespace dbase {

enum class FieldType { Character, Integer, Short, Float, Logical, Date, DateTime, Memo };

char typeLetter(FieldType type);
std::optional<FieldType> typeFromLetter(char letter);

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Character;
    int width = 0;     // characters of C; digits of F at levels 3 and 4 (0 = default)
    int decimals = 0;  // decimals of F at levels 3 and 4
};

enum class TableLevel { DBase3 = 3, DBase4 = 4, DBase7 = 7 };

struct FieldInfo {
    std::string name;     // as stored; lookups ignore case
    char physical = 'C';  // stored type letter: C N F L D M I O @ + B G
    int length = 0;
    int decimals = 0;
    int offset = 0;  // within the record, counting the deletion flag at 0
    FieldType logical = FieldType::Character;
    bool hasTag = false;  // production index flag of the descriptor
};

struct TableHeader {
    uint8_t version = 0x04;
    TableLevel level = TableLevel::DBase7;
    uint8_t updateYear = 0, updateMonth = 1, updateDay = 1;
    uint32_t recordCount = 0;
    uint16_t headerLength = 0;
    uint16_t recordLength = 0;
    uint8_t indexFlag = 0;   // byte 28
    uint8_t languageId = 0;  // byte 29
    std::string driverName;  // level 7 only
    std::vector<FieldInfo> fields;
    // The header as read from the file: bytes this engine does not interpret (level 7's
    // autoincrement counters and field properties, reserved bytes other software uses) are
    // written back unchanged when the header is rewritten.
    std::vector<uint8_t> stored;

    bool hasMemo() const;
    // dBASE IV block layout (else dBASE III).
    bool memoIsDBase4() const { return (version & 0x08) != 0 || level == TableLevel::DBase7; }
    CodePage codePage() const { return codePageForDriver(languageId, driverName); }
    uint64_t dataEnd() const { return headerLength + uint64_t(recordCount) * recordLength; }

    // Parses and checks the header bytes (at least the stored header length) of a table file
    // of fileSize bytes. Throws DbError naming file and fault.
    static TableHeader parse(const std::string& file, const std::vector<uint8_t>& bytes, uint64_t fileSize);
    // The header of a new table.
    static TableHeader build(const std::string& file, const std::vector<FieldDef>& defs, TableLevel level);
    std::vector<uint8_t> serialize() const;
};

// Offsets of the header fields other processes change.
inline constexpr uint64_t kHeaderDateOffset = 1;
inline constexpr uint64_t kHeaderCountOffset = 4;
inline constexpr uint64_t kHeaderIndexFlagOffset = 28;
inline constexpr size_t kMinHeaderRead = 68;

}  // namespace dbase
