#include "invoicing/delivery/forms/DeliveryLayoutPrinter.h"

#include "dbase/DbError.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"

namespace kavina::invoicing {

DeliveryLayoutPrinter::DeliveryLayoutPrinter(std::string dataFolder, TSzamlarEnvironment environment,
                                             report::PrinterChoice printer)
    : m_folder(std::move(dataFolder)), m_environment(std::move(environment)), m_printer(std::move(printer)) {}

void DeliveryLayoutPrinter::printCopies(const documents::StoredSale& document, DeliveryKind kind, int copies) {
    TableHandle header(m_folder, catalogue::table(TableId::Szamla).fileName);
    TableHandle lines(m_folder, catalogue::table(TableId::Szamla2).fileName);
    header.open();
    lines.open();
    if (!header.gotoBookmark({document.headerRecNo}))
        dbase::fail(header.sourceName(), "the stored document " + document.number.toStdString() + " is gone");
    lines.setOrder(fields::Szamla2::SZAMLASZAM);
    lines.setMasterLink(header, "SZAMLASZAM", "SZAMLASZAM");
    TSzamlar layout(m_environment);
    layout.useStoredDocument(header, lines);
    setUpDeliveryLayout(layout, kind);
    layout.setCopiesPrinted(copies);
    const report::PreparedReport pages = layout.prepare();
    report::PrinterChoice choice = m_printer;
    choice.documentName = document.number;
    report::ReportPrinter printer(choice);
    m_pdfFiles << printer.print(pages, copies);
}

}  // namespace kavina::invoicing
