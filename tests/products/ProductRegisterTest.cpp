#include <gtest/gtest.h>

#include <set>

#include "ProductFolder.h"
#include "foundation/CommandBoundary.h"
#include "foundation/SzamSzov.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;
namespace T = fields::Tranzakcio;

class ProductRegisterTest : public ProductFolder {
protected:
    std::unique_ptr<ProductWindow> window;

    void SetUp() override {
        ProductFolder::SetUp();
        window = std::make_unique<ProductWindow>(data, prompt, dialogs, desktop, options());
        window->open();
    }
    const RecordCursor& productNamed(const QString& name) {
        TableHandle& p = data.AnyagTable();
        p.refresh();
        p.setFiltered(false);
        EXPECT_TRUE(p.locate({{A::MEGNEVEZES, name}})) << name.toStdString();
        return p;
    }
    static documents::ReceivingValues received(double quantity, double purchase = 1000) {
        documents::ReceivingValues v;
        v.quantity = quantity;
        v.purchaseNet = purchase;
        v.purchaseGross = purchase * 1.27;
        v.fixedNet = purchase * 1.25;
        v.fixedGross = purchase * 1.25 * 1.27;
        v.multipliers = {25, 20, 10};
        return v;
    }
    int logRows() {
        data.tranzakcio().refresh();
        return int(data.tranzakcio().recordCount());
    }
};

TEST_F(ProductRegisterTest, CodesFollowTheCounterAndACopyRaisesItFirst) {
    dialogs.edits.push_back([](const ProductFields&) { return goods(QStringLiteral("Kalapács")); });
    ASSERT_TRUE(window->newProduct());
    EXPECT_EQ(productNamed(QStringLiteral("Kalapács")).asFloat(A::ANYAGKOD), 43);
    EXPECT_EQ(counter(), 42);
    window->selectTab(0);
    select(QStringLiteral("Kalapács"));
    ASSERT_TRUE(window->copy());
    EXPECT_EQ(counter(), 43);
    TableHandle& p = data.AnyagTable();
    p.setFiltered(false);
    p.setOrder(A::ANYAGKOD);
    p.last();
    EXPECT_EQ(p.asFloat(A::ANYAGKOD), 44);
    EXPECT_EQ(p.asString(A::MEGNEVEZES), QStringLiteral("Kalapács"));
    // Both ran the receiving dialog, which was cancelled.
    EXPECT_EQ(dialogs.calls, (QStringList{"edit:Új termék felvétele", "receive:Kalapács:1", "receive:Kalapács:1"}));
}

TEST_F(ProductRegisterTest, ACodeAlreadyInTheTableIsSkipped) {
    addRow(43, QStringLiteral("Régi termék"), 1);
    dialogs.edits.push_back([](const ProductFields&) { return goods(QStringLiteral("Új termék")); });
    ASSERT_TRUE(window->newProduct());
    EXPECT_EQ(productNamed(QStringLiteral("Új termék")).asFloat(A::ANYAGKOD), 44);
    EXPECT_EQ(counter(), 43);
}

TEST_F(ProductRegisterTest, TwoWorkstationsCreatingAndCopyingGetDistinctCodes) {
    addRow(10, QStringLiteral("Minta"), 1);
    TDataModule1 other;
    other.open(dir.path());
    ProductRegister here(
        data, prompt, [this] { return now; }, QStringLiteral("A"));
    ProductRegister there(
        other, prompt, [this] { return now; }, QStringLiteral("B"));
    ASSERT_TRUE(other.AnyagTable().locate({{A::MEGNEVEZES, QStringLiteral("Minta")}}));
    const std::optional<ProductRecord> source = there.current();
    ASSERT_TRUE(source);
    std::set<int64_t> codes;
    for (int i = 0; i < 3; ++i) {
        codes.insert(KerekitRound(here.create(goods(QStringLiteral("Új %1").arg(i)), 27).code));
        codes.insert(KerekitRound(there.copy(*source)->code));
    }
    EXPECT_EQ(codes.size(), 6u);
    EXPECT_EQ(*codes.begin(), 43);
    EXPECT_EQ(counter(), 47);
}

