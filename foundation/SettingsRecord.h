#pragma once
// The settings record: the single record of user.dbf with the company header, the document
// number affixes and counters, copies, footers and price multipliers. Typed access by field,
// over the handle of user.dbf, naming the fields by their constants (fields::User), and the
// default record of a new data folder.
//
// Folders not yet upgraded lack the counters added by the upgrade steps (VISSZA, SELEJT,
// MEGRENDELO, ...): reading such a field gives 0 or an empty text, writing it throws.
#include <QDate>
#include <QString>
#include <cstdint>

#include "foundation/CatalogueFields.h"
#include "foundation/TableHandle.h"

namespace kavina {

// The width of a text field in the catalogue's user.dbf; 0 for the other fields.
int fieldWidth(const Field& field);

// MEGJEGYZES holds the copies of cash-register sales as text: the count it holds, rounded, or
// 2 when it holds no count.
int cashSaleCopiesOf(const QString& text);

class SettingsRecord {
public:
    // Requires: the handle of user.dbf, open.
    explicit SettingsRecord(TableHandle& userTable) : m_table(userTable) {}

    // Re-reads the table from disk and moves to the record.
    void reread();
    bool exists() const { return !m_table.isEmpty(); }
    bool has(const Field& field) const;

    // Texts and memos; whole numbers; floating numbers.
    QString text(const Field& field) const;
    int64_t integer(const Field& field) const;
    double number(const Field& field) const;

    int cashSaleCopies() const { return cashSaleCopiesOf(text(fields::User::MEGJEGYZES)); }

    // Requires for the setters: edit() called. Throws DbError for a field the table lacks.
    void edit() { m_table.edit(); }
    void post() { m_table.post(); }
    void cancel() { m_table.cancel(); }
    void setText(const Field& field, const QString& value);
    void setInteger(const Field& field, int64_t value);
    void setNumber(const Field& field, double value);

private:
    TableHandle& m_table;
};

// An empty MEGJEGYZES (the copies of cash-register sales) is set to 2 and stored, as a folder
// that never set it prints two. True when it was stored; false when the table is closed, has
// no settings record, or the field holds something.
bool fillEmptyCashSaleCopies(TableHandle& userTable);

// Appends and posts the default settings record of a new data folder; SUTOTAG is the year of
// today.
void appendDefaultSettingsRecord(TableHandle& userTable, const QDate& today);

// Raises a code counter of the settings record (PARTNERKOD, ANYAGKOD) by one and returns the new
// value, the code of the new record. The record is read again under its lock, so two
// workstations never take the same code; inside a transaction the lock is held to its end.
int64_t takeCode(TableHandle& userTable, const Field& counterField);

}  // namespace kavina
