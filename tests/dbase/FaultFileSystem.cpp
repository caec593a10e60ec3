#include "FaultFileSystem.h"

#include "dbase/DbError.h"

namespace testing_support {
namespace {

class FaultFile final : public dbase::File {
public:
    FaultFile(FaultFileSystem& fs, std::unique_ptr<dbase::File> real) : m_fs(fs), m_real(std::move(real)) {}

    size_t read(uint64_t offset, void* buffer, size_t size) override {
        ++m_fs.calls;
        return m_real->read(offset, buffer, size);
    }
    void write(uint64_t offset, const void* data, size_t size) override {
        m_fs.beforeWrite(path(), *m_real, offset, size);
        if (!m_fs.crashed) m_real->write(offset, data, size);
    }
    uint64_t size() override {
        ++m_fs.calls;
        return m_real->size();
    }
    void truncate(uint64_t size) override {
        m_fs.beforeTruncate(path(), *m_real, size);
        if (!m_fs.crashed) m_real->truncate(size);
    }
    void sync() override {
        m_fs.beforeSync(path());
        if (!m_fs.crashed) m_real->sync();
    }
    bool tryLock(uint64_t offset, uint64_t length, dbase::LockKind kind) override {
        m_fs.beforeLock();
        return m_real->tryLock(offset, length, kind);
    }
    void unlock(uint64_t offset, uint64_t length) override {
        ++m_fs.calls;
        m_real->unlock(offset, length);
    }
    const std::string& path() const override { return m_real->path(); }

private:
    FaultFileSystem& m_fs;
    std::unique_ptr<dbase::File> m_real;
};

}  // namespace

std::unique_ptr<dbase::File> FaultFileSystem::open(const std::string& path, dbase::OpenMode mode) {
    ++calls;
    if (crashed && mode == dbase::OpenMode::Create) throw SimulatedCrash();
    auto real = m_real.open(path, mode);
    if (mode == dbase::OpenMode::Create && isJournal(path)) m_journalOnDisk = false;
    return std::make_unique<FaultFile>(*this, std::move(real));
}

void FaultFileSystem::beforeWrite(const std::string& path, dbase::File& real, uint64_t offset, size_t size) {
    ++calls;
    if (crashed) throw SimulatedCrash();
    ++writes;
    if (writes == failWriteAt) throw dbase::DbError(path + ": write failed: No space left on device");
    if (writes == crashWriteAt) crash();
    if (isJournal(path)) {
        m_journalOnDisk = true;
        m_journalSynced = false;
        m_coveredUnsynced.clear();
    } else if (isData(path) && m_journalOnDisk) {
        if (!m_journalSynced && offset < real.size())
            protocolFaults.push_back(path + " overwritten at " + std::to_string(offset) +
                                     " before the journal was synced");
        m_coveredUnsynced.insert(path);
    }
    if (crashMode == Crash::DropUnsynced) {
        Undo undo{offset, std::string(size, '\0'), real.size()};
        undo.before.resize(real.read(offset, undo.before.data(), size));
        m_unsynced[path].push_back(std::move(undo));
    }
}

void FaultFileSystem::beforeTruncate(const std::string& path, dbase::File& real, uint64_t size) {
    ++calls;
    if (crashed) throw SimulatedCrash();
    ++writes;
    if (writes == failWriteAt) throw dbase::DbError(path + ": write failed: No space left on device");
    if (writes == crashWriteAt) crash();
    if (isJournal(path) && size == 0) {
        for (const std::string& file : m_coveredUnsynced)
            protocolFaults.push_back("the journal was emptied before " + file + " was synced");
        m_coveredUnsynced.clear();
        m_journalOnDisk = false;
        m_journalSynced = false;
    } else if (isData(path) && m_journalOnDisk) {
        m_coveredUnsynced.insert(path);
    }
    if (crashMode == Crash::DropUnsynced) {
        // What the cut removes comes back with the power cut.
        const uint64_t oldSize = real.size();
        Undo undo{size, std::string(size < oldSize ? size_t(oldSize - size) : 0, '\0'), oldSize};
        undo.before.resize(real.read(size, undo.before.data(), undo.before.size()));
        m_unsynced[path].push_back(std::move(undo));
    }
}

void FaultFileSystem::beforeSync(const std::string& path) {
    ++calls;
    if (crashed) throw SimulatedCrash();
    ++syncs;
    if (syncs == failSyncAt) throw dbase::DbError(path + ": cannot write to disk: Input/output error");
    if (isJournal(path)) m_journalSynced = true;
    m_coveredUnsynced.erase(path);
    m_unsynced.erase(path);
}

void FaultFileSystem::beforeLock() {
    ++calls;
    ++locks;
    if (locks == failLockAt) throw dbase::DbError("lock refused");
}

void FaultFileSystem::powerCut() {
    crashed = true;
    for (auto& [path, undos] : m_unsynced) {
        auto file = m_real.open(path, dbase::OpenMode::ReadWrite);
        for (auto it = undos.rbegin(); it != undos.rend(); ++it) {
            file->truncate(it->oldSize);
            if (!it->before.empty()) file->write(it->offset, it->before.data(), it->before.size());
        }
    }
    m_unsynced.clear();
}

void FaultFileSystem::crash() {
    if (crashMode == Crash::DropUnsynced) powerCut();
    crashed = true;
    throw SimulatedCrash();
}

}  // namespace testing_support
