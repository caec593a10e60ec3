#include "File.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

private:
    std::string m_path;
    int m_fd;
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
        const auto* first = files.empty() ? nullptr : dynamic_cast<const PosixFile*>(files.front());
        if (files.size() < 3 || !first) return FileSystem::syncFiles(files);
        // One call instead of one per file: a save touches up to a dozen files.
        if (::syncfs(first->descriptor()) != 0) fail(first->path(), "cannot write to disk: " + systemError());
    }

    void remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            fail(path, DbErrorKind::Io, "cannot delete: " + systemError());
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
