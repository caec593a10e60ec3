// The product picker of the document editors: what a pick writes into the line, the missing
// price group, the line dialog's figures, refusals and stock check, and the warranty pick.

#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "foundation/RecordEdit.h"
#include "invoicing/document/MemoryDocument.h"
#include "products/pickers/LineDialog.h"
#include "products/pickers/PickerProtocol.h"
#include "products/pickers/WarrantyPick.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;
namespace L = fields::Szamla2;
namespace G = fields::Garancia2;

// Line dialogs answered by a function of the dialog's setup; recorded.
class ScriptedPickerWindows : public PickerWindows {
public:
    std::function<bool(RecordCursor&, const LineDialogSetup&)> line = [](RecordCursor&, const LineDialogSetup&) {
        return true;
    };
    std::vector<LineDialogSetup> setups;
    int warrantyPicks = 0;

    bool editLine(RecordCursor& lines, const LineDialogSetup& setup) override {
        setups.push_back(setup);
        return line(lines, setup);
    }
    bool pickWarrantyLines(const RecordCursor&, int) override {
        ++warrantyPicks;
        return true;
    }
};

class PickerTest : public ProductFolder {
protected:
    MemoryDocument doc;
    ScriptedPickerWindows windows;

    void SetUp() override {
        ProductFolder::SetUp();
        addRow(42, QStringLiteral("Fúrógép"), 2);
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setFloat(A::AR1, 100), p.setFloat(A::bar1, 127);
        p.setFloat(A::AR2, 90), p.setFloat(A::bar2, 114.3);
        p.setFloat(A::FIXAR, 120), p.setFloat(A::bfixar, 152.4);
        p.setFloat(A::BESZERZAR, 60), p.setFloat(A::bbesz, 76.2);
        p.setString(A::ITJSZAM, QStringLiteral("8467"));
        p.post();
    }

    // The editor's side of a pick: an empty line at the group, the picker shown over it.
    PickerRequest request(int group) {
        doc.mszamla2.append();
        doc.mszamla2.setInteger(L::ARCSOPORT, group);
        doc.mszamla2.post();
        PickerRequest r;
        r.mode = CallerMode::InvoiceEditor;
        r.priceGroup = group;
        r.lines = &doc.mszamla2;
        r.promotions = &data.akcio();
        r.today = QDate(2008, 3, 15);
        return r;
    }
    void addPromotion(double code, double gross, QDate from, QDate to) {
        namespace K = fields::Akcio;
        TableHandle& t = data.akcio();
        t.append();
        t.setFloat(K::kod, code);
        t.setDateTime(K::mettol, QDateTime(from, QTime(0, 0), Qt::UTC));
        t.setDateTime(K::meddig, QDateTime(to, QTime(0, 0), Qt::UTC));
        t.setFloat(K::bruttoar, gross);
        t.post();
    }
};

TEST_F(PickerTest, PickWritesTheGroupPricesAndProductFieldsAndLeavesQuantityToTheDialog) {
    PickerRequest r = request(2);
    ASSERT_TRUE(acceptPick(r, data.AnyagTable(), prompt, windows));
    EXPECT_TRUE(r.chosen);
    ASSERT_EQ(windows.setups.size(), 1u);
    EXPECT_TRUE(windows.setups[0].afterPick);
    RecordCursor& l = doc.mszamla2;
    EXPECT_EQ(l.asFloat(L::EGYSEGAR), 90);
    EXPECT_EQ(l.asFloat(L::begysegar), 114.3);
    EXPECT_EQ(l.asFloat(L::ANYAGSZAM), 42);
    EXPECT_EQ(l.asString(L::cikkszam), QStringLiteral("C-42"));
    EXPECT_EQ(l.asString(L::ITJSZAM), QStringLiteral("8467"));
    EXPECT_EQ(l.asFloat(L::ARE), 120);
    EXPECT_EQ(l.asFloat(L::nbesz), 60);
    EXPECT_EQ(l.asFloat(mszamla2Fields::bbesz), 76.2);
    EXPECT_EQ(l.asInteger(L::ARCSOPORT), 2);
    EXPECT_TRUE(l.isNull(L::bar2));
    EXPECT_TRUE(l.isNull(L::MENNYISEG));
}

