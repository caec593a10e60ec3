#include "MdxFile.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <unordered_set>

#include "DbError.h"
#include "Locks.h"

namespace dbase {
namespace {

constexpr uint32_t kPageSize = 512;
constexpr uint32_t kPagesPerBlock = 2;
constexpr uint32_t kBlockSize = kPageSize * kPagesPerBlock;
constexpr uint32_t kFirstTagPage = 4;
constexpr size_t kHeaderBytes = 2048;
constexpr size_t kTagTable = 544;
constexpr size_t kTagEntry = 32;
constexpr int kMaxTags = 47;
constexpr size_t kGenerationOffset = 48;
constexpr int kMaxDepth = 40;
constexpr size_t kCacheLimit = 16384;

uint32_t get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t get16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void putDate(uint8_t* p) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    p[0] = uint8_t(tm.tm_year);
    p[1] = uint8_t(tm.tm_mon + 1);
    p[2] = uint8_t(tm.tm_mday);
}

std::string readName(const uint8_t* p, size_t max) {
    size_t n = 0;
    while (n < max && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

// The order of entries: sort form, then record number.
bool before(const std::string& sortA, uint32_t recA, const std::string& sortB, uint32_t recB) {
    const int c = sortA.compare(sortB);
    return c < 0 || (c == 0 && recA < recB);
}

}  // namespace

void MdxFile::initialise(File& file, const std::string& baseName, uint8_t languageId) {
    std::vector<uint8_t> h(kHeaderBytes, 0);
    h[0] = 2;
    putDate(h.data() + 1);
    std::memcpy(h.data() + 4, baseName.data(), std::min<size_t>(baseName.size(), 15));
    put16(h.data() + 20, kPagesPerBlock);
    put16(h.data() + 22, kBlockSize);
    h[24] = 1;
    h[25] = 0x30;
    h[26] = kTagEntry;
    h[31] = languageId;
    put32(h.data() + 32, kFirstTagPage);
    putDate(h.data() + 44);
    h[529] = 0x01;
    file.truncate(0);
    file.write(0, h.data(), h.size());
}

MdxFile::MdxFile(std::unique_ptr<File> file, std::string tablePath, const Collation& collation)
    : m_file(std::move(file)), m_tablePath(std::move(tablePath)), m_collation(collation) {
    loadHeader();
}

MdxFile::~MdxFile() {
    if (m_changing) abandonChange();
}

void MdxFile::damaged(const std::string& cause) const {
    fail(m_tablePath, DbErrorKind::Damaged, "the index file " + m_file->path() + " is damaged: " + cause);
}

int MdxFile::tagIndex(std::string_view name) const {
    for (size_t i = 0; i < m_tags.size(); ++i)
        if (m_tags[i].name.size() == name.size() &&
            std::equal(name.begin(), name.end(), m_tags[i].name.begin(),
                       [](char a, char b) { return std::toupper((unsigned char)a) == std::toupper((unsigned char)b); }))
            return int(i);
    return -1;
}

uint64_t MdxFile::readGeneration() {
    uint8_t b[8];
    if (m_file->read(kGenerationOffset, b, 8) < 8) damaged("the header is truncated");
    uint64_t g = 0;
    for (int i = 7; i >= 0; --i) g = (g << 8) | b[i];
    return g;
}

void MdxFile::loadHeader() {
    m_headerPage.assign(kHeaderBytes, 0);
    if (m_file->read(0, m_headerPage.data(), kHeaderBytes) < kHeaderBytes) damaged("the header is truncated");
    m_headerOnDisk = m_headerPage;
    m_headerOnDiskRollbacks = m_file->rollbackCount();
    const uint8_t* h = m_headerPage.data();
    if ((h[0] != 2 && h[0] != 3) || get16(h + 20) != kPagesPerBlock || get16(h + 22) != kBlockSize)
        damaged("not an index file of a known layout");
    const uint64_t size = m_file->size();
    m_pageCount = get32(h + 32);
    if (m_pageCount < kFirstTagPage || uint64_t(m_pageCount) * kPageSize > size + kBlockSize)
        damaged("the page count does not match the file size");
    m_freeHead = get32(h + 36);
    const int count = get16(h + 28);
    if (count > kMaxTags) damaged("it lists " + std::to_string(count) + " tags");
    uint64_t g = 0;
    for (int i = 7; i >= 0; --i) g = (g << 8) | h[kGenerationOffset + size_t(i)];
    m_generation = g;
    m_tags.clear();
    m_cache.clear();
    std::vector<uint8_t> block(kBlockSize);
    for (int i = 0; i < count; ++i) {
        const uint8_t* e = h + kTagTable + size_t(i) * kTagEntry;
        TagInfo tag;
        tag.headerPage = get32(e);
        tag.name = readName(e + 4, 11);
        if (tag.headerPage < kFirstTagPage || tag.headerPage + kPagesPerBlock > m_pageCount)
            damaged("tag " + tag.name + " lies outside the file");
        if (m_file->read(uint64_t(tag.headerPage) * kPageSize, block.data(), kBlockSize) < kBlockSize)
            damaged("tag " + tag.name + " is truncated");
        const uint8_t* t = block.data();
        tag.root = get32(t);
        tag.descending = (t[8] & 0x08) != 0;
        const char type = char(t[9]);
        if (type != 'C' && type != 'N' && type != 'D')
            damaged("tag " + tag.name + " has key type " + std::string(1, type));
        tag.shape = {static_cast<KeyType>(type), get16(t + 12)};
        tag.maxKeys = get16(t + 14);
        tag.entryLength = get16(t + 18);
        tag.expression = readName(t + 24, 220);
        tag.writtenRoot = tag.root;
        tag.hasKeys = t[246] != 0;
        tag.firstLeaf = get32(t + 248);
        tag.lastLeaf = get32(t + 252);
        tag.headerWritten = true;
        if (tag.shape.length < 1 || tag.entryLength < tag.shape.length + 4 || tag.maxKeys < 2 ||
            8 + tag.maxKeys * tag.entryLength + 4 > int(kBlockSize))
            damaged("tag " + tag.name + " has an impossible key layout");
        if (tag.root < kFirstTagPage || tag.root + kPagesPerBlock > m_pageCount)
            damaged("tag " + tag.name + " has its root outside the file");
        m_tags.push_back(tag);
    }
}

bool MdxFile::refreshIfChanged() {
    // Inside a transaction the index lock is taken at the first look and kept, so after that
    // first check no other handle can change the file until the transaction ends.
    if (m_file->inTransaction()) {
        if (m_file->heldByTransaction(locks::kHeaderLockOffset, 1)) return false;
        if (!locks::lockWithWait(*m_file, locks::kHeaderLockOffset, 1, LockKind::Exclusive))
            fail(m_tablePath, errtext::kTableBusy);
    }
    if (readGeneration() == m_generation) return false;
    loadHeader();
    return true;
}

void MdxFile::waitForWriters() {
    if (locks::lockWithWait(*m_file, locks::kHeaderLockOffset, 1, LockKind::Shared))
        m_file->unlock(locks::kHeaderLockOffset, 1);
}

std::vector<MdxFile::TagDefinition> MdxFile::readDefinitions(File& file) {
    std::vector<TagDefinition> out;
    std::vector<uint8_t> h(kHeaderBytes, 0);
    if (file.read(0, h.data(), kHeaderBytes) < kHeaderBytes) return out;
    const int count = std::min<int>(get16(h.data() + 28), kMaxTags);
    std::vector<uint8_t> block(kBlockSize);
    for (int i = 0; i < count; ++i) {
        const uint8_t* e = h.data() + kTagTable + size_t(i) * kTagEntry;
        TagDefinition def;
        def.name = readName(e + 4, 11);
        if (def.name.empty()) continue;
        def.expression = def.name;
        const uint32_t page = get32(e);
        if (file.read(uint64_t(page) * kPageSize, block.data(), kBlockSize) == kBlockSize) {
            def.descending = (block[8] & 0x08) != 0;
            const std::string expression = readName(block.data() + 24, 220);
            if (!expression.empty()) def.expression = expression;
        }
        out.push_back(def);
    }
    return out;
}

std::string MdxFile::sortForm(int tag, std::string_view stored) const {
    std::string s = sortKeyOf(m_tags[size_t(tag)].shape, stored, m_collation);
    if (m_tags[size_t(tag)].descending)
        for (char& c : s) c = char(~uint8_t(c));
    return s;
}

std::string MdxFile::seekForm(int tag, const std::string& sortKey) const {
    std::string s = sortKey;
    if (m_tags[size_t(tag)].descending)
        for (char& c : s) c = char(~uint8_t(c));
    return s;
}

// ---- nodes ----------------------------------------------------------------------------------

MdxFile::Node MdxFile::parseNode(int tag, uint32_t page, const std::vector<uint8_t>& bytes) const {
    const TagInfo& t = m_tags[size_t(tag)];
    const uint8_t* p = bytes.data();
    const uint32_t n = get32(p);
    const std::string where = "tag " + t.name + ", page " + std::to_string(page);
    if (n > uint32_t(t.maxKeys)) damaged(where + " holds " + std::to_string(n) + " keys");
    Node node;
    node.tag = tag;
    node.prev = get32(p + 4);
    const size_t after = 8 + size_t(n) * size_t(t.entryLength);
    node.rightmost = get32(p + after);
    node.leaf = node.rightmost == 0;
    node.entries.reserve(n);
    node.sorts.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t* e = p + 8 + size_t(i) * size_t(t.entryLength);
        IndexEntry entry{std::string(reinterpret_cast<const char*>(e + 4), size_t(t.shape.length)), get32(e)};
        if (entry.recNo == 0) damaged(where + " has an empty pointer");
        if (!node.leaf &&
            (entry.recNo < kFirstTagPage || entry.recNo + kPagesPerBlock > m_pageCount || entry.recNo == page))
            damaged(where + " points outside the file");
        node.sorts.push_back(sortForm(tag, entry.stored));
        node.entries.push_back(std::move(entry));
    }
    if (!node.leaf &&
        (node.rightmost < kFirstTagPage || node.rightmost + kPagesPerBlock > m_pageCount || node.rightmost == page))
        damaged(where + " points outside the file");
    return node;
}

std::vector<uint8_t> MdxFile::serializeNode(int tag, const Node& n) const {
    const TagInfo& t = m_tags[size_t(tag)];
    std::vector<uint8_t> b(kBlockSize, 0);
    put32(b.data(), uint32_t(n.count()));
    put32(b.data() + 4, n.prev);
    for (size_t i = 0; i < n.count(); ++i) {
        uint8_t* e = b.data() + 8 + i * size_t(t.entryLength);
        put32(e, n.entries[i].recNo);
        std::memcpy(e + 4, n.entries[i].stored.data(),
                    std::min<size_t>(n.entries[i].stored.size(), size_t(t.shape.length)));
    }
    if (!n.leaf) put32(b.data() + 8 + n.count() * size_t(t.entryLength), n.rightmost);
    return b;
}

MdxFile::Node& MdxFile::node(int tag, uint32_t page) {
    const auto it = m_cache.find(page);
    if (it != m_cache.end()) return it->second;
    if (page < kFirstTagPage || page + kPagesPerBlock > m_pageCount)
        damaged("page " + std::to_string(page) + " lies outside the file");
    if (!m_changing && m_cache.size() >= kCacheLimit) m_cache.clear();
    std::vector<uint8_t> bytes(kBlockSize);
    if (m_file->read(uint64_t(page) * kPageSize, bytes.data(), kBlockSize) < kBlockSize)
        damaged("page " + std::to_string(page) + " is truncated");
    Node& n = m_cache.emplace(page, parseNode(tag, page, bytes)).first->second;
    n.onDisk = std::move(bytes);
    n.onDiskRollbacks = m_file->rollbackCount();
    return n;
}

uint32_t MdxFile::childAt(const Node& n, int index) const {
    return size_t(index) < n.count() ? n.entries[size_t(index)].recNo : n.rightmost;
}

// ---- reading --------------------------------------------------------------------------------

void MdxFile::descendLeftmost(Cursor& c, uint32_t page, int depth) {
    for (;; ++depth) {
        if (depth > kMaxDepth) damaged("tag " + m_tags[size_t(c.tag)].name + " loops");
        Node& n = node(c.tag, page);
        c.path.push_back({page, 0});
        if (n.leaf) return;
        page = childAt(n, 0);
    }
}

void MdxFile::descendRightmost(Cursor& c, uint32_t page, int depth) {
    for (;; ++depth) {
        if (depth > kMaxDepth) damaged("tag " + m_tags[size_t(c.tag)].name + " loops");
        Node& n = node(c.tag, page);
        if (n.leaf) {
            c.path.push_back({page, int(n.count()) - 1});
            return;
        }
        c.path.push_back({page, int(n.count())});
        page = n.rightmost;
    }
}

void MdxFile::enteredLeaf(Cursor& c, bool forward) const {
    if (c.forward != forward) {
        c.forward = forward;
        c.leavesEntered = 0;
    }
    // Interior pages that name the same child again and again make a tree whose walk would
    // take for ever, though each single step is bounded.
    if (++c.leavesEntered > m_pageCount) damaged("tag " + m_tags[size_t(c.tag)].name + " loops");
}

MdxFile::Cursor MdxFile::first(int tag) {
    Cursor c{tag, {}};
    descendLeftmost(c, m_tags[size_t(tag)].root, 0);
    if (node(tag, c.path.back().first).count() == 0 && !next(c)) c.path.clear();
    return c;
}

MdxFile::Cursor MdxFile::last(int tag) {
    Cursor c{tag, {}};
    descendRightmost(c, m_tags[size_t(tag)].root, 0);
    if (c.path.back().second < 0 && !prior(c)) c.path.clear();
    return c;
}

bool MdxFile::next(Cursor& c) {
    if (!c.valid()) return false;
    for (uint32_t guard = 0; guard <= m_pageCount; ++guard) {
        auto& [page, index] = c.path.back();
        if (size_t(index + 1) < node(c.tag, page).count()) {
            ++index;
            return true;
        }
        // Up until an ancestor has a further child, then down that child's leftmost side.
        size_t level = c.path.size() - 1;
        while (true) {
            if (level == 0) {
                c.path.clear();
                return false;
            }
            --level;
            auto& [p, i] = c.path[level];
            const Node& parent = node(c.tag, p);
            if (size_t(i + 1) < parent.children()) {
                ++i;
                const uint32_t child = childAt(parent, i);
                c.path.resize(level + 1);
                descendLeftmost(c, child, int(level + 1));
                enteredLeaf(c, true);
                break;
            }
        }
        if (node(c.tag, c.path.back().first).count() > 0) return true;
    }
    damaged("tag " + m_tags[size_t(c.tag)].name + " loops");
}

bool MdxFile::prior(Cursor& c) {
    if (!c.valid()) return false;
    for (uint32_t guard = 0; guard <= m_pageCount; ++guard) {
        auto& index = c.path.back().second;
        if (index > 0) {
            --index;
            return true;
        }
        size_t level = c.path.size() - 1;
        while (true) {
            if (level == 0) {
                c.path.clear();
                return false;
            }
            --level;
            auto& [p, i] = c.path[level];
            if (i > 0) {
                --i;
                const uint32_t child = childAt(node(c.tag, p), i);
                c.path.resize(level + 1);
                descendRightmost(c, child, int(level + 1));
                enteredLeaf(c, false);
                break;
            }
        }
        if (c.path.back().second >= 0) return true;
    }
    damaged("tag " + m_tags[size_t(c.tag)].name + " loops");
}

const IndexEntry& MdxFile::entryAt(const Cursor& c) {
    const auto& [page, index] = c.path.back();
    return node(c.tag, page).entries.at(size_t(index));
}

const std::string& MdxFile::sortAt(const Cursor& c) {
    const auto& [page, index] = c.path.back();
    return node(c.tag, page).sorts.at(size_t(index));
}

MdxFile::Cursor MdxFile::descend(int tag, const std::string& sort, bool upper) {
    Cursor c{tag, {}};
    uint32_t page = m_tags[size_t(tag)].root;
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth) damaged("tag " + m_tags[size_t(tag)].name + " loops");
        Node& n = node(tag, page);
        const auto it = upper ? std::upper_bound(n.sorts.begin(), n.sorts.end(), sort)
                              : std::lower_bound(n.sorts.begin(), n.sorts.end(), sort);
        const int index = int(it - n.sorts.begin());
        c.path.push_back({page, index});
        if (n.leaf) return c;
        page = childAt(n, index);
    }
}

