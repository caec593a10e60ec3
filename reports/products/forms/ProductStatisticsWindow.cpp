#include "reports/products/forms/ProductStatisticsWindow.h"

#include <QDateEdit>
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
#include "reports/finance/FinancialStatistics.h"
#include "reports/products/ProductReports.h"
#include "reports/turnover/ReportBands.h"
#include "widgets/RecordGrid.h"

namespace kavina::reports {

using widgets::ColumnKind;
using widgets::GridColumn;

ProductStatisticsWindow::ProductStatisticsWindow(Prompt& prompt, StatisticsWindowOptions options, QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_options(std::move(options)) {
    setObjectName(QStringLiteral("TTermekStatForm"));
    setWindowTitle(QStringLiteral("Termék statisztika"));
    resize(1000, 640);
    // The lists have their fields before the first collection, so the grids have columns.
    const QDate none = m_options.today.addDays(1);
    collectSold(m_options.dataFolder, none, m_options.today, SoldKind::Goods, 0, m_goods);
    collectSold(m_options.dataFolder, none, m_options.today, SoldKind::Services, 0, m_services);
    collectByArticle(m_options.dataFolder, none, m_options.today, {}, {}, m_articles);

    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->addTab(soldTab(SoldKind::Goods), QStringLiteral("Eladott termékek"));
    m_tabs->addTab(soldTab(SoldKind::Services), QStringLiteral("Igénybevett szolgáltatások"));
    m_tabs->addTab(articleTab(), QStringLiteral("Cikkszám szerint"));
    layout->addWidget(m_tabs, 1);
    m_progress = processingBar(&m_progressRow);
    layout->addWidget(m_progressRow);
    if (!m_options.show)
        m_options.show = [this](const report::PreparedReport& pages, QWidget* owner) {
            previewStatistics(pages, m_prompt, m_options.printing, owner);
        };
}

ProductStatisticsWindow::~ProductStatisticsWindow() {
    dropFocus(this);
}

void ProductStatisticsWindow::collecting(bool on) {
    m_progress->setValue(0);
    m_progressRow->setVisible(on);
    m_tabs->setEnabled(!on);
}

QWidget* ProductStatisticsWindow::soldTab(SoldKind kind) {
    const bool goods = kind == SoldKind::Goods;
    SoldTab& tab = tabOf(kind);
    tab.parts = statisticsTab(goods ? QStringLiteral("goods") : QStringLiteral("services"), m_options.today, this);
    tab.parts.inputs->addWidget(new QLabel(QStringLiteral("Tartomány:")), 1, 0);
    tab.period[0] = tab.period[1] = m_options.today;
    tab.range = new QSpinBox;
    tab.range->setObjectName(goods ? QStringLiteral("goodsRange") : QStringLiteral("servicesRange"));
    tab.range->setRange(0, 99999);
    tab.range->setValue(10);
    auto* range = new QHBoxLayout;
    range->addWidget(tab.range);
    range->addStretch(1);
    tab.parts.inputs->addLayout(range, 1, 1);
    namespace S = soldlist;
    tab.grid = std::make_unique<widgets::RecordGrid>(
        tab.parts.view, rowsOf(kind),
        std::vector<GridColumn>{{"Cikkszám", S::CIKKSZAM},
                                {goods ? "Termék" : "Szolgáltatás", S::NEV},
                                {"Forgalom", S::FORGALOM, false, ColumnKind::Number},
                                {"Egys.", S::EGYSEG},
                                {"Egységár (átlag)", S::EGYSEGAR, false, ColumnKind::Money},
                                {"Áfakulcs", S::AFA, false, ColumnKind::Number},
                                {"Bruttó ár (átlag)", S::BRUTTOOSSZ, false, ColumnKind::Money},
                                {"Bruttó ár", S::BRUTTO, false, ColumnKind::Money}},
        m_prompt);
    fitColumns(tab.parts.view, 1);
    connect(tab.parts.collect, &QPushButton::clicked, this, [this, kind] { collectSoldOf(kind); });
    connect(tab.parts.print, &QPushButton::clicked, this, [this, kind] { printSoldOf(kind); });
    return tab.parts.widget;
}

QWidget* ProductStatisticsWindow::articleTab() {
    m_articleTab = statisticsTab(QStringLiteral("articles"), m_options.today, this);
    m_articlePeriod[0] = m_articlePeriod[1] = m_options.today;
    m_articleTab.inputs->addWidget(new QLabel(QStringLiteral("Cikkszám:")), 1, 0);
    m_firstArticle = new QLineEdit;
    m_firstArticle->setObjectName(QStringLiteral("firstArticle"));
    m_lastArticle = new QLineEdit;
    m_lastArticle->setObjectName(QStringLiteral("lastArticle"));
    auto* range = new QHBoxLayout;
    range->addWidget(m_firstArticle);
    range->addWidget(new QLabel(QStringLiteral("-tól")));
    range->addWidget(m_lastArticle);
    range->addWidget(new QLabel(QStringLiteral("-ig")));
    range->addStretch(1);
    m_articleTab.inputs->addLayout(range, 1, 1);
    namespace R = articlelist;
    m_articleGrid = std::make_unique<widgets::RecordGrid>(
        m_articleTab.view, m_articles,
        std::vector<GridColumn>{{"Cikkszám", R::CIKKSZAM},
                                {"Termék neve", R::NEV},
                                {"Jelenlegi készlet", R::KESZLET, false, ColumnKind::Number},
                                {"Egység", R::EGYSEG},
                                {"Eladott mennyiség", R::FORGALOM, false, ColumnKind::Number},
                                {"Nettó beszerzési ár", R::NBESZ, false, ColumnKind::Money},
                                {"Nettó eladási ár", R::NELAD, false, ColumnKind::Money},
                                {"Árrés", R::ARRES, false, ColumnKind::Money}},
        m_prompt);
    fitColumns(m_articleTab.view, 1);
    m_articleTab.totals->addWidget(new QLabel(QStringLiteral("Árrés összesen:")));
    m_marginTotal = totalLabel(QStringLiteral("marginTotal"));
    m_articleTab.totals->addWidget(m_marginTotal);
    connect(m_articleTab.collect, &QPushButton::clicked, this, &ProductStatisticsWindow::collectArticles);
    connect(m_articleTab.print, &QPushButton::clicked, this, &ProductStatisticsWindow::printArticles);
    return m_articleTab.widget;
}

void ProductStatisticsWindow::collectSoldOf(SoldKind kind) {
    SoldTab& tab = tabOf(kind);
    collecting(true);
    runCommand(m_prompt, [&] {
        const auto [from, to] = turnoverPeriod(tab.parts.from->date(), tab.parts.to->date(), m_options.today);
        tab.period[0] = from;
        tab.period[1] = to;
        collectSold(m_options.dataFolder, from, to, kind, tab.range->value(), rowsOf(kind), progressOn(m_progress));
        tab.grid->reload();
        fitColumns(tab.parts.view, 1);
    });
    collecting(false);
}

void ProductStatisticsWindow::printSoldOf(SoldKind kind) {
    SoldTab& tab = tabOf(kind);
    runCommand(m_prompt, [&] {
        m_options.show(soldReport(rowsOf(kind), kind, tab.period[0], tab.period[1], m_options.currentUser)->prepare(),
                       this);
    });
}

void ProductStatisticsWindow::collectArticles() {
    collecting(true);
    runCommand(m_prompt, [&] {
        const auto [from, to] = turnoverPeriod(m_articleTab.from->date(), m_articleTab.to->date(), m_options.today);
        m_articlePeriod[0] = from;
        m_articlePeriod[1] = to;
        const auto [first, last] = articleRange(m_firstArticle->text(), m_lastArticle->text());
        m_firstArticle->setText(first);
        m_lastArticle->setText(last);
        m_margin = collectByArticle(m_options.dataFolder, from, to, first, last, m_articles, progressOn(m_progress));
        m_articleGrid->reload();
        fitColumns(m_articleTab.view, 1);
        m_marginTotal->setText(plainNumber(m_margin));
    });
    collecting(false);
}

void ProductStatisticsWindow::printArticles() {
    runCommand(m_prompt, [&] {
        m_options.show(
            byArticleReport(m_articles, m_margin, m_articlePeriod[0], m_articlePeriod[1], m_options.currentUser)
                ->prepare(),
            this);
    });
}

}  // namespace kavina::reports
