#include "reports/turnover/LoadedRows.h"

#include "dbase/DbError.h"

namespace kavina::reports {

LoadedRows::LoadedRows(const TableHandle& table, const std::vector<Field>& fields)
    : m_source(table.sourceName()), m_fieldTable(fields.empty() ? std::string() : std::string(fields.front().table)) {
    for (const Field& f : fields) {
        const int number = table.fieldNumber(f);
        m_sourceFields.push_back(number);
        m_fields.push_back(table.fields().at(size_t(number)));
    }
}

const std::vector<CursorMark>& LoadedRows::load(TableHandle& table, const std::vector<CursorMark>& marks) {
    m_rows.clear();
    m_marks.clear();
    m_pos = -1;
    for (const CursorMark& mark : marks) {
        if (!reach(table, mark)) continue;
        m_rows.push_back(copyRow(table));
        m_marks.push_back({uint64_t(m_rows.size())});
    }
    return m_marks;
}

// The lines of a document lie one after the other, and the next document's a little further on:
// a short way forward is walked, which reads from what was read ahead, rather than jumped.
bool LoadedRows::reach(TableHandle& table, const CursorMark& mark) {
    constexpr uint64_t kWalkAtMost = 256;
    if (m_at != 0 && mark.id > m_at && mark.id - m_at <= kWalkAtMost) {
        while (!table.eof() && table.bookmark().id < mark.id) table.next();
        if (!table.eof() && table.bookmark().id == mark.id) {
            m_at = mark.id;
            return true;
        }
    }
    m_at = 0;
    if (!table.gotoBookmark(mark)) return false;
    m_at = mark.id;
    return true;
}

std::vector<LoadedRows::Cell> LoadedRows::copyRow(const TableHandle& table) const {
    std::vector<Cell> row(m_sourceFields.size());
    for (size_t i = 0; i < m_sourceFields.size(); ++i) {
        const int f = m_sourceFields[i];
        Cell& c = row[i];
        c.null = table.isNull(f);
        switch (m_fields[i].logical) {
            case dbase::FieldType::Character:
            case dbase::FieldType::Memo: c.text = table.asString(f); break;
            case dbase::FieldType::Integer:
            case dbase::FieldType::Short:
                c.integer = table.asInteger(f);
                c.number = double(c.integer);
                break;
            case dbase::FieldType::Float: c.number = table.asFloat(f); break;
            case dbase::FieldType::Logical: c.integer = table.asLogical(f) ? 1 : 0; break;
            case dbase::FieldType::Date:
            case dbase::FieldType::DateTime: c.date = table.table().asDate(f); break;
        }
    }
    return row;
}

CursorMark LoadedRows::appendCurrent(const TableHandle& table) {
    m_rows.push_back(copyRow(table));
    m_marks.push_back({uint64_t(m_rows.size())});
    return m_marks.back();
}

bool LoadedRows::gotoBookmark(const CursorMark& mark) {
    if (mark.id == 0 || mark.id > m_rows.size()) return false;
    m_pos = int(mark.id) - 1;
    return true;
}

bool LoadedRows::locate(const FieldValues&, const dbase::LocateOptions&) {
    dbase::fail(m_source, "the loaded rows of a statistic cannot be searched");
}

const LoadedRows::Cell& LoadedRows::cell(int field) const {
    if (eof() || bof()) dbase::fail(m_source, "there is no current record");
    return m_rows[size_t(m_pos)].at(size_t(field));
}

void LoadedRows::readOnly() const {
    dbase::fail(m_source, "the loaded rows of a statistic cannot be changed");
}

}  // namespace kavina::reports
