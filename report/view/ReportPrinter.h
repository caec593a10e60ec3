#pragma once
// Printing prepared pages: to a printer of the system by name, or to the program's built-in
// PDF printer, which writes one PDF file per print run into its folder, named after the
// document and the time of the run. Copies are separate print runs.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

#include "report/PreparedReport.h"

class QDialog;
class QWidget;

namespace kavina::report {

class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a print run did: whether it printed, and the files the built-in PDF printer wrote.
struct PrintResult {
    bool printed = false;
    QStringList pdfFiles;
};

// What the preview's "Nyomtatás" asks for: the printer dialog, then the print.
class PrintService {
public:
    virtual ~PrintService() = default;
    // Returns an unprinted result when the user leaves the printer dialog without printing.
    // Throws PrintError when the print fails.
    virtual PrintResult setUpAndPrint(const PreparedReport& report, QWidget* parent) = 0;
};

// What the clerk is told after the built-in printer wrote its files.
QString pdfPrintedText(const QStringList& files);

struct PrinterChoice {
    QString printerName;   // a system printer, or kPdfPrinterName
    QString pdfFolder;     // where the built-in printer writes
    QString documentName;  // start of the built-in printer's file names, such as the document number
    QStringList printers;  // what the printer dialog offers; empty: only printerName
};

// The printer of the ini key printer, an index into the printer list (the system's printers,
// then the built-in PDF printer); an index the list no longer has means the system's default.
// The printer dialog offers that list. The built-in printer's folder is the ini value
// (pdfPrinterFolder of the key pdfprinter), relative to the program folder, by default the
// folder "nyomtatas" beside the program.
PrinterChoice configuredPrinter(int printerIndex, const QStringList& systemPrinters, const QString& systemDefault,
                                const QString& programFolder, const QString& pdfFolderSetting = {});

class ReportPrinter : public PrintService {
public:
    using Clock = std::function<QDateTime()>;
    // Runs the printer dialog modally; tests replace it so that no real modal dialog opens.
    using DialogRunner = std::function<int(QDialog&)>;

    explicit ReportPrinter(PrinterChoice choice, Clock clock = &QDateTime::currentDateTime);

    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }
    const QString& printerName() const { return m_choice.printerName; }

    bool isPdfPrinter() const;
    // Prints the pages copies times, each a print run of its own. Returns the files the
    // built-in printer wrote (none for a system printer). Throws PrintError; a file being
    // written when it fails is removed.
    QStringList print(const PreparedReport& report, int copies = 1);
    // The printer dialog over the printer list with this printer chosen first; the printer
    // chosen there stays chosen for the next print of this printer object.
    PrintResult setUpAndPrint(const PreparedReport& report, QWidget* parent) override;

    // The file a run of the built-in printer writes: the document name with characters a file
    // name cannot hold replaced, an underscore and the time stamp; "_2", "_3", ... when taken.
    QString pdfFileName(const QDateTime& when) const;

private:
    PrinterChoice m_choice;
    Clock m_clock;
    DialogRunner m_runDialog;
};

}  // namespace kavina::report
