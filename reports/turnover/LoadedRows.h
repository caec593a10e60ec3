#pragma once
// Some fields of some records of a table, copied out so that a statistic can go to each of
// them as often as it likes without the disk: going to a record of a table handle reads it
// afresh, which a year's statistics would pay for half a million times. Read-only: every
// change throws.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Field.h"
#include "foundation/RecordCursor.h"
#include "foundation/TableHandle.h"

namespace kavina::reports {

class LoadedRows : public RecordCursor {
public:
    // The fields of the table's that are copied; the others are not there.
    LoadedRows(const TableHandle& table, const std::vector<Field>& fields);

    // Replaces the rows with the records of the marks, read from the table, which nothing else
    // moves between loads. Marks that are no longer records are left out. Returns the marks
    // of the loaded rows, in the same order.
    const std::vector<CursorMark>& load(TableHandle& table, const std::vector<CursorMark>& marks);
    // Adds the record the table stands on as a row; its mark.
    CursorMark appendCurrent(const TableHandle& table);

    const std::vector<dbase::FieldInfo>& fields() const override { return m_fields; }
    std::string sourceName() const override { return m_source; }
    std::string_view fieldTable() const override { return m_fieldTable; }

    void first() override { m_pos = 0; }
    void last() override { m_pos = int(m_rows.size()) - 1; }
    void next() override { m_pos = std::min(m_pos + 1, int(m_rows.size())); }
    void prior() override { m_pos = std::max(m_pos - 1, -1); }
    bool eof() const override { return m_rows.empty() || m_pos >= int(m_rows.size()); }
    bool bof() const override { return m_rows.empty() || m_pos < 0; }
    bool isEmpty() const override { return m_rows.empty(); }
    uint32_t recordCount() override { return uint32_t(m_rows.size()); }
    CursorMark bookmark() const override { return {eof() || bof() ? 0 : uint64_t(m_pos + 1)}; }
    bool gotoBookmark(const CursorMark& mark) override;
    bool locate(const FieldValues& values, const dbase::LocateOptions& options) override;
    dbase::TableState state() const override { return dbase::TableState::Browse; }

    void append() override { readOnly(); }
    void insert() override { readOnly(); }
    void edit() override { readOnly(); }
    void post() override {}
    void cancel() override {}
    void deleteRecord() override { readOnly(); }

    bool nullAt(int field) const override { return cell(field).null; }
    QString textAt(int field) const override { return cell(field).text; }
    int64_t integerAt(int field) const override { return cell(field).integer; }
    double floatAt(int field) const override { return cell(field).number; }
    bool logicalAt(int field) const override { return cell(field).integer != 0; }
    std::optional<dbase::Date> dateAt(int field) const override { return cell(field).date; }
    std::optional<dbase::DateTime> dateTimeAt(int) const override { return std::nullopt; }

    void writeNull(int) override { readOnly(); }
    void writeText(int, const QString&) override { readOnly(); }
    void writeInteger(int, int64_t) override { readOnly(); }
    void writeFloat(int, double) override { readOnly(); }
    void writeLogical(int, bool) override { readOnly(); }
    void writeDate(int, const dbase::Date&) override { readOnly(); }
    void writeDateTime(int, const dbase::DateTime&) override { readOnly(); }

private:
    struct Cell {
        bool null = true;
        QString text;
        double number = 0;
        int64_t integer = 0;
        std::optional<dbase::Date> date;
    };
    const Cell& cell(int field) const;
    std::vector<Cell> copyRow(const TableHandle& table) const;
    bool reach(TableHandle& table, const CursorMark& mark);
    [[noreturn]] void readOnly() const;

    std::vector<dbase::FieldInfo> m_fields;
    std::vector<int> m_sourceFields;  // the table's number of each field
    std::string m_source;
    std::string m_fieldTable;
    std::vector<std::vector<Cell>> m_rows;
    std::vector<CursorMark> m_marks;
    int m_pos = -1;
    uint64_t m_at = 0;  // the record load left the table on; 0 when not known
};

}  // namespace kavina::reports
