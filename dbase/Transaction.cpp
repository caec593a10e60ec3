#include "Transaction.h"

#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "DbError.h"
#include "MdxFile.h"

namespace dbase {

// ---- the folder's state in this process -----------------------------------------------------

class FolderState {
public:
    // The changes a running transaction holds for one file, as non-overlapping byte runs.
    struct Shadow {
        std::map<uint64_t, std::string> runs;
        uint64_t end = 0;
        uint64_t first = 0;  // the ticker at the file's first held write: commit writes files in this order
        uint64_t last = 0;   // the ticker at its latest held write
        void put(uint64_t offset, const char* data, size_t size);
        void release();  // gives the runs' buffers back for later saves
        void patch(uint64_t offset, char* buffer, size_t size) const;
        bool overlaps(uint64_t offset, size_t size) const {
            auto it = runs.lower_bound(offset + size);
            if (it == runs.begin()) return false;
            --it;
            return it->first + it->second.size() > offset;
        }
        bool covers(uint64_t offset, size_t size) const {
            auto it = runs.upper_bound(offset);
            if (it == runs.begin()) return false;
            --it;
            return it->first <= offset && it->first + it->second.size() >= offset + size;
        }
    };
    struct HeldLock {
        File* file;
        const std::string* name;  // the file's path, interned: see nameOf
        uint64_t offset;
        uint64_t length;
    };
    // One string per path for the life of the process, so that the locks and changes of a
    // file are told apart by address rather than by comparing paths at every read.
    std::set<std::string> names;
    const std::string* nameOf(const std::string& path) {
        const std::lock_guard<std::mutex> guard(openMutex);
        return &*names.insert(path).first;
    }

    std::string folder;
    // The thread whose transaction runs, none between transactions. Only that thread's files
    // take part in it: another thread of the process (a sender working in the background)
    // reads and writes the folder as another workstation would, never into the save's held
    // changes or locks.
    std::atomic<std::thread::id> owner{};
    bool runsHere() const { return owner.load() == std::this_thread::get_id(); }
    bool runsAnywhere() const { return owner.load() != std::thread::id(); }
    // Taken with the folder lock: the lock file's lock is shared by every thread of the
    // process, so threads queue here first.
    std::mutex folderMutex;
    std::atomic<uint64_t> epoch = 0;
    uint64_t ticker = 0;                    // raised when a transaction begins and at every held write
    uint64_t started = 0;                   // the ticker when the running transaction began
    std::map<std::string, Shadow> shadows;  // by path
    // Raised whenever a path is added to shadows, clean or sizes and when they are emptied:
    // until it changes, a file may keep the addresses of its entries (see FileEntries).
    uint64_t layout = 0;
    // Bytes known to be on disk, read or told while the transaction runs and before it
    // changed them: before-images that need no second read at commit. Bounded in size.
    std::map<std::string, Shadow> clean;  // by path
    size_t cleanBytes = 0;
    static constexpr size_t kCleanLimit = size_t(8) << 20;
    template <typename Entry>
    Entry& entryOf(std::map<std::string, Entry>& entries, const std::string& path) {
        auto [it, added] = entries.try_emplace(path);
        if (added) ++layout;
        return it->second;
    }
    void remember(const std::string& path, const Shadow* changed, uint64_t offset, const void* data, size_t size) {
        if (changed && changed->overlaps(offset, size)) return;
        if (cleanBytes + size > kCleanLimit) return;
        entryOf(clean, path).put(offset, static_cast<const char*>(data), size);
        cleanBytes += size;
    }
    // File lengths told by handles while the transaction runs, before it wrote to the file:
    // exact, or a length the file has at least. Spare the commit asking for each.
    struct KnownSize {
        uint64_t size = 0;
        bool exact = false;
    };
    std::map<std::string, KnownSize> sizes;  // by path
    bool journalExists = false;              // as the transaction found it when it began
    // kavina.jnl of the real file system, kept open between transactions while the folder
    // still names this very file (a rollback elsewhere may have set a damaged one aside).
    std::unique_ptr<File> journalFile;
    FileIdentity journalIdentity;
    std::string journalBuffer;
    std::vector<HeldLock> held;              // released when the transaction ends
    std::multimap<std::string, File*> open;  // the open table files of this process, by path
    std::mutex openMutex;                    // guards open and names: files open on every thread
    File* openFile(const std::string& path) {
        const std::lock_guard<std::mutex> guard(openMutex);
        const auto it = open.find(path);
        return it == open.end() ? nullptr : it->second;
    }
    std::unique_ptr<File> lockFile;  // kavina.lck, kept open between transactions
    FileSystem* lockFileSystem = nullptr;

