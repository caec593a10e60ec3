// The turnover and profit windows over stored documents: the collection behind "Statisztika"
// and the printed statistic it shows.

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <filesystem>
#include <optional>

#include "SalesReportsFolder.h"
#include "common/ScriptedPrompt.h"
#include "foundation/SzamSzov.h"
#include "reports/turnover/ReportBands.h"
#include "reports/turnover/forms/TurnoverWindows.h"

namespace kavina::reports {
namespace {

class TurnoverWindowsTest : public SalesReportsFolder {
protected:
    ScriptedPrompt prompt;
    std::optional<report::PreparedReport> shown;
    int progressMaximum = -1;

    // Runs the statistic over the period as a clerk would: dates, then "Statisztika".
    std::unique_ptr<TurnoverWindow> run(TurnoverStatistic statistic, const QDate& from, const QDate& to = {}) {
        auto window = std::make_unique<TurnoverWindow>(
            statistic, prompt,
            TurnoverWindowOptions{
                .dataFolder = folder(),
                .today = QDate(2030, 1, 1),
                .printing = nullptr,
                .show = [this](const report::PreparedReport& pages, QWidget* owner) {
                    shown = pages;
                    auto* bar = owner->findChild<QProgressBar*>(QStringLiteral("progress"));
                    EXPECT_TRUE(bar->isVisibleTo(owner));
                    EXPECT_FALSE(owner->findChild<QPushButton*>(QStringLiteral("runButton"))->isVisibleTo(owner));
                    progressMaximum = bar->value() == bar->maximum() ? bar->maximum() : -1;
                }});
        EXPECT_EQ(window->fromBox()->date(), QDate(2030, 1, 1));
        window->fromBox()->setDate(from);
        if (window->toBox()) window->toBox()->setDate(to);
        window->findChild<QPushButton*>(QStringLiteral("runButton"))->click();
        return window;
    }

    QStringList texts(std::string_view band = {}) const {
        QStringList all;
        for (int page = 0; page < shown->pageCount(); ++page) all += shown->texts(page, band);
        return all;
    }
};

TEST_F(TurnoverWindowsTest, DailyTurnoverPrintsGroupsBreakdownAndTotalsThenCloses) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900, 25}});
    store(SalesMode::Invoice, kDay, kCash, {{"A2", 1, 1000, 900, 25}});
    store(SalesMode::Invoice, kDay.addDays(1), kCash, {{"A2", 1, 1000, 900, 25}});
    const auto window = run(TurnoverStatistic::DailyTurnover, kDay);

    EXPECT_EQ(window->windowTitle(), QStringLiteral("Napi forgalom kimutatás"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("header"))->text(), QStringLiteral("Napi forgalom kimutatás "));
    ASSERT_TRUE(shown);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(progressMaximum, 2);  // one step per header of the day
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_EQ(texts("Title"), (QStringList{"Napi forgalomkimutatás", "2008.03.10"}));
    const QStringList groups = texts("GroupHeader");
    EXPECT_EQ(groups.mid(0, 4), (QStringList{"Átutalásos számlák", "Bizonylat", "Vevő", "Összeg"}));
    EXPECT_EQ(groups.mid(4, 1), (QStringList{"Készpénzes számlák"}));
    const QStringList footers = texts("GroupFooter");
    EXPECT_EQ(footers.mid(0, 11), (QStringList{"Összesen: " + moneyText(12500), "ÁFABONTÁS", "Nettó ár", "ÁFA %",
                                               "ÁFA Ft", "Bruttóár", "10000", "25", "2500", "12500", "ÖSSZESÍTÉS"}));
    EXPECT_EQ(footers.mid(11, 3), (QStringList{"10000", "2500", "12500"}));
    EXPECT_EQ(footers[14], "Összesen: " + moneyText(1250));
    const QStringList details = texts("Detail");
    ASSERT_EQ(details.size(), 6);
    EXPECT_EQ(details[1], QStringLiteral("Mérleg Kft."));
    EXPECT_EQ(details[2], moneyText(12500));
    EXPECT_EQ(texts("Summary"), (QStringList{"Összesítés:", "Átutalásos számlák", moneyText(12500),
                                             "Készpénzes számlák", moneyText(1250), "Pénztárgépes értékesítések",
                                             moneyText(0), "Készpénzes forgalom összesen", moneyText(1250)}));
}

