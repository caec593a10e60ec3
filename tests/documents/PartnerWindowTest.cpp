#include "documents/partners/PartnerWindow.h"

#include <gtest/gtest.h>

#include <QDir>

#include "PartnerFolder.h"
#include "documents/partners/PartnerRegister.h"

namespace kavina::documents {
namespace {

class PartnerWindowTest : public PartnerFolder {
protected:
    void add(const QString& name, const QString& group, const QString& street = QStringLiteral("Fő utca 1.")) {
        addPartner(name, group, street);
    }
    void addInvoice(const QString& name, const QString& street, bool paid) {
        TableHandle& d = data.SzamlaTable();
        d.append();
        d.setString(fields::Szamla::SZAMLASZAM,
                    QStringLiteral("2008/%1").arg(d.recordCount() + 1, 5, 10, QLatin1Char('0')));
        d.setString(fields::Szamla::SZAMLATIP, QStringLiteral("B"));
        d.setString(fields::Szamla::NEV, name);
        d.setString(fields::Szamla::CIM, street);
        d.setLogical(fields::Szamla::FIZETVE, paid);
        d.post();
    }
};

TEST_F(PartnerWindowTest, ThePickerOpensOnTheCallersTabOrOnMinden) {
    add(QStringLiteral("Alfa"), QStringLiteral("Vevő"));
    add(QStringLiteral("Béta"), QStringLiteral("viszonteladó"));
    EXPECT_EQ(callerFromOpenWindows({QStringLiteral("TForm1"), QStringLiteral("tszlevelFORM")}),
              PartnerCaller::DeliveryNote);
    EXPECT_EQ(callerFromOpenWindows({QStringLiteral("TForm1")}), PartnerCaller::None);

    PartnerWindow fromDeliveryNote(data, prompt, windows, PartnerCaller::DeliveryNote);
    fromDeliveryNote.open();  // no group named Szállító
    EXPECT_EQ(fromDeliveryNote.currentTab(), 0);
    PartnerWindow fromInvoice(data, prompt, windows, PartnerCaller::Invoice);
    fromInvoice.open();
    EXPECT_EQ(fromInvoice.tabs().value(fromInvoice.currentTab()), QStringLiteral("Vevő"));
    EXPECT_TRUE(fromInvoice.isPicker());
    EXPECT_FALSE(PartnerWindow(data, prompt, windows, PartnerCaller::None).isPicker());
}

TEST_F(PartnerWindowTest, ANewGroupGetsItsTabOnlyAtTheNextRebuild) {
    add(QStringLiteral("Alfa"), QStringLiteral("Vevő"));
    PartnerWindow window(data, prompt, windows, PartnerCaller::None);
    window.open();
    window.selectTab(1);
    add(QStringLiteral("Gamma"), QStringLiteral("Szállító"));
    EXPECT_EQ(window.tabs(), (QStringList{QStringLiteral("Minden"), QStringLiteral("Vevő")}));
    window.rebuildTabs();
    EXPECT_EQ(window.tabs(),
              (QStringList{QStringLiteral("Minden"), QStringLiteral("Szállító"), QStringLiteral("Vevő")}));
    EXPECT_EQ(window.tabs().value(window.currentTab()), QStringLiteral("Vevő"));  // the selection follows its caption
}

TEST_F(PartnerWindowTest, AnUnpaidInvoiceIsShownAndMegsemKeepsThePickerOnThePartner) {
    add(QStringLiteral("O'Brien Kft."), QStringLiteral("Vevő"));
    add(QStringLiteral("Zeta Bt."), QStringLiteral("Vevő"));
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), false);
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), true);
    PartnerWindow picker(data, prompt, windows, PartnerCaller::Invoice);
    picker.open();
    ASSERT_TRUE(data.PartnerTable().locate({{fields::Partner::NEV, QStringLiteral("O'Brien Kft.")}}));
    windows.answerUnpaid(false);
    EXPECT_FALSE(picker.accept(true));
    EXPECT_EQ(windows.opened(), QStringList{"unpaid|1"});
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::NEV), QStringLiteral("O'Brien Kft."));
    EXPECT_EQ(data.SzamlaTable().recordCount(), 2u);  // the restriction is gone
    windows.answerUnpaid(true);
    EXPECT_TRUE(picker.accept(false));
    ASSERT_TRUE(data.PartnerTable().locate({{fields::Partner::NEV, QStringLiteral("Zeta Bt.")}}));
    EXPECT_TRUE(picker.accept(true));  // nothing unpaid: no window
    EXPECT_EQ(windows.opened().size(), 2);
}

