#pragma once
// A table handle: one dBASE table of a data folder with its cursor, filter, optional master
// link and record buffer (browse, edit or insert state).
//
// Sharing: a handle opens its table shared (default) or exclusive. The open mode is held as an
// operating-system byte-range lock on the table file for as long as the handle is open, so it
// excludes other handles of this process and other processes on other machines alike. Every
// post and delete is written through to the operating system at once; refresh() re-reads what
// other processes wrote. Appends take the header lock (docs/dbase-format.md, section 4), re-read
// the record count and write the record after the last one on disk.
//
// Errors are DbError with a text naming the file and the cause.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Date.h"
#include "DbError.h"
#include "File.h"
#include "Filter.h"
#include "MdxFile.h"
#include "Schema.h"

namespace dbase {

class MemoFile;
class FolderState;
struct IndexEntry;

enum class TableState { Inactive, Browse, Edit, Insert };

struct OpenOptions {
    bool exclusive = false;
    bool readOnly = false;
};

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;  // character fields match by prefix
};

struct ReindexOptions {
    bool pack = true;
};

struct ReindexReport {
    uint32_t recoveredRecords = 0;  // whole records past the header's count, counted again
    uint64_t droppedBytes = 0;      // bytes after the last whole record that held no record
    bool memoEndRepaired = false;   // the memo file's next free block was put back at its end
};

// A saved cursor position; a plain value, valid while the table is not packed.
struct Bookmark {
    uint32_t recNo = 0;
};

class Table {
public:
    Table(std::string folder, std::string fileName, FileSystem& fs = FileSystem::real());
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // ---- definition ----
    // Creates a new, empty table (with its memo file when a field is a memo). Throws when the
    // table already exists.
    static void create(const std::string& folder, const std::string& fileName, const std::vector<FieldDef>& fields,
                       TableLevel level = TableLevel::DBase7, FileSystem& fs = FileSystem::real());
    // Deletes a table with its memo and index files. Throws "Table is busy." while it is open.
    static void drop(const std::string& folder, const std::string& fileName, FileSystem& fs = FileSystem::real());
    // Writes 0 into the production-index flag of a table file, as raw bytes, so a table whose
    // index file is lost can be opened and its index rebuilt.
    static void clearIndexFlag(const std::string& path, FileSystem& fs = FileSystem::real());

    // The tags an index file lists (names, fields, directions), read as far as a damaged file
    // allows; tags of the field flags in the table header when the index file is unreadable.
    static std::vector<MdxFile::TagDefinition> readTagDefinitions(const std::string& folder,
                                                                  const std::string& fileName,
                                                                  FileSystem& fs = FileSystem::real());
    // Rebuilds the production index from scratch. The table is first opened exclusively and
    // without its index, so a table that cannot be read (or that another handle has open)
    // throws with every file unchanged. Then the flag is cleared, the index file deleted, the
    // records a dead writer left past the header's count are counted again, the table packed
    // (unless told not to) and the tags added again. A memo file whose header names an end
    // past the file, while every record's memo lies whole inside it, gets its end back.
    static ReindexReport reindex(const std::string& folder, const std::string& fileName,
                                 const std::vector<MdxFile::TagDefinition>& tags, FileSystem& fs = FileSystem::real(),
                                 const ReindexOptions& options = {});

    // Requires: open exclusively.
    void emptyTable();
    // Removes the records marked deleted. Requires: open exclusively. Returns true on success.
    // Throws, changing nothing, while records lie past the header's count (recordsPastCount).
    bool pack();

    // ---- opening ----
    void open(const OpenOptions& options = {});
    void close();
    bool isOpen() const { return m_file != nullptr; }
    bool isExclusive() const { return m_options.exclusive; }
    const std::string& path() const { return m_path; }
    TableState state() const { return m_state; }

    // ---- structure ----
    const std::vector<FieldInfo>& fields() const { return m_header.fields; }
    const TableHeader& header() const { return m_header; }
    int fieldIndex(std::string_view name) const;   // -1 when the table has no such field
    int fieldNumber(std::string_view name) const;  // throws for an unknown field
    TableLevel level() const { return m_header.level; }
    CodePage codePage() const { return m_codePage; }

