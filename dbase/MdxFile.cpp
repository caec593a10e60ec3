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
bool before(std::string_view sortA, uint32_t recA, std::string_view sortB, uint32_t recB) {
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
    try {
        loadHeader();
    } catch (const DbError&) {
        // Read without the lock, the header may be caught while another process writes a
        // change (a new root, the page count after it): read once more under the lock, and
        // only what is still wrong then is damage.
        if (m_file->inTransaction() || !locks::lockWithWait(*m_file, locks::kHeaderLockOffset, 1, LockKind::Shared))
            throw;
        try {
            loadHeader();
        } catch (...) {
            m_file->unlock(locks::kHeaderLockOffset, 1);
            throw;
        }
        m_file->unlock(locks::kHeaderLockOffset, 1);
    }
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
    m_fileSize = size;
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
        tag.sortWidth = int(sortKeyWidth(tag.shape));
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
    // Inside a transaction the index lock is taken at the first look and kept. Whatever other
    // processes wrote before it was taken, and whatever another handle of this process wrote
    // since, is read again once under it (the transaction's mark tells); after that nothing
    // can change the file behind this handle until the transaction ends.
    if (m_file->inTransaction()) {
        if (!m_file->heldByTransaction(locks::kHeaderLockOffset, 1) &&
            !locks::lockWithWait(*m_file, locks::kHeaderLockOffset, 1, LockKind::Exclusive))
            fail(m_tablePath, errtext::kTableBusy);
        const uint64_t mark = m_file->transactionMark();
        if (mark == m_verifiedMark) return false;
        const bool changed = readGeneration() != m_generation;
        if (changed) loadHeader();
        m_verifiedMark = mark;
        // Unchanged since this handle read or wrote it last: the file is as long as then.
        m_file->knownSize(m_fileSize, true);
        return changed;
    }
    m_verifiedMark = 0;
    if (readGeneration() == m_generation) return false;
    loadHeader();
    return true;
}

void MdxFile::writeFile(uint64_t offset, const void* data, size_t size) {
    m_file->write(offset, data, size);
    m_fileSize = std::max(m_fileSize, offset + size);
}

uint64_t MdxFile::storedGeneration(File& file) {
    uint8_t b[8];
    if (file.read(kGenerationOffset, b, 8) < 8) return 0;
    uint64_t g = 0;
    for (int i = 7; i >= 0; --i) g = (g << 8) | b[i];
    return g;
}

void MdxFile::storeGeneration(File& file, uint64_t generation) {
    uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = uint8_t(generation >> (8 * i));
    file.write(kGenerationOffset, b, 8);
}

bool MdxFile::beginRead() {
    if (m_readDepth++ > 0) return false;
    try {
        if (!m_changing && !m_file->inTransaction()) {
            if (!locks::lockWithWait(*m_file, locks::kHeaderLockOffset, 1, LockKind::Shared))
                fail(m_tablePath, errtext::kTableBusy);
            m_readLocked = true;
        }
        return refreshIfChanged();
    } catch (...) {
        endRead();
        throw;
    }
}

void MdxFile::endRead() {
    if (--m_readDepth > 0 || !m_readLocked) return;
    m_readLocked = false;
    m_file->unlock(locks::kHeaderLockOffset, 1);
}

