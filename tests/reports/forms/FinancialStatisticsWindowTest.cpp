// "Pénzügyi statisztika" over stored documents: each tab's list, its totals and its print.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <optional>

#include "SalesReportsFolder.h"
#include "common/ScriptedPrompt.h"
#include "foundation/SzamSzov.h"
#include "reports/finance/forms/FinancialStatisticsWindow.h"

namespace kavina::reports {
namespace {

namespace A = fields::Anyag;

class FinancialStatisticsWindowTest : public SalesReportsFolder {
protected:
    ScriptedPrompt prompt;
    std::optional<report::PreparedReport> shown;
    std::unique_ptr<FinancialStatisticsWindow> window;

    void open() {
        window = std::make_unique<FinancialStatisticsWindow>(
            prompt, FinancialStatisticsOptions{
                        .dataFolder = folder(),
                        .today = kDay,
                        .currentUser = QStringLiteral("Kovács Anna"),
                        .printing = nullptr,
                        .show = [this](const report::PreparedReport& pages, QWidget*) { shown = pages; }});
    }
    template <typename T>
    T* child(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    QString label(const char* name) { return child<QLabel>(name)->text(); }
    int gridRows(const char* name) { return child<QTableView>(name)->model()->rowCount(); }
    QString cell(const char* name, int row, int column) {
        QAbstractItemModel* model = child<QTableView>(name)->model();
        return model->data(model->index(row, column)).toString();
    }
    QStringList texts(std::string_view band = {}) const {
        QStringList all;
        for (int page = 0; page < shown->pageCount(); ++page) all += shown->texts(page, band);
        return all;
    }
    void setPosted(const QString& number, const Field& field, double value) {
        TableHandle h(dir.path(), std::string(H::kTable));
        h.open();
        h.setOrder(H::SZAMLASZAM);
        ASSERT_TRUE(h.findKey(number.toStdString()));
        h.edit();
        h.setFloat(field, value);
        h.post();
    }
};

TEST_F(FinancialStatisticsWindowTest, OpeningListsTodaysCashDocumentsAndEveryInvoiceOnRequest) {
    store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 1, 1000, 900}});  // 1 270
    store(SalesMode::Invoice, kDay, kCash, {{"A2", 1, 1000, 900, 0}});   // 1 000
    store(SalesMode::Invoice, kDay.addDays(1), kCash, {{"A2", 1, 1000, 900, 0}});
    open();
    const auto* tabs = child<QTabWidget>("tabs");
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Forgalom kimutatás"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("Időszaki forgalmi statisztika"));
    EXPECT_EQ(gridRows("turnoverGrid"), 1);
    EXPECT_EQ(label("turnoverTotal"), QStringLiteral("1 000 Ft"));

    child<QRadioButton>("cashOnlyOther")->setChecked(true);
    click("turnoverCollect");
    EXPECT_EQ(gridRows("turnoverGrid"), 2);
    EXPECT_EQ(cell("turnoverGrid", 0, 1), QStringLiteral("Mérleg Kft."));
    EXPECT_EQ(cell("turnoverGrid", 0, 3), QStringLiteral("2008.03.10"));
    EXPECT_EQ(label("turnoverTotal"), QStringLiteral("2 270 Ft"));
    // A click on a column title sorts the list by it.
    EXPECT_EQ(cell("turnoverGrid", 0, 4), QStringLiteral("1 270,00"));
    child<QTableView>("turnoverGrid")->horizontalHeader()->sectionClicked(4);
    EXPECT_EQ(cell("turnoverGrid", 0, 4), QStringLiteral("1 000,00"));
    EXPECT_EQ(cell("turnoverGrid", 1, 4), QStringLiteral("1 270,00"));

