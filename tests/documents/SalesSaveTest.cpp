#include "documents/sales/SalesSave.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "SalesFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace T = fields::Tranzakcio;
namespace U = fields::User;

const QDateTime kSaved(QDate(2008, 3, 10), QTime(14, 30, 5));

using Line = SaleLine;

// Records every copy with the PRINT value the stored header held when it was printed.
class RecordingPrinter : public SalesCopyPrinter {
public:
    explicit RecordingPrinter(const std::string& folder) : m_headers(folder, "Szamla.dbf") { m_headers.open(); }
    void printCopy(const StoredSale& sale, SalesMode, const QString& copyLabel, int) override {
        if (failing) throw std::runtime_error("the printer is out of paper");
        m_headers.refresh();
        m_headers.gotoBookmark({sale.headerRecNo});
        printed << QStringLiteral("%1 %2 %3")
                       .arg(copyLabel, m_headers.asString(H::SZAMLASZAM).trimmed(),
                            QString::number(m_headers.asInteger(H::PRINT)));
    }
    QStringList printed;
    bool failing = false;

private:
    TableHandle m_headers;
};

class SalesSaveTest : public SalesFolder {
protected:
    MemoryDocument doc;
    std::unique_ptr<SalesStore> store;
    std::unique_ptr<RecordingPrinter> printer;

    void SetUp() override {
        SalesFolder::SetUp();
        TableHandle& settings = data.UserTable();
        settings.first();
        settings.edit();
        settings.setString(U::MEGJEGYZES, QStringLiteral("1"));  // the copies of cash-register sales
        settings.post();
        store = makeStore();
        printer = std::make_unique<RecordingPrinter>(dir.path());
    }

    std::unique_ptr<SalesStore> makeStore(bool serviceMenu = false) {
        SalesSaveContext context{data, ini, iniSettings, QStringLiteral("Kovács Anna"), serviceMenu};
        context.now = [] { return kSaved; };
        context.lockPatience = std::chrono::milliseconds(50);
        return std::make_unique<SalesStore>(context);
    }

    void header(const QString& method = QStringLiteral("Készpénz"), const QDate& issued = kSaved.date(),
                const QDate& due = kSaved.date()) {
        MemTable& h = doc.mszamla;
        h.emptyTable();
        h.append();
        h.setInteger(H::PARTNERKOD, 12);
        h.setString(H::NEV, QStringLiteral("Mérleg Kft."));
        h.setString(H::VAROS, QStringLiteral("Budapest"));
        h.setString(H::CIM, QStringLiteral("Fő utca 1."));
        h.setString(H::FIZMOD, method);
        h.setDate(H::KIALLIT, issued);
        h.setDate(H::TELJESIT, issued);
        h.setDate(H::FIZHAT, due);
        h.post();
    }
    void lines(MemTable& into, const std::vector<Line>& specs) {
        for (const Line& spec : specs) {
            into.append();
            into.setFloat(L::ANYAGSZAM, spec.code);
            into.setString(L::MEGNEVEZES, spec.name);
            into.setFloat(L::MENNYISEG, spec.quantity);
            into.setFloat(L::EGYSEGAR, spec.unitNet);
            into.setFloat(L::AFA, 27);
            into.setLogical(L::TERMEK, spec.service);
            if (into.has(L::nbesz)) into.setFloat(L::nbesz, 600);  // the source's stock lines hold fewer fields
            if (into.has(L::cikkszam)) into.setString(L::cikkszam, QStringLiteral("C-%1").arg(spec.code));
            into.post();
        }
    }

    std::optional<StoredSale> save(SalesMode mode, int copies, const SalesSource& source = {}) {
        prompt.answerCopies(copies);
        return store->save(doc, mode, source, prompt, *printer);
    }

    // Rows of a table, each as the texts of the fields asked for.
    QStringList rows(const char* table, const std::vector<Field>& shown) {
        TableHandle t(dir.path(), table);
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next()) {
            QStringList values;
            for (const Field& f : shown) values << t.asString(f).trimmed();
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }
    int64_t counter(const Field& field) {
        TableHandle& s = data.UserTable();
        s.refresh();
        s.first();
        return s.asInteger(field);
    }
    // A stored delivery note to invoice, with its lines.
    void storedDeliveryNote(const QString& number, const std::vector<Line>& specs, const QString& state = {}) {
        TableHandle& h = data.SzamlaTable();
        h.append();
        h.setString(H::SZAMLASZAM, number);
        h.setString(H::SZAMLATIP, QStringLiteral("F"));
        h.setString(H::ALLAPOT, state);
        h.post();
        lines(doc.mData2, specs);
    }
};

