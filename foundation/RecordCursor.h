#pragma once
// The cursor interface shared by table handles (TableHandle) and in-memory record sets
// (MemTable), so grids, print layouts and copy helpers take either.
//
// It behaves as a table handle of the engine does: one current record; first() sets bof,
// last() and a next() past the last record set eof while staying on the last record; append
// and insert start a new record, edit the current one, post stores it, cancel drops it;
// moving, appending or editing while a record is being changed posts it first. Field values
// follow the engine's conversions: text is cut to the field's width, numbers and dates are
// read from and written as their program texts ("12.5", "2008.03.15",
// "2008.03.15 10:15:00", "T"/"F"), an empty value reads as empty text, 0 or false.
// Fields are named by their constants (foundation/CatalogueFields.h), or by number; a name
// known only at run time (a table viewer's column) goes through fieldNumber() first. Field
// names ignore case. Failures are dbase::DbError naming the table and the cause.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dbase/Date.h"
#include "dbase/Schema.h"
#include "dbase/Table.h"
#include "foundation/Field.h"

namespace kavina {

// A saved position; valid while its record exists (a table handle's until the table is packed).
struct CursorMark {
    uint64_t id = 0;
};

// What happened to a cursor, as its watchers hear it: its current record moved, a record was
// written (posted or deleted), or what it shows was reshaped (order, filter, structure, a
// table opened or closed), so the list of its records must be read again.
enum class CursorChange { Moved, Written, Reshaped };
using CursorWatcher = std::function<void(CursorChange)>;

// Field values of a locate: the field and the value as text.
using FieldValues = std::vector<std::pair<Field, QString>>;

class RecordCursor {
public:
    virtual ~RecordCursor() = default;

    // ---- structure ----
    virtual const std::vector<dbase::FieldInfo>& fields() const = 0;
    int fieldCount() const { return int(fields().size()); }
    // -1 when there is no such field.
    int fieldIndex(std::string_view name) const;
    int fieldIndex(const Field& field) const;
    // Throws DbError for an unknown field, or a field of another table.
    int fieldNumber(std::string_view name) const;
    int fieldNumber(const Field& field) const;
    bool has(const Field& field) const { return fieldIndex(field) >= 0; }
    // The field of that number as a constant of this cursor, for names known only at run time.
    // Valid while the cursor keeps its structure.
    Field fieldAt(int number) const { return {fieldTable(), fields().at(size_t(number)).name}; }
    // A name for error texts: the table's path or the record set's name.
    virtual std::string sourceName() const = 0;

    // ---- watchers ----
    // Calls the watcher after every change of the kinds above, whoever made it (a grid of one
    // window hears what another window did to a shared handle). The watcher must not move the
    // cursor; it is called in the middle of walks and writes. Returns its id for unwatch().
    int watch(CursorWatcher watcher);
    void unwatch(int id);

    // ---- navigation ----
    virtual void first() = 0;
    virtual void last() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    virtual bool eof() const = 0;
    virtual bool bof() const = 0;
    virtual bool isEmpty() const = 0;
    virtual uint32_t recordCount() = 0;
    virtual CursorMark bookmark() const = 0;
    // Returns false, staying, when the record is gone.
    virtual bool gotoBookmark(const CursorMark& mark) = 0;
    // Moves to the first record, in the current order, whose fields equal the values; stays
    // and returns false when none does. Throws DbError when no value is given.
    virtual bool locate(const FieldValues& values, const dbase::LocateOptions& options = {}) = 0;

    // ---- records ----
    virtual dbase::TableState state() const = 0;
    bool isEditing() const { return state() == dbase::TableState::Edit || state() == dbase::TableState::Insert; }
    // Starts a new record, stored after the last one by post.
    virtual void append() = 0;
    // Starts a new record; a record set stores it before the current record, a table at its end.
    virtual void insert() = 0;
    virtual void edit() = 0;
    virtual void post() = 0;
    virtual void cancel() = 0;
    // Deletes the current record and moves to the next one (the previous one at the end).
    virtual void deleteRecord() = 0;

