// Printing to the built-in PDF printer: one file per copy, named after the document and the
// time, no partial file on failure. System printers are not there to test on this machine.

#include "report/view/ReportPrinter.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QSpinBox>
#include <filesystem>

#include "dbase/TestFolder.h"
#include "foundation/PrinterList.h"
#include "report/ReportFixture.h"

namespace kavina::report {
namespace {

using testing_support::TestFolder;

TEST(ReportPrinterTest, ThePdfPrinterWritesOneFilePerCopyNamedByDocumentAndTime) {
    TestFolder dir;
    Layout layout;
    const PreparedReport report = testing_report::numberedPages(layout, 3);
    const QString folder = QString::fromStdString(dir.file("nyomtatas"));
    ReportPrinter printer({kPdfPrinterName, folder, "SZA2008/00007"},
                          [] { return QDateTime(QDate(2008, 3, 15), QTime(10, 15, 0)); });
    ASSERT_TRUE(printer.isPdfPrinter());

    const QStringList files = printer.print(report, 2);

    EXPECT_EQ(files, (QStringList{folder + "/SZA2008_00007_20080315_101500.pdf",
                                  folder + "/SZA2008_00007_20080315_101500_2.pdf"}));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2) << "no partial file stays";
    if (testing_report::popplerAvailable()) {
        for (const QString& f : files) EXPECT_EQ(testing_report::pdfPageCount(f), 3) << f.toStdString();
    }
}

TEST(ReportPrinterTest, APdfPrinterFolderThatCannotBeMadeFailsWithoutWriting) {
    TestFolder dir;
    dir.write("foglalt", "a file where the folder should be");
    Layout layout;
    const PreparedReport report = testing_report::numberedPages(layout, 1);
    ReportPrinter printer({kPdfPrinterName, QString::fromStdString(dir.file("foglalt")), "SZA2008/00007"});
    EXPECT_THROW(printer.print(report), PrintError);
    EXPECT_EQ(dir.read("foglalt"), "a file where the folder should be");
}

TEST(ReportPrinterTest, NyomtatasOffersEveryPrinterOfTheSettingsAndTheChoiceStays) {
    TestFolder dir;
    Layout layout;
    const PreparedReport report = testing_report::numberedPages(layout, 1);
    const QString folder = QString::fromStdString(dir.file("pdf"));
    PrinterChoice choice = configuredPrinter(0, {"Irodai lézer"}, "Irodai lézer", "/opt/kavina", folder);
    ASSERT_EQ(choice.printerName, "Irodai lézer");
    ReportPrinter printer(choice, [] { return QDateTime(QDate(2008, 3, 15), QTime(10, 15, 0)); });
    QStringList offered;
    QString firstChosen;
    printer.setDialogRunner([&](QDialog& dialog) {
        auto* printers = dialog.findChild<QComboBox*>("printerComboBox");
        for (int i = 0; i < printers->count(); ++i) offered << printers->itemText(i);
        firstChosen = printers->currentText();
        printers->setCurrentText(kPdfPrinterName);
        dialog.findChild<QSpinBox*>("copiesSpinBox")->setValue(2);
        return int(QDialog::Accepted);
    });
    const PrintResult result = printer.setUpAndPrint(report, nullptr);
    EXPECT_EQ(offered, QStringList({"Irodai lézer", kPdfPrinterName}));
    EXPECT_EQ(firstChosen, "Irodai lézer");
    EXPECT_TRUE(result.printed);
    EXPECT_EQ(result.pdfFiles,
              QStringList({folder + "/nyomtatas_20080315_101500.pdf", folder + "/nyomtatas_20080315_101500_2.pdf"}));
    EXPECT_EQ(printer.printerName(), kPdfPrinterName);
    EXPECT_EQ(pdfPrintedText({"/srv/a.pdf"}), "A PDF nyomtató ebbe a fájlba nyomtatott:\n/srv/a.pdf");

    printer.setDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_FALSE(printer.setUpAndPrint(report, nullptr).printed);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
}

TEST(ReportPrinterTest, ThePdfPrinterKeyNamesItsFolderOrSwitchesItOff) {
    EXPECT_FALSE(pdfPrinterSetting("0").enabled);
    EXPECT_TRUE(pdfPrinterSetting("").enabled);
    EXPECT_EQ(pdfPrinterSetting("1").folder, "");
    EXPECT_EQ(pdfPrinterSetting(" /srv/szamlak ").folder, "/srv/szamlak");
    EXPECT_TRUE(pdfPrinterSetting("/srv/szamlak").enabled);
    EXPECT_EQ(configuredPrinter(0, {}, "", "/opt/kavina", pdfPrinterSetting("pdf").folder).pdfFolder,
              "/opt/kavina/pdf");
}

TEST(ReportPrinterTest, TheConfiguredIndexPicksFromTheSystemPrintersAndThePdfPrinter) {
    const QStringList system = {"Irodai lézer", "Raktári mátrix"};
    EXPECT_EQ(configuredPrinter(1, system, "Irodai lézer", "/opt/kavina").printerName, "Raktári mátrix");
    EXPECT_EQ(configuredPrinter(2, system, "Irodai lézer", "/opt/kavina").printerName, kPdfPrinterName);
    EXPECT_EQ(configuredPrinter(7, system, "Irodai lézer", "/opt/kavina").printerName, "Irodai lézer")
        << "a printer removed since falls back to the default";
    EXPECT_EQ(configuredPrinter(0, {}, "", "/opt/kavina").printerName, kPdfPrinterName);
    EXPECT_EQ(configuredPrinter(0, {}, "", "/opt/kavina").pdfFolder, "/opt/kavina/nyomtatas");
    EXPECT_EQ(configuredPrinter(0, {}, "", "/opt/kavina", "../pdf").pdfFolder, "/opt/pdf");
    EXPECT_EQ(configuredPrinter(0, {}, "", "/opt/kavina", "/srv/pdf").pdfFolder, "/srv/pdf");
}

}  // namespace
}  // namespace kavina::report
