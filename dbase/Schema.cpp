#include "Schema.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <set>

#include "DbError.h"

namespace dbase {
namespace {

constexpr uint8_t kWin1250DriverId = 0xC8;
// Level-7 readers take the code page from the driver name alone ("DB" + code page digits);
// this is the name other level-7 writers give Windows-1250 tables.
constexpr const char* kWin1250DriverName = "DB1250CZ0";
constexpr size_t kDescriptor3 = 32;
constexpr size_t kDescriptor7 = 48;
constexpr size_t kFieldsStart3 = 32;
constexpr size_t kFieldsStart7 = 68;

uint16_t get16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

FieldType logicalFor(char physical, int length, int decimals) {
    switch (physical) {
        case 'C': return FieldType::Character;
        case 'L': return FieldType::Logical;
        case 'D': return FieldType::Date;
        case '@': return FieldType::DateTime;
        case 'I':
        case '+': return FieldType::Integer;
        case 'O': return FieldType::Float;
        case 'M':
        case 'B':
        case 'G': return FieldType::Memo;
        default:  // N and F
            if (decimals == 0 && length <= 6) return FieldType::Short;
            if (decimals == 0 && length <= 11) return FieldType::Integer;
            return FieldType::Float;
    }
}

// Checks a stored length against its type; returns the fault or empty.
std::string lengthFault(char type, int length, int decimals) {
    const auto bad = [&] { return "field of type " + std::string(1, type) + " has width " + std::to_string(length); };
    switch (type) {
        case 'C': return length >= 1 ? "" : bad();
        case 'N':
        case 'F':
            if (length < 1 || length > 20) return bad();
            return decimals < length ? "" : "field has more decimals than width";
        case 'L': return length == 1 ? "" : bad();
        case 'D': return length == 8 ? "" : bad();
        case 'M':
        case 'B':
        case 'G': return length == 10 || length == 4 ? "" : bad();
        case 'I':
        case '+': return length == 4 ? "" : bad();
        case 'O':
        case '@': return length == 8 ? "" : bad();
        default: return "unknown field type '" + std::string(1, type) + "'";
    }
}

std::string readName(const uint8_t* p, size_t max) {
    size_t n = 0;
    while (n < max && p[n] != 0) ++n;
    std::string name(reinterpret_cast<const char*>(p), n);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

bool validName(const std::string& name) {
    if (name.empty()) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || c == '_';
    });
}

TableLevel levelOf(uint8_t version) {
    if ((version & 0x07) == 4) return TableLevel::DBase7;
    return version == 0x83 ? TableLevel::DBase3 : (version == 0x8B ? TableLevel::DBase4 : TableLevel::DBase3);
}

FieldInfo physicalFor(const std::string& file, const FieldDef& def, TableLevel level) {
    FieldInfo f;
    f.name = def.name;
    f.logical = def.type;
    const bool level7 = level == TableLevel::DBase7;
    switch (def.type) {
        case FieldType::Character:
            if (def.width < 1 || def.width > 254)
                fail(file, DbErrorKind::Invalid, "field " + def.name + ": width must be 1-254");
            f.physical = 'C';
            f.length = def.width;
            break;
        case FieldType::Integer:
            if (level7) {
                f.physical = 'I';
                f.length = 4;
            } else {
                f.physical = 'N';
                f.length = 11;
            }
            break;
        case FieldType::Short:
            f.physical = 'N';
            f.length = 6;
            break;
        case FieldType::Float:
            if (level7) {
                f.physical = 'O';
                f.length = 8;
                break;
            }
            f.physical = level == TableLevel::DBase4 ? 'F' : 'N';
            // dBASE III numbers have at most 19 digits; dBASE IV floats 20.
            f.length = def.width > 0 ? def.width : (level == TableLevel::DBase3 ? 19 : 20);
            f.decimals = def.width > 0 ? def.decimals : 6;
            if (f.length > (level == TableLevel::DBase3 ? 19 : 20) || f.decimals < 0 || f.decimals >= f.length)
                fail(file, DbErrorKind::Invalid,
                     "field " + def.name + ": float width must be 1-19 (dBASE III) or 1-20 with fewer decimals");
            if (f.decimals == 0 && f.length <= 11)
                fail(file, DbErrorKind::Invalid, "field " + def.name + ": a float needs decimals or a width over 11");
            break;
        case FieldType::Logical:
            f.physical = 'L';
            f.length = 1;
            break;
        case FieldType::Date:
            f.physical = 'D';
            f.length = 8;
            break;
        case FieldType::DateTime:
            if (!level7)
                fail(file, DbErrorKind::Invalid, "field " + def.name + ": date-time fields need a level 7 table");
            f.physical = '@';
            f.length = 8;
            break;
        case FieldType::Memo:
            f.physical = 'M';
            f.length = 10;
            break;
    }
    return f;
}

}  // namespace

