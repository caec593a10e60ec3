// Fuzzes the table header reader: any bytes give a header that describes a consistent record
// layout, or a DbError. A header that was read is written back and read again unchanged.

#include <cstdint>
#include <vector>

#include "MemoryFileSystem.h"
#include "dbase/DbError.h"
#include "dbase/Schema.h"

using dbase::TableHeader;

namespace {

void checkLayout(const TableHeader& h, size_t bytes, uint64_t fileSize) {
    if (h.fields.empty()) fuzz::finding("a header without fields was accepted");
    if (h.headerLength > bytes || h.headerLength > fileSize)
        fuzz::finding("the header length lies past the bytes read");
    if (h.dataEnd() > fileSize) fuzz::finding("the records lie past the end of the file");
    int expected = 1;
    for (const auto& f : h.fields) {
        if (f.length < 1 || f.offset != expected) fuzz::finding("field " + f.name + " has a broken offset or length");
        expected += f.length;
    }
    if (expected != h.recordLength) fuzz::finding("the fields do not fill the record");
    (void)h.hasMemo();
    (void)h.memoIsDBase4();
    (void)h.codePage();
}

void checkRoundTrip(const TableHeader& h) {
    const std::vector<uint8_t> bytes = h.serialize();
    if (bytes.size() != h.headerLength) fuzz::finding("the written header has the wrong length");
    TableHeader again;
    try {
        again = TableHeader::parse("T.DBF", bytes, h.dataEnd());
    } catch (const dbase::DbError& e) {
        fuzz::finding(std::string("a header that was read does not read back after writing: ") + e.what());
    }
    if (again.version != h.version || again.level != h.level || again.recordCount != h.recordCount ||
        again.recordLength != h.recordLength || again.languageId != h.languageId || again.indexFlag != h.indexFlag ||
        again.driverName != h.driverName || again.fields.size() != h.fields.size())
        fuzz::finding("the header changed on writing and reading it back");
    for (size_t i = 0; i < h.fields.size(); ++i) {
        const auto& a = h.fields[i];
        const auto& b = again.fields[i];
        if (a.name != b.name || a.physical != b.physical || a.length != b.length || a.decimals != b.decimals ||
            a.offset != b.offset || a.logical != b.logical || a.hasTag != b.hasTag)
            fuzz::finding("field " + a.name + " changed on writing and reading the header back (now " + b.name + ")");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    // The reader sees the whole file here; the file size also bounds the record count.
    for (const uint64_t fileSize : {uint64_t(size), uint64_t(size) + uint64_t(0xFFFF'FFFFu) * 3}) {
        TableHeader h;
        try {
            h = TableHeader::parse("T.DBF", bytes, fileSize);
        } catch (const dbase::DbError&) {
            continue;
        }
        checkLayout(h, size, fileSize);
        checkRoundTrip(h);
    }
    return 0;
}
