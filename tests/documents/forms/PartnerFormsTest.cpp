#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "documents/ScriptedPartnerWindows.h"
#include "documents/partners/PartnerRegister.h"
#include "documents/partners/forms/LookupWindows.h"
#include "documents/partners/forms/PartnerCommands.h"
#include "documents/partners/forms/TPartnerForm.h"
#include "documents/partners/forms/TPartnerSzerk.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"

namespace kavina::documents {
namespace {

class PartnerFormsTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    ScriptedPrompt prompt;

    void SetUp() override {
        createDataFolder(dir.path(), {.demo = true});
        data.open(dir.path());
    }
    template <typename T>
    T* child(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Kept for a look at the windows: KAVINA_SCREENSHOTS names a folder for the pictures.
    void picture(QWidget& w, const char* name) {
        w.show();
        QApplication::processEvents();
        const QPixmap shot = w.grab();
        EXPECT_GT(shot.width(), 300);
        if (const char* folder = std::getenv("KAVINA_SCREENSHOTS"))
            shot.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
    }
};

TEST_F(PartnerFormsTest, TheRegisterShowsTabsAndListAndHidesThePickersButton) {
    TPartnerForm form(nullptr, data, prompt, {});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Partnertörzs"));
    QTabBar* tabs = child<QTabBar>(form, "groupTabBar");
    ASSERT_GE(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Minden"));
    QTableView* grid = child<QTableView>(form, "partnerGrid");
    EXPECT_EQ(grid->model()->rowCount(), int(data.PartnerTable().recordCount()));
    EXPECT_FALSE(child<QPushButton>(form, "acceptPushButton")->isVisibleTo(&form));
    EXPECT_FALSE(child<QPushButton>(form, "printPushButton")->isEnabled());  // no printers given
    picture(form, "partner-register");

    // A letter typed in the list moves into the quick search box.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ő"));
    QApplication::sendEvent(grid, &release);
    EXPECT_EQ(child<QLineEdit>(form, "quickSearchLineEdit")->text(), QStringLiteral("ő"));
}

TEST_F(PartnerFormsTest, ThePickerShowsElfogadAndOpensOnTheCustomersTab) {
    TPartnerForm picker(nullptr, data, prompt, {.caller = PartnerCaller::Invoice});
    EXPECT_TRUE(child<QPushButton>(picker, "acceptPushButton")->isVisibleTo(&picker));
    QTabBar* tabs = child<QTabBar>(picker, "groupTabBar");
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), QStringLiteral("Vevő"));
}

TEST_F(PartnerFormsTest, ThePartnerDialogCompletesAddressesAndHonoursOnePriceLevel) {
    ScriptedPartnerWindows windows;
    PartnerWindow logic(data, prompt, windows, PartnerCaller::None);
    TPartnerSzerk dialog(nullptr, data, logic, false, true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Új partner"));
    EXPECT_FALSE(child<QComboBox>(dialog, "priceGroupComboBox")->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.fields().priceGroup, 4);
    EXPECT_EQ(dialog.fields().paymentMethod, QStringLiteral("Készpénz"));
    EXPECT_EQ(dialog.fields().transferDays, 8);
    TableHandle& towns = data.TelepTable();
    towns.first();
    const QString postcode = towns.asString(fields::Telep::IRSZAM), town = towns.asString(fields::Telep::TELEPULES);
    QLineEdit* billingPostcode = child<QLineEdit>(dialog, "billingPostcodeLineEdit");
    billingPostcode->setText(postcode);
    emit billingPostcode->editingFinished();
    EXPECT_EQ(child<QLineEdit>(dialog, "billingTownLineEdit")->text(), town);
    child<QLineEdit>(dialog, "billingStreetLineEdit")->setText(QStringLiteral("Fő tér 1."));
    child<QPushButton>(dialog, "copyAddressPushButton")->click();
    EXPECT_EQ(dialog.fields().mailTown, town);
    EXPECT_EQ(dialog.fields().mailStreet, QStringLiteral("Fő tér 1."));
    for (int page = 0; page < 3; ++page) {
        child<QTabWidget>(dialog, "pagesTabWidget")->setCurrentIndex(page);
        picture(dialog, ("partner-dialog-" + std::to_string(page)).c_str());
    }
}

TEST_F(PartnerFormsTest, TheLookupWindowsListTheirTables) {
    Tpcsopform groups(nullptr, data, prompt);
    EXPECT_EQ(groups.windowTitle(), QStringLiteral("Partner csoportok"));
    EXPECT_EQ(child<QTableView>(groups, "groupGrid")->model()->rowCount(), int(data.PcsopTable().recordCount()));
    picture(groups, "partner-groups");
    Ttelepulesform towns(nullptr, data, prompt);
    EXPECT_EQ(child<QTableView>(towns, "settlementGrid")->model()->rowCount(), int(data.TelepTable().recordCount()));
    picture(towns, "settlements");
}

}  // namespace
}  // namespace kavina::documents

namespace kavina::documents {
namespace {

TEST(PartnerCommandsTest, TheMainWindowsThreePartnerEntriesGetTheirCommands) {
    testing_support::TestFolder dir;
    createDataFolder(dir.path());
    TDataModule1 data;
    data.open(dir.path());
    ScriptedPrompt prompt;
    QStringList handlers;
    addPartnerCommands([&](const QString& handler, std::function<void()>) { handlers << handler; },
                       {.data = data,
                        .prompt = prompt,
                        .parent = [] { return static_cast<QWidget*>(nullptr); },
                        .currentUser = [] { return QString(); },
                        .showPriceGroups = [] { return true; },
                        .printing = [] { return static_cast<report::PrintService*>(nullptr); },
                        .webAddress = QString()});
    EXPECT_EQ(handlers, (QStringList{QStringLiteral("Partnerek"), QStringLiteral("mPartnerKategoriaClick"),
                                     QStringLiteral("TBItem5Click")}));
}

}  // namespace
}  // namespace kavina::documents
