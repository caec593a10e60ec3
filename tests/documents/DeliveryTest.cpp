// The delivery-note editor's documents from the editor's logic to the tables: each kind's
// stock, log rows, number and print, the payout, re-issue, storno, the supplier order loaded
// into a receipt, and the invoice made from a delivery note.
#include <gtest/gtest.h>

#include <deque>

#include "SalesFolder.h"
#include "documents/delivery/DeliverySave.h"
#include "documents/sales/Cancellation.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "invoicing/delivery/DeliveryEditor.h"
#include "invoicing/editor/InvoiceEditor.h"
#include "invoicing/print/TSzamlar.h"

namespace kavina::documents {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace T = fields::Tranzakcio;
namespace U = fields::User;
namespace A = fields::Anyag;
namespace P = fields::Partner;
using invoicing::DeliveryEditor;
using invoicing::EditorFocus;

const QDate kToday(2008, 3, 10);
const QDateTime kSaved(kToday, QTime(14, 30, 5));

// A line as the picker and the line dialog fill it.
struct Pick {
    double code;
    QString name;
    double quantity;
    double net = 1000;
    double gross = 1270;
    bool service = false;
    double purchase = 0;  // nbesz, as the line dialog takes it from the product
};

void fillPicked(RecordCursor& lines, const Pick& pick) {
    RecordEdit line = RecordEdit::edit(lines);
    lines.setFloat(L::ANYAGSZAM, pick.code);
    lines.setString(L::MEGNEVEZES, pick.name);
    lines.setString(L::cikkszam, QStringLiteral("C-%1").arg(pick.code));
    lines.setFloat(L::MENNYISEG, pick.quantity);
    lines.setFloat(L::EGYSEGAR, pick.net);
    lines.setFloat(L::begysegar, pick.gross);
    lines.setFloat(L::AFA, 27);
    lines.setFloat(L::NETTOAR, pick.net * pick.quantity);
    lines.setFloat(L::OSSZESEN, pick.gross * pick.quantity);
    lines.setFloat(L::AFAFT, (pick.gross - pick.net) * pick.quantity);
    lines.setLogical(L::TERMEK, pick.service);
    lines.setFloat(L::nbesz, pick.purchase);
    line.post();
}

// Prints through the delivery layout over the stored document and keeps the texts of the
// page header of every copy.
class LayoutRecorder : public DeliveryCopyPrinter {
public:
    explicit LayoutRecorder(TDataModule1& data) : m_data(data) {}
    void printCopies(const StoredSale& sale, DeliveryKind kind, int copies) override {
        TableHandle header(m_data.dataFolder(), "Szamla.dbf");
        TableHandle lines(m_data.dataFolder(), "Szamla2.dbf");
        header.open();
        lines.open();
        header.gotoBookmark({sale.headerRecNo});
        lines.setOrder(L::SZAMLASZAM);
        lines.setMasterLink(header, "SZAMLASZAM", "SZAMLASZAM");
        m_data.UserTable().refresh();
        m_data.UserTable().first();
        TSzamlar layout({.settings = &m_data.UserTable()});
        layout.useStoredDocument(header, lines);
        invoicing::setUpDeliveryLayout(layout, kind);
        const report::PreparedReport pages = layout.prepare();
        for (int i = 0; i < copies; ++i) printed.push_back(pages);
    }
    std::vector<report::PreparedReport> printed;

private:
    TDataModule1& m_data;
};

// The editor's windows: partners and lines from a script, the save through the store.
class ScriptedDeliveryWindows : public invoicing::DeliveryWindows {
public:
    ScriptedDeliveryWindows(TDataModule1& data, MemoryDocument& doc, Prompt& prompt)
        : m_data(data), m_doc(doc), m_prompt(prompt), printer(data) {}
    bool pickPartner() override { return partner && m_data.PartnerTable().locate({{P::NEV, *partner}}); }
    bool findPartnerByCode(const QString& code) override {
        return m_data.PartnerTable().locate({{P::PARTNERKOD, code}});
    }
    bool pickLine(int) override {
        if (picks.empty()) return false;
        fillPicked(m_doc.mszamla2, picks.front());
        picks.pop_front();
        return true;
    }
    bool editLine() override { return false; }
    std::optional<QString> editRemark(const QString&) override { return std::nullopt; }
    void preview(const report::PreparedReport& pages) override { previewed.push_back(pages); }
    bool chooseSupplierOrder() override { return order && m_data.SzamlaTable().locate({{H::SZAMLASZAM, *order}}); }
    bool saveDocument(DeliveryKind kind, EditorFocus& focus, const std::optional<ReplacedOffer>& replaced) override {
        DeliverySaveContext context{m_data, QStringLiteral("Kovács Anna")};
        context.now = [] { return kSaved; };
        DeliveryStore store(context);
        std::optional<SaveFocus> refused;
        const std::optional<StoredSale> stored = store.save(m_doc, kind, m_prompt, printer, &refused, replaced);
        if (refused) focus = EditorFocus::PartnerName;
        if (stored) lastNumber = stored->number;
        return stored.has_value();
    }

private:
    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;

public:
    LayoutRecorder printer;
    std::optional<QString> partner;
    std::optional<QString> order;
    std::deque<Pick> picks;
    std::vector<report::PreparedReport> previewed;
    QString lastNumber;
};

class DeliveryTest : public SalesFolder {
protected:
    MemoryDocument doc;
    IniSettings settings;
    std::unique_ptr<ScriptedDeliveryWindows> windows;