void MdxFile::waitForWriters() {
    if (m_readLocked) return;  // no writer can be at work while this handle reads under the lock
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

void MdxFile::sortFormInto(int tag, std::string_view stored, char* out) const {
    const TagInfo& t = m_tags[size_t(tag)];
    sortKeyInto(t.shape, stored, m_collation, out);
    if (t.descending)
        for (int i = 0; i < t.sortWidth; ++i) out[i] = char(~uint8_t(out[i]));
}

std::string MdxFile::sortForm(int tag, std::string_view stored) const {
    std::string s(size_t(m_tags[size_t(tag)].sortWidth), '\0');
    sortFormInto(tag, stored, s.data());
    return s;
}

std::string MdxFile::seekForm(int tag, const std::string& sortKey) const {
    std::string s = sortKey;
    if (m_tags[size_t(tag)].descending)
        for (char& c : s) c = char(~uint8_t(c));
    return s;
}

// ---- nodes ----------------------------------------------------------------------------------

uint32_t MdxFile::Node::pointer(size_t i) const {
    return get32(cells.data() + i * entryLength);
}

void MdxFile::Node::setPointer(size_t i, uint32_t value) {
    put32(cells.data() + i * entryLength, value);
}

void MdxFile::Node::insertAt(size_t i, uint32_t pointer, std::string_view stored, std::string_view sort) {
    cells.insert(cells.begin() + long(i * entryLength), entryLength, 0);
    sorts.insert(i * sortWidth, sortWidth, '\0');
    ++n;
    setPointer(i, pointer);
    setKey(i, stored, sort);
}

void MdxFile::Node::eraseAt(size_t first, size_t count) {
    cells.erase(cells.begin() + long(first * entryLength), cells.begin() + long((first + count) * entryLength));
    sorts.erase(first * sortWidth, count * sortWidth);
    n -= count;
}

void MdxFile::Node::setKey(size_t i, std::string_view stored, std::string_view sort) {
    uint8_t* key = cells.data() + i * entryLength + 4;
    std::memset(key, 0, entryLength - 4);
    std::memcpy(key, stored.data(), std::min<size_t>(stored.size(), keyLength));
    std::memcpy(sorts.data() + i * sortWidth, sort.data(), std::min<size_t>(sort.size(), sortWidth));
}

void MdxFile::Node::appendFrom(const Node& other, size_t from, size_t to) {
    cells.insert(cells.end(), other.cells.begin() + long(from * entryLength),
                 other.cells.begin() + long(to * entryLength));
    sorts.append(other.sorts, from * sortWidth, (to - from) * sortWidth);
    n += to - from;
}

MdxFile::Node MdxFile::emptyNode(int tag, bool leaf) const {
    const TagInfo& t = m_tags[size_t(tag)];
    Node node;
    node.tag = tag;
    node.leaf = leaf;
    node.entryLength = uint32_t(t.entryLength);
    node.keyLength = uint32_t(t.shape.length);
    node.sortWidth = uint32_t(t.sortWidth);
    return node;
}

MdxFile::Node MdxFile::parseNode(int tag, uint32_t page, const std::vector<uint8_t>& bytes) const {
    const TagInfo& t = m_tags[size_t(tag)];
    const uint8_t* p = bytes.data();
    const uint32_t n = get32(p);
    const auto where = [&] { return "tag " + t.name + ", page " + std::to_string(page); };
    if (n > uint32_t(t.maxKeys)) damaged(where() + " holds " + std::to_string(n) + " keys");
    const size_t after = 8 + size_t(n) * size_t(t.entryLength);
    Node node = emptyNode(tag, get32(p + after) == 0);
    node.prev = get32(p + 4);
    node.rightmost = get32(p + after);
    node.n = n;
    node.cells.assign(p + 8, p + after);
    node.sorts.resize(size_t(n) * node.sortWidth);
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t pointer = node.pointer(i);
        if (pointer == 0) damaged(where() + " has an empty pointer");
        if (!node.leaf && (pointer < kFirstTagPage || pointer + kPagesPerBlock > m_pageCount || pointer == page))
            damaged(where() + " points outside the file");
        sortFormInto(tag, node.stored(i), node.sorts.data() + size_t(i) * node.sortWidth);
    }
    if (!node.leaf &&
        (node.rightmost < kFirstTagPage || node.rightmost + kPagesPerBlock > m_pageCount || node.rightmost == page))
        damaged(where() + " points outside the file");
    return node;
}

std::vector<uint8_t> MdxFile::serializeNode(int tag, const Node& n) const {
    const TagInfo& t = m_tags[size_t(tag)];
    std::vector<uint8_t> b(kBlockSize, 0);
    put32(b.data(), uint32_t(n.count()));
    put32(b.data() + 4, n.prev);
    std::memcpy(b.data() + 8, n.cells.data(), n.count() * size_t(t.entryLength));
    if (!n.leaf) put32(b.data() + 8 + n.count() * size_t(t.entryLength), n.rightmost);
    return b;
}