TEST_F(ProductRegisterTest, AMinimumOfZeroIsStoredEmpty) {
    dialogs.edits.push_back([](const ProductFields&) {
        ProductFields f = goods(QStringLiteral("Fogó"));
        f.minimum = 0;
        f.warranty = 365;
        return f;
    });
    window->newProduct();
    const RecordCursor& p = productNamed(QStringLiteral("Fogó"));
    EXPECT_TRUE(p.isNull(A::MINMENNY));
    EXPECT_EQ(p.asString(A::MINMENNY), QString());
    EXPECT_EQ(p.asInteger(A::szavatossag), 365);
    EXPECT_EQ(p.asFloat(A::MENNYISEG), 0);
    EXPECT_TRUE(p.isNull(A::FIXAR));  // prices stay empty until received
}

TEST_F(ProductRegisterTest, AtTwentyFivePercentNinetyNineNinetyNineBecomesAHundred) {
    // A 25 % group, as the VAT groups window would record it.
    TableHandle& vat = data.AFATable();
    vat.append();
    vat.setFloat(fields::AFA::AFA, 25);
    vat.setString(fields::AFA::MEGNEVEZES, QStringLiteral("25%"));
    vat.post();
    addRow(1, QStringLiteral("Csavar"), 5);
    window->selectTab(0);
    select(QStringLiteral("Csavar"));
    dialogs.edits.push_back([](ProductFields f) {
        f.vatGroup = QStringLiteral("25%");
        return f;
    });
    TableHandle& p = data.AnyagTable();
    p.edit();
    p.setFloat(A::AR1, 99.99);
    p.setFloat(A::AR2, 10.004);
    p.setFloat(A::BESZERZAR, 0);
    p.post();
    ASSERT_TRUE(window->modify());
    EXPECT_EQ(dialogs.calls, QStringList{"edit:Termék módosítása"});
    const RecordCursor& stored = productNamed(QStringLiteral("Csavar"));
    EXPECT_EQ(stored.asFloat(A::AFAKULCS), 25);
    EXPECT_EQ(stored.asFloat(A::bar1), 125);
    EXPECT_EQ(stored.asFloat(A::AR1), 100.0);
    EXPECT_EQ(stored.asFloat(A::bar2), 13);
    EXPECT_EQ(stored.asFloat(A::AR2), 10.4);
    EXPECT_EQ(stored.asFloat(A::bbesz), 0);
    EXPECT_EQ(stored.asFloat(A::BESZERZAR), 0);
}

TEST_F(ProductRegisterTest, AModifyOfAProductDeletedMeanwhileStoresNothing) {
    addRow(1, QStringLiteral("Első"), 5);
    addRow(2, QStringLiteral("Második"), 5);
    window->selectTab(0);
    select(QStringLiteral("Első"));
    dialogs.edits.push_back([this](ProductFields f) {
        // Another workstation deletes the product while the dialog is open.
        TDataModule1 other;
        other.open(dir.path());
        EXPECT_TRUE(other.AnyagTable().locate({{A::MEGNEVEZES, QStringLiteral("Első")}}));
        other.AnyagTable().deleteRecord();
        f.name = QStringLiteral("Átírt");
        return f;
    });
    EXPECT_FALSE(runCommand(prompt, [&] { window->modify(); }));
    EXPECT_EQ(prompt.transcript(),
              QStringList{"message|warning|Figyelem!|A terméket közben egy másik munkaállomás törölte."});
    EXPECT_EQ(listed(), QStringList{"Második"});
    EXPECT_EQ(productNamed(QStringLiteral("Második")).asFloat(A::ANYAGKOD), 2);
}

