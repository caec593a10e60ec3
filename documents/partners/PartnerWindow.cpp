#include "documents/partners/PartnerWindow.h"

#include "documents/partners/PartnerRegister.h"
#include "foundation/RecordEdit.h"

namespace kavina::documents {

namespace P = fields::Partner;

namespace {

const QString kWarning = QStringLiteral("Figyelem!");

}  // namespace

PartnerCaller callerFromOpenWindows(const QStringList& windowNames) {
    // The editors' window names; the first one found decides.
    const std::pair<const char*, PartnerCaller> kinds[] = {
        {"TAjanlatForm", PartnerCaller::Offer},        {"TSzamlaForm", PartnerCaller::Invoice},
        {"Tszlevelform", PartnerCaller::DeliveryNote}, {"TPartnerStatForm", PartnerCaller::PartnerStatistics},
        {"TMunkalapForm", PartnerCaller::Worksheet},   {"TGaranciaForm", PartnerCaller::Warranty}};
    for (const QString& name : windowNames)
        for (const auto& [kind, caller] : kinds)
            if (name.compare(QString::fromLatin1(kind), Qt::CaseInsensitive) == 0) return caller;
    return PartnerCaller::None;
}

bool choosePartnerByCode(TableHandle& partners, Prompt& prompt, const QString& code) {
    if (code.isEmpty()) return false;
    if (findByPartnerCode(partners, code)) return true;
    prompt.warning(kWarning, QStringLiteral("A keresett partnerkód nem található a partnertörzsben!"));
    return false;
}

PartnerWindow::PartnerWindow(TDataModule1& data, Prompt& prompt, PartnerWindows& windows, PartnerCaller caller,
                             int statisticsPage)
    : m_data(data), m_prompt(prompt), m_windows(windows), m_caller(caller), m_statisticsPage(statisticsPage) {}

QString PartnerWindow::wantedTab() const {
    switch (m_caller) {
        case PartnerCaller::Offer:
        case PartnerCaller::Invoice: return QStringLiteral("Vevő");
        case PartnerCaller::DeliveryNote: return QStringLiteral("Szállító");
        case PartnerCaller::PartnerStatistics:
            return m_statisticsPage > 2 ? QStringLiteral("Szállító") : QStringLiteral("Vevő");
        default: return QString();
    }
}

void PartnerWindow::open() {
    m_tabs = groupTabs(m_data.PartnerTable());
    const int wanted = m_tabs.indexOf(wantedTab());
    selectTab(wanted > 0 ? wanted : 0);
}

void PartnerWindow::selectTab(int index) {
    m_tab = index >= 0 && index < m_tabs.size() ? index : 0;
    applyTab(m_data.PartnerTable(), m_tab, m_tabs.value(m_tab));
}

void PartnerWindow::rebuildTabs() {
    TableHandle& partners = m_data.PartnerTable();
    const QString selected = m_tabs.value(m_tab);
    const CursorMark mark = partners.bookmark();
    m_tabs = groupTabs(partners);
    const int again = m_tabs.indexOf(selected);
    selectTab(again > 0 ? again : 0);
    partners.gotoBookmark(mark);
}

void PartnerWindow::quickSearch(const QString& text) {
    if (text.isEmpty()) return;
    m_data.PartnerTable().locate({{m_sortField, text}}, {.caseInsensitive = true, .partialKey = true});
}

bool PartnerWindow::sortBy(const Field& field) {
    if (field.table != P::kTable || (field.name != P::NEV.name && field.name != P::TELJESCIM.name)) return false;
    TableHandle& partners = m_data.PartnerTable();
    const CursorMark mark = partners.bookmark();
    partners.setOrder(field);
    partners.gotoBookmark(mark);
    m_sortField = field;
    return true;
}

bool PartnerWindow::newPartner() {
    PartnerFields start;
    if (!m_showPriceGroups) start.priceGroup = 4;
    const std::optional<PartnerFields> accepted = m_windows.editPartner(start, true);
    if (!accepted) return false;
    createPartner(m_data.PartnerTable(), m_data.UserTable(), *accepted);
    return true;
}

bool PartnerWindow::modifyCurrent() {
    TableHandle& partners = m_data.PartnerTable();
    if (partners.isEmpty()) return false;
    OpenedRecord opened(partners, P::PARTNERKOD, partnerRecordTexts());
    const std::optional<PartnerFields> accepted = m_windows.editPartner(loadPartner(partners), false);
    if (!accepted || !savePartner(opened, partners, m_prompt, *accepted)) return false;
    rebuildTabs();
    return true;
}

bool PartnerWindow::deleteCurrent() {
    TableHandle& partners = m_data.PartnerTable();
    if (partners.isEmpty()) return false;
    if (!m_prompt.askYesNo(kWarning, QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott partnert?")))
        return false;
    partners.deleteRecord();
    rebuildTabs();
    return true;
}

void PartnerWindow::showInvoices(bool unpaidOnly) {
    TableHandle& partners = m_data.PartnerTable();
    TableHandle& documents = m_data.SzamlaTable();
    const QString name = partners.asString(P::NEV);
    const QString street = partners.asString(P::UTCA);
    const int count = restrictToInvoices(documents, name, street, unpaidOnly);
    try {
        if (count == 0) {
            m_prompt.information(kWarning, unpaidOnly ? QStringLiteral("A partnernek nincs fizetetlen számlája!")
                                                      : QStringLiteral("A partnernek nincs számlája!"));
        } else {
            invoicing::RegisterRequest request;
            request.kind = unpaidOnly ? invoicing::ListKind::Unpaid : invoicing::ListKind::Invoices;
            request.partner = invoicing::PartnerKey{name, street};
            m_windows.showInvoices(request);
        }
    } catch (...) {
        clearRestriction(documents);
        throw;
    }
    clearRestriction(documents);
}

bool PartnerWindow::exportCsv() {
    FileChoice choice;
    choice.caption = QStringLiteral("Exportálás csv fájlba");
    choice.filter = QStringLiteral("Csv fájl (pontosvesszővel tagolt) (*.csv)");
    choice.save = true;
    const std::optional<QString> path = m_prompt.chooseFile(choice);
    if (!path) return false;
    QString target = *path;
    if (!target.contains(QLatin1Char('.'))) target += QStringLiteral(".csv");
    exportPartnersCsv(m_data.PartnerTable(), target);
    return true;
}

QString PartnerWindow::checkGroup(const QString& text, bool* asked) {
    if (asked) *asked = false;
    if (text.isEmpty()) return text;
    TableHandle& groups = m_data.PcsopTable();
    groups.refresh();
    if (groups.locate({{fields::PCsoport::PCSOPORT, text}}, {.caseInsensitive = true})) return text;
    if (asked) *asked = true;
    const QString question =
        text + QStringLiteral(": ez a partnercsoport még nincs felvéve.\n\rSzeretné most rögzíteni?");
    if (!m_prompt.askYesNo(kWarning, question)) return QString();
    RecordEdit added = RecordEdit::append(groups);
    groups.setString(fields::PCsoport::PCSOPORT, text);
    added.post();
    return text;
}

QStringList PartnerWindow::groupNames() {
    m_data.PcsopTable().refresh();
    return documents::groupNames(m_data.PcsopTable());
}

void PartnerWindow::editGroups() {
    m_windows.editGroups();
}

bool PartnerWindow::accept(bool fromList) {
    TableHandle& partners = m_data.PartnerTable();
    partners.refresh();
    if (!isPicker()) return false;
    const bool needsPartner = m_caller == PartnerCaller::PartnerStatistics || m_caller == PartnerCaller::Worksheet ||
                              m_caller == PartnerCaller::Warranty;
    if (fromList && needsPartner && partners.isEmpty()) return false;
    TableHandle& documents = m_data.SzamlaTable();
    const int unpaid = restrictToInvoices(documents, partners.asString(P::NEV), partners.asString(P::UTCA), true);
    bool goOn = true;
    try {
        if (unpaid > 0) goOn = m_windows.confirmUnpaidInvoices(documents);
    } catch (...) {
        clearRestriction(documents);
        throw;
    }
    clearRestriction(documents);
    return goOn;
}

}  // namespace kavina::documents
