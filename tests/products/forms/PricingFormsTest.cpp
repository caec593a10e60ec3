#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "products/ProductFolder.h"
#include "products/forms/FormHelpers.h"
#include "products/pricing/forms/TArazas.h"
#include "products/pricing/forms/Takciok.h"
#include "products/register/forms/TAnyagForm.h"

namespace kavina::products {
namespace {

using namespace testing_forms;

namespace A = fields::Anyag;
namespace K = fields::Akcio;

class PricingFormsTest : public ProductFolder, private PromotionWindows {
protected:
    std::deque<std::function<std::optional<PromotionValues>(const PromotionValues&)>> promotionEdits;

    void SetUp() override {
        ProductFolder::SetUp();
        addRow(43, QStringLiteral("Kalapács"), 5);
        select(QStringLiteral("Kalapács"));
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setFloat(A::FIXAR, 2000);
        p.setFloat(A::bfixar, 2540);
        p.post();
    }
    PromotionWindows& scriptedPromotions() { return *this; }
    std::optional<PromotionValues> editPromotion(const PromotionValues& start) override {
        if (promotionEdits.empty()) return std::nullopt;
        auto edit = promotionEdits.front();
        promotionEdits.pop_front();
        return edit(start);
    }

    // Types into the box with the keyboard and leaves it with Tab, as the clerk does.
    static void typeAndLeave(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    static QStringList labels(QWidget& w) {
        QStringList texts;
        for (QLabel* l : w.findChildren<QLabel*>())
            if (l->isVisibleTo(&w)) texts << l->text();
        return texts;
    }
};

TEST_F(PricingFormsTest, TheRepricingWindowFollowsTheKeyboardAndGivesThePricesOnAccept) {
    RepricingSettings s{true, true, {{30, 25, 10}, 2}};
    TArazas window(nullptr, data.AnyagTable(), s, data.UserTable(), prompt);
    activate(window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Átárazás"));
    QLineEdit* purchase = window.box(PriceBox::PurchaseNet);
    EXPECT_EQ(QApplication::focusWidget(), purchase);
    EXPECT_EQ(purchase->text(), QStringLiteral("0"));
    EXPECT_EQ(child<QLineEdit>(window, "stockLineEdit")->text(), QStringLiteral("5"));
    EXPECT_TRUE(labels(window).contains(QStringLiteral("( Szorzó: 30%)")));
    typeAndLeave(purchase, QStringLiteral("1000"));
    EXPECT_EQ(window.box(PriceBox::PurchaseGross)->text(), QStringLiteral("1270"));
    EXPECT_EQ(window.box(PriceBox::Level1Net)->text(), QStringLiteral("1300"));
    EXPECT_EQ(window.box(PriceBox::Level1Gross)->text(), QStringLiteral("1651"));
    EXPECT_EQ(window.box(PriceBox::FixedNet)->text(), QStringLiteral("2000")) << "a fixed price shown stays";
    // The focus is now in the gross purchase box; leaving it untouched changes nothing.
    EXPECT_EQ(QApplication::focusWidget(), window.box(PriceBox::PurchaseGross));
    QTest::keyClick(window.box(PriceBox::PurchaseGross), Qt::Key_Tab);
    EXPECT_EQ(purchase->text(), QStringLiteral("1000"));
    typeAndLeave(window.box(PriceBox::Level2Gross), QStringLiteral("1000"));
    EXPECT_EQ(window.box(PriceBox::Level2Net)->text(), QStringLiteral("787,4016"));
    picture(window, "TArazas");
    QTest::mouseClick(child<QPushButton>(window, "acceptPushButton"), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    ASSERT_TRUE(window.values());
    EXPECT_EQ(window.values()->price(PriceBox::Level2Gross), 1000);
    EXPECT_EQ(window.values()->price(PriceBox::Level2Net), 787.4016);
    EXPECT_EQ(window.values()->multipliers, (std::array<double, 3>{25, 20, 10})) << "the settings record's now";
}

TEST_F(PricingFormsTest, AcceptWithATextThatIsNoNumberIsRefusedAndTheProductStaysAsItWas) {
    TArazas window(nullptr, data.AnyagTable(), {}, data.UserTable(), prompt);
    activate(window);
    // The boxes take no letters from the keyboard; pasted text gets in. (Leaving the purchase
    // box would derive the levels over it: the clerk starts in the level box.)
    window.box(PriceBox::Level3Net)->setFocus();
    window.box(PriceBox::Level3Net)->setText(QStringLiteral("abc"));
    window.logic().typed(PriceBox::Level3Net, QStringLiteral("abc"));
    QTest::mouseClick(child<QPushButton>(window, "acceptPushButton"), Qt::LeftButton);
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window.box(PriceBox::Level3Net));
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|abc: érvénytelen szám!"});
    EXPECT_FALSE(data.AnyagTable().isEditing());
    EXPECT_EQ(data.AnyagTable().asFloat(A::FIXAR), 2000);
}

TEST_F(PricingFormsTest, WithOnePriceLevelTheWindowShowsTheSalePriceOnly) {
    RepricingSettings s;
    s.severalLevels = false;
    TArazas window(nullptr, data.AnyagTable(), s, data.UserTable(), prompt);
    window.show();
    EXPECT_FALSE(window.box(PriceBox::Level1Net)->isVisible());
    EXPECT_TRUE(window.box(PriceBox::FixedNet)->isVisible());
    EXPECT_TRUE(labels(window).contains(QStringLiteral("Eladási ár:")));
    EXPECT_FALSE(labels(window).contains(QStringLiteral("Fix eladási ár:")));
}

TEST_F(PricingFormsTest, ThePromotionsWindowListsAddsAndDeletes) {
    Takciok window(nullptr, data, prompt, data.AnyagTable(), QDate(2008, 3, 15), &scriptedPromotions());
    activate(window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Akciók"));
    QTableView* grid = child<QTableView>(window, "promotionGrid");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Mettől"));
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Bruttó ár"));
    std::optional<PromotionValues> proposed;
    promotionEdits.push_back([&](const PromotionValues& start) {
        proposed = start;
        return start;
    });
    QTest::mouseClick(child<QPushButton>(window, "newPushButton"), Qt::LeftButton);
    ASSERT_TRUE(proposed);
    EXPECT_EQ(*proposed, (PromotionValues{QDate(2008, 3, 15), QDate(2008, 3, 22), 2540}));
    QApplication::processEvents();
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), QStringLiteral("2008.03.15"));
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), QStringLiteral("2008.03.22"));
    EXPECT_EQ(grid->model()->index(0, 2).data().toString(), QStringLiteral("2540"));
    picture(window, "Takciok");
    prompt.answerYesNo(true);
    QTest::mouseClick(child<QPushButton>(window, "deletePushButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

TEST_F(PricingFormsTest, ThePromotionDialogShowsItsValuesAndRefusesAPriceThatIsNoNumber) {
    TAkcioszerk dialog(nullptr, prompt, {QDate(2008, 3, 1), QDate(2008, 3, 7), 990});
    activate(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Akció"));
    EXPECT_EQ(child<QDateEdit>(dialog, "fromDateEdit")->text(), QStringLiteral("2008.03.01"));
    EXPECT_EQ(child<QDateEdit>(dialog, "toDateEdit")->text(), QStringLiteral("2008.03.07"));
    QLineEdit* gross = child<QLineEdit>(dialog, "grossLineEdit");
    EXPECT_EQ(gross->text(), QStringLiteral("990"));
    picture(dialog, "TAkcioszerk");
    gross->setText(QStringLiteral("-"));
    QTest::mouseClick(child<QPushButton>(dialog, "acceptPushButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.values());
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|-: érvénytelen szám!"});
    gross->setText(QStringLiteral("950"));
    QTest::mouseClick(child<QPushButton>(dialog, "acceptPushButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog.values());
    EXPECT_EQ(*dialog.values(), (PromotionValues{QDate(2008, 3, 1), QDate(2008, 3, 7), 950}));
}

TEST_F(PricingFormsTest, TheRegisterOpensRepricingAndPromotionsWithTheRightV) {
    AnyagFormOptions o;
    o.window = options();
    o.desktop = &desktop;
    o.windows = &dialogs;
    TAnyagForm form(nullptr, data, prompt, o);
    activate(form);
    QPushButton* reprice = child<QPushButton>(form, "repricePushButton");
    QPushButton* promotions = child<QPushButton>(form, "promotionsPushButton");
    EXPECT_TRUE(reprice->isEnabled());
    EXPECT_TRUE(promotions->isEnabled());
    QTest::keyClick(child<QTableView>(form, "productGrid"), Qt::Key_F6);
    QTest::qWait(250);
    QTest::mouseClick(promotions, Qt::LeftButton);
    EXPECT_EQ(dialogs.calls, (QStringList{"reprice:Kalapács", "promotions:43:2008-03-15"}));
}

}  // namespace
}  // namespace kavina::products
