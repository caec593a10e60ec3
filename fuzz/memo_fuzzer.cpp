// Fuzzes the memo reader and writer: a fixed valid table whose memo file is the input.
// Input layout: byte 0 holds flags, bytes 1-8 four 16-bit block numbers (little-endian) that
// extra records point at, the rest is the .dbt file.
//   flags bit 0: dBASE III table and memo layout (else level 7 / dBASE IV layout)
//   flags bit 1: also write memos (replace the first record's memo, append one)
//   flags bits 2-3: size of the replacing memo; bits 4-5: size of the appended one
// Reading must give text or a DbError and never write. Written memos must read back, also
// after the other write and after reopening.

#include <cstdint>
#include <string>
#include <vector>

#include "MemoryFileSystem.h"
#include "Samples.h"
#include "dbase/DbError.h"
#include "dbase/FieldCodec.h"
#include "dbase/Table.h"

using dbase::DbError;
using dbase::Table;
using dbase::TableHeader;
using dbase::TableLevel;
using fuzz::finding;
using fuzz::tolerate;

namespace {

constexpr size_t kPrefix = 9;
const std::string kDbf = fuzz::pathOf("T.DBF");

// The sample table with one more record per block number, each a copy of the first record
// pointing at that block.
std::vector<uint8_t> tableWithBlocks(TableLevel level, const uint32_t (&blocks)[4]) {
    std::vector<uint8_t> dbf = fuzz::sampleTable(level).dbf;
    TableHeader h = TableHeader::parse(kDbf, dbf, dbf.size());
    const dbase::FieldInfo* note = nullptr;
    for (const auto& f : h.fields)
        if (f.name == "NOTE") note = &f;
    dbf.resize(h.dataEnd());
    const std::vector<uint8_t> first(dbf.begin() + h.headerLength, dbf.begin() + h.headerLength + h.recordLength);
    for (const uint32_t block : blocks) {
        std::vector<uint8_t> rec = first;
        dbase::codec::writeMemoBlock(*note, rec.data(), block);
        dbf.insert(dbf.end(), rec.begin(), rec.end());
    }
    dbf.push_back(0x1A);
    const uint32_t count = h.recordCount + 4;
    for (int i = 0; i < 4; ++i) dbf[4 + i] = uint8_t(count >> (8 * i));
    return dbf;
}

std::string memoText(unsigned sizeCode, char fill) {
    static const size_t kSizes[] = {0, 5, 600, 1500};
    std::string s(kSizes[sizeCode & 3], fill);
    for (size_t i = 0; i < s.size(); i += 97) s[i] = '\n';
    return s;
}

std::string readMemo(Table& t, uint32_t rec, int note, const char* what) {
    if (!t.gotoBookmark({rec})) finding(std::string(what) + ": record " + std::to_string(rec) + " is gone");
    try {
        return t.asMemo(note);
    } catch (const DbError& e) {
        finding(std::string(what) + ": the memo just written does not read: " + e.what());
    }
}

void expectMemo(Table& t, uint32_t rec, int note, const std::string& text, const char* what) {
    const std::string now = readMemo(t, rec, note, what);
    if (now != text)
        finding(std::string(what) + ": record " + std::to_string(rec) + " reads a memo of " +
                std::to_string(now.size()) + " bytes instead of the " + std::to_string(text.size()) + " written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kPrefix) return 0;
    const uint8_t flags = data[0];
    uint32_t blocks[4];
    for (int i = 0; i < 4; ++i) blocks[i] = uint32_t(data[1 + 2 * i] | data[2 + 2 * i] << 8);
    const TableLevel level = (flags & 1) ? TableLevel::DBase3 : TableLevel::DBase7;

    fuzz::MemoryFileSystem fs;
    fs.put(kDbf, tableWithBlocks(level, blocks));
    fs.put(fuzz::pathOf("T.dbt"), data + kPrefix, size - kPrefix);

    fs.forbidWrites(true, "only reading memos");
    Table t(fuzz::kFolder, "T.DBF", fs);
    if (!tolerate([&] { t.open(); })) return 0;
    const int note = t.fieldNumber("NOTE");
    const uint32_t count = t.header().recordCount;
    for (uint32_t r = 1; r <= count; ++r)
        if (t.gotoBookmark({r})) {
            tolerate([&] { (void)t.asMemo(note); });
            tolerate([&] { (void)t.isNull(note); });
        }
    if (!(flags & 2)) return 0;
    fs.forbidWrites(false);

    // Replace the first record's memo (which gives its old blocks back), then append one.
    const std::string replacing = memoText(flags >> 2, 'r');
    const std::string appended = memoText(flags >> 4, 'a');
    if (!tolerate([&] {
            t.gotoBookmark({1});
            t.edit();
            t.setMemo(note, replacing);
            t.post();
        }))
        return 0;
    expectMemo(t, 1, note, replacing, "after replacing a memo");
    uint32_t added = 0;
    if (!tolerate([&] {
            t.append();
            t.setInteger("ID", 99);
            t.setMemo(note, appended);
            t.post();
            added = t.recNo();
        }))
        return 0;
    expectMemo(t, added, note, appended, "after appending a memo");
    expectMemo(t, 1, note, replacing, "after appending a second memo");
    t.close();
    if (!tolerate([&] { t.open(); })) finding("the table does not open after writing memos");
    expectMemo(t, 1, note, replacing, "after reopening");
    expectMemo(t, added, note, appended, "after reopening");
    return 0;
}
