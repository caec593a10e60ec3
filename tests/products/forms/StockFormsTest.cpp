#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "products/ProductFolder.h"
#include "products/barcodes/forms/BarcodeBookWindow.h"
#include "products/forms/FormHelpers.h"
#include "products/lists/forms/CategoriesWindow.h"
#include "products/lists/forms/ListWindows.h"
#include "products/register/ProductDialog.h"
#include "products/register/forms/TAnyagSzerk.h"
#include "products/warehouses/forms/WarehousesWindow.h"

namespace kavina::products {
namespace {

using namespace testing_forms;
namespace A = fields::Anyag;

class StockFormsTest : public ProductFolder, public WarehouseWindows, public BarcodeWindows {
protected:
    std::optional<Warehouse> warehouseAnswer;
    QStringList calls;

    std::optional<Warehouse> editWarehouse(const Warehouse& start) override {
        calls << "warehouse:" + start.name;
        return warehouseAnswer;
    }
    bool pickProduct() override {
        calls << QStringLiteral("pick");
        return false;
    }
    std::optional<BarcodeLabel> editLabel(const BarcodeLabel& start) override {
        calls << "label:" + start.name;
        return std::nullopt;
    }
    static QStringList buttons(QWidget& w) {
        QStringList texts;
        for (QPushButton* b : w.findChildren<QPushButton*>()) texts << b->text();
        return texts;
    }
    static QStringList headers(QTableView* grid) {
        QStringList texts;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            texts << grid->model()->headerData(c, Qt::Horizontal).toString();
        return texts;
    }
};

TEST_F(StockFormsTest, TheWarehouseWindowListsAndItsButtonsReachTheRules) {
    WarehousesWindow window(nullptr, data, prompt, this);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Raktárak"));
    QTableView* grid = child<QTableView>(window, "warehouseGrid");
    EXPECT_EQ(headers(grid), (QStringList{"Azonosító", "Megnevezés", "Cím"}));
    EXPECT_EQ(buttons(window), (QStringList{"Hozzáadás", "Módosítá&s", "&Törlés", "&Kilépés"}));
    warehouseAnswer = Warehouse{QStringLiteral("B1"), QStringLiteral("Bolt"), QStringLiteral("Piac tér 2.")};
    child<QPushButton>(window, "newPushButton")->click();
    QApplication::processEvents();
    EXPECT_EQ(grid->model()->rowCount(), 2);
    child<QPushButton>(window, "modifyPushButton")->click();
    EXPECT_EQ(calls.size(), 2);
    picture(window, "WarehousesWindow");

    WarehouseDialog dialog(nullptr, {QStringLiteral("K1"), QStringLiteral("Main store"), QString()});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Szerkesztés"));
    EXPECT_EQ(buttons(dialog), (QStringList{"&Elfogad", "&Mégsem"}));
    child<QLineEdit>(dialog, "addressLineEdit")->setText(QStringLiteral("Fő utca 1."));
    EXPECT_EQ(dialog.warehouse(), (Warehouse{QStringLiteral("K1"), QStringLiteral("Main store"), "Fő utca 1."}));
}

TEST_F(StockFormsTest, TheBarcodeBooksKeysAndDoubleClicksReachTheRules) {
    TableHandle& labels = data.vonalkodTable();
    labels.append();
    labels.setString(fields::Vonalkod::megnevezes, QStringLiteral("Szeg"));
    labels.post();
    BarcodeBookWindow window(nullptr, data, prompt, {.picker = {.desktop = &desktop}, .windows = this});
    activate(window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vonalkód-könyv"));
    EXPECT_EQ(child<QLabel>(window, "headerLabel")->text(), QStringLiteral("Vonalkód-könyv szerkesztése"));
    EXPECT_EQ(buttons(window),
              (QStringList{"Új tétel [F5]", "Módosít [F2]", "Töröl [F8]", "Nyomtatás", "Képnéző", "&Kilépés"}));
    EXPECT_FALSE(child<QPushButton>(window, "printPushButton")->isEnabled()) << "no printer given";
    QTableView* grid = child<QTableView>(window, "labelGrid");
    QApplication::processEvents();
    ASSERT_EQ(grid->model()->rowCount(), 1);
    QTest::keyClick(&window, Qt::Key_F5);
    QTest::keyClick(&window, Qt::Key_F2);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 0)).center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(10, grid->viewport()->height() - 5));
    EXPECT_EQ(calls, (QStringList{"pick", "label:Szeg", "label:Szeg", "pick"})) << calls.join(",").toStdString();
    prompt.answerYesNo(false);
    QTest::keyClick(&window, Qt::Key_F8);
    EXPECT_EQ(prompt.transcript(), QStringList{"yes/no|question|Figyelem !|" + kLabelDeleteQuestion});
    picture(window, "BarcodeBookWindow");
}

