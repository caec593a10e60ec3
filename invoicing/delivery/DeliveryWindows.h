#pragma once
// The windows and look-ups the delivery-note editor's logic reaches: the partner register on
// its "Szállító" tab (an offer's on "Vevő"), the partner look-up by code, the product picker in the delivery-note
// caller mode with the line dialog, the remark dialog, the preview, the register over the
// supplier orders, and the save. The window layer (forms/) wires them; tests answer from a
// script.

#include <QString>
#include <optional>

#include "invoicing/delivery/DeliveryKind.h"
#include "invoicing/editor/EditorWindows.h"
#include "report/PreparedReport.h"

namespace kavina::invoicing {

class DeliveryWindows {
public:
    virtual ~DeliveryWindows() = default;
    // The partner register as picker on its "Szállító" tab; true with the partner handle on the
    // chosen partner.
    virtual bool pickPartner() = 0;
    // The partner of that code: true with the partner handle on it, otherwise false after the
    // register's message.
    virtual bool findPartnerByCode(const QString& code) = 0;
    // The product picker at the price group over the current line, with the line dialog after
    // the pick; true when a line was accepted.
    virtual bool pickLine(int priceGroup) = 0;
    // The line dialog alone on the current line; true when accepted.
    virtual bool editLine() = 0;
    // The remark dialog ("Megjegyzés"); the text as accepted.
    virtual std::optional<QString> editRemark(const QString& remark) = 0;
    virtual void preview(const report::PreparedReport& pages) = 0;
    // The register "Megrendelések" over the supplier orders of every year; true with the
    // documents handle on the chosen order.
    virtual bool chooseSupplierOrder() = 0;
    // "Nyomtat [F10]" or, for a payout, "Mentés [F10]": the save of the in-memory document,
    // replacing the stored offer named when the editor modifies one. True when it was stored;
    // focus names the box a refusal points at.
    virtual bool saveDocument(DeliveryKind kind, EditorFocus& focus, const std::optional<ReplacedOffer>& replaced) = 0;
};

}  // namespace kavina::invoicing
