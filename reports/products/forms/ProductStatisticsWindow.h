#pragma once
// "Termék statisztika": the goods sold, the services used and the goods by article number of
// a period, each on its own tab over its working list, each printed as a report.

#include <QDate>
#include <QDialog>
#include <memory>

#include "foundation/MemTable.h"
#include "foundation/Prompt.h"
#include "reports/products/ProductStatistics.h"
#include "reports/products/forms/StatisticsTab.h"

class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::reports {

class ProductStatisticsWindow : public QDialog {
    Q_OBJECT

public:
    ProductStatisticsWindow(Prompt& prompt, StatisticsWindowOptions options, QWidget* parent = nullptr);
    ~ProductStatisticsWindow() override;

    // "Kigyűjtés" and "Nyomtatás" of each tab.
    void collectSoldOf(SoldKind kind);
    void printSoldOf(SoldKind kind);
    void collectArticles();
    void printArticles();

    MemTable& goodsRows() { return m_goods; }
    MemTable& serviceRows() { return m_services; }
    MemTable& articleRows() { return m_articles; }

private:
    struct SoldTab {
        StatisticsTab parts;
        QSpinBox* range = nullptr;
        std::unique_ptr<widgets::RecordGrid> grid;
        QDate period[2];
    };
    QWidget* soldTab(SoldKind kind);
    QWidget* articleTab();
    SoldTab& tabOf(SoldKind kind) { return kind == SoldKind::Goods ? m_goodsTab : m_servicesTab; }
    MemTable& rowsOf(SoldKind kind) { return kind == SoldKind::Goods ? m_goods : m_services; }
    void collecting(bool on);

    Prompt& m_prompt;
    StatisticsWindowOptions m_options;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_progressRow = nullptr;
    QProgressBar* m_progress = nullptr;

    MemTable m_goods{std::string(soldlist::kTable)};
    MemTable m_services{std::string(soldlist::kTable)};
    MemTable m_articles{std::string(articlelist::kTable)};
    SoldTab m_goodsTab, m_servicesTab;
    StatisticsTab m_articleTab;
    std::unique_ptr<widgets::RecordGrid> m_articleGrid;
    QLineEdit *m_firstArticle = nullptr, *m_lastArticle = nullptr;
    QLabel* m_marginTotal = nullptr;
    double m_margin = 0;
    QDate m_articlePeriod[2];
};

}  // namespace kavina::reports
