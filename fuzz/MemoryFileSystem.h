#pragma once
// An in-memory FileSystem for the fuzz targets: files are byte vectors, locks always succeed
// and nothing touches the disk. It also watches what the engine writes:
//  - while writes are forbidden (a read-only walk) any write is reported and aborts;
//  - a write that leaves a large hole past the end of a file is reported and aborts, since
//    the engine only ever writes inside a file or right after its end (on a real disk such a
//    write makes a huge sparse file out of a damaged block number or offset).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dbase/DbError.h"
#include "dbase/File.h"

namespace fuzz {

// Prints a finding and aborts, which libFuzzer records as a crash with the input.
[[noreturn]] inline void finding(const std::string& what) {
    std::fprintf(stderr, "\n==== FINDING: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

// A folder that exists in no file system, so the engine's case-insensitive name lookup
// finds nothing on disk and keeps the exact names used here.
inline const std::string kFolder = "/nonexistent-kavina-fuzz";

inline std::string pathOf(const std::string& name) {
    return kFolder + "/" + name;
}

class MemoryFileSystem final : public dbase::FileSystem {
public:
    using Bytes = std::vector<uint8_t>;

    // The largest hole a write may leave past the end of a file.
    static constexpr uint64_t kMaxHole = 1u << 20;

    void put(const std::string& path, Bytes bytes) { m_files[path] = std::make_shared<Bytes>(std::move(bytes)); }
    void put(const std::string& path, const uint8_t* data, size_t size) { put(path, Bytes(data, data + size)); }
    const Bytes& get(const std::string& path) const {
        const auto it = m_files.find(path);
        if (it == m_files.end()) finding("no file " + path + " in the memory file system");
        return *it->second;
    }
    bool has(const std::string& path) const { return m_files.count(path) != 0; }

    // While set, every write or truncation is a finding.
    void forbidWrites(bool on, std::string why = {}) {
        m_writesForbidden = on;
        m_why = std::move(why);
    }
    uint64_t writeCount() const { return m_writes; }

    std::unique_ptr<dbase::File> open(const std::string& path, dbase::OpenMode mode) override;
    bool exists(const std::string& path) override { return has(path); }
    void remove(const std::string& path) override {
        checkWrite(path, "remove");
        m_files.erase(path);
    }
    void rename(const std::string& source, const std::string& target) override {
        checkWrite(target, "rename");
        const auto it = m_files.find(source);
        if (it == m_files.end()) dbase::fail(target, "cannot replace with " + source + ": No such file or directory");
        m_files[target] = it->second;  // open handles of the old target keep its bytes
        m_files.erase(source);
    }

    void syncDirectory(const std::string&) override {}

    void checkWrite(const std::string& path, const char* what) {
        ++m_writes;
        if (m_writesForbidden) finding(std::string(what) + " of " + path + " while " + m_why);
    }

private:
    std::map<std::string, std::shared_ptr<Bytes>> m_files;
    bool m_writesForbidden = false;
    std::string m_why;
    uint64_t m_writes = 0;
};

class MemoryFile final : public dbase::File {
public:
    MemoryFile(MemoryFileSystem& fs, std::string path, std::shared_ptr<std::vector<uint8_t>> bytes, bool readOnly)
        : m_fs(fs), m_path(std::move(path)), m_bytes(std::move(bytes)), m_readOnly(readOnly) {}

    size_t read(uint64_t offset, void* buffer, size_t size) override {
        const auto& b = *m_bytes;
        if (offset >= b.size()) return 0;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(size, b.size() - offset));
        std::memcpy(buffer, b.data() + offset, n);
        return n;
    }

    void write(uint64_t offset, const void* data, size_t size) override {
        m_fs.checkWrite(m_path, "write");
        if (m_readOnly) dbase::fail(m_path, "write failed: the file is open read-only");
        auto& b = *m_bytes;
        if (offset > b.size() + MemoryFileSystem::kMaxHole)
            finding("write of " + std::to_string(size) + " bytes at offset " + std::to_string(offset) + " of " +
                    m_path + ", far past its end (" + std::to_string(b.size()) + " bytes)");
        if (offset + size > b.size()) b.resize(static_cast<size_t>(offset + size));
        if (size) std::memcpy(b.data() + offset, data, size);
    }

    uint64_t size() override { return m_bytes->size(); }

    void truncate(uint64_t size) override {
        m_fs.checkWrite(m_path, "truncate");
        if (m_readOnly) dbase::fail(m_path, "cannot set the file size: the file is open read-only");
        if (size > m_bytes->size() + MemoryFileSystem::kMaxHole)
            finding("truncate of " + m_path + " to " + std::to_string(size) + " bytes");
        m_bytes->resize(static_cast<size_t>(size));
    }

    void sync() override {}
    bool tryLock(uint64_t, uint64_t, dbase::LockKind) override { return true; }
    void unlock(uint64_t, uint64_t) override {}
    const std::string& path() const override { return m_path; }

private:
    MemoryFileSystem& m_fs;
    std::string m_path;
    std::shared_ptr<std::vector<uint8_t>> m_bytes;
    bool m_readOnly;
};

inline std::unique_ptr<dbase::File> MemoryFileSystem::open(const std::string& path, dbase::OpenMode mode) {
    auto it = m_files.find(path);
    if (mode == dbase::OpenMode::Create || (mode == dbase::OpenMode::OpenOrCreate && it == m_files.end())) {
        checkWrite(path, "create");
        put(path, Bytes{});
        it = m_files.find(path);
    } else if (it == m_files.end()) {
        dbase::fail(path, "cannot open: No such file or directory");
    }
    return std::make_unique<MemoryFile>(*this, path, it->second, mode == dbase::OpenMode::ReadOnly);
}

}  // namespace fuzz