TEST_F(ProductRegisterTest, AModifyAsksBeforeOverwritingAChangeMadeElsewhere) {
    addRow(1, QStringLiteral("Első"), 5);
    window->selectTab(0);
    for (const bool overwrite : {false, true}) {
        select(overwrite ? QStringLiteral("Elsô") : QStringLiteral("Első"));
        dialogs.edits.push_back([this, overwrite](ProductFields f) {
            // Another workstation renames the product while the dialog is open.
            TDataModule1 other;
            other.open(dir.path());
            EXPECT_TRUE(other.AnyagTable().locate({{A::ANYAGKOD, QStringLiteral("1")}}));
            other.AnyagTable().edit();
            other.AnyagTable().setString(A::MEGNEVEZES, overwrite ? QStringLiteral("Más") : QStringLiteral("Elsô"));
            other.AnyagTable().post();
            f.statNumber = QStringLiteral("3214");
            return f;
        });
        prompt.answerYesNo(overwrite);
        EXPECT_EQ(window->modify(), overwrite);
        // Declined, nothing is stored; accepted, the dialog's fields overwrite the other's name.
        EXPECT_EQ(productNamed(QStringLiteral("Elsô")).asString(A::ITJSZAM),
                  overwrite ? QStringLiteral("3214") : QString());
    }
    EXPECT_EQ(prompt.transcript(),
              QStringList({"yes/no|warning|Figyelem!|A terméket közben egy másik munkaállomás módosította:\n"
                           "Megnevezés: Első → Elsô\nFelülírja ezeket a változásokat?",
                           "yes/no|warning|Figyelem!|A terméket közben egy másik munkaállomás módosította:\n"
                           "Megnevezés: Elsô → Más\nFelülírja ezeket a változásokat?"}));
}

// Receiving at another workstation while the product dialog is open moves only the stock, which
// the dialog never writes: the save asks nothing and keeps the new stock.
TEST_F(ProductRegisterTest, AStockMovementElsewhereIsNoConflictForTheProductDialog) {
    addRow(1, QStringLiteral("Első"), 5);
    window->selectTab(0);
    select(QStringLiteral("Első"));
    dialogs.edits.push_back([this](ProductFields f) {
        TDataModule1 other;
        other.open(dir.path());
        EXPECT_TRUE(other.AnyagTable().locate({{A::ANYAGKOD, QStringLiteral("1")}}));
        other.AnyagTable().edit();
        other.AnyagTable().setFloat(A::MENNYISEG, 12);
        other.AnyagTable().post();
        f.statNumber = QStringLiteral("3214");
        return f;
    });
    EXPECT_TRUE(window->modify());
    EXPECT_EQ(prompt.transcript(), QStringList());
    EXPECT_EQ(productNamed(QStringLiteral("Első")).asString(A::ITJSZAM), QStringLiteral("3214"));
    EXPECT_EQ(productNamed(QStringLiteral("Első")).asFloat(A::MENNYISEG), 12);
}

TEST_F(ProductRegisterTest, DeleteBinsOnEveryTabButTheBinWhereItIsFinal) {
    addRow(1, QStringLiteral("Fűrész"), 5, QStringLiteral("Kéziszerszám"));
    window->selectTab(0);
    select(QStringLiteral("Fűrész"));
    prompt.answerYesNo(true);
    ASSERT_TRUE(window->remove());
    EXPECT_EQ(listed(), QStringList());
    window->selectTab(int(ProductTab::Bin));
    EXPECT_EQ(listed(), QStringList{"Fűrész"});
    // Back from the bin only by giving it a category again.
    dialogs.edits.push_back([](ProductFields f) {
        EXPECT_EQ(f.category, QStringLiteral("Lomtár"));
        f.category = QStringLiteral("Kerti");
        return f;
    });
    ASSERT_TRUE(window->modify());
    window->selectTab(0);
    EXPECT_EQ(listed(), QStringList{"Fűrész"});
    prompt.answerYesNo(true);
    window->remove();
    window->selectTab(int(ProductTab::Bin));
    prompt.answerYesNo(false);
    EXPECT_FALSE(window->remove());
    prompt.answerYesNo(true);
    ASSERT_TRUE(window->remove());
    data.AnyagTable().setFiltered(false);
    EXPECT_TRUE(data.AnyagTable().isEmpty());
    EXPECT_EQ(
        prompt.transcript(),
        (QStringList{"yes/no|question|Figyelem!|Biztos, hogy lomtárba szeretné tenni a kiválasztott tételt?",
                     "yes/no|question|Figyelem!|Biztos, hogy lomtárba szeretné tenni a kiválasztott tételt?",
                     "yes/no|question|Figyelem!|Biztos, hogy véglegesen törölni szeretné a kiválasztott tételt?",
                     "yes/no|question|Figyelem!|Biztos, hogy véglegesen törölni szeretné a kiválasztott tételt?"}));
}