    void releaseLocks() {
        // One unlock per file, over the span of everything it took in the transaction.
        std::map<File*, std::pair<uint64_t, uint64_t>> spans;
        for (const HeldLock& lock : held) {
            auto [it, fresh] = spans.insert({lock.file, {lock.offset, lock.offset + lock.length}});
            if (!fresh)
                it->second = {std::min(it->second.first, lock.offset),
                              std::max(it->second.second, lock.offset + lock.length)};
        }
        for (const auto& [file, span] : spans) file->unlock(span.first, span.second - span.first);
        held.clear();
    }
    void forget(File* file) {
        held.erase(std::remove_if(held.begin(), held.end(), [&](const HeldLock& l) { return l.file == file; }),
                   held.end());
    }
    // A handle's file is closed: its locks are forgotten and commits no longer write through it.
    void close(File* file) {
        if (runsHere()) forget(file);  // another thread's file never took part
        const std::lock_guard<std::mutex> guard(openMutex);
        for (auto it = open.begin(); it != open.end(); ++it)
            if (it->second == file) {
                open.erase(it);
                break;
            }
    }
    // Files of handles closed while a transaction ran, kept open until it ended: closing a file
    // gives up the locks taken through it.
    std::vector<std::unique_ptr<File>> retired;
    void closeRetired() {
        for (const std::unique_ptr<File>& file : retired) close(file.get());
        retired.clear();
    }
};

namespace {

// Buffers of runs of earlier saves, kept with their room: a save holds some sixty runs, and
// taking fresh memory for each, save after save, costs more than the copying. Only the thread
// of a transaction holds runs, so each thread keeps its own.
class SpareBuffers {
public:
    std::string take() {
        if (m_spare.empty()) return {};
        std::string buffer = std::move(m_spare.back());
        m_spare.pop_back();
        m_room -= buffer.capacity();
        return buffer;
    }
    void give(std::string&& buffer) {
        if (m_spare.size() >= kMostBuffers || m_room + buffer.capacity() > kMostRoom) return;
        buffer.clear();
        m_room += buffer.capacity();
        m_spare.push_back(std::move(buffer));
    }

private:
    static constexpr size_t kMostBuffers = 256;
    static constexpr size_t kMostRoom = size_t(4) << 20;
    std::vector<std::string> m_spare;
    size_t m_room = 0;
};

SpareBuffers& spareBuffers() {
    thread_local SpareBuffers buffers;
    return buffers;
}

}  // namespace

void FolderState::Shadow::release() {
    for (auto& [offset, bytes] : runs) spareBuffers().give(std::move(bytes));
    runs.clear();
}

void FolderState::Shadow::put(uint64_t offset, const char* data, size_t size) {
    // The common case, a write inside or at the end of one run (records appended one by one,
    // a node rewritten), changes that run in place.
    auto at = runs.upper_bound(offset);
    if (at != runs.begin()) {
        auto run = std::prev(at);
        const uint64_t runEnd = run->first + run->second.size();
        if (offset <= runEnd && (at == runs.end() || offset + size < at->first)) {
            if (offset + size > runEnd) run->second.resize(size_t(offset + size - run->first));
            std::memcpy(run->second.data() + (offset - run->first), data, size);
            end = std::max(end, offset + size);
            return;
        }
    }
    uint64_t start = offset;
    uint64_t stop = offset + size;
    auto it = runs.upper_bound(offset);
    if (it != runs.begin()) {
        auto before = std::prev(it);
        if (before->first + before->second.size() >= offset) it = before;
    }
    auto last = it;
    while (last != runs.end() && last->first <= stop) {
        start = std::min(start, last->first);
        stop = std::max(stop, last->first + last->second.size());
        ++last;
    }
    std::string merged = spareBuffers().take();
    merged.resize(size_t(stop - start));
    for (auto k = it; k != last; ++k) {
        std::memcpy(merged.data() + (k->first - start), k->second.data(), k->second.size());
        spareBuffers().give(std::move(k->second));
    }
    std::memcpy(merged.data() + (offset - start), data, size);
    runs.erase(it, last);
    runs.emplace(start, std::move(merged));
    end = std::max(end, stop);
}

void FolderState::Shadow::patch(uint64_t offset, char* buffer, size_t size) const {
    auto it = runs.upper_bound(offset);
    if (it != runs.begin()) --it;
    for (; it != runs.end() && it->first < offset + size; ++it) {
        const uint64_t from = std::max(offset, it->first);
        const uint64_t to = std::min(offset + size, it->first + it->second.size());
        if (from < to) std::memcpy(buffer + (from - offset), it->second.data() + (from - it->first), size_t(to - from));
    }
}

namespace {

std::string canonicalFolder(const std::string& folder) {
    char* resolved = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
    if (!resolved) return folder;
    std::string out(resolved);
    ::free(resolved);
    return out;
}

// ---- a table's file taking part in transactions -------------------------------------------

class ParticipatingFile final : public File {
public:
    ParticipatingFile(std::unique_ptr<File> inner, std::shared_ptr<FolderState> state)
        : m_inner(std::move(inner)), m_state(std::move(state)) {
        const std::lock_guard<std::mutex> guard(m_state->openMutex);
        m_state->open.insert({m_inner->path(), m_inner.get()});
    }
    ~ParticipatingFile() override {
        if (m_state->runsHere()) {
            // Its locks and changes belong to the running save: the file stays open, and
            // locked, until the save ends.
            m_state->retired.push_back(std::move(m_inner));
            return;
        }
        m_state->close(m_inner.get());
    }

