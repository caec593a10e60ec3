#pragma once
// A grid's model over a table handle or an in-memory record set: the shown columns of every
// record the cursor shows, in its order, read in one walk when the model is (re)loaded.
// Painting the grid never moves the cursor, which other windows share; selecting a row moves
// it (moveTo). Call reload() after the records, the order or the filter changed.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "foundation/RecordCursor.h"

namespace kavina::widgets {

struct GridColumn {
    QString title;
    Field field;
    bool bold = false;  // the titles of columns the list can be sorted by
};

class RecordGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    RecordGridModel(RecordCursor& cursor, std::vector<GridColumn> columns, QObject* parent = nullptr);

    // Reads every shown record again; the cursor returns to its record. Does nothing while the
    // cursor holds a record in edit.
    void reload();
    // The row of the cursor's current record, or -1.
    int currentRow() const;
    // Moves the cursor to the row's record; false when the row is out of range or gone.
    bool moveTo(int row);
    // Marks a column as the current sort column (its title gets a mark), -1 for none.
    void setSortColumn(int column);
    const std::vector<GridColumn>& columns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        CursorMark mark;
        QStringList texts;
    };

    RecordCursor& m_cursor;
    std::vector<GridColumn> m_columns;
    std::vector<Row> m_rows;
    int m_sortColumn = -1;
};

}  // namespace kavina::widgets
