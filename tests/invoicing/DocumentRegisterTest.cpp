// The document register's logic over a real data folder: the lists and the archive toggle,
// the partner restriction, search and sort, the copy reprint and its serial, the previews per
// type, the printed list, the agent data and choosing a document.

#include "invoicing/register/DocumentRegister.h"

#include <gtest/gtest.h>

#include "RegisterFolder.h"
#include "foundation/FieldFilter.h"
#include "invoicing/register/RegisterList.h"

namespace kavina::invoicing {
namespace {

namespace H = fields::Szamla;

class DocumentRegisterTest : public RegisterFolder {
protected:
    // The register over the list of the kind, this year, as a main-window command opens it.
    std::unique_ptr<DocumentRegister> openList(ListKind kind, std::optional<PartnerKey> partner = std::nullopt) {
        RegisterRequest request;
        request.kind = kind;
        request.partner = partner;
        filter::restrictExactly(data.SzamlaTable(), listFilter(kind, false, today(), partner));
        auto r = std::make_unique<DocumentRegister>(data, prompt, windows, request, options());
        r->open();
        return r;
    }
    void storeYear() {
        store({.number = "SZA2007/00120", .issued = "2007.12.31"});
        store({.number = "SZA2008/00001", .issued = "2008.01.01", .paid = true});
        store({.number = "SZA2008/00002", .type = "J", .issued = "2008.02.11"});
        store({.number = "SZA2008/00003", .type = "S", .issued = "2008.02.12"});
        store({.number = "ARA2008/00001", .type = "A", .issued = "2008.03.01"});
        store({.number = "SZA2008/00004", .issued = "2008.03.10"});
    }
};

TEST_F(DocumentRegisterTest, InvoicesOfThisYearAndTheArchiveOfEarlierYears) {
    storeYear();
    const auto r = openList(ListKind::Invoices);
    EXPECT_EQ(shown(), QStringList({"SZA2008/00001", "SZA2008/00002", "SZA2008/00003", "SZA2008/00004"}));
    r->setArchive(true);
    EXPECT_EQ(shown(), QStringList({"SZA2007/00120"}));
    EXPECT_EQ(listCaption(ListKind::Invoices, true), QStringLiteral("Számlák (arhívum)"));
    r->setArchive(false);
    EXPECT_EQ(shown().size(), 4);
    EXPECT_EQ(r->header(), QStringLiteral("        Számlák"));
}

TEST_F(DocumentRegisterTest, TheUnpaidListShowsEveryYearWithTheToggleUpOrDown) {
    storeYear();
    const auto r = openList(ListKind::Unpaid);
    const QStringList unpaid = {"SZA2007/00120", "SZA2008/00004"};
    EXPECT_EQ(shown(), unpaid);
    r->setArchive(true);
    EXPECT_EQ(shown(), unpaid);
    EXPECT_EQ(listCaption(ListKind::Unpaid, true), QStringLiteral("Fizetetlen számlák"));
}

TEST_F(DocumentRegisterTest, APartnersListMatchesNameAndStreetWholeEvenWithQuotesAndStars) {
    store({.number = "SZA2008/00001", .name = "O'Brien* Kft.", .street = "Fő utca 1."});
    store({.number = "SZA2008/00002", .name = "O'Brien* Kft. Bt.", .street = "Fő utca 1."});
    store({.number = "SZA2008/00003", .name = "O'Brien* Kft.", .street = "Más utca 2."});
    store({.number = "SZA2008/00004", .name = "O'Brien* Kft.", .street = "Fő utca 1.", .paid = true});
    const auto r = openList(ListKind::Invoices, PartnerKey{"O'Brien* Kft.", "Fő utca 1."});
    EXPECT_EQ(shown(), QStringList({"SZA2008/00001", "SZA2008/00004"}));
    r->setArchive(true);
    EXPECT_TRUE(shown().isEmpty());
    const auto unpaid = openList(ListKind::Unpaid, PartnerKey{"O'Brien* Kft.", "Fő utca 1."});
    EXPECT_EQ(shown(), QStringList({"SZA2008/00001"}));
}

TEST_F(DocumentRegisterTest, APartnerWithAStreetLongerThanTheDocumentsKeepStillFindsThem) {
    const QString street = QStringLiteral("Szent-Györgyi Albert utca 123/B. II. em. 4.");  // 43 letters
    ASSERT_GT(street.size(), 30);
    store({.number = "SZA2008/00001", .street = street.left(30)});
    store({.number = "SZA2008/00002", .street = street.left(29)});
    const auto r = openList(ListKind::Unpaid, PartnerKey{"Példa Kereskedelmi Kft.", street});
    EXPECT_EQ(shown(), QStringList({"SZA2008/00001"}));
    EXPECT_EQ(documentPartnerKey(QString(60, u'N'), street).name.size(), 50);
}

TEST_F(DocumentRegisterTest, OpeningFromACommandFiltersAndAfterwardsKeepsTheChosenDocument) {
    storeYear();
    windows.answerRegister(true);
    RegisterRequest request;
    request.kind = ListKind::Invoices;
    request.selection = true;
    ASSERT_TRUE(goTo("SZA2008/00003"));
    EXPECT_TRUE(openRegister(data, windows, request, today()));
    EXPECT_EQ(windows.opened(), QStringList{"register|0|4"});
    EXPECT_TRUE(data.SzamlaTable().filter().empty());
    EXPECT_EQ(data.SzamlaTable().recordCount(), 6u);
}

TEST_F(DocumentRegisterTest, SearchFollowsTheSortKeyAndStaysWhenNothingMatches) {
    store({.number = "SZA2008/00001", .name = "Zeta Bt."});
    store({.number = "SZA2008/00002", .name = "Alfa Kft."});
    store({.number = "SZA2008/00013", .name = "Árpád és Társa"});
    const auto r = openList(ListKind::Invoices);
    r->search(QStringLiteral("sza2008/0001"));
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00013"));
    r->search(QStringLiteral("x"));
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00013"));
    EXPECT_TRUE(r->sortBy(H::NEV));
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00013"));
    EXPECT_EQ(shown(), QStringList({"SZA2008/00002", "SZA2008/00013", "SZA2008/00001"}));
    r->search(QStringLiteral("ze"));
    EXPECT_EQ(data.SzamlaTable().asString(H::NEV).trimmed(), QStringLiteral("Zeta Bt."));
    EXPECT_FALSE(r->sortBy(H::KIALLIT));
    EXPECT_TRUE(r->sortBy(H::FIZHAT));
    r->close();  // back in number order for the saves, on the same document
    EXPECT_EQ(data.SzamlaTable().asString(H::NEV).trimmed(), QStringLiteral("Zeta Bt."));
    EXPECT_EQ(shown(), QStringList({"SZA2008/00001", "SZA2008/00002", "SZA2008/00013"}));
}

TEST_F(DocumentRegisterTest, AfterTheDueDateTitleTheSearchFindsByDueDate) {
    store({.number = "SZA2008/00001", .issued = "2008.03.12"});
    store({.number = "SZA2008/00002", .issued = "2008.02.03"});
    store({.number = "SZA2008/00003", .issued = "2008.03.01"});
    const auto r = openList(ListKind::Invoices);
    ASSERT_TRUE(r->sortBy(H::FIZHAT));
    EXPECT_EQ(shown(), QStringList({"SZA2008/00002", "SZA2008/00003", "SZA2008/00001"}));
    r->search(QStringLiteral("2008.03"));
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00003"));
    r->search(QStringLiteral("2008.03.1"));
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00001"));
    // Texts no due date begins with leave the position, whatever they are.
    for (const char* typed : {"2008.03.2", "2008.13", "2008.02.30", "x", "2008/03", "2008.03.12 "}) {
        r->search(QString::fromLatin1(typed));
        EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00001")) << typed;
    }
    r->search(QStringLiteral("2"));
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00002"));
    ASSERT_TRUE(r->sortBy(H::SZAMLASZAM));
    r->search(QStringLiteral("SZA2008/00003 and more than fits"));
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00002"));
}

TEST_F(DocumentRegisterTest, RowColoursFollowTypeAndPaymentWhenTheSettingIsOn) {
    store({.number = "B1"});
    store({.number = "B2", .paid = true});
    store({.number = "J1", .type = "J"});
    store({.number = "S1", .type = "S"});
    store({.number = "Q1", .type = "Q"});
    store({.number = "U1", .type = "U", .issued = "2008.03.01"});
    const auto r = openList(ListKind::Invoices);
    const auto tint = [&](const char* number) {
        goTo(QString::fromLatin1(number));
        return r->tintOf(data.SzamlaTable());
    };
    EXPECT_EQ(tint("B1"), DocumentTint::Red);
    EXPECT_EQ(tint("B2"), DocumentTint::None);
    EXPECT_EQ(tint("J1"), DocumentTint::Green);
    EXPECT_EQ(tint("S1"), DocumentTint::Grey);
    EXPECT_EQ(tint("Q1"), DocumentTint::Grey);
    EXPECT_EQ(tint("U1"), DocumentTint::Grey);
    RegisterOptions plain = options();
    plain.colourRows = false;
    DocumentRegister uncoloured(data, prompt, windows, {}, plain);
    goTo("B1");
    EXPECT_EQ(uncoloured.tintOf(data.SzamlaTable()), DocumentTint::None);
}

TEST_F(DocumentRegisterTest, CopyAnsweredNoRaisesTheSerialByOneAndPrintsNothing) {
    store({.number = "SZA2008/00004", .serial = 2});
    const auto r = openList(ListKind::Invoices);
    prompt.answerYesNo(false);
    r->copy();
    EXPECT_EQ(prompt.transcript(),
              QStringList{"yes/no|question|Figyelem!|Biztos, hogy újra szeretné nyomtatni a számlát?"});
    EXPECT_TRUE(windows.opened().isEmpty());
    EXPECT_EQ(serialOf("SZA2008/00004"), 3);
}

TEST_F(DocumentRegisterTest, CopyAnsweredYesRaisesTheSerialByTwoAndTheCopyShowsIt) {
    store({.number = "SZA2008/00004", .serial = 2});
    const auto r = openList(ListKind::Invoices);
    prompt.answerYesNo(true);
    windows.answerPrint(true);
    r->copy();
    ASSERT_EQ(windows.printed().size(), 1u);
    const report::PreparedReport& copy = windows.printed().front();
    EXPECT_EQ(text(copy, "pageHeader", "serialLabel"), QStringLiteral("4. példány"));
    EXPECT_EQ(text(copy, "pageHeader", "copyLabel"), QStringLiteral("Másolat"));
    EXPECT_EQ(text(copy, "pageHeader", "title"), QStringLiteral("SZÁMLA "));
    EXPECT_EQ(text(copy, "pageHeader", "copiesNote"), QStringLiteral("Az eredetivel megegyező hiteles másolat"));
    EXPECT_EQ(windows.opened(), QStringList({"print|SZA2008/00004", "printing done"}));
    EXPECT_EQ(serialOf("SZA2008/00004"), 4);
}

TEST_F(DocumentRegisterTest, AFailedCopyStoresOnlyTheFirstRaise) {
    store({.number = "SZA2008/00004", .serial = 1});
    const auto r = openList(ListKind::Invoices);
    prompt.answerYesNo(true);
    windows.answerPrint(false);
    r->copy();
    EXPECT_TRUE(windows.printed().empty());
    EXPECT_EQ(serialOf("SZA2008/00004"), 2);
}

TEST_F(DocumentRegisterTest, AProformaReprintPrintsNothingAndRaisesTheSerialByOne) {
    store({.number = "PRO2008/00001", .type = "P", .serial = 1});
    const auto r = openList(ListKind::Proformas);
    r->copy();
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_TRUE(windows.opened().isEmpty());
    EXPECT_EQ(serialOf("PRO2008/00001"), 2);
}

TEST_F(DocumentRegisterTest, ACashSaleReprintShowsItsOwnDateAndNumberWithoutAsking) {
    store({.number = "PGE2008/00003", .type = "1", .issued = "2008.02.28", .paid = true, .serial = 1});
    store({.number = "PGE2008/00004", .type = "1", .issued = "2008.03.14", .paid = true, .serial = 1});
    const auto r = openList(ListKind::CashSales);
    ASSERT_TRUE(goTo("PGE2008/00003"));
    windows.answerPrint(true);
    r->copy();
    EXPECT_TRUE(prompt.entries().empty());
    ASSERT_EQ(windows.printed().size(), 1u);
    const report::PreparedReport& copy = windows.printed().front();
    EXPECT_EQ(text(copy, "pageHeader", "title"), QStringLiteral("Pénztárgépes értékesítés "));
    EXPECT_EQ(text(copy, "pageHeader", "nameLabel"), QStringLiteral("Kelt:2008.02.28"));
    EXPECT_EQ(text(copy, "pageHeader", "numberLabel"), QStringLiteral("Bizonylat: PGE2008/00003"));
    EXPECT_EQ(serialOf("PGE2008/00003"), 2);
    EXPECT_EQ(serialOf("PGE2008/00004"), 1);
}

TEST_F(DocumentRegisterTest, ACancelledInvoiceCopyCarriesItsMarkAndOtherTypesTheirTitles) {
    store({.number = "SZA2008/00003", .type = "S", .state = "rontott"});
    store({.number = "SZL2008/00001", .type = "F"});
    store({.number = "ARA2008/00001", .type = "A"});
    const auto r = openList(ListKind::Invoices);
    ASSERT_TRUE(goTo("SZA2008/00003"));
    prompt.answerYesNo(true);
    windows.answerPrint(true);
    r->copy();
    ASSERT_EQ(windows.printed().size(), 1u);
    const report::PreparedReport& cancelled = windows.printed().back();
    const auto* overlay = cancelled.item(cancelled.page(0), *cancelled.bands(0, "pageHeader").front(), "overlay");
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->image, options().overlays.spoiled);
    EXPECT_EQ(serialOf("SZA2008/00003"), 2);  // a cancelled invoice's copy raises it once