    size_t read(uint64_t offset, void* buffer, size_t size) override {
        const FolderState::Shadow* shadow = shadowOf();
        if (!shadow) {
            const size_t got = m_inner->read(offset, buffer, size);
            if (m_state->runsHere()) {
                // Read under a lock of the transaction: the bytes stay what the disk holds.
                if (holdsLock()) m_state->remember(path(), nullptr, offset, buffer, got);
                sawLength(offset + got);
            }
            return got;
        }
        // Served from the held changes alone when they cover the range.
        if (shadow->covers(offset, size)) {
            shadow->patch(offset, static_cast<char*>(buffer), size);
            return size;
        }
        const size_t got = m_inner->read(offset, buffer, size);
        if (holdsLock()) m_state->remember(path(), shadow, offset, buffer, got);
        sawLength(offset + got);
        // A short read ends where the file ends; held changes may reach further.
        const uint64_t logical = got < size ? std::max<uint64_t>(offset + got, shadow->end) : offset + size;
        const size_t wanted = offset >= logical ? 0 : size_t(std::min<uint64_t>(size, logical - offset));
        if (wanted > got) std::memset(static_cast<char*>(buffer) + got, 0, wanted - got);
        shadow->patch(offset, static_cast<char*>(buffer), wanted);
        return wanted;
    }

    void write(uint64_t offset, const void* data, size_t size) override {
        if (!m_state->runsHere()) return m_inner->write(offset, data, size);
        FolderState::Shadow& shadow = entries().shadow ? *entries().shadow : m_state->entryOf(m_state->shadows, path());
        if (shadow.first == 0) shadow.first = ++m_state->ticker;
        shadow.last = ++m_state->ticker;
        shadow.put(offset, static_cast<const char*>(data), size);
    }

    uint64_t size() override {
        const FolderState::Shadow* shadow = shadowOf();
        return shadow ? std::max(m_inner->size(), shadow->end) : m_inner->size();
    }

    void truncate(uint64_t size) override {
        if (m_state->runsHere()) fail(path(), "a file cannot be cut short inside a transaction");
        m_inner->truncate(size);
    }

    void sync() override {
        if (!m_state->runsHere()) m_inner->sync();  // a transaction syncs when it commits
    }

    bool tryLock(uint64_t offset, uint64_t length, LockKind kind) override {
        if (!m_state->runsHere()) return m_inner->tryLock(offset, length, kind);
        // A lock another handle of this transaction holds on the same file is ours too, for the
        // bytes it covers: a wider range is asked for, and conflicts with it as with any other.
        for (const auto& lock : m_state->held)
            if (lock.name == m_name && lock.offset <= offset && offset + length <= lock.offset + lock.length)
                return true;
        if (!m_inner->tryLock(offset, length, kind)) return false;
        m_state->held.push_back({m_inner.get(), m_name, offset, length});
        return true;
    }

    void unlock(uint64_t offset, uint64_t length) override {
        if (!m_state->runsHere()) return m_inner->unlock(offset, length);
        // Held until the transaction ends; recorded in case it was taken before it began.
        for (const auto& lock : m_state->held)
            if (lock.file == m_inner.get() && lock.offset == offset && lock.length == length) return;
        m_state->held.push_back({m_inner.get(), m_name, offset, length});
    }

    void knownContent(uint64_t offset, const void* data, size_t size) override {
        if (m_state->runsHere()) m_state->remember(path(), shadowOf(), offset, data, size);
    }
    void knownSize(uint64_t size, bool exact) override {
        if (!m_state->runsHere() || (exact && shadowOf())) return;  // the length before the transaction wrote
        FolderState::KnownSize& known = knownSizeEntry();
        if (exact)
            known = {size, true};
        else if (!known.exact)
            known.size = std::max(known.size, size);
    }
    uint64_t rollbackCount() const override { return m_state->epoch; }