MdxFile::Node& MdxFile::node(int tag, uint32_t page) {
    const auto it = m_cache.find(page);
    if (it != m_cache.end()) {
        it->second.used = ++m_clock;
        return it->second;
    }
    if (page < kFirstTagPage || page + kPagesPerBlock > m_pageCount)
        damaged("page " + std::to_string(page) + " lies outside the file");
    if (!m_changing && m_cache.size() >= kCacheLimit) evictOldest();
    std::vector<uint8_t> bytes(kBlockSize);
    if (m_file->read(uint64_t(page) * kPageSize, bytes.data(), kBlockSize) < kBlockSize)
        damaged("page " + std::to_string(page) + " is truncated");
    Node& n = m_cache.emplace(page, parseNode(tag, page, bytes)).first->second;
    n.onDisk = std::move(bytes);
    n.onDiskRollbacks = m_file->rollbackCount();
    n.used = ++m_clock;
    return n;
}

void MdxFile::evictOldest() {
    // The half used longest ago goes; the nodes an operation is using are among the newest.
    std::vector<uint64_t> ages;
    ages.reserve(m_cache.size());
    for (const auto& [page, n] : m_cache) ages.push_back(n.used);
    std::nth_element(ages.begin(), ages.begin() + long(ages.size() / 2), ages.end());
    const uint64_t cut = ages[ages.size() / 2];
    for (auto it = m_cache.begin(); it != m_cache.end();)
        it = it->second.used < cut ? m_cache.erase(it) : std::next(it);
}

uint32_t MdxFile::childAt(const Node& n, int index) const {
    return size_t(index) < n.count() ? n.pointer(size_t(index)) : n.rightmost;
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

namespace {

size_t checkedIndex(const MdxFile::Cursor& c, size_t count) {
    const size_t index = size_t(c.path.back().second);
    if (c.path.back().second < 0 || index >= count) throw std::out_of_range("index cursor outside its node");
    return index;
}

}  // namespace

IndexEntry MdxFile::entryAt(const Cursor& c) {
    const Node& n = node(c.tag, c.path.back().first);
    const size_t i = checkedIndex(c, n.count());
    return {std::string(n.stored(i)), n.pointer(i)};
}

uint32_t MdxFile::recNoAt(const Cursor& c) {
    const Node& n = node(c.tag, c.path.back().first);
    return n.pointer(checkedIndex(c, n.count()));
}

std::string_view MdxFile::storedAt(const Cursor& c) {
    const Node& n = node(c.tag, c.path.back().first);
    return n.stored(checkedIndex(c, n.count()));
}

std::string_view MdxFile::sortAt(const Cursor& c) {
    const Node& n = node(c.tag, c.path.back().first);
    return n.sort(checkedIndex(c, n.count()));
}

MdxFile::Cursor MdxFile::descend(int tag, std::string_view sort, bool upper) {
    Cursor c{tag, {}};
    uint32_t page = m_tags[size_t(tag)].root;
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth) damaged("tag " + m_tags[size_t(tag)].name + " loops");
        const Node& n = node(tag, page);
        // The first entry after the sort form (upper) or not before it (lower).
        size_t low = 0, high = n.count();
        while (low < high) {
            const size_t mid = (low + high) / 2;
            const int order = n.sort(mid).compare(sort);
            if (upper ? order <= 0 : order < 0)
                low = mid + 1;
            else
                high = mid;
        }
        c.path.push_back({page, int(low)});
        if (n.leaf) return c;
        page = childAt(n, int(low));
    }
}

MdxFile::Cursor MdxFile::lowerBound(int tag, std::string_view sort) {
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
        if (recNoAt(c) == recNo) return c;
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
    m_verifiedMark = 0;
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
            writeFile(uint64_t(page) * kPageSize, bytes.data(), bytes.size());
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
    // This handle's own writes are what the file now holds for the transaction.
    if (m_verifiedMark != 0) m_verifiedMark = m_file->transactionMark();
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
    writeFile(0, h, length);
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
    writeFile(uint64_t(t.headerPage) * kPageSize, b.data(), b.size());
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
    writeFile(uint64_t(page) * kPageSize, b.data(), b.size());
    m_freeHead = page;
    m_cache.erase(page);
}

