// The invoice editor's logic: opening in its modes and from stored documents (with the
// sources it refuses), the buyer, the date and payment rules, lines picked, cancelled and
// deleted, the totals kept current and the closing question; every message checked.

#include "invoicing/editor/InvoiceEditor.h"

#include <gtest/gtest.h>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"

namespace kavina::invoicing {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace P = fields::Partner;
namespace U = fields::User;

struct PickedLine {
    double quantity, net, rate;
};

// The partner and product windows, scripted: a pick takes the next line of the queue (none
// queued is a cancel), the partner picker the named partner.
class ScriptedEditorWindows : public EditorWindows {
public:
    TDataModule1* data = nullptr;
    RecordCursor* lines = nullptr;
    std::deque<std::optional<PickedLine>> picks;
    QString partnerToPick;
    std::vector<int> pickedGroups;
    int previews = 0;

    bool pickPartner() override {
        if (partnerToPick.isEmpty()) return false;
        return data->PartnerTable().locate({{P::NEV, partnerToPick}});
    }
    bool findPartnerByCode(const QString& code) override {
        if (data->PartnerTable().locate({{P::VONALKOD, code}})) return true;
        prompt->warning(QStringLiteral("Figyelem!"),
                        QStringLiteral("A keresett partnerkód nem található a partnertörzsben!"));
        return false;
    }
    bool pickLine(int priceGroup) override {
        pickedGroups.push_back(priceGroup);
        if (picks.empty()) return false;
        const std::optional<PickedLine> pick = picks.front();
        picks.pop_front();
        if (!pick) return false;
        RecordEdit e = RecordEdit::edit(*lines);
        const double gross = grossOf(pick->net, pick->rate);
        lines->setFloat(L::MENNYISEG, pick->quantity);
        lines->setFloat(L::EGYSEGAR, pick->net);
        lines->setFloat(L::begysegar, gross);
        lines->setFloat(L::AFA, pick->rate);
        lines->setFloat(L::NETTOAR, double(Kerekit(-1, pick->quantity * pick->net)));
        lines->setFloat(L::OSSZESEN, double(Kerekit(-1, pick->quantity * gross)));
        lines->setFloat(L::AFAFT, lines->asFloat(L::OSSZESEN) - lines->asFloat(L::NETTOAR));
        e.post();
        return true;
    }
    bool editLine() override { return true; }
    std::optional<QString> editRemark(const QString&) override { return QStringLiteral("Köszönjük!"); }
    void preview(const report::PreparedReport&) override { ++previews; }
    double grossOf(double net, double rate) override { return double(Kerekit(-1, net + net * rate / 100)); }
    bool saveDocument(SalesMode, SourceKind, const QString&, EditorFocus&) override { return false; }
    Prompt* prompt = nullptr;
};

class InvoiceEditorTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    MemoryDocument doc;
    ScriptedPrompt prompt;
    ScriptedEditorWindows windows;
    IniSettings settings;
    QDate today{2008, 3, 28};

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
        TableHandle& user = data.UserTable();
        user.append();
        user.setString(U::SELO, QStringLiteral("SZA"));
        for (const Field& counter : {U::SZAMLASZ, U::PROFORMA, U::SELEJT}) user.setInteger(counter, 7);
        user.post();
        addPartner(1, QStringLiteral("Kiss Kft."), QStringLiteral("K001"), 10, 8);
        addPartner(2, QStringLiteral("Nagy Bt."), QStringLiteral("N002"), 5, 15);
        windows.data = &data;
        windows.lines = &doc.mszamla2;
        windows.prompt = &prompt;
    }
    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    void addPartner(int code, const QString& name, const QString& card, double discount, double term) {
        TableHandle& p = data.PartnerTable();
        p.append();
        p.setInteger(P::PARTNERKOD, code);
        p.setString(P::NEV, name);
        p.setString(P::NEV2, name + QStringLiteral(" II."));
        p.setString(P::IRSZAM, QStringLiteral("1111"));
        p.setString(P::VAROS, QStringLiteral("Budapest"));
        p.setString(P::UTCA, QStringLiteral("Fő utca 1."));
        p.setString(P::FIZMOD, QStringLiteral("Átutalás"));
        p.setInteger(P::ARCSOPORT, 2);
        p.setFloat(P::OSSZESBIZM, discount);
        p.setFloat(P::OSSZESBIZF, term);
        p.setString(P::VONALKOD, card);
        p.post();
    }
    std::unique_ptr<InvoiceEditor> editor(EditorMode mode, SourceKind source = SourceKind::None) {
        return std::make_unique<InvoiceEditor>(data, doc, prompt, windows,
                                               InvoiceEditorOptions{.mode = mode,
                                                                    .source = source,
                                                                    .settings = &settings,
                                                                    .rights = QStringLiteral("BV"),
                                                                    .currentUser = QStringLiteral("Kovács Anna"),
                                                                    .today = [this] { return today; }});
    }
    // A stored document with one line of 3 pieces at net 1 000 and 27 %.
    void storeDocument(const QString& number, QChar type, const QString& state = {}, bool grossPrice = true) {
        TableHandle& h = data.SzamlaTable();
        h.append();
        h.setString(H::SZAMLASZAM, number);
        h.setString(H::SZAMLATIP, type);
        h.setString(H::ALLAPOT, state);
        h.setString(H::NEV, QStringLiteral("Kiss Kft."));
        h.setInteger(H::PARTNERKOD, 1);
        h.setInteger(H::KEDVEZMENY, 0);
        h.setString(H::MEGJEGYZES, QStringLiteral("régi"));
        h.post();
        TableHandle& l = data.Szamla2Table();
        l.append();
        l.setString(L::SZAMLASZAM, number);
        l.setFloat(L::ANYAGSZAM, 42);
        l.setFloat(L::MENNYISEG, 3);
        l.setFloat(L::EGYSEGAR, 1000);
        if (grossPrice) l.setFloat(L::begysegar, 1270);
        l.setFloat(L::AFA, 27);
        l.setFloat(L::NETTOAR, 3000);
        l.setFloat(L::AFAFT, 810);
        l.setFloat(L::OSSZESEN, 3810);
        l.setLogical(L::TERMEK, false);
        l.post();
        h.locate({{H::SZAMLASZAM, number}});
    }
};