    // ---- navigation (deleted records and records outside the filter are invisible) ----
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_recNo == 0; }
    uint32_t recordCount();
    uint32_t recNo() const { return m_recNo; }
    Bookmark bookmark() const { return {m_recNo}; }
    // Returns false (and stays) when the record is gone or outside the filter.
    bool gotoBookmark(const Bookmark& mark);
    // Re-reads the record count and the current record from disk.
    void refresh();

    // Moves to the first record whose fields equal the values (given as text); stays and
    // returns false when none does.
    bool locate(const std::vector<std::pair<std::string, std::string>>& fieldValues, const LocateOptions& options = {});

    // ---- order and search (production index) ----
    // Orders by a tag name, or by a field name that a tag is keyed on; empty is physical
    // order. Throws when no tag matches. Moves to the first record.
    void setOrder(const std::string& order);
    const std::string& order() const { return m_orderText; }
    bool hasIndex() const { return m_mdx != nullptr; }
    std::vector<std::string> tagNames() const;
    // Moves to the first record whose key in the current order equals the value; stays and
    // returns false when none does. Requires: an index order.
    bool findKey(std::string_view value) { return seek(value, false); }
    // Moves to the first record whose key is at or after the value (a character value may be a
    // prefix); at the end when none is. Returns false at the end.
    bool findNearest(std::string_view value) { return seek(value, true); }
    // Adds a tag on one field, built from every record. Requires: open exclusively.
    void addIndex(const std::string& name, const std::string& field, bool descending = false);
    // Every fault of the tags against the records: structure, order, keys, records missing or
    // listed twice. Empty when all is well.
    std::vector<std::string> checkIndexes();
    // The whole table: records past the header's count and other bytes after the last record,
    // the index flag against the index file, deletion flags, every value, memo pointers in
    // range and not sharing blocks, the memo file's next free block, and every tag
    // (checkIndexes).
    std::vector<std::string> checkIntegrity();
    // The whole records the file holds after those its header counts: what a writer that died
    // between writing records and raising the count leaves. They are not shown, appends
    // refuse while they are there, and a reindex counts them again. 0 normally.
    uint32_t recordsPastCount();

    // ---- filter and master link ----
    void setFilter(const std::string& expression);
    const std::string& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    void setFilterOptions(const FilterOptions& options);
    const FilterOptions& filterOptions() const { return m_filterOptions; }
    // Shows only the records whose detailField equals the master's masterField, following
    // the master as it moves. The master must outlive the link (or clear it).
    void setMasterLink(Table& master, const std::string& masterField, const std::string& detailField);
    void clearMasterLink();

    // ---- records ----
    void append();
    void insert() { append(); }
    // Locks the current record (waiting a short, bounded time for another handle to release
    // it), re-reads it from disk and enters edit state. Post and cancel release the lock.
    // Throws "Record is locked by another user." naming table and record.
    void edit();
    void post();
    void cancel();
    // Marks the current record deleted and moves to the next visible one.
    void deleteRecord();

    // Bulk append (imports): between begin and end, posted new records are collected and
    // written a megabyte at a time, each block under the header lock, instead of one write
    // through per record. Navigation, refresh, edit and close write what is pending first;
    // endBulkAppend() writes the rest and reports any failure (what was not written is then
    // dropped). recNo() of a record not yet written is provisional.
    void beginBulkAppend();
    void endBulkAppend();

    // ---- fields by index or name (names ignore case) ----
    bool isNull(int field) const;
    std::string asString(int field) const;
    int64_t asInteger(int field) const;
    double asFloat(int field) const;
    bool asLogical(int field) const;
    std::optional<Date> asDate(int field) const;
    std::optional<DateTime> asDateTime(int field) const;
    std::string asMemo(int field) const;

    void setNull(int field);
    // Sets a field from text; non-character fields parse it (numbers with a decimal point,
    // dates "2008.03.15", date-times "2008.03.15 10:15:00", logicals T/F).
    void setString(int field, std::string_view value);
    void setInteger(int field, int64_t value);
    void setFloat(int field, double value);
    void setLogical(int field, bool value);
    void setDate(int field, const Date& value);
    void setDateTime(int field, const DateTime& value);
    void setMemo(int field, std::string_view value);

    bool isNull(std::string_view name) const { return isNull(fieldNumber(name)); }
    std::string asString(std::string_view name) const { return asString(fieldNumber(name)); }
    int64_t asInteger(std::string_view name) const { return asInteger(fieldNumber(name)); }
    double asFloat(std::string_view name) const { return asFloat(fieldNumber(name)); }
    bool asLogical(std::string_view name) const { return asLogical(fieldNumber(name)); }
    std::optional<Date> asDate(std::string_view name) const { return asDate(fieldNumber(name)); }
    std::optional<DateTime> asDateTime(std::string_view name) const { return asDateTime(fieldNumber(name)); }
    std::string asMemo(std::string_view name) const { return asMemo(fieldNumber(name)); }
    void setNull(std::string_view name) { setNull(fieldNumber(name)); }
    void setString(std::string_view name, std::string_view v) { setString(fieldNumber(name), v); }
    void setInteger(std::string_view name, int64_t v) { setInteger(fieldNumber(name), v); }
    void setFloat(std::string_view name, double v) { setFloat(fieldNumber(name), v); }
    void setLogical(std::string_view name, bool v) { setLogical(fieldNumber(name), v); }
    void setDate(std::string_view name, const Date& v) { setDate(fieldNumber(name), v); }
    void setDateTime(std::string_view name, const DateTime& v) { setDateTime(fieldNumber(name), v); }
    void setMemo(std::string_view name, std::string_view v) { setMemo(fieldNumber(name), v); }