TEST_F(TurnoverWindowsTest, EveryVatRateOfAPaymentCodeIsPrintedAndSummed) {
    store(SalesMode::Invoice, kDay, kCash,
          {{"A1", 1, 100, 50, 27},
           {"A2", 1, 100, 50, 18},
           {"A3", 1, 100, 50, 5},
           {"A4", 1, 100, 50, 0},
           {"A5", 1, 100, 50, 12}});
    run(TurnoverStatistic::DailyTurnover, kDay);
    ASSERT_TRUE(shown);
    const QStringList footers = texts("GroupFooter");
    ASSERT_EQ(footers.size(), 14);
    EXPECT_EQ(footers[6], QStringLiteral("100\n100\n100\n100\n100"));
    EXPECT_EQ(footers[7], QStringLiteral("0\n5\n12\n18\n27"));
    EXPECT_EQ(footers[8], QStringLiteral("0\n5\n12\n18\n27"));
    // ÖSSZESÍTÉS over all five rates: net 500, VAT 62, gross 562.
    EXPECT_EQ(footers.mid(10), (QStringList{"ÖSSZESÍTÉS", "500", "62", "562"}));
}

TEST_F(TurnoverWindowsTest, DailyArticlesSumEachArticleAndTotalTheGrossValue) {
    store(SalesMode::Invoice, kDay, kCash, {{"A1", 2, 1000, 900, 27}});
    store(SalesMode::CashSale, kDay, kCash, {{"A1", 1, 1000, 900, 27}, {"A2", 1, 100, 50, 27}});
    const auto window = run(TurnoverStatistic::DailyArticles, kDay);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("header"))->text(),
              QStringLiteral("Napi forgalom kimutatás cikkszámra"));
    ASSERT_TRUE(shown);
    EXPECT_EQ(texts("ColumnHeader").mid(0, 5),
              (QStringList{"Cikkszám", "Megnevezés", "Mennyiség", "Egység", "Bruttó ár"}));
    EXPECT_EQ(texts("Detail"),
              (QStringList{"A1", "Áru A1", "3", "db", moneyText(3810), "A2", "Áru A2", "1", "db", moneyText(127)}));
    EXPECT_EQ(texts("Summary"), (QStringList{"Összesen:", moneyText(3937)}));
}

TEST_F(TurnoverWindowsTest, DailyProfitMeasuresTheMarginOnTheDocumentsNetTotals) {
    // Net 10 000 at 27 %, profit 1 000: 10 % of the net, not 1 000 ÷ (12 700 ÷ 1.2).
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900, 27}});
    store(SalesMode::Invoice, kDay, kOther, {{"A1", 10, 1000, 0, 27}});
    const auto window = run(TurnoverStatistic::DailyProfit, kDay);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Napi haszonszámítás"));
    ASSERT_TRUE(shown);
    EXPECT_EQ(texts("Title")[0], QStringLiteral("Napi forgalomkimutatás haszonszámítással"));
    EXPECT_EQ(texts("Summary"), (QStringList{"Összesítés:",
                                             "Bruttó össz.",
                                             "Nettó haszon",
                                             "Árrés (%)",
                                             "Átutalásos számlák",
                                             "12700",
                                             "1000",
                                             "10",
                                             "Készpénzes számlák",
                                             "0",
                                             "0",
                                             "0",
                                             "Pénztárgépes értékesítések",
                                             "0",
                                             "0",
                                             "0",
                                             "Forgalom összesen",
                                             "12700",
                                             "1000",
                                             "10"}));
}

TEST_F(TurnoverWindowsTest, ProfitPerDayListsEachDayAndTheOtherPaymentsOnlyInTheGrossTotal) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900, 27}});
    store(SalesMode::Invoice, kDay.addDays(2), kOther, {{"A1", 1, 1000, 500, 27}});
    store(SalesMode::CashSale, kDay.addDays(2), kCash, {{"A1", 1, 1000, 500, 27}});
    const auto window = run(TurnoverStatistic::ProfitPerDay, kDay, kDay.addDays(2));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Időszakos haszonszámítás"));
    ASSERT_TRUE(shown);
    EXPECT_EQ(progressMaximum, 3);
    EXPECT_EQ(texts("Title"), (QStringList{"Forgalom kimutatás haszon számítással", "2008.03.10-2008.03.12"}));
    EXPECT_EQ(texts("ColumnHeader"),
              (QStringList{"Dátum", "KP. bruttó", "PG. bruttó", "ÁT. bruttó", "Bruttó össz.", "Haszon", "Árrés (%)"}));
    EXPECT_EQ(texts("Detail"), (QStringList{"2008.03.10", "0", "0", "12700", "12700", "1000", "10", "2008.03.12", "0",
                                            "1270", "0", "2540", "1000", "50"}));
    EXPECT_EQ(texts("Summary"), (QStringList{"Összesen:", "0", "1270", "12700", "15240", "2000", "16,6667"}));
}

