#include "Samples.h"

#include <map>
#include <string_view>

using dbase::FieldType;
using dbase::Table;
using dbase::TableLevel;

namespace fuzz {
namespace {

SampleTable build(TableLevel level, bool replaceMemo = false) {
    const bool level7 = level == TableLevel::DBase7;
    MemoryFileSystem fs;
    std::vector<dbase::FieldDef> defs = {
        {"ID", FieldType::Integer},
        {"NAME", FieldType::Character, 20},
        {"PRICE", FieldType::Float, level7 ? 0 : 12, level7 ? 0 : 2},
        {"QTY", FieldType::Short},
        {"PAID", FieldType::Logical},
        {"DUE", FieldType::Date},
        {"NOTE", FieldType::Memo},
    };
    if (level7) defs.push_back({"STAMP", FieldType::DateTime});
    Table::create(kFolder, "T.DBF", defs, level, fs);
    Table t(kFolder, "T.DBF", fs);
    t.open();

    t.append();
    t.setInteger("ID", 1);
    t.setString("NAME", "Alfa");
    t.setFloat("PRICE", 12.5);
    t.setInteger("QTY", 3);
    t.setLogical("PAID", true);
    t.setString("DUE", "2008.03.15");
    t.setMemo("NOTE", "first memo");
    if (level7) t.setString("STAMP", "2008.03.15 10:15:00");
    t.post();

    t.append();
    t.setInteger("ID", 2);
    t.setString("NAME", "B\xC3\xA9ta Kft.");
    t.setFloat("PRICE", 0.25);
    t.setInteger("QTY", -2);
    t.setLogical("PAID", false);
    t.setString("DUE", "1999.12.31");
    std::string longText;
    for (int i = 0; longText.size() < 700; ++i) longText += "line " + std::to_string(i) + "\r\n";
    t.setMemo("NOTE", longText);
    if (level7) t.setString("STAMP", "1999.12.31 23:59:59");
    t.post();
    t.deleteRecord();

    t.append();
    t.setInteger("ID", 3);
    t.setMemo("NOTE", "third");
    t.post();

    if (replaceMemo) {
        t.first();
        t.edit();
        t.setMemo("NOTE", std::string(1200, 'x'));
        t.post();
    }
    t.close();
    return {fs.get(pathOf("T.DBF")), fs.get(pathOf("T.dbt"))};
}

}  // namespace

const SampleTable& sampleTable(TableLevel level) {
    static std::map<TableLevel, SampleTable> cache;
    auto it = cache.find(level);
    if (it == cache.end()) it = cache.emplace(level, build(level)).first;
    return it->second;
}

const std::vector<uint8_t>& sampleMemoWithFreeChain() {
    static const std::vector<uint8_t> bytes = build(TableLevel::DBase7, true).dbt;
    return bytes;
}

bool readAllFields(const Table& table, const uint8_t* /*stored*/) {
    bool clean = true;
    const auto& fields = table.fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const int f = static_cast<int>(i);
        clean &= tolerate([&] { (void)table.isNull(f); });
        clean &= tolerate([&] { (void)table.asString(f); });
        switch (fields[i].logical) {
            case FieldType::Character: break;
            case FieldType::Integer:
            case FieldType::Short: clean &= tolerate([&] { (void)table.asInteger(f); }); break;
            case FieldType::Float: clean &= tolerate([&] { (void)table.asFloat(f); }); break;
            case FieldType::Logical: clean &= tolerate([&] { (void)table.asLogical(f); }); break;
            case FieldType::Date: clean &= tolerate([&] { (void)table.asDate(f); }); break;
            case FieldType::DateTime: clean &= tolerate([&] { (void)table.asDateTime(f); }); break;
            case FieldType::Memo: clean &= tolerate([&] { (void)table.asMemo(f); }); break;
        }
    }
    return clean;
}

}  // namespace fuzz
