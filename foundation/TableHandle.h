#pragma once
// A table handle of the program: one engine Table behind the shared cursor interface, plus
// the handle's own operations (open, order, seek, filter, master link).
//
// A shared handle (the data module's) has hooks: before it enters insert or edit state it
// re-reads the table, so it starts from what other workstations posted; after every post and
// delete, also a post that moving or editing on makes, it calls its change listener. The
// engine writes every post and delete through to disk at once, so nothing else is needed for
// other workstations to see the change.
//
// A handle on a catalogue table takes only that table's field constants: a field of another
// table (fields::Szamla::NEV on the partners) throws DbError, even where a field of that name
// exists.

#include <functional>
#include <memory>
#include <string>

#include "dbase/Table.h"
#include "foundation/RecordCursor.h"

namespace kavina {

class TableHandle final : public RecordCursor {
public:
    using ChangeListener = std::function<void()>;

    TableHandle(std::string folder, std::string fileName);
    ~TableHandle() override;

    // Makes this a shared handle whose posts and deletes are reported to the listener.
    void setSharedHooks(ChangeListener listener);

    void open(const dbase::OpenOptions& options = {});
    // As the engine's close: a change not posted is dropped.
    void close();
    bool isOpen() const { return m_table.isOpen(); }

    // Orders by a tag, or by a field a tag is keyed on; empty is physical order. Moves to
    // the first record. Throws when no tag matches.
    void setOrder(const std::string& order);
    // Orders by the tag keyed on the field.
    void setOrder(const Field& field);
    const std::string& order() const { return m_table.order(); }
    bool findKey(std::string_view value);
    bool findNearest(std::string_view value);
    void setFilter(const std::string& expression);
    const std::string& filter() const { return m_table.filter(); }
    void setFiltered(bool on);
    bool filtered() const { return m_table.filtered(); }
    void setFilterOptions(const dbase::FilterOptions& options);
    // Re-reads the record count and the current record from disk.
    void refresh();
    // Follows the master: shows only the records whose detailField equals the master's
    // masterField. The master must outlive the link or clear it.
    void setMasterLink(TableHandle& master, const std::string& masterField, const std::string& detailField);
    void clearMasterLink();

    // The engine's handle, for its structure, tags and header.
    const dbase::Table& table() const { return m_table; }

    // ---- RecordCursor ----
    const std::vector<dbase::FieldInfo>& fields() const override { return m_table.fields(); }
    std::string sourceName() const override { return m_table.path(); }
    void first() override;
    void last() override;
    void next() override;
    void prior() override;
    bool eof() const override { return m_table.eof(); }
    bool bof() const override { return m_table.bof(); }
    bool isEmpty() const override { return m_table.isEmpty(); }
    uint32_t recordCount() override { return m_table.recordCount(); }
    CursorMark bookmark() const override { return {m_table.bookmark().recNo}; }
    bool gotoBookmark(const CursorMark& mark) override;
    bool locate(const FieldValues& values, const dbase::LocateOptions& options = {}) override;
    dbase::TableState state() const override { return m_table.state(); }
    void append() override;
    void insert() override { append(); }
    void edit() override;
    void post() override;
    void cancel() override;
    void deleteRecord() override;

protected:
    std::string_view fieldTable() const override { return m_catalogueName; }
    void checkTable(const Field& field) const override;
    bool nullAt(int field) const override { return m_table.isNull(field); }
    QString textAt(int field) const override { return QString::fromStdString(m_table.asString(field)); }
    int64_t integerAt(int field) const override { return m_table.asInteger(field); }
    double floatAt(int field) const override { return m_table.asFloat(field); }
    bool logicalAt(int field) const override { return m_table.asLogical(field); }
    std::optional<dbase::Date> dateAt(int field) const override { return m_table.asDate(field); }
    std::optional<dbase::DateTime> dateTimeAt(int field) const override { return m_table.asDateTime(field); }
    void writeNull(int field) override { m_table.setNull(field); }
    void writeText(int field, const QString& value) override { m_table.setString(field, value.toStdString()); }
    void writeInteger(int field, int64_t value) override { m_table.setInteger(field, value); }
    void writeFloat(int field, double value) override { m_table.setFloat(field, value); }
    void writeLogical(int field, bool value) override { m_table.setLogical(field, value); }
    void writeDate(int field, const dbase::Date& value) override { m_table.setDate(field, value); }
    void writeDateTime(int field, const dbase::DateTime& value) override { m_table.setDateTime(field, value); }

private:
    void postPending();
    void changed();

    dbase::Table m_table;
    std::string m_catalogueName;  // the catalogue's file name of the table, empty for another file
    ChangeListener m_listener;
    bool m_shared = false;
};

}  // namespace kavina
