// "Táblák megtekintése": the window's wiring over the grid model: the list of shared handles,
// ordering by a title click, the quick search box, the tool buttons and what closing gives
// back. The dialog is shown but never run modally.

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

#include "MainWindowTestSupport.h"
#include "shell/mainwindow/forms/AboutBox.h"
#include "shell/tableviewer/forms/TableViewerDialog.h"

namespace kavina::shell::testing {
namespace {

class TableViewerDialogTest : public MainWindowTest {
protected:
    std::unique_ptr<TableViewerDialog> viewer;

    TableViewerDialog& open() {
        viewer = std::make_unique<TableViewerDialog>(dm, prompt, desktop, ini);
        viewer->setSpreadsheetFolder(QString::fromStdString(dataDir.path()));
        viewer->show();
        return *viewer;
    }

    template <typename T>
    T* child(const char* name) {
        return viewer->findChild<T*>(name);
    }

    QTableView* grid() { return child<QTableView>("tableGrid"); }
    QString count() { return child<QLabel>("recordCountLabel")->text(); }
    int column(const char* field) { return dm.AnyagTable().fieldNumber(field); }
    QString cell(int row, const char* field) { return grid()->model()->index(row, column(field)).data().toString(); }
    void tool(const char* name) { child<QAction>(name)->trigger(); }
};

TEST_F(TableViewerDialogTest, ListsTheOpenSharedHandlesAndShowsTheChosenOne) {
    dm.akcio().close();
    TableViewerDialog& v = open();
    auto* list = child<QListWidget>("tableList");
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    EXPECT_TRUE(names.contains("PartnerTable"));
    EXPECT_TRUE(names.contains("LoginTable"));
    EXPECT_FALSE(names.contains("akcio")) << "closed handles are not listed";
    EXPECT_FALSE(child<QAction>("excelAction")->isEnabled()) << "nothing to copy before a table is chosen";

    EXPECT_FALSE(v.showTable("NincsIlyen"));
    ASSERT_TRUE(v.showTable("AnyagTable"));
    EXPECT_EQ(count(), QStringLiteral("AnyagTable: %1 rekord").arg(dm.AnyagTable().recordCount()));
    EXPECT_EQ(grid()->model()->headerData(column("MEGNEVEZES"), Qt::Horizontal).toString(), "MEGNEVEZES");
    EXPECT_TRUE(grid()->model()->headerData(column("MEGNEVEZES"), Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(grid()->model()->headerData(column("EGYSEG"), Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(child<QAction>("excelAction")->isEnabled());
}

TEST_F(TableViewerDialogTest, ATitleClickOrdersByAnIndexedColumnAndClosingGivesTheOrderBack) {
    TableViewerDialog& v = open();
    v.showTable("AnyagTable");
    QHeaderView* header = grid()->horizontalHeader();
    emit header->sectionClicked(column("ANYAGKOD"));
    EXPECT_EQ(dm.AnyagTable().order(), "ANYAGKOD");
    EXPECT_EQ(header->sortIndicatorSection(), column("ANYAGKOD"));
    EXPECT_EQ(cell(0, "ANYAGKOD"), "1");
    emit header->sectionClicked(column("EGYSEG"));
    EXPECT_EQ(dm.AnyagTable().order(), "ANYAGKOD") << "EGYSEG has no tag";
    EXPECT_EQ(header->sortIndicatorSection(), column("ANYAGKOD"));

    v.done(QDialog::Accepted);
    EXPECT_EQ(dm.AnyagTable().order(), "MEGNEVEZES");
}

TEST_F(TableViewerDialogTest, TheQuickSearchMovesToTheRowOrFiltersWithAPercentSign) {
    TableViewerDialog& v = open();
    v.showTable("AnyagTable");
    auto* search = child<QLineEdit>("quickSearchEdit");
    search->setText("fest");
    EXPECT_TRUE(cell(grid()->currentIndex().row(), "MEGNEVEZES").startsWith("Festékkeverés"));
    EXPECT_TRUE(dm.AnyagTable().asString("MEGNEVEZES").startsWith("Festék"));
    EXPECT_EQ(child<QLabel>("searchNote")->text(), "");

    search->setText("%fest");
    EXPECT_EQ(count(), "AnyagTable: 2 rekord");  // Festékkeverés, Festőhenger
    search->setText("%festx");
    EXPECT_EQ(count(), "AnyagTable: 0 rekord");
    search->setText("zzz");
    EXPECT_EQ(child<QLabel>("searchNote")->text(), "Nincs ilyen kezdetű rekord: zzz");
    EXPECT_EQ(count(), QStringLiteral("AnyagTable: %1 rekord").arg(dm.AnyagTable().recordCount()));
}

TEST_F(TableViewerDialogTest, MentesExcelbeWritesAWorkbookAndOpensItOrSaysTheSpreadsheetIsMissing) {
    TableViewerDialog& v = open();
    v.showTable("EgysegTable");
    tool("excelAction");
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_TRUE(desktop.opened[0].startsWith(QString::fromStdString(dataDir.path()) + "/EgysegTable_"));
    EXPECT_TRUE(QFile::exists(desktop.opened[0]));
    EXPECT_TRUE(prompt.entries().empty());

    desktop.works = false;
    tool("excelAction");
    ASSERT_EQ(desktop.opened.size(), 2);
    EXPECT_TRUE(QFile::exists(desktop.opened[1]));
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|Az excel megnyitása sikertelen. Talán nincs telepítve erre a "
                           "gépre?\nA táblázat ide került: " +
                           desktop.opened[1]}));
}

TEST_F(TableViewerDialogTest, DeletingAsksFirstAndTheNavigatorMovesThroughTheRows) {
    TableViewerDialog& v = open();
    v.showTable("EgysegTable");
    const uint32_t before = dm.EgysegTable().recordCount();
    tool("lastAction");
    EXPECT_EQ(grid()->currentIndex().row(), int(before) - 1);
    tool("priorAction");
    EXPECT_EQ(grid()->currentIndex().row(), int(before) - 2);
    const QString doomed = dm.EgysegTable().asString(0);

    prompt.answerYesNo(false);
    tool("deleteAction");
    EXPECT_EQ(dm.EgysegTable().recordCount(), before);
    prompt.answerYesNo(true);
    tool("deleteAction");
    EXPECT_EQ(dm.EgysegTable().recordCount(), before - 1);
    EXPECT_FALSE(dm.EgysegTable().locate({{dm.EgysegTable().fields()[0].name, doomed}}));
    EXPECT_EQ(prompt.transcript(),
              QStringList(2, "yes/no|question|Figyelem!|Biztos, hogy törölni szeretné a kiválasztott tételt?"));
    tool("firstAction");
    EXPECT_EQ(grid()->currentIndex().row(), 0);
}

TEST_F(TableViewerDialogTest, TheFontAndTheWholeRowSelectionAreTheUsersChoice) {
    ini.dbrowselect = 0;
    TableViewerDialog& v = open();
    EXPECT_EQ(grid()->selectionBehavior(), QAbstractItemView::SelectItems);
    QFont chosen("DejaVu Serif", 14);
    v.setFontChooser([&](const QFont&, QWidget*) { return std::optional<QFont>(chosen); });
    tool("fontAction");
    EXPECT_EQ(grid()->font().family(), "DejaVu Serif");
    EXPECT_EQ(grid()->font().pointSize(), 14);
    v.setFontChooser([](const QFont&, QWidget*) { return std::optional<QFont>(); });
    tool("fontAction");
    EXPECT_EQ(grid()->font().pointSize(), 14) << "a cancelled choice changes nothing";

    tool("rowSelectAction");
    EXPECT_EQ(grid()->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(TableViewerDialogTest, ARefusedEditIsShownAndTheRecordStaysAsItWas) {
    TableViewerDialog& v = open();
    v.showTable("AnyagTable");
    const QModelIndex quantity = grid()->model()->index(0, column("MENNYISEG"));
    const QString before = quantity.data().toString();
    EXPECT_FALSE(grid()->model()->setData(quantity, "sok", Qt::EditRole));
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption, "Figyelem!");
    EXPECT_TRUE(prompt.entries()[0].text.startsWith("Az értéket a tábla nem fogadta el:\n"));
    EXPECT_EQ(quantity.data().toString(), before);
}

TEST_F(MainWindowTest, TheServiceAndHelpEntriesOpenTheirDialogs) {
    ini.zirma = 1;
    makeWindow();
    action("mSzervizTablaClick")->trigger();
    action("mAboutClick")->trigger();
    action("mPrinterSetupClick")->trigger();
    EXPECT_EQ(ranDialogs, std::vector<QString>({"tableViewer", "AboutBox", "printerSetupDialog"}));
}

TEST(AboutBoxTest, ShowsNameVersionAndBuildAndFollowsItsLinks) {
    QStringList followed;
    AboutBox box("2005.02.02", PlatformSettings{},
                 {[&] { followed << "maker"; }, [&] { followed << "product"; }, [&] { followed << "mail"; }});
    EXPECT_EQ(box.windowTitle(), "Névjegy");
    EXPECT_EQ(box.findChild<QLabel*>("programNameLabel")->text(), "Kavina");
    EXPECT_EQ(box.findChild<QLabel*>("versionLabel")->text(), "Verzió: 1.0.050202");
    EXPECT_EQ(box.findChild<QLabel*>("buildLabel")->text(), "build: 2005.02.02");
    auto* links = box.findChild<QLabel*>("linksLabel");
    EXPECT_TRUE(links->text().contains("kavina@lumetra.hu"));
    for (const char* link : {"mail", "maker", "product"}) emit links->linkActivated(link);
    EXPECT_EQ(followed, QStringList({"mail", "maker", "product"}));
}

}  // namespace
}  // namespace kavina::shell::testing