TEST_F(PickerTest, WithoutPriceLevelsEveryPickTakesTheFixedPrice) {
    PickerRequest r = request(pickPriceGroup(1, 0));
    ASSERT_TRUE(acceptPick(r, data.AnyagTable(), prompt, windows));
    EXPECT_EQ(doc.mszamla2.asFloat(L::EGYSEGAR), 120);
    EXPECT_EQ(doc.mszamla2.asFloat(L::begysegar), 152.4);
    EXPECT_EQ(doc.mszamla2.asInteger(L::ARCSOPORT), 4);
    EXPECT_EQ(pickPriceGroup(2, 1), 2);
}

TEST_F(PickerTest, RunningPromotionOverridesTheGroupPriceOnlyOnItsDays) {
    TableHandle& p = data.AnyagTable();
    p.edit();
    p.setFloat(A::AFAKULCS, 25);
    p.post();
    addPromotion(42, 1000, QDate(2008, 3, 1), QDate(2008, 3, 15));
    for (int group : {1, 3, 4}) {
        PickerRequest r = request(group);
        ASSERT_TRUE(acceptPick(r, p, prompt, windows));
        EXPECT_EQ(doc.mszamla2.asFloat(L::begysegar), 1000);
        EXPECT_EQ(doc.mszamla2.asFloat(L::EGYSEGAR), 800);
    }
    PickerRequest after = request(1);
    after.today = QDate(2008, 3, 16);
    ASSERT_TRUE(acceptPick(after, p, prompt, windows));
    EXPECT_EQ(doc.mszamla2.asFloat(L::EGYSEGAR), 100);
}

TEST_F(PickerTest, MissingPriceGroupIsAskedForAndNothingIsWritten) {
    PickerRequest r = request(0);
    EXPECT_FALSE(acceptPick(r, data.AnyagTable(), prompt, windows));
    EXPECT_FALSE(r.chosen);
    EXPECT_TRUE(windows.setups.empty());
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].text,
              QStringLiteral("Kérem  válassza ki,  melyik árcsoportban  kíván számlázni!\n\r\n\rAz árcsoportot az "
                             "\"ár 1\", \"ár 2\", \"ár 3\", vagy a \n\r\"Fix ár\" oszlop azonosítóra kattintva "
                             "választhatja ki."));
    EXPECT_TRUE(doc.mszamla2.isNull(L::ANYAGSZAM));
}

TEST_F(PickerTest, CancelledLineDialogKeepsThePickerOpenAndOtherCallersCloseAtOnce) {
    windows.line = [](RecordCursor&, const LineDialogSetup&) { return false; };
    PickerRequest r = request(1);
    EXPECT_FALSE(acceptPick(r, data.AnyagTable(), prompt, windows));
    EXPECT_FALSE(r.chosen);
    PickerRequest warranty{.mode = CallerMode::Warranty, .priceGroup = 1};
    EXPECT_TRUE(acceptPick(warranty, data.AnyagTable(), prompt, windows));
    EXPECT_EQ(windows.warrantyPicks, 1);
    PickerRequest book{.mode = CallerMode::BarcodeBook, .priceGroup = 1};
    EXPECT_TRUE(acceptPick(book, data.AnyagTable(), prompt, windows));
    EXPECT_TRUE(book.chosen);
}

class LineDialogTest : public PickerTest {
protected:
    // A picked line at 25 % and net 100 / gross 125.
    void picked() {
        request(1);
        RecordEdit e = RecordEdit::edit(doc.mszamla2);
        fillPickedLine(data.AnyagTable(), doc.mszamla2, 1, std::nullopt);
        doc.mszamla2.setFloat(L::AFA, 25);
        doc.mszamla2.setFloat(L::begysegar, 125);
        e.post();
    }
    LineDialogSetup setup(LineEditor editor = LineEditor::Invoice, bool negativeAllowed = true) {
        return {.editor = editor, .afterPick = true, .negativeStockAllowed = negativeAllowed};
    }
};