MdxFile::Cursor MdxFile::lowerBound(int tag, const std::string& sort) {
    Cursor c = descend(tag, sort, false);
    // Past the end of a leaf the next entry, if any, is the first of the following leaf.
    const Node& leaf = node(tag, c.path.back().first);
    if (size_t(c.path.back().second) >= leaf.count()) {
        c.path.back().second = int(leaf.count()) - 1;
        if (!next(c)) c.path.clear();
    }
    return c;
}

MdxFile::Cursor MdxFile::lastOfKey(int tag, const std::string& stored) {
    const std::string sort = sortForm(tag, stored);
    Cursor c = descend(tag, sort, true);
    // Just past the last equal key: one step back lands on it.
    const Node& leaf = node(tag, c.path.back().first);
    if (size_t(c.path.back().second) >= leaf.count()) c.path.back().second = int(leaf.count());
    if (c.path.back().second > 0) {
        --c.path.back().second;
    } else if (!prior(c)) {
        return Cursor{tag, {}};
    }
    if (!c.valid() || sortAt(c) != sort) return Cursor{tag, {}};
    return c;
}

MdxFile::Cursor MdxFile::find(int tag, const std::string& stored, uint32_t recNo) {
    const std::string sort = sortForm(tag, stored);
    for (Cursor c = lowerBound(tag, sort); c.valid(); next(c)) {
        if (sortAt(c) != sort) break;
        if (entryAt(c).recNo == recNo) return c;
    }
    return Cursor{tag, {}};
}