    filter::removeRestriction(data.SzamlaTable());
    ASSERT_TRUE(goTo("SZL2008/00001"));
    prompt.answerYesNo(true);
    windows.answerPrint(true);
    r->copy();
    EXPECT_EQ(text(windows.printed().back(), "pageHeader", "title"), QStringLiteral("SZÁLLÍTÓLEVÉL "));
    EXPECT_EQ(text(windows.printed().back(), "pageHeader", "boxCaption5"), QStringLiteral("Bizonylat száma"));
    EXPECT_EQ(serialOf("SZL2008/00001"), 3);
    ASSERT_TRUE(goTo("ARA2008/00001"));
    prompt.answerYesNo(false);
    r->copy();
    EXPECT_EQ(prompt.entries().back().text, QStringLiteral("Biztos, hogy újra szeretné nyomtatni az árajánlatot?"));
}

TEST_F(DocumentRegisterTest, PreviewLeavesTheSerialAndShowsOnlyTypesWithASetUp) {
    store({.number = "BEV2008/00001", .type = "3", .serial = 1});
    store({.number = "PRO2008/00001", .type = "P", .serial = 1});
    const auto r = openList(ListKind::GoodsReceipts);
    r->preview();
    ASSERT_EQ(windows.previewed().size(), 1u);
    EXPECT_EQ(text(windows.previewed().front(), "pageHeader", "title"), QStringLiteral("BEVÉTELEZÉS "));
    EXPECT_EQ(windows.opened(), QStringList{"preview|BEV2008/00001.pdf"});
    EXPECT_EQ(serialOf("BEV2008/00001"), 1);
    filter::removeRestriction(data.SzamlaTable());
    ASSERT_TRUE(goTo("PRO2008/00001"));
    r->preview();
    EXPECT_EQ(windows.previewed().size(), 1u);
}

TEST_F(DocumentRegisterTest, TheListPrintsWhatTheRegisterShowsWithColoursAndTotal) {
    store({.number = "SZA2008/00001", .paid = true, .net = 1000});
    store({.number = "SZA2008/00002", .net = 2000});
    store({.number = "SZA2008/00003", .type = "S", .net = 500});
    store({.number = "SZA2007/00009", .issued = "2007.05.05", .net = 9000});
    const auto r = openList(ListKind::Invoices);
    r->printList();
    ASSERT_EQ(windows.previewed().size(), 1u);
    const report::PreparedReport& list = windows.previewed().front();
    EXPECT_EQ(list.setup().orientation, QPageLayout::Landscape);
    EXPECT_EQ(text(list, "pageHeader", "title"), QStringLiteral("Listázás"));
    EXPECT_EQ(text(list, "pageHeader", "caption"), QStringLiteral("Számlák"));
    EXPECT_EQ(text(list, "pageHeader", "printed"), QStringLiteral("A nyomtatás ideje: 2008.03.15 10:00:00"));
    EXPECT_EQ(text(list, "pageHeader", "page"), QStringLiteral("1 oldal"));
    const auto rows = list.bands(0, "detail");
    ASSERT_EQ(rows.size(), 3u);
    const auto style = [&](int row) { return list.style(*list.item(list.page(0), *rows[size_t(row)], "number")); };
    EXPECT_EQ(list.text(list.page(0), *rows[1], "number"), QStringLiteral("SZA2008/00002"));
    EXPECT_EQ(list.text(list.page(0), *rows[1], "address"), QStringLiteral("1117 Budapest Fő utca 1."));
    EXPECT_EQ(list.text(list.page(0), *rows[1], "gross"), QStringLiteral("2 540,00 Ft"));
    EXPECT_EQ(style(0).color, QColor(Qt::black));
    EXPECT_EQ(style(1).color, kListUnpaidColour);
    EXPECT_EQ(style(2).color, kListCancelledColour);
    EXPECT_EQ(text(list, "summary", "total"), QStringLiteral("Bruttó ár összesen: 4 445,00 Ft"));
    EXPECT_EQ(text(list, "pageFooter", "version"), QStringLiteral("Kavina 1.0 verzió"));
    r->setArchive(true);
    EXPECT_EQ(text(r->prepareList(), "pageHeader", "caption"), QStringLiteral("Számlák (arhívum)"));
}

TEST_F(DocumentRegisterTest, ChoosingFromAnEmptyListSaysSoAndDoubleClicksChooseOnlyInSelectionMode) {
    store({.number = "SZA2007/00001", .issued = "2007.01.02"});
    const auto r = openList(ListKind::Invoices);
    EXPECT_FALSE(r->choose());
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|Nincs kiválasztott bizonylat!"});
    r->setArchive(true);
    EXPECT_TRUE(r->choose());
    EXPECT_FALSE(r->doubleClick());
    RegisterRequest selecting;
    selecting.selection = true;
    DocumentRegister picker(data, prompt, windows, selecting, options());
    EXPECT_TRUE(picker.doubleClick());
    EXPECT_TRUE(registerLook(selecting).choose);
    EXPECT_FALSE(registerLook({}).choose);
}

TEST_F(DocumentRegisterTest, AgentDataAreStoredOnTheDocumentOnlyWhenAccepted) {
    store({.number = "SZA2008/00001"});
    store({.number = "SZA2008/00002"});
    const auto r = openList(ListKind::Invoices);
    ASSERT_TRUE(goTo("SZA2008/00002"));
    windows.answerAgent(std::nullopt);
    EXPECT_FALSE(r->editAgent());
    windows.answerAgent(AgentData{"Nagy Péter", 15000, "Tavaszi akció"});
    EXPECT_TRUE(r->editAgent());
    ASSERT_TRUE(goTo("SZA2008/00002"));
    EXPECT_EQ(data.SzamlaTable().asString(H::PNEV).trimmed(), QStringLiteral("Nagy Péter"));
    EXPECT_EQ(data.SzamlaTable().asInteger(H::POSSZEG), 15000);
    EXPECT_EQ(data.SzamlaTable().asString(H::TARGY).trimmed(), QStringLiteral("Tavaszi akció"));
    ASSERT_TRUE(goTo("SZA2008/00001"));
    EXPECT_TRUE(data.SzamlaTable().asString(H::PNEV).trimmed().isEmpty());
}

TEST(RegisterLookTest, EachMainWindowListHidesWhatItsKindDoesNotUse) {
    RegisterRequest request;
    request.kind = ListKind::Proformas;
    RegisterLook look = registerLook(request);
    EXPECT_FALSE(look.payment);
    EXPECT_FALSE(look.spoil);
    EXPECT_TRUE(look.storno);
    request.kind = ListKind::CashSales;
    look = registerLook(request);
    EXPECT_FALSE(look.payment);
    EXPECT_FALSE(look.unpaidLegend);
    EXPECT_FALSE(look.buyerColumns);
    EXPECT_TRUE(look.copy);
    request.kind = ListKind::CashPayouts;
    look = registerLook(request);
    EXPECT_FALSE(look.copy || look.preview || look.agent || look.storno || look.lines || look.legend);
    EXPECT_TRUE(look.payoutColumns);
    EXPECT_TRUE(look.sourceNumber);
    request.kind = ListKind::GoodsReceipts;
    EXPECT_TRUE(registerLook(request).sourceNumber);
    request.kind = ListKind::DeliveryNotes;
    EXPECT_FALSE(registerLook(request).sourceNumber);
}

}  // namespace
}  // namespace kavina::invoicing
