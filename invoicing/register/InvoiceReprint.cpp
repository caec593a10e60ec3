#include "invoicing/register/InvoiceReprint.h"

#include <vector>

#include "dbase/Transaction.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/MemTable.h"
#include "foundation/RecordEdit.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/print/TSzamlar.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;
namespace P = fields::Partner;

const QString kWarning = QStringLiteral("Figyelem!");

}  // namespace

InvoiceReprint::InvoiceReprint(TDataModule1& data, Prompt& prompt, DocumentWindows& windows, RegisterOptions options)
    : m_data(data), m_prompt(prompt), m_windows(windows), m_options(std::move(options)) {}

void InvoiceReprint::open() {
    TableHandle& docs = m_data.SzamlaTable();
    docs.refresh();
    docs.setOrder(H::SZAMLASZAM);
    filter::restrictExactly(docs, filter::equals(H::SZAMLATIP, QString(QChar(type::Invoice))));
    docs.first();
    m_start.reset();
    m_startNumber.reset();
}

void InvoiceReprint::close() {
    TableHandle& docs = m_data.SzamlaTable();
    const bool onRecord = !docs.isEmpty();
    const CursorMark mark = docs.bookmark();
    filter::removeRestriction(docs);
    if (!onRecord || !docs.gotoBookmark(mark)) docs.first();
}

void InvoiceReprint::markStart() {
    TableHandle& docs = m_data.SzamlaTable();
    if (docs.isEmpty()) return;
    m_start = docs.bookmark();
    m_startNumber = docs.asString(H::SZAMLASZAM).trimmed();
}

std::optional<int> InvoiceReprint::askCopies() {
    TableHandle& settings = m_data.UserTable();
    settings.refresh();
    const int initial = settings.isEmpty() ? 1 : int(settings.asInteger(fields::User::PRNSZAMLA));
    return m_prompt.askCopies(initial);
}

int InvoiceReprint::printRange() {
    TableHandle& docs = m_data.SzamlaTable();
    if (docs.isEmpty()) return 0;
    if (!m_start) {
        m_prompt.warning(kWarning, QStringLiteral("Előbb jelölje ki az első számlát az \"Ettől\" gombbal!"));
        return 0;
    }
    const CursorMark end = docs.bookmark();
    // The run is known before anything prints: the end must follow the start in number order.
    std::vector<CursorMark> run;
    bool reached = false;
    if (docs.gotoBookmark(*m_start))
        for (; !docs.eof(); docs.next()) {
            run.push_back(docs.bookmark());
            if (docs.bookmark().id == end.id) {
                reached = true;
                break;
            }
        }
    docs.gotoBookmark(end);
    if (!reached) {
        m_prompt.warning(kWarning, QStringLiteral("Az \"Eddig\" számla nem az \"Ettől\" számla után következik, "
                                                  "ezért nem nyomtattam semmit."));
        return 0;
    }
    const std::optional<int> copies = askCopies();
    if (!copies || *copies <= 0) return 0;
    int printed = 0;
    for (const CursorMark& invoice : run) {
        if (!docs.gotoBookmark(invoice)) continue;  // removed meanwhile
        if (!printInvoice(*copies)) break;
        ++printed;
    }
    docs.gotoBookmark(end);
    m_windows.printingDone();
    return printed;
}

bool InvoiceReprint::choose() {
    TableHandle& docs = m_data.SzamlaTable();
    if (docs.isEmpty()) return false;
    TableHandle& partners = m_data.PartnerTable();
    partners.refresh();
    partners.locate({{P::NEV, docs.asString(H::NEV)}, {P::UTCA, docs.asString(H::CIM)}});
    return true;
}

bool InvoiceReprint::printChosen() {
    TableHandle& docs = m_data.SzamlaTable();
    if (docs.isEmpty()) return false;
    const std::optional<int> copies = askCopies();
    if (!copies || *copies <= 0) return false;
    const bool printed = printInvoice(*copies);
    m_windows.printingDone();
    return printed;
}

bool InvoiceReprint::printInvoice(int copies) {
    TableHandle& docs = m_data.SzamlaTable();
    docs.refresh();
    const QString number = docs.asString(H::SZAMLASZAM).trimmed();
    int printed = 0;
    for (int copy = 1; copy <= copies; ++copy) {
        MemTable header("Szamla");
        copyHeaderWithSerial(docs, header, copy);
        const std::unique_ptr<TSzamlar> layout = storedDocumentLayout(m_data, m_options, header);
        layout->setUp(SalesMode::Invoice);
        layout->setCopyLabel(copy == 1 ? QStringLiteral("Eredeti példány") : QStringLiteral("Másolati példány"));
        layout->setCopiesPrinted(copies);
        if (!m_windows.print(layout->prepare(), number)) break;
        printed = copy;
    }
    if (printed > 0) storeSerial(printed);
    return printed == copies;
}

void InvoiceReprint::storeSerial(int64_t serial) {
    TableHandle& docs = m_data.SzamlaTable();
    dbase::Transaction transaction(m_data.dataFolder());
    RecordEdit change = RecordEdit::edit(docs);
    docs.setInteger(H::PRINT, serial);
    change.post();
    transaction.commit();
}

}  // namespace kavina::invoicing
