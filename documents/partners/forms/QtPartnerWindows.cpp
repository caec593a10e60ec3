#include "documents/partners/forms/QtPartnerWindows.h"

#include <stdexcept>

#include "documents/partners/forms/LookupWindows.h"
#include "documents/partners/forms/TPartnerSzerk.h"
#include "documents/partners/forms/Ttartozasform.h"

namespace kavina::documents {

QtPartnerWindows::QtPartnerWindows(QWidget* parent, TDataModule1& data, Prompt& prompt, PartnerFormOptions options,
                                   PartnerWindow* logic)
    : m_parent(parent), m_data(data), m_prompt(prompt), m_options(std::move(options)), m_logic(logic) {}

std::optional<PartnerFields> QtPartnerWindows::editPartner(const PartnerFields& fields, bool isNew) {
    if (!m_logic) throw std::logic_error("the partner dialog is opened by the partner register only");
    TPartnerSzerk dialog(m_parent, m_data, *m_logic, m_options.showPriceGroups, isNew);
    dialog.setFields(fields);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.fields();
}

bool QtPartnerWindows::confirmUnpaidInvoices(TableHandle& unpaidInvoices) {
    Ttartozasform warning(m_parent, unpaidInvoices, m_prompt);
    return warning.exec() == QDialog::Accepted;
}

std::optional<Settlement> QtPartnerWindows::editSettlement(const Settlement& settlement) {
    TTelepSzerk dialog(m_parent, settlement.postcode, settlement.town);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return Settlement{dialog.postcode(), dialog.town()};
}

void QtPartnerWindows::editGroups() {
    Tpcsopform groups(m_parent, m_data, m_prompt);
    groups.exec();
}

bool QtPartnerWindows::pickPartner(PartnerCaller caller) {
    PartnerFormOptions options = m_options;
    options.caller = caller;
    TPartnerForm picker(m_parent, m_data, m_prompt, options);
    return picker.exec() == QDialog::Accepted;
}

void QtPartnerWindows::showInvoices(const invoicing::RegisterRequest& request) {
    if (m_options.documents) m_options.documents->showRegister(request);
}

}  // namespace kavina::documents
