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

class QWidget;

namespace kavina::report {

class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the preview's "Nyomtatás" asks for: the printer set-up dialog, then the print.
class PrintService {
public:
    virtual ~PrintService() = default;
    // Returns false when the user leaves the set-up dialog without printing.
    // Throws PrintError when the print fails.
    virtual bool setUpAndPrint(const PreparedReport& report, QWidget* parent) = 0;
};

struct PrinterChoice {
    QString printerName;   // a system printer, or kPdfPrinterName
    QString pdfFolder;     // where the built-in printer writes
    QString documentName;  // start of the built-in printer's file names, such as the document number
};

// The printer of the ini key printer, an index into the printer list (the system's printers,
// then the built-in PDF printer); an index the list no longer has means the system's default.
// The built-in printer's folder is the ini value, relative to the program folder, by default
// the folder "nyomtatas" beside the program.
PrinterChoice configuredPrinter(int printerIndex, const QStringList& systemPrinters, const QString& systemDefault,
                                const QString& programFolder, const QString& pdfFolderSetting = {});

class ReportPrinter : public PrintService {
public:
    using Clock = std::function<QDateTime()>;

    explicit ReportPrinter(PrinterChoice choice, Clock clock = &QDateTime::currentDateTime);

    bool isPdfPrinter() const;
    // Prints the pages copies times, each a print run of its own. Returns the files the
    // built-in printer wrote (none for a system printer). Throws PrintError; a file being
    // written when it fails is removed.
    QStringList print(const PreparedReport& report, int copies = 1);
    // The built-in printer needs no set-up and prints at once.
    bool setUpAndPrint(const PreparedReport& report, QWidget* parent) override;

    // The file a run of the built-in printer writes: the document name with characters a file
    // name cannot hold replaced, an underscore and the time stamp; "_2", "_3", ... when taken.
    QString pdfFileName(const QDateTime& when) const;

private:
    PrinterChoice m_choice;
    Clock m_clock;
};

}  // namespace kavina::report
