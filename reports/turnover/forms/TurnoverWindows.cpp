#include "reports/turnover/forms/TurnoverWindows.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "report/view/PreviewWindow.h"
#include "reports/turnover/TurnoverReports.h"
#include "reports/turnover/TurnoverSheets.h"
#include "reports/turnover/forms/TurnoverChartView.h"

namespace kavina::reports {

namespace {

struct Caption {
    QString window;
    QString header;
    bool period;
};

Caption captionOf(TurnoverStatistic statistic) {
    switch (statistic) {
        case TurnoverStatistic::DailyTurnover:
            return {QStringLiteral("Napi forgalom kimutatás"), QStringLiteral("Napi forgalom kimutatás "), false};
        case TurnoverStatistic::DailyArticles:
            return {QStringLiteral("Napi forgalom kimutatás"), QStringLiteral("Napi forgalom kimutatás cikkszámra"),
                    false};
        case TurnoverStatistic::DailyProfit:
            return {QStringLiteral("Napi haszonszámítás"), QStringLiteral("Napi haszonszámítás"), false};
        case TurnoverStatistic::ProfitPerDay:
        case TurnoverStatistic::ProfitPerProduct: break;
    }
    return {QStringLiteral("Időszakos haszonszámítás"), QStringLiteral("Időszakos haszonszámítás"), true};
}

QDateEdit* dateBox(const char* objectName, const QDate& date) {
    auto* box = new QDateEdit(date);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    box->setCalendarPopup(true);
    return box;
}

// The chart after the statistic's table, as wide as the page. The chart is laid out wider
// when it has many bars, so that the labels under them keep their room, and then scaled into
// the page.
void addChartBand(report::Layout& layout, const BarChart& chart) {
    constexpr double kShape = 0.55;  // height to width
    const double width = layout.bandWidth();
    const double height = width * kShape;
    qsizetype longest = 0;
    for (const QString& label : chart.categories) longest = std::max(longest, label.size());
    const int pixels = std::max(800, int(chart.categories.size() * (3 * longest + 10)) + 200);
    report::Band& band = layout.addBand(report::BandKind::Summary, "Chart", height + 6);
    band.addPicture("chart", QRectF(0, 6, width, height),
                    chartPicture(chart, QSize(pixels, int(pixels * kShape)), 2000.0 / pixels),
                    Qt::AlignHCenter | Qt::AlignTop);
}

}  // namespace

TurnoverWindow::TurnoverWindow(TurnoverStatistic statistic, Prompt& prompt, TurnoverWindowOptions options,
                               QWidget* parent)
    : QDialog(parent), m_statistic(statistic), m_prompt(prompt), m_options(std::move(options)) {
    const Caption caption = captionOf(statistic);
    setWindowTitle(caption.window);
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(caption.header);
    header->setObjectName(QStringLiteral("header"));
    QFont big = header->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    header->setFont(big);
    layout->addWidget(header);

    auto* dates = new QGridLayout;
    dates->addWidget(new QLabel(QStringLiteral("Kimutatás dátuma:")), 0, 0);
    m_from = dateBox("fromBox", m_options.today);
    dates->addWidget(m_from, 0, 1);
    if (caption.period) {
        dates->addWidget(new QLabel(QStringLiteral("-tól")), 0, 2);
        m_to = dateBox("toBox", m_options.today);
        dates->addWidget(m_to, 1, 1);
        dates->addWidget(new QLabel(QStringLiteral("-ig")), 1, 2);
    }
    layout->addLayout(dates);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setVisible(false);
    layout->addWidget(m_progress);

    auto* buttons = new QHBoxLayout;
    m_run = new QPushButton(QStringLiteral("Statisztika"));
    m_run->setObjectName(QStringLiteral("runButton"));
    m_run->setDefault(true);
    m_quit = new QPushButton(QStringLiteral("Kilépés"));
    m_quit->setObjectName(QStringLiteral("quitButton"));
    buttons->addWidget(m_run);
    buttons->addWidget(m_quit);
    layout->addLayout(buttons);
    connect(m_run, &QPushButton::clicked, this, &TurnoverWindow::runStatistics);
    connect(m_quit, &QPushButton::clicked, this, &QDialog::reject);

    if (!m_options.show)
        m_options.show = [this](const report::PreparedReport& pages, QWidget* owner) {
            if (!m_options.printing) return;
            report::PreviewWindow preview(pages, m_prompt, *m_options.printing,
                                          {.pdfFileName = QStringLiteral("statisztika.pdf"),
                                           .sheet = [this] { return m_sheet; },
                                           .sheetFileName = QStringLiteral("statisztika.xlsx"),
                                           .beside = chartWidget(m_chart)},
                                          owner);
            preview.exec();
        };
}

void TurnoverWindow::showProgress(int done, int total) {
    m_progress->setMaximum(std::max(total, 1));
    m_progress->setValue(done);
    m_progress->repaint();
}

report::PreparedReport TurnoverWindow::collect() {
    const QDate from = m_from->date();
    const QDate to = m_to ? m_to->date() : from;
    const Progress progress = [this](int done, int total) { showProgress(done, total); };
    const std::string& folder = m_options.dataFolder;
    // The totals a layout prints are read while it is prepared: they live until then.
    std::unique_ptr<report::Layout> layout;
    DailyTurnoverTotals dailyTotals;
    double articlesTotal = 0;
    DailyProfit dailyProfit;
    ProfitPerDayTotals perDay;
    ProfitPerProductTotals perProduct;
    switch (m_statistic) {
        case TurnoverStatistic::DailyTurnover:
            dailyTotals = collectDailyTurnover(folder, from, m_documents, m_vat, progress);
            layout = dailyTurnoverReport(m_documents, m_vat, dailyTotals, from);
            m_chart = dailyTurnoverChart(dailyTotals, from);
            m_sheet = dailyTurnoverSheet(m_documents, dailyTotals);
            break;
        case TurnoverStatistic::DailyArticles:
            articlesTotal = collectDailyArticles(folder, from, m_rows, progress);
            layout = dailyArticlesReport(m_rows, articlesTotal, from);
            m_chart = dailyArticlesChart(m_rows, from);
            m_sheet = dailyArticlesSheet(m_rows, articlesTotal);
            break;
        case TurnoverStatistic::DailyProfit:
            dailyProfit = collectDailyProfit(folder, from, progress);
            layout = dailyProfitReport(dailyProfit, from);
            m_chart = dailyProfitChart(dailyProfit, from);
            m_sheet = dailyProfitSheet(dailyProfit);
            break;
        case TurnoverStatistic::ProfitPerDay:
            perDay = collectProfitPerDay(folder, from, to, m_rows, progress);
            layout = profitPerDayReport(m_rows, perDay, from, to);
            m_chart = profitPerDayChart(m_rows, from, to);
            m_sheet = profitPerDaySheet(m_rows, perDay);
            break;
        case TurnoverStatistic::ProfitPerProduct:
            perProduct = collectProfitPerProduct(folder, from, to, m_rows, progress);
            layout = profitPerProductReport(m_rows, perProduct, from, to);
            m_chart = profitPerProductChart(m_rows, from, to);
            m_sheet = profitPerProductSheet(m_rows, perProduct);
            break;
    }
    addChartBand(*layout, m_chart);
    return layout->prepare();
}

void TurnoverWindow::runStatistics() {
    m_run->setVisible(false);
    m_quit->setVisible(false);
    m_progress->setValue(0);
    m_progress->setVisible(true);
    const bool done = runCommand(m_prompt, [&] {
        const report::PreparedReport pages = collect();
        m_options.show(pages, this);
    });
    m_progress->setVisible(false);
    m_run->setVisible(true);
    m_quit->setVisible(true);
    if (done) accept();
}

}  // namespace kavina::reports
