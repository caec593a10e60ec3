#pragma once
// The copies of a stored delivery note, goods receipt, return or supplier order on the printer
// of the workstation: the layout of the kind over the stored header and its lines, printed
// the number of copies asked.
#include <QStringList>
#include <string>

#include "documents/delivery/DeliverySave.h"
#include "invoicing/print/TSzamlar.h"
#include "report/view/ReportPrinter.h"

namespace kavina::invoicing {

class DeliveryLayoutPrinter : public documents::DeliveryCopyPrinter {
public:
    // dataFolder ends in a path separator, as the data module's.
    DeliveryLayoutPrinter(std::string dataFolder, TSzamlarEnvironment environment, report::PrinterChoice printer);

    // Throws report::PrintError when the printer fails, the engine's error when the document
    // cannot be read.
    void printCopies(const documents::StoredSale& document, DeliveryKind kind, int copies) override;

    // The files the built-in PDF printer wrote so far.
    const QStringList& pdfFiles() const { return m_pdfFiles; }

private:
    std::string m_folder;
    TSzamlarEnvironment m_environment;
    report::PrinterChoice m_printer;
    QStringList m_pdfFiles;
};

}  // namespace kavina::invoicing
