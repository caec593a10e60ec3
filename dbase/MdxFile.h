#pragma once
// The production index file (.mdx) of a table: up to 47 tags, each a B+ tree of 1024-byte
// nodes (docs/dbase-format.md, section 3).
//
// Tree shape: a leaf entry points at a record; an interior entry points at a child and holds
// the largest key of that child's subtree; an interior node also has a rightmost child for the
// keys above its last entry. Equal keys are kept in record-number order. Deleted records stay
// in the tags until the table is packed.
//
// Sharing between processes: every change is made under the index lock (0xEFFFFFFE of the
// .mdx) and raises a change generation kept in the file header (bytes 48-55, unused by other
// dBASE software). A handle checks the generation before it uses its node cache, so no stale
// node ever answers a seek.
//
// Every node read is checked (key count, pointers inside the file, depth), so a damaged file
// gives a DbError naming the table, never a wild read or an endless loop.

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "Collation.h"
#include "File.h"
#include "IndexKey.h"

namespace dbase {

struct TagInfo {
    std::string name;
    std::string expression;  // the field name
    KeyShape shape;
    bool descending = false;
    uint32_t headerPage = 0;
    uint32_t root = 0;
    int entryLength = 0;
    int maxKeys = 0;
    // What the tag header on disk says, so it is rewritten only when the tree's shape changed.
    uint32_t writtenRoot = 0;
    uint32_t firstLeaf = 0;
    uint32_t lastLeaf = 0;
    bool hasKeys = false;
    bool headerWritten = false;
};

// A key ready for the tree: its stored bytes and the record it points at.
struct IndexEntry {
    std::string stored;
    uint32_t recNo = 0;
};

class MdxFile {
public:
    // Writes an empty index file (no tags) for a table.
    static void initialise(File& file, const std::string& baseName, uint8_t languageId);

    MdxFile(std::unique_ptr<File> file, std::string tablePath, const Collation& collation);
    // The order of the character keys of this file.
    const Collation& collation() const { return m_collation; }
    ~MdxFile();

    const std::vector<TagInfo>& tags() const { return m_tags; }
    // Header byte 24: dBASE opens an index file with its table only when it is set.
    bool productionFlag() const { return m_headerPage.size() > 24 && m_headerPage[24] != 0; }
    int tagIndex(std::string_view name) const;  // -1 when there is none
    File& file() { return *m_file; }

    // Re-reads the header and drops the node cache when another handle changed the file;
    // returns true when it did.
    bool refreshIfChanged();
    uint64_t generation() const { return m_generation; }
    // Drops every cached node and header; the next use re-reads the file.
    void forget() {
        m_cache.clear();
        m_generation = ~uint64_t(0);
    }
    // Waits until a change another handle is making has ended.
    void waitForWriters();

    // Names, expressions and directions of the tags listed in an index file, read as far as
    // the file allows (for rebuilding a damaged index). Empty when nothing can be read.
    struct TagDefinition {
        std::string name;
        std::string expression;
        bool descending = false;
    };
    static std::vector<TagDefinition> readDefinitions(File& file);

    // A position in one tag: the path from the root to a leaf entry.
    struct Cursor {
        int tag = -1;
        std::vector<std::pair<uint32_t, int>> path;  // (page, index) from root to leaf
        bool valid() const { return !path.empty(); }
        // Leaves entered since the walk last changed direction: a walk one way meets each
        // leaf once, so more than the file has pages means its pages repeat.
        uint32_t leavesEntered = 0;
        bool forward = true;
    };

    // Sort form of a stored key within a tag (descending tags invert it).
    std::string sortForm(int tag, std::string_view stored) const;
    // The sort form of a seek value.
    std::string seekForm(int tag, const std::string& sortKey) const;

    // First entry whose key is at or after sortForm (in the tag's order); invalid at the end.
    Cursor lowerBound(int tag, const std::string& sortForm);
    Cursor first(int tag);
    Cursor last(int tag);
    bool next(Cursor& c);
    bool prior(Cursor& c);
    // The entry under a valid cursor.
    const IndexEntry& entryAt(const Cursor& c);
    const std::string& sortAt(const Cursor& c);
    // The last entry holding the key (the newest record among equal keys); invalid when none.
    Cursor lastOfKey(int tag, const std::string& stored);
    // Finds exactly (key, recNo); invalid when the tag lacks it.
    Cursor find(int tag, const std::string& stored, uint32_t recNo);

