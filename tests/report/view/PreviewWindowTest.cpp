// The preview window's wiring: opening page and zoom, the zoom steps, page moves and the
// status line; "Mentés" through the file choice into the export window; "Nyomtatás" through
// the print service, disabled for unsaved documents; Esc and the inert mail item.

#include "report/view/PreviewWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "report/ReportFixture.h"

namespace kavina::report {
namespace {

using testing_support::TestFolder;

class FakePrinting : public PrintService {
public:
    int calls = 0;
    bool fail = false;
    QStringList written;
    PrintResult setUpAndPrint(const PreparedReport& report, QWidget*) override {
        ++calls;
        if (fail) throw PrintError("A nyomtató nem válaszol.");
        return {report.pageCount() > 0, written};
    }
};

class PreviewWindowTest : public ::testing::Test {
protected:
    Layout layout;
    PreparedReport report = testing_report::numberedPages(layout, 3);
    ScriptedPrompt prompt;
    FakePrinting printing;
    QStringList errors;

    std::unique_ptr<PreviewWindow> open(bool printEnabled = true) {
        PreviewOptions options;
        options.printEnabled = printEnabled;
        options.onError = [this](const QString& e) { errors << e; };
        return std::make_unique<PreviewWindow>(report, prompt, printing, options);
    }
    static QString status(PreviewWindow& w) {
        return w.findChild<QLabel*>("pageStatus")->text() + " " + w.findChild<QLabel*>("zoomStatus")->text();
    }
    static void click(PreviewWindow& w, const char* button) { w.findChild<QPushButton*>(button)->click(); }
    static bool enabled(PreviewWindow& w, const char* button) { return w.findChild<QPushButton*>(button)->isEnabled(); }
};

TEST_F(PreviewWindowTest, OpensOnTheFirstPageAtFullSizeAndZoomsInRoundedSteps) {
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Nyomtatási kép");
    EXPECT_EQ(status(*w), "Oldal: 1/3 Méret: 100%");
    click(*w, "zoomInButton");
    click(*w, "zoomInButton");
    EXPECT_EQ(w->zoom(), 121);
    click(*w, "zoomOutButton");
    EXPECT_EQ(w->zoom(), 109) << "121 * 0.9 = 108.9";
    click(*w, "zoom100Button");
    EXPECT_EQ(status(*w), "Oldal: 1/3 Méret: 100%");
    for (int i = 0; i < 40; ++i) click(*w, "zoomOutButton");
    EXPECT_EQ(w->zoom(), PreviewWindow::kMinZoom) << "zooming out stops above nothing";

    w->resize(900, 700);
    w->show();
    click(*w, "fitWidthButton");
    const int width = w->zoom();
    click(*w, "fitPageButton");
    EXPECT_LT(w->zoom(), width) << "a portrait page is higher than it is wide";
    EXPECT_EQ(w->findChild<QLabel*>("zoomStatus")->text(), QString("Méret: %1%").arg(w->zoom()));
}

TEST_F(PreviewWindowTest, PageButtonsMoveThroughThePagesAndStopAtTheEnds) {
    auto w = open();
    EXPECT_FALSE(enabled(*w, "firstPageButton"));
    EXPECT_FALSE(enabled(*w, "previousPageButton"));
    click(*w, "nextPageButton");
    EXPECT_EQ(status(*w), "Oldal: 2/3 Méret: 100%");
    click(*w, "lastPageButton");
    EXPECT_EQ(w->page(), 2);
    EXPECT_FALSE(enabled(*w, "nextPageButton"));
    EXPECT_FALSE(enabled(*w, "lastPageButton"));
    click(*w, "previousPageButton");
    EXPECT_EQ(w->page(), 1);
    click(*w, "firstPageButton");
    EXPECT_EQ(status(*w), "Oldal: 1/3 Méret: 100%");
}

// "Mentés" asks for a PDF file and exports every page; a name without extension gets one.
TEST_F(PreviewWindowTest, SaveAsksForAPdfFileAndWritesEveryPage) {
    TestFolder dir;
    auto w = open();
    prompt.answerFile(QString::fromStdString(dir.file("szamla")));
    click(*w, "saveButton");
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].kind, ScriptedPrompt::Kind::File);
    EXPECT_EQ(prompt.entries()[0].text, "Pdf fájlok (*.pdf)");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    const QString file = QString::fromStdString(dir.file("szamla.pdf"));
    ASSERT_TRUE(QFileInfo::exists(file));
    if (testing_report::popplerAvailable()) {
        EXPECT_EQ(testing_report::pdfPageCount(file), 3);
    }
}

