#pragma once
// Sample tables built by the engine in memory, shared by the fuzz targets and the seed
// corpus generator, and helpers to read every field of a record.

#include <cstdint>
#include <string>
#include <vector>

#include "MemoryFileSystem.h"
#include "dbase/Schema.h"
#include "dbase/Table.h"

namespace fuzz {

struct SampleTable {
    std::vector<uint8_t> dbf;
    std::vector<uint8_t> dbt;
};

// A table named T of the given level with a field of every type the level has and three
// records: two full ones (the second marked deleted, with a memo over two blocks) and one
// with empty fields. Built once per level.
const SampleTable& sampleTable(dbase::TableLevel level);

// The same table's memo file after one memo was replaced by a longer one, so that its
// free-block chain is not empty (dBASE IV layout).
const std::vector<uint8_t>& sampleMemoWithFreeChain();

// Reads the current record through every accessor that fits each field. Returns false when
// any of them reported a fault (a damaged value); other exceptions pass through. With the
// record's stored bytes, values that hit a reported reader fault are not read as text.
bool readAllFields(const dbase::Table& table, const uint8_t* stored = nullptr);

// Runs f and returns false instead of letting a DbError out.
template <typename F>
bool tolerate(F&& f) {
    try {
        f();
        return true;
    } catch (const dbase::DbError&) {
        return false;
    }
}

}  // namespace fuzz
