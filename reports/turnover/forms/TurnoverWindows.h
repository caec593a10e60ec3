#pragma once
// The small windows of the turnover and profit statistics: a date (or a period), "Statisztika"
// and "Kilépés". "Statisztika" collects with a progress bar in place of the buttons, shows
// the printed statistic in the preview, and closes the window.

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

#include "foundation/MemTable.h"
#include "foundation/Prompt.h"
#include "report/PreparedReport.h"
#include "report/Spreadsheet.h"
#include "reports/turnover/TurnoverCharts.h"

class QDateEdit;
class QProgressBar;
class QPushButton;

namespace kavina::report {
class PrintService;
}

namespace kavina::reports {

enum class TurnoverStatistic { DailyTurnover, DailyArticles, DailyProfit, ProfitPerDay, ProfitPerProduct };

struct TurnoverWindowOptions {
    std::string dataFolder;
    QDate today;
    report::PrintService* printing = nullptr;  // the printers of the preview
    // Shows the prepared statistic; the default is the print preview.
    std::function<void(const report::PreparedReport&, QWidget* parent)> show;
};

class TurnoverWindow : public QDialog {
    Q_OBJECT

public:
    TurnoverWindow(TurnoverStatistic statistic, Prompt& prompt, TurnoverWindowOptions options,
                   QWidget* parent = nullptr);

    // "Statisztika".
    void runStatistics();

    QDateEdit* fromBox() const { return m_from; }
    QDateEdit* toBox() const { return m_to; }  // nullptr for a one-day statistic
    // The chart of the last collection, shown beside the printed statistic and printed after it.
    const BarChart& chart() const { return m_chart; }
    // The table of the last collection, as "Mentés Excelbe" of the preview saves it.
    const report::SheetTable& sheet() const { return m_sheet; }

private:
    report::PreparedReport collect();
    void showProgress(int done, int total);

    TurnoverStatistic m_statistic;
    Prompt& m_prompt;
    TurnoverWindowOptions m_options;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_quit = nullptr;
    // The working lists of the daily statistics.
    MemTable m_documents{"napiforgalom2"};
    MemTable m_vat{"napiforgalom2_afa"};
    MemTable m_rows{"forgalom"};
    BarChart m_chart;
    report::SheetTable m_sheet;
};

}  // namespace kavina::reports
