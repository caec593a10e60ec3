#pragma once
// The grid of the table viewer: one shared table handle as rows (records in the handle's
// current order, filter and link) and columns (its fields). The handle itself is the cursor:
// the current row of the grid is the handle's current record, and edits go straight into the
// table through edit and post, as the shared handle's hooks expect.
//
// The model remembers the handle's order and filter when it is created and puts them back in
// restoreHandle(), so ordering by a column or filtering by the quick search does not outlive
// the viewer for the other windows that use the same handle.
//
// Rows are found by walking the handle once per reload and keeping a bookmark per record;
// values are read a page of rows at a time as the grid asks for them.

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/TableHandle.h"

namespace kavina::shell {

class TableViewerModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Called with a Hungarian text when an edit or a move is refused by the table.
    using ErrorSink = std::function<void(const QString&)>;

    TableViewerModel(TableHandle& handle, ErrorSink errors, QObject* parent = nullptr);
    ~TableViewerModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Stores one value: edit, set the field from the text, post. A value the table refuses is
    // reported to the error sink and nothing is changed.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    TableHandle& handle() { return m_handle; }
    // Reads the rows again from the handle (after another workstation's changes: refresh the
    // handle first). Keeps the handle on its current record.
    void reload();

    // The row of the handle's current record, or -1.
    int currentRow() const;
    // Moves the handle to the row's record. False when the record is gone.
    bool moveTo(int row);

    // Whether a tag of the table is keyed on the column's field.
    bool isIndexed(int column) const;
    // The column of the field the current order is keyed on, or -1 in physical order.
    int orderColumn() const;
    // Orders by the column's tag; false (nothing changed) when the column has none.
    bool orderBy(int column);

    // The quick search "Gyorskereső:". Plain text moves to the first record of the current
    // order whose order field starts with it, ignoring case. Text starting with "%" filters the
    // order field by the rest as a prefix; an empty box removes that filter. The outcome is a
    // Hungarian note for the user, empty when all went well.
    QString quickSearch(const QString& text);

    // Appends an empty record and makes it current.
    void appendRecord();
    // Deletes the current record.
    void deleteCurrent();

    // Puts back the order and filter the handle had when the model was made.
    void restoreHandle();

private:
    struct Saved {
        std::string order;
        std::string filter;
        bool filtered = false;
        dbase::FilterOptions options;
        std::optional<CursorMark> mark;
    };

    void loadPage(int row) const;
    QString cellText(int row, int column) const;
    QString orderField() const;
    QString applyPrefixFilter(const QString& field, const QString& prefix);
    void clearQuickFilter();
    void readTags();

    TableHandle& m_handle;
    ErrorSink m_errors;
    Saved m_saved;
    bool m_quickFilter = false;
    std::vector<std::pair<std::string, std::string>> m_tags;  // tag name, field
    std::vector<CursorMark> m_rows;
    mutable std::vector<std::optional<std::vector<QString>>> m_cache;
};

}  // namespace kavina::shell
