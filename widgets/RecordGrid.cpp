#include "widgets/RecordGrid.h"

#include <QItemSelectionModel>
#include <QTableView>

#include "foundation/CommandBoundary.h"

namespace kavina::widgets {

RecordGrid::RecordGrid(QTableView* view, RecordCursor& cursor, std::vector<GridColumn> columns, Prompt& prompt)
    : m_view(view),
      m_cursor(cursor),
      m_prompt(prompt),
      m_model(std::make_unique<RecordGridModel>(cursor, std::move(columns))) {
    m_view->setModel(m_model.get());
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { rowPicked(current.row()); });
    m_watch = m_cursor.watch([this](CursorChange change) { heard(change); });
    showCurrent();
}

RecordGrid::~RecordGrid() {
    m_cursor.unwatch(m_watch);
    // The view may outlive the grid for a moment; it must not keep a model that is going.
    if (m_view->model() == m_model.get()) m_view->setModel(nullptr);
}

void RecordGrid::heard(CursorChange change) {
    if (change == CursorChange::Moved)
        m_showDue = true;
    else
        m_reloadDue = true;
    if (m_scheduled) return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &RecordGrid::sync, Qt::QueuedConnection);
}

void RecordGrid::sync() {
    m_scheduled = false;
    // A record in edit would be posted by the walk of a reload; the grid waits for its post.
    if (m_cursor.isEditing()) return;
    const bool reloadDue = m_reloadDue;
    m_reloadDue = m_showDue = false;
    if (reloadDue)
        reload();
    else
        showCurrent();
}

void RecordGrid::reload() {
    m_model->reload();
    m_reloadDue = false;
    showCurrent();
}

void RecordGrid::showCurrent() {
    m_showDue = false;
    const int row = m_model->currentRow();
    m_showing = true;
    if (row >= 0) {
        const int column = std::max(0, m_view->currentIndex().column());
        const QModelIndex index = m_model->index(row, column);
        m_view->selectionModel()->setCurrentIndex(index,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view->scrollTo(index);
    } else {
        m_view->selectionModel()->clear();
    }
    m_showing = false;
}

void RecordGrid::rowPicked(int row) {
    if (m_showing || row < 0) return;
    runCommand(m_prompt, [&] {
        if (!m_model->moveTo(row)) reload();  // the record is gone: show what is there now
    });
}

}  // namespace kavina::widgets
