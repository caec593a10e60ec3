#pragma once
// Parts the document windows build alike: a list view over a record grid, a push button of a
// row or column of buttons, and a date box.

#include <QDate>
#include <QString>

class QBoxLayout;
class QEvent;
class QDateEdit;
class QPushButton;
class QTableView;

namespace kavina::widgets {

// A read-only list of whole rows, one selected at a time, one line of text high, without row
// numbers.
QTableView* listView(const QString& objectName);

// A button added to the layout; it is never the dialog's default, so Enter stays in the boxes.
QPushButton* addPushButton(QBoxLayout* layout, const QString& text, const QString& objectName);

// The lowest date of a date box that may stay empty; the box shows it blank.
inline const QDate kNoDate(1900, 1, 1);

// A date box "yyyy.MM.dd" with a calendar; with emptyAllowed its lowest date (kNoDate) shows
// blank and stands for no date.
QDateEdit* dateBox(const QString& objectName, bool emptyAllowed = false);

// Whether an event on an editor's read-only partner box opens the partner picker: a left click,
// or any key but Enter, Esc and the focus keys.
bool opensPicker(const QEvent* event);

}  // namespace kavina::widgets
