#include "foundation/MemTable.h"

#include <algorithm>

#include "dbase/Collation.h"
#include "dbase/DbError.h"
#include "dbase/FieldCodec.h"
#include "dbase/Filter.h"
#include "foundation/StorableText.h"

namespace kavina {
namespace {

using dbase::FieldType;
namespace codec = dbase::codec;

constexpr dbase::CodePage kCodePage = dbase::CodePage::Win1250;

const dbase::Collation& collation() {
    static const dbase::Collation c(kCodePage);
    return c;
}

// Empty values sort first.
template <typename T>
int compareOptional(const std::optional<T>& a, const std::optional<T>& b) {
    if (!a || !b) return int(bool(a)) - int(bool(b));
    return *a < *b ? -1 : (*b < *a ? 1 : 0);
}

}  // namespace

MemTable::MemTable(std::string name) : m_name(std::move(name)) {}

void MemTable::failHere(const std::string& cause) const {
    dbase::fail(sourceName(), cause);
}

template <typename Call>
auto MemTable::guarded(Call call) const {
    try {
        return call();
    } catch (const dbase::DbError& e) {
        failHere(e.what());
    }
}

// ---- structure ----

void MemTable::setFields(const std::vector<dbase::FieldDef>& defs) {
    dbase::TableHeader header = dbase::TableHeader::build(sourceName(), defs, dbase::TableLevel::DBase7);
    std::vector<uint8_t> blank(header.recordLength, ' ');
    for (const dbase::FieldInfo& f : header.fields) codec::setNull(f, blank.data());
    m_header = std::move(header);
    m_blank = std::move(blank);
    m_records.clear();
    m_state = dbase::TableState::Browse;
    setEmptyPosition();
    notify(CursorChange::Reshaped);
}

void MemTable::copyStructure(const RecordCursor& source) {
    std::vector<dbase::FieldDef> defs;
    for (const dbase::FieldInfo& f : source.fields()) {
        const bool sized = f.logical == FieldType::Character;
        defs.push_back({f.name, f.logical, sized ? f.length : 0, 0});
    }
    setFields(defs);
}

void MemTable::loadAll(RecordCursor& source) {
    if (&source == this) failHere("a record set cannot load its own records");
    if (m_header.fields.empty()) copyStructure(source);
    requireFields();
    if (isEditing()) post();
    std::vector<std::pair<int, int>> columns;  // (source field, own field)
    for (int i = 0; i < source.fieldCount(); ++i)
        if (const int own = fieldIndex(source.fields()[size_t(i)].name); own >= 0) columns.emplace_back(i, own);
    const size_t before = m_records.size();
    const bool hadRecord = !source.isEmpty();
    const CursorMark mark = source.bookmark();
    try {
        for (source.first(); !source.eof(); source.next()) {
            append();
            for (const auto& [from, to] : columns) setString(to, source.asString(from));
            post();
        }
    } catch (...) {
        // A value that does not convert leaves the record set as it was.
        cancel();
        m_records.resize(before);
        setEmptyPosition();
        if (hadRecord) source.gotoBookmark(mark);
        throw;
    }
    if (hadRecord) source.gotoBookmark(mark);
    notify(CursorChange::Reshaped);
}

void MemTable::emptyTable() {
    requireFields();
    m_state = dbase::TableState::Browse;
    m_records.clear();
    setEmptyPosition();
    notify(CursorChange::Reshaped);
}

// ---- sorting ----

int MemTable::compare(const Record& a, const Record& b, const std::vector<std::pair<int, SortKey>>& keys) const {
    for (const auto& [field, key] : keys) {
        const dbase::FieldInfo& f = m_header.fields[size_t(field)];
        const uint8_t* x = a.bytes.data();
        const uint8_t* y = b.bytes.data();
        int c = 0;
        switch (f.logical) {
            case FieldType::Character:
                c = collation().compare(codec::rawText(f, x), codec::rawText(f, y), key.caseInsensitive);
                break;
            case FieldType::Memo: {
                const auto memo = [&](const Record& r) {
                    const auto it = r.memos.find(field);
                    return it == r.memos.end() ? std::string() : dbase::fromUtf8(kCodePage, it->second);
                };
                c = collation().compare(memo(a), memo(b), key.caseInsensitive);
                break;
            }
            case FieldType::Integer:
            case FieldType::Short: c = compareOptional(codec::readInteger(f, x), codec::readInteger(f, y)); break;
            case FieldType::Float: c = compareOptional(codec::readFloat(f, x), codec::readFloat(f, y)); break;
            case FieldType::Logical: c = compareOptional(codec::readLogical(f, x), codec::readLogical(f, y)); break;
            case FieldType::Date: c = compareOptional(codec::readDate(f, x), codec::readDate(f, y)); break;
            case FieldType::DateTime: c = compareOptional(codec::readDateTime(f, x), codec::readDateTime(f, y)); break;
        }
        if (c != 0) return key.descending ? -c : c;
    }
    return 0;
}

void MemTable::sort(const std::vector<SortKey>& keys) {
    requireFields();
    if (isEditing()) post();
    std::vector<std::pair<int, SortKey>> resolved;
    for (const SortKey& key : keys) resolved.emplace_back(fieldNumber(key.field), key);
    std::stable_sort(m_records.begin(), m_records.end(),
                     [&](const Record& a, const Record& b) { return compare(a, b, resolved) < 0; });
    notify(CursorChange::Reshaped);
    first();
}

void MemTable::sort(std::string_view fieldList) {
    std::vector<SortKey> keys;
    while (!fieldList.empty()) {
        const size_t semi = fieldList.find(';');
        std::string_view name = fieldList.substr(0, semi);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (!name.empty()) keys.push_back({Field{m_name, name}});
        fieldList = semi == std::string_view::npos ? std::string_view() : fieldList.substr(semi + 1);
    }
    sort(keys);
}

// ---- navigation ----

void MemTable::requireFields() const {
    if (m_state == dbase::TableState::Inactive) failHere("the record set has no fields");
}

void MemTable::setEmptyPosition() {
    m_pos = -1;
    m_eof = m_bof = true;
    notify(CursorChange::Moved);
}

void MemTable::place(int pos) {
    m_pos = pos;
    m_eof = m_bof = false;
    notify(CursorChange::Moved);
}

void MemTable::first() {
    requireFields();
    if (isEditing()) post();
    if (m_records.empty()) return setEmptyPosition();
    place(0);
    m_bof = true;
}

void MemTable::last() {
    requireFields();
    if (isEditing()) post();
    if (m_records.empty()) return setEmptyPosition();
    place(int(m_records.size()) - 1);
    m_eof = true;
}

void MemTable::next() {
    requireFields();
    if (isEditing()) post();
    if (m_pos < 0) return;
    if (size_t(m_pos) + 1 < m_records.size())
        place(m_pos + 1);
    else
        m_eof = true;
}

void MemTable::prior() {
    requireFields();
    if (isEditing()) post();
    if (m_pos < 0) return;
    if (m_pos > 0)
        place(m_pos - 1);
    else
        m_bof = true;
}

CursorMark MemTable::bookmark() const {
    return {m_pos < 0 ? 0 : m_records[size_t(m_pos)].id};
}

bool MemTable::gotoBookmark(const CursorMark& mark) {
    requireFields();
    if (isEditing()) post();
    // A list only appended to holds its records in the order of their consecutive ids: the
    // record is where its id says, and a working list keyed by bookmarks finds it at once.
    if (!m_records.empty() && mark.id >= m_records.front().id) {
        const uint64_t guess = mark.id - m_records.front().id;
        if (guess < m_records.size() && m_records[size_t(guess)].id == mark.id) {
            place(int(guess));
            return true;
        }
    }
    const auto it = std::find_if(m_records.begin(), m_records.end(), [&](const Record& r) { return r.id == mark.id; });
    if (it == m_records.end()) return false;
    place(int(it - m_records.begin()));
    return true;
}

// The same comparison a table's locate makes, run over the records' bytes.
bool MemTable::locate(const FieldValues& values, const dbase::LocateOptions& options) {
    requireFields();
    if (values.empty()) failHere("a locate needs at least one field");
    if (isEditing()) post();
    std::vector<std::unique_ptr<dbase::RecordPredicate>> parts;
    for (const auto& [name, value] : values)
        parts.push_back(dbase::makeFieldEquals(m_header, fieldNumber(name.name), value.toStdString(),
                                               options.caseInsensitive, options.partialKey, sourceName()));
    const auto predicate = dbase::makeAll(std::move(parts));
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (predicate->test(m_records[i].bytes.data())) {
            place(int(i));
            return true;
        }
    }
    return false;
}

