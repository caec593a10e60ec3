#pragma once
// The one guard of a record being changed: it puts a cursor's record into edit (or starts a
// new one) and, unless post() stored it, cancels the change when it goes out of scope. An
// error that escapes a command therefore never leaves a shared handle in edit state, where
// the next move would post a half-changed record.
//
//     RecordEdit change = RecordEdit::edit(partners);
//     partners.setString(fields::Partner::NEV, name);
//     change.post();

#include "foundation/RecordCursor.h"

namespace kavina {

class RecordEdit {
public:
    // The current record, re-read (and locked, on a table) by the cursor's edit().
    [[nodiscard]] static RecordEdit edit(RecordCursor& cursor) { return RecordEdit(cursor, Start::Edit); }
    // A new record, stored after the last one.
    [[nodiscard]] static RecordEdit append(RecordCursor& cursor) { return RecordEdit(cursor, Start::Append); }

    ~RecordEdit();
    RecordEdit(const RecordEdit&) = delete;
    RecordEdit& operator=(const RecordEdit&) = delete;

    // Stores the record. Throws what the cursor's post throws; the guard then still cancels.
    void post();
    // Drops the change now.
    void cancel();

private:
    enum class Start { Edit, Append };
    RecordEdit(RecordCursor& cursor, Start start);

    RecordCursor& m_cursor;
    bool m_open = true;
};

}  // namespace kavina