    // ---- values, by field number or name ----
    bool isNull(int field) const { return nullAt(field); }
    QString asString(int field) const { return textAt(field); }
    int64_t asInteger(int field) const { return integerAt(field); }
    double asFloat(int field) const { return floatAt(field); }
    bool asLogical(int field) const { return logicalAt(field); }
    QDate asDate(int field) const;          // invalid when empty
    QDateTime asDateTime(int field) const;  // invalid when empty; the stored wall-clock time as UTC
    void setNull(int field) { writeNull(field); }
    void setString(int field, const QString& value) { writeText(field, value); }
    void setInteger(int field, int64_t value) { writeInteger(field, value); }
    void setFloat(int field, double value) { writeFloat(field, value); }
    void setLogical(int field, bool value) { writeLogical(field, value); }
    void setDate(int field, const QDate& value);  // an invalid date empties the field
    void setDateTime(int field, const QDateTime& value);

    bool isNull(const Field& f) const { return isNull(fieldNumber(f)); }
    QString asString(const Field& f) const { return asString(fieldNumber(f)); }
    int64_t asInteger(const Field& f) const { return asInteger(fieldNumber(f)); }
    double asFloat(const Field& f) const { return asFloat(fieldNumber(f)); }
    bool asLogical(const Field& f) const { return asLogical(fieldNumber(f)); }
    QDate asDate(const Field& f) const { return asDate(fieldNumber(f)); }
    QDateTime asDateTime(const Field& f) const { return asDateTime(fieldNumber(f)); }
    void setNull(const Field& f) { setNull(fieldNumber(f)); }
    void setString(const Field& f, const QString& v) { setString(fieldNumber(f), v); }
    void setInteger(const Field& f, int64_t v) { setInteger(fieldNumber(f), v); }
    void setFloat(const Field& f, double v) { setFloat(fieldNumber(f), v); }
    void setLogical(const Field& f, bool v) { setLogical(fieldNumber(f), v); }
    void setDate(const Field& f, const QDate& v) { setDate(fieldNumber(f), v); }
    void setDateTime(const Field& f, const QDateTime& v) { setDateTime(fieldNumber(f), v); }

protected:
    // Tells the watchers; never throws.
    void notify(CursorChange change) const noexcept;
    // The table its own field constants name; a record set's name.
    virtual std::string_view fieldTable() const = 0;
    // Throws DbError when the field's table cannot be this cursor's; a record set takes any.
    virtual void checkTable(const Field& field) const { (void)field; }
    virtual bool nullAt(int field) const = 0;
    virtual QString textAt(int field) const = 0;
    virtual int64_t integerAt(int field) const = 0;
    virtual double floatAt(int field) const = 0;
    virtual bool logicalAt(int field) const = 0;
    virtual std::optional<dbase::Date> dateAt(int field) const = 0;
    virtual std::optional<dbase::DateTime> dateTimeAt(int field) const = 0;
    virtual void writeNull(int field) = 0;
    virtual void writeText(int field, const QString& value) = 0;
    virtual void writeInteger(int field, int64_t value) = 0;
    virtual void writeFloat(int field, double value) = 0;
    virtual void writeLogical(int field, bool value) = 0;
    virtual void writeDate(int field, const dbase::Date& value) = 0;
    virtual void writeDateTime(int field, const dbase::DateTime& value) = 0;

private:
    std::map<int, CursorWatcher> m_watchers;
    int m_nextWatcher = 1;
};

// Copies every field the two have in common (by name, ignoring case) from the current record
// of one into the record being changed in the other, each value as its text, so a field
// converts as when typed in. Requires: `to` is in edit or insert state.
void copyFieldsByName(const RecordCursor& from, RecordCursor& to);

// Conversions between the engine's dates and Qt's.
QDate toQDate(const dbase::Date& date);
dbase::Date toEngineDate(const QDate& date);
QDateTime toQDateTime(const dbase::DateTime& value);
dbase::DateTime toEngineDateTime(const QDateTime& value);

}  // namespace kavina