TEST_F(SalesSaveTest, ChecksComeInOrderWithTheirMessagesAndFocus) {
    header(QStringLiteral("Készpénz"), kSaved.date(), kSaved.date().addDays(8));
    std::optional<SaveFocus> focus;
    EXPECT_FALSE(store->save(doc, SalesMode::Invoice, {}, prompt, *printer, &focus));
    EXPECT_EQ(focus, SaveFocus::PaymentMethod);

    header(QString());
    EXPECT_FALSE(store->save(doc, SalesMode::Corrective, {}, prompt, *printer, &focus));
    EXPECT_EQ(focus, SaveFocus::PaymentMethod);

    header();
    doc.mszamla.edit();
    doc.mszamla.setString(H::NEV, QString());
    doc.mszamla.post();
    EXPECT_FALSE(store->save(doc, SalesMode::Proforma, {}, prompt, *printer, &focus));
    EXPECT_EQ(focus, SaveFocus::PartnerName);

    QStringList shown;
    for (const auto& entry : prompt.entries()) {
        EXPECT_EQ(entry.caption, QStringLiteral("Figyelem!"));
        EXPECT_EQ(entry.icon, Icon::Warning);
        shown << entry.text;
    }
    EXPECT_EQ(shown, QStringList({QStringLiteral("Hibás a fizetési határidő!"),
                                  QStringLiteral("Kérem, válasszon fizetési módot!"),
                                  QStringLiteral("Kérem, válasszon partnert!")}));
    // A cash-register sale needs neither buyer nor method; nothing was stored by the refusals.
    EXPECT_TRUE(rows("Szamla.dbf", {H::SZAMLASZAM}).isEmpty());
    EXPECT_EQ(counter(U::SZAMLASZ), 1);
}

TEST_F(SalesSaveTest, AnInvoiceDatedBeforeTheLastOneIsRefusedAlsoWhenAnotherWorkstationIssuedIt) {
    iniSettings.szamDate = QDate(2008, 3, 5);
    header(QStringLiteral("Készpénz"), QDate(2008, 3, 9), QDate(2008, 3, 9));
    ASSERT_TRUE(save(SalesMode::Invoice, 0));
    EXPECT_EQ(iniSettings.szamDate, QDate(2008, 3, 9));
    EXPECT_EQ(ini.readDate(QStringLiteral("adatok"), QStringLiteral("szamDate"), {}), QDate(2008, 3, 9));

    // Another workstation stores an invoice dated 03.10; this one's own date still says 03.09.
    {
        TableHandle other(dir.path(), "Szamla.dbf");
        other.open();
        other.append();
        other.setString(H::SZAMLASZAM, QStringLiteral("SZA2008/00002"));
        other.setString(H::SZAMLATIP, QStringLiteral("B"));
        other.setDate(H::KIALLIT, QDate(2008, 3, 10));
        other.post();
    }
    header(QStringLiteral("Készpénz"), QDate(2008, 3, 9), QDate(2008, 3, 9));
    std::optional<SaveFocus> focus;
    EXPECT_FALSE(store->save(doc, SalesMode::Invoice, {}, prompt, *printer, &focus));
    EXPECT_EQ(focus, SaveFocus::IssueDate);
    EXPECT_EQ(prompt.entries().back().text, kDateBeforeLastInvoice);

    // With the service menu shown the date is not checked; nor is it for a proforma.
    store = makeStore(true);
    prompt.answerCopies(0);
    EXPECT_TRUE(store->save(doc, SalesMode::Invoice, {}, prompt, *printer));
}

