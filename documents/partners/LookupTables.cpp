#include "documents/partners/LookupTables.h"

#include "documents/partners/PartnerRegister.h"

namespace kavina::documents {

namespace {

const QString kEditCaption = QStringLiteral("Szerkesztés");
const QString kGroupPrompt = QStringLiteral("Partner csoport:");

bool confirmDelete(Prompt& prompt, TableHandle& table) {
    if (table.isEmpty()) return false;
    if (!prompt.askYesNo(QStringLiteral("Figyelem!"),
                         QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott tételt?")))
        return false;
    table.deleteRecord();
    return true;
}

void searchPrefix(TableHandle& table, const char* field, const QString& text) {
    if (!text.isEmpty()) table.locate({{field, text}}, {.caseInsensitive = true, .partialKey = true});
}

}  // namespace

bool PartnerGroups::add() {
    const std::optional<QString> name = m_prompt.askText(kEditCaption, kGroupPrompt, QString());
    if (!name || name->isEmpty()) return false;
    TableHandle& groups = m_data.PcsopTable();
    groups.append();
    groups.setString("PCSOPORT", *name);
    groups.post();
    return true;
}

bool PartnerGroups::modifyCurrent() {
    TableHandle& groups = m_data.PcsopTable();
    if (groups.isEmpty()) return false;
    const QString old = groups.asString("PCSOPORT");
    const std::optional<QString> name = m_prompt.askText(kEditCaption, kGroupPrompt, old);
    if (!name) return false;
    groups.edit();
    groups.setString("PCSOPORT", *name);
    groups.post();
    renameGroup(m_data.PartnerTable(), old, *name);
    return true;
}

bool PartnerGroups::deleteCurrent() {
    return confirmDelete(m_prompt, m_data.PcsopTable());
}

void Settlements::searchPostcode(const QString& text) {
    searchPrefix(m_data.TelepTable(), "IRSZAM", text);
}

void Settlements::searchName(const QString& text) {
    searchPrefix(m_data.TelepTable(), "TELEPULES", text);
}

bool Settlements::deleteCurrent() {
    return confirmDelete(m_prompt, m_data.TelepTable());
}

}  // namespace kavina::documents
