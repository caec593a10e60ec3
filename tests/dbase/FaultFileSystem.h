#pragma once
// A file system for fault tests: passes everything to the real one, counts calls, and on
// request fails the n-th write, sync or lock, or simulates a crash at the n-th write (nothing
// is written from there on; optionally what was written since each file's last sync is
// undone, as a power cut would). It also checks the commit protocol as it runs: no table,
// memo or index byte is overwritten while a journal exists that was not synced since its
// last change, and a journal is not emptied while a file it covers holds changes not synced.

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "dbase/File.h"

namespace testing_support {

struct SimulatedCrash : std::runtime_error {
    SimulatedCrash() : std::runtime_error("simulated crash") {}
};

class FaultFileSystem final : public dbase::FileSystem {
public:
    enum class Crash { KeepWritten, DropUnsynced };

    int writes = 0, syncs = 0, calls = 0, locks = 0;
    int failWriteAt = 0, failSyncAt = 0, failLockAt = 0;  // 1-based; 0 = never
    int crashWriteAt = 0;
    Crash crashMode = Crash::KeepWritten;
    bool crashed = false;
    std::vector<std::string> protocolFaults;

    std::unique_ptr<dbase::File> open(const std::string& path, dbase::OpenMode mode) override;
    bool exists(const std::string& path) override {
        ++calls;
        return m_real.exists(path);
    }
    std::optional<uint64_t> fileSize(const std::string& path) override {
        ++calls;
        return m_real.fileSize(path);
    }
    void remove(const std::string& path) override {
        ++calls;
        if (crashed) return;
        if (isJournal(path)) m_journalOnDisk = false;
        m_real.remove(path);
    }
    void rename(const std::string& source, const std::string& target) override {
        ++calls;
        if (crashed) return;
        if (isJournal(source)) m_journalOnDisk = false;
        m_real.rename(source, target);
    }
    void syncDirectory(const std::string& folder) override {
        ++calls;
        ++syncs;
        if (!crashed) m_real.syncDirectory(folder);
    }

    // The power goes now: every file falls back to what it held at its last sync.
    void powerCut();

    // Called by the files.
    void beforeWrite(const std::string& path, dbase::File& real, uint64_t offset, size_t size);
    void beforeTruncate(const std::string& path, dbase::File& real, uint64_t size);
    void beforeSync(const std::string& path);
    void beforeLock();
    static bool isJournal(const std::string& path) { return path.find("kavina.jnl") != std::string::npos; }
    static bool isData(const std::string& path) {
        return !isJournal(path) && path.find("kavina.lck") == std::string::npos;
    }

private:
    struct Undo {
        uint64_t offset;
        std::string before;
        uint64_t oldSize;
    };
    void crash();

    dbase::FileSystem& m_real = dbase::FileSystem::real();
    std::map<std::string, std::vector<Undo>> m_unsynced;
    bool m_journalOnDisk = false;
    bool m_journalSynced = true;
    std::set<std::string> m_coveredUnsynced;  // data files changed since the journal, not synced since
};

}  // namespace testing_support
