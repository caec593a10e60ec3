#pragma once
// "Táblák megtekintése" of the service menu: the shared table handles of the data module in a
// list, the chosen one in a grid that edits the records directly. Clicking the title of an
// indexed column orders by it; "Gyorskereső:" searches or filters in that order; the tool
// buttons choose the grid font ("Betütípus"), switch whole-row selection ("Sorkijelölés") and
// copy the table into a spreadsheet ("Mentés Excelbe"); a navigator moves, adds, deletes and
// re-reads records.
//
// Leaving a table (choosing another or closing) puts back the order and filter it had.

#include <QDialog>
#include <QFont>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "foundation/Desktop.h"
#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTableView;
class QAction;

namespace kavina::shell {

class TableViewerModel;
class TableViewerHeaders;

class TableViewerDialog : public QDialog {
    Q_OBJECT

public:
    // Asks for a font, starting from the given one; tests answer without a dialog.
    using FontChooser = std::function<std::optional<QFont>(const QFont& current, QWidget* parent)>;

    TableViewerDialog(TDataModule1& data, Prompt& prompt, Desktop& desktop, const IniSettings& ini,
                      QWidget* parent = nullptr);
    ~TableViewerDialog() override;

    void setFontChooser(FontChooser chooser) { m_chooseFont = std::move(chooser); }
    // Where "Mentés Excelbe" writes its workbooks (the temporary folder unless set).
    void setSpreadsheetFolder(const QString& folder) { m_spreadsheetFolder = folder; }

    // Shows the table of that handle name; false when no open handle has it.
    bool showTable(const QString& handleName);

    void done(int result) override;

private:
    void buildLayout();
    QWidget* buildToolbar();
    void tableChosen();
    void leaveTable();
    void selectCurrentRow();
    void headerClicked(int column);
    void searchChanged(const QString& text);
    void chooseFont();
    void switchRowSelection(bool rows);
    void saveToSpreadsheet();
    void stepRows(int step);
    void appendRecord();
    void deleteRecord();
    void refreshTable();
    void showCount();

    TDataModule1& m_data;
    Prompt& m_prompt;
    Desktop& m_desktop;
    FontChooser m_chooseFont;
    QString m_spreadsheetFolder;
    QString m_handleName;
    QListWidget* m_list = nullptr;
    QTableView* m_grid = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_note = nullptr;
    QLabel* m_count = nullptr;
    QAction* m_rowSelect = nullptr;
    std::unique_ptr<TableViewerModel> m_model;
    std::unique_ptr<TableViewerHeaders> m_headers;
};

}  // namespace kavina::shell
