#include "documents/sales/Cancellation.h"

#include <gtest/gtest.h>

#include "SalesFolder.h"
#include "dbase/DbError.h"

namespace kavina::documents {
namespace {

class RecordingCancelPrinter : public CancelCopyPrinter {
public:
    void printCopy(const CancelTarget& document, CancelMode, CancelKind kind, const QString& label) override {
        printed << QStringLiteral("%1 %2 %3")
                       .arg(document.number, kind == CancelKind::Storno ? "storno" : "rontott", label);
    }
    QStringList printed;
};

class CancellationTest : public SalesFolder {
protected:
    std::unique_ptr<DocumentCancellation> cancellation;
    RecordingCancelPrinter printer;

    void SetUp() override {
        SalesFolder::SetUp();
        cancellation = std::make_unique<DocumentCancellation>(data, std::chrono::milliseconds(50));
    }
    bool run(const QString& number, CancelMode mode, CancelKind kind, std::optional<int> copies = std::nullopt) {
        const auto target = cancellation->find(number);
        EXPECT_TRUE(target) << number.toStdString();
        if (copies) prompt.answerCopies(*copies);
        return cancellation->run(*target, mode, kind, prompt, printer);
    }
};

TEST_F(CancellationTest, StornoReturnsTheStockOnceAndPrintsMarkedCopies) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    addProduct(2, QStringLiteral("Szerelés"), 0, 27, true);
    const StoredSale sale = storeSale(
        SalesMode::Invoice, {{1, QStringLiteral("Csavar"), 3}, {2, QStringLiteral("Szerelés"), 1, 5000, true}});
    ASSERT_EQ(stockOf(1), 7);
    EXPECT_TRUE(run(sale.number, CancelMode::Invoice, CancelKind::Storno, 2));
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(stockOf(2), 0);
    EXPECT_EQ(typeAndState(sale.number), QStringLiteral("S|"));
    EXPECT_EQ(prompt.entries().front().detail, QStringLiteral("2"));  // the settings' copies
    EXPECT_EQ(printer.printed, QStringList({QStringLiteral("SZA2008/00001 storno Másolati példány"),
                                            QStringLiteral("SZA2008/00001 storno Másolati példány")}));

    // A second storno of it is refused; the stock is not returned twice.
    EXPECT_FALSE(run(sale.number, CancelMode::Invoice, CancelKind::Storno));
    EXPECT_EQ(prompt.entries().back().text, kAlreadyCancelled);
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(typeAndState(sale.number), QStringLiteral("S|"));
}

TEST_F(CancellationTest, ADocumentOfAnotherKindTypedByNumberIsRefused) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    TableHandle& h = data.SzamlaTable();
    h.append();
    h.setString(fields::Szamla::SZAMLASZAM, QStringLiteral("BSZ2008/00001"));
    h.setString(fields::Szamla::SZAMLATIP, QStringLiteral("3"));  // a goods receipt
    h.post();
    TableHandle& l = data.Szamla2Table();
    l.append();
    l.setString(fields::Szamla2::SZAMLASZAM, QStringLiteral("BSZ2008/00001"));
    l.setFloat(fields::Szamla2::ANYAGSZAM, 1);
    l.setFloat(fields::Szamla2::MENNYISEG, 5);
    l.post();
    EXPECT_FALSE(run(QStringLiteral("BSZ2008/00001"), CancelMode::Invoice, CancelKind::Storno));
    EXPECT_EQ(prompt.entries().back().text, kCannotStorno);
    EXPECT_FALSE(run(QStringLiteral("BSZ2008/00001"), CancelMode::DeliveryNote, CancelKind::Spoil));
    EXPECT_EQ(prompt.entries().back().text, kCannotSpoil);
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(typeAndState(QStringLiteral("BSZ2008/00001")), QStringLiteral("3|"));
    EXPECT_FALSE(cancellation->find(QStringLiteral("SZA2008/09999")));
}