// ---- changes --------------------------------------------------------------------------------

void MdxFile::requireChange() const {
    if (!m_changing) throw std::logic_error("index change outside beginChange/endChange");
}

void MdxFile::beginChange() {
    if (!locks::lockWithWait(*m_file, locks::kHeaderLockOffset, 1, LockKind::Exclusive))
        fail(m_tablePath, errtext::kTableBusy);
    m_changing = true;
    try {
        refreshIfChanged();
    } catch (...) {
        abandonChange();
        throw;
    }
    m_dirty.clear();
    m_changedTags.clear();
    m_shapeChanged.clear();
    m_headerDirty = false;
}

void MdxFile::abandonChange() {
    // What was changed in memory is forgotten; the next use re-reads the file.
    if (!m_changing) return;
    m_cache.clear();
    m_dirty.clear();
    m_changing = false;
    m_generation = ~uint64_t(0);
    m_file->unlock(locks::kHeaderLockOffset, 1);
}

void MdxFile::endChange() {
    requireChange();
    try {
        for (int tag : m_shapeChanged) writeTagHeader(tag);
        std::sort(m_dirty.begin(), m_dirty.end());
        m_dirty.erase(std::unique(m_dirty.begin(), m_dirty.end()), m_dirty.end());
        for (uint32_t page : m_dirty) {
            const auto it = m_cache.find(page);
            if (it == m_cache.end()) continue;  // freed since
            std::vector<uint8_t> bytes = serializeNode(it->second.tag, it->second);
            // The page's old bytes spare a transaction reading them again for its journal;
            // they are stale once any rollback may have put other bytes back.
            Node& n = it->second;
            if (n.onDisk.size() == bytes.size() && n.onDiskRollbacks == m_file->rollbackCount())
                m_file->knownContent(uint64_t(page) * kPageSize, n.onDisk.data(), n.onDisk.size());
            m_file->write(uint64_t(page) * kPageSize, bytes.data(), bytes.size());
            n.onDisk = std::move(bytes);
            n.onDiskRollbacks = m_file->rollbackCount();
        }
        writeHeader();
    } catch (...) {
        abandonChange();
        throw;
    }
    m_dirty.clear();
    m_changing = false;
    m_file->unlock(locks::kHeaderLockOffset, 1);
}