    const std::string& path() const override { return m_inner->path(); }
    bool inTransaction() const override { return m_state->runsHere(); }
    bool heldByTransaction(uint64_t offset, uint64_t length) const override {
        if (!m_state->runsHere()) return false;
        for (const auto& lock : m_state->held)
            if (lock.name == m_name && lock.offset <= offset && offset + length <= lock.offset + lock.length)
                return true;
        return false;
    }
    uint64_t transactionMark() const override {
        const FolderState::Shadow* shadow = shadowOf();
        return shadow ? std::max(m_state->started, shadow->last) : m_state->runsHere() ? m_state->started : 0;
    }

private:
    // A read from the disk proves the file that long, for the rest of the transaction: no file
    // of the folder is cut short while a transaction holds the folder lock and the file open.
    void sawLength(uint64_t length) {
        FolderState::KnownSize& known = knownSizeEntry();
        if (!known.exact) known.size = std::max(known.size, length);
    }
    bool holdsLock() const {
        for (const auto& lock : m_state->held)
            if (lock.name == m_name) return true;
        return false;
    }

    // This file's entries in the running transaction's maps (null where it has none), looked
    // up again only when the maps gained or lost a path: a save reads and writes its files
    // hundreds of times.
    struct FileEntries {
        uint64_t layout = ~uint64_t(0);
        FolderState::Shadow* shadow = nullptr;
        FolderState::KnownSize* size = nullptr;
    };
    const FileEntries& entries() const {
        if (m_entries.layout != m_state->layout) {
            const auto shadow = m_state->shadows.find(path());
            const auto size = m_state->sizes.find(path());
            m_entries = {m_state->layout, shadow == m_state->shadows.end() ? nullptr : &shadow->second,
                         size == m_state->sizes.end() ? nullptr : &size->second};
        }
        return m_entries;
    }
    FolderState::KnownSize& knownSizeEntry() {
        return entries().size ? *entries().size : m_state->entryOf(m_state->sizes, path());
    }
    const FolderState::Shadow* shadowOf() const { return m_state->runsHere() ? entries().shadow : nullptr; }

    std::unique_ptr<File> m_inner;
    std::shared_ptr<FolderState> m_state;
    const std::string* m_name = m_state->nameOf(m_inner->path());
    mutable FileEntries m_entries;
};

// ---- the journal ------------------------------------------------------------------------
//
// "KVJNL001", then entries, then the trailer. Entry: kind (1 before-image, 2 old length),
// name length (2), file name, offset (8), byte count (4), bytes (images only), CRC-32 of the
// entry up to here (4). Trailer: kind 0xFF, entry count (4), "KVJEND01".

constexpr char kMagic[8] = {'K', 'V', 'J', 'N', 'L', '0', '0', '1'};
constexpr char kEndMagic[8] = {'K', 'V', 'J', 'E', 'N', 'D', '0', '1'};
constexpr uint8_t kImage = 1;
constexpr uint8_t kLength = 2;
constexpr uint8_t kTrailer = 0xFF;
constexpr auto kFolderWait = std::chrono::seconds(30);
constexpr uint64_t kSpanGap = 32 * 1024;

// A checksum that finds a torn or cut journal entry (64-bit multiply-xor over words).
uint32_t crc32(std::string_view bytes) {
    uint64_t h = 0xCBF29CE484222325ULL ^ bytes.size();
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (h ^ word) * 0x100000001B3ULL;
        h ^= h >> 29;
    }
    for (; i < bytes.size(); ++i) h = (h ^ uint8_t(bytes[i])) * 0x100000001B3ULL;
    return uint32_t(h ^ (h >> 32));
}

void putInt(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char(uint8_t(v >> (8 * i)));
}

uint64_t getInt(const std::string& in, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(in[at + size_t(i)]);
    return v;
}

struct JournalEntry {
    uint8_t kind = 0;
    std::string name;
    uint64_t offset = 0;
    std::string bytes;   // images
    uint64_t count = 0;  // byte count of an image, or the old length
};

// Appends an entry to out; its image bytes (count of them) are filled by fill(where).
template <typename Fill>
void appendEntry(std::string& out, uint8_t kind, std::string_view name, uint64_t offset, size_t count, Fill fill) {
    const size_t start = out.size();
    out += char(kind);
    putInt(out, name.size(), 2);
    out += name;
    putInt(out, offset, 8);
    putInt(out, kind == kImage ? count : 0, 4);
    if (kind == kImage) {
        const size_t at = out.size();
        out.resize(at + count);
        fill(out.data() + at);
    }
    putInt(out, crc32(std::string_view(out).substr(start)), 4);
}

struct ParsedJournal {
    std::vector<JournalEntry> entries;
    bool complete = false;
    // Sound entries up to where the bytes end, without the trailer: the journal's own write
    // was cut short.
    bool tornTail = false;
};

ParsedJournal parseJournal(const std::string& bytes) {
    ParsedJournal out;
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kMagic, 8) != 0) return out;
    size_t at = 8;
    const auto torn = [&] {
        out.tornTail = true;
        return out;
    };
    while (at < bytes.size()) {
        const uint8_t kind = uint8_t(bytes[at]);
        if (kind == kTrailer) {
            if (at + 13 > bytes.size()) return torn();
            out.complete = at + 13 == bytes.size() && getInt(bytes, at + 1, 4) == out.entries.size() &&
                           std::memcmp(bytes.data() + at + 5, kEndMagic, 8) == 0;
            return out;
        }
        if (kind != kImage && kind != kLength) return out;
        if (at + 3 > bytes.size()) return torn();
        const size_t nameLength = size_t(getInt(bytes, at + 1, 2));
        const size_t head = 1 + 2 + nameLength + 8 + 4;
        if (at + head > bytes.size()) return torn();
        const size_t count = kind == kImage ? size_t(getInt(bytes, at + head - 4, 4)) : 0;
        if (at + head + count + 4 > bytes.size()) return torn();
        const std::string body = bytes.substr(at, head + count);
        if (crc32(body) != uint32_t(getInt(bytes, at + head + count, 4))) return out;
        JournalEntry e;
        e.kind = kind;
        e.name = body.substr(3, nameLength);
        e.offset = getInt(body, 3 + nameLength, 8);
        e.bytes = body.substr(head, count);
        if (e.name.empty() || e.name.find('/') != std::string::npos || e.name == "..") return out;
        out.entries.push_back(std::move(e));
        at += head + count + 4;
    }
    return torn();
}