    void SetUp() override {
        SalesFolder::SetUp();
        TableHandle& s = data.UserTable();
        s.first();
        s.edit();
        s.setString(U::FELO, QStringLiteral("SZL"));
        for (const Field& counter : {U::VISSZA, U::MEGRENDELO, U::PKIF}) s.setInteger(counter, 1);
        s.setInteger(U::SZLEVSZ, 12);
        s.setInteger(U::PRNSZL, 2);
        s.post();
        TableHandle& p = data.PartnerTable();
        p.append();
        p.setInteger(P::PARTNERKOD, 7);
        p.setString(P::NEV, QStringLiteral("Csavar Nagyker Kft."));
        p.setString(P::IRSZAM, QStringLiteral("6720"));
        p.setString(P::VAROS, QStringLiteral("Szeged"));
        p.setString(P::UTCA, QStringLiteral("Tisza utca 4."));
        p.setString(P::FIZMOD, QStringLiteral("Átutalás"));
        p.setFloat(P::OSSZESBIZF, 8);
        p.post();
        addProduct(1, QStringLiteral("Csavar"), 10);
        addProduct(2, QStringLiteral("Szerelés"), 0, 27, true);
        windows = std::make_unique<ScriptedDeliveryWindows>(data, doc, prompt);
        windows->partner = QStringLiteral("Csavar Nagyker Kft.");
    }

    std::unique_ptr<DeliveryEditor> editor(DeliveryKind kind, bool reissue = false) {
        auto e = std::make_unique<DeliveryEditor>(
            data, doc, prompt, *windows,
            invoicing::DeliveryEditorOptions{.kind = kind,
                                             .reissue = reissue,
                                             .settings = &settings,
                                             .currentUser = QStringLiteral("Kovács Anna"),
                                             .today = [] { return kToday; }});
        e->open();
        return e;
    }

    // Opens the editor of the kind, picks the partner and the lines, and saves with one copy.
    QString make(DeliveryKind kind, std::vector<Pick> picks, const QString& partnerNumber = {}) {
        auto e = editor(kind);
        EXPECT_TRUE(e->pickPartner());
        if (!partnerNumber.isEmpty()) e->setPartnerNumber(partnerNumber);
        for (const Pick& pick : picks) {
            windows->picks.push_back(pick);
            e->addLine();
        }
        if (kind != DeliveryKind::CashPayout) prompt.answerCopies(1);
        EditorFocus focus;
        EXPECT_TRUE(e->save(focus));
        return windows->lastNumber;
    }

    std::vector<QString> logRows() {
        TableHandle log(dir.path(), "tranzakcio.dbf");
        log.open();
        std::vector<QString> rows;
        for (log.first(); !log.eof() && !log.isEmpty(); log.next())
            rows.push_back(QStringLiteral("%1 %2 %3 %4")
                               .arg(log.asString(T::tipus).trimmed(), log.asString(T::bizonylat).trimmed(),
                                    log.asString(T::tetel).trimmed(), QString::number(log.asFloat(T::mennyiseg))));
        return rows;
    }

    int64_t counter(const Field& field) {
        TableHandle& s = data.UserTable();
        s.refresh();
        s.first();
        return s.asInteger(field);
    }