TEST_F(InvoiceEditorTest, OpeningSetsNumberTypeDatesUserAndFixedPriceGroupByMode) {
    auto e = editor(EditorMode::Invoice);
    ASSERT_TRUE(e->open());
    RecordCursor& h = doc.mszamla;
    EXPECT_EQ(h.asString(H::SZAMLASZAM), QStringLiteral("SZA2008/00007"));
    EXPECT_EQ(h.asString(H::SZAMLATIP), QStringLiteral("B"));
    EXPECT_EQ(h.asString(H::UGYINTEZO), QStringLiteral("Kovács Anna"));
    EXPECT_EQ(h.asDate(H::FIZHAT), today);
    EXPECT_EQ(h.asInteger(H::ARCSOPORT), 4);
    EXPECT_EQ(h.asInteger(H::KEDVEZMENY), 0);
    EXPECT_TRUE(doc.mszamla2.isEmpty());
    auto proforma = editor(EditorMode::Proforma);
    ASSERT_TRUE(proforma->open());
    EXPECT_EQ(h.asString(H::SZAMLASZAM), QStringLiteral("PRO2008/00007"));
    EXPECT_EQ(h.asString(H::FIZMOD), QStringLiteral("Átutalás"));
    auto sale = editor(EditorMode::CashSale);
    ASSERT_TRUE(sale->open());
    EXPECT_EQ(h.asString(H::SZAMLASZAM), QStringLiteral("PGÉ2008/00001"));
    EXPECT_EQ(h.asString(H::SZAMLATIP), QStringLiteral("1"));
    EXPECT_EQ(modeHeaderText(EditorMode::Invoice), QStringLiteral("        Számla készítése"));
}

TEST_F(InvoiceEditorTest, FirstPartnersDiscountStaysAndTransferDueDateFollowsTheTerm) {
    auto e = editor(EditorMode::Invoice);
    ASSERT_TRUE(e->open());
    windows.partnerToPick = QStringLiteral("Kiss Kft.");
    ASSERT_TRUE(e->pickPartner());
    RecordCursor& h = doc.mszamla;
    EXPECT_EQ(h.asString(H::NEV1), QStringLiteral("Kiss Kft. II."));
    EXPECT_EQ(h.asString(H::CIM), QStringLiteral("Fő utca 1."));
    EXPECT_EQ(h.asInteger(H::ARCSOPORT), 2);
    EXPECT_EQ(h.asInteger(H::KEDVEZMENY), 10);
    EXPECT_EQ(h.asDate(H::FIZHAT), QDate(2008, 4, 5));
    e->setPaymentMethod(kCash);
    EXPECT_EQ(h.asDate(H::FIZHAT), today);
    ASSERT_TRUE(e->partnerCodeLeft(QStringLiteral("N002")));
    EXPECT_EQ(h.asString(H::NEV), QStringLiteral("Nagy Bt."));
    EXPECT_EQ(h.asInteger(H::KEDVEZMENY), 10);
    EXPECT_EQ(h.asDate(H::FIZHAT), QDate(2008, 4, 12));
    EXPECT_FALSE(e->partnerCodeLeft(QStringLiteral("X999")));
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption, QStringLiteral("Figyelem!"));
    EXPECT_EQ(prompt.entries()[0].text, QStringLiteral("A keresett partnerkód nem található a partnertörzsben!"));
    EXPECT_EQ(h.asString(H::NEV), QStringLiteral("Nagy Bt."));
}

