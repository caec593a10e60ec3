#pragma once
// The table viewer's grid dressing: bold titles on the columns a click can order by, and
// column widths taken from the fields.

#include <QIdentityProxyModel>

#include "foundation/RecordCursor.h"
#include "shell/tableviewer/TableViewerModel.h"

class QTableView;

namespace kavina::shell {

// Bold titles on the columns a click can order by, with a hint.
class TableViewerHeaders : public QIdentityProxyModel {
public:
    explicit TableViewerHeaders(TableViewerModel& model) : m_model(model) { setSourceModel(&model); }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    TableViewerModel& m_model;
};

// Sets every column as wide as its field holds, within reason.
void sizeColumns(QTableView& grid, const RecordCursor& cursor);

}  // namespace kavina::shell