bool isIndexFile(const std::string& name) {
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".mdx";
}

std::string readWhole(File& file) {
    std::string bytes(size_t(file.size()), '\0');
    bytes.resize(file.read(0, bytes.data(), bytes.size()));
    return bytes;
}

void lockFolder(FolderState& state, const std::string& folder, FileSystem& fs) {
    const auto deadline = std::chrono::steady_clock::now() + kFolderWait;
    while (!state.folderMutex.try_lock()) {
        if (std::chrono::steady_clock::now() >= deadline) fail(folder, errtext::kTableBusy);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    try {
        if (!state.lockFile || state.lockFileSystem != &fs) {
            state.lockFile = fs.open(joinPath(folder, kFolderLockName), OpenMode::OpenOrCreate);
            state.lockFileSystem = &fs;
        }
        while (!state.lockFile->tryLock(0, 1, LockKind::Exclusive)) {
            if (std::chrono::steady_clock::now() >= deadline) fail(folder, errtext::kTableBusy);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    } catch (...) {
        state.folderMutex.unlock();
        throw;
    }
}

void unlockFolder(FolderState& state) {
    if (state.lockFile) {
        state.lockFile->unlock(0, 1);
        // Only the real file system's lock file is kept open between transactions.
        if (state.lockFileSystem != &FileSystem::real()) {
            state.lockFile.reset();
            state.lockFileSystem = nullptr;
        }
    }
    state.folderMutex.unlock();
}

std::string damagedJournalName(const std::string& journalPath, int number) {
    return journalPath + ".damaged" + (number > 1 ? std::to_string(number) : std::string());
}

std::string freeDamagedJournalName(const std::string& journalPath, FileSystem& fs) {
    int number = 1;
    while (fs.exists(damagedJournalName(journalPath, number))) ++number;
    return damagedJournalName(journalPath, number);
}

// Whether a journal cut short is the trace of a save that died while writing it. Its data
// writes come only after the whole journal is written (and synced), so then every file still
// holds each before-image the journal got to and none is longer than its old length. A
// journal cut short after the save wrote its data (damaged later) fails this.
bool diedWritingJournal(const std::string& folder, FileSystem& fs, const ParsedJournal& journal) {
    if (journal.complete || !journal.tornTail) return false;
    for (const JournalEntry& e : journal.entries) {
        const std::string target = joinPath(folder, e.name);
        if (!fs.exists(target)) return false;
        const std::unique_ptr<File> file = fs.open(target, OpenMode::ReadOnly);
        if (e.kind == kLength) {
            if (file->size() > e.offset) return false;
            continue;
        }
        std::string now(e.bytes.size(), '\0');
        now.resize(file->read(e.offset, now.data(), now.size()));
        if (now != e.bytes) return false;
    }
    return true;
}

// Writes the journal's before-images back. Requires: the folder lock.
// journalLeft: whether a journal file is there afterwards (empty or not); knownSize: its size
// when the caller has just asked.
RecoveryReport rollBackJournal(const std::string& folder, FileSystem& fs, bool* journalLeft = nullptr,
                               const std::optional<uint64_t>* knownSize = nullptr) {
    RecoveryReport report;
    const std::string path = joinPath(folder, kJournalName);
    const std::optional<uint64_t> journalSize = knownSize ? *knownSize : fs.fileSize(path);
    if (journalLeft) *journalLeft = journalSize.has_value();
    if (journalSize.value_or(0) == 0) return report;
    const std::string bytes = readWhole(*fs.open(path, OpenMode::ReadOnly));
    if (bytes.empty()) return report;  // an empty journal is no journal: the file is kept for reuse
    const ParsedJournal journal = parseJournal(bytes);
    if (diedWritingJournal(folder, fs, journal)) {
        // The save died while writing its journal, before it wrote anything else: the tables
        // are as before it, and the journal is emptied like a finished one.
        fs.open(path, OpenMode::ReadWrite)->truncate(0);
        report.rolledBack = true;
        return report;
    }
    std::map<std::string, std::unique_ptr<File>> files;
    std::set<std::string> missing;
    auto fileFor = [&](const std::string& name) -> File* {
        if (missing.count(name)) return nullptr;
        auto& slot = files[name];
        if (!slot) {
            const std::string target = joinPath(folder, name);
            if (!fs.exists(target)) {
                // Deleted since the save died: its changes cannot be undone, the others can.
                files.erase(name);
                missing.insert(name);
                return nullptr;
            }
            slot = fs.open(target, OpenMode::ReadWrite);
        }
        return slot.get();
    };
    // Handles elsewhere may have read index pages of the half-written save. An index file the
    // rollback changes gets a change counter above any it held before or during the save, so
    // that no handle takes such a page for current.
    std::map<std::string, uint64_t> changedIndexes;  // name -> counter before the rollback
    const auto indexChanged = [&](const std::string& name, File& file) {
        if (isIndexFile(name) && !changedIndexes.count(name)) changedIndexes[name] = MdxFile::storedGeneration(file);
    };
    for (const JournalEntry& e : journal.entries) {
        File* f = e.kind == kImage ? fileFor(e.name) : nullptr;
        if (!f) continue;
        if (isIndexFile(e.name) && !changedIndexes.count(e.name)) {
            std::string now(e.bytes.size(), '\0');
            now.resize(f->read(e.offset, now.data(), now.size()));
            if (now != e.bytes) indexChanged(e.name, *f);
        }
        f->write(e.offset, e.bytes.data(), e.bytes.size());
    }
    for (const JournalEntry& e : journal.entries) {
        File* f = e.kind == kLength ? fileFor(e.name) : nullptr;
        if (!f || f->size() <= e.offset) continue;
        indexChanged(e.name, *f);
        f->truncate(e.offset);
    }
    for (const auto& [name, counter] : changedIndexes)
        if (File* f = fileFor(name)) MdxFile::storeGeneration(*f, std::max(counter, MdxFile::storedGeneration(*f)) + 1);
    for (auto& [name, file] : files) file->sync();
    report.rolledBack = true;
    if (!journal.complete || !missing.empty()) {
        // Cut short, damaged or naming a file that is gone: what it could reach is back, but
        // nothing proves the folder is as before the save.
        report.needsCheck = true;
        const auto reached = std::count_if(journal.entries.begin(), journal.entries.end(),
                                           [&](const JournalEntry& e) { return !missing.count(e.name); });
        report.detail = "the rollback journal of " + folder + " was " + (journal.complete ? "complete" : "incomplete") +
                        "; " + std::to_string(reached) + " of its changes were rolled back";
        for (const std::string& name : missing)
            report.detail += "; " + name + " is missing, so its changes could not be rolled back";
        fs.rename(path, freeDamagedJournalName(path, fs));
        fs.syncDirectory(folder);
        if (journalLeft) *journalLeft = false;
    } else {
        fs.open(path, OpenMode::ReadWrite)->truncate(0);
    }
    return report;
}

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}

}  // namespace