TEST_F(SalesSaveTest, AnInvoiceStoresHeaderLinesLogStockAndPaidFlagThenPrintsItsCopies) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    addProduct(2, QStringLiteral("Szerelés"), 0, 27, true);
    header();
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), 3}, {2, QStringLiteral("Szerelés"), 1, 5000, true}});
    const auto sale = save(SalesMode::Invoice, 3);
    ASSERT_TRUE(sale);
    EXPECT_EQ(sale->number, QStringLiteral("SZA2008/00001"));
    EXPECT_EQ(prompt.entries().front().kind, ScriptedPrompt::Kind::Copies);
    EXPECT_EQ(prompt.entries().front().detail, QStringLiteral("2"));  // the settings' copies

    EXPECT_EQ(rows("Szamla.dbf",
                   {H::SZAMLASZAM, H::SZAMLATIP, H::TELJESCIM, H::GARANCIASZ, H::FIZETVE, H::FIZDATUM, H::PRINT}),
              QStringList({QStringLiteral("SZA2008/00001|B|Budapest Fő utca 1.|14:30:05|T|2008.03.10|3")}));
    // Products before services; the profit is quantity times the margin over the purchase price.
    EXPECT_EQ(
        rows("Szamla2.dbf", {L::SZAMLASZAM, L::MEGNEVEZES, L::MENNYISEG, L::haszon}),
        QStringList({QStringLiteral("SZA2008/00001|Csavar|3|1200"), QStringLiteral("SZA2008/00001|Szerelés|1|4400")}));
    EXPECT_EQ(rows("tranzakcio.dbf", {T::bizonylat, T::partner, T::tetel, T::mennyiseg, T::ugyintezo, T::tipus}),
              QStringList({QStringLiteral("SZA2008/00001|12|Csavar|3|Kovács Anna|ELS"),
                           QStringLiteral("SZA2008/00001|12|Szerelés|1|Kovács Anna|ELS")}));
    EXPECT_EQ(stockOf(1), 7);
    EXPECT_EQ(stockOf(2), 0);  // a service line is logged but moves nothing
    EXPECT_EQ(counter(U::SZAMLASZ), 2);
    EXPECT_EQ(printer->printed, QStringList({QStringLiteral("Eredeti példány SZA2008/00001 1"),
                                             QStringLiteral("Másolati példány SZA2008/00001 2"),
                                             QStringLiteral("Másolati példány SZA2008/00001 3")}));
}

TEST_F(SalesSaveTest, NoCopiesStoresEverythingAndPrintsNothing) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    header(QStringLiteral("Átutalás"), kSaved.date(), kSaved.date().addDays(8));
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), 3}});
    ASSERT_TRUE(save(SalesMode::Invoice, 0));
    EXPECT_TRUE(printer->printed.isEmpty());
    // A transfer stays unpaid.
    EXPECT_EQ(rows("Szamla.dbf", {H::PRINT, H::FIZETVE, H::FIZDATUM}), QStringList({QStringLiteral("1|F|")}));
    EXPECT_EQ(stockOf(1), 7);
}

TEST_F(SalesSaveTest, CancelledCopiesDialogStoresNothing) {
    header();
    prompt.answerCopies(std::nullopt);
    EXPECT_FALSE(store->save(doc, SalesMode::Invoice, {}, prompt, *printer));
    EXPECT_TRUE(rows("Szamla.dbf", {H::SZAMLASZAM}).isEmpty());
    EXPECT_EQ(counter(U::SZAMLASZ), 1);
}

TEST_F(SalesSaveTest, AProformaStoresOnlyHeaderAndLinesUnpaid) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    header(QStringLiteral("Átutalás"), kSaved.date(), kSaved.date().addDays(8));
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), 3}});
    ASSERT_TRUE(save(SalesMode::Proforma, 0));
    EXPECT_EQ(rows("Szamla.dbf", {H::SZAMLASZAM, H::SZAMLATIP, H::FIZETVE, H::FIZMOD}),
              QStringList({QStringLiteral("PRO2008/00001|P|F|Átutalás")}));
    EXPECT_EQ(rows("Szamla2.dbf", {L::MEGNEVEZES}).size(), 1);
    EXPECT_TRUE(rows("tranzakcio.dbf", {T::tipus}).isEmpty());
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(iniSettings.proDate, kSaved.date());
}

TEST_F(SalesSaveTest, ACashSaleLogsPartnerMinusOneAndOffersItsOwnCopies) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    header(QString());
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), 2}});
    ASSERT_TRUE(save(SalesMode::CashSale, 1));
    EXPECT_EQ(prompt.entries().front().detail, QStringLiteral("1"));
    EXPECT_EQ(rows("tranzakcio.dbf", {T::bizonylat, T::partner, T::tipus}),
              QStringList({QStringLiteral("PGÉ2008/00001|-1|ELT")}));
    // The empty method of a cash-register sale is paid at once.
    EXPECT_EQ(rows("Szamla.dbf", {H::SZAMLATIP, H::FIZETVE}), QStringList({QStringLiteral("1|T")}));
    EXPECT_EQ(counter(U::DEFUSER), 2);
}

