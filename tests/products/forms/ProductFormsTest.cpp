#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "products/ProductFolder.h"
#include "products/forms/FormHelpers.h"
#include "products/register/forms/ProductSearchDialog.h"
#include "products/register/forms/TAnyagForm.h"
#include "products/register/forms/TAnyagSzerk.h"

namespace kavina::products {
namespace {

using namespace testing_forms;

namespace A = fields::Anyag;

class ProductFormsTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    ScriptedPrompt prompt;
    ScriptedProductWindows dialogs;
    RecordingDesktop desktop;
    IniSettings settings;
    int warehouse = 0;

    void SetUp() override {
        createDataFolder(dir.path(), {.demo = true});
        data.open(dir.path());
    }
    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    AnyagFormOptions options(const QString& rights = QStringLiteral("TUVW")) {
        AnyagFormOptions o;
        o.window = {.settings = &settings,
                    .rights = rights,
                    .currentUser = QStringLiteral("Rendszergazda"),
                    .now = [] { return QDateTime(QDate(2008, 3, 15), QTime(9, 0), Qt::UTC); },
                    .rememberedWarehouse = &warehouse,
                    .goodsReceiptInProgress = {}};
        o.desktop = &desktop;
        o.windows = &dialogs;
        return o;
    }
    // A key of a button: the button clicks itself a moment later, as a pressed button shows.
    static void pressKey(QWidget* to, Qt::Key key) {
        QTest::keyClick(to, key);
        QTest::qWait(250);
    }
    // Types the text letter by letter, as the keyboard would (accented letters included).
    static void type(QWidget* into, const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Press, into, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, into, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // The name in the highlighted row of the grid.
    static QString highlighted(QTableView* grid) {
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        if (rows.size() != 1) return QStringLiteral("<%1 rows>").arg(rows.size());
        return grid->model()->index(rows[0].row(), 0).data().toString();
    }
};

TEST_F(ProductFormsTest, SearchThenModifyAndDeleteActOnTheHighlightedProduct) {
    TAnyagForm form(nullptr, data, prompt, options());
    activate(form);
    QTableView* grid = child<QTableView>(form, "productGrid");
    QLineEdit* search = child<QLineEdit>(form, "searchLineEdit");
    // The clerk clicks another product first, then searches.
    grid->selectRow(3);
    const QString clicked = highlighted(grid);
    EXPECT_EQ(data.AnyagTable().asString(A::MEGNEVEZES), clicked);
    search->setFocus();
    type(search, QStringLiteral("szil"));
    EXPECT_EQ(highlighted(grid), QStringLiteral("Szilikon tömítő, átlátszó"));
    EXPECT_EQ(data.AnyagTable().asString(A::MEGNEVEZES), QStringLiteral("Szilikon tömítő, átlátszó"));

    dialogs.edits.push_back([](ProductFields f) {
        f.statNumber = QStringLiteral("3214");
        return f;
    });
    pressKey(grid, Qt::Key_F2);
    ASSERT_EQ(dialogs.starts.size(), 1u);
    EXPECT_EQ(dialogs.starts[0].name, QStringLiteral("Szilikon tömítő, átlátszó"));
    EXPECT_EQ(highlighted(grid), QStringLiteral("Szilikon tömítő, átlátszó"));

    search->selectAll();
    type(search, QStringLiteral("ütv"));
    EXPECT_EQ(highlighted(grid), QStringLiteral("Ütvefúrógép 750 W"));
    prompt.answerYesNo(true);
    pressKey(grid, Qt::Key_F8);
    TableHandle& products = data.AnyagTable();
    products.setFiltered(false);
    ASSERT_TRUE(products.locate({{A::MEGNEVEZES, QStringLiteral("Ütvefúrógép 750 W")}}));
    EXPECT_EQ(products.asString(A::KATEGORIA), QStringLiteral("Lomtár"));
    ASSERT_TRUE(products.locate({{A::MEGNEVEZES, QStringLiteral("Szilikon tömítő, átlátszó")}}));
    EXPECT_EQ(products.asString(A::ITJSZAM), QStringLiteral("3214"));
    ASSERT_TRUE(products.locate({{A::MEGNEVEZES, clicked}}));
    EXPECT_NE(products.asString(A::KATEGORIA), QStringLiteral("Lomtár"));
}

TEST_F(ProductFormsTest, TheRegisterShowsItsTabsBoxesAndColumnsByTheSettings) {
    TAnyagForm form(nullptr, data, prompt, options(QStringLiteral("T")));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Terméktörzs"));
    QTabBar* tabs = child<QTabBar>(form, "productTabBar");
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(4), QStringLiteral("Lomtár"));
    QComboBox* warehouses = child<QComboBox>(form, "warehouseComboBox");
    EXPECT_EQ(warehouses->itemText(0), QStringLiteral("minden"));
    EXPECT_EQ(warehouses->count(), 4);
    QTableView* grid = child<QTableView>(form, "productGrid");
    QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Fix.ár"));
    EXPECT_FALSE(grid->isColumnHidden(5));
    EXPECT_TRUE(grid->isColumnHidden(9));
    // Without U and W the buttons are there but do nothing.
    EXPECT_FALSE(child<QPushButton>(form, "newPushButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(form, "deletePushButton")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(form, "repricePushButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(form, "receivePushButton")->isEnabled());
    pressKey(grid, Qt::Key_F5);
    EXPECT_TRUE(dialogs.calls.isEmpty());
    tabs->setCurrentIndex(int(ProductTab::Services));
    EXPECT_TRUE(grid->isColumnHidden(12));
    EXPECT_EQ(child<QPushButton>(form, "newPushButton")->text(), QStringLiteral("Új"));
    EXPECT_FALSE(child<QPushButton>(form, "receivePushButton")->isEnabled());
    EXPECT_EQ(model->rowCount(), 4);
    picture(form, "register-services");

    settings.tobbar = 0;
    settings.tsorrend = 2;
    TAnyagForm single(nullptr, data, prompt, options());
    QTableView* singleGrid = child<QTableView>(single, "productGrid");
    EXPECT_EQ(singleGrid->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Eladási ár"));
    EXPECT_EQ(singleGrid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Vonalkód ▲"));
    EXPECT_TRUE(singleGrid->isColumnHidden(5));
    EXPECT_FALSE(singleGrid->isColumnHidden(9));
}

TEST_F(ProductFormsTest, APrintableKeyInTheListMovesIntoTheSearch) {
    TAnyagForm form(nullptr, data, prompt, options());
    form.show();
    QTableView* grid = child<QTableView>(form, "productGrid");
    grid->setFocus();
    type(grid, QStringLiteral("é"));
    EXPECT_EQ(child<QLineEdit>(form, "searchLineEdit")->text(), QStringLiteral("é"));

    // A capital typed with Shift is not lost: the search starts with it.
    grid->setFocus();
    QTest::sendKeyEvent(QTest::Press, grid, Qt::Key_K, QStringLiteral("K"), Qt::ShiftModifier);
    QTest::sendKeyEvent(QTest::Release, grid, Qt::Key_K, QStringLiteral("K"), Qt::ShiftModifier);
    EXPECT_EQ(child<QLineEdit>(form, "searchLineEdit")->text(), QStringLiteral("K"));
}

TEST_F(ProductFormsTest, ThePicturePaneShowsTheProductsPicture) {
    TAnyagForm form(nullptr, data, prompt, options());
    form.show();
    QLineEdit* search = child<QLineEdit>(form, "searchLineEdit");
    type(search, QStringLiteral("Kalap"));
    QLabel* pane = child<QLabel>(form, "pictureLabel");
    EXPECT_FALSE(pane->pixmap().isNull());
    picture(form, "register-all");
    QTest::mouseClick(pane, Qt::LeftButton);
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_TRUE(desktop.opened[0].endsWith(QStringLiteral("/kepek/kalapacs.png")));
    search->selectAll();
    type(search, QStringLiteral("Gereb"));
    EXPECT_TRUE(pane->pixmap().isNull());
}

TEST_F(ProductFormsTest, TheProductDialogLoadsItsListsAndChecksOnLeaving) {
    ProductDialog logic(data, prompt, settings, false);
    ProductFields start;
    start.name = QStringLiteral("Fogó");
    start.vatGroup = logic.defaultVatGroup();
    start.warehouse = logic.warehouses().value(0);
    TAnyagSzerk dialog(nullptr, logic, prompt, QStringLiteral("Új termék felvétele"), start);
    activate(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Új termék felvétele"));
    QComboBox* vat = child<QComboBox>(dialog, "vatComboBox");
    EXPECT_EQ(vat->currentText(), QStringLiteral("27%"));
    EXPECT_EQ(child<QComboBox>(dialog, "warehouseComboBox")->count(), 3);
    // An unknown VAT group is refused when the box is left.
    vat->lineEdit()->setFocus();
    vat->lineEdit()->selectAll();
    type(vat->lineEdit(), QStringLiteral("20"));
    child<QLineEdit>(dialog, "nameLineEdit")->setFocus();
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].text,
              QStringLiteral("20: ez az ÁFA-kulcs nincs a programban.\n\rVálasszon a listából!"));
    vat->setCurrentIndex(1);
    child<QLineEdit>(dialog, "minimumLineEdit")->setText(QStringLiteral("2,5"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.fields().minimum, 2.5);
    EXPECT_EQ(dialog.fields().vatGroup, QStringLiteral("18%"));
    picture(dialog, "product-dialog");
}

TEST_F(ProductFormsTest, TheSearchDialogNeedsATextAndSaysWhichButton) {
    ProductSearchDialog dialog(nullptr, QString(), SearchIn::Category);
    QPushButton* search = child<QPushButton>(dialog, "searchPushButton");
    EXPECT_FALSE(search->isEnabled());
    child<QLineEdit>(dialog, "textLineEdit")->setText(QStringLiteral("kert"));
    EXPECT_TRUE(search->isEnabled());
    child<QPushButton>(dialog, "nextPushButton")->click();
    EXPECT_EQ(dialog.choice(), ProductSearchDialog::Choice::Next);
    EXPECT_EQ(dialog.where(), SearchIn::Category);
    EXPECT_EQ(dialog.text(), QStringLiteral("kert"));
}

}  // namespace
}  // namespace kavina::products
