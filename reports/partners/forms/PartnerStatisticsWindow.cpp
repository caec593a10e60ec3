#include "reports/partners/forms/PartnerStatisticsWindow.h"

#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/SzamSzov.h"
#include "reports/partners/PartnerReports.h"
#include "widgets/FormParts.h"
#include "widgets/RecordGrid.h"

namespace kavina::reports {

using widgets::ColumnKind;
using widgets::GridColumn;

namespace {
const char* const kPageNames[] = {"customers", "invoices", "products", "supplier"};
// The list's column that takes the spare width: the address, the product's name.
int stretchColumn(PartnerPage page) {
    return page == PartnerPage::Customers || page == PartnerPage::SupplierGoods ? 1 : 0;
}
}  // namespace

PartnerStatisticsWindow::PartnerStatisticsWindow(Prompt& prompt, StatisticsWindowOptions options, PickPartner pick,
                                                 QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_options(std::move(options)), m_pick(std::move(pick)) {
    // The partner register opens on customers or suppliers by this name.
    setObjectName(QStringLiteral("TPartnerStatForm"));
    setWindowTitle(QStringLiteral("Partner statisztika"));
    resize(960, 620);
    // The lists have their fields before the first collection, so the grids have columns.
    const QDate none = m_options.today.addDays(1);
    const std::string& folder = m_options.dataFolder;
    collectCustomers(folder, none, m_options.today, 0, rowsOf(PartnerPage::Customers));
    collectPartnerInvoices(folder, 0, none, m_options.today, rowsOf(PartnerPage::Invoices));
    collectPartnerProducts(folder, 0, none, m_options.today, rowsOf(PartnerPage::Products));
    collectSupplierGoods(folder, 0, none, m_options.today, rowsOf(PartnerPage::SupplierGoods));

    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->addTab(customersTab(), QStringLiteral("Partnerek forgalom szerint"));
    m_tabs->addTab(partnerTab(PartnerPage::Invoices), QStringLiteral("Partner forgalma (számlák)"));
    m_tabs->addTab(partnerTab(PartnerPage::Products), QStringLiteral("Partner forgalma (termékek)"));
    m_tabs->addTab(partnerTab(PartnerPage::SupplierGoods), QStringLiteral("Beszállító forgalma (termékek)"));
    layout->addWidget(m_tabs, 1);
    m_progress = processingBar(&m_progressRow);
    layout->addWidget(m_progressRow);
    if (!m_options.show)
        m_options.show = [this](const report::PreparedReport& pages, QWidget* owner) {
            previewStatistics(pages, m_prompt, m_options.printing, owner);
        };
}

PartnerStatisticsWindow::~PartnerStatisticsWindow() {
    dropFocus(this);
    for (Page& page : m_pages)
        if (page.name) page.name->removeEventFilter(this);
}

void PartnerStatisticsWindow::collecting(bool on) {
    m_progress->setValue(0);
    m_progressRow->setVisible(on);
    m_tabs->setEnabled(!on);
}

QWidget* PartnerStatisticsWindow::customersTab() {
    Page& page = m_pages[int(PartnerPage::Customers)];
    page.parts = statisticsTab(QStringLiteral("customers"), m_options.today, this);
    page.period[0] = page.period[1] = m_options.today;
    page.parts.inputs->addWidget(new QLabel(QStringLiteral("Tartomány:")), 1, 0);
    m_range = new QSpinBox;
    m_range->setObjectName(QStringLiteral("customersRange"));
    m_range->setRange(0, 99999);
    m_range->setValue(10);
    auto* range = new QHBoxLayout;
    range->addWidget(m_range);
    range->addStretch(1);
    page.parts.inputs->addLayout(range, 1, 1);
    namespace C = customerlist;
    page.grid = std::make_unique<widgets::RecordGrid>(
        page.parts.view, page.rows,
        std::vector<GridColumn>{
            {"Név", C::NEV}, {"Cím", C::CIM}, {"Forgalom (Ft)", C::FORGALOM, false, ColumnKind::Money}},
        m_prompt);
    fitColumns(page.parts.view, 1);
    connect(page.parts.collect, &QPushButton::clicked, this, [this] { collect(PartnerPage::Customers); });
    connect(page.parts.print, &QPushButton::clicked, this, [this] { print(PartnerPage::Customers); });
    return page.parts.widget;
}

QWidget* PartnerStatisticsWindow::partnerTab(PartnerPage which) {
    Page& page = m_pages[int(which)];
    const QString name = QString::fromLatin1(kPageNames[int(which)]);
    page.parts = statisticsTab(name, m_options.today, this);
    page.period[0] = page.period[1] = m_options.today;
    page.parts.inputs->addWidget(new QLabel(QStringLiteral("Partner neve:")), 1, 0);
    page.parts.inputs->addWidget(new QLabel(QStringLiteral("Partner címe:")), 2, 0);
    page.name = new QLineEdit;
    page.name->setObjectName(name + QStringLiteral("PartnerName"));
    page.name->setReadOnly(true);
    page.name->installEventFilter(this);
    page.address = new QLineEdit;
    page.address->setObjectName(name + QStringLiteral("PartnerAddress"));
    page.address->setReadOnly(true);
    page.parts.inputs->addWidget(page.name, 1, 1);
    page.parts.inputs->addWidget(page.address, 2, 1);
    std::vector<GridColumn> columns;
    switch (which) {
        case PartnerPage::Invoices: {
            namespace I = invoicelist;
            columns = {{"Számlaszám", I::szamlaszam},
                       {"Számla kelte", I::datum, false, ColumnKind::Day},
                       {"Nettó érték", I::netto, false, ColumnKind::Money},
                       {"Fizetve", I::fizetve}};
            page.parts.totals->addWidget(new QLabel(QStringLiteral("Nettó érték összesen:")));
            break;
        }
        case PartnerPage::Products: {
            namespace R = partnerproducts;
            columns = {{"Termék/szolgáltatás", R::termek},
                       {"VTSZ/SZJ", R::szj},
                       {"Egységár", R::egysegar, false, ColumnKind::Money},
                       {"Forgalom", R::forgalom, false, ColumnKind::Number},
                       {"me.", R::me}};
            break;
        }
        default: {
            namespace R = suppliergoods;
            columns = {{"Cikkszám", R::cikkszam},
                       {"Termék", R::termek},
                       {"Mennyiség", R::mennyiseg, false, ColumnKind::Number},
                       {"me.", R::me},
                       {"Nettó forgalom", R::netto, false, ColumnKind::Money}};
            page.parts.totals->addWidget(new QLabel(QStringLiteral("Nettó forgalom összesen:")));
            break;
        }
    }
    if (which != PartnerPage::Products) {
        page.total = totalLabel(name + QStringLiteral("Total"));
        page.parts.totals->addWidget(page.total);
    }
    page.grid = std::make_unique<widgets::RecordGrid>(page.parts.view, page.rows, std::move(columns), m_prompt);
    fitColumns(page.parts.view, stretchColumn(which));
    connect(page.parts.collect, &QPushButton::clicked, this, [this, which] { collect(which); });
    connect(page.parts.print, &QPushButton::clicked, this, [this, which] { print(which); });
    return page.parts.widget;
}

bool PartnerStatisticsWindow::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 1; i < 4; ++i) {
        if (watched != m_pages[i].name || !widgets::opensPicker(event)) continue;
        pickPartner(PartnerPage(i));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PartnerStatisticsWindow::pickPartner(PartnerPage which) {
    runCommand(m_prompt, [&] {
        if (!m_pick) return;
        const std::optional<ChosenPartner> picked = m_pick(which);
        if (!picked) return;
        Page& page = m_pages[int(which)];
        page.partner = *picked;
        page.name->setText(picked->name);
        page.address->setText(picked->postcode + QLatin1Char(' ') + picked->town + QLatin1Char(' ') + picked->street);
    });
}

void PartnerStatisticsWindow::collect(PartnerPage which) {
    Page& page = m_pages[int(which)];
    if (which != PartnerPage::Customers && !partnerChosen(page.partner, m_prompt)) return;
    collecting(true);
    runCommand(m_prompt, [&] {
        const QDate from = page.parts.from->date(), to = page.parts.to->date();
        page.period[0] = from;
        page.period[1] = to;
        const std::string& folder = m_options.dataFolder;
        const Progress progress = progressOn(m_progress);
        switch (which) {
            case PartnerPage::Customers:
                collectCustomers(folder, from, to, m_range->value(), page.rows, progress);
                break;
            case PartnerPage::Invoices:
                page.netTotal = collectPartnerInvoices(folder, page.partner.code, from, to, page.rows, progress);
                page.total->setText(groupDigits(page.netTotal).trimmed());
                break;
            case PartnerPage::Products:
                collectPartnerProducts(folder, page.partner.code, from, to, page.rows, progress);
                break;
            case PartnerPage::SupplierGoods:
                page.supplierTotal = collectSupplierGoods(folder, page.partner.code, from, to, page.rows, progress);
                page.total->setText(supplierTotalText(page.supplierTotal).trimmed());
                break;
        }
        page.grid->reload();
        fitColumns(page.parts.view, stretchColumn(which));
    });
    collecting(false);
}

void PartnerStatisticsWindow::print(PartnerPage which) {
    Page& page = m_pages[int(which)];
    runCommand(m_prompt, [&] {
        const QDate from = page.period[0], to = page.period[1];
        const QString& user = m_options.currentUser;
        std::unique_ptr<report::Layout> layout;
        switch (which) {
            case PartnerPage::Customers: layout = customersReport(page.rows, from, to, user); break;
            case PartnerPage::Invoices:
                layout = partnerInvoicesReport(page.rows, page.netTotal, page.partner, from, to, user);
                break;
            case PartnerPage::Products: layout = partnerProductsReport(page.rows, page.partner, from, to, user); break;
            case PartnerPage::SupplierGoods:
                layout = supplierGoodsReport(page.rows, page.supplierTotal, page.partner, from, to, user);
                break;
        }
        m_options.show(layout->prepare(), this);
    });
}

}  // namespace kavina::reports
