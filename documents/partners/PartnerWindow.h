#pragma once
// What the partner register window does, apart from drawing it: the tabs, the quick search,
// sorting, new, changed and deleted partners, the partner's invoices, the CSV export, the
// group check of the partner dialog, and accepting a partner in picker mode. Messages go
// through the Prompt, the dialogs it opens through PartnerWindows; the window
// (forms/TPartnerForm) shows the state and forwards the user's actions.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "documents/partners/PartnerWindows.h"
#include "foundation/CatalogueFields.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

namespace kavina::documents {

// Who opened the window. Any caller but None makes it the partner picker.
enum class PartnerCaller { None, Offer, Invoice, DeliveryNote, PartnerStatistics, Worksheet, Warranty };

// The caller of a window opened while windows of these names are open (case ignored): the
// document editors and the partner statistics.
PartnerCaller callerFromOpenWindows(const QStringList& windowNames);

// The editors' "Partnerkód:" box on leaving it: moves the partners to the one with exactly
// that code and returns true (the caller copies it as if picked); says so when there is none.
// An empty box does nothing.
bool choosePartnerByCode(TableHandle& partners, Prompt& prompt, const QString& code);

class PartnerWindow {
public:
    // statisticsPage: the page the partner statistics show (supplier pages are above 2).
    PartnerWindow(TDataModule1& data, Prompt& prompt, PartnerWindows& windows, PartnerCaller caller,
                  int statisticsPage = 0);
    // The price groups are offered (the "tobbar" setting); without them a new partner gets the
    // fixed price.
    void setShowPriceGroups(bool on) { m_showPriceGroups = on; }

    bool isPicker() const { return m_caller != PartnerCaller::None; }
    // Empties nothing but chooses and applies the opening tab.
    void open();

    const QStringList& tabs() const { return m_tabs; }
    int currentTab() const { return m_tab; }
    void selectTab(int index);
    // Builds the tabs again, keeping the selected caption where it still exists.
    void rebuildTabs();

    // Moves to the first partner whose value in the sort field begins with the text (case
    // ignored); stays when none does.
    void quickSearch(const QString& text);
    // The sort field (NEV or TELJESCIM of the partners); others are refused (false).
    bool sortBy(const Field& field);
    const Field& sortField() const { return m_sortField; }

    // "Új partner": the empty dialog; on "Elf&ogad" the partner is stored. True when it was.
    bool newPartner();
    // "Módosítás": the dialog on the current partner; on "Elf&ogad" it is stored and the tabs
    // are built again. True when it was stored.
    bool modifyCurrent();
    // After the question; true when a partner was deleted.
    bool deleteCurrent();
    // "Számlák" (unpaidOnly false) and "Tartozások": restricts the documents to the partner's
    // invoices, says so when there are none and otherwise shows them in the document
    // register, and removes the restriction again, keeping the current document.
    void showInvoices(bool unpaidOnly);
    // Asks for a file and writes the partners of the tab; false when cancelled.
    bool exportCsv();
    // The dialog's group box on leaving it: the text to keep (empty when the user declined
    // to record a new group). asked, when given, tells whether the clerk was asked (the text
    // was no group's name), so the box keeps the focus only then.
    QString checkGroup(const QString& text, bool* asked = nullptr);
    // The names the dialog's group box completes from.
    QStringList groupNames();
    // A double click on the dialog's group box: the partner groups window.
    void editGroups();
    Prompt& prompt() { return m_prompt; }
    // Picker mode: true when the picker may close with the partner chosen. Unpaid invoices of
    // the partner are shown first; "&Mégsem" there keeps the picker open.
    bool accept(bool fromList);

private:
    QString wantedTab() const;

    TDataModule1& m_data;
    Prompt& m_prompt;
    PartnerWindows& m_windows;
    PartnerCaller m_caller;
    int m_statisticsPage;
    QStringList m_tabs;
    int m_tab = 0;
    Field m_sortField = fields::Partner::NEV;
    bool m_showPriceGroups = true;
};

}  // namespace kavina::documents
