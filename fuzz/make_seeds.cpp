// Writes the seed corpora of the fuzz targets into the folder given as the argument:
// <folder>/header, record, memo and filter. Run it again after changing the samples.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MemoryFileSystem.h"
#include "Samples.h"
#include "dbase/MemoFile.h"

namespace fs = std::filesystem;
using dbase::TableLevel;

namespace {

void save(const fs::path& file, const std::vector<uint8_t>& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<uint8_t> bytesOf(const std::string& s) {
    return {s.begin(), s.end()};
}

// A memo file written through the engine; dBASE IV layout with the given block size, or
// dBASE III layout when blockSize is 0. The first four bytes of the result are the blocks of
// the memos it holds (as the memo target's block numbers).
std::vector<uint8_t> memoSeed(unsigned blockSize, uint8_t flags) {
    fuzz::MemoryFileSystem mfs;
    const std::string path = fuzz::pathOf("T.dbt");
    const bool dbase4 = blockSize != 0;
    {
        auto file = mfs.open(path, dbase::OpenMode::Create);
        dbase::MemoFile::initialise(*file, dbase4, "T");
        if (dbase4) {
            // A small block size keeps the seed small; the header needs only its first block.
            file->truncate(blockSize);
            const uint8_t size[2] = {uint8_t(blockSize), uint8_t(blockSize >> 8)};
            file->write(20, size, 2);
        }
    }
    dbase::MemoFile memo(mfs.open(path, dbase::OpenMode::ReadWrite), dbase4);
    std::vector<uint32_t> blocks;
    blocks.push_back(memo.write("first memo"));
    blocks.push_back(memo.write(std::string(100, 'm') + "\r\nend"));
    blocks.push_back(memo.write("third"));
    if (dbase4) memo.release(blocks[1]);  // leaves a free run in the chain
    std::vector<uint8_t> out = {flags};
    for (int i = 0; i < 4; ++i) {
        const uint32_t b = i < int(blocks.size()) ? blocks[size_t(i)] : 0;
        out.push_back(uint8_t(b));
        out.push_back(uint8_t(b >> 8));
    }
    const auto& dbt = mfs.get(path);
    out.insert(out.end(), dbt.begin(), dbt.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    save(root / "header" / "level3.dbf", fuzz::sampleTable(TableLevel::DBase3).dbf);
    save(root / "header" / "level7.dbf", fuzz::sampleTable(TableLevel::DBase7).dbf);
    save(root / "record" / "level3.dbf", fuzz::sampleTable(TableLevel::DBase3).dbf);
    save(root / "record" / "level4.dbf", fuzz::sampleTable(TableLevel::DBase4).dbf);
    save(root / "record" / "level7.dbf", fuzz::sampleTable(TableLevel::DBase7).dbf);

    save(root / "memo" / "dbase4-read", memoSeed(64, 0x00));
    save(root / "memo" / "dbase4-write", memoSeed(64, 0x02 | 0x04 | 0x20));
    save(root / "memo" / "dbase3-write", memoSeed(0, 0x01 | 0x02 | 0x08 | 0x10));

    const char* filters[] = {
        "NAME = 'Alfa'",
        "PRICE > 1 AND NOT PAID",
        "DUE >= '2008.03.15' OR NAME = 'B*'",
        "\x01name <> \"b\"\"x\" and (qty < 0 or id = 3)",
        "STAMP < '2008.03.15 10:15' OR STAMP = ''",
        "\x02PAID = 'T' OR DUE = '2008.*'",
        "\x04(PRICE <= 0.25 OR ID != 2) AND DUE = ''",
        "PAID = TRUE AND 3 < QTY",
    };
    int n = 0;
    for (const char* f : filters) save(root / "filter" / ("expr" + std::to_string(++n)), bytesOf(f));
    return 0;
}
