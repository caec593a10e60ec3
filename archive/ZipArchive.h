#pragma once
// The backup archive container: a zip file of plain files, each stored under its bare file
// name, compressed with deflate at the fastest level (files that are compressed already, such
// as pictures and PDFs, are stored as they are).
//
// Writing goes to a temporary file beside the archive, which is read back in full (every
// entry's CRC checked) and synced before it is renamed to the archive's name, so a backup
// that fails leaves no half-written archive under the chosen name.
//
// Reading refuses an archive whose central directory does not match its entries; extracting
// an entry checks its CRC and writes the file with its bytes synced. The adapter does not
// judge entry names: callers check them with isBareFileName() before extracting.
//
// Errors are ArchiveError with a kind (what went wrong, for the caller's message) and a detail
// naming the file and libzip's cause.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace archive {

enum class ArchiveErrorKind {
    CannotRead,   // a file to back up, or the archive, cannot be opened or read
    CannotWrite,  // the archive or an extracted file cannot be written
    Damaged,      // the archive is not a zip file, or an entry fails its CRC or its header
};

class ArchiveError : public std::runtime_error {
public:
    ArchiveError(ArchiveErrorKind kind, const std::string& detail) : std::runtime_error(detail), m_kind(kind) {}
    ArchiveErrorKind kind() const { return m_kind; }

private:
    ArchiveErrorKind m_kind;
};

// Told the entry in hand (counted from 0), the number of entries, its name, and how much of
// it is done, 0 to 100.
using Progress = std::function<void(std::size_t entry, std::size_t count, const std::string& name, int percent)>;

struct ArchiveInput {
    std::string path;  // the file to read
    std::string name;  // the entry name
};

// Whether a file of that name is stored without compression (already compressed formats).
bool storedUncompressed(std::string_view name);

// Whether an entry name is a bare file name that may be extracted into a folder: not empty,
// not "." or "..", without path separators, drive letters or control characters.
bool isBareFileName(std::string_view name);

// Writes the archive at path from the files (through path + ".tmp"), reads it back, checks
// every entry, syncs it and renames it into place. Throws ArchiveError; the temporary file is
// then removed and a file already at path stays as it was.
void writeArchive(const std::string& path, const std::vector<ArchiveInput>& files, const Progress& progress = {});

struct EntryInfo {
    std::string name;
    uint64_t size = 0;
    uint32_t crc = 0;
};

// An archive opened for reading, with the consistency check of its directory.
class ZipReader {
public:
    // Throws ArchiveError (CannotRead when the file cannot be opened, Damaged when it is not a
    // sound zip file).
    explicit ZipReader(const std::string& path);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    const std::vector<EntryInfo>& entries() const { return m_entries; }

    // Writes the entry's bytes into a new file at target; the CRC is checked while reading.
    // The file's write-back to the disk is started, not waited for: the caller syncs it with
    // syncFile() before relying on it. percent is told how much of the entry is done. Throws
    // ArchiveError; the target is then removed.
    void extract(std::size_t entry, const std::string& target, const std::function<void(int)>& percent = {});

    // Reads every entry to its end, checking its CRC. Throws ArchiveError (Damaged).
    void verifyAll(const Progress& progress = {});

private:
    struct Handle;
    std::unique_ptr<Handle> m_zip;
    std::string m_path;
    std::vector<EntryInfo> m_entries;
};

// Syncs a file's bytes to the disk. Throws ArchiveError (CannotWrite).
void syncFile(const std::string& path);

// Syncs a folder, so the names a rename or a create put into it are on disk.
void syncFolder(const std::string& folder);

}  // namespace archive
