#pragma once
// "Pénzügyi statisztika": the turnover list, the profit per document, the value of the stock
// and a month's summary, each on its own tab over its working list. Opening the window
// collects the turnover list at once.

#include <QDate>
#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "foundation/MemTable.h"
#include "foundation/Prompt.h"
#include "report/PreparedReport.h"
#include "report/Spreadsheet.h"
#include "reports/finance/FinancialStatistics.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace kavina::report {
class PrintService;
}
namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::reports {

struct FinancialStatisticsOptions {
    std::string dataFolder;
    QDate today;
    QString currentUser;
    report::PrintService* printing = nullptr;
    // Shows a prepared report; the default is the print preview.
    std::function<void(const report::PreparedReport&, QWidget* parent)> show;
};

class FinancialStatisticsWindow : public QDialog {
    Q_OBJECT

public:
    FinancialStatisticsWindow(Prompt& prompt, FinancialStatisticsOptions options, QWidget* parent = nullptr);
    ~FinancialStatisticsWindow() override;

    // "Kigyűjtés" and "Nyomtatás" of each tab.
    void collectTurnover();
    void printTurnover();
    void collectProfit();
    void printProfit();
    void collectStock();
    void printStock();
    void collectMonth();

    MemTable& turnoverRows() { return m_turnover; }
    MemTable& profitRows() { return m_profit; }
    MemTable& stockRows() { return m_stock; }
    MemTable& monthRows() { return m_month; }
    // The table of the last printed list, as "Mentés Excelbe" of the preview saves it.
    const report::SheetTable& sheet() const { return m_sheet; }

private:
    QWidget* turnoverTab();
    QWidget* profitTab();
    QWidget* stockTab();
    QWidget* monthTab();
    Progress progress();
    void collecting(bool on);
    void show(const report::PreparedReport& pages);

    Prompt& m_prompt;
    FinancialStatisticsOptions m_options;
    QTabWidget* m_tabs = nullptr;
    QProgressBar* m_progress = nullptr;

    MemTable m_turnover{"forgalom"};
    MemTable m_profit{"haszon"};
    MemTable m_stock{"keszlet"};
    MemTable m_month{"havi"};
    std::unique_ptr<widgets::RecordGrid> m_turnoverGrid, m_profitGrid, m_stockGrid, m_monthGrid;

    QDateEdit *m_turnoverFrom = nullptr, *m_turnoverTo = nullptr;
    QRadioButton* m_cashOnly = nullptr;
    QLabel* m_turnoverTotal = nullptr;
    int64_t m_turnoverSum = 0;
    QDate m_turnoverPeriod[2];

    QDateEdit *m_profitFrom = nullptr, *m_profitTo = nullptr;
    QRadioButton* m_byInvoices = nullptr;
    QLabel *m_cost = nullptr, *m_sale = nullptr, *m_gain = nullptr, *m_percent = nullptr;
    ProfitTotals m_profitTotals;
    ProfitBasis m_profitBasis = ProfitBasis::Invoices;
    QDate m_profitPeriod[2];

    QRadioButton* m_negativeToo = nullptr;
    QLabel* m_stockTotals[2][5] = {};
    StockValue m_stockValue;

    report::SheetTable m_sheet;

    QSpinBox* m_year = nullptr;
    QComboBox* m_monthBox = nullptr;
};

}  // namespace kavina::reports
