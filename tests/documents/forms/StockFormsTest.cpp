#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "documents/StockFolder.h"
#include "documents/stock/forms/TBevetelez.h"

namespace kavina::documents {
namespace {

class StockFormsTest : public StockFolder {
protected:
    const RecordCursor& product(const ProductRecord& p) {
        data.AnyagTable().refresh();
        EXPECT_TRUE(data.AnyagTable().gotoBookmark({p.recNo}));
        return data.AnyagTable();
    }
    static void activate(QWidget& w) {
        w.show();
        QApplication::setActiveWindow(&w);
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static bool shown(QDialog& dialog, const QString& caption) {
        for (QLabel* l : dialog.findChildren<QLabel*>())
            if (l->text() == caption) return l->isVisibleTo(&dialog);
        return false;
    }
    void picture(QWidget& w, const char* name) {
        w.show();
        QApplication::processEvents();
        if (const char* folder = std::getenv("KAVINA_SCREENSHOTS"))
            w.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
    }
};

TEST_F(StockFormsTest, ReceivingDerivesPricesAsTheClerkTypesAndLeaves) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4);
    TBevetelez dialog(nullptr, product(p), data.UserTable(), true, true, prompt);
    activate(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Bevételezés"));
    EXPECT_TRUE(dialog.box(StockBox::Quantity)->hasFocus());
    QLineEdit* purchase = dialog.box(StockBox::PurchaseNet);
    purchase->setFocus();
    purchase->selectAll();
    QTest::keyClicks(purchase, QStringLiteral("1000x"));  // the letter is refused by the box
    EXPECT_EQ(purchase->text(), QStringLiteral("1000"));
    dialog.box(StockBox::Quantity)->setFocus();
    EXPECT_EQ(dialog.box(StockBox::Level1Net)->text(), QStringLiteral("1250"));
    EXPECT_EQ(dialog.box(StockBox::FixedGross)->text(), QStringLiteral("1587,5"));
    dialog.box(StockBox::Quantity)->selectAll();
    QTest::keyClicks(dialog.box(StockBox::Quantity), QStringLiteral("2,5"));
    picture(dialog, "receiving");
    dialog.findChild<QPushButton*>(QStringLiteral("acceptPushButton"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.values());
    EXPECT_EQ(dialog.values()->quantity, 2.5);
    EXPECT_EQ(dialog.values()->multipliers, (std::array<double, 3>{25, 20, 10}));
}

TEST_F(StockFormsTest, WithOnePriceLevelTheLevelRowsHideAndTheQuantityMayBeLocked) {
    const ProductRecord p = addProduct(1, QStringLiteral("Fúrógép"), 4);
    TBevetelez dialog(nullptr, product(p), data.UserTable(), false, false, prompt);
    activate(dialog);
    EXPECT_FALSE(shown(dialog, QStringLiteral("Eladási ár 1:")));
    EXPECT_FALSE(shown(dialog, QStringLiteral("Fix eladási ár:")));
    EXPECT_TRUE(shown(dialog, QStringLiteral("Eladási ár:")));
    EXPECT_FALSE(dialog.box(StockBox::Quantity)->isEnabled());
    EXPECT_TRUE(dialog.box(StockBox::PurchaseNet)->hasFocus());
    TBevetelez several(nullptr, product(p), data.UserTable(), true, true, prompt);
    EXPECT_LT(dialog.sizeHint().height(), several.sizeHint().height());
}

TEST_F(StockFormsTest, IssueRefusesMoreThanTheStockAndKeepsTheFocus) {
    const ProductRecord p = addProduct(1, QStringLiteral("Szeg"), 2);
    TKivetelez dialog(nullptr, product(p), data.UserTable(), true, prompt);
    activate(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kivételezés"));
    EXPECT_TRUE(dialog.box(StockBox::PurchaseNet)->isReadOnly());
    EXPECT_EQ(dialog.box(StockBox::PurchaseGross), nullptr);
    QLineEdit* quantity = dialog.box(StockBox::Quantity);
    EXPECT_TRUE(quantity->hasFocus());
    quantity->selectAll();
    QTest::keyClicks(quantity, QStringLiteral("3"));
    picture(dialog, "issue");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(quantity->hasFocus());
    quantity->selectAll();
    QTest::keyClicks(quantity, QStringLiteral("2"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.quantity(), 2);
    EXPECT_EQ(
        prompt.transcript(),
        QStringList{"message|warning|Figyelem!|A kivételezett anyagmennyiség nem lehet több a jelenlegi készletnél!"});
}

}  // namespace
}  // namespace kavina::documents
