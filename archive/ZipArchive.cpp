#include "archive/ZipArchive.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace archive {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

[[noreturn]] void fail(ArchiveErrorKind kind, const std::string& path, const std::string& cause) {
    throw ArchiveError(kind, path + ": " + cause);
}

ArchiveErrorKind kindOf(int zipError) {
    switch (zipError) {
        case ZIP_ER_CRC:
        case ZIP_ER_NOZIP:
        case ZIP_ER_INCONS:
        case ZIP_ER_COMPNOTSUPP:
        case ZIP_ER_ZLIB:
        case ZIP_ER_EOF:
        case ZIP_ER_NOENT: return ArchiveErrorKind::Damaged;
        case ZIP_ER_WRITE:
        case ZIP_ER_TMPOPEN:
        case ZIP_ER_RENAME:
        case ZIP_ER_CLOSE: return ArchiveErrorKind::CannotWrite;
        default: return ArchiveErrorKind::CannotRead;
    }
}

std::string folderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The progress of zip_close runs over the entries in turn, each taking an equal share: the
// entry in hand and its percentage follow from the fraction.
struct CloseProgress {
    const std::vector<ArchiveInput>* files;
    const Progress* progress;
};

void closeProgress(zip_t*, double fraction, void* data) {
    const auto* state = static_cast<CloseProgress*>(data);
    const std::size_t count = state->files->size();
    if (count == 0 || !*state->progress) return;
    const double scaled = std::clamp(fraction, 0.0, 1.0) * static_cast<double>(count);
    const std::size_t entry = std::min(count - 1, static_cast<std::size_t>(scaled));
    const int percent = std::clamp(static_cast<int>((scaled - static_cast<double>(entry)) * 100.0), 0, 100);
    (*state->progress)(entry, count, (*state->files)[entry].name, fraction >= 1.0 ? 100 : percent);
}

void buildArchive(const std::string& temp, const std::vector<ArchiveInput>& files, const Progress& progress) {
    int code = 0;
    zip_t* zip = zip_open(temp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip) fail(ArchiveErrorKind::CannotWrite, temp, zipErrorText(code));
    const auto abandon = [zip](ArchiveErrorKind kind, const std::string& where) {
        const std::string cause = zip_strerror(zip);
        zip_discard(zip);
        fail(kind, where, cause);
    };
    for (const ArchiveInput& file : files) {
        // Opened now, so that a file that cannot be read is named before anything is written.
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_file_create(file.path.c_str(), 0, -1, &error);
        if (!source) {
            const std::string cause = zip_error_strerror(&error);
            zip_error_fini(&error);
            zip_discard(zip);
            fail(ArchiveErrorKind::CannotRead, file.path, cause);
        }
        zip_error_fini(&error);
        const zip_int64_t index = zip_file_add(zip, file.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            abandon(ArchiveErrorKind::CannotWrite, file.path);
        }
        const zip_int32_t method = storedUncompressed(file.name) ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
        if (zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), method, 1) != 0)
            abandon(ArchiveErrorKind::CannotWrite, file.path);
    }
    CloseProgress state{&files, &progress};
    zip_register_progress_callback_with_state(zip, 0.001, closeProgress, nullptr, &state);
    if (zip_close(zip) != 0) {
        const int err = zip_error_code_zip(zip_get_error(zip));
        abandon(kindOf(err) == ArchiveErrorKind::Damaged ? ArchiveErrorKind::CannotRead : kindOf(err), temp);
    }
    // An empty folder gives no file at all: an archive without entries is still an archive.
    if (files.empty()) {
        FILE* out = std::fopen(temp.c_str(), "wb");
        static const unsigned char emptyZip[22] = {0x50, 0x4b, 0x05, 0x06};
        if (!out || std::fwrite(emptyZip, 1, sizeof emptyZip, out) != sizeof emptyZip || std::fclose(out) != 0)
            fail(ArchiveErrorKind::CannotWrite, temp, std::strerror(errno));
    }
}

}  // namespace

bool storedUncompressed(std::string_view name) {
    static const char* const kCompressed[] = {".jpg",  ".jpeg", ".png", ".gif", ".pdf", ".xlsx",
                                              ".docx", ".zip",  ".kvb", ".gz",  ".7z"};
    const std::string lowered = lower(name);
    for (const char* ext : kCompressed) {
        const std::size_t length = std::strlen(ext);
        if (lowered.size() > length && lowered.compare(lowered.size() - length, length, ext) == 0) return true;
    }
    return false;
}

bool isBareFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == ':') return false;
    return true;
}

