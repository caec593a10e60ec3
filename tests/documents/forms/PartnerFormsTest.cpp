#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "documents/ScriptedPartnerWindows.h"
#include "documents/partners/PartnerRegister.h"
#include "documents/partners/forms/LookupWindows.h"
#include "documents/partners/forms/PartnerCommands.h"
#include "documents/partners/forms/TPartnerForm.h"
#include "documents/partners/forms/TPartnerSzerk.h"
#include "documents/partners/forms/TaxpayerLookupHook.h"
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
    // Types the text into the box letter by letter, as the clerk does (QTest::keyClicks cannot
    // send "ő"), and lets the window catch up.
    void type(QLineEdit* box, const QString& text) {
        for (const QChar ch : text) {
            QTest::sendKeyEvent(QTest::KeyAction::Press, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::KeyAction::Release, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        QApplication::processEvents();
    }
    // A click on the row, as the clerk picks a record.
    void clickRow(QTableView* grid, int row) {
        const QModelIndex index = grid->model()->index(row, 0);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
        QApplication::processEvents();
    }
    int rowOf(QTableView* grid, const QString& text) {
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            if (grid->model()->index(row, 0).data().toString() == text) return row;
        return -1;
    }
    // The first column of the highlighted row; empty when no row or more than one is
    // highlighted, or the highlighted row is scrolled out of sight.
    QString highlighted(QTableView* grid) {
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        if (rows.size() != 1 || grid->selectionModel()->currentIndex().row() != rows.front().row()) return {};
        if (!grid->viewport()->rect().contains(grid->visualRect(rows.front()))) return {};
        return rows.front().data().toString();
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

TEST_F(PartnerFormsTest, TheTaxNumberLookUpFillsNameAndSeatWhenTheProgramOffersIt) {
    ScriptedPartnerWindows windows;
    PartnerWindow logic(data, prompt, windows, PartnerCaller::None);
    {
        TPartnerSzerk without(nullptr, data, logic, false, true);
        EXPECT_EQ(without.findChild<QPushButton*>("navLookupPushButton"), nullptr);
    }
    QString asked;
    QString currentName;
    setTaxpayerLookup([&](QWidget*, const QString& taxNumber, const TaxpayerDetails& current) {
        asked = taxNumber;
        currentName = current.name;
        return std::optional<TaxpayerDetails>(TaxpayerDetails{QStringLiteral("Próba Kft."), QStringLiteral("6720"),
                                                              QStringLiteral("Szeged"),
                                                              QStringLiteral("Kárász utca 5")});
    });
    TPartnerSzerk dialog(nullptr, data, logic, false, false);
    PartnerFields stored;
    stored.name = QStringLiteral("Régi név");
    stored.taxNumber = QStringLiteral("11111111-2-06");
    dialog.setFields(stored);
    child<QPushButton>(dialog, "navLookupPushButton")->click();
    setTaxpayerLookup({});
    EXPECT_EQ(asked, QStringLiteral("11111111-2-06"));
    EXPECT_EQ(currentName, QStringLiteral("Régi név"));
    const PartnerFields f = dialog.fields();
    EXPECT_EQ(f.name, QStringLiteral("Próba Kft."));
    EXPECT_EQ(f.postcode, QStringLiteral("6720"));
    EXPECT_EQ(f.town, QStringLiteral("Szeged"));
    EXPECT_EQ(f.street, QStringLiteral("Kárász utca 5"));
    EXPECT_EQ(f.taxNumber, QStringLiteral("11111111-2-06"));
}

TEST_F(PartnerFormsTest, ModifyOnOnePriceLevelKeepsTheStoredPriceGroup) {
    ScriptedPartnerWindows windows;
    PartnerWindow logic(data, prompt, windows, PartnerCaller::None);
    TPartnerSzerk dialog(nullptr, data, logic, false, false);
    PartnerFields stored;
    stored.name = QStringLiteral("Alfa");
    stored.priceGroup = 2;
    dialog.setFields(stored);
    EXPECT_EQ(dialog.fields().priceGroup, 2);
}

// Leaving "Partner csoport:" checks the group, also one loaded from the record; only a
// question keeps the focus in the box. The box completes from the groups, and a double click
// opens the groups window.
TEST_F(PartnerFormsTest, ThePartnerDialogsGroupBoxChecksCompletesAndOpensTheGroups) {
    ScriptedPartnerWindows windows;
    PartnerWindow logic(data, prompt, windows, PartnerCaller::None);
    TPartnerSzerk dialog(nullptr, data, logic, true, false);
    PartnerFields stored;
    stored.name = QStringLiteral("Alfa");
    stored.group = QStringLiteral("Ismeretlen");
    dialog.setFields(stored);
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();
    QLineEdit* group = child<QLineEdit>(dialog, "groupLineEdit");
    QLineEdit* street = child<QLineEdit>(dialog, "billingStreetLineEdit");

    group->setFocus();
    prompt.answerYesNo(false);
    street->setFocus();  // leaves the loaded group, which no group list holds
    QApplication::processEvents();
    EXPECT_EQ(prompt.transcript().value(0),
              QStringLiteral("yes/no|question|Figyelem!|Ismeretlen: ez a partnercsoport még nincs felvéve.\n\r"
                             "Szeretné most rögzíteni?"));
    EXPECT_EQ(group->text(), QString());
    EXPECT_TRUE(group->hasFocus());

    type(group, QStringLiteral("vev"));
    ASSERT_NE(group->completer(), nullptr);
    EXPECT_EQ(group->completer()->currentCompletion(), QStringLiteral("Vevő"));
    type(group, QStringLiteral("ő"));
    street->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(street->hasFocus());  // an existing group lets the clerk go on
    EXPECT_EQ(prompt.entries().size(), 1u);

    QTest::mouseDClick(group, Qt::LeftButton);
    EXPECT_EQ(windows.opened(), QStringList{QStringLiteral("groups")});
    EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString();
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

// The clerk's commands act on the highlighted partner: the list follows the handle after a
// quick search, a sort, a tab change, a refresh, a delete and a move made by another window.
TEST_F(PartnerFormsTest, TheRegisterHighlightsThePartnerItsCommandsActOn) {
    ScriptedPartnerWindows windows;
    TPartnerForm form(nullptr, data, prompt, {.windows = &windows});
    form.show();
    form.resize(860, 260);  // fewer rows than partners: the highlight must be scrolled to
    QApplication::processEvents();
    TableHandle& partners = data.PartnerTable();
    QTableView* grid = child<QTableView>(form, "partnerGrid");
    QLineEdit* search = child<QLineEdit>(form, "quickSearchLineEdit");
    const auto current = [&] { return partners.asString(fields::Partner::NEV); };

    clickRow(grid, rowOf(grid, QStringLiteral("Varga Ferencné")));
    EXPECT_EQ(current(), QStringLiteral("Varga Ferencné"));
    type(search, QStringLiteral("szab"));
    EXPECT_EQ(highlighted(grid), QStringLiteral("Szabó Építőipari Bt."));
    windows.answerPartner([](const PartnerFields&) { return std::nullopt; });
    child<QPushButton>(form, "modifyPushButton")->click();
    EXPECT_EQ(windows.opened().value(0), QStringLiteral("partner modify|Szabó Építőipari Bt."));

    search->clear();
    type(search, QStringLiteral("bal"));
    EXPECT_EQ(highlighted(grid), QStringLiteral("Balogh Csavar és Kötőelem Kft."));
    prompt.answerYesNo(true);
    child<QPushButton>(form, "deletePushButton")->click();
    QApplication::processEvents();
    EXPECT_EQ(rowOf(grid, QStringLiteral("Balogh Csavar és Kötőelem Kft.")), -1);
    EXPECT_NE(rowOf(grid, QStringLiteral("Varga Ferencné")), -1);
    EXPECT_NE(rowOf(grid, QStringLiteral("Szabó Építőipari Bt.")), -1);
    EXPECT_EQ(highlighted(grid), current());

    // Sorting by address keeps the partner and shows it where it now stands.
    clickRow(grid, rowOf(grid, QStringLiteral("Tóth Gépszerviz Kft.")));
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    QApplication::processEvents();
    EXPECT_EQ(current(), QStringLiteral("Tóth Gépszerviz Kft."));
    EXPECT_EQ(highlighted(grid), current());

    // Another tab shows other partners; the highlight goes where the handle went.
    QTabBar* tabs = child<QTabBar>(form, "groupTabBar");
    tabs->setCurrentIndex(tabs->count() - 1);
    QApplication::processEvents();
    ASSERT_FALSE(partners.isEmpty());
    EXPECT_EQ(highlighted(grid), current());
    tabs->setCurrentIndex(0);
    QApplication::processEvents();
    EXPECT_EQ(highlighted(grid), current());

    // Another window moves the shared handle, or reads it again.
    partners.last();
    QApplication::processEvents();
    EXPECT_EQ(highlighted(grid), current());
    partners.first();
    partners.refresh();
    QApplication::processEvents();
    EXPECT_EQ(highlighted(grid), current());
    EXPECT_TRUE(windows.failures().isEmpty()) << windows.failures().join('\n').toStdString();
    EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString();
}

TEST_F(PartnerFormsTest, TheSettlementsWindowActsOnTheHighlightedSettlement) {
    ScriptedPartnerWindows windows;
    Ttelepulesform form(nullptr, data, prompt, &windows);
    form.show();
    form.resize(460, 200);
    QApplication::processEvents();
    TableHandle& towns = data.TelepTable();
    QTableView* grid = child<QTableView>(form, "settlementGrid");
    const auto current = [&] { return towns.asString(fields::Telep::IRSZAM); };
    ASSERT_GT(grid->model()->rowCount(), 5);

    clickRow(grid, grid->model()->rowCount() - 1);
    type(child<QLineEdit>(form, "nameSearchLineEdit"), QStringLiteral("győ"));
    EXPECT_EQ(towns.asString(fields::Telep::TELEPULES), QStringLiteral("Győr"));
    EXPECT_EQ(highlighted(grid), current());
    windows.answerSettlement(std::nullopt);
    child<QPushButton>(form, "modifyPushButton")->click();
    EXPECT_EQ(windows.opened().value(0), QStringLiteral("settlement|9021 Győr"));

    type(child<QLineEdit>(form, "postcodeSearchLineEdit"), QStringLiteral("11"));
    EXPECT_EQ(highlighted(grid), QStringLiteral("1117"));
    const int before = grid->model()->rowCount();
    prompt.answerYesNo(true);
    child<QPushButton>(form, "deletePushButton")->click();
    QApplication::processEvents();
    EXPECT_EQ(grid->model()->rowCount(), before - 1);
    EXPECT_EQ(rowOf(grid, QStringLiteral("1117")), -1);
    EXPECT_NE(rowOf(grid, QStringLiteral("9021")), -1);
    EXPECT_EQ(highlighted(grid), current());
    EXPECT_TRUE(windows.failures().isEmpty()) << windows.failures().join('\n').toStdString();
    EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString();
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