TEST_F(SalesSaveTest, ACorrectiveMovesStockByItsOwnLinesOnly) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    header();
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), -3}, {1, QStringLiteral("Csavar"), 2}});
    // The corrected invoice was corrected before: a second correction is stored all the same.
    storedDeliveryNote(QStringLiteral("SZA2008/00077"), {{1, QStringLiteral("Csavar"), 3}},
                       QStringLiteral("számlázva"));
    ASSERT_TRUE(save(SalesMode::Corrective, 0, {SourceKind::Replacing, QStringLiteral("SZA2008/00077")}));
    EXPECT_EQ(stockOf(1), 11);
    EXPECT_EQ(rows("tranzakcio.dbf", {T::mennyiseg, T::tipus}),
              QStringList({QStringLiteral("-3|JÓV"), QStringLiteral("2|JÓV")}));
}

TEST_F(SalesSaveTest, AnInvoiceReplacingADeliveryNoteMovesOnlyTheDifference) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    addProduct(2, QStringLiteral("Anya"), 10);
    storedDeliveryNote(QStringLiteral("SZL2008/00004"),
                       {{1, QStringLiteral("Csavar"), 5}, {2, QStringLiteral("Anya"), 5}});
    header();
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), 7}});  // 5 changed to 7, "Anya" deleted
    ASSERT_TRUE(save(SalesMode::Invoice, 0, {SourceKind::Replacing, QStringLiteral("SZL2008/00004")}));
    EXPECT_EQ(stockOf(1), 8);
    EXPECT_EQ(stockOf(2), 15);
    EXPECT_EQ(rows("Szamla.dbf", {H::SZAMLASZAM, H::ALLAPOT}),
              QStringList({QStringLiteral("SZL2008/00004|számlázva"), QStringLiteral("SZA2008/00001|")}));
    EXPECT_EQ(doc.mData2.recordCount(), 2u);  // matched on a copy: a retry starts from the same rows
}

TEST_F(SalesSaveTest, ADeliveryNoteInvoicedMeanwhileIsRefusedAndNothingIsStored) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    storedDeliveryNote(QStringLiteral("SZL2008/00004"), {{1, QStringLiteral("Csavar"), 5}},
                       QStringLiteral("számlázva"));
    header();
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), 5}});
    EXPECT_FALSE(save(SalesMode::Invoice, 1, {SourceKind::Replacing, QStringLiteral("SZL2008/00004")}));
    EXPECT_EQ(prompt.entries().back().text, kSourceAlreadyInvoiced);
    EXPECT_EQ(rows("Szamla.dbf", {H::SZAMLASZAM}), QStringList({QStringLiteral("SZL2008/00004")}));
    EXPECT_TRUE(rows("Szamla2.dbf", {L::SZAMLASZAM}).isEmpty());
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(counter(U::SZAMLASZ), 1);
    EXPECT_TRUE(printer->printed.isEmpty());
}

TEST_F(SalesSaveTest, AFailureAtTheThirdLineStoresNothingAndARetryStoresOneCleanDocument) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    addProduct(2, QStringLiteral("Anya"), 10);
    const ProductRecord held = addProduct(3, QStringLiteral("Alátét"), 10);
    storedDeliveryNote(QStringLiteral("SZL2008/00004"), {{1, QStringLiteral("Csavar"), 1}});
    header();
    lines(doc.mszamla2,
          {{1, QStringLiteral("Csavar"), 2}, {2, QStringLiteral("Anya"), 1}, {3, QStringLiteral("Alátét"), 1}});
    {
        // Another workstation holds the third line's product.
        TableHandle other(dir.path(), "Anyag.dbf");
        other.open();
        ASSERT_TRUE(other.gotoBookmark({held.recNo}));
        other.edit();
        prompt.answerCopies(1);
        EXPECT_THROW(store->save(doc, SalesMode::Invoice, {SourceKind::Replacing, QStringLiteral("SZL2008/00004")},
                                 prompt, *printer),
                     dbase::DbError);
        other.cancel();
    }
    EXPECT_EQ(rows("Szamla.dbf", {H::SZAMLASZAM, H::ALLAPOT}), QStringList({QStringLiteral("SZL2008/00004|")}));
    EXPECT_TRUE(rows("Szamla2.dbf", {L::SZAMLASZAM}).isEmpty());
    EXPECT_TRUE(rows("tranzakcio.dbf", {T::tipus}).isEmpty());
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(stockOf(2), 10);
    EXPECT_EQ(counter(U::SZAMLASZ), 1);
    EXPECT_TRUE(printer->printed.isEmpty());

    ASSERT_TRUE(save(SalesMode::Invoice, 1, {SourceKind::Replacing, QStringLiteral("SZL2008/00004")}));
    EXPECT_EQ(rows("Szamla.dbf", {H::SZAMLASZAM, H::ALLAPOT}),
              QStringList({QStringLiteral("SZL2008/00004|számlázva"), QStringLiteral("SZA2008/00001|")}));
    EXPECT_EQ(rows("Szamla2.dbf", {L::MEGNEVEZES}).size(), 3);
    EXPECT_EQ(stockOf(1), 9);  // one more than the delivery note's, once
    EXPECT_EQ(stockOf(2), 9);
    EXPECT_EQ(stockOf(3), 9);
}