TEST_F(TurnoverWindowsTest, ProfitPerProductPrintsAveragesAndAnEmptyPeriodAveragesZero) {
    store(SalesMode::Invoice, kDay, kCash, {{"A1", 2, 1250, 1000, 27}});
    run(TurnoverStatistic::ProfitPerProduct, kDay, kDay);
    ASSERT_TRUE(shown);
    EXPECT_EQ(texts("Title")[0], QStringLiteral("Időszakos haszon, és átlag árrés számítás termékenként"));
    EXPECT_EQ(texts("Detail"), (QStringList{"A1", "Áru A1", "2", "db", "1000", "1250", "500", "20"}));
    EXPECT_EQ(texts("Summary"), (QStringList{"Összesen:", "500", "20"}));

    shown.reset();
    run(TurnoverStatistic::ProfitPerProduct, kDay.addDays(1), kDay.addDays(5));
    ASSERT_TRUE(shown);
    EXPECT_TRUE(texts("Detail").isEmpty());
    EXPECT_EQ(texts("Summary"), (QStringList{"Összesen:", "0", "0"}));
}

// The picture the printed statistic carries after its table, or nullptr.
const report::PageItem* chartPicture(const report::PreparedReport& pages) {
    const int last = pages.pageCount() - 1;
    const std::vector<const report::PlacedBand*> bands = pages.bands(last, "Chart");
    if (bands.size() != 1) return nullptr;
    const report::Page& page = pages.page(last);
    // It comes after every other band of the statistic.
    if (&page.bands.back() != bands[0]) return nullptr;
    return pages.item(page, *bands[0], "chart");
}

// Pixels of the picture that are neither white nor near it.
int inkedPixels(const QImage& image) {
    int inked = 0;
    const QImage small = image.scaled(200, 110);
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) inked += qGray(small.pixel(x, y)) < 200;
    return inked;
}

TEST_F(TurnoverWindowsTest, TheChartShowsTheCollectedDaysAndPrintsAfterTheTable) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900, 27}});
    store(SalesMode::CashSale, kDay.addDays(2), kCash, {{"A1", 1, 1000, 500, 27}});
    const auto window = run(TurnoverStatistic::ProfitPerDay, kDay, kDay.addDays(2));
    ASSERT_TRUE(shown);
    const BarChart& chart = window->chart();
    EXPECT_EQ(chart.categories, (QStringList{"03.10.", "11", "12"}));
    ASSERT_EQ(chart.series.size(), 2u);
    // The bars carry the printed gross and profit of each day.
    const QStringList details = texts("Detail");
    ASSERT_EQ(details.size(), 14);
    EXPECT_EQ(plainNumber(chart.series[0].values[0]), details[4]);
    EXPECT_EQ(plainNumber(chart.series[1].values[0]), details[5]);
    EXPECT_EQ(chart.series[0].values[1], 0);
    EXPECT_EQ(plainNumber(chart.series[0].values[2]), details[11]);
    EXPECT_EQ(plainNumber(chart.series[1].values[2]), details[12]);

    const report::PageItem* picture = chartPicture(*shown);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->kind, report::ElementKind::Picture);
    EXPECT_GT(picture->image.width(), 1000);
    EXPECT_GT(inkedPixels(picture->image), 200);
    EXPECT_GT(picture->rect.width(), 150);  // millimetres: as wide as the table

    // The workbook table is the printed one.
    const report::SheetTable& sheet = window->sheet();
    ASSERT_EQ(sheet.rows.size(), 2u);
    EXPECT_EQ(std::get<QString>(sheet.rows[0][0]), QStringLiteral("2008.03.10"));
    EXPECT_EQ(plainNumber(std::get<double>(sheet.rows[1][4])), details[11]);
    ASSERT_EQ(sheet.totals.size(), 1u);
    EXPECT_EQ(plainNumber(std::get<double>(sheet.totals[0][4])), texts("Summary")[4]);
}

