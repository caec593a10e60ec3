// The production-index side of a table handle: orders, index-order navigation, seeks, and
// keeping every tag current on append, post, pack and empty.
#include <algorithm>
#include <cstring>

#include "DbError.h"
#include "FieldCodec.h"
#include "Locks.h"
#include "MdxFile.h"
#include "Table.h"
#include "Transaction.h"

namespace dbase {
namespace {

std::string upperCopy(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

std::string mdxName(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".mdx";
}

std::string baseOf(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

}  // namespace

std::string Table::indexPath() const {
    return resolvePath(m_folder, mdxName(m_fileName));
}

namespace {

// The index's byte 31 names the driver its keys were ordered by. Other software writes 0 there
// when it knew no driver of the table; it then orders by plain bytes, at level 7 (where TDbf
// cannot read the Windows-1250 driver name) and for tables without a driver id alike. At
// levels 3 and 4 a 0 means the table's own driver.
Collation indexCollation(const TableHeader& header, uint8_t languageByte) {
    const bool byBytes = languageByte == 0 && (header.level == TableLevel::DBase7 || header.languageId == 0);
    return byBytes ? Collation::binary(header.codePage()) : Collation(header.codePage());
}

}  // namespace

void Table::openIndex() {
    const std::string path = indexPath();
    if (!m_fs.exists(path))
        failHere(DbErrorKind::Missing, "the production index file " + mdxName(m_fileName) + " is missing");
    auto file = participatingFile(m_fs.open(path, m_options.readOnly ? OpenMode::ReadOnly : OpenMode::ReadWrite),
                                  m_folderState);
    uint8_t languageByte = 0;
    file->read(31, &languageByte, 1);
    m_mdx = std::make_unique<MdxFile>(std::move(file), m_path, indexCollation(m_header, languageByte));
    if (languageByte != m_header.languageId && languageByte != 0)
        m_mdx->damaged("it was made for another language driver (" + std::to_string(languageByte) + ")");
    resolveTags();
}

void Table::resolveTags() {
    // Every tag must be a plain field of this table keyed the way this engine keys it;
    // anything else (another collation, an expression, another key layout) is not trusted.
    m_tagField.clear();
    for (const TagInfo& tag : m_mdx->tags()) {
        const int field = fieldIndex(trimmed(tag.expression));
        if (field < 0) m_mdx->damaged("tag " + tag.name + " is not keyed on a field of the table");
        const KeyShape shape = KeyShape::forField(m_header.fields[size_t(field)]);
        if (shape.type != tag.shape.type || shape.length != tag.shape.length)
            m_mdx->damaged("tag " + tag.name + " has keys of another layout than its field");
        m_tagField.push_back(field);
    }
}

std::string Table::tagKey(int tag, const uint8_t* record) const {
    const int field = m_tagField[size_t(tag)];
    return storedKey(m_header.fields[size_t(field)], m_mdx->tags()[size_t(tag)].shape, record);
}

std::vector<std::string> Table::tagNames() const {
    std::vector<std::string> names;
    if (m_mdx)
        for (const TagInfo& t : m_mdx->tags()) names.push_back(t.name);
    return names;
}

std::vector<MdxFile::TagDefinition> Table::readTagDefinitions(const std::string& folder, const std::string& fileName,
                                                              FileSystem& fs) {
    std::vector<MdxFile::TagDefinition> defs;
    const std::string mdx = resolvePath(folder, mdxName(fileName));
    if (fs.exists(mdx)) defs = MdxFile::readDefinitions(*fs.open(mdx, OpenMode::ReadOnly));
    if (!defs.empty()) return defs;
    // No readable index file: the header's field flags still tell which fields had a tag.
    const std::string path = resolvePath(folder, fileName);
    auto file = fs.open(path, OpenMode::ReadOnly);
    std::vector<uint8_t> bytes(65536);
    bytes.resize(file->read(0, bytes.data(), bytes.size()));
    const TableHeader header = TableHeader::parse(path, bytes, file->size());
    for (const FieldInfo& f : header.fields)
        if (f.hasTag) defs.push_back({upperCopy(f.name.substr(0, 10)), f.name, false});
    return defs;
}

// ---- order --------------------------------------------------------------------------------

void Table::setOrder(const std::string& order) {
    requireBrowse();
    const std::string wanted = trimmed(order);
    int tag = -1;
    if (!wanted.empty()) {
        if (m_mdx) tag = m_mdx->tagIndex(wanted);
        if (tag < 0 && m_mdx && wanted.find(';') == std::string::npos) {
            const int field = fieldIndex(wanted);
            for (size_t t = 0; t < m_tagField.size() && tag < 0; ++t)
                if (m_tagField[t] == field) tag = int(t);
        }
        // A cleared index flag beside an index file is damage, not a wrong order: the tags
        // are there but were not opened, and have not followed the table's changes since.
        if (tag < 0 && !m_mdx && m_fs.exists(indexPath()))
            failHere(DbErrorKind::Damaged, "no index tag matches the order '" + order +
                                               "': the table's production index flag is cleared, though its index "
                                               "file " +
                                               mdxName(m_fileName) + " exists; a reindex rebuilds it");
        if (tag < 0) failHere(DbErrorKind::Invalid, "no index tag matches the order '" + order + "'");
    }
    m_orderTag = tag;
    m_orderText = wanted;
    updateLinkRange();
    first();
}

void Table::updateLinkRange() {
    m_rangeSort.reset();
    if (m_orderTag < 0 || !m_master || m_linkMatchesNothing || !m_linkValue) return;
    const int field = m_tagField[size_t(m_orderTag)];
    if (field != fieldIndex(m_detailField)) return;
    std::vector<uint8_t> scratch(m_header.recordLength, ' ');
    const FieldInfo& f = m_header.fields[size_t(field)];
    try {
        codec::writeText(f, scratch.data(), *m_linkValue, m_codePage);
    } catch (const DbError&) {
        return;  // no record can hold the value; the link predicate shows none
    }
    m_rangeSort = m_mdx->sortForm(m_orderTag, tagKey(m_orderTag, scratch.data()));
}

// ---- index-order navigation -----------------------------------------------------------------

const uint8_t* Table::readIndexed(uint32_t recNo) {
    if (recNo > m_header.recordCount) readCountFromDisk();
    if (recNo > m_header.recordCount)
        m_mdx->damaged("a tag points at record " + std::to_string(recNo) + " beyond the table's " +
                       std::to_string(m_header.recordCount));
    m_ixRecord.resize(m_header.recordLength);
    if (m_file->read(recordOffset(recNo), m_ixRecord.data(), m_ixRecord.size()) < m_ixRecord.size())
        failHere(DbErrorKind::Damaged, "record " + std::to_string(recNo) + " lies beyond the end of the file");
    return m_ixRecord.data();
}

bool Table::inRange(const MdxFile::Cursor& c) {
    return !m_rangeSort || m_mdx->sortAt(c) == *m_rangeSort;
}

// Whether the record still has the key of the order tag's entry. Equal bytes are the usual
// answer; other writers may store the same number with another digit count.
bool Table::holdsKey(const uint8_t* rec, const IndexEntry& entry) const {
    const std::string key = tagKey(m_orderTag, rec);
    return key == entry.stored || m_mdx->sortForm(m_orderTag, key) == m_mdx->sortForm(m_orderTag, entry.stored);
}

// Moves from the cursor's entry in the given direction to the first visible record.
bool Table::settleIndex(Direction dir) {
    for (int restarts = 0; m_ix.valid();) {
        if (!inRange(m_ix)) return false;
        const IndexEntry entry = m_mdx->entryAt(m_ix);
        // A walk reads through the record cache (neighbouring keys are often neighbouring
        // records); a seek reads the one record afresh.
        const uint8_t* rec = m_walking ? recordAt(entry.recNo, Direction::Forward) : nullptr;
        if (!rec) rec = readIndexed(entry.recNo);
        if (m_walking && !holdsKey(rec, entry)) {
            invalidateCache();  // the cached copy may be older than the index
            rec = readIndexed(entry.recNo);
        }
        if (!holdsKey(rec, entry)) {
            // Either another handle is changing the record and its keys right now, or the
            // index does not match the table.
            m_mdx->waitForWriters();
            if (!m_mdx->refreshIfChanged() || ++restarts > 3)
                m_mdx->damaged("record " + std::to_string(entry.recNo) + " no longer holds its key in tag " +
                               m_mdx->tags()[size_t(m_orderTag)].name);
            m_ix = m_mdx->lowerBound(m_orderTag, m_mdx->sortForm(m_orderTag, entry.stored));
            continue;
        }
        if (visible(rec)) {
            placeOn(entry.recNo, rec);
            return true;
        }
        if (dir == Direction::Forward)
            m_mdx->next(m_ix);
        else
            m_mdx->prior(m_ix);
    }
    return false;
}

// Brings the index cursor back onto the current record after another handle changed the index.
void Table::syncIndex() {
    const bool changed = m_mdx->refreshIfChanged();
    if (!changed && m_ix.valid()) return;
    if (m_recNo == 0 || !m_current) return;
    const std::string key = tagKey(m_orderTag, m_current);
    m_ix = m_mdx->find(m_orderTag, key, m_recNo);
    if (!m_ix.valid()) m_ix = m_mdx->lowerBound(m_orderTag, m_mdx->sortForm(m_orderTag, key));
}

void Table::indexFirst() {
    m_mdx->refreshIfChanged();
    m_ix = m_rangeSort ? m_mdx->lowerBound(m_orderTag, *m_rangeSort) : m_mdx->first(m_orderTag);
    if (settleIndex(Direction::Forward)) {
        m_bof = true;
        m_eof = false;
    } else {
        setEmptyPosition();
    }
}

void Table::indexLast() {
    m_mdx->refreshIfChanged();
    if (m_rangeSort) {
        m_ix = m_mdx->lowerBound(m_orderTag, *m_rangeSort + '\0');
        if (m_ix.valid())
            m_mdx->prior(m_ix);
        else
            m_ix = m_mdx->last(m_orderTag);
    } else {
        m_ix = m_mdx->last(m_orderTag);
    }
    if (settleIndex(Direction::Backward)) {
        m_bof = false;
        m_eof = true;
    } else {
        setEmptyPosition();
    }
}

bool Table::indexStep(Direction dir) {
    // A step goes on from the cursor's path without asking the file again: the record read
    // is checked against its key, and a seek, first, last or refresh looks for other
    // handles' changes. Only a lost path is found again.
    if (!m_ix.valid()) syncIndex();
    m_walking = true;
    const MdxFile::Cursor at = m_ix;
    const uint32_t recNo = m_recNo;
    const uint8_t* rec = m_current;
    const bool moved = dir == Direction::Forward ? m_mdx->next(m_ix) : m_mdx->prior(m_ix);
    const bool settled = moved && settleIndex(dir);
    m_walking = false;
    if (settled) return true;
    // At the edge the cursor stays on its record.
    (void)rec;
    m_ix = at;
    m_recNo = recNo;
    m_current = readIndexed(m_recNo);
    return false;
}

void Table::placeIndexOnNewest(uint32_t recNo) {
    if (m_orderTag < 0 || !m_current) return;
    // A new record is the newest of its key, so it is the last of the equal keys.
    m_ix = m_mdx->lastOfKey(m_orderTag, tagKey(m_orderTag, m_current));
    if (!m_ix.valid() || m_mdx->entryAt(m_ix).recNo != recNo) placeIndexOn(recNo);
}

void Table::placeIndexOn(uint32_t recNo) {
    if (m_orderTag < 0 || !m_current) return;
    m_ix = m_mdx->find(m_orderTag, tagKey(m_orderTag, m_current), recNo);
}

uint32_t Table::countInRange() {
    uint32_t n = 0;
    m_mdx->refreshIfChanged();
    for (MdxFile::Cursor c = m_mdx->lowerBound(m_orderTag, *m_rangeSort); c.valid() && inRange(c); m_mdx->next(c)) {
        const uint32_t recNo = m_mdx->entryAt(c).recNo;
        std::vector<uint8_t> rec(m_header.recordLength);
        if (recNo > m_header.recordCount) readCountFromDisk();
        if (recNo <= m_header.recordCount && m_file->read(recordOffset(recNo), rec.data(), rec.size()) == rec.size() &&
            visible(rec.data()))
            ++n;
    }
    return n;
}

std::optional<Table::KeyRange> Table::keyRange(int tag, const std::string& value, const LocateOptions& options) {
    const FieldInfo& f = m_header.fields[size_t(m_tagField[size_t(tag)])];
    const TagInfo& info = m_mdx->tags()[size_t(tag)];
    const KeyShape& shape = info.shape;
    const bool character = shape.type == KeyType::Character;
    try {
        if (character && (options.partialKey || options.caseInsensitive)) {
            // A stretch of keys that holds every match: from the text's lowest case variant to
            // its highest (a prefix: every key that starts within those bounds). The search's
            // own test then picks the matches inside it.
            if (info.descending) return std::nullopt;
            const std::string bytes = fromUtf8(m_codePage, value, size_t(shape.length));
            const size_t width = options.partialKey ? bytes.size() : size_t(shape.length);
            const Collation& collation = m_mdx->collation();
            if (!options.caseInsensitive) {
                const std::string sort = collation.sortKey(bytes, width, false);
                return KeyRange{sort, sort, options.partialKey};
            }
            return KeyRange{collation.caseBound(bytes, width, false), collation.caseBound(bytes, width, true),
                            options.partialKey};
        }
        std::vector<uint8_t> scratch(m_header.recordLength, ' ');
        codec::setNull(f, scratch.data());
        if (!value.empty()) codec::writeText(f, scratch.data(), value, m_codePage);
        const std::string sort = m_mdx->sortForm(tag, tagKey(tag, scratch.data()));
        return KeyRange{sort, sort, false};
    } catch (const DbError&) {
        return std::nullopt;  // the value fits no key: let the plain search say so
    }
}

bool Table::withinKeyRange(const std::string& sort, const KeyRange& range) {
    if (range.prefix) return sort.compare(0, range.high.size(), range.high) <= 0;
    return sort <= range.high;
}

std::optional<uint32_t> Table::locateByTag(const RecordPredicate& predicate, int field, const std::string& value,
                                           const LocateOptions& options) {
    if (!m_mdx) return std::nullopt;
    const auto it = std::find(m_tagField.begin(), m_tagField.end(), field);
    if (it == m_tagField.end()) return std::nullopt;
    const int tag = int(it - m_tagField.begin());
    const auto range = keyRange(tag, value, options);
    if (!range) return std::nullopt;
    m_mdx->refreshIfChanged();
    uint32_t best = 0;
    std::vector<uint8_t> rec(m_header.recordLength);
    for (MdxFile::Cursor c = m_mdx->lowerBound(tag, range->low); c.valid(); m_mdx->next(c)) {
        if (!withinKeyRange(m_mdx->sortAt(c), *range)) break;
        const uint32_t recNo = m_mdx->entryAt(c).recNo;
        if (best != 0 && recNo >= best) continue;
        if (recNo > m_header.recordCount) readCountFromDisk();
        if (recNo > m_header.recordCount || m_file->read(recordOffset(recNo), rec.data(), rec.size()) < rec.size())
            continue;
        if (visible(rec.data()) && predicate.test(rec.data())) best = recNo;
    }
    return best;
}

// ---- seeks --------------------------------------------------------------------------------

bool Table::seek(std::string_view value, bool nearest) {
    requireBrowse();
    if (m_orderTag < 0) failHere("a search by key needs an index order");
    const KeyShape& shape = m_mdx->tags()[size_t(m_orderTag)].shape;
    std::string sort;
    try {
        if (shape.type == KeyType::Character && !nearest) {
            // An exact key: the value blank-padded to the key length.
            std::vector<uint8_t> scratch(m_header.recordLength, ' ');
            codec::writeText(m_header.fields[size_t(m_tagField[size_t(m_orderTag)])], scratch.data(), value,
                             m_codePage);
            sort = m_mdx->sortForm(m_orderTag, tagKey(m_orderTag, scratch.data()));
        } else {
            sort = m_mdx->seekForm(m_orderTag, sortKeyOfText(shape, value, m_codePage, m_mdx->collation(), false));
        }
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
    m_mdx->refreshIfChanged();
    const MdxFile::Cursor saved = m_ix;
    const uint32_t savedRec = m_recNo;
    const uint8_t* savedCurrent = m_current;
    m_ix = m_mdx->lowerBound(m_orderTag, sort);
    const bool found = settleIndex(Direction::Forward);
    if (found && (nearest || m_mdx->sortAt(m_ix) == sort)) {
        m_eof = m_bof = false;
        notifyDetails();
        return true;
    }
    if (nearest) {  // beyond the last key: the end
        indexLast();
        notifyDetails();
        return false;
    }
    m_ix = saved;
    m_recNo = savedRec;
    m_current = savedCurrent;
    if (m_recNo) m_current = readIndexed(m_recNo);
    return false;
}

// ---- keeping the tags current -------------------------------------------------------------

void Table::indexAppended(uint32_t firstRecNo, const uint8_t* records, uint32_t count) {
    if (!m_mdx) return;
    MdxChange change(*m_mdx);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* rec = records + size_t(i) * m_header.recordLength;
        for (size_t t = 0; t < m_tagField.size(); ++t)
            m_mdx->insert(int(t), {tagKey(int(t), rec), firstRecNo + i}, true);
    }
    change.commit();
}

void Table::indexRewritten(const uint8_t* before, const uint8_t* after, uint32_t recNo) {
    for (size_t t = 0; t < m_tagField.size(); ++t) {
        const std::string oldKey = tagKey(int(t), before);
        const std::string newKey = tagKey(int(t), after);
        if (oldKey == newKey) continue;
        m_mdx->remove(int(t), {oldKey, recNo});
        m_mdx->insert(int(t), {newKey, recNo});
    }
}

std::vector<IndexEntry> Table::entriesOfField(int field, const KeyShape& shape) {
    std::vector<IndexEntry> entries;
    entries.reserve(m_header.recordCount);
    invalidateCache();
    for (uint32_t r = 1; r <= m_header.recordCount; ++r) {
        const uint8_t* rec = recordAt(r, Direction::Forward);
        if (!rec) break;
        entries.push_back({storedKey(m_header.fields[size_t(field)], shape, rec), r});
    }
    return entries;
}

void Table::addIndex(const std::string& name, const std::string& fields, bool descending) {
    requireBrowse();
    if (!m_options.exclusive) failHere("adding an index tag needs the table open exclusively");
    requireNoTransaction("adding an index tag to");
    if (fields.find(';') != std::string::npos) failHere("index tags hold one field; '" + fields + "' names several");
    const int field = fieldNumber(trimmed(fields));
    KeyShape shape;
    try {
        shape = KeyShape::forField(m_header.fields[size_t(field)]);
    } catch (const DbError& e) {
        failHere(e.kind(), e.what());
    }
    readCountFromDisk();
    if (!m_mdx) createIndexFile();
    {
        MdxChange change(*m_mdx);
        m_mdx->addTag(upperCopy(name), m_header.fields[size_t(field)].name, shape, descending,
                      entriesOfField(field, shape));
        change.commit();
    }
    m_tagField.push_back(field);
    m_header.fields[size_t(field)].hasTag = true;
    writeWholeHeader();
    first();
}

void Table::createIndexFile() {
    const std::string path = indexPath();
    {
        auto file = m_fs.open(path, OpenMode::Create);
        MdxFile::initialise(*file, baseOf(m_fileName), m_header.languageId);
        file->sync();
    }
    // Ordered as openIndex will read it back: a table without a driver id gets byte 31 = 0.
    m_mdx = std::make_unique<MdxFile>(participatingFile(m_fs.open(path, OpenMode::ReadWrite), m_folderState), m_path,
                                      indexCollation(m_header, m_header.languageId));
    m_tagField.clear();
    m_header.indexFlag = 1;
}

void Table::writeWholeHeader() {
    const std::vector<uint8_t> bytes = m_header.serialize();
    m_file->write(0, bytes.data(), bytes.size());
}

void Table::rebuildIndexes() {
    if (!m_mdx) return;
    struct Def {
        std::string name;
        int field;
        bool descending;
    };
    std::vector<Def> defs;
    for (size_t t = 0; t < m_tagField.size(); ++t)
        defs.push_back({m_mdx->tags()[t].name, m_tagField[t], m_mdx->tags()[t].descending});
    m_mdx.reset();
    createIndexFile();
    MdxChange change(*m_mdx);
    for (const Def& d : defs) {
        const KeyShape shape = KeyShape::forField(m_header.fields[size_t(d.field)]);
        m_mdx->addTag(d.name, m_header.fields[size_t(d.field)].name, shape, d.descending,
                      entriesOfField(d.field, shape));
        m_tagField.push_back(d.field);
    }
    change.commit();
    m_mdx->file().sync();
}

std::vector<std::string> Table::checkIndexes() {
    requireBrowse();
    std::vector<std::string> faults;
    if (!m_mdx) return faults;
    readCountFromDisk();
    m_mdx->waitForWriters();
    m_mdx->refreshIfChanged();
    for (size_t t = 0; t < m_tagField.size(); ++t) {
        const std::string name = "tag " + m_mdx->tags()[t].name;
        std::vector<IndexEntry> entries;
        try {
            entries = m_mdx->walk(int(t), faults);
        } catch (const DbError& e) {
            faults.push_back(e.what());
            continue;
        }
        std::vector<bool> seen(size_t(m_header.recordCount) + 1, false);
        std::vector<uint8_t> rec(m_header.recordLength);
        for (const IndexEntry& e : entries) {
            if (e.recNo == 0 || e.recNo > m_header.recordCount) {
                faults.push_back(name + " points at record " + std::to_string(e.recNo) + " beyond the table");
                continue;
            }
            if (seen[e.recNo]) faults.push_back(name + " lists record " + std::to_string(e.recNo) + " twice");
            seen[e.recNo] = true;
            m_file->read(recordOffset(e.recNo), rec.data(), rec.size());
            // Compared by value: other writers store the same number with another digit count.
            if (m_mdx->sortForm(int(t), tagKey(int(t), rec.data())) != m_mdx->sortForm(int(t), e.stored))
                faults.push_back(name + " holds a key that record " + std::to_string(e.recNo) + " does not have");
        }
        for (uint32_t r = 1; r <= m_header.recordCount; ++r)
            if (!seen[r]) faults.push_back(name + " lacks record " + std::to_string(r));
        if (faults.size() > 1000) break;
    }
    for (std::string& f : faults)
        if (f.rfind(m_path, 0) != 0) f = m_path + ": " + f;
    return faults;
}

}  // namespace dbase
