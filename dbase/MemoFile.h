#pragma once
// The .dbt memo file of a table (docs/dbase-format.md, section 2).
//  - dBASE IV / level 7 layout: block size from header bytes 20-21, used blocks start with
//    FF FF 08 00 and a length that counts those 8 bytes. Header bytes 0-3 always name the end
//    of the file, because other writers append every memo there. Freed runs are kept in a free
//    list of this engine's own: its head at header bytes 24-27 (with the mark "KVFL" at 28-31),
//    each run marked "KVFB" at bytes 8-11 of its first block. Runs are reused first-fit; a list
//    that does not hold together is dropped (its space is lost, no memo is overwritten).
//  - dBASE III layout: 512-byte blocks, text ended by 1A 1A, space never reused (every write
//    appends at the next free block).
// Reads check every block number and length against the file, so a damaged pointer or a
// looping chain gives an error, never a wild read or an endless loop.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
    // The number of blocks the memo at block covers; throws DbError when it is damaged.
    uint32_t extent(uint32_t block);
    // The free runs (first block, count) as far as the free list holds together.
    std::vector<std::pair<uint32_t, uint32_t>> freeRuns();
    // Clears every memo (used when a table is emptied).
    void clear(const std::string& baseName);
    // Header bytes 0-3 as the file holds them now: where other writers put the next memo.
    uint32_t nextFreeBlock();
    // The first block past the end of the file.
    uint32_t endBlock();
    // Puts the header's next free block at the end of the file (a reindex's repair of a header
    // that names an end past it).
    void setNextFreeToEnd() { setEnd(endBlock()); }
    void sync() { m_file->sync(); }
    File& file() { return *m_file; }

private:
    struct FreeRun {
        uint32_t block;
        uint32_t count;
        uint32_t next;
        bool marked;
    };

    void loadHeader();
    void requireWhole();
    uint32_t blocksFor(size_t bytes) const;
    uint32_t allocate(uint32_t count);
    FreeRun readFreeRun(uint32_t block);
    void setEnd(uint32_t block);
    void setFreeHead(uint32_t block);
    std::string readDBase3(uint32_t block);

    std::unique_ptr<File> m_file;
    bool m_dbase4;
    uint32_t m_blockSize = 512;
    uint32_t m_next = 0;      // header bytes 0-3
    uint32_t m_freeHead = 0;  // this engine's free list, 0 for none
};

}  // namespace dbase