void MdxFile::writeHeader() {
    uint8_t* h = m_headerPage.data();
    put32(h + 32, m_pageCount);
    put32(h + 36, m_freeHead);
    putDate(h + 44);
    ++m_generation;
    for (int i = 0; i < 8; ++i) h[kGenerationOffset + size_t(i)] = uint8_t(m_generation >> (8 * i));
    put16(h + 28, uint16_t(m_tags.size()));
    const size_t length = m_headerDirty ? kHeaderBytes : 64;
    if (m_headerOnDisk.size() == kHeaderBytes && m_headerOnDiskRollbacks == m_file->rollbackCount())
        m_file->knownContent(0, m_headerOnDisk.data(), length);
    m_file->write(0, h, length);
    std::memcpy(m_headerOnDisk.data(), h, length);
    m_headerOnDiskRollbacks = m_file->rollbackCount();
    m_headerDirty = false;
}

void MdxFile::writeTagHeader(int tag) {
    TagInfo& t = m_tags[size_t(tag)];
    Cursor ends{tag, {}};
    descendLeftmost(ends, t.root, 0);
    const uint32_t firstLeaf = ends.path.back().first;
    ends.path.clear();
    descendRightmost(ends, t.root, 0);
    const uint32_t lastLeaf = ends.path.back().first;
    const bool hasKeys = node(tag, lastLeaf).count() > 0;
    if (t.headerWritten && t.writtenRoot == t.root && t.firstLeaf == firstLeaf && t.lastLeaf == lastLeaf &&
        t.hasKeys == hasKeys)
        return;
    t.writtenRoot = t.root;
    t.firstLeaf = firstLeaf;
    t.lastLeaf = lastLeaf;
    t.hasKeys = hasKeys;
    t.headerWritten = true;
    std::vector<uint8_t> b(kBlockSize, 0);
    if (m_file->read(uint64_t(t.headerPage) * kPageSize, b.data(), kBlockSize) < kBlockSize) b.assign(kBlockSize, 0);
    put32(b.data(), t.root);
    put32(b.data() + 4, 0);
    b[8] = uint8_t(0x10 | (t.descending ? 0x08 : 0));
    b[9] = uint8_t(t.shape.type);
    put16(b.data() + 12, uint16_t(t.shape.length));
    put16(b.data() + 14, uint16_t(t.maxKeys));
    put16(b.data() + 16, t.shape.type == KeyType::Date ? 1 : 0);
    put16(b.data() + 18, uint16_t(t.entryLength));
    put16(b.data() + 20, uint16_t(get16(b.data() + 20) + 1));
    std::memset(b.data() + 24, 0, 220);
    std::memcpy(b.data() + 24, t.expression.data(), std::min<size_t>(t.expression.size(), 219));
    // First and last leaf, as some readers keep them.
    put32(b.data() + 248, firstLeaf);
    put32(b.data() + 252, lastLeaf);
    b[246] = hasKeys ? 1 : 0;
    m_file->write(uint64_t(t.headerPage) * kPageSize, b.data(), b.size());
}

