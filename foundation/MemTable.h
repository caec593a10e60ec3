#pragma once
// MemTable, the in-memory record set: a list of typed records behind the same cursor
// interface as a table handle. Editors build their documents in record sets and statistics
// their working lists.
//
// Each record is held in the byte layout of a level-7 table record, written and read by the
// engine's own field codec, so a value converts and is cut to width exactly as it would be in
// a table field (memo texts are kept beside the record). Text is held in Windows-1250 like
// the tables' text: a character the tables cannot store becomes '?' here too.
//
// State: Inactive until fields are defined, then Browse, Edit or Insert. Bookmarks stay valid
// while their record exists, across sorts.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dbase/Schema.h"
#include "foundation/RecordCursor.h"

namespace kavina {

class MemTable final : public RecordCursor {
public:
    struct SortKey {
        Field field;
        bool descending = false;
        bool caseInsensitive = false;
    };

    explicit MemTable(std::string name = "MemTable");

    // Defines the fields, as a table's (names, types, widths), dropping every record. Throws
    // DbError for a definition a table would refuse; the record set is then unchanged.
    void setFields(const std::vector<dbase::FieldDef>& defs);
    // Takes the fields of a table handle or another record set, dropping every record.
    void copyStructure(const RecordCursor& source);
    // Appends every record the source shows, in its current order, copying the fields of the
    // same name as text. A record set without fields takes the source's first. The source is
    // left on the record it was on. Throws DbError when a value does not convert; no record
    // is then added.
    void loadAll(RecordCursor& source);
    // Removes every record; the fields stay.
    void emptyTable();
    // Sorts the records by the keys, the first deciding first; records with equal keys keep
    // their order. Moves to the first record. Throws for an unknown field.
    void sort(const std::vector<SortKey>& keys);
    // Sorts ascending, case-sensitive, by a ';'-separated list of field names known only at run
    // time.
    void sort(std::string_view fieldList);

    // ---- RecordCursor ----
    const std::vector<dbase::FieldInfo>& fields() const override { return m_header.fields; }
    std::string sourceName() const override { return "record set " + m_name; }
    void first() override;
    void last() override;
    void next() override;
    void prior() override;
    bool eof() const override { return m_eof; }
    bool bof() const override { return m_bof; }
    bool isEmpty() const override { return m_pos < 0; }
    uint32_t recordCount() override { return uint32_t(m_records.size()); }
    CursorMark bookmark() const override;
    bool gotoBookmark(const CursorMark& mark) override;
    bool locate(const FieldValues& values, const dbase::LocateOptions& options = {}) override;
    dbase::TableState state() const override { return m_state; }
    void append() override;
    void insert() override;
    void edit() override;
    void post() override;
    void cancel() override;
    void deleteRecord() override;

protected:
    std::string_view fieldTable() const override { return m_name; }
    bool nullAt(int field) const override;
    QString textAt(int field) const override;
    int64_t integerAt(int field) const override;
    double floatAt(int field) const override;
    bool logicalAt(int field) const override;
    std::optional<dbase::Date> dateAt(int field) const override;
    std::optional<dbase::DateTime> dateTimeAt(int field) const override;
    void writeNull(int field) override;
    void writeText(int field, const QString& value) override;
    void writeInteger(int field, int64_t value) override;
    void writeFloat(int field, double value) override;
    void writeLogical(int field, bool value) override;
    void writeDate(int field, const dbase::Date& value) override;
    void writeDateTime(int field, const dbase::DateTime& value) override;

private:
    struct Record {
        uint64_t id = 0;
        std::vector<uint8_t> bytes;
        std::map<int, std::string> memos;  // UTF-8, by field number
    };

    const dbase::FieldInfo& fieldAt(int field) const;
    const Record& current() const;
    uint8_t* editable(int field);
    void requireFields() const;
    void startNew(size_t at);
    void setEmptyPosition();
    void place(int pos);
    // Runs a codec call on the field, naming this record set in its error.
    template <typename Call>
    auto guarded(Call call) const;
    int compare(const Record& a, const Record& b, const std::vector<std::pair<int, SortKey>>& keys) const;
    [[noreturn]] void failHere(const std::string& cause) const;

    std::string m_name;
    dbase::TableHeader m_header;
    std::vector<uint8_t> m_blank;
    std::vector<Record> m_records;
    Record m_buffer;        // the record being edited or inserted
    size_t m_insertAt = 0;  // where an insert goes on post
    int m_pos = -1;         // the current record, -1 when there is none
    bool m_eof = true;
    bool m_bof = true;
    dbase::TableState m_state = dbase::TableState::Inactive;
    uint64_t m_nextId = 1;
};

}  // namespace kavina
