#include "reports/finance/forms/FinancialStatisticsWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "report/view/PreviewWindow.h"
#include "reports/finance/FinanceReports.h"
#include "reports/finance/FinanceSheets.h"
#include "reports/turnover/WorkingList.h"
#include "widgets/RecordGrid.h"

namespace kavina::reports {

namespace {

using widgets::ColumnKind;
using widgets::GridColumn;

namespace month {
inline constexpr std::string_view kTable = "havi";
inline constexpr Field MEGNEVEZES{kTable, "MEGNEVEZES"};
inline constexpr Field ar{kTable, "ar"};
}  // namespace month

QDateEdit* dateBox(const QString& objectName, const QDate& date) {
    auto* box = new QDateEdit(date);
    box->setObjectName(objectName);
    box->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    box->setCalendarPopup(true);
    return box;
}

QPushButton* button(QHBoxLayout* row, const QString& text, const QString& objectName) {
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    row->addWidget(b);
    return b;
}

// "Tartomány:" with two choices, the first chosen.
QRadioButton* choice(QGridLayout* grid, int row, const QString& first, const QString& second, const QString& name) {
    grid->addWidget(new QLabel(QStringLiteral("Tartomány:")), row, 0);
    auto* a = new QRadioButton(first);
    auto* b = new QRadioButton(second);
    a->setObjectName(name);
    b->setObjectName(name + QStringLiteral("Other"));
    a->setChecked(true);
    auto* group = new QButtonGroup(a);
    group->addButton(a);
    group->addButton(b);
    grid->addWidget(a, row, 1);
    grid->addWidget(b, row, 2);
    return a;
}

QLabel* valueLabel(const QString& objectName) {
    auto* label = new QLabel;
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QTableView* gridView(const QString& objectName) {
    auto* view = new QTableView;
    view->setObjectName(objectName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->hide();
    return view;
}

}  // namespace

FinancialStatisticsWindow::FinancialStatisticsWindow(Prompt& prompt, FinancialStatisticsOptions options,
                                                     QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_options(std::move(options)) {
    setWindowTitle(QStringLiteral("Pénzügyi statisztika"));
    resize(980, 620);
    // The lists exist with their fields before the first collection, so the grids have columns.
    m_month.setFields({textField(month::MEGNEVEZES, 100), numberField(month::ar)});
    collectTurnoverList(m_options.dataFolder, m_options.today, m_options.today, true, m_turnover);
    collectProfitList(m_options.dataFolder, m_options.today, m_options.today.addDays(-1), ProfitBasis::Invoices,
                      m_profit);
    collectStockValue(m_options.dataFolder, false, m_stock);
    m_stock.emptyTable();

    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->addTab(turnoverTab(), QStringLiteral("Forgalom kimutatás"));
    m_tabs->addTab(profitTab(), QStringLiteral("Haszon számítás"));
    m_tabs->addTab(stockTab(), QStringLiteral("Készleten lévő termékek értéke"));
    m_tabs->addTab(monthTab(), QStringLiteral("Időszaki forgalmi statisztika"));
    layout->addWidget(m_tabs);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setVisible(false);
    layout->addWidget(m_progress);

    if (!m_options.show)
        m_options.show = [this](const report::PreparedReport& pages, QWidget* owner) {
            if (!m_options.printing) return;
            report::PreviewWindow preview(pages, m_prompt, *m_options.printing,
                                          {.pdfFileName = QStringLiteral("statisztika.pdf"),
                                           .sheet = [this] { return m_sheet; },
                                           .sheetFileName = QStringLiteral("statisztika.xlsx")},
                                          owner);
            preview.exec();
        };
    collectTurnover();
}

FinancialStatisticsWindow::~FinancialStatisticsWindow() = default;

Progress FinancialStatisticsWindow::progress() {
    return [this](int done, int total) {
        m_progress->setMaximum(std::max(total, 1));
        m_progress->setValue(done);
        m_progress->repaint();
    };
}

void FinancialStatisticsWindow::collecting(bool on) {
    m_progress->setValue(0);
    m_progress->setVisible(on);
    m_tabs->setEnabled(!on);
}

void FinancialStatisticsWindow::show(const report::PreparedReport& pages) {
    m_options.show(pages, this);
}

// A list sorted by the clicked column title, ascending ignoring case, the title shown pressed.
static void sortOnClick(QDialog* window, widgets::RecordGrid& grid, MemTable& rows, Prompt& prompt) {
    QObject::connect(grid.view()->horizontalHeader(), &QHeaderView::sectionClicked, window,
                     [&grid, &rows, &prompt](int column) {
                         runCommand(prompt, [&] {
                             rows.sort({{grid.model().columns()[size_t(column)].field, false, true}});
                             grid.model().setSortColumn(column);
                             grid.reload();
                         });
                     });
}

QWidget* FinancialStatisticsWindow::turnoverTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* inputs = new QGridLayout;
    inputs->addWidget(new QLabel(QStringLiteral("Vizsgált időszak:")), 0, 0);
    m_turnoverFrom = dateBox(QStringLiteral("turnoverFrom"), m_options.today);
    m_turnoverTo = dateBox(QStringLiteral("turnoverTo"), m_options.today);
    inputs->addWidget(m_turnoverFrom, 0, 1);
    inputs->addWidget(m_turnoverTo, 0, 2);
    m_cashOnly =
        choice(inputs, 1, QStringLiteral("Készpénzes"), QStringLiteral("Minden számla"), QStringLiteral("cashOnly"));
    inputs->setColumnStretch(3, 1);
    layout->addLayout(inputs);
    QTableView* view = gridView(QStringLiteral("turnoverGrid"));
    namespace T = turnoverlist;
    m_turnoverGrid = std::make_unique<widgets::RecordGrid>(
        view, m_turnover,
        std::vector<GridColumn>{{"Biz.szám", T::SZAMLASZAM, true},
                                {"Vevő neve", T::NEV, true},
                                {"Cím", T::TELJESCIM, true},
                                {"Készült", T::KIALLIT, true, ColumnKind::Day},
                                {"Fizetendő", T::FIZETENDO, true, ColumnKind::Money},
                                {"Fiz.mód", T::FIZMOD, true},
                                {"Teljesítés", T::teljesit, true, ColumnKind::Day}},
        m_prompt);
    sortOnClick(this, *m_turnoverGrid, m_turnover, m_prompt);
    layout->addWidget(view, 1);
    auto* totals = new QHBoxLayout;
    totals->addStretch(1);
    totals->addWidget(new QLabel(QStringLiteral("Bevétel összesen:")));
    m_turnoverTotal = valueLabel(QStringLiteral("turnoverTotal"));
    totals->addWidget(m_turnoverTotal);
    layout->addLayout(totals);
    auto* buttons = new QHBoxLayout;
    connect(button(buttons, QStringLiteral("Kigyűjtés"), QStringLiteral("turnoverCollect")), &QPushButton::clicked,
            this, &FinancialStatisticsWindow::collectTurnover);
    connect(button(buttons, QStringLiteral("Nyomtatás"), QStringLiteral("turnoverPrint")), &QPushButton::clicked, this,
            &FinancialStatisticsWindow::printTurnover);
    connect(button(buttons, QStringLiteral("Bezár"), QStringLiteral("turnoverClose")), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(buttons);
    return tab;
}

QWidget* FinancialStatisticsWindow::profitTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* inputs = new QGridLayout;
    inputs->addWidget(new QLabel(QStringLiteral("Vizsgált időszak:")), 0, 0);
    m_profitFrom = dateBox(QStringLiteral("profitFrom"), m_options.today);
    m_profitTo = dateBox(QStringLiteral("profitTo"), m_options.today);
    inputs->addWidget(m_profitFrom, 0, 1);
    inputs->addWidget(m_profitTo, 0, 2);
    m_byInvoices = choice(inputs, 1, QStringLiteral("Számlák alapján"), QStringLiteral("Szállítólevelek alapján"),
                          QStringLiteral("byInvoices"));
    inputs->setColumnStretch(3, 1);
    layout->addLayout(inputs);
    QTableView* view = gridView(QStringLiteral("profitGrid"));
    namespace P = profitlist;
    m_profitGrid = std::make_unique<widgets::RecordGrid>(
        view, m_profit,
        std::vector<GridColumn>{{"Biz.szám", P::szamlaszam, true},
                                {"Vevő neve", P::nev, true},
                                {"Cím", P::cim, true},
                                {"Besz.ár", P::beszar, true, ColumnKind::Money},
                                {"Elad.ár", P::eladar, true, ColumnKind::Money},
                                {"Haszon (Ft)", P::haszonft, true, ColumnKind::Money},
                                {"Haszon (%)", P::haszonsz, true, ColumnKind::Number}},
        m_prompt);
    sortOnClick(this, *m_profitGrid, m_profit, m_prompt);
    layout->addWidget(view, 1);
    auto* totals = new QGridLayout;
    const QString captions[] = {QStringLiteral("Beszerzés:"), QStringLiteral("Eladás:"), QStringLiteral("Haszon (Ft):"),
                                QStringLiteral("Haszon (%):")};
    QLabel** labels[] = {&m_cost, &m_sale, &m_gain, &m_percent};
    const char* names[] = {"profitCost", "profitSale", "profitGain", "profitPercent"};
    for (int i = 0; i < 4; ++i) {
        totals->addWidget(new QLabel(captions[i]), i / 2, (i % 2) * 2);
        *labels[i] = valueLabel(QString::fromLatin1(names[i]));
        totals->addWidget(*labels[i], i / 2, (i % 2) * 2 + 1);
    }
    layout->addLayout(totals);
    auto* buttons = new QHBoxLayout;
    connect(button(buttons, QStringLiteral("Kigyűjtés"), QStringLiteral("profitCollect")), &QPushButton::clicked, this,
            &FinancialStatisticsWindow::collectProfit);
    connect(button(buttons, QStringLiteral("Nyomtatás"), QStringLiteral("profitPrint")), &QPushButton::clicked, this,
            &FinancialStatisticsWindow::printProfit);
    connect(button(buttons, QStringLiteral("Bezár"), QStringLiteral("profitClose")), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(buttons);
    return tab;
}

QWidget* FinancialStatisticsWindow::stockTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* inputs = new QGridLayout;
    choice(inputs, 0, QStringLiteral("Csak pozitív mennyiségek"), QStringLiteral("Negatív mennyiségeket is"),
           QStringLiteral("positiveOnly"));
    inputs->setColumnStretch(3, 1);
    layout->addLayout(inputs);
    m_negativeToo = tab->findChild<QRadioButton*>(QStringLiteral("positiveOnlyOther"));
    QTableView* view = gridView(QStringLiteral("stockGrid"));
    namespace S = stocklist;
    m_stockGrid = std::make_unique<widgets::RecordGrid>(
        view, m_stock,
        std::vector<GridColumn>{{"Megnevezés", S::MEGNEVEZES},
                                {"Egység", S::EGYSEG},
                                {"Mennyiség", S::MENNYISEG, false, ColumnKind::Number},
                                {"Beszerzés", S::BESZERZAR, false, ColumnKind::Money},
                                {"Eladás 1", S::AR1, false, ColumnKind::Money},
                                {"Eladás 2", S::AR2, false, ColumnKind::Money},
                                {"Eladás 3", S::AR3, false, ColumnKind::Money},
                                {"Fix ár", S::FIXAR, false, ColumnKind::Money},
                                {"ÁFA kulcs", S::AFAKULCS, false, ColumnKind::Number}},
        m_prompt);
    layout->addWidget(view, 1);
    auto* totals = new QGridLayout;
    const QString heads[] = {QStringLiteral("Beszerzés:"), QStringLiteral("Elad.ár 1:"), QStringLiteral("Elad.ár 2:"),
                             QStringLiteral("Elad.ár 3:"), QStringLiteral("Fix ár:")};
    totals->addWidget(new QLabel(QStringLiteral("Nettó érték:")), 1, 0);
    totals->addWidget(new QLabel(QStringLiteral("Bruttó érték:")), 2, 0);
    for (int i = 0; i < 5; ++i) {
        totals->addWidget(new QLabel(heads[i]), 0, i + 1);
        for (int g = 0; g < 2; ++g) {
            m_stockTotals[g][i] = valueLabel(QStringLiteral("stock%1_%2").arg(g ? "Gross" : "Net").arg(i));
            totals->addWidget(m_stockTotals[g][i], g + 1, i + 1);
        }
    }
    layout->addLayout(totals);
    auto* buttons = new QHBoxLayout;
    connect(button(buttons, QStringLiteral("Kigyűjtés"), QStringLiteral("stockCollect")), &QPushButton::clicked, this,
            &FinancialStatisticsWindow::collectStock);
    connect(button(buttons, QStringLiteral("Nyomtatás"), QStringLiteral("stockPrint")), &QPushButton::clicked, this,
            &FinancialStatisticsWindow::printStock);
    connect(button(buttons, QStringLiteral("Bezár"), QStringLiteral("stockClose")), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(buttons);
    return tab;
}

QWidget* FinancialStatisticsWindow::monthTab() {
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* inputs = new QHBoxLayout;
    m_year = new QSpinBox;
    m_year->setObjectName(QStringLiteral("year"));
    m_year->setRange(1990, 2100);
    m_year->setValue(m_options.today.year());
    m_monthBox = new QComboBox;
    m_monthBox->setObjectName(QStringLiteral("month"));
    m_monthBox->addItems({QStringLiteral("Január"), QStringLiteral("Február"), QStringLiteral("Március"),
                          QStringLiteral("Április"), QStringLiteral("Május"), QStringLiteral("Június"),
                          QStringLiteral("Július"), QStringLiteral("Augusztus"), QStringLiteral("Szeptember"),
                          QStringLiteral("Október"), QStringLiteral("November"), QStringLiteral("December")});
    m_monthBox->setCurrentIndex(m_options.today.month() - 1);
    inputs->addWidget(m_year);
    inputs->addWidget(m_monthBox);
    inputs->addStretch(1);
    layout->addLayout(inputs);
    QTableView* view = gridView(QStringLiteral("monthGrid"));
    m_monthGrid = std::make_unique<widgets::RecordGrid>(
        view, m_month,
        std::vector<GridColumn>{{"Forgalom", month::MEGNEVEZES}, {"Ár (Ft)", month::ar, false, ColumnKind::Money}},
        m_prompt);
    view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(view, 1);
    auto* buttons = new QHBoxLayout;
    connect(button(buttons, QStringLiteral("Kigyűjtés"), QStringLiteral("monthCollect")), &QPushButton::clicked, this,
            &FinancialStatisticsWindow::collectMonth);
    connect(button(buttons, QStringLiteral("Bezár"), QStringLiteral("monthClose")), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(buttons);
    return tab;
}

void FinancialStatisticsWindow::collectTurnover() {
    collecting(true);
    runCommand(m_prompt, [&] {
        const auto [from, to] = turnoverPeriod(m_turnoverFrom->date(), m_turnoverTo->date(), m_options.today);
        m_turnoverPeriod[0] = from;
        m_turnoverPeriod[1] = to;
        m_turnoverSum =
            collectTurnoverList(m_options.dataFolder, from, to, m_cashOnly->isChecked(), m_turnover, progress());
        m_turnover.first();
        m_turnoverGrid->reload();
        m_turnoverGrid->view()->resizeColumnsToContents();
        m_turnoverTotal->setText(forintText(m_turnoverSum).trimmed());
    });
    collecting(false);
}

void FinancialStatisticsWindow::printTurnover() {
    runCommand(m_prompt, [&] {
        m_sheet = turnoverListSheet(m_turnover, m_turnoverSum);
        show(turnoverListReport(m_turnover, m_turnoverSum, m_turnoverPeriod[0], m_turnoverPeriod[1],
                                m_options.currentUser)
                 ->prepare());
    });
}

void FinancialStatisticsWindow::collectProfit() {
    collecting(true);
    runCommand(m_prompt, [&] {
        const auto [from, to] = profitPeriod(m_profitFrom->date(), m_profitTo->date());
        m_profitPeriod[0] = from;
        m_profitPeriod[1] = to;
        m_profitBasis = m_byInvoices->isChecked() ? ProfitBasis::Invoices : ProfitBasis::DeliveryNotes;
        m_profitTotals = collectProfitList(m_options.dataFolder, from, to, m_profitBasis, m_profit, progress());
        m_profit.first();
        m_profitGrid->reload();
        m_profitGrid->view()->resizeColumnsToContents();
        const bool shown = m_profitTotals.shown();
        m_cost->setText(shown ? forintText(m_profitTotals.costForints()).trimmed() : QString());
        m_sale->setText(shown ? forintText(m_profitTotals.saleForints()).trimmed() : QString());
        m_gain->setText(shown ? forintText(m_profitTotals.profitForints()).trimmed() : QString());
        m_percent->setText(shown ? numberText(m_profitTotals.percent()).trimmed() : QString());
    });
    collecting(false);
}

void FinancialStatisticsWindow::printProfit() {
    runCommand(m_prompt, [&] {
        m_sheet = profitListSheet(m_profit, m_profitTotals);
        show(profitListReport(m_profit, m_profitTotals, m_profitBasis, m_profitPeriod[0], m_profitPeriod[1],
                              m_options.currentUser)
                 ->prepare());
    });
}

void FinancialStatisticsWindow::collectStock() {
    collecting(true);
    runCommand(m_prompt, [&] {
        m_stockValue = collectStockValue(m_options.dataFolder, m_negativeToo->isChecked(), m_stock, progress());
        m_stock.first();
        m_stockGrid->reload();
        m_stockGrid->view()->resizeColumnsToContents();
        for (int i = 0; i < 5; ++i) {
            m_stockTotals[0][i]->setText(stockTotalText(m_stockValue.net[i]));
            m_stockTotals[1][i]->setText(stockTotalText(m_stockValue.gross[i]));
        }
    });
    collecting(false);
}

void FinancialStatisticsWindow::printStock() {
    runCommand(m_prompt, [&] {
        m_sheet = stockValueSheet(m_stock, m_stockValue);
        show(stockValueReport(m_stock, m_stockValue, m_options.currentUser)->prepare());
    });
}

void FinancialStatisticsWindow::collectMonth() {
    runCommand(m_prompt, [&] {
        const std::vector<MonthRow> rows =
            collectMonthlySummary(m_options.dataFolder, m_year->value(), m_monthBox->currentIndex() + 1);
        m_month.emptyTable();
        for (const MonthRow& row : rows) {
            m_month.append();
            m_month.setString(month::MEGNEVEZES, row.name);
            m_month.setFloat(month::ar, double(row.amount));
            m_month.post();
        }
        m_month.first();
        m_monthGrid->reload();
    });
}

}  // namespace kavina::reports
