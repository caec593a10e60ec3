#pragma once
// The windows the partner register's logic opens, as it opens them: each call shows its window
// modally and returns what the clerk accepted when it closes. The Qt implementation is in
// forms/ (QtPartnerWindows); tests answer from a script, so the logic's dialogs are tested
// without a display. Messages and questions go through the Prompt, never through here.

#include <QString>
#include <optional>

#include "documents/partners/PartnerRegister.h"
#include "invoicing/register/DocumentWindows.h"

namespace kavina::documents {

enum class PartnerCaller;

// What the settlement dialog edits.
struct Settlement {
    QString postcode;
    QString town;
};

class PartnerWindows {
public:
    virtual ~PartnerWindows() = default;

    // The partner dialog ("Új partner" or "Partner módosítás") opened on the fields: the
    // fields as accepted with "Elf&ogad", or nothing for "&Mégse".
    virtual std::optional<PartnerFields> editPartner(const PartnerFields& fields, bool isNew) = 0;
    // Ttartozasform over the partner's unpaid invoices: true for "&Tovább", false for "&Mégsem".
    virtual bool confirmUnpaidInvoices(TableHandle& unpaidInvoices) = 0;
    // TTelepSzerk ("Szerkesztés") opened on a settlement: as accepted, or nothing.
    virtual std::optional<Settlement> editSettlement(const Settlement& settlement) = 0;
    // The partner groups window (Tpcsopform), opened from the partner dialog's group box.
    virtual void editGroups() = 0;
    // The register opened as the picker of a document editor (or the partner statistics): true
    // when the clerk picked a partner; the partner handle then stands on it.
    virtual bool pickPartner(PartnerCaller caller) = 0;
    // The document register (TSzamlak) over the partner's invoices, as "Számlák" or
    // "Tartozások" restricted the documents.
    virtual void showInvoices(const invoicing::RegisterRequest& request) = 0;
};

}  // namespace kavina::documents
