#pragma once
// What the tabs of the product and partner statistics share: "Vizsgált időszak:" with its two
// date boxes, room for the tab's own inputs, the list, a row for its totals, and the buttons
// "Kigyűjtés", "Nyomtatás" and "Bezár"; and how a window of these statistics shows a printed
// report and its progress.

#include <QDate>
#include <QString>
#include <functional>
#include <string>

#include "foundation/Prompt.h"
#include "report/PreparedReport.h"
#include "reports/turnover/SalesSelection.h"

class QDateEdit;
class QDialog;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QWidget;

namespace kavina::report {
class PrintService;
}

namespace kavina::reports {

struct StatisticsWindowOptions {
    std::string dataFolder;
    QDate today;  // the date boxes start at it
    QString currentUser;
    report::PrintService* printing = nullptr;
    // Shows a prepared report; the default is the print preview.
    std::function<void(const report::PreparedReport&, QWidget* parent)> show;
};

// The print preview of the statistics, or nothing without printers.
void previewStatistics(const report::PreparedReport& pages, Prompt& prompt, report::PrintService* printing,
                       QWidget* parent);

struct StatisticsTab {
    QWidget* widget = nullptr;
    QGridLayout* inputs = nullptr;  // row 0 holds the period; the tab adds its own rows below
    QDateEdit* from = nullptr;
    QDateEdit* to = nullptr;
    QTableView* view = nullptr;
    QHBoxLayout* totals = nullptr;
    QPushButton* collect = nullptr;
    QPushButton* print = nullptr;
    QPushButton* close = nullptr;
};

// A tab whose widgets are named name + "From", "To", "Grid", "Collect", "Print", "Close".
StatisticsTab statisticsTab(const QString& name, const QDate& today, QDialog* window);

// Fits the list's columns to their contents, the named column taking the rest of the width.
// The grid resets its columns when it reads its rows again: call it after every reload.
void fitColumns(QTableView* view, int stretchColumn);

// Takes the keyboard focus from the window's controls while they all still exist. A control
// that still has the focus when its window is destroyed hands it on in the middle of the
// destruction, and the main window then walks a half-destroyed window to recolour its boxes.
// Windows call it from their destructors.
void dropFocus(QWidget* window);

// A bold, right-aligned label for a total.
QLabel* totalLabel(const QString& objectName);

// The "Feldolgozás: " progress bar under the tabs, hidden until a collection runs.
QProgressBar* processingBar(QWidget** row);

// Feeds a progress bar from a collection.
Progress progressOn(QProgressBar* bar);

}  // namespace kavina::reports