std::vector<std::string> keptDamagedJournals(const std::string& folder) {
    std::vector<std::string> kept;
    const std::string journal = joinPath(folder, kJournalName);
    for (int number = 1; std::filesystem::exists(damagedJournalName(journal, number)); ++number)
        kept.push_back(damagedJournalName(journal, number));
    return kept;
}

std::shared_ptr<FolderState> folderState(const std::string& folder) {
    static std::map<std::string, std::weak_ptr<FolderState>> registry;
    const std::string key = canonicalFolder(folder);
    std::lock_guard<std::mutex> guard(registryMutex());
    auto& slot = registry[key];
    if (auto existing = slot.lock()) return existing;
    auto state = std::make_shared<FolderState>();
    state->folder = key;
    slot = state;
    return state;
}

uint64_t rollbackEpoch(const FolderState& state) {
    return state.epoch;
}
bool transactionActive(const FolderState& state) {
    return state.runsHere();
}
uint64_t transactionSerial(const FolderState& state) {
    return state.runsHere() ? state.started : 0;
}

std::unique_ptr<File> participatingFile(std::unique_ptr<File> file, std::shared_ptr<FolderState> state) {
    return std::make_unique<ParticipatingFile>(std::move(file), std::move(state));
}

RecoveryReport recoverFolder(const std::string& folder, FileSystem& fs) {
    if (fs.fileSize(joinPath(folder, kJournalName)).value_or(0) == 0) return {};
    const auto state = folderState(folder);
    if (state->runsHere()) return {};  // this thread's own transaction is committing
    lockFolder(*state, folder, fs);
    try {
        const RecoveryReport report = rollBackJournal(folder, fs);  // the journal may be gone by now
        unlockFolder(*state);
        return report;
    } catch (...) {
        unlockFolder(*state);
        throw;
    }
}