// ---- records ----

void MemTable::startNew(size_t at) {
    requireFields();
    if (isEditing()) post();
    m_buffer = Record{0, m_blank, {}};
    m_insertAt = at;
    m_state = dbase::TableState::Insert;
}

void MemTable::append() {
    startNew(m_records.size());
}

void MemTable::insert() {
    startNew(m_pos < 0 ? 0 : size_t(m_pos));
}

void MemTable::edit() {
    requireFields();
    if (isEditing()) post();
    if (m_pos < 0) failHere("there is no current record to edit");
    m_buffer = m_records[size_t(m_pos)];
    m_state = dbase::TableState::Edit;
}

void MemTable::post() {
    if (!isEditing()) return;
    if (m_state == dbase::TableState::Insert) {
        m_buffer.id = m_nextId++;
        m_records.insert(m_records.begin() + std::ptrdiff_t(m_insertAt), std::move(m_buffer));
        place(int(m_insertAt));
    } else {
        m_records[size_t(m_pos)] = std::move(m_buffer);
    }
    m_buffer = {};
    m_state = dbase::TableState::Browse;
    notify(CursorChange::Written);
}

void MemTable::cancel() {
    if (!isEditing()) return;
    m_buffer = {};
    m_state = dbase::TableState::Browse;
}

