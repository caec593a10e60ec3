// Fuzzes the record reader: the input is a table file, opened with a fixed valid memo file.
// Walking it forward and backward, counting it and reading every field of every record must
// give values or DbErrors, never write a byte, and agree on how many records there are. A
// table read without a single fault then takes an appended record and an unchanged edit,
// and must read back what was written.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "MemoryFileSystem.h"
#include "Samples.h"
#include "dbase/DbError.h"
#include "dbase/Table.h"

using dbase::DbError;
using dbase::FieldType;
using dbase::Table;
using dbase::TableLevel;
using fuzz::finding;
using fuzz::tolerate;

namespace {

const std::string kDbf = fuzz::pathOf("T.DBF");

struct Walk {
    bool clean = true;
    uint32_t forward = 0;
    uint32_t backward = 0;
    uint32_t counted = 0;
};

const fuzz::MemoryFileSystem* g_fs = nullptr;

// The stored bytes of the current record, or null when the file is too short for it.
const uint8_t* storedRecord(const Table& t) {
    const auto& file = g_fs->get(kDbf);
    const uint64_t at = t.header().headerLength + uint64_t(t.recNo() - 1) * t.header().recordLength;
    return t.recNo() && at + t.header().recordLength <= file.size() ? file.data() + at : nullptr;
}

bool readAll(const Table& t) {
    return fuzz::readAllFields(t, storedRecord(t));
}

Walk walk(Table& t) {
    Walk w;
    const uint32_t limit = t.header().recordCount + 1;
    t.first();
    if (!t.isEmpty()) {
        do {
            if (++w.forward > limit) finding("next() keeps going past the last record");
            w.clean &= readAll(t);
            t.next();
        } while (!t.eof());
    }
    t.last();
    if (!t.isEmpty()) {
        do {
            if (++w.backward > limit) finding("prior() keeps going past the first record");
            w.clean &= readAll(t);
            t.prior();
        } while (!t.bof());
    }
    w.counted = t.recordCount();
    const uint32_t stored = t.header().recordCount;
    for (const uint32_t r : {0u, 1u, stored / 2, stored, stored + 1, 0xFFFF'FFFFu})
        if (t.gotoBookmark({r})) w.clean &= readAll(t);
    t.refresh();
    if (!t.isEmpty()) w.clean &= readAll(t);
    if (!t.fields().empty() && !t.isEmpty()) {
        std::string value;
        // Reported: locating a number given as "*..." reads an empty optional.
        if (tolerate([&] { value = t.asString(0); }) &&
            !(t.fields()[0].physical != 'C' && value.find('*') != std::string::npos))
            tolerate([&] { t.locate({{t.fields()[0].name, value}}, {.caseInsensitive = true, .partialKey = true}); });
    }
    return w;
}

void setSomething(Table& t, int f) {
    switch (t.fields()[size_t(f)].logical) {
        case FieldType::Character: t.setString(f, "Fuzz \xC5\x91"); break;
        case FieldType::Integer:
        case FieldType::Short: t.setInteger(f, 7); break;
        case FieldType::Float: t.setFloat(f, 1.5); break;
        case FieldType::Logical: t.setLogical(f, true); break;
        case FieldType::Date: t.setString(f, "2008.03.15"); break;
        case FieldType::DateTime: t.setString(f, "2008.03.15 10:15:00"); break;
        case FieldType::Memo: t.setMemo(f, "appended memo"); break;
    }
}

std::vector<std::optional<std::string>> texts(const Table& t) {
    std::vector<std::optional<std::string>> out(t.fields().size());
    for (size_t i = 0; i < out.size(); ++i) {
        std::string s;
        if (tolerate([&] { s = t.asString(int(i)); })) out[i] = s;
    }
    return out;
}

void reopen(Table& t, const char* after) {
    t.close();
    try {
        t.open();
    } catch (const DbError& e) {
        finding(std::string("a table read without faults does not open after ") + after + ": " + e.what());
    }
}

void checkSame(Table& t, const std::vector<std::optional<std::string>>& expected, const char* what) {
    for (size_t i = 0; i < expected.size(); ++i) {
        if (!expected[i]) continue;
        std::string now;
        try {
            now = t.asString(int(i));
        } catch (const DbError& e) {
            finding(std::string(what) + ": field " + t.fields()[i].name + " no longer reads: " + e.what());
        }
        if (now != *expected[i])
            finding(std::string(what) + ": field " + t.fields()[i].name + " reads '" + now + "', was '" + *expected[i] +
                    "'");
    }
}

void appendAndEdit(Table& t, fuzz::MemoryFileSystem& fs) {
    // An edit that changes nothing writes the record's own bytes back.
    t.first();
    if (!t.isEmpty()) {
        const uint32_t rec = t.recNo();
        const uint64_t at = t.header().headerLength + uint64_t(rec - 1) * t.header().recordLength;
        const auto& file = fs.get(kDbf);
        const std::vector<uint8_t> before(file.begin() + long(at), file.begin() + long(at + t.header().recordLength));
        if (!tolerate([&] {
                t.edit();
                t.post();
            }))
            return;
        const auto& after = fs.get(kDbf);
        if (after.size() < at + before.size() || !std::equal(before.begin(), before.end(), after.begin() + long(at)))
            finding("an edit without changes altered record " + std::to_string(rec));
    }

    t.append();
    for (size_t i = 0; i < t.fields().size(); ++i) tolerate([&] { setSomething(t, int(i)); });
    try {
        t.post();
    } catch (const DbError&) {
        return;
    }
    const uint32_t rec = t.recNo();
    const auto expected = texts(t);
    reopen(t, "an append");
    if (!t.gotoBookmark({rec})) finding("the appended record " + std::to_string(rec) + " is not there after reopening");
    checkSame(t, expected, "after an append and reopening");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryFileSystem fs;
    fs.put(kDbf, data, size);
    g_fs = &fs;
    bool dbase4Memo = true;
    tolerate([&] { dbase4Memo = dbase::TableHeader::parse(kDbf, fs.get(kDbf), size).memoIsDBase4(); });
    fs.put(fuzz::pathOf("T.dbt"), fuzz::sampleTable(dbase4Memo ? TableLevel::DBase7 : TableLevel::DBase3).dbt);
    fs.put(fuzz::pathOf("T.mdx"), {});

    fs.forbidWrites(true, "only reading the table");
    Table t(fuzz::kFolder, "T.DBF", fs);
    if (!tolerate([&] { t.open(); })) return 0;
    Walk w;
    if (!tolerate([&] { w = walk(t); })) return 0;
    if (w.forward != w.backward || w.forward != w.counted)
        finding("the table has " + std::to_string(w.forward) + " records forward, " + std::to_string(w.backward) +
                " backward and counts " + std::to_string(w.counted));
    if (!w.clean) return 0;

    fs.forbidWrites(false);
    appendAndEdit(t, fs);
    return 0;
}
