#pragma once
// The record an edit dialog was opened for. Other workstations keep working while the dialog
// is open: they may delete the record, change it, or move the shared handle's filter so the
// record is no longer shown. The dialog's save therefore never writes "the current record":
// it finds the record it was opened for again by its record number (and, where the table has
// one, its key), refuses when it is gone, and asks before overwriting a change another
// workstation made since the dialog read it, naming the changed fields. Every dialog that
// edits a shared record saves through this.
//
//     OpenedRecord opened(partners, fields::Partner::PARTNERKOD, partnerRecordTexts());
//     ... the dialog ...
//     if (opened.save(prompt, [&] { partners.setString(fields::Partner::NEV, name); })) reload();

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "foundation/Field.h"
#include "foundation/TableHandle.h"

namespace kavina {

class Prompt;

// What the save says, in the words of the record's register.
struct OpenedRecordTexts {
    // The rule error when the record is gone, e.g. "A partnert közben egy másik munkaállomás
    // törölte."
    QString gone = QStringLiteral("A rekordot közben egy másik munkaállomás törölte.");
    // The first line of the question when it changed, e.g. "A partnert közben egy másik
    // munkaállomás módosította:"
    QString changed = QStringLiteral("A rekordot közben egy másik munkaállomás módosította:");
    // The names the question gives the fields (the dialog's labels); a field without one is
    // named as it is spelled.
    std::vector<std::pair<Field, QString>> labels;
    // Fields whose values the question does not show (a password): only that they changed.
    std::vector<Field> hidden;
    // Fields the dialog never writes and other work keeps current (a product's stock): their
    // change elsewhere is no conflict, is not asked about and is kept by the save.
    std::vector<Field> ignored;
};

class OpenedRecord {
public:
    // Remembers the handle's current record as the dialog reads it now: its record number, the
    // key's value and every field. Requires: the handle is on a record and not in edit state.
    OpenedRecord(TableHandle& handle, std::optional<Field> key, OpenedRecordTexts texts = {});

    // The dialog's save. Finds the record again, whatever the handle's filter shows; throws
    // RuleError (texts.gone) when it is gone; when another workstation changed it since it was
    // read, asks (caption "Figyelem!", Yes/No) with the changed fields, old and new value,
    // while the record is not locked. On Yes, or when nothing changed, puts the record into
    // edit (locked and re-read; changed again meanwhile, it asks again), runs write, which sets
    // the dialog's fields, and posts it. Returns false when the clerk answered No: nothing is
    // stored. The handle keeps its filter and stands on the record if the filter still shows
    // it, on its first record otherwise. An editor that saves again compares with what its
    // last save stored.
    bool save(Prompt& prompt, const std::function<void()>& write);

    // Where the record was when the dialog opened; the record's number on a table.
    const CursorMark& mark() const { return m_mark; }

private:
    std::vector<QString> valuesNow() const;
    // One "label: read → now" line per field that differs (ignored fields left out).
    QStringList differences(const std::vector<QString>& before, const std::vector<QString>& now) const;
    QString labelOf(const QString& fieldName) const;
    bool isHidden(const QString& fieldName) const;
    bool isIgnored(const QString& fieldName) const;
    // Moves to the record; false when it is deleted or another record took its number.
    bool find();
    enum class Attempt { Stored, Declined, ChangedAgain };
    Attempt attempt(Prompt& prompt, const std::function<void()>& write, std::vector<QString>& accepted);

    TableHandle& m_handle;
    std::optional<Field> m_key;
    OpenedRecordTexts m_texts;
    CursorMark m_mark;
    QString m_keyValue;
    std::vector<QString> m_read;  // every field as the dialog read it
};

}  // namespace kavina
