#pragma once
// TMunkalapok, the worksheets in a grid: as the list ("Munkalapok": this year or the archive,
// the memos of the highlighted worksheet below, "&Másolat", "Módosítás") or as the choice of
// the worksheet to change ("Kérem válasszon...": "&Választ" or a double click picks). The grid's
// highlighted row is the worksheet handle's record, which the commands act on.

#include <QDialog>
#include <QTimer>
#include <memory>

#include "documents/worksheets/forms/WorksheetCommands.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::documents {

class TMunkalapok final : public QDialog {
    Q_OBJECT

public:
    enum class Mode { List, Choose };

    TMunkalapok(QWidget* parent, const WorksheetCommandContext& context, Mode mode);
    ~TMunkalapok() override;

    void setArchive(bool archive);
    void printCopy();      // "&Másolat"
    void modifyCurrent();  // "Módosítás"
    void choose();         // "&Választ" and the double click of the choice

private:
    void buildList();
    void showMemos();
    void refresh();

    WorksheetCommandContext m_context;
    Mode m_mode;
    QTableView* m_view = nullptr;
    std::unique_ptr<widgets::RecordGrid> m_grid;
    QPlainTextEdit* m_fault = nullptr;
    QPlainTextEdit* m_work = nullptr;
    QTimer m_refresh;
};

}  // namespace kavina::documents