TEST_F(InvoiceEditorTest, DateRulesRefuseEmptyDatesAndADueDateBeforeIssue) {
    auto e = editor(EditorMode::Invoice);
    ASSERT_TRUE(e->open());
    EXPECT_FALSE(e->issueDateLeft(QDate()));
    EXPECT_FALSE(e->deliveryDateLeft(QDate(1999, 12, 31)));
    EXPECT_TRUE(e->issueDateLeft(QDate(2008, 3, 10)));
    EXPECT_EQ(doc.mszamla.asDate(H::TELJESIT), QDate(2008, 3, 10));  // the empty one followed
    EXPECT_FALSE(e->dueDateLeft(QDate(2008, 3, 9)));
    EXPECT_TRUE(e->dueDateLeft(QDate(2008, 3, 10)));
    QStringList texts;
    for (const auto& m : prompt.entries()) texts << m.caption + QStringLiteral("|") + m.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Figyelem!|Kérem, állítsa ki a bizonylat keltét!"),
                                  QStringLiteral("Figyelem!|Kérem, állítsa ki a teljesítés idejét!"),
                                  QStringLiteral("Figyelem!|Kérem, állítsa ki helyesen a fizetési határidőt!")}));
}

TEST_F(InvoiceEditorTest, CancelledPickLeavesNoLineAndDeleteAsksAndTotalsFollow) {
    auto e = editor(EditorMode::Invoice);
    ASSERT_TRUE(e->open());
    e->setPaymentMethod(kCash);
    windows.picks = {PickedLine{1, 789.362, 27}, std::nullopt, PickedLine{1, 0.0003, 0}};
    e->addLine();
    e->addLine();
    EXPECT_EQ(doc.mszamla2.recordCount(), 1u);
    e->addLine();
    EXPECT_EQ(windows.pickedGroups, (std::vector<int>{4, 4, 4}));
    EXPECT_EQ(e->payable(), 1000);  // 1 002.49 in cash
    e->setPaymentMethod(kTransfer);
    EXPECT_EQ(e->payable(), 1002);
    e->setHandedOver(1100);
    EXPECT_EQ(e->change(), 98);
    prompt.answerYesNo(false);
    e->deleteLine();
    EXPECT_EQ(doc.mszamla2.recordCount(), 2u);
    prompt.answerYesNo(true);
    e->deleteLine();
    EXPECT_EQ(doc.mszamla2.recordCount(), 1u);
    EXPECT_EQ(prompt.entries().back().caption, QStringLiteral("Figyelem !"));
    EXPECT_EQ(prompt.entries().back().text, QStringLiteral("Biztos benne, hogy  törli a kijelölt tételt? "));
}

TEST_F(InvoiceEditorTest, BarcodeOrderOffersTheNextLineAfterEachAcceptedOne) {
    settings.tsorrend = 2;
    auto e = editor(EditorMode::CashSale);
    ASSERT_TRUE(e->open());
    windows.picks = {PickedLine{1, 100, 27}, PickedLine{2, 100, 27}};
    e->addLine();
    EXPECT_EQ(windows.pickedGroups.size(), 3u);  // the third pick was cancelled
    EXPECT_EQ(doc.mszamla2.recordCount(), 2u);
}

