#include "Locks.h"

#include <chrono>
#include <thread>

#include "DbError.h"

namespace dbase::locks {
namespace {
constexpr auto kWaitLimit = std::chrono::seconds(2);
constexpr auto kRetryPause = std::chrono::milliseconds(2);
}  // namespace

bool tryOpenLock(File& file, bool exclusive) {
    return file.tryLock(kOpenLockOffset, 1, exclusive ? LockKind::Exclusive : LockKind::Shared);
}

bool lockWithWait(File& file, uint64_t offset, uint64_t length, LockKind kind) {
    const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
    while (!file.tryLock(offset, length, kind)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kRetryPause);
    }
    return true;
}

Guard::Guard(File& file, uint64_t offset, uint64_t length, const std::string& tablePath)
    : m_file(file), m_offset(offset), m_length(length) {
    if (!lockWithWait(file, offset, length, LockKind::Exclusive)) fail(tablePath, errtext::kTableBusy);
}

Guard::~Guard() {
    m_file.unlock(m_offset, m_length);
}

}  // namespace dbase::locks
