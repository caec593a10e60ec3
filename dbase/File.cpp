#include "File.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <strings.h>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

#include "DbError.h"

namespace dbase {

void fail(const std::string& file, DbErrorKind kind, const std::string& cause) {
    throw DbError(file + ": " + cause, kind, file);
}

void fail(const std::string& file, const std::string& cause) {
    DbErrorKind kind = DbErrorKind::Other;
    if (cause.find(errtext::kTableBusy) != std::string::npos) kind = DbErrorKind::Busy;
    if (cause.find(errtext::kRecordLocked) != std::string::npos) kind = DbErrorKind::RecordLocked;
    fail(file, kind, cause);
}

std::string DbError::tableName() const {
    const std::string name = m_file.substr(m_file.find_last_of('/') + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    std::string ext = name.substr(dot + 1);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "dbf") return name;
    // A memo or index file belongs to the table of its base name.
    if (ext == "dbt" || ext == "mdx") return name.substr(0, dot) + ".dbf";
    return {};
}

namespace {

std::string systemError() {
    return std::strerror(errno);
}

class PosixFile final : public File {
public:
    PosixFile(std::string path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    ~PosixFile() override { ::close(m_fd); }

    size_t read(uint64_t offset, void* buffer, size_t size) override {
        size_t done = 0;
        while (done < size) {
            const ssize_t n =
                ::pread(m_fd, static_cast<char*>(buffer) + done, size - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail(m_path, DbErrorKind::Io, "read failed: " + systemError());
            if (n == 0) break;
            done += static_cast<size_t>(n);
        }
        return done;
    }

    void write(uint64_t offset, const void* data, size_t size) override {
        size_t done = 0;
        while (done < size) {
            const ssize_t n =
                ::pwrite(m_fd, static_cast<const char*>(data) + done, size - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) fail(m_path, DbErrorKind::Io, "write failed: " + systemError());
            done += static_cast<size_t>(n);
        }
    }

    uint64_t size() override {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) fail(m_path, DbErrorKind::Io, "cannot read the file size: " + systemError());
        return static_cast<uint64_t>(st.st_size);
    }

    void truncate(uint64_t size) override {
        if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
            fail(m_path, DbErrorKind::Io, "cannot set the file size: " + systemError());
    }

    void sync() override {
        if (::fdatasync(m_fd) != 0) fail(m_path, DbErrorKind::Io, "cannot write to disk: " + systemError());
    }

    bool tryLock(uint64_t offset, uint64_t length, LockKind kind) override {
        struct flock fl {};
        fl.l_type = kind == LockKind::Shared ? F_RDLCK : F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = static_cast<off_t>(offset);
        fl.l_len = static_cast<off_t>(length);
        if (::fcntl(m_fd, F_OFD_SETLK, &fl) == 0) return true;
        if (errno == EAGAIN || errno == EACCES) return false;
        fail(m_path, DbErrorKind::Io, "cannot lock: " + systemError());
    }

    void unlock(uint64_t offset, uint64_t length) override {
        struct flock fl {};
        fl.l_type = F_UNLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = static_cast<off_t>(offset);
        fl.l_len = static_cast<off_t>(length);
        ::fcntl(m_fd, F_OFD_SETLK, &fl);
    }

    const std::string& path() const override { return m_path; }
    int descriptor() const { return m_fd; }

    // The device the file lives on, and whether that is a local disk file system whose sync
    // stores everything of it (looked up once: an open file does not move).
    struct Disk {
        dev_t device = 0;
        bool local = false;
    };
    const Disk& disk() {
        if (!m_disk) m_disk = lookUpDisk();
        return *m_disk;
    }
    FileIdentity identity() override {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0) return {};
        return {uint64_t(st.st_dev), uint64_t(st.st_ino)};
    }

private:
    Disk lookUpDisk() const {
        struct stat st {};
        struct statfs fs {};
        if (::fstat(m_fd, &st) != 0 || ::fstatfs(m_fd, &fs) != 0) return {};
        switch (static_cast<unsigned long>(fs.f_type)) {
            case EXT4_SUPER_MAGIC:  // also ext2 and ext3
            case XFS_SUPER_MAGIC:
            case BTRFS_SUPER_MAGIC:
            case TMPFS_MAGIC: return {st.st_dev, true};
            default: return {st.st_dev, false};  // a network share, or unknown
        }
    }

