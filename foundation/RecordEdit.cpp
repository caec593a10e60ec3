#include "foundation/RecordEdit.h"

namespace kavina {

RecordEdit::RecordEdit(RecordCursor& cursor, Start start) : m_cursor(cursor) {
    if (start == Start::Append)
        m_cursor.append();
    else
        m_cursor.edit();
}

RecordEdit::~RecordEdit() {
    if (!m_open) return;
    try {
        if (m_cursor.isEditing()) m_cursor.cancel();
    } catch (...) {
        // Cancelling only drops the record buffer; the error that got us here is the one that
        // matters and is already on its way.
    }
}

void RecordEdit::post() {
    m_cursor.post();
    m_open = false;
}

void RecordEdit::cancel() {
    m_open = false;
    if (m_cursor.isEditing()) m_cursor.cancel();
}

}  // namespace kavina
