#pragma once
// The copies of a stored sales document on the printer of the workstation: the print layout
// of the document's mode over the stored header and its lines, one print run per copy.
#include <string>

#include "documents/sales/SalesSave.h"
#include "invoicing/print/TSzamlar.h"
#include "report/view/ReportPrinter.h"

namespace kavina::documents {

class LayoutCopyPrinter : public SalesCopyPrinter {
public:
    // dataFolder ends in a path separator, as the data module's.
    LayoutCopyPrinter(std::string dataFolder, TSzamlarEnvironment environment, report::PrinterChoice printer);

    // Throws report::PrintError when the printer fails, the engine's error when the document
    // cannot be read.
    void printCopy(const StoredSale& sale, SalesMode mode, const QString& copyLabel, int copies) override;

    // The files the built-in PDF printer wrote so far.
    const QStringList& pdfFiles() const { return m_pdfFiles; }

private:
    std::string m_folder;
    TSzamlarEnvironment m_environment;
    report::PrinterChoice m_printer;
    QStringList m_pdfFiles;
};

}  // namespace kavina::documents