char typeLetter(FieldType type) {
    static const char kLetters[] = "CISFLDTM";
    return kLetters[static_cast<int>(type)];
}

std::optional<FieldType> typeFromLetter(char letter) {
    static const char kLetters[] = "CISFLDTM";
    const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (int i = 0; i < 8; ++i)
        if (kLetters[i] == u) return static_cast<FieldType>(i);
    return std::nullopt;
}

bool TableHeader::hasMemo() const {
    return std::any_of(fields.begin(), fields.end(), [](const FieldInfo& f) { return f.logical == FieldType::Memo; });
}

TableHeader TableHeader::parse(const std::string& file, const std::vector<uint8_t>& bytes, uint64_t fileSize) {
    if (bytes.size() < 32) fail(file, DbErrorKind::Damaged, "the header is truncated");
    const uint8_t* p = bytes.data();
    TableHeader h;
    h.version = p[0];
    static const uint8_t kKnown[] = {0x03, 0x83, 0x8B, 0x04, 0x8C};
    if (std::find(std::begin(kKnown), std::end(kKnown), h.version) == std::end(kKnown))
        fail(file, DbErrorKind::Damaged, "not a dBASE table (version byte " + std::to_string(h.version) + ")");
    h.level = levelOf(h.version);
    h.updateYear = p[1];
    h.updateMonth = p[2];
    h.updateDay = p[3];
    h.recordCount = get32(p + 4);
    h.headerLength = get16(p + 8);
    h.recordLength = get16(p + 10);
    h.indexFlag = p[28];
    h.languageId = p[29];
    const bool level7 = h.level == TableLevel::DBase7;
    const size_t start = level7 ? kFieldsStart7 : kFieldsStart3;
    const size_t size = level7 ? kDescriptor7 : kDescriptor3;
    if (h.headerLength < start + 1 || h.headerLength > bytes.size() || h.headerLength > fileSize)
        fail(file, DbErrorKind::Damaged, "the header is truncated or its length is damaged");
    if (level7) h.driverName = readName(p + 32, 32);
    if (h.version == 0x03 && h.languageId != 0) h.level = TableLevel::DBase4;

    std::set<std::string> seen;
    size_t pos = start;
    int offset = 1;
    while (true) {
        if (pos >= h.headerLength) fail(file, DbErrorKind::Damaged, "the field list has no terminator");
        if (p[pos] == 0x0D) break;
        if (pos + size > h.headerLength) fail(file, DbErrorKind::Damaged, "the field list is truncated");
        const uint8_t* d = p + pos;
        FieldInfo f;
        f.name = readName(d, level7 ? 32 : 11);
        f.physical = static_cast<char>(level7 ? d[32] : d[11]);
        f.length = level7 ? d[33] : d[16];
        f.decimals = level7 ? d[34] : d[17];
        // dBASE III stores character widths over 255 in the decimal byte.
        if (f.physical == 'C' && !level7 && f.decimals > 0) {
            f.length += 256 * f.decimals;
            f.decimals = 0;
        }
        f.hasTag = (level7 ? d[37] : d[31]) != 0;
        if (!validName(f.name))
            fail(file, DbErrorKind::Damaged, "field " + std::to_string(h.fields.size() + 1) + " has an invalid name");
        if (!seen.insert(upper(f.name)).second)
            fail(file, DbErrorKind::Damaged, "field " + f.name + " is defined twice");
        if (const std::string fault = lengthFault(f.physical, f.length, f.decimals); !fault.empty())
            fail(file, DbErrorKind::Damaged, "field " + f.name + ": " + fault);
        f.logical = logicalFor(f.physical, f.length, f.decimals);
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(f);
        pos += size;
    }
    if (h.fields.empty()) fail(file, DbErrorKind::Damaged, "the table has no fields");
    if (offset != h.recordLength)
        fail(file, DbErrorKind::Damaged,
             "the record length " + std::to_string(h.recordLength) + " does not match the fields (" +
                 std::to_string(offset) + ")");
    if (h.dataEnd() > fileSize)
        fail(file, DbErrorKind::Damaged,
             "the record count " + std::to_string(h.recordCount) + " goes beyond the end of the file");
    // Padding after the field list (or level 7's field properties) is allowed, so a header
    // length a few bytes too large still parses; then the first record, when the caller read
    // it, must begin with a deletion flag, or every record would be read shifted.
    if (h.headerLength > pos + 1 && h.recordCount > 0 && bytes.size() > h.headerLength &&
        bytes[h.headerLength] != ' ' && bytes[h.headerLength] != '*')
        fail(file, DbErrorKind::Damaged,
             "the header length " + std::to_string(h.headerLength) +
                 " is damaged: the first record does not begin where it says");
    h.stored.assign(bytes.begin(), bytes.begin() + h.headerLength);
    return h;
}

