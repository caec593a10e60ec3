// The warranty certificate editor: lines from an invoice, the dates it proposes, the copies
// dialog that keeps the editor open, and a modification that replaces the stored certificate
// under its number, asking first when another workstation changed it.

#include <gtest/gtest.h>

#include "SalesFolder.h"
#include "documents/warranty/WarrantyEditor.h"
#include "documents/warranty/WarrantyPrint.h"
#include "foundation/RecordEdit.h"

namespace kavina::documents {
namespace {

namespace G = fields::Garancia;
namespace L = fields::Garancia2;
namespace U = fields::User;

class ScriptedWarrantyWindows : public WarrantyWindows {
public:
    bool pickPartner() override { return false; }
    std::optional<QString> pickInvoice() override { return invoice; }
    bool pickLines(WarrantyDocument&) override { return false; }
    void preview(const WarrantyDocument&) override {}
    void print(const QString& number, int copies) override { printed.push_back({number, copies}); }

    std::optional<QString> invoice;
    std::vector<std::pair<QString, int>> printed;
};

class WarrantyTest : public SalesFolder {
protected:
    void SetUp() override {
        SalesFolder::SetUp();
        TableHandle& settings = data.UserTable();
        settings.first();
        RecordEdit edit = RecordEdit::edit(settings);
        settings.setString(U::GELO, QStringLiteral("GAR"));
        settings.setInteger(U::GARLEVSZAM, 3);
        settings.setInteger(U::PRNGARANC, 1);
        edit.post();
    }
    WarrantyEditor editor(QDate today = QDate(2008, 3, 10)) {
        return WarrantyEditor({data, prompt, windows, QStringLiteral("Kovács Anna"), [today] { return today; }});
    }
    QStringList lines(MemTable& memory) {
        QStringList out;
        for (memory.first(); !memory.eof(); memory.next())
            out << memory.asString(L::MEGNEVEZES).trimmed() + " " + memory.asString(L::NETTO_AR).trimmed();
        return out;
    }
    // The stored lines of a certificate, as "name serial".
    QStringList storedLines(const QString& number) {
        TableHandle own(dir.path(), std::string(L::kTable));
        own.open();
        QStringList out;
        for (own.first(); !own.eof(); own.next())
            if (own.asString(L::SORSZAM).trimmed() == number)
                out << (own.asString(L::MEGNEVEZES).trimmed() + " " + own.asString(L::GYARISZAM).trimmed()).trimmed();
        own.close();
        return out;
    }
    int counter() {
        data.UserTable().refresh();
        data.UserTable().first();
        return int(data.UserTable().asInteger(U::GARLEVSZAM));
    }

