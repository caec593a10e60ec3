#pragma once
// The engine reaches its files only through this small interface, so tests can wrap the real
// files to fail a write, refuse a lock or cut a file short. Locks are operating-system
// byte-range locks owned by the open file (Linux open-file-description locks): they exclude
// other handles in this process as well as other processes and machines on a network share.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dbase {

enum class LockKind { Shared, Exclusive };

// Which file a name or an open file is: device and inode, both 0 when not known.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool known() const { return inode != 0; }
    bool operator==(const FileIdentity&) const = default;
};

class File {
public:
    virtual ~File() = default;
    // Reads up to size bytes at offset; returns the count read (short at end of file).
    virtual size_t read(uint64_t offset, void* buffer, size_t size) = 0;
    // Writes all bytes or throws.
    virtual void write(uint64_t offset, const void* data, size_t size) = 0;
    virtual uint64_t size() = 0;
    virtual void truncate(uint64_t size) = 0;
    // Hands the written data to the disk (fsync).
    virtual void sync() = 0;
    // Takes a byte-range lock without waiting; false when another holder conflicts.
    virtual bool tryLock(uint64_t offset, uint64_t length, LockKind kind) = 0;
    virtual void unlock(uint64_t offset, uint64_t length) = 0;
    virtual const std::string& path() const = 0;
    // The file this is, when the file system tells (unknown otherwise).
    virtual FileIdentity identity() { return {}; }
    // True while a transaction of this process holds the file: locks it takes then stay
    // taken until the transaction ends, so what they protect cannot change meanwhile.
    virtual bool inTransaction() const { return false; }
    // Tells the file what the range holds on disk right now (a page the caller read earlier
    // and knows to be unchanged), so that a transaction need not read it again for its
    // before-image. Only a hint: files outside transactions ignore it.
    virtual void knownContent(uint64_t /*offset*/, const void* /*data*/, size_t /*size*/) {}
    // Tells the file how long it is on disk right now (exact), or that it is at least that
    // long, learnt under a lock the transaction holds, so that the commit need not ask. Only a
    // hint, like knownContent: files outside transactions ignore it.
    virtual void knownSize(uint64_t /*size*/, bool /*exact*/) {}
    // Raised whenever a transaction of the folder is rolled back: content a caller learnt
    // under an older value may have been put back since.
    virtual uint64_t rollbackCount() const { return 0; }
    virtual bool heldByTransaction(uint64_t /*offset*/, uint64_t /*length*/) const { return false; }
    // Inside a transaction: a value that changes when a transaction of this process begins and
    // whenever a handle of this process writes to this file within it. What a caller read under
    // a lock the transaction holds is still what the file holds while the value is unchanged.
    // 0 outside transactions.
    virtual uint64_t transactionMark() const { return 0; }
};

enum class OpenMode { ReadWrite, ReadOnly, Create, OpenOrCreate };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens (or with Create, creates and truncates) a file; throws DbError on failure.
    virtual std::unique_ptr<File> open(const std::string& path, OpenMode mode) = 0;
    virtual bool exists(const std::string& path) = 0;
    // The size of a file, nullopt when there is none (one call, no open).
    virtual std::optional<uint64_t> fileSize(const std::string& path) {
        if (!exists(path)) return std::nullopt;
        return open(path, OpenMode::ReadOnly)->size();
    }
    // The size and identity of a file, nullopt when there is none (one call, no open).
    struct Status {
        uint64_t size = 0;
        FileIdentity identity;
    };
    virtual std::optional<Status> status(const std::string& path) {
        const std::optional<uint64_t> size = fileSize(path);
        if (!size) return std::nullopt;
        return Status{*size, {}};
    }
    virtual void remove(const std::string& path) = 0;
    // Replaces target by source in one step (the target's open handles keep the old file).
    virtual void rename(const std::string& source, const std::string& target) = 0;
    // Makes the folder's list of files durable (after creating or deleting a file).
    virtual void syncDirectory(const std::string& folder) = 0;
    // Hands the written data of several files to the disk. The real file system does it with
    // one sync of the whole file system when they all live on one local disk, and with a sync
    // of each file (side by side) anywhere else, such as a network share.
    virtual void syncFiles(const std::vector<File*>& files) {
        for (File* f : files) f->sync();
    }

    // The real file system.
    static FileSystem& real();
};

// Finds a file of the folder whose name matches without regard to ASCII case. Data folders
// come from systems that ignore case, so "Partner.DBF" may be "PARTNER.DBF" on disk. Returns
// the path of the existing file, or folder/name when none exists.
std::string resolvePath(const std::string& folder, const std::string& name);

// Joins a folder and a file name.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace dbase
