// Fuzzes the filter parser: the input is a filter expression compiled against the sample
// table's fields and tested on its records and on records of odd bytes. An input starting
// with a byte below 8 takes it as options: bit 0 ignores case, bit 1 switches prefix
// matching off, bit 2 uses the dBASE III table. A filter that compiles is also set on the
// opened table, whose filtered walk and count must agree with the predicate.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "MemoryFileSystem.h"
#include "Samples.h"
#include "dbase/DbError.h"
#include "dbase/Filter.h"
#include "dbase/Table.h"

using dbase::DbError;
using dbase::Table;
using dbase::TableHeader;
using dbase::TableLevel;
using fuzz::finding;
using fuzz::tolerate;

namespace {

const std::string kDbf = fuzz::pathOf("T.DBF");

struct Fixture {
    TableHeader header;
    std::vector<std::vector<uint8_t>> stored;  // the table's records, deleted ones too
    std::vector<std::vector<uint8_t>> odd;     // bytes no writer made
};

Fixture makeFixture(TableLevel level) {
    Fixture fx;
    const auto& dbf = fuzz::sampleTable(level).dbf;
    fx.header = TableHeader::parse(kDbf, dbf, dbf.size());
    const size_t len = fx.header.recordLength;
    for (uint32_t r = 0; r < fx.header.recordCount; ++r) {
        const auto at = dbf.begin() + long(fx.header.headerLength + r * len);
        fx.stored.emplace_back(at, at + long(len));
    }
    for (const uint8_t fill : {uint8_t(0x00), uint8_t(0xFF), uint8_t('9'), uint8_t(' '), uint8_t('*'), uint8_t('-')})
        fx.odd.emplace_back(len, fill);
    std::vector<uint8_t> mixed(len);
    for (size_t i = 0; i < len; ++i) mixed[i] = uint8_t(i * 37 + 11);
    fx.odd.push_back(mixed);
    return fx;
}

const Fixture& fixture(TableLevel level) {
    static const Fixture level7 = makeFixture(TableLevel::DBase7);
    static const Fixture level3 = makeFixture(TableLevel::DBase3);
    return level == TableLevel::DBase7 ? level7 : level3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    uint8_t options = 0;
    if (!text.empty() && uint8_t(text[0]) < 8) {
        options = uint8_t(text[0]);
        text.remove_prefix(1);
    }
    const TableLevel level = (options & 4) ? TableLevel::DBase3 : TableLevel::DBase7;
    const Fixture& fx = fixture(level);
    const dbase::FilterOptions filterOptions{.caseInsensitive = (options & 1) != 0,
                                             .noPrefixMatching = (options & 2) != 0};

    std::unique_ptr<dbase::RecordPredicate> predicate;
    try {
        predicate = dbase::compileFilter(text, fx.header, filterOptions, kDbf);
    } catch (const DbError&) {
        return 0;
    }
    if (!predicate) finding("compileFilter returned no predicate");
    uint32_t matching = 0;
    for (const auto& rec : fx.stored)
        if (predicate->test(rec.data()) && rec[0] != '*') ++matching;
    for (const auto& rec : fx.odd) (void)predicate->test(rec.data());

    // The same filter on the opened table.
    fuzz::MemoryFileSystem fs;
    fs.put(kDbf, fuzz::sampleTable(level).dbf);
    fs.put(fuzz::pathOf("T.dbt"), fuzz::sampleTable(level).dbt);
    fs.forbidWrites(true, "filtering a table");
    Table t(fuzz::kFolder, "T.DBF", fs);
    t.open();
    t.setFilterOptions(filterOptions);
    try {
        t.setFilter(std::string(text));
    } catch (const DbError& e) {
        finding(std::string("a filter that compiled is refused by the table: ") + e.what());
    }
    t.setFiltered(true);
    uint32_t walked = 0;
    t.first();
    if (!t.isEmpty()) {
        do {
            if (++walked > fx.header.recordCount) finding("the filtered walk does not end");
            fuzz::readAllFields(t);
            t.next();
        } while (!t.eof());
    }
    const uint32_t counted = t.recordCount();
    if (walked != matching || counted != matching)
        finding("the filter matches " + std::to_string(matching) + " records, the table walks " +
                std::to_string(walked) + " and counts " + std::to_string(counted));
    return 0;
}