    double productField(double code, const Field& field) {
        TableHandle& p = data.AnyagTable();
        p.refresh();
        EXPECT_TRUE(p.locate({{A::ANYAGKOD, QString::number(code)}}));
        return p.asFloat(field);
    }
};

TEST_F(DeliveryTest, NoteReturnAndReceiptMoveTheStockAndLogEveryLine) {
    EXPECT_EQ(make(DeliveryKind::DeliveryNote, {{1, "Csavar", 3}}), QStringLiteral("SZL2008/00012"));
    EXPECT_EQ(stockOf(1), 7);
    EXPECT_EQ(counter(U::SZLEVSZ), 13);
    EXPECT_EQ(make(DeliveryKind::Return, {{1, "Csavar", 2}}), QStringLiteral("VIS2008/00001"));
    EXPECT_EQ(stockOf(1), 5);
    // The receipt counter was empty: its first receipt is 00001, not 00000.
    EXPECT_EQ(make(DeliveryKind::GoodsReceipt, {{1, "Csavar", 4.5, 812.5, 1031.875}}), QStringLiteral("BSZ2008/00001"));
    EXPECT_EQ(counter(U::DEFUSERN), 2);
    EXPECT_EQ(stockOf(1), 9.5);
    EXPECT_EQ(productField(1, A::BESZERZAR), 812.5);
    EXPECT_EQ(productField(1, A::bbesz), 1031.875);
    EXPECT_EQ(logRows(), (std::vector<QString>{"SZL SZL2008/00012 Csavar 3", "VIS VIS2008/00001 Csavar 2",
                                               "BEV BSZ2008/00001 Csavar 4.5"}));
    TableHandle h(dir.path(), "Szamla.dbf");
    h.open();
    QString types;
    for (h.first(); !h.eof(); h.next()) types += h.asString(H::SZAMLATIP).trimmed();
    EXPECT_EQ(types, QStringLiteral("F43"));
}

TEST_F(DeliveryTest, SupplierOrderMovesNothingAndLogsNothing) {
    const double price = productField(1, A::BESZERZAR);
    EXPECT_EQ(make(DeliveryKind::SupplierOrder, {{1, "Csavar", 500}}), QStringLiteral("MRS2008/00001"));
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(productField(1, A::BESZERZAR), price);
    EXPECT_TRUE(logRows().empty());
    EXPECT_EQ(typeAndState(QStringLiteral("MRS2008/00001")), QStringLiteral("X|"));
    EXPECT_EQ(counter(U::MEGRENDELO), 2);
}

TEST_F(DeliveryTest, AServiceLineIsLoggedButHoldsNoStock) {
    make(DeliveryKind::DeliveryNote, {{2, "Szerelés", 1, 5000, 6350, true}});
    EXPECT_EQ(logRows(), std::vector<QString>{"SZL SZL2008/00012 Szerelés 1"});
    EXPECT_EQ(stockOf(2), 0);
}

TEST_F(DeliveryTest, AReceiptPrintsTheSuppliersNumberAndStoresItsOwn) {
    make(DeliveryKind::GoodsReceipt, {{1, "Csavar", 1}}, QStringLiteral("SZ-4711"));
    ASSERT_EQ(windows->printer.printed.size(), 1u);
    const QString header = windows->printer.printed[0].texts(0, "pageHeader").join(QStringLiteral(" | "));
    EXPECT_TRUE(header.contains(QStringLiteral("BEVÉTELEZÉS")));
    EXPECT_TRUE(header.contains(QStringLiteral("Bizonylat száma | SZ-4711"))) << header.toStdString();
    EXPECT_FALSE(header.contains(QStringLiteral("BSZ2008")));
    EXPECT_EQ(typeAndState(QStringLiteral("BSZ2008/00001")), QStringLiteral("3|"));
}

TEST_F(DeliveryTest, LeavingTheCopiesDialogStoresNothingAndUsesNoCounter) {
    auto e = editor(DeliveryKind::DeliveryNote);
    e->pickPartner();
    windows->picks.push_back({1, "Csavar", 3});
    e->addLine();
    prompt.answerCopies(std::nullopt);
    EditorFocus focus;
    EXPECT_FALSE(e->save(focus));
    EXPECT_EQ(counter(U::SZLEVSZ), 12);
    EXPECT_EQ(data.SzamlaTable().recordCount(), 0u);
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_FALSE(doc.mszamla2.isEmpty());                            // the editor keeps its document
    EXPECT_EQ(prompt.entries().back().detail, QStringLiteral("2"));  // preset with PRNSZL
}

TEST_F(DeliveryTest, WithoutAPartnerTheSaveAsksForOne) {
    auto e = editor(DeliveryKind::Return);
    EditorFocus focus;
    EXPECT_FALSE(e->save(focus));
    EXPECT_EQ(focus, EditorFocus::PartnerName);
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|Kérem, válasszon partnert!"});
    EXPECT_EQ(counter(U::VISSZA), 1);
}

TEST_F(DeliveryTest, APayoutStoresTypeSixWithItsAmountAndPrintsNothing) {
    auto e = editor(DeliveryKind::CashPayout);
    EXPECT_EQ(e->header().asDate(H::KIALLIT), kToday);
    EXPECT_TRUE(e->header().asString(H::SZAMLASZAM).trimmed().isEmpty());  // no number before the save
    e->pickPartner();
    e->setPartnerNumber(QStringLiteral("NY-12"));
    e->setSupplierNet(15000);
    EditorFocus focus;
    EXPECT_TRUE(e->save(focus));
    TableHandle& h = data.SzamlaTable();
    h.refresh();
    EXPECT_EQ(windows->lastNumber, QStringLiteral("PKI2008/00001"));
    ASSERT_TRUE(h.locate({{H::SZAMLASZAM, windows->lastNumber}}));
    EXPECT_EQ(h.asString(H::SZAMLATIP).trimmed(), QStringLiteral("6"));
    EXPECT_EQ(h.asFloat(H::szlnetto), 15000);
    EXPECT_EQ(h.asString(H::AJANLSZAM).trimmed(), QStringLiteral("NY-12"));
    EXPECT_EQ(counter(U::PKIF), 2);
    EXPECT_TRUE(windows->printer.printed.empty());
    EXPECT_TRUE(prompt.entries().empty());  // no copies dialog
    EXPECT_TRUE(logRows().empty());
}

TEST_F(DeliveryTest, OpeningAndLeavingTheIssueDate) {
    auto e = editor(DeliveryKind::DeliveryNote);
    EXPECT_EQ(e->header().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZL2008/00012"));
    EXPECT_EQ(e->header().asString(H::FIZMOD).trimmed(), QStringLiteral("Készpénz"));
    EXPECT_EQ(e->header().asInteger(H::ARCSOPORT), 4);
    EXPECT_EQ(e->header().asDate(H::KIALLIT), kToday);
    // The due date is the issue date plus the partner's term, whatever the payment method.
    EXPECT_TRUE(e->pickPartner());
    EXPECT_EQ(e->header().asDate(H::FIZHAT), kToday.addDays(8));
    EXPECT_FALSE(e->issueDateLeft(QDate(1999, 12, 31)));
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|Kérem, állítsa ki a bizonylat keltét!"});
    EXPECT_TRUE(e->issueDateLeft(QDate(2008, 3, 12)));
    EXPECT_EQ(e->header().asDate(H::FIZHAT), QDate(2008, 3, 20));
    EXPECT_EQ(e->header().asString(H::CIM).trimmed(), QStringLiteral("Tisza utca 4."));
}

TEST_F(DeliveryTest, ClosingUnsavedAsksAndNoKeepsTheEditorOpen) {
    auto e = editor(DeliveryKind::DeliveryNote);
    prompt.answerYesNo(false);
    EXPECT_FALSE(e->close());
    prompt.answerYesNo(true);
    EXPECT_TRUE(e->close());
    EXPECT_EQ(prompt.transcript().front(),
              QStringLiteral("yes/no|warning|Figyelem !|Biztos benne, hogy kilép mentés nélkül a szerkesztésből? "));
    EXPECT_EQ(data.SzamlaTable().recordCount(), 0u);
}

// A supplier order of 2.5, 3.5 and 2.4 pieces loaded into a goods receipt.
TEST_F(DeliveryTest, ALoadedOrderHasWholeQuantitiesPurchasePricesAndItsPartner) {
    {
        TableHandle& p = data.AnyagTable();
        p.first();
        p.edit();
        p.setFloat(A::BESZERZAR, 400);
        p.setFloat(A::bbesz, 508);
        p.post();
    }
    const QString order =
        make(DeliveryKind::SupplierOrder, {{1, "Csavar", 2.5}, {1, "Csavar", 3.5}, {1, "Csavar", 2.4}});
    auto e = editor(DeliveryKind::GoodsReceipt);
    windows->order = order;
    EXPECT_TRUE(e->loadSupplierOrder());
    std::vector<double> quantities;
    RecordCursor& lines = e->lines();
    for (lines.first(); !lines.eof(); lines.next()) {
        quantities.push_back(lines.asFloat(L::MENNYISEG));
        EXPECT_EQ(lines.asFloat(L::EGYSEGAR), 400);
        EXPECT_EQ(lines.asFloat(L::begysegar), 508);
        EXPECT_EQ(lines.asFloat(L::NETTOAR), 400 * lines.asFloat(L::MENNYISEG));
        EXPECT_EQ(lines.asFloat(L::AFAFT), 108 * lines.asFloat(L::MENNYISEG));
    }
    EXPECT_EQ(quantities, (std::vector<double>{2, 4, 2}));
    EXPECT_EQ(e->header().asString(H::NEV).trimmed(), QStringLiteral("Csavar Nagyker Kft."));
    EXPECT_EQ(e->header().asInteger(H::PARTNERKOD), 7);
    prompt.answerCopies(1);
    EditorFocus focus;
    EXPECT_TRUE(e->save(focus));  // the partner came with the order
    EXPECT_EQ(stockOf(1), 18);
}

// A note saved as a delivery note and reloaded in the receipt editor is a receipt.
TEST_F(DeliveryTest, AReloadedDocumentTakesTheKindOfTheEditor) {
    testing_support::TestFolder outside;
    const QString file = QString::fromStdString(outside.path()) + QStringLiteral("/mentes.dbf");
    auto note = editor(DeliveryKind::DeliveryNote);
    note->pickPartner();
    windows->picks.push_back({1, "Csavar", 3});
    note->addLine();
    prompt.answerFile(file);
    note->temporarySave();
    auto receipt = editor(DeliveryKind::GoodsReceipt);
    prompt.answerFile(file);
    receipt->reload();
    EXPECT_EQ(receipt->header().asString(H::SZAMLATIP).trimmed(), QStringLiteral("3"));
    EXPECT_EQ(receipt->header().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("BSZ2008/00001"));
    prompt.answerCopies(1);
    EditorFocus focus;
    EXPECT_TRUE(receipt->save(focus));
    EXPECT_EQ(typeAndState(QStringLiteral("BSZ2008/00001")), QStringLiteral("3|"));
    EXPECT_EQ(stockOf(1), 13);
    EXPECT_EQ(counter(U::SZLEVSZ), 12);
}

class DeliveryCancelTest : public DeliveryTest {
protected:
    bool storno(const QString& number) {
        DocumentCancellation cancellation(data);
        const auto target = cancellation.find(number);
        EXPECT_TRUE(target);
        try {
            cancellation.cancel(*target, CancelMode::DeliveryNote, CancelKind::Storno);
            return true;
        } catch (const RuleError& refused) {
            refusals << refused.message();
            return false;
        }
    }
    QStringList refusals;
};

TEST_F(DeliveryCancelTest, ASecondStornoIsRefusedAndTheStockComesBackOnce) {
    const QString note = make(DeliveryKind::DeliveryNote, {{1, "Csavar", 3}});
    EXPECT_TRUE(storno(note));
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_EQ(typeAndState(note), QStringLiteral("U|"));
    EXPECT_FALSE(storno(note));
    EXPECT_EQ(refusals, QStringList{"A szállítólevél már stornózva van!"});
    EXPECT_EQ(stockOf(1), 10);
    // From the register the cancelled note opens the delivery-note dialog, which says why.
    EXPECT_EQ(cancelModeOf(QChar('U'), CancelKind::Storno), CancelMode::DeliveryNote);
}

TEST_F(DeliveryCancelTest, AReissuedNoteGetsANewNumberTodaysDatesAndEveryLineField) {
    const QString cancelled = make(DeliveryKind::DeliveryNote, {{1, "Csavar", 3, 1000, 1270}});
    {
        TableHandle lines(dir.path(), "Szamla2.dbf");
        lines.open();
        lines.first();
        lines.edit();
        lines.setFloat(L::nbesz, 600);
        lines.setString(L::MEGJEGYZES, QStringLiteral("raktárból"));
        lines.post();
    }
    storno(cancelled);
    TableHandle& h = data.SzamlaTable();
    h.refresh();
    ASSERT_TRUE(h.locate({{H::SZAMLASZAM, cancelled}}));
    auto e = editor(DeliveryKind::DeliveryNote, true);
    EXPECT_EQ(e->header().asString(H::NEV).trimmed(), QStringLiteral("Csavar Nagyker Kft."));
    EXPECT_EQ(e->header().asString(H::FIZMOD).trimmed(), QStringLiteral("Készpénz"));
    EXPECT_EQ(e->header().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZL2008/00013"));
    RecordCursor& line = e->lines();
    line.first();
    EXPECT_EQ(line.asFloat(L::begysegar), 1270);
    EXPECT_EQ(line.asString(L::cikkszam).trimmed(), QStringLiteral("C-1"));
    EXPECT_EQ(line.asFloat(L::nbesz), 600);
    EXPECT_EQ(line.asString(L::MEGJEGYZES).trimmed(), QStringLiteral("raktárból"));
    prompt.answerCopies(1);
    EditorFocus focus;
    EXPECT_TRUE(e->save(focus));
    EXPECT_EQ(typeAndState(QStringLiteral("SZL2008/00013")), QStringLiteral("F|"));
    EXPECT_EQ(typeAndState(cancelled), QStringLiteral("U|"));
    EXPECT_EQ(stockOf(1), 7);
    EXPECT_EQ(logRows().back(), QStringLiteral("SZL SZL2008/00013 Csavar 3"));
    h.refresh();
    ASSERT_TRUE(h.locate({{H::SZAMLASZAM, QStringLiteral("SZL2008/00013")}}));
    EXPECT_EQ(h.asDate(H::KIALLIT), kToday);
}

// The invoice editor's windows for an invoice made from a delivery note: one more piece is
// added to the copied line, and the save goes through the sales store.
class InvoiceWindows : public invoicing::EditorWindows {
public:
    InvoiceWindows(TDataModule1& data, MemoryDocument& doc, Prompt& prompt, SalesFolder& folder)
        : m_data(data), m_doc(doc), m_prompt(prompt), m_ini(folder) {}
    bool pickPartner() override { return false; }
    bool findPartnerByCode(const QString&) override { return false; }
    bool pickLine(int) override { return false; }
    bool editLine() override { return false; }
    std::optional<QString> editRemark(const QString&) override { return std::nullopt; }
    void preview(const report::PreparedReport&) override {}
    double grossOf(double net, double rate) override { return net * (1 + rate / 100); }
    bool saveDocument(SalesMode mode, invoicing::SourceKind source, const QString& sourceNumber,
                      EditorFocus&) override {
        IniFile ini(QString::fromStdString(m_data.dataFolder() + "kavina.ini"));
        IniSettings settings;
        SalesSaveContext context{m_data, ini, settings, QStringLiteral("Kovács Anna")};
        context.now = [] { return kSaved; };
        SalesStore store(context);
        NoCopies printer;
        return store.save(m_doc, mode, {source, sourceNumber}, m_prompt, printer).has_value();
    }

private:
    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;
    SalesFolder& m_ini;
};

TEST_F(DeliveryCancelTest, AnInvoiceFromANoteMovesOnlyTheDifferenceAndTheNoteCannotBeCancelledAfter) {
    const QString note = make(DeliveryKind::DeliveryNote, {{1, "Csavar", 3}});
    EXPECT_EQ(stockOf(1), 7);
    TableHandle& h = data.SzamlaTable();
    h.refresh();
    ASSERT_TRUE(h.locate({{H::SZAMLASZAM, note}}));
    MemoryDocument invoiceDoc;
    InvoiceWindows invoiceWindows(data, invoiceDoc, prompt, *this);
    invoicing::InvoiceEditor invoice(data, invoiceDoc, prompt, invoiceWindows,
                                     {.mode = invoicing::EditorMode::Invoice,
                                      .source = invoicing::SourceKind::Replacing,
                                      .settings = &settings,
                                      .currentUser = QStringLiteral("Kovács Anna"),
                                      .today = [] { return kToday; }});
    ASSERT_TRUE(invoice.open());
    RecordCursor& lines = invoice.lines();
    lines.first();
    EXPECT_EQ(lines.asFloat(L::MENNYISEG), 3);
    {
        RecordEdit more = RecordEdit::edit(lines);
        lines.setFloat(L::MENNYISEG, 5);
        more.post();
    }
    prompt.answerCopies(1);
    EditorFocus focus;
    ASSERT_TRUE(invoice.save(focus));
    EXPECT_EQ(stockOf(1), 5);  // the note took 3, the invoice the 2 beyond them
    EXPECT_EQ(typeAndState(note), QStringLiteral("F|számlázva"));
    EXPECT_FALSE(storno(note));
    EXPECT_EQ(refusals, QStringList{"A kiszámlázott szállítólevél nem stornózható!"});
    EXPECT_EQ(stockOf(1), 5);
}

// ---- price offers ----

class OfferTest : public DeliveryCancelTest {
protected:
    void SetUp() override {
        DeliveryCancelTest::SetUp();
        TableHandle& s = data.UserTable();
        s.first();
        s.edit();
        s.setString(U::AELO, QStringLiteral("ARA"));
        s.setString(U::AUTO, QString());
        s.setInteger(U::AJANLATSZ, 3);
        s.setInteger(U::PRNAJANLAT, 3);
        s.setString(U::LABAJANLAT, QStringLiteral("Az ajánlat 30 napig érvényes."));
        s.post();
        // Transfers are due in 15 days here, the partner's own term is 8.
        TableHandle& methods = data.FizmodTable();
        ASSERT_TRUE(methods.locate({{fields::Fizmod::FIZMOD, QStringLiteral("Átutalás")}}));
        methods.edit();
        methods.setInteger(fields::Fizmod::HATARIDO, 15);
        methods.post();
        // The current payment method is not the one the partner pays with.
        methods.first();
    }

    // A service line, then a product line, with a header remark, a line remark and article
    // numbers; saved with one copy.
    QString makeOffer() {
        auto e = editor(DeliveryKind::Offer);
        EXPECT_TRUE(e->pickPartner());
        windows->picks.push_back({2, "Szerelés", 1, 5000, 6350, true});
        windows->picks.push_back({1, "Csavar", 4, 1000, 1270, false, 600});
        e->addLine();
        e->addLine();
        {
            RecordEdit remark = RecordEdit::edit(e->lines());
            e->lines().setString(L::MEGJEGYZES, QStringLiteral("szállítás két héten belül"));
            remark.post();
        }
        {
            RecordEdit remark = RecordEdit::edit(e->header());
            e->header().setString(H::MEGJEGYZES, QStringLiteral("Kérésre bővíthető."));
            remark.post();
        }
        prompt.answerCopies(1);
        EditorFocus focus;
        EXPECT_TRUE(e->save(focus));
        return windows->lastNumber;
    }

    // "header remark | per line: name, remark, article number, gross unit price, nbesz" of
    // every stored record under the number, in stored order.
    QStringList stored(const QString& number) {
        QStringList rows;
        TableHandle h(dir.path(), "Szamla.dbf");
        h.open();
        for (h.first(); !h.eof() && !h.isEmpty(); h.next())
            if (h.asString(H::SZAMLASZAM).trimmed() == number)
                rows << QStringLiteral("%1|%2|%3")
                            .arg(h.asString(H::SZAMLATIP).trimmed(), h.asString(H::MEGJEGYZES).trimmed(),
                                 h.asDate(H::FIZHAT).toString(Qt::ISODate));
        TableHandle l(dir.path(), "Szamla2.dbf");
        l.open();
        for (l.first(); !l.eof() && !l.isEmpty(); l.next())
            if (l.asString(L::SZAMLASZAM).trimmed() == number)
                rows << QStringLiteral("%1|%2|%3|%4|%5")
                            .arg(l.asString(L::MEGNEVEZES).trimmed(), l.asString(L::MEGJEGYZES).trimmed(),
                                 l.asString(L::cikkszam).trimmed(), QString::number(l.asFloat(L::begysegar)),
                                 QString::number(l.asFloat(L::nbesz)));
        return rows;
    }

    // The editor on the stored offer, as "Módosítás" opens it.
    std::unique_ptr<DeliveryEditor> modify(const QString& number) {
        TableHandle& h = data.SzamlaTable();
        h.refresh();
        EXPECT_TRUE(h.locate({{H::SZAMLASZAM, number}}));
        return editor(DeliveryKind::Offer, true);
    }
};

TEST_F(OfferTest, ANewOfferTakesTheOfferCounterMovesNoStockAndPrintsProductsFirst) {
    EXPECT_EQ(makeOffer(), QStringLiteral("ARA2008/00003"));
    EXPECT_EQ(counter(U::AJANLATSZ), 4);
    EXPECT_EQ(counter(U::SZLEVSZ), 12);
    EXPECT_EQ(stockOf(1), 10);
    EXPECT_TRUE(logRows().empty());
    // The copies dialog offers the offers' own count, and nothing else is asked: no partner check.
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].kind, ScriptedPrompt::Kind::Copies);
    EXPECT_EQ(prompt.entries()[0].detail, QStringLiteral("3"));
    // The partner pays by transfer: 15 days of "Átutalás", not the partner's own term.
    EXPECT_EQ(stored(QStringLiteral("ARA2008/00003")),
              (QStringList{"A|Kérésre bővíthető.|2008-03-25", "Csavar|szállítás két héten belül|C-1|1270|600",
                           "Szerelés||C-2|6350|0"}));
    ASSERT_EQ(windows->printer.printed.size(), 1u);
    const report::PreparedReport& page = windows->printer.printed[0];
    const QString header = page.texts(0, "pageHeader").join(QStringLiteral(" | "));
    EXPECT_TRUE(header.contains(QStringLiteral("AJÁNLAT"))) << header.toStdString();
    EXPECT_TRUE(header.contains(QStringLiteral("Ajánlat száma | ARA2008/00003"))) << header.toStdString();
    EXPECT_TRUE(header.contains(QStringLiteral("Ajánlat kelte"))) << header.toStdString();
}

TEST_F(OfferTest, AModificationSavedUnchangedKeepsNumberCounterAndEveryField) {
    const QString number = makeOffer();
    const QStringList before = stored(number);
    prompt = {};
    auto e = modify(number);
    EXPECT_EQ(e->header().asString(H::SZAMLASZAM).trimmed(), number);
    EXPECT_EQ(e->lines().recordCount(), 2u);
    // The shared handle moves away before the save: the save finds the offer by its number.
    data.SzamlaTable().first();
    data.SzamlaTable().next();
    prompt.answerCopies(1);
    EditorFocus focus;
    ASSERT_TRUE(e->save(focus));
    EXPECT_EQ(windows->lastNumber, number);
    EXPECT_EQ(counter(U::AJANLATSZ), 4);
    EXPECT_EQ(stored(number), before);
    EXPECT_EQ(stockOf(1), 10);
}

TEST_F(OfferTest, ClosingAsksByWhetherTheOfferIsNewOrModified) {
    const QString number = makeOffer();
    prompt = {};
    auto created = editor(DeliveryKind::Offer);
    prompt.answerYesNo(false);
    EXPECT_FALSE(created->close());
    auto modified = modify(number);
    prompt.answerYesNo(true);
    EXPECT_TRUE(modified->close());
    EXPECT_EQ(prompt.transcript(),
              (QStringList{"yes/no|warning|Figyelem !|Biztos benne, hogy kilép mentés nélkül az árajánlat "
                           "szerkesztéséből? ",
                           "yes/no|warning|Figyelem !|Biztos benne, hogy kilép az árajánlat szerkesztéséből? "}));
    EXPECT_EQ(stored(number).size(), 3);
}

TEST_F(OfferTest, AnOfferChangedOnAnotherWorkstationIsReplacedOnlyWhenTheClerkAgrees) {
    const QString number = makeOffer();
    prompt = {};
    auto first = modify(number);
    {
        RecordEdit change = RecordEdit::edit(first->header());
        first->header().setString(H::MEGJEGYZES, QStringLiteral("első gép"));
        change.post();
    }
    // Another workstation saves its version meanwhile (at another time of day).
    MemoryDocument otherDoc;
    DeliveryEditor other(data, otherDoc, prompt, *windows,
                         {.kind = DeliveryKind::Offer,
                          .reissue = true,
                          .settings = &settings,
                          .currentUser = QStringLiteral("Kiss Béla"),
                          .today = [] { return kToday; }});
    other.open();
    {
        RecordEdit change = RecordEdit::edit(other.header());
        other.header().setString(H::MEGJEGYZES, QStringLiteral("második gép"));
        change.post();
    }
    DeliverySaveContext context{data, QStringLiteral("Kiss Béla")};
    context.now = [] { return QDateTime(kToday, QTime(15, 0, 0)); };
    DeliveryStore(context).store(otherDoc, DeliveryKind::Offer, other.replacedOffer());
    const QString question = QStringLiteral(
        "yes/no|warning|Figyelem !|A(z) ARA2008/00003 számú árajánlatot a megnyitása óta egy másik gépen "
        "megváltoztatták vagy törölték. Biztos benne, hogy felülírja az itt szerkesztett változattal? ");
    prompt.answerCopies(1);
    prompt.answerYesNo(false);
    EditorFocus focus;
    EXPECT_FALSE(first->save(focus));
    EXPECT_EQ(stored(number).front(), QStringLiteral("A|második gép|2008-03-25"));
    EXPECT_EQ(prompt.transcript().last(), question);
    prompt.answerCopies(1);
    prompt.answerYesNo(true);
    EXPECT_TRUE(first->save(focus));
    const QStringList after = stored(number);
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after.front(), QStringLiteral("A|első gép|2008-03-25"));
    EXPECT_EQ(counter(U::AJANLATSZ), 4);
}

