#pragma once
// Byte-range lock positions (docs/dbase-format.md, section 4) and the guards that take them.
//  - Header and append: the bytes 0xEFFFFFFE and 0xEFFFFFFF together, compatible with the
//    engines that use either byte.
//  - Record n: one byte at 0xEFFFFFFE - n.
//  - Memo file: 0xEFFFFFFE.
//  - Open mode (private to this engine, outside every dBASE range): one byte at 0xF0000000,
//    held shared by shared handles and exclusively by an exclusive handle while open.

#include <cstdint>
#include <string>

#include "File.h"

namespace dbase::locks {

inline constexpr uint64_t kHeaderLockOffset = 0xEFFF'FFFEULL;
inline constexpr uint64_t kHeaderLockLength = 2;
inline constexpr uint64_t kMemoLockOffset = 0xEFFF'FFFEULL;
inline constexpr uint64_t kMemoLockLength = 1;
inline constexpr uint64_t kOpenLockOffset = 0xF000'0000ULL;

inline uint64_t recordLockOffset(uint32_t recNo) {
    return 0xEFFF'FFFEULL - recNo;
}

// Takes the open-mode lock; false when another handle's mode conflicts.
bool tryOpenLock(File& file, bool exclusive);

// Waits a short, bounded time for a lock another handle holds briefly.
bool lockWithWait(File& file, uint64_t offset, uint64_t length, LockKind kind);

// Holds an exclusive lock for its lifetime; throws "Table is busy." naming the table when the
// lock stays taken past the bounded wait.
class Guard {
public:
    Guard(File& file, uint64_t offset, uint64_t length, const std::string& tablePath);
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    File& m_file;
    uint64_t m_offset;
    uint64_t m_length;
};

}  // namespace dbase::locks