TEST_F(SalesSaveTest, AFolderWithoutTheStockLogIsRefusedBeforeTheNumberIsTaken) {
    data.closeTable(TableId::Tranzakcio);
    std::filesystem::remove(dir.path() + "/tranzakcio.dbf");
    std::filesystem::remove(dir.path() + "/tranzakcio.mdx");
    header();
    EXPECT_FALSE(save(SalesMode::Invoice, 1));
    EXPECT_EQ(prompt.entries().back().text, kNoStockLog);
    EXPECT_TRUE(rows("Szamla.dbf", {H::SZAMLASZAM}).isEmpty());
    EXPECT_EQ(counter(U::SZAMLASZ), 1);
}

TEST_F(SalesSaveTest, ANumberTooLongForItsFieldIsRefusedAndOneAlreadyStoredIsSkipped) {
    TableHandle& settings = data.UserTable();
    settings.first();
    settings.edit();
    settings.setString(U::SELO, QStringLiteral("ABCDEFGHIJ"));
    settings.post();
    header();
    EXPECT_FALSE(save(SalesMode::Invoice, 0));
    EXPECT_TRUE(
        prompt.entries().back().text.startsWith(QStringLiteral("A bizonylatszám (ABCDEFGHIJ2008/00001) hosszabb 16")));
    EXPECT_EQ(counter(U::SZAMLASZ), 1);
    EXPECT_TRUE(rows("Szamla.dbf", {H::SZAMLASZAM}).isEmpty());

    settings.refresh();
    settings.first();
    settings.edit();
    settings.setString(U::SELO, QStringLiteral("SZA"));
    settings.post();
    storedDeliveryNote(QStringLiteral("SZA2008/00001"), {});  // stored by a program that kept no counter
    const auto sale = save(SalesMode::Invoice, 0);
    ASSERT_TRUE(sale);
    EXPECT_EQ(sale->number, QStringLiteral("SZA2008/00002"));
    EXPECT_EQ(counter(U::SZAMLASZ), 3);
}

TEST_F(SalesSaveTest, AFailingPrinterLeavesTheWholeDocumentStoredAndAsksForAReprint) {
    addProduct(1, QStringLiteral("Csavar"), 10);
    header();
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), 3}});
    printer->failing = true;
    ASSERT_TRUE(save(SalesMode::Invoice, 2));
    EXPECT_EQ(prompt.entries().back().text,
              QStringLiteral("A(z) SZA2008/00001 számú bizonylat el van mentve, de a nyomtatása nem sikerült. Kérem, "
                             "nyomtassa ki újra a számlák listájából."));
    EXPECT_EQ(rows("Szamla.dbf", {H::SZAMLASZAM, H::FIZETVE}), QStringList({QStringLiteral("SZA2008/00001|T")}));
    EXPECT_EQ(stockOf(1), 7);
}

TEST_F(SalesSaveTest, LinesWhoseProductWasRenamedAreListedAfterTheSave) {
    addProduct(1, QStringLiteral("Csavar M6"), 10);
    header();
    lines(doc.mszamla2, {{1, QStringLiteral("Csavar"), 3}});
    ASSERT_TRUE(save(SalesMode::Invoice, 0));
    EXPECT_EQ(prompt.entries().back().caption, QStringLiteral("Információ"));
    EXPECT_TRUE(prompt.entries().back().text.endsWith(QStringLiteral(":\nCsavar (1)")));
    EXPECT_EQ(stockOf(1), 10);
}

}  // namespace
}  // namespace kavina::documents