    std::string m_path;
    int m_fd;
    std::optional<Disk> m_disk;
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<File> open(const std::string& path, OpenMode mode) override {
        int flags = O_CLOEXEC;
        switch (mode) {
            case OpenMode::ReadWrite: flags |= O_RDWR; break;
            case OpenMode::ReadOnly: flags |= O_RDONLY; break;
            case OpenMode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
            case OpenMode::OpenOrCreate: flags |= O_RDWR | O_CREAT; break;
        }
        const int fd = ::open(path.c_str(), flags, 0666);
        if (fd < 0)
            fail(path, errno == ENOENT ? DbErrorKind::Missing : DbErrorKind::Io, "cannot open: " + systemError());
        return std::make_unique<PosixFile>(path, fd);
    }

    std::optional<uint64_t> fileSize(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
        return uint64_t(st.st_size);
    }

    std::optional<Status> status(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
        return Status{uint64_t(st.st_size), {uint64_t(st.st_dev), uint64_t(st.st_ino)}};
    }

    bool exists(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    void rename(const std::string& source, const std::string& target) override {
        if (::rename(source.c_str(), target.c_str()) != 0)
            fail(target, DbErrorKind::Io, "cannot replace with " + source + ": " + systemError());
    }

    void syncDirectory(const std::string& folder) override {
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            fail(folder, errno == ENOENT ? DbErrorKind::Missing : DbErrorKind::Io,
                 "cannot open the folder: " + systemError());
        const int rc = ::fsync(fd);
        ::close(fd);
        if (rc != 0) fail(folder, DbErrorKind::Io, "cannot write the folder to disk: " + systemError());
    }

    void syncFiles(const std::vector<File*>& files) override {
        if (files.size() < 2) return FileSystem::syncFiles(files);
        if (const std::optional<int> disk = oneLocalDisk(files)) return syncWholeDisk(*disk, files.front()->path());
        syncEachSideBySide(files);
    }

    void remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            fail(path, DbErrorKind::Io, "cannot delete: " + systemError());
    }

private:
    // A descriptor of the one local disk file system all the files live on, when they do.
    static std::optional<int> oneLocalDisk(const std::vector<File*>& files) {
        auto* first = dynamic_cast<PosixFile*>(files.front());
        if (!first || !first->disk().local) return std::nullopt;
        for (File* file : files) {
            auto* posix = dynamic_cast<PosixFile*>(file);
            if (!posix || posix->disk().device != first->disk().device || !posix->disk().local) return std::nullopt;
        }
        return first->descriptor();
    }

    // One sync of the file system stores every changed file of it with one flush of the disk,
    // where a sync per file flushes the disk once per file.
    static void syncWholeDisk(int fd, const std::string& path) {
        if (::syncfs(fd) != 0) fail(path, DbErrorKind::Io, "cannot write to disk: " + systemError());
    }

    // Each file by itself: on a network share only a sync of that file asks the server to
    // store it (a sync of the whole file system sends no such request). The syncs run side by
    // side, so the save waits for the slowest of them, not for their sum.
    static void syncEachSideBySide(const std::vector<File*>& files) {
        std::vector<std::exception_ptr> errors(files.size());
        const auto syncOne = [&](size_t i) {
            try {
                files[i]->sync();
            } catch (...) {
                errors[i] = std::current_exception();
            }
        };
        std::vector<std::thread> helpers;
        size_t own = 0;  // the files this thread syncs itself: those no helper could be started for
        for (size_t i = 1; i < files.size(); ++i) {
            try {
                helpers.emplace_back(syncOne, i);
            } catch (const std::system_error&) {
                own = i;
                break;
            }
        }
        syncOne(0);
        for (size_t i = own; own != 0 && i < files.size(); ++i) syncOne(i);
        for (std::thread& helper : helpers) helper.join();
        for (const std::exception_ptr& error : errors)
            if (error) std::rethrow_exception(error);
    }
};

}  // namespace

FileSystem& FileSystem::real() {
    static PosixFileSystem fs;
    return fs;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string resolvePath(const std::string& folder, const std::string& name) {
    const std::string exact = joinPath(folder, name);
    struct stat st {};
    if (::stat(exact.c_str(), &st) == 0) return exact;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return exact;
    std::string found;
    while (const dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = joinPath(folder, entry->d_name);
            break;
        }
    }
    ::closedir(dir);
    return found.empty() ? exact : found;
}

}  // namespace dbase