TEST_F(LineDialogTest, FiguresFollowTheLeadingPriceBoxAndTheQuantity) {
    picked();
    LineDialog d(doc.mszamla2, readLineProduct(data.dataFolder(), 42), prompt, setup());
    EXPECT_EQ(d.caption(), QStringLiteral("8467 - Fúrógép"));
    EXPECT_EQ(d.netText(), QStringLiteral("100"));
    EXPECT_EQ(d.grossText(), QStringLiteral("125"));
    EXPECT_EQ(d.vatPerUnit(), 25);
    d.typeQuantity(QStringLiteral("3"));
    EXPECT_EQ(d.netTotal(), 300);
    EXPECT_EQ(d.vatTotal(), 75);
    EXPECT_EQ(d.grossTotal(), 375);
    d.typeGross(QStringLiteral("99,99"));
    EXPECT_EQ(d.netText(), QStringLiteral("79,992"));
    d.typeNet(QStringLiteral("-"));
    EXPECT_EQ(d.grossText(), QStringLiteral("0"));
    EXPECT_EQ(d.grossTotal(), 0);
    d.typeNet(QStringLiteral("10,5"));
    d.typeRemark(QStringLiteral("ajándék"));
    ASSERT_TRUE(d.accept());
    RecordCursor& l = doc.mszamla2;
    EXPECT_EQ(l.asFloat(L::MENNYISEG), 3);
    EXPECT_EQ(l.asFloat(L::EGYSEGAR), 10.5);
    EXPECT_EQ(l.asFloat(L::begysegar), 13.125);
    EXPECT_EQ(l.asFloat(L::NETTOAR), 31.5);
    EXPECT_EQ(l.asFloat(L::OSSZESEN), 39.375);
    EXPECT_DOUBLE_EQ(l.asFloat(L::AFAFT), 7.875);
    EXPECT_EQ(l.asString(L::MEGJEGYZES), QStringLiteral("ajándék"));
}

TEST_F(LineDialogTest, EmptyOrZeroQuantityIsRefusedButZeroPointZeroPasses) {
    picked();
    LineDialog d(doc.mszamla2, readLineProduct(data.dataFolder(), 42), prompt, setup());
    for (const char* text : {"", "0", " 0 "}) {
        d.typeQuantity(QString::fromUtf8(text));
        EXPECT_FALSE(d.accept()) << text;
    }
    EXPECT_EQ(prompt.entries().size(), 3u);
    EXPECT_EQ(prompt.entries().back().text, QStringLiteral("A kiválasztott mennyiség nem lehet NULLA!"));
    EXPECT_TRUE(doc.mszamla2.isNull(L::MENNYISEG));
    d.typeQuantity(QStringLiteral("0,0"));
    EXPECT_TRUE(d.accept());
    EXPECT_EQ(doc.mszamla2.asFloat(L::NETTOAR), 0);
}

TEST_F(LineDialogTest, StockCheckWarnsForGoodsOnlyWhereNegativeStockIsForbidden) {
    picked();
    LineDialog strict(doc.mszamla2, readLineProduct(data.dataFolder(), 42), prompt, setup(LineEditor::Invoice, false));
    strict.typeQuantity(QStringLiteral("3"));
    EXPECT_FALSE(strict.leaveQuantity());
    EXPECT_FALSE(strict.enterInQuantity());
    EXPECT_FALSE(strict.accept());
    EXPECT_EQ(prompt.entries().back().text, QStringLiteral("Nincs ennyi termék a készleten!"));
    strict.typeQuantity(QStringLiteral("2"));
    EXPECT_TRUE(strict.leaveQuantity());
    EXPECT_TRUE(strict.enterInQuantity());
    const size_t messages = prompt.entries().size();
    // A goods receipt, an allowing workstation and a service pass.
    LineDialog receipt(doc.mszamla2, readLineProduct(data.dataFolder(), 42), prompt,
                       setup(LineEditor::GoodsReceipt, false));
    receipt.typeQuantity(QStringLiteral("30"));
    EXPECT_TRUE(receipt.leaveQuantity());
    EXPECT_FALSE(receipt.enterInQuantity());
    LineDialog allowed(doc.mszamla2, readLineProduct(data.dataFolder(), 42), prompt, setup());
    allowed.typeQuantity(QStringLiteral("30"));
    EXPECT_TRUE(allowed.enterInQuantity());
    addRow(43, QStringLiteral("Szerelés"), 0, QStringLiteral("Munkadíj"), {}, true);
    LineDialog service(doc.mszamla2, readLineProduct(data.dataFolder(), 43), prompt, setup(LineEditor::Offer, false));
    service.typeQuantity(QStringLiteral("3"));
    EXPECT_TRUE(service.leaveQuantity());
    EXPECT_EQ(prompt.entries().size(), messages);
}

