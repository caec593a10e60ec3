#pragma once
// The .dbt memo file of a table (formats/dbase.md, section 2).
//  - dBASE IV / level 7 layout: block size from header bytes 20-21, used blocks start with
//    FF FF 08 00 and a length that counts those 8 bytes. Freed runs are kept in the free-block
//    chain that starts at header bytes 0-3 and are reused first-fit.
//  - dBASE III layout: 512-byte blocks, text ended by 1A 1A, space never reused (every write
//    appends at the next free block).
// Reads check every block number and length against the file, so a damaged pointer or a
// looping chain gives an error, never a wild read or an endless loop.

#include <cstdint>
#include <memory>
#include <string>

#include "File.h"

namespace dbase {

class MemoFile {
public:
    MemoFile(std::unique_ptr<File> file, bool dbase4Layout);

    // Writes the header of a new, empty memo file for a table of the given base name.
    static void initialise(File& file, bool dbase4Layout, const std::string& baseName);

    // The memo bytes stored from block; throws DbError on a damaged block.
    std::string read(uint32_t block);
    // Stores bytes in a new place and returns its first block (0 for empty text).
    uint32_t write(const std::string& bytes);
    // Gives the blocks of a memo back for reuse (dBASE IV layout; no-op for dBASE III).
    void release(uint32_t block);
    // Clears every memo (used when a table is emptied).
    void clear(const std::string& baseName);
    void sync() { m_file->sync(); }
    File& file() { return *m_file; }

private:
    struct FreeRun {
        uint32_t block;
        uint32_t count;
        uint32_t next;
    };

    void loadHeader();
    uint32_t endBlock();
    uint32_t blocksFor(size_t bytes) const;
    uint32_t allocate(uint32_t count);
    FreeRun readFreeRun(uint32_t block);
    void setHead(uint32_t block);
    std::string readDBase3(uint32_t block);

    std::unique_ptr<File> m_file;
    bool m_dbase4;
    uint32_t m_blockSize = 512;
    uint32_t m_head = 0;
};

}  // namespace dbase