MdxFile::Node& MdxFile::newNode(int tag, uint32_t page, bool leaf) {
    markDirty(page);
    Node& n = m_cache.insert_or_assign(page, emptyNode(tag, leaf)).first->second;
    n.used = ++m_clock;
    return n;
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
                if (!before(leaf.sort(size_t(index)), leaf.pointer(size_t(index)), sort, entry.recNo)) break;
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
    leaf.insertAt(at, entry.recNo, entry.stored, sort);
    markDirty(c.path.back().first);
    if (at + 1 == leaf.count()) propagateMax(tag, c, level, entry.stored, sort);
    splitIfNeeded(tag, c, level);
}

void MdxFile::propagateMax(int tag, const Cursor& c, size_t level, std::string_view stored, std::string_view sort) {
    // The node at this level has a new largest key; its parent holds it unless the node is
    // the parent's rightmost child, in which case the parent's own largest key changed too.
    while (level > 0) {
        --level;
        const auto& [page, index] = c.path[level];
        Node& parent = node(tag, page);
        if (size_t(index) < parent.count()) {
            // An equal key appended after its equals leaves the parent's key as it was: the
            // page is not rewritten.
            if (parent.stored(size_t(index)) == stored) return;
            parent.setKey(size_t(index), stored, sort);
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
    // A key added after every other (a rising document number) leaves the full leaf as it
    // is and starts the next one; anywhere else the node is split in halves.
    bool rightEdge = full.leaf && size_t(c.path[level].second) + 1 == full.count();
    for (size_t up = 0; rightEdge && up < level; ++up)
        rightEdge = size_t(c.path[up].second) == node(tag, c.path[up].first).count();
    const size_t half = rightEdge ? full.count() - 1 : full.count() / 2;
    const uint32_t lowerPage = allocatePage();
    Node& fullAgain = node(tag, page);
    Node lower = emptyNode(tag, fullAgain.leaf);
    lower.prev = fullAgain.prev;
    lower.appendFrom(fullAgain, 0, half);
    std::string lowerMaxStored, lowerMaxSort;
    if (fullAgain.leaf) {
        lowerMaxStored = lower.stored(half - 1);
        lowerMaxSort = lower.sort(half - 1);
        fullAgain.eraseAt(0, half);
    } else {
        // The middle entry's child becomes the lower node's rightmost child; its key, the
        // largest of that child, is the lower node's largest.
        lower.rightmost = fullAgain.pointer(half);
        lowerMaxStored = fullAgain.stored(half);
        lowerMaxSort = fullAgain.sort(half);
        fullAgain.eraseAt(0, half + 1);
    }
    lower.used = ++m_clock;
    fullAgain.prev = lowerPage;
    m_shapeChanged.insert(tag);
    markDirty(page);
    m_cache.insert_or_assign(lowerPage, std::move(lower));
    markDirty(lowerPage);
    const IndexEntry link{lowerMaxStored, lowerPage};
    if (level == 0) {
        const uint32_t rootPage = allocatePage();
        Node& root = newNode(tag, rootPage, false);
        root.insertAt(0, link.recNo, link.stored, lowerMaxSort);
        root.rightmost = page;
        m_tags[size_t(tag)].root = rootPage;
        return;
    }
    const auto& [parentPage, index] = c.path[level - 1];
    Node& parent = node(tag, parentPage);
    parent.insertAt(size_t(index), link.recNo, link.stored, lowerMaxSort);
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
    leaf.eraseAt(at);
    markDirty(c.path.back().first);
    if (leaf.count() == 0) m_shapeChanged.insert(tag);
    if (leaf.count() == 0 && level > 0) {
        removeNode(tag, c, level);
        collapseRoot(tag);
    } else if (at == leaf.count() && leaf.count() > 0) {
        const std::string stored(leaf.stored(at - 1)), sort(leaf.sort(at - 1));
        propagateMax(tag, c, level, stored, sort);
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
        parent.eraseAt(size_t(index));
        return;
    }
    if (parent.count() > 0) {
        // The rightmost child went: the last entry's child takes its place, and that child's
        // largest key is now the parent's largest.
        const size_t last = parent.count() - 1;
        parent.rightmost = parent.pointer(last);
        const std::string stored(parent.stored(last)), sort(parent.sort(last));
        parent.eraseAt(last);
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
    std::string keys(entries.size() * size_t(shape.length), '\0');
    std::vector<uint32_t> recNos(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].stored.copy(keys.data() + i * size_t(shape.length), size_t(shape.length));
        recNos[i] = entries[i].recNo;
    }
    buildTag(name, expression, shape, descending, keys, &recNos);
}

void MdxFile::addTagFromKeys(const std::string& name, const std::string& expression, const KeyShape& shape,
                             bool descending, std::string_view keys) {
    buildTag(name, expression, shape, descending, keys, nullptr);
}

void MdxFile::buildTag(const std::string& name, const std::string& expression, const KeyShape& shape, bool descending,
                       std::string_view keys, const std::vector<uint32_t>* recNos) {
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
    t.sortWidth = int(sortKeyWidth(shape));
    t.headerPage = m_pageCount;  // tags are built at the end of the file, each in one piece
    m_pageCount += kPagesPerBlock;
    m_tags.push_back(t);
    const int tag = int(m_tags.size()) - 1;
    m_changedTags.insert(tag);
    m_shapeChanged.insert(tag);

    // Each entry's sort form followed by its record number (big-endian): plain byte order of
    // these rows is the tag's order, equal keys by record number, with no look elsewhere.
    const size_t keyLength = size_t(shape.length);
    const size_t count = keyLength ? keys.size() / keyLength : 0;
    const size_t width = size_t(t.sortWidth), rowWidth = width + 4;
    std::vector<char> rows(count * rowWidth);
    for (size_t i = 0; i < count; ++i) {
        char* row = rows.data() + i * rowWidth;
        sortFormInto(tag, keys.substr(i * keyLength, keyLength), row);
        const uint32_t recNo = recNos ? (*recNos)[i] : uint32_t(i + 1);
        for (int b = 0; b < 4; ++b) row[width + size_t(b)] = char(recNo >> (24 - 8 * b));
    }
    // Sorted by the first 16 bytes after the part all rows share, held beside each row's
    // number; only rows equal in those compare further.
    size_t shared = rowWidth;
    for (size_t i = 1; i < count && shared > 0; ++i)
        while (shared > 0 && std::memcmp(rows.data(), rows.data() + i * rowWidth, shared) != 0) --shared;
    struct Sorted {
        uint64_t high, low;
        uint32_t row;
    };
    const auto bigEndian = [&](const char* row, size_t at) {
        uint64_t v = 0;
        for (size_t b = 0; b < 8; ++b) v = v << 8 | (at + b < rowWidth ? uint8_t(row[at + b]) : 0);
        return v;
    };
    std::vector<Sorted> order(count);
    for (size_t i = 0; i < count; ++i) {
        const char* row = rows.data() + i * rowWidth;
        order[i] = {bigEndian(row, shared), bigEndian(row, shared + 8), uint32_t(i)};
    }
    const size_t rest = shared + 16 < rowWidth ? shared + 16 : rowWidth;
    std::sort(order.begin(), order.end(), [&](const Sorted& a, const Sorted& b) {
        if (a.high != b.high) return a.high < b.high;
        if (a.low != b.low) return a.low < b.low;
        return std::memcmp(rows.data() + size_t(a.row) * rowWidth + rest, rows.data() + size_t(b.row) * rowWidth + rest,
                           rowWidth - rest) < 0;
    });
    const auto recNoOf = [&](size_t i) { return recNos ? (*recNos)[i] : uint32_t(i + 1); };

    // Level by level from the leaves: each level is written as one run of pages.
    struct Built {
        uint32_t page;
        std::string_view stored;  // the largest key below
    };
    std::vector<Built> level;
    const size_t entryLength = size_t(t.entryLength);
    // Nodes are built nine tenths full, so that the first keys added after a rebuild do not
    // split them.
    const size_t perLeaf = std::max<size_t>(2, size_t(t.maxKeys) * 9 / 10);
    const size_t leafCount = std::max<size_t>(1, (count + perLeaf - 1) / perLeaf);
    std::vector<uint8_t> run(leafCount * kBlockSize, 0);
    const uint32_t firstLeaf = m_pageCount;
    m_pageCount += uint32_t(leafCount) * kPagesPerBlock;
    for (size_t l = 0; l < leafCount; ++l) {
        uint8_t* page = run.data() + l * kBlockSize;
        const size_t from = l * perLeaf, to = std::min(count, from + perLeaf);
        put32(page, uint32_t(to - from));
        put32(page + 4, l == 0 ? 0 : firstLeaf + uint32_t(l - 1) * kPagesPerBlock);
        for (size_t k = from; k < to; ++k) {
            const size_t i = order[k].row;
            uint8_t* e = page + 8 + (k - from) * entryLength;
            put32(e, recNoOf(i));
            std::memcpy(e + 4, keys.data() + i * keyLength, keyLength);
        }
        level.push_back({firstLeaf + uint32_t(l) * kPagesPerBlock,
                         to > from ? keys.substr(order[to - 1].row * keyLength, keyLength) : std::string_view()});
    }
    writeFile(uint64_t(firstLeaf) * kPageSize, run.data(), run.size());
    // At most maximum − 1 keys plus the rightmost child, nine tenths of it.
    const size_t perInterior = std::max<size_t>(3, size_t(t.maxKeys) * 9 / 10);
    while (level.size() > 1) {
        const size_t pages = (level.size() + perInterior - 1) / perInterior;
        const uint32_t firstPage = m_pageCount;
        m_pageCount += uint32_t(pages) * kPagesPerBlock;
        std::vector<uint8_t> buffer(pages * kBlockSize, 0);
        std::vector<Built> upper;
        for (size_t g = 0; g < pages; ++g) {
            uint8_t* page = buffer.data() + g * kBlockSize;
            const size_t from = g * perInterior, to = std::min(level.size(), (g + 1) * perInterior);
            put32(page, uint32_t(to - from - 1));
            put32(page + 4, g == 0 ? 0 : firstPage + uint32_t(g - 1) * kPagesPerBlock);
            for (size_t k = from; k + 1 < to; ++k) {
                uint8_t* e = page + 8 + (k - from) * entryLength;
                put32(e, level[k].page);
                std::memcpy(e + 4, level[k].stored.data(), level[k].stored.size());
            }
            put32(page + 8 + (to - from - 1) * entryLength, level[to - 1].page);
            upper.push_back({firstPage + uint32_t(g) * kPagesPerBlock, level[to - 1].stored});
        }
        writeFile(uint64_t(firstPage) * kPageSize, buffer.data(), buffer.size());
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
                if (haveLast && before(n.sort(i), n.pointer(i), lastSort, lastRec))
                    faults.push_back(name + ": record " + std::to_string(n.pointer(i)) + " is out of order");
                lastSort = n.sort(i);
                lastRec = n.pointer(i);
                haveLast = true;
                out.push_back({std::string(n.stored(i)), n.pointer(i)});
            }
            if (n.count() == 0 && depth > 0)
                faults.push_back(name + ": page " + std::to_string(page) + " is an empty leaf");
            return n.count() ? std::optional<std::string>(n.sort(n.count() - 1)) : std::nullopt;
        }
        std::optional<std::string> largest;
        for (size_t i = 0; i <= n.count(); ++i) {
            largest = visit(childAt(n, int(i)), depth + 1);
            if (i < n.count() && largest && *largest != n.sort(i))
                faults.push_back(name + ": page " + std::to_string(page) +
                                 " holds a key that is not its child's largest");
        }
        return largest;
    };
    visit(m_tags[size_t(tag)].root, 0);
    return out;
}

}  // namespace dbase
