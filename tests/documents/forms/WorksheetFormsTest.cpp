// The worksheet windows: the editor stores what the clerk typed, refuses a box that holds no
// number, and the list prints the worksheet that is highlighted.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/OpenDataFolder.h"
#include "common/ScriptedPrompt.h"
#include "documents/worksheets/forms/TMunkalapForm.h"
#include "documents/worksheets/forms/TMunkalapok.h"
#include "foundation/CatalogueFields.h"
#include "foundation/PrinterList.h"
#include "foundation/RecordEdit.h"

namespace kavina::documents {
namespace {

namespace M = fields::Munkalap;
namespace U = fields::User;

const QDate kToday(2008, 3, 10);

class NoWindows : public WorksheetWindows {
public:
    bool pickPartner() override { return false; }
    bool addPartner() override { return false; }
    void preview(const WorksheetValues&) override {}
    void print(const WorksheetValues&, int) override {}
};

class WorksheetFormsTest : public OpenDataFolder {
protected:
    void SetUp() override {
        OpenDataFolder::SetUp();
        TableHandle& settings = data.UserTable();
        settings.append();
        settings.setString(U::MELO, QStringLiteral("MUN"));
        settings.setInteger(U::MUNKASZ, 7);
        settings.setInteger(U::PRNMUNKA, 1);
        settings.post();
    }
    WorksheetCommandContext context() {
        return {data,
                prompt,
                [] { return nullptr; },
                [] { return QStringLiteral("Kovács Anna"); },
                [] { return kToday; },
                [] { return false; },
                [] { return nullptr; },
                [this] {
                    return report::PrinterChoice{kPdfPrinterName, QString::fromStdString(pdfs.path()), {}, {}};
                },
                QStringLiteral("www.pelda.hu")};
    }
    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    ScriptedPrompt prompt;
    NoWindows windows;
    testing_support::TestFolder pdfs;
};

TEST_F(WorksheetFormsTest, TheEditorStoresTheTypedValuesAndRefusesABoxWithoutANumber) {
    WorksheetEditor editor({data, prompt, windows, QStringLiteral("Kovács Anna"), [] { return kToday; }});
    editor.openNew();
    TMunkalapForm form(nullptr, editor, prompt);
    EXPECT_EQ(child<QLabel>(form, "numberLabel")->text(), "MUN2008/00007");
    child<QLineEdit>(form, "hoursLineEdit")->setText("2,5");
    child<QLineEdit>(form, "plateLineEdit")->setText("ABC-123");
    child<QPlainTextEdit>(form, "workTextEdit")->setPlainText("Szivattyú cserélve");
    child<QLineEdit>(form, "travelCostLineEdit")->setText("12,,5");
    child<QPushButton>(form, "savePushButton")->click();
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].text, "Kérem, számot írjon ebbe a mezőbe: \"12,,5\".");
    EXPECT_EQ(form.result(), 0) << "the editor stays open";

    child<QLineEdit>(form, "travelCostLineEdit")->setText("12000");
    child<QPushButton>(form, "savePushButton")->click();
    EXPECT_EQ(form.result(), int(QDialog::Accepted));
    TableHandle& w = data.Munkalaptable();
    w.refresh();
    w.first();
    EXPECT_EQ(w.asString(M::SORSZAM).trimmed(), "MUN2008/00007");
    EXPECT_EQ(w.asFloat(M::MUNKAORA), 2.5);
    EXPECT_EQ(w.asFloat(M::UTKOLTSEG), 12000);
    EXPECT_EQ(w.asString(M::RENDSZAM).trimmed(), "ABC-123");
    EXPECT_EQ(w.asString(M::MUNKA), "Szivattyú cserélve");
}

TEST_F(WorksheetFormsTest, TheListPrintsTheHighlightedWorksheetAndShowsItsMemos) {
    TableHandle& w = data.Munkalaptable();
    for (int i = 1; i <= 3; ++i) {
        w.append();
        w.setString(M::SORSZAM, QStringLiteral("MUN2008/0000%1").arg(i));
        w.setString(M::NEV, QStringLiteral("Ügyfél %1").arg(i));
        w.setDate(M::DATUM, kToday);
        w.setString(M::HIBA, QStringLiteral("Hiba %1").arg(i));
        w.post();
    }
    TMunkalapok list(nullptr, context(), TMunkalapok::Mode::List);
    list.show();
    auto* grid = child<QTableView>(list, "worksheetGrid");
    ASSERT_EQ(grid->model()->rowCount(), 3);
    grid->setCurrentIndex(grid->model()->index(1, 0));
    QApplication::processEvents();
    EXPECT_EQ(child<QPlainTextEdit>(list, "faultTextEdit")->toPlainText(), "Hiba 2");

    prompt.answerYesNo(true);
    child<QPushButton>(list, "copyPushButton")->click();
    EXPECT_EQ(prompt.entries()[0].text, "Biztos, hogy újra szeretné nyomtatni a munkalapot?");
    const QStringList files = QDir(QString::fromStdString(pdfs.path())).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1) << "one copy, whatever PRNMUNKA says";
    EXPECT_TRUE(files[0].startsWith("MUN2008_00002")) << files[0].toStdString();

    // The archive shows last year's worksheets only: none here.
    child<QPushButton>(list, "archivePushButton")->click();
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

}  // namespace
}  // namespace kavina::documents
