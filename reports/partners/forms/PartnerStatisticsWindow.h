#pragma once
// "Partner statisztika" (TPartnerStatForm): the customers ranked by turnover, and one partner's
// invoices, products and services, and received goods, each on its own tab over its working
// list and printed as a report. The partner of a tab is picked in the partner register, which
// knows this window by its name.

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "foundation/MemTable.h"
#include "foundation/Prompt.h"
#include "reports/partners/PartnerStatistics.h"
#include "reports/products/forms/StatisticsTab.h"

class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::reports {

enum class PartnerPage { Customers, Invoices, Products, SupplierGoods };

// Opens the partner register as the picker for the page (supplier pages open on suppliers);
// the partner accepted, or nothing.
using PickPartner = std::function<std::optional<ChosenPartner>(PartnerPage page)>;

class PartnerStatisticsWindow : public QDialog {
    Q_OBJECT

public:
    PartnerStatisticsWindow(Prompt& prompt, StatisticsWindowOptions options, PickPartner pick,
                            QWidget* parent = nullptr);
    ~PartnerStatisticsWindow() override;

    void setPartnerPicker(PickPartner pick) { m_pick = std::move(pick); }

    // "Kigyűjtés" and "Nyomtatás" of a page; a click on a page's name box.
    void collect(PartnerPage page);
    void print(PartnerPage page);
    void pickPartner(PartnerPage page);

    MemTable& rowsOf(PartnerPage page) { return m_pages[int(page)].rows; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Page {
        MemTable rows;
        StatisticsTab parts;
        std::unique_ptr<widgets::RecordGrid> grid;
        QLineEdit* name = nullptr;
        QLineEdit* address = nullptr;
        QLabel* total = nullptr;
        ChosenPartner partner;
        QDate period[2];
        int64_t netTotal = 0;
        double supplierTotal = 0;
    };
    QWidget* customersTab();
    QWidget* partnerTab(PartnerPage page);
    void collecting(bool on);

    Prompt& m_prompt;
    StatisticsWindowOptions m_options;
    PickPartner m_pick;
    QTabWidget* m_tabs = nullptr;
    QWidget* m_progressRow = nullptr;
    QProgressBar* m_progress = nullptr;
    QSpinBox* m_range = nullptr;
    Page m_pages[4];
};

}  // namespace kavina::reports
