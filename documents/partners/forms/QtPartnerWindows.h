#pragma once
// The partner register's windows as Qt dialogs, modal over a parent window: the partner dialog
// (TPartnerSzerk), the unpaid invoices (Ttartozasform), the settlement dialog (TTelepSzerk)
// and the register as a picker (TPartnerForm).

#include "documents/partners/PartnerWindows.h"
#include "documents/partners/forms/TPartnerForm.h"

namespace kavina::documents {

class QtPartnerWindows final : public PartnerWindows {
public:
    // logic: the register window whose dialogs these are (the partner dialog checks its group
    // box through it); none for the settlements window.
    QtPartnerWindows(QWidget* parent, TDataModule1& data, Prompt& prompt, PartnerFormOptions options,
                     PartnerWindow* logic = nullptr);

    std::optional<PartnerFields> editPartner(const PartnerFields& fields, bool isNew) override;
    bool confirmUnpaidInvoices(TableHandle& unpaidInvoices) override;
    std::optional<Settlement> editSettlement(const Settlement& settlement) override;
    void editGroups() override;
    bool pickPartner(PartnerCaller caller) override;
    void showInvoices(const invoicing::RegisterRequest& request) override;

private:
    QWidget* m_parent;
    TDataModule1& m_data;
    Prompt& m_prompt;
    PartnerFormOptions m_options;
    PartnerWindow* m_logic;
};

}  // namespace kavina::documents