TEST_F(OfferTest, AModificationThatFailsAfterAppendingLeavesTheOldVersionWhole) {
    const QString number = makeOffer();
    const QStringList before = stored(number);
    auto e = modify(number);
    {
        RecordEdit change = RecordEdit::edit(e->lines());
        e->lines().setFloat(L::MENNYISEG, 99);
        change.post();
    }
    DeliverySaveContext context{data, QStringLiteral("Kovács Anna")};
    context.afterAppending = [] { throw std::runtime_error("disk full"); };
    EXPECT_THROW(DeliveryStore(context).store(doc, DeliveryKind::Offer, e->replacedOffer()), std::runtime_error);
    EXPECT_EQ(stored(number), before);
    EXPECT_EQ(counter(U::AJANLATSZ), 4);
}

TEST_F(OfferTest, AnInvoiceFromAnOfferHasItsGrossPricesAndPurchasePrices) {
    const QString number = makeOffer();
    TableHandle& h = data.SzamlaTable();
    h.refresh();
    ASSERT_TRUE(h.locate({{H::SZAMLASZAM, number}}));
    MemoryDocument invoiceDoc;
    InvoiceWindows invoiceWindows(data, invoiceDoc, prompt, *this);
    invoicing::InvoiceEditor invoice(data, invoiceDoc, prompt, invoiceWindows,
                                     {.mode = invoicing::EditorMode::Invoice,
                                      .source = invoicing::SourceKind::Template,
                                      .settings = &settings,
                                      .currentUser = QStringLiteral("Kovács Anna"),
                                      .today = [] { return kToday; }});
    ASSERT_TRUE(invoice.open());
    RecordCursor& lines = invoice.lines();
    ASSERT_TRUE(lines.locate({{L::MEGNEVEZES, QStringLiteral("Csavar")}}));
    EXPECT_EQ(lines.asFloat(L::begysegar), 1270);
    EXPECT_EQ(lines.asFloat(L::nbesz), 600);
    EXPECT_EQ(typeAndState(number), QStringLiteral("A|"));
}

}  // namespace
}  // namespace kavina::documents
