#pragma once
// Helpers of the statistics' working lists: record sets in memory, keyed by a text such as an
// article number or a day, so that every lookup is by key rather than by a scan.

#include <QHash>
#include <QString>
#include <functional>

#include "dbase/Schema.h"
#include "foundation/Field.h"
#include "foundation/MemTable.h"

namespace kavina::reports {

inline dbase::FieldDef textField(const Field& f, int width) {
    return {f.text(), dbase::FieldType::Character, width, 0};
}
inline dbase::FieldDef numberField(const Field& f) {
    return {f.text(), dbase::FieldType::Float, 0, 0};
}

// Calls row on every row of the list in its order, and puts the list back on the row it was on.
template <typename Row>
void forEachRow(MemTable& rows, Row row) {
    if (rows.isEmpty()) return;
    const CursorMark at = rows.bookmark();
    for (rows.first(); !rows.eof(); rows.next()) row();
    rows.gotoBookmark(at);
}

// A working list's index: key to record.
class KeyedRows {
public:
    explicit KeyedRows(MemTable& rows) : m_rows(rows) {}
    // Puts the list on the row of the key; a missing row is appended, filled by fill while it is
    // being inserted, and posted.
    void select(const QString& key, const std::function<void()>& fill) {
        const auto found = m_index.constFind(key);
        if (found != m_index.constEnd()) {
            m_rows.gotoBookmark(*found);
            return;
        }
        m_rows.append();
        fill();
        m_rows.post();
        m_index.insert(key, m_rows.bookmark());
    }

private:
    MemTable& m_rows;
    QHash<QString, CursorMark> m_index;
};

}  // namespace kavina::reports
