#pragma once
// The layout of the program's small list windows (promotions, VAT groups, units, ...): a
// list on the left, a column of buttons on the right, and the closing button at the bottom
// of the column. The list is a plain view; a RecordGrid gives it its rows.

#include <QString>

class QBoxLayout;
class QDialog;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace kavina::widgets {

class ListWindow {
public:
    // Lays the dialog out; the list's object name is gridName.
    ListWindow(QDialog* dialog, const QString& gridName);

    QTableView* grid() const { return m_grid; }
    // The next button of the column, named so for tests and scripts.
    QPushButton* addButton(const QString& text, const QString& objectName);
    // The closing button at the bottom ("&Kilépés", closePushButton): it rejects the dialog.
    QPushButton* addCloseButton();
    // The column that takes the list's spare width (the last one unless told).
    void stretchColumn(int column);

private:
    QDialog* m_dialog;
    QTableView* m_grid;
    QVBoxLayout* m_buttons;
};

}  // namespace kavina::widgets
