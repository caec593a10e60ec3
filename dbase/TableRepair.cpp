// Damage and repair of a table handle: the integrity check, the records a dead writer left
// past the header's count, and the reindex that rebuilds a table's index from scratch.
#include <algorithm>

#include "DbError.h"
#include "FieldCodec.h"
#include "MemoFile.h"
#include "Table.h"

namespace dbase {
namespace {

constexpr uint8_t kEndOfFile = 0x1A;
constexpr size_t kTailChunk = 1024 * 1024;

bool isDeletionFlag(uint8_t b) {
    return b == ' ' || b == '*';
}

std::string mdxNameOf(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".mdx";
}

}  // namespace

// ---- what lies past the header's count ------------------------------------------------------
//
// An append writes the record (and the end marker after it) before it raises the count in
// the header, and a bulk append writes a megabyte of records at a time. A writer that dies in
// between leaves whole records the header does not count. They are records: every stretch of
// a record's length past the count that begins with a deletion flag counts, up to the first
// that does not. After them the file may end, hold the one end marker, or hold something else
// (a record cut short by the crash, or bytes that are no record at all).

Table::Tail Table::readTail() {
    Tail tail;
    const uint64_t size = m_file->size();
    const uint32_t length = m_header.recordLength;
    uint64_t at = m_header.dataEnd();
    std::vector<uint8_t> chunk;
    const uint64_t perChunk = std::max<uint64_t>(1, kTailChunk / length);
    while (size >= at + length && uint64_t(m_header.recordCount) + tail.records < 0xFFFF'FFFEu) {
        const uint64_t wanted = std::min((size - at) / length, perChunk);
        chunk.resize(size_t(wanted * length));
        const uint64_t got = m_file->read(at, chunk.data(), chunk.size()) / length;
        uint64_t whole = 0;
        while (whole < got && isDeletionFlag(chunk[size_t(whole * length)])) ++whole;
        tail.records += uint32_t(whole);
        at += whole * length;
        if (whole < wanted) break;
    }
    tail.restBytes = size > at ? size - at : 0;
    if (tail.restBytes == 1) {
        uint8_t last = 0;
        if (m_file->read(at, &last, 1) == 1 && last == kEndOfFile) tail.restBytes = 0;
    }
    return tail;
}

uint32_t Table::recordsPastCount() {
    requireBrowse();
    readHeaderFromDisk();
    return readTail().records;
}

void Table::refuseRecordsPastCount(uint32_t count) {
    // Appending at the count would overwrite records a dead writer left after it.
    const uint64_t end = recordOffset(count + 1);
    if (m_file->size() < end + m_header.recordLength) return;
    uint8_t flag = 0;
    if (m_file->read(end, &flag, 1) == 1 && isDeletionFlag(flag))
        failHere(DbErrorKind::Damaged, "the file holds records after the " + std::to_string(count) +
                                           " its header counts (a write that did not finish); a reindex recovers them");
}

// ---- the integrity check -----------------------------------------------------------------

std::vector<std::string> Table::checkIntegrity() {
    requireBrowse();
    std::vector<std::string> faults;
    const auto fault = [&](const std::string& text) { faults.push_back(m_path + ": " + text); };
    readHeaderFromDisk();
    const Tail tail = readTail();
    if (tail.records > 0)
        fault("the file holds " + std::to_string(tail.records) + " whole records after the " +
              std::to_string(m_header.recordCount) + " its header counts (a write that did not finish); a reindex " +
              "recovers them");
    if (tail.restBytes > 0) fault("the file holds " + std::to_string(tail.restBytes) + " bytes past its last record");
    if (m_header.indexFlag == 0 && m_fs.exists(indexPath()))
        fault("the table's production index flag is cleared, but its index file " + mdxNameOf(m_fileName) +
              " exists and is not kept current; a reindex rebuilds it");
    if (m_mdx && !m_mdx->productionFlag())
        fault("the index file " + mdxNameOf(m_fileName) +
              " is not marked as a production index; a reindex rebuilds it");
    struct Use {
        uint32_t block, count, recNo;
    };
    std::vector<Use> memos;
    invalidateCache();
    for (uint32_t r = 1; r <= m_header.recordCount && faults.size() < 1000; ++r) {
        const uint8_t* rec = recordAt(r, Direction::Forward);
        if (!rec) {
            fault("record " + std::to_string(r) + " cannot be read");
            break;
        }
        if (!isDeletionFlag(rec[0])) fault("record " + std::to_string(r) + " has a damaged deletion flag");
        for (const FieldInfo& f : m_header.fields) {
            try {
                if (f.logical != FieldType::Memo) {
                    (void)codec::readAsText(f, rec, m_codePage);
                    continue;
                }
                const uint32_t block = codec::readMemoBlock(f, rec);
                if (block == 0) continue;
                if (!m_memo) throw DbError("the table has no memo file");
                memos.push_back({block, m_memo->extent(block), r});
            } catch (const DbError& e) {
                fault("record " + std::to_string(r) + ": " + e.what());
            }
        }
    }
    std::sort(memos.begin(), memos.end(), [](const Use& a, const Use& b) { return a.block < b.block; });
    for (size_t i = 1; i < memos.size(); ++i)
        if (memos[i].block < memos[i - 1].block + memos[i - 1].count)
            fault("the memos of records " + std::to_string(memos[i - 1].recNo) + " and " +
                  std::to_string(memos[i].recNo) + " share block " + std::to_string(memos[i].block));
    if (m_memo) {
        for (const auto& [block, count] : m_memo->freeRuns())
            for (const Use& u : memos)
                if (block < u.block + u.count && u.block < block + count)
                    fault("free memo block " + std::to_string(block) + " is in use by record " +
                          std::to_string(u.recNo));
        // Other writers put the next memo at the header's next free block: inside a used
        // memo it would overwrite that memo, past the end it shows the file was cut short.
        const uint32_t next = m_memo->nextFreeBlock();
        if (next > m_memo->endBlock())
            fault("the memo file ends at block " + std::to_string(m_memo->endBlock()) + " before its next free block " +
                  std::to_string(next) + ": it was cut short");
        for (const Use& u : memos)
            if (next >= u.block && next < u.block + u.count)
                fault("the memo file's next free block " + std::to_string(next) + " lies inside the memo of record " +
                      std::to_string(u.recNo));
    }
    invalidateCache();
    for (std::string& f : checkIndexes()) faults.push_back(std::move(f));
    return faults;
}

// ---- the reindex ----------------------------------------------------------------------------

ReindexReport Table::reindex(const std::string& folder, const std::string& fileName,
                             const std::vector<MdxFile::TagDefinition>& tags, FileSystem& fs,
                             const ReindexOptions& options) {
    Table t(folder, fileName, fs);
    // The table is opened exclusively and without its index before anything changes: a
    // table that cannot be read keeps its index and every other file as they are, and nobody
    // else has it open while the index is replaced.
    t.m_ignoreIndex = true;
    t.open({.exclusive = true});
    return t.rebuild(tags, options);
}

ReindexReport Table::rebuild(const std::vector<MdxFile::TagDefinition>& tags, const ReindexOptions& options) {
    ReindexReport report;
    const Tail tail = readTail();
    // The flag goes first: a table whose flag names an index file that is gone cannot be opened.
    const uint8_t zero = 0;
    m_file->write(kHeaderIndexFlagOffset, &zero, 1);
    m_header.indexFlag = 0;
    m_fs.remove(indexPath());
    if (tail.records > 0) {
        const uint32_t count = m_header.recordCount + tail.records;
        const uint8_t bytes[4] = {uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24)};
        m_file->write(kHeaderCountOffset, bytes, 4);
        m_header.recordCount = count;
        report.recoveredRecords = tail.records;
    }
    // What follows the last whole record is no record (an append cut short): the packed file
    // ends without it, and so does an unpacked one.
    report.droppedBytes = tail.restBytes;
    if (options.pack) {
        pack();
    } else if (tail.restBytes > 0) {
        m_file->truncate(m_header.dataEnd());
        m_file->write(m_header.dataEnd(), &kEndOfFile, 1);
        invalidateCache();
    }
    report.memoEndRepaired = repairMemoEnd();
    for (const auto& tag : tags) addIndex(tag.name, tag.expression, tag.descending);
    if (m_mdx) m_mdx->file().sync();
    m_file->sync();
    return report;
}

// A header whose next free block lies past the end of the memo file refuses every memo write
// (MemoFile). When every memo a record points at is still whole in the file, only unused
// space was lost (a writer died between raising the end and writing its memo, as older
// versions of this engine could), and the end is put back. When a record's memo lies in the
// lost part, the file stays as it is: it has to come from a backup.
bool Table::repairMemoEnd() {
    if (!m_memo || m_memo->nextFreeBlock() <= m_memo->endBlock()) return false;
    invalidateCache();
    for (uint32_t r = 1; r <= m_header.recordCount; ++r) {
        const uint8_t* rec = recordAt(r, Direction::Forward);
        if (!rec) return false;
        for (const FieldInfo& f : m_header.fields) {
            if (f.logical != FieldType::Memo) continue;
            try {
                if (const uint32_t block = codec::readMemoBlock(f, rec)) (void)m_memo->extent(block);
            } catch (const DbError&) {
                return false;
            }
        }
    }
    m_memo->setNextFreeToEnd();
    m_memo->sync();
    return true;
}

}  // namespace dbase