// "Módosít" finds the line's own product, wherever the product list stands.
TEST_F(LineDialogTest, ChangingALineChecksTheStockOfTheLinesOwnProduct) {
    picked();
    addRow(50, QStringLiteral("Csavar"), 1000);  // the list now stands on another product
    LineDialogSetup change = setup(LineEditor::Invoice, false);
    change.afterPick = false;
    LineDialog d(doc.mszamla2, readLineProduct(data.dataFolder(), doc.mszamla2.asFloat(L::ANYAGSZAM)), prompt, change);
    d.typeQuantity(QStringLiteral("5"));
    EXPECT_FALSE(d.leaveQuantity());
    // A line whose product is gone is not checked and shows its own unit.
    EXPECT_FALSE(readLineProduct(data.dataFolder(), 77).has_value());
    LineDialog gone(doc.mszamla2, std::nullopt, prompt, change);
    gone.typeQuantity(QStringLiteral("5"));
    EXPECT_TRUE(gone.leaveQuantity());
    EXPECT_EQ(gone.unit(), QStringLiteral("db"));
}

TEST_F(LineDialogTest, ReceiptsArePricedAtThePurchasePriceAndOrdersStartAtZero) {
    picked();
    LineDialog receipt(doc.mszamla2, readLineProduct(data.dataFolder(), 42), prompt, setup(LineEditor::GoodsReceipt));
    EXPECT_EQ(receipt.netText(), QStringLiteral("60"));
    EXPECT_EQ(receipt.grossText(), QStringLiteral("76,2"));
    LineDialog order(doc.mszamla2, readLineProduct(data.dataFolder(), 42), prompt, setup(LineEditor::SupplierOrder));
    EXPECT_EQ(order.quantityText(), QStringLiteral("0"));
    EXPECT_FALSE(order.pricesShown());
}

TEST_F(PickerTest, WarrantyPickAddsOneLinePerWholePieceAndRefusesFractions) {
    MemTable gari2("gari2");
    gari2.copyStructure(data.Garancia2Table());
    WarrantyPick pick(data.AnyagTable(), 1, prompt);
    EXPECT_EQ(pick.quantityText(), QStringLiteral("0"));
    EXPECT_EQ(pick.netText(), QStringLiteral("100"));
    EXPECT_EQ(pick.grossText(), QStringLiteral("127"));
    EXPECT_FALSE(pick.accept(gari2, QStringLiteral("GAR2008/00001")));
    for (const char* text : {"1,5", "-2"}) {
        pick.typeQuantity(QString::fromUtf8(text));
        EXPECT_FALSE(pick.accept(gari2, QStringLiteral("GAR2008/00001")));
    }
    EXPECT_EQ(prompt.transcript().size(), 3);
    EXPECT_EQ(prompt.entries()[0].text, QStringLiteral("A kiválasztott mennyiség nem lehet NULLA!"));
    EXPECT_EQ(prompt.entries()[2].text, QStringLiteral("A mennyiség csak pozitív egész szám lehet!"));
    EXPECT_TRUE(gari2.isEmpty());
    pick.typeGross(QStringLiteral("100"));  // 100 / 1.27 = 78.74
    EXPECT_EQ(pick.netText(), QStringLiteral("78,74"));
    pick.typeQuantity(QStringLiteral("3"));
    EXPECT_EQ(pick.netTotal(), 236.22);
    EXPECT_EQ(pick.vatTotal(), 63.78);
    ASSERT_TRUE(pick.accept(gari2, QStringLiteral("GAR2008/00001")));
    EXPECT_EQ(gari2.recordCount(), 3u);
    for (gari2.first(); !gari2.eof(); gari2.next()) {
        EXPECT_EQ(gari2.asFloat(G::MENNYISEG), 1);
        EXPECT_EQ(gari2.asFloat(G::NETTO_AR), 78.74);
        EXPECT_EQ(gari2.asString(G::SORSZAM), QStringLiteral("GAR2008/00001"));
    }
}

}  // namespace
}  // namespace kavina::products