uint32_t MdxFile::allocatePage() {
    if (m_freeHead != 0) {
        const uint32_t page = m_freeHead;
        if (page < kFirstTagPage || page + kPagesPerBlock > m_pageCount) damaged("the free page chain leaves the file");
        uint8_t b[8];
        if (m_file->read(uint64_t(page) * kPageSize, b, 8) < 8) damaged("the free page chain leaves the file");
        m_freeHead = get32(b + 4);
        m_cache.erase(page);
        return page;
    }
    const uint32_t page = m_pageCount;
    m_pageCount += kPagesPerBlock;
    return page;
}

void MdxFile::freePage(uint32_t page) {
    std::vector<uint8_t> b(kBlockSize, 0);
    put32(b.data() + 4, m_freeHead);
    m_file->write(uint64_t(page) * kPageSize, b.data(), b.size());
    m_freeHead = page;
    m_cache.erase(page);
}

MdxFile::Node& MdxFile::newNode(int tag, uint32_t page, bool leaf) {
    Node n;
    n.tag = tag;
    n.leaf = leaf;
    markDirty(page);
    return m_cache.insert_or_assign(page, std::move(n)).first->second;
}

void MdxFile::insert(int tag, const IndexEntry& entry, bool appending) {
    requireChange();
    m_changedTags.insert(tag);
    const std::string sort = sortForm(tag, entry.stored);
    // A record appended after all others goes after every equal key; otherwise step over the
    // equal keys of lower record numbers.
    Cursor c = descend(tag, sort, appending);
    if (!appending) {
        while (true) {
            auto& [page, index] = c.path.back();
            const Node& leaf = node(tag, page);
            if (size_t(index) < leaf.count()) {
                if (!before(leaf.sorts[size_t(index)], leaf.entries[size_t(index)].recNo, sort, entry.recNo)) break;
                ++index;
                continue;
            }
            if (leaf.count() == 0) break;
            Cursor probe = c;
            probe.path.back().second = int(leaf.count()) - 1;
            if (!next(probe) || !before(sortAt(probe), entryAt(probe).recNo, sort, entry.recNo)) break;
            c = probe;
        }
    }
    const size_t level = c.path.size() - 1;
    Node& leaf = node(tag, c.path.back().first);
    const size_t at = size_t(c.path.back().second);
    if (leaf.count() == 0) m_shapeChanged.insert(tag);  // the tag gains its first key
    leaf.entries.insert(leaf.entries.begin() + long(at), entry);
    leaf.sorts.insert(leaf.sorts.begin() + long(at), sort);
    markDirty(c.path.back().first);
    if (at + 1 == leaf.count()) propagateMax(tag, c, level, entry.stored, sort);
    splitIfNeeded(tag, c, level);
}