// ---- transactions -------------------------------------------------------------------------

Transaction::Transaction(const std::string& folder, FileSystem& fs, const TransactionOptions& options)
    : m_fs(fs), m_folder(folder), m_options(options) {
    m_state = folderState(folder);
    // Another thread's transaction is waited for at the folder lock, as another workstation's.
    if (m_state->runsHere()) fail(folder, "a transaction is already running in this folder");
    lockFolder(*m_state, folder, fs);
    try {
        const std::optional<FileSystem::Status> journal = fs.status(joinPath(folder, kJournalName));
        const std::optional<uint64_t> size = journal ? std::optional<uint64_t>(journal->size) : std::nullopt;
        rollBackJournal(folder, fs, &m_state->journalExists, &size);
        const bool same = m_state->journalExists && journal && journal->identity.known() &&
                          journal->identity == m_state->journalIdentity && journal->size == 0;
        if (!same || &fs != &FileSystem::real()) m_state->journalFile.reset();
    } catch (...) {
        unlockFolder(*m_state);
        throw;
    }
    m_state->started = ++m_state->ticker;
    m_state->owner = std::this_thread::get_id();
    m_open = true;
}

Transaction::~Transaction() {
    if (m_open) rollback();
}

void Transaction::release() {
    if (&m_fs != &FileSystem::real()) m_state->journalFile.reset();  // only the real one is kept
    for (auto& [path, shadow] : m_state->shadows) shadow.release();
    for (auto& [path, shadow] : m_state->clean) shadow.release();
    m_state->shadows.clear();
    m_state->sizes.clear();
    m_state->clean.clear();
    ++m_state->layout;
    m_state->cleanBytes = 0;
    m_state->owner = std::thread::id();
    m_state->releaseLocks();
    m_state->closeRetired();
    m_open = false;
    unlockFolder(*m_state);
}

void Transaction::rollback() {
    if (!m_open) return;
    ++m_state->epoch;  // handles re-read what they cached from the dropped changes
    release();
}