TEST_F(StockFormsTest, TheCategoryBoxOpensTheCategoriesWindowAndTakesTheChoice) {
    CategoriesWindow window(nullptr, data, prompt);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Termék kategóriák"));
    EXPECT_EQ(headers(child<QTableView>(window, "categoryGrid")), QStringList{"Kategóriák"});
    EXPECT_EQ(buttons(window), (QStringList{"Új kategória", "Módosítá&s", "&Törlés", "&Kilépés"}));
    prompt.answerText(QStringLiteral("Festék"));
    child<QPushButton>(window, "newPushButton")->click();
    EXPECT_EQ(prompt.transcript(), QStringList{"text|none|Szerkesztés|Kategória :"});

    ProductDialog logic(data, prompt, settings, false);
    TAnyagSzerk dialog(nullptr, logic, prompt, QStringLiteral("Termék módosítása"), goods(QStringLiteral("Szeg")),
                       &dialogs);
    dialog.show();
    QComboBox* category = child<QComboBox>(dialog, "categoryComboBox");
    dialogs.categoryChosen = QStringLiteral("Festék");
    QTest::mouseDClick(category->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(dialogs.calls, QStringList{"categories"});
    EXPECT_EQ(category->currentText(), QStringLiteral("Festék"));
    EXPECT_GE(category->findText(QStringLiteral("Festék")), 0);
}

TEST_F(StockFormsTest, ThePriceListDialogPresetsTheFixedPriceAndReleasesTheProductsWhenItCloses) {
    addRow(1, QStringLiteral("Szeg"), 1);
    {
        PriceListDialog dialog(nullptr, data, prompt, nullptr, QStringLiteral("Kovács Anna"));
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Árlista nyomtatása"));
        EXPECT_EQ(dialog.group(), PriceListGroup::Fixed);
        EXPECT_EQ(dialog.copies(), 1);
        EXPECT_TRUE(data.AnyagTable().filtered());
        child<QRadioButton>(dialog, "groupRadioButton2")->click();
        EXPECT_EQ(dialog.group(), PriceListGroup::Level2);
        EXPECT_EQ(buttons(dialog), (QStringList{"&Nyomtatás", "Nyomtatási ké&p", "&Kilépés"}));
        picture(dialog, "PriceListDialog");
    }
    EXPECT_FALSE(data.AnyagTable().filtered());
    EXPECT_EQ(data.AnyagTable().order(), "MEGNEVEZES");
}

TEST_F(StockFormsTest, TheHistoryWindowColoursReceiptsGreenAndTheRestRed) {
    const std::vector<HistoryRow> rows{
        {"BEV2008/00001", "Szállító Kft.", "Cím", QDate(2008, 3, 1), 10, "db", "Kovács Anna", true},
        {"SZA2008/00002", "Vevő Bt.", "Cím", QDate(2008, 3, 2), 2.5, "db", "Kovács Anna", false}};
    ProductHistoryWindow window(nullptr, QStringLiteral("Szeg"), rows);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Termék történetiség"));
    QTableWidget* table = child<QTableWidget>(window, "historyTable");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(6)->text(), QStringLiteral("Ügyintéző"));
    EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("2008.03.01"));
    EXPECT_EQ(table->item(1, 4)->text(), QStringLiteral("2,5"));
    EXPECT_EQ(table->item(0, 0)->foreground().color(), QColor(0, 128, 0));
    EXPECT_EQ(table->item(1, 0)->foreground().color(), QColor(Qt::red));
    picture(window, "ProductHistoryWindow");
}

}  // namespace
}  // namespace kavina::products