void MdxFile::propagateMax(int tag, const Cursor& c, size_t level, const std::string& stored, const std::string& sort) {
    // The node at this level has a new largest key; its parent holds it unless the node is
    // the parent's rightmost child, in which case the parent's own largest key changed too.
    while (level > 0) {
        --level;
        const auto& [page, index] = c.path[level];
        Node& parent = node(tag, page);
        if (size_t(index) < parent.count()) {
            parent.entries[size_t(index)].stored = stored;
            parent.sorts[size_t(index)] = sort;
            markDirty(page);
            return;
        }
    }
}

void MdxFile::splitIfNeeded(int tag, Cursor& c, size_t level) {
    const TagInfo& t = m_tags[size_t(tag)];
    const uint32_t page = c.path[level].first;
    Node& full = node(tag, page);
    // Interior nodes keep one slot free: readers take a node holding the maximum for a leaf.
    const size_t limit = full.leaf ? size_t(t.maxKeys) : size_t(t.maxKeys - 1);
    if (full.count() <= limit) return;
    const size_t half = full.count() / 2;
    const uint32_t lowerPage = allocatePage();
    Node& fullAgain = node(tag, page);
    Node lower;
    lower.tag = tag;
    lower.leaf = fullAgain.leaf;
    lower.prev = fullAgain.prev;
    std::string lowerMaxStored, lowerMaxSort;
    if (fullAgain.leaf) {
        lower.entries.assign(fullAgain.entries.begin(), fullAgain.entries.begin() + long(half));
        lower.sorts.assign(fullAgain.sorts.begin(), fullAgain.sorts.begin() + long(half));
        fullAgain.entries.erase(fullAgain.entries.begin(), fullAgain.entries.begin() + long(half));
        fullAgain.sorts.erase(fullAgain.sorts.begin(), fullAgain.sorts.begin() + long(half));
        lowerMaxStored = lower.entries.back().stored;
        lowerMaxSort = lower.sorts.back();
    } else {
        // The middle entry's child becomes the lower node's rightmost child; its key, the
        // largest of that child, is the lower node's largest.
        lower.entries.assign(fullAgain.entries.begin(), fullAgain.entries.begin() + long(half));
        lower.sorts.assign(fullAgain.sorts.begin(), fullAgain.sorts.begin() + long(half));
        lower.rightmost = fullAgain.entries[half].recNo;
        lowerMaxStored = fullAgain.entries[half].stored;
        lowerMaxSort = fullAgain.sorts[half];
        fullAgain.entries.erase(fullAgain.entries.begin(), fullAgain.entries.begin() + long(half) + 1);
        fullAgain.sorts.erase(fullAgain.sorts.begin(), fullAgain.sorts.begin() + long(half) + 1);
    }
    fullAgain.prev = lowerPage;
    m_shapeChanged.insert(tag);
    markDirty(page);
    m_cache.insert_or_assign(lowerPage, std::move(lower));
    markDirty(lowerPage);
    const IndexEntry link{lowerMaxStored, lowerPage};
    if (level == 0) {
        const uint32_t rootPage = allocatePage();
        Node& root = newNode(tag, rootPage, false);
        root.entries.push_back(link);
        root.sorts.push_back(lowerMaxSort);
        root.rightmost = page;
        m_tags[size_t(tag)].root = rootPage;
        return;
    }
    const auto& [parentPage, index] = c.path[level - 1];
    Node& parent = node(tag, parentPage);
    parent.entries.insert(parent.entries.begin() + index, link);
    parent.sorts.insert(parent.sorts.begin() + index, lowerMaxSort);
    markDirty(parentPage);
    splitIfNeeded(tag, c, level - 1);
}

