#pragma once
// The service reprint of invoices ("Számla újranyomtatása"): the invoices of every year in
// number order; "Ettől" marks the first invoice of a run, "Eddig" prints every invoice from
// the marked one up to and including the current one, and choosing one invoice prints that
// one. Each invoice prints as a save prints it: the copies dialog (the settings' PRNSZAMLA
// first), the first copy "Eredeti példány" with PRINT 1, the further copies "Másolati
// példány" with PRINT 2 ... N. PRINT is stored, in one transaction per invoice, once its
// copies went out; a failed print stores the copies that did go out and ends the run.

#include <QString>
#include <optional>

#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "invoicing/register/DocumentRegister.h"

namespace kavina::invoicing {

class InvoiceReprint {
public:
    InvoiceReprint(TDataModule1& data, Prompt& prompt, DocumentWindows& windows, RegisterOptions options);

    // Opening: the documents restricted to the invoices, in number order, the first current.
    void open();
    // Closing: the restriction goes, the current invoice stays current.
    void close();

    // "Ettől": the current invoice starts the run.
    void markStart();
    // The number of the marked invoice, if one is marked.
    std::optional<QString> start() const { return m_startNumber; }
    // "Eddig": asks for the copies and prints the run. Says so, printing nothing, when no start
    // is marked or the current invoice comes before it. Returns the invoices printed.
    int printRange();
    // "&Választ" or a double click: moves the partners to the invoice's partner; true when the
    // window closes (the list is not empty). The caller then calls printChosen().
    bool choose();
    // Prints the invoice chosen (the current one): copies dialog, first copy, further copies.
    // False when nothing was printed.
    bool printChosen();

private:
    // Prints every copy of the current invoice; false when one failed.
    bool printInvoice(int copies);
    void storeSerial(int64_t serial);
    std::optional<int> askCopies();

    TDataModule1& m_data;
    Prompt& m_prompt;
    DocumentWindows& m_windows;
    RegisterOptions m_options;
    std::optional<CursorMark> m_start;
    std::optional<QString> m_startNumber;
};

}  // namespace kavina::invoicing