TableHeader TableHeader::build(const std::string& file, const std::vector<FieldDef>& defs, TableLevel level) {
    if (defs.empty()) fail(file, DbErrorKind::Invalid, "a table needs at least one field");
    TableHeader h;
    h.level = level;
    h.languageId = kWin1250DriverId;
    if (level == TableLevel::DBase7) h.driverName = kWin1250DriverName;
    std::set<std::string> seen;
    int offset = 1;
    for (const FieldDef& def : defs) {
        const size_t maxName = level == TableLevel::DBase7 ? 31 : 10;
        if (!validName(def.name) || def.name.size() > maxName)
            fail(file, DbErrorKind::Invalid, "invalid field name '" + def.name + "'");
        if (!seen.insert(upper(def.name)).second)
            fail(file, DbErrorKind::Invalid, "field " + def.name + " is defined twice");
        FieldInfo f = physicalFor(file, def, level);
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(f);
    }
    if (offset > 0xFFFF) fail(file, DbErrorKind::Invalid, "the record is longer than 65 535 bytes");
    h.recordLength = static_cast<uint16_t>(offset);
    const bool memo = h.hasMemo();
    switch (level) {
        case TableLevel::DBase7: h.version = memo ? 0x8C : 0x04; break;
        case TableLevel::DBase4: h.version = memo ? 0x8B : 0x03; break;
        case TableLevel::DBase3:
            h.version = memo ? 0x83 : 0x03;
            h.languageId = 0;
            break;
    }
    const size_t start = level == TableLevel::DBase7 ? kFieldsStart7 : kFieldsStart3;
    const size_t size = level == TableLevel::DBase7 ? kDescriptor7 : kDescriptor3;
    h.headerLength = static_cast<uint16_t>(start + size * defs.size() + 1);
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    h.updateYear = static_cast<uint8_t>(tm.tm_year);
    h.updateMonth = static_cast<uint8_t>(tm.tm_mon + 1);
    h.updateDay = static_cast<uint8_t>(tm.tm_mday);
    return h;
}

std::vector<uint8_t> TableHeader::serialize() const {
    std::vector<uint8_t> out = stored.size() == headerLength ? stored : std::vector<uint8_t>(headerLength, 0);
    uint8_t* p = out.data();
    p[0] = version;
    p[1] = updateYear;
    p[2] = updateMonth;
    p[3] = updateDay;
    put32(p + 4, recordCount);
    put16(p + 8, headerLength);
    put16(p + 10, recordLength);
    p[28] = indexFlag;
    p[29] = languageId;
    const bool level7 = level == TableLevel::DBase7;
    if (level7) std::memcpy(p + 32, driverName.data(), std::min<size_t>(driverName.size(), 32));
    size_t pos = level7 ? kFieldsStart7 : kFieldsStart3;
    for (const FieldInfo& f : fields) {
        uint8_t* d = p + pos;
        std::memcpy(d, f.name.data(), std::min<size_t>(f.name.size(), level7 ? 32 : 11));
        if (level7) {
            d[32] = static_cast<uint8_t>(f.physical);
            d[33] = static_cast<uint8_t>(f.length);
            d[34] = static_cast<uint8_t>(f.decimals);
            d[37] = f.hasTag ? 1 : 0;
        } else {
            d[11] = static_cast<uint8_t>(f.physical);
            d[16] = static_cast<uint8_t>(f.length & 0xFF);
            d[17] = static_cast<uint8_t>(f.physical == 'C' ? f.length >> 8 : f.decimals);
            d[31] = f.hasTag ? 1 : 0;
        }
        pos += level7 ? kDescriptor7 : kDescriptor3;
    }
    p[pos] = 0x0D;
    return out;
}

}  // namespace dbase