    click("turnoverPrint");
    ASSERT_TRUE(shown);
    EXPECT_EQ(texts("Title"), (QStringList{" STATISZTIKA ", "Forgalom kimutatás", "Időszak: 2008.03.10 - 2008.03.10"}));
    EXPECT_EQ(texts("ColumnHeader"),
              (QStringList{"Számlaszám", "Név", "Cím", "Készült", "Teljesítés", "Bruttó összeg", "Fiz.mód"}));
    EXPECT_TRUE(texts("Detail").contains(QStringLiteral("1 270")));
    EXPECT_EQ(texts("Summary"), (QStringList{"Bruttó forgalom összesen: 2 270 Ft", "azaz " + SzamSzov(2270) + " Ft"}));
    EXPECT_EQ(texts("PageFooter"), (QStringList{"Kavina 1.0 verzió", "Kiállította: Kovács Anna"}));
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(FinancialStatisticsWindowTest, ProfitDeductsTheAgentsCommissionAndPrintsThePercentages) {
    // Net 10 000 at today's purchase price 600 × 10, commission 1 000: sale 9 000, profit 3 000.
    const QString number = store(SalesMode::Invoice, kDay, kTransfer, {{"A1", 10, 1000, 900}});
    setPosted(number, H::POSSZEG, 1000);
    {
        TableHandle& p = data.AnyagTable();
        ASSERT_TRUE(p.locate({{A::ANYAGKOD, QStringLiteral("1")}}));
        p.edit();
        p.setFloat(A::BESZERZAR, 600);
        p.post();
    }
    open();
    click("profitCollect");
    EXPECT_EQ(gridRows("profitGrid"), 1);
    EXPECT_EQ(label("profitCost"), QStringLiteral("6 000 Ft"));
    EXPECT_EQ(label("profitSale"), QStringLiteral("9 000 Ft"));
    EXPECT_EQ(label("profitGain"), QStringLiteral("3 000 Ft"));
    EXPECT_EQ(label("profitPercent"), QStringLiteral("33,33"));

    click("profitPrint");
    ASSERT_TRUE(shown);
    EXPECT_EQ(texts("Title")[1], QStringLiteral("Haszon számítás (számlák)"));
    EXPECT_EQ(texts("Detail").last(), moneyText(3000).trimmed() + QStringLiteral(" (33,33%)"));
    EXPECT_EQ(texts("Summary"), (QStringList{"Beszerzés:", "6 000 Ft", "Eladás:", "9 000 Ft",
                                             "Haszon (Ft):", "3 000 Ft", "Haszon (%):", "(33,33%)"}));
    EXPECT_EQ(texts("PageFooter")[1], QStringLiteral("Készítette: Kovács Anna"));
    // The workbook of "Mentés Excelbe" carries the printed figures as numbers.
    const report::SheetTable& sheet = window->sheet();
    ASSERT_EQ(sheet.rows.size(), 1u);
    EXPECT_EQ(sheet.rows[0][5], report::SheetValue(3000.0));
    EXPECT_EQ(sheet.rows[0][6], report::SheetValue(33.33));
    ASSERT_EQ(sheet.totals.size(), 1u);
    EXPECT_EQ(sheet.totals[0], (report::SheetRow{QStringLiteral("Összesen:"), {}, {}, 6000.0, 9000.0, 3000.0, 33.33}));

    // Without a sale the totals show nothing at all, on the window and on paper.
    child<QRadioButton>("byInvoicesOther")->setChecked(true);
    click("profitCollect");
    EXPECT_EQ(gridRows("profitGrid"), 0);
    EXPECT_EQ(label("profitSale"), QString());
    EXPECT_EQ(label("profitPercent"), QString());
    click("profitPrint");
    EXPECT_EQ(texts("Title")[1], QStringLiteral("Haszon számítás (szállítók)"));
    EXPECT_TRUE(texts("Summary").isEmpty());
    EXPECT_TRUE(window->sheet().rows.empty());
    EXPECT_TRUE(window->sheet().totals.empty());
}

TEST_F(FinancialStatisticsWindowTest, StockValueListsNegativeStockOnlyWhenAsked) {
    // Every product out of stock but one, sold below zero.
    TableHandle& products = data.AnyagTable();
    for (products.first(); !products.eof(); products.next()) {
        products.edit();
        products.setFloat(A::MENNYISEG, products.asInteger(A::ANYAGKOD) == 1 ? -4 : 0);
        products.setFloat(A::BESZERZAR, 250);
        products.post();
    }
    open();
    click("stockCollect");
    EXPECT_EQ(gridRows("stockGrid"), 0);
    EXPECT_EQ(label("stockNet_0"), stockTotalText(0));

    child<QRadioButton>("positiveOnlyOther")->setChecked(true);
    click("stockCollect");
    ASSERT_EQ(gridRows("stockGrid"), 1);
    EXPECT_EQ(label("stockNet_0"), moneyText(-1000).trimmed());
    click("stockPrint");
    ASSERT_TRUE(shown);
    EXPECT_EQ(texts("Title"), (QStringList{" STATISZTIKA ", "Készleten lévő áruk értéke"}));
    const QStringList summary = texts("Summary");
    ASSERT_EQ(summary.size(), 12);
    EXPECT_EQ(summary[0], QStringLiteral("Nettó értékek:"));
    EXPECT_EQ(summary[1], label("stockNet_0"));
    EXPECT_EQ(summary[6], QStringLiteral("Bruttó értékek:"));
    EXPECT_EQ(summary[7], label("stockGross_0"));
    const report::SheetTable& sheet = window->sheet();
    ASSERT_EQ(sheet.rows.size(), 1u);
    EXPECT_EQ(sheet.rows[0][2], report::SheetValue(-4.0));
    EXPECT_EQ(sheet.rows[0][4], report::SheetValue(-1000.0));
    ASSERT_EQ(sheet.totals.size(), 2u);
    EXPECT_EQ(sheet.totals[0][4], report::SheetValue(-1000.0));
}

TEST_F(FinancialStatisticsWindowTest, MonthlySummaryStartsAtTodaysMonthAndListsEveryType) {
    store(SalesMode::Invoice, kDay, kCash, {{"A1", 2, 1000, 900}});
    store(SalesMode::CashSale, kDay, kCash, {{"A1", 1, 500, 400}});
    store(SalesMode::Invoice, kDay.addMonths(1), kCash, {{"A1", 1, 1000, 900}});
    open();
    EXPECT_EQ(child<QSpinBox>("year")->value(), 2008);
    EXPECT_EQ(child<QComboBox>("month")->currentText(), QStringLiteral("Március"));
    click("monthCollect");
    ASSERT_EQ(gridRows("monthGrid"), 6);
    const QString names[] = {"Bevételezés", "Visszáru", "Selejt", "Pénztárgépes értékesítés", "Számla", "Haszon"};
    for (int row = 0; row < 6; ++row) EXPECT_EQ(cell("monthGrid", row, 0), names[row]);
    EXPECT_EQ(cell("monthGrid", 3, 1), QStringLiteral("500,00"));
    EXPECT_EQ(cell("monthGrid", 4, 1), QStringLiteral("2 000,00"));
    EXPECT_EQ(cell("monthGrid", 5, 1), QStringLiteral("2 500,00"));
}

}  // namespace
}  // namespace kavina::reports
