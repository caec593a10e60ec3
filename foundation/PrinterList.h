#pragma once
// The program's printer list: the system's printers in the system's order, then the built-in
// printer that writes PDF files, so that documents can be printed on a machine without an
// installed printer. The ini key printer is an index into this list.
#include <QString>
#include <QStringList>

namespace kavina {

inline const QString kPdfPrinterName = QStringLiteral("Kavina PDF nyomtató");

QStringList printerList(const QStringList& systemPrinters);

// The ini key pdfprinter: "0" switches the built-in printer off (start-up then needs a system
// printer); any other value names the folder it writes its files into, relative to the
// program folder; empty or "1" keeps its own folder.
struct PdfPrinterSetting {
    bool enabled = true;
    QString folder;  // empty: the printer's own folder
};
PdfPrinterSetting pdfPrinterSetting(const QString& iniValue);

// The index of the system's default printer; the PDF printer's when the system names none
// that it lists.
int defaultPrinterIndex(const QStringList& systemPrinters, const QString& systemDefault);

}  // namespace kavina