TEST_F(TurnoverWindowsTest, TheSavedWorkbookHoldsThePrintedDocumentsAndTotals) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900, 25}});
    store(SalesMode::Invoice, kDay, kCash, {{"A2", 1, 1000, 900, 25}});
    store(SalesMode::CashSale, kDay, kCash, {{"A2", 2, 1000, 900, 27}});
    const auto window = run(TurnoverStatistic::DailyTurnover, kDay);
    ASSERT_TRUE(shown);
    const QString file = QString::fromStdString(dir.file("napi.xlsx"));
    report::writeSheetTable(window->sheet(), file);

    // Every row as "text|text|...", numbers as Python prints them.
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import sys, openpyxl\n"
                  "for r in openpyxl.load_workbook(sys.argv[1]).worksheets[0].iter_rows(values_only=True):\n"
                  "    print('|'.join('' if v is None else str(v) for v in r))",
                  file});
    ASSERT_TRUE(python.waitForFinished(30000));
    const QStringList rows = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(rows, (QStringList{"Fizetési mód|Bizonylat|Vevő|Összeg",
                                 "Átutalásos számlák|" + texts("Detail")[0] + "|Mérleg Kft.|12500",
                                 "Készpénzes számlák|" + texts("Detail")[3] + "|Mérleg Kft.|1250",
                                 "Pénztárgépes értékesítések|" + texts("Detail")[6] + "|Mérleg Kft.|2540",
                                 "Átutalásos számlák|||12500", "Készpénzes számlák|||1250",
                                 "Pénztárgépes értékesítések|||2540", "Készpénzes forgalom összesen|||3790"}));
    // The printed summary says the same.
    EXPECT_EQ(texts("Summary").mid(1), (QStringList{"Átutalásos számlák", moneyText(12500), "Készpénzes számlák",
                                                    moneyText(1250), "Pénztárgépes értékesítések", moneyText(2540),
                                                    "Készpénzes forgalom összesen", moneyText(3790)}));
}

TEST_F(TurnoverWindowsTest, EachStatisticPrintsItsChartAndAnEmptyDayPrintsTheText) {
    store(SalesMode::Invoice, kDay, kCash, {{"A1", 2, 1250, 1000, 27}});
    for (const TurnoverStatistic statistic :
         {TurnoverStatistic::DailyTurnover, TurnoverStatistic::DailyArticles, TurnoverStatistic::DailyProfit,
          TurnoverStatistic::ProfitPerDay, TurnoverStatistic::ProfitPerProduct}) {
        shown.reset();
        auto window = run(statistic, kDay, kDay);
        ASSERT_TRUE(shown);
        EXPECT_FALSE(window->chart().isEmpty()) << int(statistic);
        ASSERT_TRUE(chartPicture(*shown)) << int(statistic);
        const int withBars = inkedPixels(chartPicture(*shown)->image);

        shown.reset();
        window = run(statistic, kDay.addDays(1), kDay.addDays(1));
        ASSERT_TRUE(shown);
        EXPECT_TRUE(window->chart().isEmpty()) << int(statistic);
        const report::PageItem* empty = chartPicture(*shown);
        ASSERT_TRUE(empty) << int(statistic);
        // The text alone: some ink, far less than axes and bars.
        const int text = inkedPixels(empty->image);
        EXPECT_GT(text, 5) << int(statistic);
        EXPECT_LT(text * 2, withBars) << int(statistic);
    }
}

TEST_F(TurnoverWindowsTest, AFailedCollectionKeepsTheWindowOpenWithItsButtons) {
    // The folder's document table is gone: the clerk is told, and can try again or leave.
    std::filesystem::remove(std::filesystem::path(folder()) / "Szamla.dbf");
    TurnoverWindow window(TurnoverStatistic::DailyTurnover, prompt,
                          {.dataFolder = folder(),
                           .today = kDay,
                           .printing = nullptr,
                           .show = [this](const report::PreparedReport& pages, QWidget*) { shown = pages; }});
    window.findChild<QPushButton*>(QStringLiteral("runButton"))->click();
    EXPECT_FALSE(shown);
    EXPECT_NE(window.result(), QDialog::Accepted);
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption, QStringLiteral("Hiba"));
    EXPECT_TRUE(prompt.entries()[0].text.startsWith(
        QStringLiteral("A(z) Szamla.dbf tábla vagy egy hozzá tartozó fájl hiányzik")));
    EXPECT_FALSE(window.findChild<QProgressBar*>(QStringLiteral("progress"))->isVisibleTo(&window));
    EXPECT_TRUE(window.findChild<QPushButton*>(QStringLiteral("runButton"))->isVisibleTo(&window));
    EXPECT_TRUE(window.findChild<QPushButton*>(QStringLiteral("quitButton"))->isVisibleTo(&window));
}

}  // namespace
}  // namespace kavina::reports