void MdxFile::remove(int tag, const IndexEntry& entry) {
    requireChange();
    m_changedTags.insert(tag);
    Cursor c = find(tag, entry.stored, entry.recNo);
    if (!c.valid()) damaged("tag " + m_tags[size_t(tag)].name + " lacks record " + std::to_string(entry.recNo));
    const size_t level = c.path.size() - 1;
    Node& leaf = node(tag, c.path.back().first);
    const size_t at = size_t(c.path.back().second);
    leaf.entries.erase(leaf.entries.begin() + long(at));
    leaf.sorts.erase(leaf.sorts.begin() + long(at));
    markDirty(c.path.back().first);
    if (leaf.count() == 0) m_shapeChanged.insert(tag);
    if (leaf.count() == 0 && level > 0) {
        removeNode(tag, c, level);
        collapseRoot(tag);
    } else if (at == leaf.count() && leaf.count() > 0) {
        propagateMax(tag, c, level, leaf.entries.back().stored, leaf.sorts.back());
    }
}

uint32_t MdxFile::successorAtLevel(int tag, const Cursor& c, size_t level) {
    for (size_t up = level; up > 0; --up) {
        const auto& [p, i] = c.path[up - 1];
        const Node& parent = node(tag, p);
        if (size_t(i + 1) < parent.children()) {
            uint32_t page = childAt(parent, i + 1);
            for (size_t down = up; down < level; ++down) page = childAt(node(tag, page), 0);
            return page;
        }
    }
    return 0;
}

void MdxFile::removeNode(int tag, Cursor& c, size_t level) {
    m_shapeChanged.insert(tag);
    const uint32_t page = c.path[level].first;
    if (const uint32_t successor = successorAtLevel(tag, c, level)) {
        Node& s = node(tag, successor);
        s.prev = node(tag, page).prev;
        markDirty(successor);
    }
    freePage(page);
    const auto [parentPage, index] = c.path[level - 1];
    Node& parent = node(tag, parentPage);
    markDirty(parentPage);
    if (size_t(index) < parent.count()) {
        parent.entries.erase(parent.entries.begin() + index);
        parent.sorts.erase(parent.sorts.begin() + index);
        return;
    }
    if (parent.count() > 0) {
        // The rightmost child went: the last entry's child takes its place, and that child's
        // largest key is now the parent's largest.
        parent.rightmost = parent.entries.back().recNo;
        const std::string stored = parent.entries.back().stored;
        const std::string sort = parent.sorts.back();
        parent.entries.pop_back();
        parent.sorts.pop_back();
        propagateMax(tag, c, level - 1, stored, sort);
        return;
    }
    if (level - 1 == 0) {  // the root lost its only child: the tree is empty
        parent.leaf = true;
        parent.rightmost = 0;
        return;
    }
    removeNode(tag, c, level - 1);
}

void MdxFile::collapseRoot(int tag) {
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        TagInfo& t = m_tags[size_t(tag)];
        Node& root = node(tag, t.root);
        if (root.leaf || root.count() > 0) return;
        const uint32_t old = t.root;
        t.root = root.rightmost;
        freePage(old);
    }
}