TEST_F(PreviewWindowTest, ACancelledFileChoiceWritesNothingAndAFailedExportIsReported) {
    TestFolder dir;
    auto w = open();
    prompt.answerFile(std::nullopt);
    click(*w, "saveButton");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(errors.isEmpty());

    prompt.answerFile(QString::fromStdString(dir.file("nincs/szamla.pdf")));
    click(*w, "saveButton");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("szamla.pdf")) << errors[0].toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(prompt.failures().isEmpty());
}

TEST_F(PreviewWindowTest, SaveToASpreadsheetOnlyWithATableAndBesideThePagesItsPanel) {
    EXPECT_FALSE(open()->findChild<QPushButton*>("sheetButton"));

    TestFolder dir;
    PreviewOptions options;
    options.onError = [this](const QString& e) { errors << e; };
    options.sheet = [] { return SheetTable{"Lap", {"Cikkszám", "Haszon"}, {{QStringLiteral("A1"), 12.5}}, {}}; };
    options.sheetFileName = "statisztika.xlsx";
    auto* panel = new QLabel("grafikon");
    options.beside = panel;
    PreviewWindow w(report, prompt, printing, options);
    EXPECT_EQ(panel->window(), &w);

    prompt.answerFile(QString::fromStdString(dir.file("haszon")));
    click(w, "sheetButton");
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption, "Mentés Excelbe");
    EXPECT_EQ(prompt.entries()[0].text, "Excel munkafüzetek (*.xlsx)");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_TRUE(QFileInfo(QString::fromStdString(dir.file("haszon.xlsx"))).size() > 0);

    prompt.answerFile(QString::fromStdString(dir.file("nincs/haszon.xlsx")));
    click(w, "sheetButton");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("A mappa nem írható: ")) << errors[0].toStdString();
    EXPECT_TRUE(prompt.failures().isEmpty());
}

TEST_F(PreviewWindowTest, PrintGoesThroughThePrintServiceUnlessTheDocumentIsUnsaved) {
    auto unsaved = open(false);
    EXPECT_FALSE(enabled(*unsaved, "printButton"));
    auto w = open();
    click(*w, "printButton");
    EXPECT_EQ(printing.calls, 1);
    EXPECT_TRUE(prompt.transcript().isEmpty()) << "a system printer says nothing";
    printing.written = {"/srv/pdf/SZA_1.pdf", "/srv/pdf/SZA_1_2.pdf"};
    click(*w, "printButton");
    EXPECT_EQ(prompt.transcript(), QStringList({"message|information|Nyomtatás|A PDF nyomtató ezekbe a fájlokba "
                                                "nyomtatott:\n/srv/pdf/SZA_1.pdf\n/srv/pdf/SZA_1_2.pdf"}));
    printing.fail = true;
    click(*w, "printButton");
    EXPECT_EQ(errors, QStringList{"A nyomtató nem válaszol."});
}

TEST_F(PreviewWindowTest, EscapeClosesAndTheMailItemIsInert) {
    auto w = open();
    QAction* mail = w->findChild<QAction*>("mailAction");
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->text(), "Csatolás email-hez");
    EXPECT_FALSE(mail->isEnabled());
    w->show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w.get(), &escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace kavina::report