    ScriptedWarrantyWindows windows;
};

TEST_F(WarrantyTest, AnInvoiceGivesOneLinePerWholePieceOfItsGoodsHalvesToEven) {
    for (int code = 1; code <= 5; ++code) addProduct(code, QStringLiteral("Termék %1").arg(code), 10);
    const StoredSale sale = storeSale(
        SalesMode::Invoice,
        {{1, "A", 3, 1000.5}, {2, "B", 1.5, 1001.5}, {3, "C", 2.5}, {4, "D", 3.5}, {5, "Kiszállás", 2, 5000, true}});
    auto w = editor();
    w.openNew();
    windows.invoice = sale.number;
    ASSERT_TRUE(w.pickInvoice());
    MemTable& h = w.document().gari;
    EXPECT_EQ(h.asString(G::SZAMLASZAM).trimmed(), sale.number);
    EXPECT_EQ(h.asString(G::NEV).trimmed(), "Mérleg Kft.");
    EXPECT_EQ(lines(w.document().gari2), QStringList({"A 1000", "A 1000", "A 1000", "B 1002", "B 1002", "C 1000",
                                                      "C 1000", "D 1000", "D 1000", "D 1000", "D 1000"}));
}

TEST_F(WarrantyTest, ANewCertificateProposesTodayAndAYearAndLongerForDearOrLongLivedGoods) {
    auto w = editor();
    w.openNew();
    MemTable& h = w.document().gari;
    EXPECT_EQ(h.asString(G::SORSZAM).trimmed(), "GAR2008/00003");
    EXPECT_EQ(h.asDate(G::VASARLAS), QDate(2008, 3, 10));
    EXPECT_EQ(h.asDate(G::GARKEZD), QDate(2008, 3, 10));
    EXPECT_EQ(h.asDate(G::GARLEJAR), QDate(2009, 3, 10));
    EXPECT_EQ(h.asDate(G::TULJAV), QDate(2009, 3, 10));

    auto leap = editor(QDate(2008, 2, 29));
    leap.openNew();
    EXPECT_EQ(leap.document().gari.asDate(G::GARLEJAR), QDate(2009, 2, 28));

    // 100 000 Ft net at 27 % is above 100 000 Ft gross: two years by law.
    addProduct(7, "Mosógép", 5);
    const StoredSale dear = storeSale(SalesMode::Invoice, {{7, "Mosógép", 1, 100000}});
    windows.invoice = dear.number;
    ASSERT_TRUE(w.pickInvoice());
    EXPECT_EQ(h.asDate(G::GARLEJAR), QDate(2010, 3, 10));

    // The product's own warranty in days, where set, counts.
    TableHandle& products = data.AnyagTable();
    ASSERT_TRUE(products.locate({{fields::Anyag::ANYAGKOD, QStringLiteral("7")}}));
    {
        RecordEdit edit = RecordEdit::edit(products);
        products.setInteger(fields::Anyag::szavatossag, 1100);
        edit.post();
    }
    ASSERT_TRUE(w.pickInvoice());
    EXPECT_EQ(h.asDate(G::GARLEJAR), QDate(2008, 3, 10).addDays(1100));

    // A date the clerk typed stays.
    h.edit();
    h.setDate(G::GARLEJAR, QDate(2008, 9, 1));
    h.post();
    w.endDateTyped();
    ASSERT_TRUE(w.pickInvoice());
    EXPECT_EQ(h.asDate(G::GARLEJAR), QDate(2008, 9, 1));
}

TEST_F(WarrantyTest, LeavingTheCopiesDialogKeepsTheEditorAndItsLinesAndStoresNothing) {
    addProduct(1, "A", 10);
    windows.invoice = storeSale(SalesMode::Invoice, {{1, "A", 2}}).number;
    auto w = editor();
    w.openNew();
    ASSERT_TRUE(w.pickInvoice());
    prompt.answerCopies(std::nullopt);
    EXPECT_FALSE(w.save());
    EXPECT_EQ(lines(w.document().gari2).size(), 2);
    EXPECT_EQ(counter(), 3);
    EXPECT_TRUE(storedLines("GAR2008/00003").isEmpty());

    prompt.answerCopies(2);
    ASSERT_TRUE(w.save());
    EXPECT_EQ(counter(), 4);
    EXPECT_EQ(storedLines("GAR2008/00003"), QStringList({"A", "A"}));
    EXPECT_EQ(windows.printed, (std::vector<std::pair<QString, int>>{{"GAR2008/00003", 2}}));
    EXPECT_TRUE(w.leave());
}

TEST_F(WarrantyTest, AModificationReplacesTheStoredCertificateUnderItsNumber) {
    addProduct(1, "A", 10);
    windows.invoice = storeSale(SalesMode::Invoice, {{1, "A", 2}}).number;
    auto first = editor();
    first.openNew();
    ASSERT_TRUE(first.pickInvoice());
    prompt.answerCopies(0);
    ASSERT_TRUE(first.save());

    auto change = editor();
    ASSERT_TRUE(change.openStored("GAR2008/00003"));
    prompt.answerText(QStringLiteral("SN-1"));
    change.editSerial();
    prompt.answerCopies(0);
    ASSERT_TRUE(change.save());
    EXPECT_EQ(storedLines("GAR2008/00003"), QStringList({"A SN-1", "A"}));
    EXPECT_EQ(counter(), 4) << "a modification takes no number";

    // Another workstation changes it while this editor has it open: asked, and No keeps theirs.
    auto stale = editor();
    ASSERT_TRUE(stale.openStored("GAR2008/00003"));
    auto other = editor();
    ASSERT_TRUE(other.openStored("GAR2008/00003"));
    prompt.answerYesNo(true);
    other.deleteLine();
    prompt.answerCopies(0);
    ASSERT_TRUE(other.save());
    prompt.answerCopies(0);
    prompt.answerYesNo(false);
    EXPECT_FALSE(stale.save());
    EXPECT_EQ(prompt.entries().back().text,
              "A(z) GAR2008/00003 számú garancialevelet közben egy másik munkaállomás módosította. Felülírja a "
              "változásait?");
    EXPECT_EQ(storedLines("GAR2008/00003").size(), 1);
}

TEST_F(WarrantyTest, ThePrintedCertificateHasTheSellerTheBuyerTheDatesAndALineAPiece) {
    addProduct(1, "A", 10);
    windows.invoice = storeSale(SalesMode::Invoice, {{1, "Fúrógép", 2, 15000}}).number;
    auto w = editor();
    w.openNew();
    ASSERT_TRUE(w.pickInvoice());
    WarrantySeller seller{"Minta Kft.", {}, "Szeged", {}, "11111111-22222222", "12345678-2-06", "Feltételek", {}, {}};
    const auto layout = TGaranciar(w.document(), seller, "Kovács Anna", "www.pelda.hu");
    const report::PreparedReport pages = layout->prepare();
    ASSERT_EQ(pages.pageCount(), 1);
    const QStringList title = pages.texts(0, "Title");
    for (const char* text : {"Garancia levél", "Az eladó adatai ", " A vevő adatai ", "Minta Kft.", "Mérleg Kft.",
                             "2008.03.10", "2009.03.10", "GAR2008/00003"})
        EXPECT_TRUE(title.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(pages.bands(0, "Detail").size(), 2u);
    EXPECT_TRUE(pages.texts(0, "PageFooter").contains("Készítette: Kovács Anna"));
    EXPECT_TRUE(pages.texts(0, "Summary").contains("Feltételek"));
}

}  // namespace
}  // namespace kavina::documents