void MdxFile::addTag(const std::string& name, const std::string& expression, const KeyShape& shape, bool descending,
                     std::vector<IndexEntry> entries) {
    requireChange();
    if (m_tags.size() >= size_t(kMaxTags)) fail(m_tablePath, "an index file holds at most 47 tags");
    if (tagIndex(name) >= 0) fail(m_tablePath, "the index already has a tag " + name);
    if (name.empty() || name.size() > 10) fail(m_tablePath, "invalid tag name '" + name + "'");
    TagInfo t;
    t.name = name;
    t.expression = expression;
    t.shape = shape;
    t.descending = descending;
    t.entryLength = 4 + (shape.length + 3) / 4 * 4;
    t.maxKeys = int((kBlockSize - 16) / uint32_t(t.entryLength));
    t.headerPage = m_pageCount;  // tags are built at the end of the file, each in one piece
    m_pageCount += kPagesPerBlock;
    m_tags.push_back(t);
    const int tag = int(m_tags.size()) - 1;
    m_changedTags.insert(tag);
    m_shapeChanged.insert(tag);

    // Sort forms of one tag all have the same width: they are sorted as one flat buffer,
    // equal keys by record number.
    const size_t width = entries.empty() ? 0 : sortForm(tag, entries.front().stored).size();
    std::vector<char> flat(entries.size() * width);
    std::vector<uint32_t> order(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string sort = sortForm(tag, entries[i].stored);
        std::memcpy(flat.data() + i * width, sort.data(), std::min(width, sort.size()));
        order[i] = uint32_t(i);
    }
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int c = std::memcmp(flat.data() + size_t(a) * width, flat.data() + size_t(b) * width, width);
        return c < 0 || (c == 0 && entries[a].recNo < entries[b].recNo);
    });
    // Level by level from the leaves: each level is written as one run of pages.
    struct Built {
        uint32_t page;
        std::string stored;
    };
    std::vector<Built> level;
    const size_t perLeaf = size_t(t.maxKeys);
    const size_t leafCount = std::max<size_t>(1, (order.size() + perLeaf - 1) / perLeaf);
    std::vector<uint8_t> run(leafCount * kBlockSize, 0);
    const uint32_t firstLeaf = m_pageCount;
    m_pageCount += uint32_t(leafCount) * kPagesPerBlock;
    for (size_t l = 0; l < leafCount; ++l) {
        Node n;
        n.leaf = true;
        n.prev = l == 0 ? 0 : firstLeaf + uint32_t(l - 1) * kPagesPerBlock;
        for (size_t k = l * perLeaf; k < std::min(order.size(), (l + 1) * perLeaf); ++k)
            n.entries.push_back(entries[order[k]]);
        const std::vector<uint8_t> bytes = serializeNode(tag, n);
        std::memcpy(run.data() + l * kBlockSize, bytes.data(), kBlockSize);
        level.push_back(
            {firstLeaf + uint32_t(l) * kPagesPerBlock, n.entries.empty() ? std::string() : n.entries.back().stored});
    }
    m_file->write(uint64_t(firstLeaf) * kPageSize, run.data(), run.size());
    const size_t perInterior = size_t(t.maxKeys) - 1 + 1;  // maximum − 1 keys plus the rightmost child
    while (level.size() > 1) {
        const size_t count = (level.size() + perInterior - 1) / perInterior;
        const uint32_t firstPage = m_pageCount;
        m_pageCount += uint32_t(count) * kPagesPerBlock;
        std::vector<uint8_t> buffer(count * kBlockSize, 0);
        std::vector<Built> upper;
        for (size_t g = 0; g < count; ++g) {
            Node n;
            n.leaf = false;
            n.prev = g == 0 ? 0 : firstPage + uint32_t(g - 1) * kPagesPerBlock;
            const size_t from = g * perInterior, to = std::min(level.size(), (g + 1) * perInterior);
            for (size_t k = from; k + 1 < to; ++k) n.entries.push_back({level[k].stored, level[k].page});
            n.rightmost = level[to - 1].page;
            const std::vector<uint8_t> bytes = serializeNode(tag, n);
            std::memcpy(buffer.data() + g * kBlockSize, bytes.data(), kBlockSize);
            upper.push_back({firstPage + uint32_t(g) * kPagesPerBlock, level[to - 1].stored});
        }
        m_file->write(uint64_t(firstPage) * kPageSize, buffer.data(), buffer.size());
        level = std::move(upper);
    }
    m_tags[size_t(tag)].root = level.front().page;
    uint8_t* e = m_headerPage.data() + kTagTable + size_t(tag) * kTagEntry;
    std::memset(e, 0, kTagEntry);
    put32(e, t.headerPage);
    std::memcpy(e + 4, name.data(), name.size());
    e[15] = 0x10;
    e[19] = 0x02;
    e[20] = uint8_t(shape.type);
    m_headerDirty = true;
}

// ---- checking -------------------------------------------------------------------------------

std::vector<IndexEntry> MdxFile::walk(int tag, std::vector<std::string>& faults) {
    std::vector<IndexEntry> out;
    const std::string name = "tag " + m_tags[size_t(tag)].name;
    std::unordered_set<uint32_t> visited;
    std::string lastSort;
    uint32_t lastRec = 0;
    bool haveLast = false;
    // Returns the largest sort form below page, or nullopt for an empty subtree.
    std::function<std::optional<std::string>(uint32_t, int)> visit = [&](uint32_t page,
                                                                         int depth) -> std::optional<std::string> {
        if (depth > kMaxDepth || !visited.insert(page).second) {
            faults.push_back(name + ": page " + std::to_string(page) + " is reached twice (a loop)");
            return std::nullopt;
        }
        Node n;
        try {
            n = node(tag, page);
        } catch (const DbError& e) {
            faults.push_back(e.what());
            return std::nullopt;
        }
        if (n.leaf) {
            for (size_t i = 0; i < n.count(); ++i) {
                if (haveLast && before(n.sorts[i], n.entries[i].recNo, lastSort, lastRec))
                    faults.push_back(name + ": record " + std::to_string(n.entries[i].recNo) + " is out of order");
                lastSort = n.sorts[i];
                lastRec = n.entries[i].recNo;
                haveLast = true;
                out.push_back(n.entries[i]);
            }
            if (n.count() == 0 && depth > 0)
                faults.push_back(name + ": page " + std::to_string(page) + " is an empty leaf");
            return n.count() ? std::optional<std::string>(n.sorts.back()) : std::nullopt;
        }
        std::optional<std::string> largest;
        for (size_t i = 0; i <= n.count(); ++i) {
            largest = visit(childAt(n, int(i)), depth + 1);
            if (i < n.count() && largest && *largest != n.sorts[i])
                faults.push_back(name + ": page " + std::to_string(page) +
                                 " holds a key that is not its child's largest");
        }
        return largest;
    };
    visit(m_tags[size_t(tag)].root, 0);
    return out;
}

}  // namespace dbase