void MemTable::deleteRecord() {
    requireFields();
    if (isEditing()) post();
    if (m_pos < 0) failHere("there is no current record to delete");
    m_records.erase(m_records.begin() + m_pos);
    if (size_t(m_pos) < m_records.size()) {
        place(m_pos);
    } else if (!m_records.empty()) {
        place(int(m_records.size()) - 1);
        m_eof = true;
    } else {
        setEmptyPosition();
    }
    notify(CursorChange::Written);
}

// ---- field access ----

const dbase::FieldInfo& MemTable::fieldAt(int field) const {
    if (field < 0 || size_t(field) >= m_header.fields.size())
        failHere("there is no field number " + std::to_string(field));
    return m_header.fields[size_t(field)];
}

const MemTable::Record& MemTable::current() const {
    if (isEditing()) return m_buffer;
    if (m_pos < 0) failHere("there is no current record");
    return m_records[size_t(m_pos)];
}

uint8_t* MemTable::editable(int field) {
    (void)fieldAt(field);
    if (!isEditing()) failHere("the record set is not in edit or insert state");
    return m_buffer.bytes.data();
}

bool MemTable::nullAt(int field) const {
    const dbase::FieldInfo& f = fieldAt(field);
    const Record& r = current();
    if (f.logical == FieldType::Memo) {
        const auto it = r.memos.find(field);
        return it == r.memos.end() || it->second.empty();
    }
    return codec::isNull(f, r.bytes.data());
}

QString MemTable::textAt(int field) const {
    const dbase::FieldInfo& f = fieldAt(field);
    const Record& r = current();
    if (f.logical == FieldType::Memo) {
        const auto it = r.memos.find(field);
        return it == r.memos.end() ? QString() : QString::fromStdString(it->second);
    }
    return QString::fromStdString(guarded([&] { return codec::readAsText(f, r.bytes.data(), kCodePage); }));
}

int64_t MemTable::integerAt(int field) const {
    return guarded([&] { return codec::readInteger(fieldAt(field), current().bytes.data()).value_or(0); });
}

double MemTable::floatAt(int field) const {
    return guarded([&] { return codec::readFloat(fieldAt(field), current().bytes.data()).value_or(0.0); });
}

bool MemTable::logicalAt(int field) const {
    return guarded([&] { return codec::readLogical(fieldAt(field), current().bytes.data()).value_or(false); });
}

std::optional<dbase::Date> MemTable::dateAt(int field) const {
    return guarded([&] { return codec::readDate(fieldAt(field), current().bytes.data()); });
}

std::optional<dbase::DateTime> MemTable::dateTimeAt(int field) const {
    return guarded([&] { return codec::readDateTime(fieldAt(field), current().bytes.data()); });
}

void MemTable::writeNull(int field) {
    uint8_t* rec = editable(field);
    const dbase::FieldInfo& f = fieldAt(field);
    if (f.logical == FieldType::Memo)
        m_buffer.memos.erase(field);
    else
        codec::setNull(f, rec);
}

void MemTable::writeText(int field, const QString& value) {
    // Refused as a table would refuse it: the record set's text ends up in a table.
    requireStorableText(value);
    uint8_t* rec = editable(field);
    const dbase::FieldInfo& f = fieldAt(field);
    if (f.logical == FieldType::Memo) {
        m_buffer.memos[field] = value.toStdString();
        return;
    }
    guarded([&] { codec::writeText(f, rec, value.toStdString(), kCodePage); });
}

void MemTable::writeInteger(int field, int64_t value) {
    uint8_t* rec = editable(field);
    guarded([&] { codec::writeInteger(fieldAt(field), rec, value); });
}

void MemTable::writeFloat(int field, double value) {
    uint8_t* rec = editable(field);
    guarded([&] { codec::writeFloat(fieldAt(field), rec, value); });
}

void MemTable::writeLogical(int field, bool value) {
    uint8_t* rec = editable(field);
    guarded([&] { codec::writeLogical(fieldAt(field), rec, value); });
}

void MemTable::writeDate(int field, const dbase::Date& value) {
    uint8_t* rec = editable(field);
    guarded([&] { codec::writeDate(fieldAt(field), rec, value); });
}

void MemTable::writeDateTime(int field, const dbase::DateTime& value) {
    uint8_t* rec = editable(field);
    guarded([&] { codec::writeDateTime(fieldAt(field), rec, value); });
}

}  // namespace kavina