void Transaction::commit() {
    if (!m_open) fail(m_folder, "the transaction has ended");
    if (m_state->shadows.empty()) return release();
    const std::string journalPath = joinPath(m_folder, kJournalName);
    struct Target {
        File* file;
        std::unique_ptr<File> owned;  // opened here when no handle of this process has it open
        const FolderState::Shadow* shadow;
    };
    std::vector<Target> targets;
    File* journalFile = nullptr;
    bool applying = false;
    bool emptied = false;
    try {
        // 1. The journal: before-images of every run within the old length, and old lengths.
        std::string& journal = m_state->journalBuffer;  // keeps its room from save to save
        journal.assign(kMagic, 8);
        size_t entries = 0;
        for (const auto& [path, shadow] : m_state->shadows) {
            Target t{nullptr, nullptr, &shadow};
            if (File* open = m_state->openFile(path)) {
                t.file = open;
            } else {
                t.owned = m_fs.open(path, OpenMode::ReadWrite);
                t.file = t.owned.get();
            }
            // The length before the transaction, unless a handle told it (or told enough: a
            // file whose changes all lie inside what it has).
            const auto told = m_state->sizes.find(path);
            const bool enough = told != m_state->sizes.end() && (told->second.exact || told->second.size >= shadow.end);
            const uint64_t oldSize = enough ? told->second.size : t.file->size();
            const std::string name = path.substr(path.find_last_of('/') + 1);
            // Runs close together are read in one go: one call instead of one per record.
            std::unique_ptr<char[]> span;
            uint64_t spanStart = 0, spanLength = 0;
            const auto known = m_state->clean.find(path);
            for (auto run = shadow.runs.begin(); run != shadow.runs.end(); ++run) {
                if (run->first >= oldSize) continue;
                const uint64_t runEnd = std::min<uint64_t>(run->first + run->second.size(), oldSize);
                if (known != m_state->clean.end() && known->second.covers(run->first, size_t(runEnd - run->first))) {
                    const size_t length = size_t(runEnd - run->first);
                    appendEntry(journal, kImage, name, run->first, length,
                                [&](char* to) { known->second.patch(run->first, to, length); });
                    ++entries;
                    continue;
                }
                if (!span || run->first < spanStart || runEnd > spanStart + spanLength) {
                    uint64_t last = runEnd;
                    for (auto next = std::next(run);
                         next != shadow.runs.end() && next->first < oldSize && next->first - last < kSpanGap; ++next)
                        last = std::min<uint64_t>(next->first + next->second.size(), oldSize);
                    spanStart = run->first;
                    span = std::make_unique_for_overwrite<char[]>(size_t(last - spanStart));
                    spanLength = t.file->read(spanStart, span.get(), size_t(last - spanStart));
                }
                const size_t from = size_t(run->first - spanStart);
                const size_t length =
                    size_t(std::min<uint64_t>(runEnd - run->first, spanLength > from ? spanLength - from : 0));
                appendEntry(journal, kImage, name, run->first, length,
                            [&](char* to) { std::memcpy(to, span.get() + from, length); });
                ++entries;
            }
            if (shadow.end > oldSize) {
                appendEntry(journal, kLength, name, oldSize, 0, [](char*) {});
                ++entries;
            }
            targets.push_back(std::move(t));
        }
        journal += char(kTrailer);
        putInt(journal, entries, 4);
        journal.append(kEndMagic, 8);
        // The journal file stays between transactions, empty; only a new one needs the folder
        // synced for its name to survive a power cut.
        const bool created = !m_state->journalExists;
        if (!m_state->journalFile) {
            m_state->journalFile = m_fs.open(journalPath, OpenMode::OpenOrCreate);
            m_state->journalIdentity = m_state->journalFile->identity();
        }
        journalFile = m_state->journalFile.get();
        journalFile->write(0, journal.data(), journal.size());
        if (m_options.sync) journalFile->sync();
        if (m_options.sync && created) m_fs.syncDirectory(m_folder);
        // 2. The changes themselves. Other processes may read the files while they are written
        // (records, and a walk's next index node, are read without waiting for locks), or
        // after this process died half way and before the rollback, so the files go in the
        // order this process first changed them (a memo before its record, a record before its
        // index entries), and each file from its end to its start: the header that tells
        // readers what is there (a table's record count, an index's change counter) is written
        // after what it announces. Every changed file is synced by itself (docs/journal.md).
        applying = true;
        std::sort(targets.begin(), targets.end(),
                  [](const Target& a, const Target& b) { return a.shadow->first < b.shadow->first; });
        for (Target& t : targets)
            for (auto run = t.shadow->runs.rbegin(); run != t.shadow->runs.rend(); ++run)
                t.file->write(run->first, run->second.data(), run->second.size());
        if (m_options.sync) {
            std::vector<File*> files;
            for (Target& t : targets) files.push_back(t.file);
            m_fs.syncFiles(files);
        }
        // 3. Done: the journal is emptied, and that is synced too: a journal that came back
        // after a power cut would roll back a save already reported done.
        journalFile->truncate(0);
        emptied = true;
        if (m_options.sync) journalFile->sync();
    } catch (...) {
        targets.clear();
        if (emptied) {
            // The changes are in the tables and synced; only the journal's emptying was not
            // confirmed. Nothing is rolled back.
            release();
            throw;
        }
        if (applying) {
            // Some changes may be on disk: put the before-images back now if the disk lets us;
            // otherwise the journal stays for the next open.
            try {
                rollBackJournal(m_folder, m_fs);
            } catch (...) {
            }
        } else if (journalFile) {
            try {
                journalFile->truncate(0);  // never applied: nothing to roll back
            } catch (...) {
            }
        }
        rollback();
        throw;
    }
    release();
}

}  // namespace dbase
