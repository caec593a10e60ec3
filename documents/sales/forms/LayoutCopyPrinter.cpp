#include "documents/sales/forms/LayoutCopyPrinter.h"

#include "dbase/DbError.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"

namespace kavina::documents {

LayoutCopyPrinter::LayoutCopyPrinter(std::string dataFolder, TSzamlarEnvironment environment,
                                     report::PrinterChoice printer)
    : m_folder(std::move(dataFolder)), m_environment(std::move(environment)), m_printer(std::move(printer)) {}

void LayoutCopyPrinter::printCopy(const StoredSale& sale, SalesMode mode, const QString& copyLabel, int copies) {
    // Handles of its own: the stored header as it is now (PRINT holds this copy's serial) and
    // only its lines.
    TableHandle header(m_folder, catalogue::table(TableId::Szamla).fileName);
    TableHandle lines(m_folder, catalogue::table(TableId::Szamla2).fileName);
    header.open();
    lines.open();
    if (!header.gotoBookmark({sale.headerRecNo}))
        dbase::fail(header.sourceName(), "the stored document " + sale.number.toStdString() + " is gone");
    lines.setOrder(fields::Szamla2::SZAMLASZAM);
    lines.setMasterLink(header, "SZAMLASZAM", "SZAMLASZAM");
    TSzamlar layout(m_environment);
    layout.useStoredDocument(header, lines);
    layout.setUp(mode);
    layout.setCopyLabel(copyLabel);
    layout.setCopiesPrinted(copies);
    const report::PreparedReport pages = layout.prepare();
    report::PrinterChoice choice = m_printer;
    choice.documentName = sale.number;
    report::ReportPrinter printer(choice);
    m_pdfFiles << printer.print(pages, 1);
}

}  // namespace kavina::documents