TEST_F(ProductRegisterTest, ReceivingAndIssueLogTheirMovementsAndKeepTheOutOfStockFlag) {
    addRow(1, QStringLiteral("Szeg"), 0);
    window->selectTab(0);
    select(QStringLiteral("Szeg"));
    dialogs.receipts.push_back(received(2.5));
    ASSERT_TRUE(window->receive());
    EXPECT_EQ(productNamed(QStringLiteral("Szeg")).asFloat(A::MENNYISEG), 2.5);
    EXPECT_FALSE(productNamed(QStringLiteral("Szeg")).asLogical(A::NINCSANYAG));
    EXPECT_EQ(productNamed(QStringLiteral("Szeg")).asFloat(A::FIXAR), 1250);
    window->selectTab(0);
    select(QStringLiteral("Szeg"));
    dialogs.issues.push_back(2.5);
    ASSERT_TRUE(window->issue());
    EXPECT_EQ(productNamed(QStringLiteral("Szeg")).asFloat(A::MENNYISEG), 0);
    EXPECT_TRUE(productNamed(QStringLiteral("Szeg")).asLogical(A::NINCSANYAG));

    TableHandle& log = data.tranzakcio();
    log.refresh();
    ASSERT_EQ(log.recordCount(), 2u);
    log.first();
    EXPECT_EQ(log.asString(T::tipus), QStringLiteral("LTM"));
    EXPECT_EQ(log.asFloat(T::mennyiseg), 2.5);
    EXPECT_EQ(log.asString(T::cikkszam), QStringLiteral("C-1"));
    EXPECT_EQ(log.asString(T::tetel), QStringLiteral("Szeg"));
    EXPECT_EQ(log.asInteger(T::partner), -1);
    EXPECT_EQ(log.asString(T::bizonylat), QString());
    EXPECT_EQ(log.asString(T::ugyintezo), QStringLiteral("Kovács Anna"));
    EXPECT_EQ(log.asString(T::ido), QStringLiteral("10:15:30"));
    log.next();
    EXPECT_EQ(log.asString(T::tipus), QStringLiteral("LHM"));
    EXPECT_EQ(log.asFloat(T::mennyiseg), 2.5);  // issues are logged as positive quantities
}

TEST_F(ProductRegisterTest, ACancelledDialogWritesNoLogRowButTheFlagFollowsTheStock) {
    addRow(1, QStringLiteral("Szeg"), 0);
    TableHandle& p = data.AnyagTable();
    select(QStringLiteral("Szeg"));
    p.edit();
    p.setLogical(A::NINCSANYAG, false);
    p.post();
    window->selectTab(0);
    select(QStringLiteral("Szeg"));
    EXPECT_FALSE(window->receive());
    EXPECT_TRUE(productNamed(QStringLiteral("Szeg")).asLogical(A::NINCSANYAG));
    EXPECT_EQ(logRows(), 0);
}

TEST_F(ProductRegisterTest, CancellingTheReceivingOfANewProductLeavesItEmpty) {
    dialogs.edits.push_back([](const ProductFields&) { return goods(QStringLiteral("Véső")); });
    ASSERT_TRUE(window->newProduct());
    const RecordCursor& p = productNamed(QStringLiteral("Véső"));
    EXPECT_EQ(p.asFloat(A::MENNYISEG), 0);
    EXPECT_TRUE(p.isNull(A::BESZERZAR));
    EXPECT_TRUE(p.isNull(A::bfixar));
    EXPECT_EQ(logRows(), 0);
}

