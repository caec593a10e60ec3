#include "documents/partners/LookupTables.h"

#include "documents/partners/PartnerRegister.h"
#include "foundation/CatalogueFields.h"
#include "foundation/OpenedRecord.h"
#include "foundation/RecordEdit.h"

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

OpenedRecordTexts settlementTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A települést közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A települést közben egy másik munkaállomás módosította:");
    texts.labels = {{fields::Telep::IRSZAM, QStringLiteral("Irányítószám")},
                    {fields::Telep::TELEPULES, QStringLiteral("Település")}};
    return texts;
}

OpenedRecordTexts groupTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A partnercsoportot közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A partnercsoportot közben egy másik munkaállomás módosította:");
    texts.labels = {{fields::PCsoport::PCSOPORT, QStringLiteral("Partner csoport")}};
    return texts;
}

void searchPrefix(TableHandle& table, const Field& field, const QString& text) {
    if (!text.isEmpty()) table.locate({{field, text}}, {.caseInsensitive = true, .partialKey = true});
}

}  // namespace

bool PartnerGroups::add() {
    const std::optional<QString> name = m_prompt.askText(kEditCaption, kGroupPrompt, QString());
    if (!name || name->isEmpty()) return false;
    TableHandle& groups = m_data.PcsopTable();
    RecordEdit added = RecordEdit::append(groups);
    groups.setString(fields::PCsoport::PCSOPORT, *name);
    added.post();
    return true;
}

bool PartnerGroups::modifyCurrent() {
    TableHandle& groups = m_data.PcsopTable();
    if (groups.isEmpty()) return false;
    OpenedRecord opened(groups, std::nullopt, groupTexts());
    const QString old = groups.asString(fields::PCsoport::PCSOPORT);
    const std::optional<QString> name = m_prompt.askText(kEditCaption, kGroupPrompt, old);
    if (!name) return false;
    if (!opened.save(m_prompt, [&] { groups.setString(fields::PCsoport::PCSOPORT, *name); })) return false;
    renameGroup(m_data.PartnerTable(), old, *name);
    return true;
}

bool PartnerGroups::deleteCurrent() {
    return confirmDelete(m_prompt, m_data.PcsopTable());
}

void Settlements::searchPostcode(const QString& text) {
    searchPrefix(m_data.TelepTable(), fields::Telep::IRSZAM, text);
}

void Settlements::searchName(const QString& text) {
    searchPrefix(m_data.TelepTable(), fields::Telep::TELEPULES, text);
}

bool Settlements::add() {
    const std::optional<Settlement> accepted = m_windows.editSettlement({});
    if (!accepted) return false;
    TableHandle& towns = m_data.TelepTable();
    RecordEdit change = RecordEdit::append(towns);
    towns.setString(fields::Telep::IRSZAM, accepted->postcode);
    towns.setString(fields::Telep::TELEPULES, accepted->town);
    change.post();
    return true;
}

bool Settlements::modifyCurrent() {
    TableHandle& towns = m_data.TelepTable();
    if (towns.isEmpty()) return false;
    OpenedRecord opened(towns, std::nullopt, settlementTexts());
    const std::optional<Settlement> accepted =
        m_windows.editSettlement({towns.asString(fields::Telep::IRSZAM), towns.asString(fields::Telep::TELEPULES)});
    if (!accepted) return false;
    return opened.save(m_prompt, [&] {
        towns.setString(fields::Telep::IRSZAM, accepted->postcode);
        towns.setString(fields::Telep::TELEPULES, accepted->town);
    });
}

bool Settlements::deleteCurrent() {
    return confirmDelete(m_prompt, m_data.TelepTable());
}

}  // namespace kavina::documents
