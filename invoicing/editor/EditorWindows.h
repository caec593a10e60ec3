#pragma once
// The windows and look-ups the invoice editor's logic reaches in the partner and product
// registers, which sit beside invoicing: the window layer (forms/) wires them to the partner
// register, the product picker and the line dialog; tests answer from a script.

#include <QString>
#include <optional>

#include "invoicing/editor/EditorMode.h"
#include "invoicing/print/TSzamlar.h"
#include "report/PreparedReport.h"

namespace kavina::invoicing {

// The box the editor gives the focus to after the save refused the document.
enum class EditorFocus { None, IssueDate, PaymentMethod, PartnerName };

class EditorWindows {
public:
    virtual ~EditorWindows() = default;
    // The partner register as picker (unpaid invoices shown first); true when a partner was
    // chosen, the partner handle then standing on it.
    virtual bool pickPartner() = 0;
    // The partner of that card code (VONALKOD): true with the partner handle on it, otherwise
    // false after "A keresett partnerkód nem található a partnertörzsben!".
    virtual bool findPartnerByCode(const QString& code) = 0;
    // The product picker in caller mode 1 at the price group over the current line of the
    // document's lines, with the line dialog after the pick; true when a line was accepted.
    virtual bool pickLine(int priceGroup) = 0;
    // The line dialog alone on the current line; true when accepted.
    virtual bool editLine() = 0;
    // The remark dialog ("Megjegyzés"); the text as accepted.
    virtual std::optional<QString> editRemark(const QString& remark) = 0;
    // The preview window over the prepared pages.
    virtual void preview(const report::PreparedReport& pages) = 0;
    // The gross unit price of a net one at the rate, by the products' price rules.
    virtual double grossOf(double net, double vatRate) = 0;
    // "Nyomtat [F10]": the save of the in-memory document (its checks, the copies dialog, the
    // store in one transaction, the copies printed). True when the document was stored; focus
    // names the box a refusal points at. sourceNumber: the document it was made from.
    virtual bool saveDocument(SalesMode mode, SourceKind source, const QString& sourceNumber, EditorFocus& focus) = 0;
};

}  // namespace kavina::invoicing