    // ---- changes: only between beginChange() and endChange() ----
    void beginChange();  // takes the index lock and brings the cache up to date
    void endChange();    // writes the changed nodes and header, raises the generation, unlocks
    void abandonChange();
    // appending: the record is newer than every other record of the table.
    void insert(int tag, const IndexEntry& entry, bool appending = false);
    // Throws DbError when the tag lacks the entry (the index does not match the table).
    void remove(int tag, const IndexEntry& entry);
    // Adds a tag built from the given entries (any order).
    void addTag(const std::string& name, const std::string& expression, const KeyShape& shape, bool descending,
                std::vector<IndexEntry> entries);

    // Verifies one tag: node structure, key order, interior keys equal to their child's
    // largest key. Appends every fault found to faults; returns the entries in tag order.
    std::vector<IndexEntry> walk(int tag, std::vector<std::string>& faults);

    [[noreturn]] void damaged(const std::string& cause) const;

private:
    struct Node {
        int tag = 0;
        bool leaf = true;
        uint32_t prev = 0;
        std::vector<IndexEntry> entries;
        std::vector<std::string> sorts;
        uint32_t rightmost = 0;
        std::vector<uint8_t> onDisk;   // the page as last read or written; empty for a new page
        uint64_t onDiskRollbacks = 0;  // the file's rollback count when onDisk was taken
        size_t count() const { return entries.size(); }
        size_t children() const { return leaf ? 0 : entries.size() + 1; }
    };

    void loadHeader();
    void writeHeader();
    uint64_t readGeneration();
    Node& node(int tag, uint32_t page);
    Node parseNode(int tag, uint32_t page, const std::vector<uint8_t>& bytes) const;
    std::vector<uint8_t> serializeNode(int tag, const Node& n) const;
    void markDirty(uint32_t page) { m_dirty.push_back(page); }
    uint32_t allocatePage();
    void freePage(uint32_t page);
    uint32_t childAt(const Node& n, int index) const;
    void descendLeftmost(Cursor& c, uint32_t page, int depth);
    void descendRightmost(Cursor& c, uint32_t page, int depth);
    void enteredLeaf(Cursor& c, bool forward) const;
    Cursor descend(int tag, const std::string& sort, bool upper);
    Node& newNode(int tag, uint32_t page, bool leaf);
    void splitIfNeeded(int tag, Cursor& c, size_t level);
    void propagateMax(int tag, const Cursor& c, size_t level, const std::string& stored, const std::string& sort);
    uint32_t successorAtLevel(int tag, const Cursor& c, size_t level);
    void removeNode(int tag, Cursor& c, size_t level);
    void collapseRoot(int tag);
    void writeTagHeader(int tag);
    void requireChange() const;

    friend class MdxChange;
    std::unique_ptr<File> m_file;
    std::string m_tablePath;
    Collation m_collation;
    std::vector<uint8_t> m_headerOnDisk;  // the header as last read or written
    uint64_t m_headerOnDiskRollbacks = 0;
    std::vector<TagInfo> m_tags;
    std::unordered_map<uint64_t, Node> m_cache;  // key: tag << 32 | page
    std::vector<uint32_t> m_dirty;
    std::set<int> m_changedTags;
    std::set<int> m_shapeChanged;  // tags whose root, end leaves or emptiness changed
    std::vector<uint8_t> m_headerPage;
    uint64_t m_generation = 0;
    uint32_t m_pageCount = 0;
    uint32_t m_freeHead = 0;
    bool m_changing = false;
    bool m_headerDirty = false;
};

// Scope of one change: begins it, and abandons it unless committed.
class MdxChange {
public:
    explicit MdxChange(MdxFile& mdx) : m_mdx(mdx) { m_mdx.beginChange(); }
    ~MdxChange() {
        if (!m_done) m_mdx.abandonChange();
    }
    MdxChange(const MdxChange&) = delete;
    MdxChange& operator=(const MdxChange&) = delete;
    void commit() {
        m_done = true;
        m_mdx.endChange();
    }

private:
    MdxFile& m_mdx;
    bool m_done = false;
};

}  // namespace dbase
