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
// Field names ignore case. Failures are dbase::DbError naming the table and the cause.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dbase/Date.h"
#include "dbase/Schema.h"
#include "dbase/Table.h"

namespace kavina {

// A saved position; valid while its record exists (a table handle's until the table is packed).
struct CursorMark {
    uint64_t id = 0;
};

// Field values of a locate: field name and the value as text.
using FieldValues = std::vector<std::pair<std::string, QString>>;

class RecordCursor {
public:
    virtual ~RecordCursor() = default;

    // ---- structure ----
    virtual const std::vector<dbase::FieldInfo>& fields() const = 0;
    int fieldCount() const { return int(fields().size()); }
    // -1 when there is no such field.
    int fieldIndex(std::string_view name) const;
    // Throws DbError for an unknown field.
    int fieldNumber(std::string_view name) const;
    // A name for error texts: the table's path or the record set's name.
    virtual std::string sourceName() const = 0;

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

    bool isNull(std::string_view name) const { return isNull(fieldNumber(name)); }
    QString asString(std::string_view name) const { return asString(fieldNumber(name)); }
    int64_t asInteger(std::string_view name) const { return asInteger(fieldNumber(name)); }
    double asFloat(std::string_view name) const { return asFloat(fieldNumber(name)); }
    bool asLogical(std::string_view name) const { return asLogical(fieldNumber(name)); }
    QDate asDate(std::string_view name) const { return asDate(fieldNumber(name)); }
    QDateTime asDateTime(std::string_view name) const { return asDateTime(fieldNumber(name)); }
    void setNull(std::string_view name) { setNull(fieldNumber(name)); }
    void setString(std::string_view name, const QString& v) { setString(fieldNumber(name), v); }
    void setInteger(std::string_view name, int64_t v) { setInteger(fieldNumber(name), v); }
    void setFloat(std::string_view name, double v) { setFloat(fieldNumber(name), v); }
    void setLogical(std::string_view name, bool v) { setLogical(fieldNumber(name), v); }
    void setDate(std::string_view name, const QDate& v) { setDate(fieldNumber(name), v); }
    void setDateTime(std::string_view name, const QDateTime& v) { setDateTime(fieldNumber(name), v); }

protected:
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