TEST_F(PartnerWindowTest, InvoiceButtonsOpenTheRegisterOnThePartnersInvoicesOrSayThereAreNone) {
    add(QStringLiteral("O'Brien Kft."), QString());
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), true);
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Fő utca 1."), true);
    addInvoice(QStringLiteral("O'Brien Kft."), QStringLiteral("Más utca 2."), false);
    PartnerWindow window(data, prompt, windows, PartnerCaller::None);
    window.open();
    windows.watchDocuments(&data.SzamlaTable());
    window.showInvoices(false);
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_EQ(windows.opened(), QStringList{"invoices|0|O'Brien Kft.|2"});
    EXPECT_EQ(data.SzamlaTable().recordCount(), 3u);  // the restriction is gone
    window.showInvoices(true);
    EXPECT_EQ(windows.opened().size(), 1);
    // A street longer than the documents keep still finds the partner's debts.
    const QString street = QStringLiteral("Szent-Györgyi Albert utca 123/B. II. em. 4.");
    add(QStringLiteral("Hosszú Utca Bt."), QString(), street);
    addInvoice(QStringLiteral("Hosszú Utca Bt."), street.left(30), false);
    ASSERT_TRUE(data.PartnerTable().locate({{fields::Partner::NEV, QStringLiteral("Hosszú Utca Bt.")}}));
    window.showInvoices(true);
    EXPECT_EQ(windows.opened().back(), QStringLiteral("invoices|2|Hosszú Utca Bt.|1"));
    ASSERT_EQ(prompt.entries().size(), 1u);
    const ScriptedPrompt::Entry& said = prompt.entries().front();
    EXPECT_EQ(said.caption, QStringLiteral("Figyelem!"));
    EXPECT_EQ(said.text, QStringLiteral("A partnernek nincs fizetetlen számlája!"));
    EXPECT_EQ(said.icon, Icon::Information);
}

TEST_F(PartnerWindowTest, DeletingAndRecordingGroupsAskFirst) {
    add(QStringLiteral("Alfa"), QStringLiteral("Vevő"));
    PartnerWindow window(data, prompt, windows, PartnerCaller::None);
    window.open();
    prompt.answerYesNo(false);
    EXPECT_FALSE(window.deleteCurrent());
    prompt.answerYesNo(true);
    EXPECT_TRUE(window.deleteCurrent());
    EXPECT_EQ(window.tabs(), QStringList{QStringLiteral("Minden")});
    EXPECT_EQ(prompt.entries().front().text, QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott partnert?"));

    prompt.answerYesNo(true);
    EXPECT_EQ(window.checkGroup(QStringLiteral("Nagyker")), QStringLiteral("Nagyker"));
    EXPECT_EQ(prompt.entries().back().text,
              QStringLiteral("Nagyker: ez a partnercsoport még nincs felvéve.\n\rSzeretné most rögzíteni?"));
    EXPECT_EQ(window.checkGroup(QStringLiteral("NAGYKER")), QStringLiteral("NAGYKER"));  // known, case ignored
    prompt.answerYesNo(false);
    EXPECT_EQ(window.checkGroup(QStringLiteral("Kisker")), QString());
    EXPECT_EQ(data.PcsopTable().recordCount(), 1u);
}

TEST_F(PartnerWindowTest, GroupTabsFollowTheHungarianAlphabet) {
    for (const char* group : {"Vevő", "Ügynök", "cég", "Bolt", "Áruház", "Zöldség", "Cukrász"})
        add(QString::fromUtf8(group), QString::fromUtf8(group));
    PartnerWindow window(data, prompt, windows, PartnerCaller::None);
    window.open();
    EXPECT_EQ(window.tabs().join(QLatin1Char(',')),
              QStringLiteral("Minden,Áruház,Bolt,cég,Cukrász,Ügynök,Vevő,Zöldség"));
}

TEST_F(PartnerWindowTest, TheGroupCheckSaysWhetherItAskedAndTheGroupsWindowOpensThroughTheSeam) {
    data.PcsopTable().append();
    data.PcsopTable().setString(fields::PCsoport::PCSOPORT, QStringLiteral("Vevő"));
    data.PcsopTable().post();
    PartnerWindow window(data, prompt, windows, PartnerCaller::None);
    bool asked = true;
    EXPECT_EQ(window.checkGroup(QStringLiteral("vevő"), &asked), QStringLiteral("vevő"));
    EXPECT_FALSE(asked);
    prompt.answerYesNo(false);
    EXPECT_EQ(window.checkGroup(QStringLiteral("Bolt"), &asked), QString());
    EXPECT_TRUE(asked);
    EXPECT_EQ(window.groupNames(), QStringList{QStringLiteral("Vevő")});
    window.editGroups();
    EXPECT_EQ(windows.opened(), QStringList{QStringLiteral("groups")});
}

TEST_F(PartnerWindowTest, QuickSearchAndSortingFollowTheSortField) {
    add(QStringLiteral("Béta"), QString(), QStringLiteral("Alma u. 2."));
    add(QStringLiteral("Alfa"), QString(), QStringLiteral("Zöld u. 1."));
    PartnerWindow window(data, prompt, windows, PartnerCaller::None);
    window.open();
    window.quickSearch(QStringLiteral("bé"));
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::NEV), QStringLiteral("Béta"));
    window.quickSearch(QStringLiteral("x"));  // no match: stays
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::NEV), QStringLiteral("Béta"));
    EXPECT_FALSE(window.sortBy(fields::Partner::NEV2));
    ASSERT_TRUE(window.sortBy(fields::Partner::TELJESCIM));
    window.quickSearch(QStringLiteral(" zöld"));
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::NEV), QStringLiteral("Alfa"));
}

