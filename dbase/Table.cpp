#include "Table.h"

#include <time.h>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <thread>

#include "DbError.h"
#include "FieldCodec.h"
#include "Locks.h"
#include "MemoFile.h"
#include "Transaction.h"

namespace dbase {
namespace {

constexpr size_t kMinChunk = 4 * 1024;
constexpr size_t kMaxChunk = 1024 * 1024;
constexpr uint8_t kEndOfFile = 0x1A;
constexpr uint8_t kDeleted = '*';
constexpr int64_t kReadAheadMilliseconds = 100;  // how long read-ahead may serve a walk (Table.h)

// A monotonic clock of a few milliseconds' resolution, cheap enough to ask at every record a
// walk serves.
int64_t coarseMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string baseName(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::string withExtension(const std::string& fileName, const char* ext) {
    return baseName(fileName) + ext;
}

std::vector<uint8_t> blankRecord(const TableHeader& h) {
    std::vector<uint8_t> rec(h.recordLength, ' ');
    for (const FieldInfo& f : h.fields) codec::setNull(f, rec.data());
    return rec;
}

// Today's date as the header stores it (years since 1900, month, day), worked out once a
// second at most: appends in bulk should not pay for a time-zone conversion each.
void headerDate(uint8_t out[3]) {
    static thread_local std::time_t cachedAt = 0;
    static thread_local uint8_t cached[3] = {};
    const std::time_t now = std::time(nullptr);
    if (now != cachedAt) {
        std::tm tm{};
        localtime_r(&now, &tm);
        cached[0] = uint8_t(tm.tm_year);
        cached[1] = uint8_t(tm.tm_mon + 1);
        cached[2] = uint8_t(tm.tm_mday);
        cachedAt = now;
    }
    std::memcpy(out, cached, 3);
}

}  // namespace

Table::Table(std::string folder, std::string fileName, FileSystem& fs)
    : m_folder(std::move(folder)), m_fileName(std::move(fileName)), m_fs(fs) {
    m_path = joinPath(m_folder, m_fileName);
}

Table::~Table() {
    clearMasterLink();
    for (Table* detail : m_details) detail->m_master = nullptr;
    m_details.clear();
    try {
        close();
    } catch (const DbError&) {
        // Destructors never throw; callers that append in bulk end it themselves to see errors.
        m_file.reset();
        m_memo.reset();
    }
}

void Table::failHere(const std::string& cause) const {
    fail(m_path, cause);
}

void Table::failHere(DbErrorKind kind, const std::string& cause) const {
    fail(m_path, kind, cause);
}

void Table::badField(int field) const {
    requireOpen();
    failHere(DbErrorKind::Invalid, "field number " + std::to_string(field) + " does not exist");
}

void Table::noCurrentRecord() const {
    failHere("there is no current record");
}

void Table::notEditing() const {
    failHere("the table is not in edit or insert state");
}

// ---- definition ---------------------------------------------------------------------------

void Table::create(const std::string& folder, const std::string& fileName, const std::vector<FieldDef>& fields,
                   TableLevel level, FileSystem& fs) {
    const std::string path = resolvePath(folder, fileName);
    if (fs.exists(path)) fail(path, "the table already exists");
    TableHeader header = TableHeader::build(path, fields, level);
    std::vector<uint8_t> bytes = header.serialize();
    bytes.push_back(kEndOfFile);
    if (header.hasMemo()) {
        const std::string memo = resolvePath(folder, withExtension(fileName, ".dbt"));
        auto memoFile = fs.open(memo, OpenMode::Create);
        MemoFile::initialise(*memoFile, header.memoIsDBase4(), baseName(fileName));
        memoFile->sync();
    }
    auto file = fs.open(path, OpenMode::Create);
    file->write(0, bytes.data(), bytes.size());
    file->sync();
}

void Table::drop(const std::string& folder, const std::string& fileName, FileSystem& fs) {
    Table table(folder, fileName, fs);
    table.open({.exclusive = true});
    const std::string path = table.path();
    const std::string memo = table.memoPath();
    table.close();
    fs.remove(resolvePath(folder, withExtension(fileName, ".mdx")));
    fs.remove(memo);
    fs.remove(path);
}

void Table::clearIndexFlag(const std::string& path, FileSystem& fs) {
    auto file = fs.open(path, OpenMode::ReadWrite);
    uint8_t head[32];
    if (file->read(0, head, sizeof head) < sizeof head) fail(path, "the header is truncated");
    if (head[0] != 0x03 && head[0] != 0x83 && head[0] != 0x8B && head[0] != 0x04 && head[0] != 0x8C)
        fail(path, "not a dBASE table");
    const uint8_t zero = 0;
    file->write(kHeaderIndexFlagOffset, &zero, 1);
    file->sync();
}

void Table::emptyTable() {
    requireBrowse();
    if (!m_options.exclusive) failHere("emptying a table needs it open exclusively");
    requireNoTransaction("emptying");
    m_endMarkerCount.reset();
    m_header.recordCount = 0;
    std::vector<uint8_t> bytes = m_header.serialize();
    bytes.push_back(kEndOfFile);
    m_file->truncate(0);
    m_file->write(0, bytes.data(), bytes.size());
    if (m_memo) m_memo->clear(baseName(m_fileName));
    m_file->sync();
    rebuildIndexes();
    invalidateCache();
    m_visibleCount.reset();
    setEmptyPosition();
    notifyDetails();
}

bool Table::pack() {
    m_endMarkerCount.reset();
    requireBrowse();
    if (!m_options.exclusive) failHere("packing a table needs it open exclusively");
    requireNoTransaction("packing");
    readHeaderFromDisk();
    // The packed file ends at the count: records past it would be lost (a reindex counts them).
    if (const uint32_t past = readTail().records; past > 0)
        failHere(DbErrorKind::Damaged, "the file holds " + std::to_string(past) + " records after the " +
                                           std::to_string(m_header.recordCount) +
                                           " its header counts; a reindex recovers them");
    // The packed rows go to a new file that replaces the table in one rename; the lock taken
    // on the new file before the rename keeps the table exclusive throughout. Memo blocks keep
    // their numbers, so the memo file stays valid whichever file a crash leaves.
    const std::string temp = m_path + ".pack";
    auto out = m_fs.open(temp, OpenMode::Create);
    if (!locks::tryOpenLock(*out, true)) failHere(errtext::kTableBusy);
    std::vector<uint32_t> freedMemos;
    std::vector<uint8_t> chunk;
    uint32_t kept = 0;
    const uint64_t start = m_header.headerLength;
    for (uint32_t r = 1; r <= m_header.recordCount; ++r) {
        const uint8_t* rec = recordAt(r, Direction::Forward);
        if (!rec) break;
        if (rec[0] == kDeleted) {
            for (const FieldInfo& f : m_header.fields)
                if (f.logical == FieldType::Memo) freedMemos.push_back(codec::readMemoBlock(f, rec));
            continue;
        }
        chunk.insert(chunk.end(), rec, rec + m_header.recordLength);
        ++kept;
        if (chunk.size() >= kMaxChunk) {
            out->write(start + uint64_t(kept) * m_header.recordLength - chunk.size(), chunk.data(), chunk.size());
            chunk.clear();
        }
    }
    chunk.push_back(kEndOfFile);
    out->write(start + uint64_t(kept) * m_header.recordLength + 1 - chunk.size(), chunk.data(), chunk.size());
    TableHeader packed = m_header;
    packed.recordCount = kept;
    const std::vector<uint8_t> head = packed.serialize();
    out->write(0, head.data(), head.size());
    out->sync();
    try {
        m_fs.rename(temp, m_path);
    } catch (const DbError&) {
        m_fs.remove(temp);
        throw;
    }
    m_file = participatingFile(std::move(out), m_folderState);
    m_header = packed;
    if (m_memo)
        for (uint32_t block : freedMemos) m_memo->release(block);
    invalidateCache();
    m_visibleCount.reset();
    rebuildIndexes();
    first();
    return true;
}

// ---- opening ------------------------------------------------------------------------------

void Table::open(const OpenOptions& options) {
    if (isOpen()) failHere("the table is already open");
    m_path = resolvePath(m_folder, m_fileName);
    // A save that a dead process left half done is rolled back before anything is read.
    recoverFolder(m_folder, m_fs);
    if (!m_fs.exists(m_path)) failHere(DbErrorKind::Missing, "the table does not exist");
    auto file = m_fs.open(m_path, options.readOnly ? OpenMode::ReadOnly : OpenMode::ReadWrite);
    if (!locks::tryOpenLock(*file, options.exclusive)) failHere(errtext::kTableBusy);
    m_folderState = folderState(m_folder);
    m_epoch = rollbackEpoch(*m_folderState);
    m_file = participatingFile(std::move(file), m_folderState);
    m_options = options;
    try {
        readHeaderFromDisk();
        m_fieldByName.clear();
        for (size_t i = 0; i < m_header.fields.size(); ++i) m_fieldByName[upper(m_header.fields[i].name)] = int(i);
        if (m_header.hasMemo()) openMemo();
        if (m_header.indexFlag != 0 && !m_ignoreIndex) openIndex();
    } catch (...) {
        m_file.reset();
        m_memo.reset();
        m_mdx.reset();
        throw;
    }
    m_blank.clear();
    m_codePage = m_header.codePage();
    m_orderTag = -1;
    m_orderText.clear();
    m_rangeSort.reset();
    m_state = TableState::Browse;
    m_chunkBytes = kMinChunk;
    rebuildPredicate();
    first();
}

std::string Table::memoPath() const {
    return resolvePath(m_folder, withExtension(m_fileName, ".dbt"));
}

void Table::openMemo() {
    const std::string path = memoPath();
    if (!m_fs.exists(path))
        failHere(DbErrorKind::Missing, "the memo file " + withExtension(m_fileName, ".dbt") + " is missing");
    m_memo = std::make_unique<MemoFile>(
        participatingFile(m_fs.open(path, m_options.readOnly ? OpenMode::ReadOnly : OpenMode::ReadWrite),
                          m_folderState),
        m_header.memoIsDBase4());
}

void Table::close() {
    if (!isOpen()) return;
    if (m_bulkPending > 0) {
        finishEdit();
        flushBulk();
    }
    m_bulk = false;
    m_lockedRecord = 0;  // closing the file drops its locks
    m_memo.reset();
    m_mdx.reset();
    m_file.reset();
    m_folderState.reset();
    m_ix = {};
    m_orderTag = -1;
    m_file.reset();  // closing the descriptor drops its locks
    m_state = TableState::Inactive;
    m_pendingMemos.clear();
    invalidateCache();
    m_current = nullptr;
    m_recNo = 0;
    m_eof = m_bof = true;
}

void Table::readHeaderFromDisk() {
    std::vector<uint8_t> bytes(kMinHeaderRead);
    bytes.resize(m_file->read(0, bytes.data(), bytes.size()));
    if (bytes.size() < 32) failHere(DbErrorKind::Damaged, "the header is truncated");
    // One byte more than the header: the first record's deletion flag, which shows whether
    // the header length is right.
    const size_t length = size_t(bytes[8] | bytes[9] << 8) + 1;
    if (length > bytes.size()) {
        bytes.resize(length);
        bytes.resize(m_file->read(0, bytes.data(), length));
    }
    m_header = TableHeader::parse(m_path, bytes, m_file->size());
}

uint32_t Table::readCountFromDisk() {
    // The date is read with the count: an append rewrites both, so under the header lock this
    // one read also holds what a transaction's journal needs of them.
    uint8_t head[7];
    if (m_file->read(kHeaderDateOffset, head, 7) < 7) failHere(DbErrorKind::Damaged, "the header is truncated");
    const uint8_t* bytes = head + (kHeaderCountOffset - kHeaderDateOffset);
    const uint32_t count =
        uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    if (count == m_header.recordCount) return count;  // checked against the file size before
    if (m_header.headerLength + uint64_t(count) * m_header.recordLength > m_file->size())
        failHere(DbErrorKind::Damaged,
                 "the record count " + std::to_string(count) + " goes beyond the end of the file");
    m_visibleCount.reset();
    m_header.recordCount = count;
    return count;
}

void Table::requireOpen() const {
    if (!isOpen()) failHere("the table is not open");
}

void Table::requireNoTransaction(const char* what) const {
    if (m_folderState && transactionActive(*m_folderState))
        failHere(std::string(what) + " a table cannot be part of a transaction");
}

void Table::followRollback() {
    // A transaction of this folder was rolled back: what this handle read or wrote in it is
    // gone, so it re-reads the table and leaves any edit.
    m_epoch = rollbackEpoch(*m_folderState);
    m_endMarkerCount.reset();
    m_state = TableState::Browse;
    m_pendingMemos.clear();
    m_lockedRecord = 0;
    m_bulkPending = 0;
    m_bulkRecords.clear();
    readHeaderFromDisk();
    invalidateCache();
    m_visibleCount.reset();
    if (m_mdx) m_mdx->forget();
    m_ix = {};
    // The record the handle stood on may be one the rolled-back transaction appended.
    const uint32_t at = m_recNo <= m_header.recordCount ? m_recNo : 0;
    const uint8_t* rec = at ? (m_orderTag >= 0 ? readIndexed(at) : recordAt(at, Direction::Forward)) : nullptr;
    if (rec && visible(rec)) {
        placeOn(at, rec);
    } else {
        first();
    }
}

void Table::finishEdit() {
    requireOpen();
    if (m_folderState && rollbackEpoch(*m_folderState) != m_epoch) followRollback();
    if (m_state == TableState::Edit || m_state == TableState::Insert) post();
}

void Table::requireBrowse() {
    finishEdit();
    if (m_bulkPending > 0) flushBulk();
}

void Table::beginBulkAppend() {
    requireBrowse();
    m_bulk = true;
}

void Table::endBulkAppend() {
    if (!isOpen()) return;
    try {
        finishEdit();
        flushBulk();
    } catch (...) {
        // Reported here; what was not written is dropped, not tried again at close.
        m_bulk = false;
        m_bulkPending = 0;
        m_bulkRecords.clear();
        throw;
    }
    m_bulk = false;
}

void Table::flushBulk() {
    if (m_bulkPending == 0) return;
    locks::Guard headerLock(*m_file, locks::kHeaderLockOffset, locks::kHeaderLockLength, m_path);
    const uint32_t count = readCountFromDisk();
    refuseRecordsPastCount(count);
    if (uint64_t(count) + m_bulkPending > 0xFFFF'FFFEu) failHere("the table is full");
    m_bulkRecords.push_back(kEndOfFile);
    m_file->write(recordOffset(count + 1), m_bulkRecords.data(), m_bulkRecords.size());
    const uint32_t newCount = count + m_bulkPending;
    uint8_t head[7] = {
        0, 0, 0, uint8_t(newCount), uint8_t(newCount >> 8), uint8_t(newCount >> 16), uint8_t(newCount >> 24)};
    headerDate(head);
    m_file->write(kHeaderDateOffset, head, sizeof head);
    m_header.recordCount = newCount;
    m_recNo = newCount;
    m_bulkRecords.pop_back();
    indexAppended(count + 1, m_bulkRecords.data(), m_bulkPending);
    m_bulkRecords.clear();
    m_bulkPending = 0;
    m_visibleCount.reset();
}

int Table::fieldIndex(std::string_view name) const {
    const auto it = m_fieldByName.find(upper(name));
    return it == m_fieldByName.end() ? -1 : it->second;
}

int Table::fieldNumber(std::string_view name) const {
    const int i = fieldIndex(name);
    if (i < 0) failHere(DbErrorKind::Invalid, "the table has no field " + std::string(name));
    return i;
}

// ---- reading and navigation ---------------------------------------------------------------

const uint8_t* Table::recordAt(uint32_t recNo, Direction dir) {
    if (recNo == 0 || recNo > m_header.recordCount) return nullptr;
    if (recNo >= m_cacheFirst && recNo < m_cacheFirst + m_cacheCount) {
        if (coarseMilliseconds() - m_cacheTaken <= kReadAheadMilliseconds)
            return m_cache.get() + size_t(recNo - m_cacheFirst) * m_header.recordLength;
        m_cacheCount = 0;  // too old to serve a walk: read again from here
    }
    // Sequential scans read growing chunks; a jump starts small again.
    const bool sequential = m_cacheCount > 0 && (recNo == m_cacheFirst + m_cacheCount || recNo + 1 == m_cacheFirst);
    m_chunkBytes = sequential ? std::min(m_chunkBytes * 2, kMaxChunk) : kMinChunk;
    const uint32_t perChunk = std::max<uint32_t>(1, uint32_t(m_chunkBytes / m_header.recordLength));
    uint32_t start = recNo;
    if (dir == Direction::Backward) start = recNo > perChunk ? recNo - perChunk + 1 : 1;
    const uint32_t count = std::min(perChunk, m_header.recordCount - start + 1);
    const size_t bytes = size_t(count) * m_header.recordLength;
    if (m_cacheCapacity < bytes) {
        m_cacheCapacity = std::max(bytes, kMaxChunk + m_header.recordLength);
        m_cache.reset(new uint8_t[m_cacheCapacity]);  // left uninitialised: it is read into at once
    }
    const size_t got = m_file->read(recordOffset(start), m_cache.get(), bytes);
    m_cacheTaken = coarseMilliseconds();
    const uint64_t serial = m_folderState ? transactionSerial(*m_folderState) : 0;
    m_cacheLockedIn =
        serial != 0 && m_file->heldByTransaction(locks::recordLockOffset(start + count - 1), count) ? serial : 0;
    m_cacheFirst = start;
    m_cacheCount = uint32_t(got / m_header.recordLength);  // another process may have emptied the table
    if (recNo >= m_cacheFirst + m_cacheCount) return nullptr;
    return m_cache.get() + size_t(recNo - m_cacheFirst) * m_header.recordLength;
}

bool Table::visible(const uint8_t* record) const {
    if (record[0] == kDeleted) return false;
    if (m_linkMatchesNothing) return false;
    if (m_linkPredicate && !m_linkPredicate->test(record)) return false;
    return !m_filtered || !m_filterPredicate || m_filterPredicate->test(record);
}

void Table::placeOn(uint32_t recNo, const uint8_t* record) {
    m_recNo = recNo;
    m_current = record;
}

void Table::setEmptyPosition() {
    m_recNo = 0;
    m_current = nullptr;
    m_eof = m_bof = true;
}

bool Table::scanForward(uint32_t from) {
    for (uint32_t r = from; r <= m_header.recordCount; ++r) {
        const uint8_t* rec = recordAt(r, Direction::Forward);
        if (!rec) return false;
        if (visible(rec)) {
            placeOn(r, rec);
            return true;
        }
    }
    return false;
}

bool Table::scanBackward(uint32_t from) {
    for (uint32_t r = std::min(from, m_header.recordCount); r >= 1; --r) {
        const uint8_t* rec = recordAt(r, Direction::Backward);
        if (rec && visible(rec)) {
            placeOn(r, rec);
            return true;
        }
    }
    return false;
}

void Table::first() {
    requireBrowse();
    readCountFromDisk();
    invalidateCache();
    if (m_orderTag >= 0) {
        indexFirst();
    } else if (scanForward(1)) {
        m_bof = true;
        m_eof = false;
    } else {
        setEmptyPosition();
    }
    notifyDetails();
}

void Table::last() {
    requireBrowse();
    readCountFromDisk();
    invalidateCache();
    if (m_orderTag >= 0) {
        indexLast();
    } else if (scanBackward(m_header.recordCount)) {
        m_bof = false;
        m_eof = true;
    } else {
        setEmptyPosition();
    }
    notifyDetails();
}

void Table::next() {
    requireBrowse();
    if (m_recNo == 0) return;
    if (m_orderTag >= 0) {
        if (indexStep(Direction::Forward)) {
            m_bof = m_eof = false;
            notifyDetails();
        } else {
            m_eof = true;
        }
        return;
    }
    if (scanForward(m_recNo + 1)) {
        m_bof = m_eof = false;
        notifyDetails();
    } else {
        m_eof = true;
        m_current = recordAt(m_recNo, Direction::Forward);
    }
}

void Table::prior() {
    requireBrowse();
    if (m_recNo == 0) return;
    if (m_orderTag >= 0) {
        if (indexStep(Direction::Backward)) {
            m_bof = m_eof = false;
            notifyDetails();
        } else {
            m_bof = true;
        }
        return;
    }
    if (m_recNo > 1 && scanBackward(m_recNo - 1)) {
        m_bof = m_eof = false;
        notifyDetails();
    } else {
        m_bof = true;
        m_current = recordAt(m_recNo, Direction::Backward);
    }
}

uint32_t Table::recordCount() {
    requireOpen();
    if (m_state == TableState::Browse) readCountFromDisk();
    if (m_visibleCount) return *m_visibleCount;
    if (m_rangeSort) {
        m_visibleCount = countInRange();
        return *m_visibleCount;
    }
    // Counting walks its own reads so the cursor's cache stays where the cursor is.
    uint32_t visibleCount = 0;
    std::vector<uint8_t> chunk(kMaxChunk / m_header.recordLength * m_header.recordLength + m_header.recordLength);
    const uint32_t perChunk = uint32_t(chunk.size() / m_header.recordLength);
    for (uint32_t r = 1; r <= m_header.recordCount; r += perChunk) {
        const uint32_t n = std::min(perChunk, m_header.recordCount - r + 1);
        const size_t got = m_file->read(recordOffset(r), chunk.data(), size_t(n) * m_header.recordLength);
        const uint32_t have = uint32_t(got / m_header.recordLength);
        for (uint32_t k = 0; k < have; ++k)
            if (visible(chunk.data() + size_t(k) * m_header.recordLength)) ++visibleCount;
        if (have < n) break;
    }
    m_visibleCount = visibleCount;
    if (m_current && m_state == TableState::Browse && m_current != m_buffer.data() && m_current != m_ixRecord.data())
        m_current = recordAt(m_recNo, Direction::Forward);
    return visibleCount;
}

bool Table::gotoBookmark(const Bookmark& mark) {
    requireBrowse();
    readCountFromDisk();
    invalidateCache();
    const uint8_t* rec = recordAt(mark.recNo, Direction::Forward);
    if (!rec || !visible(rec)) {
        if (m_recNo) m_current = recordAt(m_recNo, Direction::Forward);  // stays, read afresh
        return false;
    }
    placeOn(mark.recNo, rec);
    placeIndexOn(mark.recNo);
    m_eof = m_bof = false;
    notifyDetails();
    return true;
}

void Table::refresh() {
    requireBrowse();
    readCountFromDisk();
    invalidateCache();
    m_visibleCount.reset();
    if (m_orderTag >= 0) {
        // Re-read the current record and find it again in the (possibly changed) index.
        const uint32_t at = m_recNo;
        MdxRead read(*m_mdx);
        const uint8_t* rec = at ? readIndexed(at) : nullptr;
        if (rec && visible(rec)) {
            placeOn(at, rec);
            placeIndexOn(at);
            if (!m_ix.valid())
                m_ix = m_mdx->lowerBound(m_orderTag, m_mdx->sortForm(m_orderTag, tagKey(m_orderTag, rec)));
        } else if (at) {
            m_ix = m_mdx->lowerBound(m_orderTag, m_mdx->sortForm(m_orderTag, tagKey(m_orderTag, rec)));
            if (!settleIndex(Direction::Forward)) indexLast();
        } else {
            indexFirst();
        }
        if (m_recNo) m_eof = m_bof = false;
        notifyDetails();
        return;
    }
    const uint32_t at = m_recNo;
    const uint8_t* rec = at ? recordAt(at, Direction::Forward) : nullptr;
    if (rec && visible(rec)) {
        placeOn(at, rec);
    } else if (!(at && scanForward(at)) && !(at && scanBackward(at)) && !scanForward(1)) {
        setEmptyPosition();
    }
    if (m_recNo) m_eof = m_bof = false;
    notifyDetails();
}

bool Table::locate(const std::vector<std::pair<std::string, std::string>>& fieldValues, const LocateOptions& options) {
    requireBrowse();
    std::vector<std::unique_ptr<RecordPredicate>> parts;
    for (const auto& [name, value] : fieldValues)
        parts.push_back(
            makeFieldEquals(m_header, fieldNumber(name), value, options.caseInsensitive, options.partialKey, m_path));
    const auto predicate = makeAll(std::move(parts));
    readCountFromDisk();
    invalidateCache();
    const auto& [firstName, firstValue] = fieldValues.front();
    if (m_orderTag >= 0) return locateInOrder(*predicate, fieldNumber(firstName), firstValue, options);
    if (const auto found = locateByTag(*predicate, fieldNumber(firstName), firstValue, options)) {
        if (*found == 0) {
            if (m_recNo) m_current = recordAt(m_recNo, Direction::Forward);
            return false;
        }
        placeOn(*found, recordAt(*found, Direction::Forward));
        m_eof = m_bof = false;
        notifyDetails();
        return true;
    }
    for (uint32_t r = 1; r <= m_header.recordCount; ++r) {
        const uint8_t* rec = recordAt(r, Direction::Forward);
        if (!rec) break;
        if (visible(rec) && predicate->test(rec)) {
            placeOn(r, rec);
            m_eof = m_bof = false;
            notifyDetails();
            return true;
        }
    }
    // Not found: the cursor stays on its record.
    if (m_recNo) m_current = recordAt(m_recNo, Direction::Forward);
    return false;
}

bool Table::locateInOrder(const RecordPredicate& predicate, int field, const std::string& value,
                          const LocateOptions& options) {
    const MdxFile::Cursor saved = m_ix;
    const uint32_t savedRec = m_recNo;
    MdxRead read(*m_mdx);
    // When the order's own field is searched, only its stretch of keys is walked.
    const auto range = m_tagField[size_t(m_orderTag)] == field ? keyRange(m_orderTag, value, options) : std::nullopt;
    if (range)
        m_ix = m_mdx->lowerBound(m_orderTag, range->low);
    else
        m_ix = m_rangeSort ? m_mdx->lowerBound(m_orderTag, *m_rangeSort) : m_mdx->first(m_orderTag);
    while (settleIndex(Direction::Forward)) {
        if (range && !withinKeyRange(m_mdx->sortAt(m_ix), *range)) break;
        if (predicate.test(m_current)) {
            m_eof = m_bof = false;
            notifyDetails();
            return true;
        }
        m_mdx->next(m_ix);
    }
    m_ix = saved;
    m_recNo = savedRec;
    m_current = m_recNo ? readIndexed(m_recNo) : nullptr;
    return false;
}

// ---- filter and master link ---------------------------------------------------------------

void Table::rebuildPredicate() {
    m_filterPredicate.reset();
    if (isOpen() && !m_filterText.empty())
        m_filterPredicate = compileFilter(m_filterText, m_header, m_filterOptions, m_path);
    m_visibleCount.reset();
}

void Table::setFilter(const std::string& expression) {
    const std::string previous = m_filterText;
    m_filterText = expression;
    try {
        rebuildPredicate();
    } catch (...) {
        m_filterText = previous;
        rebuildPredicate();
        throw;
    }
    if (isOpen() && m_filtered) first();
}

void Table::setFiltered(bool on) {
    m_filtered = on;
    m_visibleCount.reset();
    if (isOpen()) first();
}

void Table::setFilterOptions(const FilterOptions& options) {
    m_filterOptions = options;
    rebuildPredicate();
    if (isOpen() && m_filtered) first();
}

void Table::setMasterLink(Table& master, const std::string& masterField, const std::string& detailField) {
    clearMasterLink();
    m_master = &master;
    m_masterField = masterField;
    m_detailField = detailField;
    master.m_details.push_back(this);
    masterMoved();
}

void Table::clearMasterLink() {
    if (m_master) {
        auto& list = m_master->m_details;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    m_master = nullptr;
    m_linkPredicate.reset();
    m_linkMatchesNothing = false;
    m_linkValue.reset();
    m_rangeSort.reset();
    m_visibleCount.reset();
}

void Table::masterMoved() {
    if (!m_master || !isOpen()) return;
    m_visibleCount.reset();
    if (!m_master->isOpen() || m_master->isEmpty()) {
        m_linkPredicate.reset();
        m_linkMatchesNothing = true;
        m_linkValue.reset();
    } else {
        m_linkMatchesNothing = false;
        m_linkValue = m_master->asString(m_masterField);
        m_linkPredicate = makeFieldEquals(m_header, fieldNumber(m_detailField), *m_linkValue, false, false, m_path);
    }
    updateLinkRange();
    if (m_state == TableState::Browse) first();
}

void Table::notifyDetails() {
    for (Table* detail : m_details) detail->masterMoved();
}

// ---- records ------------------------------------------------------------------------------

std::vector<uint8_t> Table::readRecordFromDisk(uint32_t recNo) {
    std::vector<uint8_t> rec(m_header.recordLength);
    if (m_file->read(recordOffset(recNo), rec.data(), rec.size()) < rec.size())
        failHere(DbErrorKind::Damaged, "record " + std::to_string(recNo) + " lies beyond the end of the file");
    return rec;
}

void Table::patchCache(uint32_t recNo, const uint8_t* record) {
    if (recNo >= m_cacheFirst && recNo < m_cacheFirst + m_cacheCount)
        std::memcpy(m_cache.get() + size_t(recNo - m_cacheFirst) * m_header.recordLength, record,
                    m_header.recordLength);
}

void Table::append() {
    finishEdit();
    if (m_options.readOnly) failHere("the table is open read-only");
    if (m_blank.size() != m_header.recordLength) m_blank = blankRecord(m_header);
    m_buffer.assign(m_blank.begin(), m_blank.end());
    m_pendingMemos.clear();
    m_current = m_buffer.data();
    m_state = TableState::Insert;
}

void Table::edit() {
    requireBrowse();
    if (m_options.readOnly) failHere("the table is open read-only");
    if (m_recNo == 0) failHere("there is no current record to edit");
    // The record is locked, then re-read: what is edited is what is on disk now, and nobody
    // else changes it until post or cancel. A record read while its lock was already held is
    // that already.
    lockRecord(m_recNo);
    try {
        if (currentReadUnderLock())
            m_buffer.assign(m_current, m_current + m_header.recordLength);
        else
            m_buffer = readRecordFromDisk(m_recNo);
        m_editBefore = m_buffer;
    } catch (...) {
        unlockRecord();
        throw;
    }
    if (m_buffer[0] == kDeleted) {
        unlockRecord();
        patchCache(m_recNo, m_buffer.data());
        failHere("record " + std::to_string(m_recNo) + " was deleted by another user");
    }
    patchCache(m_recNo, m_buffer.data());
    m_pendingMemos.clear();
    m_current = m_buffer.data();
    m_state = TableState::Edit;
}

void Table::writeMemos() {
    if (m_pendingMemos.empty()) return;
    if (!m_memo) failHere(DbErrorKind::Damaged, "the table has no memo file");
    locks::Guard memoLock(m_memo->file(), locks::kMemoLockOffset, locks::kMemoLockLength, m_path);
    for (const auto& [field, text] : m_pendingMemos) {
        const FieldInfo& f = m_header.fields[size_t(field)];
        const uint32_t block = m_memo->write(fromUtf8(codePage(), text));
        codec::writeMemoBlock(f, m_buffer.data(), block);
    }
}

void Table::appendRecord() {
    // Inside a transaction the header lock, once taken, stays taken: the first append of the
    // transaction looked past the count, and nobody else can have appended since.
    const bool looked = m_file->heldByTransaction(locks::kHeaderLockOffset, locks::kHeaderLockLength);
    locks::Guard headerLock(*m_file, locks::kHeaderLockOffset, locks::kHeaderLockLength, m_path);
    const uint32_t count = readCountFromDisk();
    if (!looked) refuseRecordsPastCount(count);
    if (count == 0xFFFF'FFFFu) failHere("the table is full");
    // This handle's last append ended the file with the marker; while the count is still the
    // one it left, the marker is still there (spares a transaction reading it back).
    if (m_endMarkerCount == count && m_endMarkerRollbacks == m_file->rollbackCount()) {
        m_file->knownContent(recordOffset(count + 1), &kEndOfFile, 1);
        m_file->knownSize(recordOffset(count + 1) + 1, true);  // and the file ends with it
    }
    m_buffer.push_back(kEndOfFile);
    m_file->write(recordOffset(count + 1), m_buffer.data(), m_buffer.size());
    m_endMarkerCount = count + 1;
    m_endMarkerRollbacks = m_file->rollbackCount();
    m_buffer.pop_back();
    const uint32_t newCount = count + 1;
    uint8_t head[7] = {
        0, 0, 0, uint8_t(newCount), uint8_t(newCount >> 8), uint8_t(newCount >> 16), uint8_t(newCount >> 24)};
    headerDate(head);
    m_file->write(kHeaderDateOffset, head, sizeof head);
    m_header.recordCount = newCount;
    m_recNo = newCount;
    indexAppended(newCount, m_buffer.data(), 1);
}

void Table::rewriteRecord() {
    // The record as edit read it under the record lock is what is on disk now.
    const std::vector<uint8_t>& before = m_editBefore;
    bool keysChange = false;
    for (size_t t = 0; m_mdx && t < m_tagField.size() && !keysChange; ++t)
        keysChange = tagKey(int(t), before.data()) != tagKey(int(t), m_buffer.data());
    // When keys change, the record and its keys change together under the index lock.
    m_keysChanged = keysChange;
    std::optional<MdxChange> change;
    if (keysChange) change.emplace(*m_mdx);
    m_file->write(recordOffset(m_recNo), m_buffer.data(), m_buffer.size());
    patchCache(m_recNo, m_buffer.data());
    if (keysChange) {
        indexRewritten(before.data(), m_buffer.data(), m_recNo);
        change->commit();
    }
    if (m_pendingMemos.empty()) return;
    // The old memo blocks are free only once the record no longer points at them.
    if (m_memo && !before.empty()) {
        locks::Guard memoLock(m_memo->file(), locks::kMemoLockOffset, locks::kMemoLockLength, m_path);
        for (const auto& entry : m_pendingMemos) {
            const uint32_t old = codec::readMemoBlock(m_header.fields[size_t(entry.first)], before.data());
            if (old != codec::readMemoBlock(m_header.fields[size_t(entry.first)], m_buffer.data()))
                m_memo->release(old);
        }
    }
}

void Table::post() {
    requireOpen();
    if (m_folderState && rollbackEpoch(*m_folderState) != m_epoch) followRollback();
    if (m_state != TableState::Edit && m_state != TableState::Insert) return;
    writeMemos();
    const bool inserting = m_state == TableState::Insert;
    if (inserting && m_bulk) {
        m_bulkRecords.insert(m_bulkRecords.end(), m_buffer.begin(), m_buffer.end());
        ++m_bulkPending;
        m_recNo = m_header.recordCount + m_bulkPending;  // provisional until written
        if (m_bulkRecords.size() >= kMaxChunk) flushBulk();
    } else if (inserting) {
        appendRecord();
    } else {
        rewriteRecord();
    }
    m_pendingMemos.clear();
    unlockRecord();
    m_state = TableState::Browse;
    m_visibleCount.reset();
    m_current = m_buffer.data();
    m_eof = m_bof = false;
    if (inserting) invalidateCache();
    if (inserting && !m_bulk)
        placeIndexOnNewest(m_recNo);
    else if (!inserting && (m_keysChanged || !m_ix.valid()))
        placeIndexOn(m_recNo);
    notifyDetails();
}

void Table::lockRecord(uint32_t recNo) {
    // A transaction's first change of a record of the table locks every record of it at once,
    // when no other handle holds one: the save's later edits then take no lock of their own
    // and records it reads meanwhile are current without reading them again. Other
    // workstations' edits wait the few milliseconds until the commit.
    const uint64_t serial = m_folderState ? transactionSerial(*m_folderState) : 0;
    if (serial != 0 && m_allRecordsTriedIn != serial) {
        m_allRecordsTriedIn = serial;
        if (m_file->tryLock(locks::kAllRecordsOffset, locks::kAllRecordsLength, LockKind::Exclusive)) {
            m_lockedRecord = recNo;
            return;
        }
    }
    if (!locks::lockWithWait(*m_file, locks::recordLockOffset(recNo), 1, LockKind::Exclusive))
        failHere("record " + std::to_string(recNo) + ": " + errtext::kRecordLocked);
    m_lockedRecord = recNo;
}

bool Table::currentReadUnderLock() const {
    // The record came with the read-ahead, read in this transaction while its lock was held.
    const uint64_t serial = m_folderState ? transactionSerial(*m_folderState) : 0;
    const uint8_t* cache = m_cache.get();
    return serial != 0 && m_cacheLockedIn == serial && m_current >= cache &&
           m_current < cache + size_t(m_cacheCount) * m_header.recordLength &&
           m_file->heldByTransaction(locks::recordLockOffset(m_recNo), 1);
}

void Table::unlockRecord() {
    if (m_lockedRecord == 0) return;
    m_file->unlock(locks::recordLockOffset(m_lockedRecord), 1);
    m_lockedRecord = 0;
}

void Table::cancel() {
    requireOpen();
    if (m_state != TableState::Edit && m_state != TableState::Insert) return;
    unlockRecord();
    m_state = TableState::Browse;
    m_pendingMemos.clear();
    const uint8_t* rec = m_recNo ? recordAt(m_recNo, Direction::Forward) : nullptr;
    if (rec)
        placeOn(m_recNo, rec);
    else
        setEmptyPosition();
}

void Table::deleteRecord() {
    requireBrowse();
    if (m_options.readOnly) failHere("the table is open read-only");
    if (m_recNo == 0) failHere("there is no current record to delete");
    lockRecord(m_recNo);
    const uint8_t flag = kDeleted;
    try {
        m_file->write(recordOffset(m_recNo), &flag, 1);
    } catch (...) {
        unlockRecord();
        throw;
    }
    unlockRecord();
    m_ixRecord.assign(current(), current() + m_header.recordLength);
    m_ixRecord[0] = kDeleted;
    m_current = m_ixRecord.data();
    invalidateCache();  // the move to the next record reads afresh
    m_visibleCount.reset();
    if (m_orderTag >= 0) {
        syncIndex();
        if (indexStep(Direction::Forward)) {
            m_eof = m_bof = false;
        } else if (indexStep(Direction::Backward)) {
            m_eof = true;
            m_bof = false;
        } else {
            setEmptyPosition();
        }
        notifyDetails();
        return;
    }
    const uint32_t at = m_recNo;
    if (scanForward(at + 1)) {
        m_eof = m_bof = false;
    } else if (scanBackward(at - 1)) {
        m_eof = true;
        m_bof = false;
    } else {
        setEmptyPosition();
    }
    notifyDetails();
}

// ---- field access -------------------------------------------------------------------------

bool Table::isNull(int field) const {
    const FieldInfo& f = fieldAt(field);
    if (f.logical == FieldType::Memo && m_pendingMemos.count(field)) return m_pendingMemos.at(field).empty();
    return codec::isNull(f, current());
}

std::string Table::asString(int field) const {
    const FieldInfo& f = fieldAt(field);
    if (f.logical == FieldType::Memo) return asMemo(field);
    try {
        return codec::readAsText(f, current(), codePage());
    } catch (const DbError& e) {
        failHere(e.kind(), std::string(e.what()) + " in record " + std::to_string(m_recNo));
    }
}

int64_t Table::asInteger(int field) const {
    try {
        return codec::readInteger(fieldAt(field), current()).value_or(0);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

double Table::asFloat(int field) const {
    try {
        return codec::readFloat(fieldAt(field), current()).value_or(0.0);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

bool Table::asLogical(int field) const {
    try {
        return codec::readLogical(fieldAt(field), current()).value_or(false);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

std::optional<Date> Table::asDate(int field) const {
    try {
        return codec::readDate(fieldAt(field), current());
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

std::optional<DateTime> Table::asDateTime(int field) const {
    try {
        return codec::readDateTime(fieldAt(field), current());
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

std::string Table::asMemo(int field) const {
    const FieldInfo& f = fieldAt(field);
    if (f.logical != FieldType::Memo) failHere("field " + f.name + " is not a memo field");
    if (const auto it = m_pendingMemos.find(field); it != m_pendingMemos.end()) return it->second;
    uint32_t block = 0;
    try {
        block = codec::readMemoBlock(f, current());
    } catch (const DbError& e) {
        failHere(e.kind(), std::string(e.what()) + " in record " + std::to_string(m_recNo));
    }
    if (block == 0) return {};
    if (!m_memo) failHere(DbErrorKind::Damaged, "the table has no memo file");
    return toUtf8(codePage(), m_memo->read(block));
}

void Table::setNull(int field) {
    uint8_t* rec = editable(field);
    const FieldInfo& f = fieldAt(field);
    if (f.logical == FieldType::Memo) {
        m_pendingMemos[field].clear();
        return;
    }
    codec::setNull(f, rec);
}

void Table::setString(int field, std::string_view value) {
    uint8_t* rec = editable(field);
    const FieldInfo& f = fieldAt(field);
    if (f.logical == FieldType::Memo) return setMemo(field, value);
    try {
        codec::writeText(f, rec, value, codePage());
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

void Table::setInteger(int field, int64_t value) {
    uint8_t* rec = editable(field);
    try {
        codec::writeInteger(fieldAt(field), rec, value);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

void Table::setFloat(int field, double value) {
    uint8_t* rec = editable(field);
    try {
        codec::writeFloat(fieldAt(field), rec, value);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

void Table::setLogical(int field, bool value) {
    uint8_t* rec = editable(field);
    try {
        codec::writeLogical(fieldAt(field), rec, value);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

void Table::setDate(int field, const Date& value) {
    uint8_t* rec = editable(field);
    try {
        codec::writeDate(fieldAt(field), rec, value);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

void Table::setDateTime(int field, const DateTime& value) {
    uint8_t* rec = editable(field);
    try {
        codec::writeDateTime(fieldAt(field), rec, value);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
}

void Table::setMemo(int field, std::string_view value) {
    editable(field);
    const FieldInfo& f = fieldAt(field);
    if (f.logical != FieldType::Memo) failHere("field " + f.name + " is not a memo field");
    m_pendingMemos[field] = std::string(value);
}

}  // namespace dbase
