#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "products/ProductFolder.h"
#include "products/forms/FormHelpers.h"
#include "products/register/forms/ProductCommands.h"
#include "products/register/forms/TAnyagSzerk.h"
#include "products/units/forms/UnitsWindow.h"
#include "products/vat/forms/VatGroupsWindow.h"

namespace kavina::products {
namespace {

using namespace testing_forms;

class VatUnitFormsTest : public ProductFolder {
protected:
    static QStringList column(QTableView* grid, int c) {
        QStringList texts;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            texts << grid->model()->index(row, c).data().toString().trimmed();
        return texts;
    }
    static QStringList buttons(QWidget& w) {
        QStringList texts;
        for (QPushButton* b : w.findChildren<QPushButton*>()) texts << b->text();
        return texts;
    }
};

TEST_F(VatUnitFormsTest, TheVatGroupsWindowListsTheGroupsByRate) {
    VatGroupsWindow window(nullptr, data, prompt);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ÁFA csoportok"));
    QTableView* grid = child<QTableView>(window, "vatGroupGrid");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Megnevezés"));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Százalék"));
    EXPECT_EQ(column(grid, 0), (QStringList{"27%", "18%", "5%", "FAD"}));
    EXPECT_EQ(column(grid, 1), (QStringList{"27", "18", "5", "0"}));
    EXPECT_EQ(buttons(window), (QStringList{"Új csoport", "Módosítá&s", "&Törlés", "&Kilépés"}));
    picture(window, "VatGroupsWindow");
}

TEST_F(VatUnitFormsTest, TheVatGroupDialogShowsTheGroupAndRefusesARateThatIsNoNumber) {
    VatGroupDialog dialog(nullptr, prompt, {QStringLiteral("27%"), 27});
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Szerkesztés"));
    EXPECT_EQ(buttons(dialog), (QStringList{"&Elfogad", "&Mégsem"}));
    QLineEdit* rate = child<QLineEdit>(dialog, "rateLineEdit");
    EXPECT_EQ(rate->text(), QStringLiteral("27"));
    picture(dialog, "VatGroupDialog");
    rate->setText(QStringLiteral("2,7,"));
    dialog.accept();
    EXPECT_FALSE(dialog.group());
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|2,7,: érvénytelen szám!"});
    rate->setText(QStringLiteral("18"));
    child<QLineEdit>(dialog, "nameLineEdit")->setText(QStringLiteral("Kedvezményes"));
    dialog.accept();
    EXPECT_EQ(dialog.group(), (VatGroup{QStringLiteral("Kedvezményes"), 18}));
}

TEST_F(VatUnitFormsTest, TheUnitsWindowAddsAUnitAtOnce) {
    UnitsWindow window(nullptr, data, prompt);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Mértékegységek"));
    QTableView* grid = child<QTableView>(window, "unitGrid");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Mértékegységek"));
    EXPECT_EQ(buttons(window), (QStringList{"Új m.egység", "Módosítá&s", "&Törlés", "&Kilépés"}));
    prompt.answerText(QStringLiteral("rekesz"));
    QTest::mouseClick(child<QPushButton>(window, "newPushButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(column(grid, 0).contains(QStringLiteral("rekesz")));
    picture(window, "UnitsWindow");
}

TEST_F(VatUnitFormsTest, ADoubleClickOnTheUnitOrVatBoxOpensItsWindowAndTakesTheChoice) {
    ProductDialog logic(data, prompt, settings, false);
    ProductFields start = goods(QStringLiteral("Szeg"));
    TAnyagSzerk dialog(nullptr, logic, prompt, QStringLiteral("Termék módosítása"), start, &dialogs);
    dialog.show();
    QComboBox* unit = child<QComboBox>(dialog, "unitComboBox");
    QComboBox* vat = child<QComboBox>(dialog, "vatComboBox");
    // The units window recorded a new unit and was closed on it.
    data.EgysegTable().append();
    data.EgysegTable().setString(fields::Egyseg::EGYSEG, QStringLiteral("rekesz"));
    data.EgysegTable().post();
    dialogs.unitChosen = QStringLiteral("rekesz");
    QTest::mouseDClick(unit->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(unit->currentText(), QStringLiteral("rekesz"));
    EXPECT_GE(unit->findText(QStringLiteral("rekesz")), 0);
    dialogs.vatGroupChosen = QStringLiteral("5%");
    QTest::mouseDClick(vat->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(vat->currentText(), QStringLiteral("5%"));
    EXPECT_EQ(dialogs.calls, (QStringList{"units", "vatGroups"}));
    EXPECT_EQ(dialog.fields().unit, QStringLiteral("rekesz"));
}

TEST_F(VatUnitFormsTest, TheVatBoxShowsARateWithoutGroupPreselected) {
    ProductDialog logic(data, prompt, settings, false);
    ProductFields start = goods(QStringLiteral("Szeg"));
    start.vatGroup = ungroupedVatText(20);
    start.ungroupedRate = 20;
    logic.keepUngroupedRate(start.ungroupedRate);
    TAnyagSzerk dialog(nullptr, logic, prompt, QStringLiteral("Termék módosítása"), start, &dialogs);
    dialog.show();
    QComboBox* vat = child<QComboBox>(dialog, "vatComboBox");
    EXPECT_EQ(vat->currentText(), QStringLiteral("20 % (nincs csoport)"));
    EXPECT_EQ(vat->currentIndex(), vat->count() - 1);
    picture(dialog, "TAnyagSzerk-nincs-csoport");
}

}  // namespace
}  // namespace kavina::products

namespace kavina::products {
namespace {

TEST(ProductCommandsTest, TheMainWindowsProductUnitAndVatEntriesGetTheirCommands) {
    testing_support::TestFolder dir;
    createDataFolder(dir.path());
    TDataModule1 data;
    data.open(dir.path());
    ScriptedPrompt prompt;
    RecordingDesktop desktop;
    IniSettings settings;
    QStringList handlers;
    addProductCommands([&](const QString& handler, std::function<void()>) { handlers << handler; },
                       {.data = data,
                        .prompt = prompt,
                        .parent = [] { return static_cast<QWidget*>(nullptr); },
                        .currentUser = [] { return QString(); },
                        .currentRights = [] { return QString(); },
                        .settings = [&]() -> const IniSettings& { return settings; },
                        .desktop = desktop,
                        .now = [] { return QDateTime(); }});
    handlers.sort();
    EXPECT_EQ(handlers,
              (QStringList{"Anyagok", "Arlistak", "FogyoAnyaglista", "bKeszletClick", "mAfaCsoportClick",
                           "mAnyagKategoriaClick", "mMertekegysegekClick", "mRaktarClick", "mVonalkodClick"}));
}

}  // namespace
}  // namespace kavina::products