TEST_F(PartnerWindowTest, NewAndModifyOpenTheDialogAndStoreOnlyWhatWasAccepted) {
    PartnerWindow window(data, prompt, windows, PartnerCaller::None);
    window.open();
    windows.answerPartner([](const PartnerFields&) { return std::nullopt; });
    EXPECT_FALSE(window.newPartner());
    EXPECT_TRUE(data.PartnerTable().isEmpty());
    windows.answerPartner([](PartnerFields shown) {
        shown.name = QStringLiteral("Alfa Kft.");
        shown.group = QStringLiteral("Vevő");
        return shown;
    });
    EXPECT_TRUE(window.newPartner());
    EXPECT_EQ(windows.lastShown().paymentMethod, QStringLiteral("Készpénz"));
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::NEV), QStringLiteral("Alfa Kft."));
    EXPECT_EQ(window.tabs(), QStringList{QStringLiteral("Minden")}) << "a new partner does not rebuild the tabs";

    windows.answerPartner([](PartnerFields shown) {
        shown.street = QStringLiteral("Új utca 2.");
        return shown;
    });
    EXPECT_TRUE(window.modifyCurrent());
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::UTCA), QStringLiteral("Új utca 2."));
    EXPECT_EQ(data.PartnerTable().asString(fields::Partner::PCSOPORT), QStringLiteral("Vevő"));
    EXPECT_EQ(window.tabs(), (QStringList{QStringLiteral("Minden"), QStringLiteral("Vevő")}));
    EXPECT_EQ(windows.opened(), (QStringList{"partner new|", "partner new|", "partner modify|Alfa Kft."}));
}

TEST_F(PartnerWindowTest, ThePartnerCodeBoxFindsTheCodeNotTheNumber) {
    for (int i = 0; i < 42; ++i) add(QStringLiteral("Partner %1").arg(i + 1), QString());
    EXPECT_TRUE(choosePartnerByCode(data.PartnerTable(), prompt, QStringLiteral("4770148115037")));
    EXPECT_EQ(data.PartnerTable().asInteger(fields::Partner::PARTNERKOD), 42);
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_FALSE(choosePartnerByCode(data.PartnerTable(), prompt, QString()));
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_FALSE(choosePartnerByCode(data.PartnerTable(), prompt, QStringLiteral("42")));
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries().front().caption, QStringLiteral("Figyelem!"));
    EXPECT_EQ(prompt.entries().front().text, QStringLiteral("A keresett partnerkód nem található a partnertörzsben!"));
}

TEST_F(PartnerWindowTest, ACancelledExportWritesNothing) {
    add(QStringLiteral("Alfa"), QString());
    PartnerWindow window(data, prompt, windows, PartnerCaller::None);
    window.open();
    prompt.answerFile(std::nullopt);
    EXPECT_FALSE(window.exportCsv());
    prompt.answerFile(QString::fromStdString(dir.file("lista")));
    EXPECT_TRUE(window.exportCsv());
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList({QStringLiteral("*.csv")}), QStringList{"lista.csv"});
}

}  // namespace
}  // namespace kavina::documents