private:
    enum class Direction { Forward, Backward };

    const FieldInfo& fieldAt(int field) const {
        if (!m_file || field < 0 || size_t(field) >= m_header.fields.size()) [[unlikely]]
            badField(field);
        return m_header.fields[size_t(field)];
    }
    const uint8_t* current() const {
        if (!m_current) [[unlikely]]
            noCurrentRecord();
        return m_current;
    }
    uint8_t* editable(int field) {
        if (m_state != TableState::Edit && m_state != TableState::Insert) [[unlikely]]
            notEditing();
        (void)fieldAt(field);
        return m_buffer.data();
    }
    [[noreturn]] void badField(int field) const;
    [[noreturn]] void noCurrentRecord() const;
    [[noreturn]] void notEditing() const;
    void requireOpen() const;
    void requireBrowse();
    void finishEdit();
    void requireNoTransaction(const char* what) const;
    void followRollback();
    void lockRecord(uint32_t recNo);
    void unlockRecord();
    void flushBulk();
    void readHeaderFromDisk();
    uint32_t readCountFromDisk();
    void invalidateCache() { m_cacheCount = 0; }
    const uint8_t* recordAt(uint32_t recNo, Direction dir);
    bool visible(const uint8_t* record) const;
    bool scanForward(uint32_t from);
    bool scanBackward(uint32_t from);
    void placeOn(uint32_t recNo, const uint8_t* record);
    void setEmptyPosition();
    void rebuildPredicate();
    void masterMoved();
    // index side (TableIndex.cpp)
    std::string indexPath() const;
    void openIndex();
    void resolveTags();
    std::string tagKey(int tag, const uint8_t* record) const;
    void updateLinkRange();
    const uint8_t* readIndexed(uint32_t recNo);
    bool inRange(const MdxFile::Cursor& c);
    bool holdsKey(const uint8_t* rec, const IndexEntry& entry) const;
    bool settleIndex(Direction dir);
    void syncIndex();
    void indexFirst();
    void indexLast();
    bool indexStep(Direction dir);
    void placeIndexOn(uint32_t recNo);
    void placeIndexOnNewest(uint32_t recNo);
    uint32_t countInRange();
    bool seek(std::string_view value, bool nearest);
    bool locateInOrder(const RecordPredicate& predicate, int field, const std::string& value,
                       const LocateOptions& options);
    // (sort form of the first key, whether it is a prefix), when a tag can answer the search.
    // Sort forms that bound every key a search can match (prefix: keys compared over the
    // length of the bounds).
    struct KeyRange {
        std::string low;
        std::string high;
        bool prefix = false;
    };
    std::optional<KeyRange> keyRange(int tag, const std::string& value, const LocateOptions& options);
    static bool withinKeyRange(const std::string& sort, const KeyRange& range);
    // The smallest record number a tag on the field finds (0: none); nullopt when no tag fits.
    std::optional<uint32_t> locateByTag(const RecordPredicate& predicate, int field, const std::string& value,
                                        const LocateOptions& options);
    void indexAppended(uint32_t firstRecNo, const uint8_t* records, uint32_t count);
    void indexRewritten(const uint8_t* before, const uint8_t* after, uint32_t recNo);
    std::vector<IndexEntry> entriesOfField(int field, const KeyShape& shape);
    void createIndexFile();
    void writeWholeHeader();
    void rebuildIndexes();
    void notifyDetails();
    void writeMemos();
    void appendRecord();
    void rewriteRecord();
    std::vector<uint8_t> readRecordFromDisk(uint32_t recNo);
    void patchCache(uint32_t recNo, const uint8_t* record);
    uint64_t recordOffset(uint32_t recNo) const {
        return m_header.headerLength + uint64_t(recNo - 1) * m_header.recordLength;
    }
    std::string memoPath() const;
    void openMemo();
    // repair side (TableRepair.cpp)
    struct Tail {
        uint32_t records = 0;    // whole records past the header's count
        uint64_t restBytes = 0;  // bytes after them other than one end marker
    };
    Tail readTail();
    void refuseRecordsPastCount(uint32_t count);
    ReindexReport rebuild(const std::vector<MdxFile::TagDefinition>& tags, const ReindexOptions& options);
    bool repairMemoEnd();
    [[noreturn]] void failHere(const std::string& cause) const;
    [[noreturn]] void failHere(DbErrorKind kind, const std::string& cause) const;

    std::string m_folder;
    std::string m_fileName;
    FileSystem& m_fs;
    std::string m_path;
    OpenOptions m_options;
    bool m_ignoreIndex = false;                  // opened for a reindex: the index file is not read
    std::shared_ptr<FolderState> m_folderState;  // declared before the files that refer to it
    uint64_t m_epoch = 0;
    // The record count at which this handle's own append left the end-of-file marker.
    std::optional<uint32_t> m_endMarkerCount;
    uint64_t m_endMarkerRollbacks = 0;
    std::unique_ptr<File> m_file;
    std::unique_ptr<MemoFile> m_memo;
    TableHeader m_header;
    CodePage m_codePage = CodePage::Win1250;
    std::unordered_map<std::string, int> m_fieldByName;

    TableState m_state = TableState::Inactive;
    uint32_t m_recNo = 0;
    bool m_eof = true;
    bool m_bof = true;
    const uint8_t* m_current = nullptr;
    std::vector<uint8_t> m_buffer;      // the record being edited or inserted, or the last posted one
    std::vector<uint8_t> m_blank;       // an empty record of this table
    std::vector<uint8_t> m_editBefore;  // the record as edit read it
    bool m_keysChanged = false;
    bool m_walking =
        false;  // an index-order step is reading         // the last post of an edit moved the record in a tag
    std::map<int, std::string> m_pendingMemos;
    std::optional<uint32_t> m_visibleCount;
    uint32_t m_lockedRecord = 0;
    bool m_bulk = false;
    uint32_t m_bulkPending = 0;
    std::vector<uint8_t> m_bulkRecords;

    std::unique_ptr<uint8_t[]> m_cache;
    size_t m_cacheCapacity = 0;
    uint32_t m_cacheFirst = 0;
    uint32_t m_cacheCount = 0;
    size_t m_chunkBytes = 0;

    std::string m_filterText;
    bool m_filtered = false;
    FilterOptions m_filterOptions;
    std::unique_ptr<RecordPredicate> m_filterPredicate;
    std::unique_ptr<RecordPredicate> m_linkPredicate;
    bool m_linkMatchesNothing = false;

    std::unique_ptr<MdxFile> m_mdx;
    std::vector<int> m_tagField;  // the field of each tag
    int m_orderTag = -1;
    std::string m_orderText;
    MdxFile::Cursor m_ix;
    std::vector<uint8_t> m_ixRecord;
    std::optional<std::string> m_rangeSort;
    std::optional<std::string> m_linkValue;

    Table* m_master = nullptr;
    std::string m_masterField;
    std::string m_detailField;
    std::vector<Table*> m_details;
};

}  // namespace dbase