TEST_F(ProductRegisterTest, ANewServiceTakesItsPricesWithUnroundedGrossForms) {
    window->selectTab(int(ProductTab::Services));
    dialogs.edits.push_back([](const ProductFields& start) {
        EXPECT_TRUE(start.service);
        EXPECT_EQ(start.vatGroup, QStringLiteral("27%"));  // the first group: no afakulcs setting
        return service(QStringLiteral("Kiszállás"), {1000.5, 900, 800, 1200});
    });
    ASSERT_TRUE(window->newService());
    EXPECT_EQ(dialogs.calls, QStringList{"edit:Új szolgáltatás felvétele"});  // no receiving
    const RecordCursor& p = productNamed(QStringLiteral("Kiszállás"));
    EXPECT_TRUE(p.asLogical(A::TERMEK));
    EXPECT_EQ(p.asFloat(A::AR1), 1000.5);
    EXPECT_EQ(p.asFloat(A::bar1), 1000.5 * 127 / 100);
    EXPECT_EQ(p.asFloat(A::bfixar), 1524);
    EXPECT_EQ(currentName(), QStringLiteral("Kiszállás"));
}

TEST_F(ProductRegisterTest, ServicesAreNeitherReceivedNorIssued) {
    addRow(1, QStringLiteral("Szerelés"), 0, QStringLiteral("Munkadíj"), QString(), true);
    window->selectTab(int(ProductTab::Services));
    EXPECT_FALSE(window->receive());
    EXPECT_FALSE(window->issue());
    EXPECT_TRUE(dialogs.calls.isEmpty());
}

TEST_F(ProductRegisterTest, WithoutTheRightsLettersTheOperationsDoNothing) {
    addRow(1, QStringLiteral("Szeg"), 3);
    ProductWindow limited(data, prompt, dialogs, desktop, options(QStringLiteral("TV")));
    limited.open();
    EXPECT_FALSE(limited.canModify());
    EXPECT_TRUE(limited.canReprice());
    EXPECT_FALSE(limited.canDelete());
    EXPECT_FALSE(limited.newProduct());
    EXPECT_FALSE(limited.newService());
    EXPECT_FALSE(limited.modify());
    EXPECT_FALSE(limited.copy());
    EXPECT_FALSE(limited.remove());
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(ProductRegisterTest, AnEmptyListOffersNothingToActOn) {
    EXPECT_TRUE(window->listEmpty());
    EXPECT_FALSE(window->modify());
    EXPECT_FALSE(window->copy());
    EXPECT_FALSE(window->remove());
    EXPECT_FALSE(window->receive());
    EXPECT_FALSE(window->issue());
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(ProductRegisterTest, WhileAGoodsReceiptIsMadeTheReceivingChangesPricesOnly) {
    addRow(1, QStringLiteral("Szeg"), 3);
    ProductWindowOptions o = options();
    o.goodsReceiptInProgress = [] { return true; };
    ProductWindow window2(data, prompt, dialogs, desktop, o);
    window2.open();
    select(QStringLiteral("Szeg"));
    window2.receive();
    EXPECT_EQ(dialogs.calls, QStringList{"receive:Szeg:0"});
}

TEST_F(ProductRegisterTest, AFolderWithoutTheStockLogIsToldAndNothingMoves) {
    addRow(1, QStringLiteral("Szeg"), 3);
    window->selectTab(0);
    select(QStringLiteral("Szeg"));
    data.closeTable(TableId::Tranzakcio);
    dialogs.receipts.push_back(received(5));
    EXPECT_FALSE(window->receive());
    EXPECT_EQ(productNamed(QStringLiteral("Szeg")).asFloat(A::MENNYISEG), 3);
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].text, kNoStockLogMessage);
}

}  // namespace
}  // namespace kavina::products
