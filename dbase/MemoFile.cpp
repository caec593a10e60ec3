#include "MemoFile.h"

#include <cstring>
#include <vector>

#include "DbError.h"

namespace dbase {
namespace {

constexpr uint8_t kUsedSignature[4] = {0xFF, 0xFF, 0x08, 0x00};
constexpr uint32_t kUsedHeader = 8;
constexpr uint32_t kDBase3Block = 512;
constexpr size_t kMaxMemo = 64u << 20;  // no memo of the program comes near 64 MB
constexpr size_t kFreeHeadOffset = 24;
constexpr char kFreeListMark[4] = {'K', 'V', 'F', 'L'};
constexpr char kFreeRunMark[4] = {'K', 'V', 'F', 'B'};

uint32_t get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

MemoFile::MemoFile(std::unique_ptr<File> file, bool dbase4Layout) : m_file(std::move(file)), m_dbase4(dbase4Layout) {
    loadHeader();
}

void MemoFile::initialise(File& file, bool dbase4Layout, const std::string& baseName) {
    std::vector<uint8_t> header(512, 0);
    put32(header.data(), 1);
    if (dbase4Layout) {
        std::memcpy(header.data() + 8, baseName.data(), std::min<size_t>(baseName.size(), 8));
        header[20] = 512 & 0xFF;
        header[21] = 512 >> 8;
    } else {
        header[16] = 0x03;
    }
    file.truncate(0);
    file.write(0, header.data(), header.size());
}

void MemoFile::loadHeader() {
    uint8_t header[32] = {};
    if (m_file->read(0, header, sizeof header) < 24)
        fail(m_file->path(), DbErrorKind::Damaged, "the memo header is truncated");
    m_next = get32(header);
    m_freeHead = std::memcmp(header + 28, kFreeListMark, 4) == 0 ? get32(header + kFreeHeadOffset) : 0;
    if (m_dbase4) {
        m_blockSize = uint32_t(header[20] | header[21] << 8);
        if (m_blockSize == 0) m_blockSize = 512;  // some writers leave it zero: dBASE's default
        if (m_blockSize < 32 || m_blockSize % 32 != 0)
            fail(m_file->path(), DbErrorKind::Damaged,
                 "the memo block size " + std::to_string(m_blockSize) + " is damaged");
    } else {
        m_blockSize = kDBase3Block;
    }
}

uint32_t MemoFile::endBlock() {
    return static_cast<uint32_t>((m_file->size() + m_blockSize - 1) / m_blockSize);
}

uint32_t MemoFile::blocksFor(size_t bytes) const {
    return static_cast<uint32_t>((bytes + m_blockSize - 1) / m_blockSize);
}

std::string MemoFile::read(uint32_t block) {
    const std::string& path = m_file->path();
    loadHeader();
    if (block == 0 || block >= endBlock())
        fail(path, DbErrorKind::Damaged, "memo block " + std::to_string(block) + " lies outside the memo file");
    if (!m_dbase4) return readDBase3(block);
    uint8_t head[kUsedHeader];
    const uint64_t pos = uint64_t(block) * m_blockSize;
    if (m_file->read(pos, head, kUsedHeader) < kUsedHeader)
        fail(path, DbErrorKind::Damaged, "memo block " + std::to_string(block) + " is truncated");
    if (std::memcmp(head, kUsedSignature, 4) != 0)
        fail(path, DbErrorKind::Damaged, "memo block " + std::to_string(block) + " is not the start of a memo");
    const uint32_t length = get32(head + 4);
    if (length < kUsedHeader || length - kUsedHeader > kMaxMemo || pos + length > m_file->size())
        fail(path, DbErrorKind::Damaged, "memo block " + std::to_string(block) + " has a damaged length");
    std::string out(length - kUsedHeader, '\0');
    m_file->read(pos + kUsedHeader, out.data(), out.size());
    return out;
}

std::string MemoFile::readDBase3(uint32_t block) {
    // Text runs over consecutive blocks up to 1A 1A (a single 1A from FoxPro-modified files),
    // bounded by the end of the file.
    std::string out;
    std::vector<char> buf(m_blockSize);
    for (uint64_t pos = uint64_t(block) * m_blockSize;; pos += m_blockSize) {
        const size_t n = m_file->read(pos, buf.data(), buf.size());
        if (n == 0) break;
        const void* end = std::memchr(buf.data(), 0x1A, n);
        if (end) {
            out.append(buf.data(), static_cast<const char*>(end) - buf.data());
            break;
        }
        out.append(buf.data(), n);
        if (out.size() > kMaxMemo)
            fail(m_file->path(), DbErrorKind::Damaged, "memo at block " + std::to_string(block) + " has no end");
    }
    return out;
}

MemoFile::FreeRun MemoFile::readFreeRun(uint32_t block) {
    uint8_t head[12] = {};
    const bool complete = m_file->read(uint64_t(block) * m_blockSize, head, 12) == 12;
    return {block, get32(head + 4), get32(head), complete && std::memcmp(head + 8, kFreeRunMark, 4) == 0};
}

void MemoFile::setEnd(uint32_t block) {
    uint8_t bytes[4];
    put32(bytes, block);
    m_file->write(0, bytes, 4);
    m_next = block;
}

void MemoFile::setFreeHead(uint32_t block) {
    uint8_t bytes[8];
    put32(bytes, block);
    std::memcpy(bytes + 4, kFreeListMark, 4);
    m_file->write(kFreeHeadOffset, bytes, 8);
    m_freeHead = block;
}

uint32_t MemoFile::allocate(uint32_t count) {
    const uint32_t end = endBlock();
    // First fit along the free list; the step bound stops a list that loops.
    uint32_t previous = 0;
    uint32_t current = m_freeHead;
    for (uint32_t steps = 0; current != 0; ++steps) {
        const FreeRun run = current < end ? readFreeRun(current) : FreeRun{current, 0, 0, false};
        if (steps > end || !run.marked || run.count == 0 || run.block + uint64_t(run.count) > end) {
            setFreeHead(0);  // the list does not hold together: give its space up
            break;
        }
        if (run.count >= count) {
            // A list entry pointing back into its own run would hand the run out twice.
            const bool selfReferring = run.next >= run.block && run.next < run.block + run.count;
            uint32_t successor = selfReferring ? 0 : run.next;
            if (run.count > count) {  // the rest of the run stays free
                successor = run.block + count;
                uint8_t head[12];
                put32(head, selfReferring ? 0 : run.next);
                put32(head + 4, run.count - count);
                std::memcpy(head + 8, kFreeRunMark, 4);
                m_file->write(uint64_t(successor) * m_blockSize, head, 12);
            }
            if (previous == 0) {
                setFreeHead(successor);
            } else {
                uint8_t bytes[4];
                put32(bytes, successor);
                m_file->write(uint64_t(previous) * m_blockSize, bytes, 4);
            }
            return run.block;
        }
        previous = current;
        current = run.next;
    }
    // New memos go at the end of the file (the caller moves the header's next free block
    // past them once they are written).
    return end;
}

uint32_t MemoFile::nextFreeBlock() {
    loadHeader();
    return m_next;
}

void MemoFile::requireWhole() {
    // A file that ends before its header's next free block was cut short: records may point
    // into the lost part, and a memo written at the end would take their blocks.
    const uint32_t end = endBlock();
    if (m_next > end)
        fail(m_file->path(), DbErrorKind::Damaged,
             "the memo file ends at block " + std::to_string(end) + " before its next free block " +
                 std::to_string(m_next) + ": it was cut short, and no memo is written to it");
}

uint32_t MemoFile::write(const std::string& bytes) {
    if (bytes.empty()) return 0;
    loadHeader();
    requireWhole();
    const uint32_t end = endBlock();
    if (!m_dbase4) {
        std::string data = bytes + "\x1A\x1A";
        data.resize(size_t(blocksFor(data.size())) * m_blockSize, '\0');
        m_file->write(uint64_t(end) * m_blockSize, data.data(), data.size());
        setEnd(end + blocksFor(data.size()));
        return end;
    }
    const uint32_t count = blocksFor(bytes.size() + kUsedHeader);
    const uint32_t block = allocate(count);
    std::string data(size_t(count) * m_blockSize, '\0');
    std::memcpy(data.data(), kUsedSignature, 4);
    put32(reinterpret_cast<uint8_t*>(data.data()) + 4, static_cast<uint32_t>(bytes.size() + kUsedHeader));
    std::memcpy(data.data() + kUsedHeader, bytes.data(), bytes.size());
    m_file->write(uint64_t(block) * m_blockSize, data.data(), data.size());
    // The header names the new end only once the memo is there: a writer that dies between
    // the two leaves a file longer than its header says, never a header past its end.
    if (block == end) setEnd(end + count);
    return block;
}

void MemoFile::release(uint32_t block) {
    if (!m_dbase4 || block == 0) return;
    loadHeader();
    const uint32_t end = endBlock();
    uint8_t head[kUsedHeader];
    if (block >= end || m_file->read(uint64_t(block) * m_blockSize, head, kUsedHeader) < kUsedHeader ||
        std::memcmp(head, kUsedSignature, 4) != 0)
        return;  // nothing valid to give back; never turn unknown bytes into free space
    const uint32_t count = blocksFor(get32(head + 4));
    if (count == 0 || block + uint64_t(count) > end) return;
    uint8_t run[12];
    put32(run, m_freeHead);
    put32(run + 4, count);
    std::memcpy(run + 8, kFreeRunMark, 4);
    m_file->write(uint64_t(block) * m_blockSize, run, 12);
    setFreeHead(block);
}

uint32_t MemoFile::extent(uint32_t block) {
    const std::string bytes = read(block);
    return blocksFor(bytes.size() + (m_dbase4 ? kUsedHeader : 2));
}

std::vector<std::pair<uint32_t, uint32_t>> MemoFile::freeRuns() {
    loadHeader();
    std::vector<std::pair<uint32_t, uint32_t>> runs;
    const uint32_t end = endBlock();
    for (uint32_t current = m_freeHead, steps = 0; current != 0 && current < end && steps <= end; ++steps) {
        const FreeRun run = readFreeRun(current);
        if (!run.marked || run.count == 0 || run.block + uint64_t(run.count) > end) break;
        runs.push_back({run.block, run.count});
        current = run.next;
    }
    return runs;
}

void MemoFile::clear(const std::string& baseName) {
    initialise(*m_file, m_dbase4, baseName);
    loadHeader();
}

}  // namespace dbase