TEST_F(InvoiceEditorTest, CorrectiveReversesTheLinesAndNamesTheSourceInTheRemark) {
    storeDocument(QStringLiteral("SZA2008/00003"), QChar(u'B'));
    auto e = editor(EditorMode::Corrective, SourceKind::Replacing);
    ASSERT_TRUE(e->open());
    EXPECT_EQ(doc.mszamla.asString(H::MEGJEGYZES), QStringLiteral("Készült a SZA2008/00003 számla alapján. "));
    EXPECT_EQ(doc.mszamla.asString(H::SZAMLATIP), QStringLiteral("J"));
    ASSERT_EQ(doc.mszamla2.recordCount(), 1u);
    doc.mszamla2.first();
    EXPECT_EQ(doc.mszamla2.asFloat(L::MENNYISEG), -3);
    EXPECT_EQ(doc.mszamla2.asFloat(L::NETTOAR), -3000);
    EXPECT_EQ(doc.mszamla2.asFloat(L::EGYSEGAR), 1000);
    EXPECT_EQ(doc.mData2.recordCount(), 1u);
    doc.mData2.first();
    EXPECT_EQ(doc.mData2.asFloat(L::MENNYISEG), 3);
    EXPECT_EQ(e->payable(), -3810);
}

TEST_F(InvoiceEditorTest, SourcesWhoseStockEffectIsAlreadyUndoneAreRefusedOrCopied) {
    storeDocument(QStringLiteral("SZA2008/00004"), QChar(u'S'));
    EXPECT_FALSE(editor(EditorMode::Corrective, SourceKind::Replacing)->open());
    storeDocument(QStringLiteral("SZL2008/00001"), QChar(u'F'), QStringLiteral("számlázva"));
    EXPECT_FALSE(editor(EditorMode::Invoice, SourceKind::Replacing)->open());
    storeDocument(QStringLiteral("SZA2008/00005"), QChar(u'B'), QStringLiteral("számlázva"));
    prompt.answerYesNo(false);
    EXPECT_FALSE(editor(EditorMode::Corrective, SourceKind::Replacing)->open());
    QStringList texts;
    for (const auto& m : prompt.entries()) texts << m.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Stornózott számlát nem lehet helyesbíteni!"),
                                  QStringLiteral("A szállítólevél már ki van számlázva!"),
                                  QStringLiteral("Ebből a számlából már készült helyesbítő számla. Biztosan újabb "
                                                 "helyesbítő számlát készít belőle?")}));
    EXPECT_TRUE(doc.mszamla.isEmpty());
    // A cancelled delivery note is invoiced as a template: its stock moves in full.
    storeDocument(QStringLiteral("SZL2008/00002"), QChar(u'U'));
    auto fromCancelled = editor(EditorMode::Invoice, SourceKind::Replacing);
    ASSERT_TRUE(fromCancelled->open());
    EXPECT_EQ(fromCancelled->source(), SourceKind::Template);
}

TEST_F(InvoiceEditorTest, TemplateLineWithoutGrossPriceGetsItFromNetAndRateAndThePurchasePrice) {
    TableHandle& p = data.AnyagTable();
    p.append();
    p.setFloat(fields::Anyag::ANYAGKOD, 42);
    p.setFloat(fields::Anyag::BESZERZAR, 640);
    p.post();
    storeDocument(QStringLiteral("AJ2008/00001"), QChar(u'A'), {}, false);
    auto e = editor(EditorMode::Invoice, SourceKind::Template);
    ASSERT_TRUE(e->open());
    doc.mszamla2.first();
    EXPECT_EQ(doc.mszamla2.asFloat(L::begysegar), 1270);
    EXPECT_EQ(doc.mszamla2.asFloat(L::nbesz), 640);
    EXPECT_EQ(doc.mszamla.asString(H::MEGJEGYZES), QStringLiteral("régi"));
    EXPECT_EQ(doc.mszamla.asInteger(H::ARCSOPORT), 4);
}

TEST_F(InvoiceEditorTest, ClosingAsksAndEmptiesTheDocumentOnlyOnYes) {
    auto e = editor(EditorMode::Invoice);
    ASSERT_TRUE(e->open());
    windows.picks = {PickedLine{1, 100, 27}};
    e->addLine();
    prompt.answerYesNo(false);
    EXPECT_FALSE(e->close());
    EXPECT_FALSE(doc.mszamla2.isEmpty());
    prompt.answerYesNo(true);
    EXPECT_TRUE(e->close());
    EXPECT_TRUE(doc.mszamla2.isEmpty());
    EXPECT_EQ(prompt.entries().back().text,
              QStringLiteral("Biztos benne, hogy kilép mentés nélkül a számla szerkesztéséből? "));
    EXPECT_EQ(prompt.entries().back().icon, Icon::Warning);
}

}  // namespace
}  // namespace kavina::invoicing
