// The product and partner statistics, the text search and the product workbook as the clerk
// uses them: what each button collects, shows and prints.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <optional>

#include "StatisticsFolder.h"
#include "common/ScriptedPrompt.h"
#include "reports/export/forms/ProductWorkbookWindow.h"
#include "reports/partners/forms/PartnerStatisticsWindow.h"
#include "reports/products/forms/ProductStatisticsWindow.h"
#include "reports/search/forms/TextSearchWindow.h"
#include "widgets/FormParts.h"

namespace kavina::reports {
namespace {

class ProductPartnerWindowsTest : public StatisticsFolder {
protected:
    ScriptedPrompt prompt;
    std::optional<report::PreparedReport> shown;

    StatisticsWindowOptions options() {
        return {.dataFolder = folder(),
                .today = kSaleDay,
                .currentUser = QStringLiteral("Kovács Anna"),
                .printing = nullptr,
                .show = [this](const report::PreparedReport& pages, QWidget*) { shown = pages; }};
    }
    template <typename T>
    static T* child(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static int rows(QWidget* window, const char* grid) { return child<QTableView>(window, grid)->model()->rowCount(); }
    static QString cell(QWidget* window, const char* grid, int row, int column) {
        QAbstractItemModel* model = child<QTableView>(window, grid)->model();
        return model->data(model->index(row, column)).toString();
    }
    QStringList texts(std::string_view band = {}) const {
        QStringList all;
        for (int page = 0; page < shown->pageCount(); ++page) all += shown->texts(page, band);
        return all;
    }
};

TEST_F(ProductPartnerWindowsTest, ProductStatisticsCollectEachTabAndPrintIt) {
    store({.lines = {{"Fúrógép", 2, 1000}, {"Szerelés", 1, 5000, 27, true}, {"Csavar", 5, 10, 5}}});
    ProductStatisticsWindow window(prompt, options());
    auto* tabs = child<QTabWidget>(&window, "tabs");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Igénybevett szolgáltatások"));
    EXPECT_EQ(child<QSpinBox>(&window, "goodsRange")->value(), 10);
    EXPECT_EQ(child<QDateEdit>(&window, "goodsFrom")->date(), kSaleDay);

    child<QSpinBox>(&window, "goodsRange")->setValue(1);
    child<QPushButton>(&window, "goodsCollect")->click();
    ASSERT_EQ(rows(&window, "goodsGrid"), 1);
    EXPECT_EQ(cell(&window, "goodsGrid", 0, 1), QStringLiteral("Csavar"));
    child<QPushButton>(&window, "servicesCollect")->click();
    ASSERT_EQ(rows(&window, "servicesGrid"), 1);
    EXPECT_EQ(cell(&window, "servicesGrid", 0, 1), QStringLiteral("Szerelés"));

    child<QPushButton>(&window, "servicesPrint")->click();
    ASSERT_TRUE(shown);
    EXPECT_EQ(texts("Title"),
              (QStringList{" STATISZTIKA ", "Igénybe vett szolgáltatások", "Időszak: 2008.03.10-2008.03.10"}));
    EXPECT_EQ(texts("PageFooter"), (QStringList{"Kavina 1.0 verzió", "Kiállította: Kovács Anna"}));

    child<QPushButton>(&window, "articlesCollect")->click();
    EXPECT_EQ(child<QLineEdit>(&window, "firstArticle")->text(), QStringLiteral("00000"));
    EXPECT_EQ(child<QLineEdit>(&window, "lastArticle")->text(), QStringLiteral("99999"));
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(ProductPartnerWindowsTest, PartnerTabsStopWithoutAPartnerAndCollectForThePickedOne) {
    store({.lines = {{"Tégla", 2, 1000}}, .partner = 7, .name = QStringLiteral("Kőfaragó Bt.")});
    store({.lines = {{"Tégla", 1, 500}}, .partner = 8});
    std::vector<PartnerPage> asked;
    PartnerStatisticsWindow window(prompt, options(), [&](PartnerPage page) -> std::optional<ChosenPartner> {
        asked.push_back(page);
        return ChosenPartner{true,
                             7,
                             QStringLiteral("Kőfaragó Bt."),
                             {},
                             QStringLiteral("7621"),
                             QStringLiteral("Pécs"),
                             QStringLiteral("Fő utca 1.")};
    });
    EXPECT_EQ(window.objectName(), QStringLiteral("TPartnerStatForm"));

    child<QPushButton>(&window, "invoicesCollect")->click();
    EXPECT_EQ(prompt.transcript(), QStringList({"message|warning|Figyelem!|Válasszon partnert!"}));
    EXPECT_EQ(rows(&window, "invoicesGrid"), 0);

    // A click on the name box opens the picker for that tab.
    QLineEdit* name = child<QLineEdit>(&window, "invoicesPartnerName");
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
    QApplication::sendEvent(name, &release);
    EXPECT_EQ(asked, std::vector<PartnerPage>{PartnerPage::Invoices});
    EXPECT_EQ(name->text(), QStringLiteral("Kőfaragó Bt."));
    EXPECT_EQ(child<QLineEdit>(&window, "invoicesPartnerAddress")->text(), QStringLiteral("7621 Pécs Fő utca 1."));
    child<QPushButton>(&window, "invoicesCollect")->click();
    EXPECT_EQ(rows(&window, "invoicesGrid"), 1);
    EXPECT_EQ(child<QLabel>(&window, "invoicesTotal")->text(), QStringLiteral("2 000"));
    child<QPushButton>(&window, "invoicesPrint")->click();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(texts("Title").contains(QStringLiteral("Kőfaragó Bt. ")));
    EXPECT_EQ(texts("Summary"), QStringList({"Nettó érték összesen: 2 000 Ft"}));

    // The other tabs keep their own partner.
    child<QPushButton>(&window, "productsCollect")->click();
    EXPECT_EQ(prompt.entries().size(), 2u);

    child<QPushButton>(&window, "customersCollect")->click();
    EXPECT_EQ(rows(&window, "customersGrid"), 2);
}

TEST_F(ProductPartnerWindowsTest, TextSearchShowsTheHitsAndTheLinesOfTheCurrentHit) {
    const QString first = store({.lines = {{"Ütvefúró", 1, 1000}, {"Fúrószár", 3, 200}}});
    const QString second = store({.lines = {{"Fúrótokmány", 1, 900}}});
    store({.lines = {{"Kalapács", 1, 900}}});
    int results = 0;
    TextSearchWindow window(prompt, options(),
                            [&](TextSearchResult& result, const TextSearchRequest& request, QWidget*) {
                                ++results;
                                EXPECT_EQ(request.from, kSaleDay);
                                EXPECT_EQ(request.to, std::nullopt);
                                TextSearchResultWindow shownResult(result, request, prompt, options());
                                EXPECT_EQ(rows(&shownResult, "hitGrid"), 2);
                                EXPECT_EQ(cell(&shownResult, "hitGrid", 0, 0), first);
                                EXPECT_EQ(rows(&shownResult, "lineGrid"), 2);
                                result.hits().next();
                                QApplication::processEvents();
                                ASSERT_EQ(rows(&shownResult, "lineGrid"), 1);
                                EXPECT_EQ(cell(&shownResult, "lineGrid", 0, 1), QStringLiteral("Fúrótokmány"));
                                EXPECT_EQ(cell(&shownResult, "hitGrid", 1, 0), second);
                                child<QPushButton>(&shownResult, "print")->click();
                            });
    child<QDateEdit>(&window, "to")->setDate(widgets::kNoDate);
    child<QLineEdit>(&window, "text")->setText(QStringLiteral("FÚRÓ"));
    child<QCheckBox>(&window, "lineNames")->setChecked(true);
    child<QPushButton>(&window, "run")->click();
    EXPECT_EQ(results, 1);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(texts("Title").contains(QStringLiteral("Időszak: 2008.03.10-tól ")));
    EXPECT_EQ(shown->bands(0, "Hit").size(), 2u);
    // The lists are emptied when the result window closes.
    EXPECT_EQ(window.result().hits().recordCount(), 0u);
    EXPECT_TRUE(prompt.entries().empty());
}

class RecordingDesktop : public Desktop {
public:
    QStringList opened;
    bool openFile(const QString& path) override {
        opened << path;
        return true;
    }
};

TEST_F(ProductPartnerWindowsTest, WorkbookIsWrittenFromItsWindowOnlyWhenAFileWasChosen) {
    addProduct(1, QStringLiteral("Alma"), 3);
    RecordingDesktop desktop;
    const QString folderText = QString::fromStdString(folder());
    prompt.answerFile(std::nullopt);
    exportProductList(folder(), folderText, QDateTime(kSaleDay, QTime(8, 0)), prompt, desktop, nullptr);
    EXPECT_TRUE(desktop.opened.isEmpty());

    prompt.answerFile(folderText + QStringLiteral("/lista"));
    exportProductList(folder(), folderText, QDateTime(kSaleDay, QTime(8, 0)), prompt, desktop, nullptr);
    EXPECT_EQ(desktop.opened, QStringList({folderText + QStringLiteral("/lista.xlsx")}));
    EXPECT_TRUE(QFile::exists(folderText + QStringLiteral("/lista.xlsx")));
    EXPECT_EQ(prompt.entries().size(), 2u);
}

}  // namespace
}  // namespace kavina::reports