TEST_F(CancellationTest, TheRegisterOpensTheModeOfTheTypeAndRefusesToSpoilAnOffer) {
    EXPECT_EQ(cancelModeOf(QChar('B'), CancelKind::Storno), CancelMode::Invoice);
    EXPECT_EQ(cancelModeOf(QChar('J'), CancelKind::Spoil), CancelMode::Invoice);
    EXPECT_EQ(cancelModeOf(QChar('F'), CancelKind::Spoil), CancelMode::DeliveryNote);
    EXPECT_EQ(cancelModeOf(QChar('1'), CancelKind::Storno), CancelMode::CashSale);
    EXPECT_EQ(cancelModeOf(QChar('P'), CancelKind::Storno), CancelMode::Invoice);
    EXPECT_EQ(cancelModeOf(QChar('P'), CancelKind::Spoil), std::nullopt);
    EXPECT_EQ(cancelModeOf(QChar('A'), CancelKind::Spoil), std::nullopt);
    EXPECT_EQ(DocumentCancellation::refusal(QChar('A'), {}, CancelMode::Invoice, CancelKind::Spoil), kCannotSpoil);
    EXPECT_EQ(
        DocumentCancellation::refusal(QChar('B'), QStringLiteral("rontott"), CancelMode::Invoice, CancelKind::Storno),
        kAlreadyCancelled);
}

TEST_F(CancellationTest, SpoilingACashSaleStoresTheChangeAndPrintsNothing) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    const StoredSale sale = storeSale(SalesMode::CashSale, {{1, QStringLiteral("Csavar"), 2}});
    EXPECT_TRUE(run(sale.number, CancelMode::CashSale, CancelKind::Spoil));
    EXPECT_EQ(typeAndState(sale.number), QStringLiteral("2|rontott"));
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_TRUE(printer.printed.isEmpty());
    EXPECT_TRUE(prompt.entries().empty());  // not even the copies dialog
}

TEST_F(CancellationTest, StornoOfACorrectiveUndoesItsOwnStockEffect) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    const StoredSale sale =
        storeSale(SalesMode::Corrective, {{1, QStringLiteral("Csavar"), -3}, {1, QStringLiteral("Csavar"), 2}});
    ASSERT_EQ(stockOf(1), 11);
    EXPECT_TRUE(run(sale.number, CancelMode::Invoice, CancelKind::Storno, 0));
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_TRUE(printer.printed.isEmpty());
}

TEST_F(CancellationTest, AProformaIsCancelledWithoutMovingStock) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    const StoredSale sale = storeSale(SalesMode::Proforma, {{1, QStringLiteral("Csavar"), 4}});
    EXPECT_TRUE(run(sale.number, CancelMode::Invoice, CancelKind::Storno, 1));
    EXPECT_EQ(typeAndState(sale.number), QStringLiteral("Q|"));
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(printer.printed.size(), 1);
}

TEST_F(CancellationTest, AFailureOnTheSecondLineLeavesStockAndTypeUnchanged) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    const ProductRecord held = addProduct(2, QStringLiteral("Anya"), 10);
    const StoredSale sale =
        storeSale(SalesMode::Invoice, {{1, QStringLiteral("Csavar"), 3}, {2, QStringLiteral("Anya"), 1}});
    {
        TableHandle other(dir.path(), "Anyag.dbf");  // another workstation holds the second product
        other.open();
        ASSERT_TRUE(other.gotoBookmark({held.recNo}));
        other.edit();
        EXPECT_THROW(run(sale.number, CancelMode::Invoice, CancelKind::Storno), dbase::DbError);
        other.cancel();
    }
    EXPECT_EQ(stockOf(1), 7);
    EXPECT_EQ(stockOf(2), 9);
    EXPECT_EQ(typeAndState(sale.number), QStringLiteral("B|"));
    EXPECT_TRUE(run(sale.number, CancelMode::Invoice, CancelKind::Storno, 0));
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(stockOf(2), 10);
}

}  // namespace
}  // namespace kavina::documents
