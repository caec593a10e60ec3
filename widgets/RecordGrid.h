#pragma once
// A list over a cursor (a shared table handle or a record set), and the rule every list keeps:
// the highlighted row, scrolled into view, is always the cursor's current record. A command
// of the window acts on the cursor's record; the clerk sees that record highlighted after a
// search, a sort, a tab or filter change, a refresh, a delete, and when another window moved
// the handle, so the command acts on the record the clerk sees and on no other.
//
// The grid watches the cursor: after a move it highlights the current record again, after a
// write or a change of order or filter it reads the rows again first. It does so once the
// command that changed the cursor has returned (the cursor is told in the middle of walks),
// and never while the cursor holds a record in edit. Picking a row moves the cursor there.
//
//     m_grid = std::make_unique<widgets::RecordGrid>(view, data.TelepTable(),
//         std::vector<widgets::GridColumn>{{QStringLiteral("Település"), fields::Telep::TELEPULES}}, prompt);

#include <QObject>
#include <memory>

#include "widgets/RecordGridModel.h"

class QTableView;

namespace kavina {
class Prompt;
}

namespace kavina::widgets {

class RecordGrid final : public QObject {
    Q_OBJECT

public:
    // The view gets the model; the view and the cursor must outlive the grid (a window keeps it
    // in a member, destroyed before its child widgets). Errors of moving the cursor when a
    // row is picked go through the command boundary with the prompt.
    RecordGrid(QTableView* view, RecordCursor& cursor, std::vector<GridColumn> columns, Prompt& prompt);
    ~RecordGrid() override;

    RecordGridModel& model() { return *m_model; }
    QTableView* view() const { return m_view; }

    // Reads the rows again and highlights the cursor's record, now.
    void reload();
    // Highlights the cursor's record and scrolls it into view, now.
    void showCurrent();
    // Brings the list up to date with everything the cursor was told so far, now.
    void sync();

private:
    void heard(CursorChange change);
    void rowPicked(int row);

    QTableView* m_view;
    RecordCursor& m_cursor;
    Prompt& m_prompt;
    std::unique_ptr<RecordGridModel> m_model;
    int m_watch = 0;
    bool m_reloadDue = false;
    bool m_showDue = false;
    bool m_scheduled = false;
    bool m_showing = false;  // highlighting the cursor's record: not a pick of the clerk
};

}  // namespace kavina::widgets