void writeArchive(const std::string& path, const std::vector<ArchiveInput>& files, const Progress& progress) {
    const std::string temp = path + ".tmp";
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    try {
        buildArchive(temp, files, progress);
        ZipReader check(temp);
        if (check.entries().size() != files.size())
            fail(ArchiveErrorKind::Damaged, temp,
                 "the archive lists " + std::to_string(check.entries().size()) + " entries instead of " +
                     std::to_string(files.size()));
        check.verifyAll();
        syncFile(temp);
    } catch (...) {
        std::filesystem::remove(temp, ec);
        throw;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        std::filesystem::remove(temp, ec);
        fail(ArchiveErrorKind::CannotWrite, path, std::strerror(err));
    }
    syncFolder(folderOf(path));
}

struct ZipReader::Handle {
    zip_t* zip = nullptr;
    ~Handle() {
        if (zip) zip_discard(zip);
    }
};

ZipReader::ZipReader(const std::string& path) : m_zip(std::make_unique<Handle>()), m_path(path) {
    int code = 0;
    m_zip->zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!m_zip->zip)
        fail(code == ZIP_ER_OPEN || code == ZIP_ER_READ ? ArchiveErrorKind::CannotRead : kindOf(code), path,
             zipErrorText(code));
    const zip_int64_t count = zip_get_num_entries(m_zip->zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(m_zip->zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &st) != 0)
            fail(ArchiveErrorKind::Damaged, path, zip_strerror(m_zip->zip));
        EntryInfo info;
        info.name = (st.valid & ZIP_STAT_NAME) && st.name ? st.name : std::string();
        info.size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
        info.crc = (st.valid & ZIP_STAT_CRC) ? st.crc : 0;
        m_entries.push_back(std::move(info));
    }
}

ZipReader::~ZipReader() = default;

void ZipReader::extract(std::size_t entry, const std::string& target, const std::function<void(int)>& percent) {
    const EntryInfo& info = m_entries.at(entry);
    zip_file_t* in = zip_fopen_index(m_zip->zip, entry, 0);
    if (!in) fail(ArchiveErrorKind::Damaged, m_path + " [" + info.name + "]", zip_strerror(m_zip->zip));
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        zip_fclose(in);
        fail(ArchiveErrorKind::CannotWrite, target, std::strerror(err));
    }
    std::vector<char> buffer(kBufferSize);
    uint64_t done = 0;
    std::string problem;
    ArchiveErrorKind kind = ArchiveErrorKind::Damaged;
    for (;;) {
        const zip_int64_t got = zip_fread(in, buffer.data(), buffer.size());
        if (got < 0) {
            problem = m_path + " [" + info.name + "]: " + zip_file_strerror(in);
            break;
        }
        if (got == 0) break;
        for (zip_int64_t written = 0; written < got;) {
            const ssize_t n = ::write(fd, buffer.data() + written, static_cast<std::size_t>(got - written));
            if (n < 0) {
                if (errno == EINTR) continue;
                problem = target + ": " + std::strerror(errno);
                kind = ArchiveErrorKind::CannotWrite;
                break;
            }
            written += n;
        }
        if (!problem.empty()) break;
        done += static_cast<uint64_t>(got);
        if (percent && info.size > 0) percent(static_cast<int>(done * 100 / info.size));
    }
    zip_fclose(in);
    if (problem.empty() && done != info.size) problem = m_path + " [" + info.name + "]: the entry is cut short";
    // Writing back while the next entry is inflated: the caller's sync then waits for little.
    if (problem.empty()) ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    if (::close(fd) != 0 && problem.empty()) {
        problem = target + ": " + std::strerror(errno);
        kind = ArchiveErrorKind::CannotWrite;
    }
    if (!problem.empty()) {
        std::error_code ec;
        std::filesystem::remove(target, ec);
        throw ArchiveError(kind, problem);
    }
    if (percent) percent(100);
}

void ZipReader::verifyAll(const Progress& progress) {
    std::vector<char> buffer(kBufferSize);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const EntryInfo& info = m_entries[i];
        if (progress) progress(i, m_entries.size(), info.name, 0);
        zip_file_t* in = zip_fopen_index(m_zip->zip, i, 0);
        if (!in) fail(ArchiveErrorKind::Damaged, m_path + " [" + info.name + "]", zip_strerror(m_zip->zip));
        uint64_t done = 0;
        zip_int64_t got = 0;
        while ((got = zip_fread(in, buffer.data(), buffer.size())) > 0) done += static_cast<uint64_t>(got);
        const std::string cause = got < 0 ? zip_file_strerror(in) : std::string();
        zip_fclose(in);
        if (got < 0) fail(ArchiveErrorKind::Damaged, m_path + " [" + info.name + "]", cause);
        if (done != info.size)
            fail(ArchiveErrorKind::Damaged, m_path + " [" + info.name + "]", "the entry is cut short");
        if (progress) progress(i, m_entries.size(), info.name, 100);
    }
}

void syncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int err = errno;
        if (fd >= 0) ::close(fd);
        fail(ArchiveErrorKind::CannotWrite, path, std::strerror(err));
    }
    ::close(fd);
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace archive
