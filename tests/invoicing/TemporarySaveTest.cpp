// The temporary save and its reload: a pair that comes back whole into another editor mode,
// names and places that are refused or mended, older pairs with another field order, and
// files that are no saved document.

#include "invoicing/editor/TemporarySave.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/ScriptedPrompt.h"
#include "dbase/Table.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/RecordEdit.h"
#include "invoicing/editor/InvoiceEditor.h"

namespace kavina::invoicing {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

class NoWindows : public EditorWindows {
public:
    bool pickPartner() override { return false; }
    bool findPartnerByCode(const QString&) override { return false; }
    bool pickLine(int) override { return false; }
    bool editLine() override { return false; }
    std::optional<QString> editRemark(const QString&) override { return std::nullopt; }
    void preview(const report::PreparedReport&) override {}
    double grossOf(double net, double) override { return net; }
    bool saveDocument(SalesMode, SourceKind, const QString&, EditorFocus&) override { return false; }
};

class TemporarySaveTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    QString data, outside;
    TDataModule1 module;
    MemoryDocument doc;
    ScriptedPrompt prompt;
    NoWindows windows;
    IniSettings settings;

    void SetUp() override {
        data = QString::fromStdString(dir.path()) + QStringLiteral("/adat");
        outside = QString::fromStdString(dir.path()) + QStringLiteral("/mentes");
        QDir().mkpath(data);
        QDir().mkpath(outside);
        createDataFolder(data.toStdString());
        module.open(data.toStdString());
        TableHandle& user = module.UserTable();
        user.append();
        user.setString(fields::User::SELO, QStringLiteral("SZA"));
        user.setInteger(fields::User::SZAMLASZ, 5);
        user.setInteger(fields::User::PROFORMA, 9);
        user.post();
    }
    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    std::unique_ptr<InvoiceEditor> editor(EditorMode mode) {
        auto e = std::make_unique<InvoiceEditor>(module, doc, prompt, windows,
                                                 InvoiceEditorOptions{.mode = mode,
                                                                      .settings = &settings,
                                                                      .currentUser = QStringLiteral("Kovács Anna"),
                                                                      .today = [] { return QDate(2008, 3, 28); }});
        EXPECT_TRUE(e->open());
        return e;
    }
    void addLine(const QString& name, double quantity, double net) {
        RecordEdit line = RecordEdit::append(doc.mszamla2);
        doc.mszamla2.setString(L::MEGNEVEZES, name);
        doc.mszamla2.setFloat(L::MENNYISEG, quantity);
        doc.mszamla2.setFloat(L::EGYSEGAR, net);
        doc.mszamla2.setFloat(L::NETTOAR, quantity * net);
        doc.mszamla2.setFloat(L::OSSZESEN, quantity * net * 1.27);
        doc.mszamla2.setFloat(L::AFAFT, quantity * net * 0.27);
        line.post();
    }
};

TEST_F(TemporarySaveTest, ProformaSavedAndReloadedInTheInvoiceEditorBecomesAnInvoice) {
    auto proforma = editor(EditorMode::Proforma);
    {
        RecordEdit h = RecordEdit::edit(doc.mszamla);
        doc.mszamla.setString(H::NEV, QStringLiteral("Kiss Kft."));
        doc.mszamla.setString(H::MEGJEGYZES, QStringLiteral("Szállítás hétfőn"));
        h.post();
    }
    addLine(QStringLiteral("Kalapács"), 2, 1000);
    addLine(QStringLiteral("Csavar"), 10, 12.5);
    prompt.answerFile(outside + QStringLiteral("/ajanlat"));
    proforma->temporarySave();
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/ajanlat.dbf")));
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/ajanlat.dbx")));
    EXPECT_EQ(QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 3);

    auto invoice = editor(EditorMode::Invoice);
    prompt.answerFile(outside + QStringLiteral("/ajanlat.dbf"));
    invoice->reload();
    EXPECT_EQ(doc.mszamla.asString(H::NEV), QStringLiteral("Kiss Kft."));
    EXPECT_EQ(doc.mszamla.asString(H::MEGJEGYZES), QStringLiteral("Szállítás hétfőn"));
    EXPECT_EQ(doc.mszamla.asString(H::SZAMLATIP), QStringLiteral("B"));
    EXPECT_EQ(doc.mszamla.asString(H::SZAMLASZAM), QStringLiteral("SZA2008/00005"));
    ASSERT_EQ(doc.mszamla2.recordCount(), 2u);
    EXPECT_EQ(invoice->payable(), 2699);  // 2 540 + 158.75
    QStringList texts;
    for (const auto& e : prompt.entries())
        texts << (e.kind == ScriptedPrompt::Kind::File ? QStringLiteral("fájl: ") + e.text : e.text);
    const QString filter = QStringLiteral("fájl: dbf fájlok (*.dbf);;Minden fájl (*.*)");
    EXPECT_EQ(texts, (QStringList{filter, kTemporarySaved, filter, kTemporaryLoaded}));
    EXPECT_EQ(prompt.entries()[0].detail, QString::fromStdString(dir.path()));  // starts beside the data
}

TEST_F(TemporarySaveTest, PlaceInsideTheDataFolderIsRefusedAndTheTableIsUntouched) {
    auto e = editor(EditorMode::Invoice);
    addLine(QStringLiteral("Kalapács"), 1, 1000);
    QFile table(data + QStringLiteral("/Szamla.dbf"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QByteArray before = table.readAll();
    table.close();
    prompt.answerFile(data + QStringLiteral("/Szamla.dbf"));
    e->temporarySave();
    EXPECT_EQ(prompt.entries().back().text, kTemporaryInDataFolder);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_EQ(table.readAll(), before);
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("/Szamla.dbx")));
    EXPECT_EQ(temporaryFiles(QStringLiteral("/x/mentes.DBF")).lines, QStringLiteral("/x/mentes.dbx"));
    EXPECT_EQ(temporaryFiles(QStringLiteral("/x/a.b")).header, QStringLiteral("/x/a.b.dbf"));
}

// A pair written by another version: other field order, fewer fields, a field unknown here.
TEST_F(TemporarySaveTest, PairWithAnotherFieldOrderReloadsByName) {
    using dbase::FieldType;
    dbase::Table::create(outside.toStdString(), "regi.dbf",
                         {{"KIALLIT", FieldType::Date},
                          {"NEV", FieldType::Character, 50},
                          {"REGIMEZO", FieldType::Character, 10},
                          {"SZAMLATIP", FieldType::Character, 1},
                          {"SZAMLASZAM", FieldType::Character, 16}});
    dbase::Table::create(outside.toStdString(), "regi.dbx",
                         {{"NETTOAR", FieldType::Float},
                          {"MENNYISEG", FieldType::Float},
                          {"ANYAGSZAM", FieldType::Float},
                          {"SZAMLASZAM", FieldType::Character, 16},
                          {"MEGNEVEZES", FieldType::Character, 100}});
    TableHandle h(outside.toStdString(), "regi.dbf");
    h.open();
    h.append();
    h.setString(h.fieldNumber("NEV"), QStringLiteral("Régi Vevő"));
    h.setString(h.fieldNumber("SZAMLATIP"), QStringLiteral("P"));
    h.setString(h.fieldNumber("REGIMEZO"), QStringLiteral("x"));
    h.post();
    h.close();
    TableHandle l(outside.toStdString(), "regi.dbx");
    l.open();
    l.append();
    l.setString(l.fieldNumber("MEGNEVEZES"), QStringLiteral("Fúrógép"));
    l.setFloat(l.fieldNumber("MENNYISEG"), 2);
    l.setFloat(l.fieldNumber("NETTOAR"), 300);
    l.post();
    l.close();
    auto e = editor(EditorMode::Invoice);
    prompt.answerFile(outside + QStringLiteral("/regi.dbf"));
    e->reload();
    EXPECT_EQ(doc.mszamla.asString(H::NEV), QStringLiteral("Régi Vevő"));
    EXPECT_EQ(doc.mszamla.asString(H::SZAMLATIP), QStringLiteral("B"));
    doc.mszamla2.first();
    EXPECT_EQ(doc.mszamla2.asString(L::MEGNEVEZES), QStringLiteral("Fúrógép"));
    EXPECT_EQ(doc.mszamla2.asFloat(L::NETTOAR), 300);
}

TEST_F(TemporarySaveTest, FileThatIsNoSavedDocumentIsRefusedAndTheDocumentStays) {
    auto e = editor(EditorMode::Invoice);
    addLine(QStringLiteral("Kalapács"), 1, 1000);
    QFile::copy(data + QStringLiteral("/Partner.DBF"), outside + QStringLiteral("/partner.dbf"));
    QFile::copy(data + QStringLiteral("/Partner.DBF"), outside + QStringLiteral("/partner.dbx"));
    QFile garbage(outside + QStringLiteral("/szemet.dbf"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("nem tábla");
    garbage.close();
    for (const char* name : {"/partner.dbf", "/szemet.dbf", "/nincs.dbf"}) {
        prompt.answerFile(outside + QString::fromLatin1(name));
        e->reload();
        EXPECT_EQ(prompt.entries().back().text, kNotATemporarySave) << name;
    }
    EXPECT_EQ(doc.mszamla2.recordCount(), 1u);
    EXPECT_EQ(doc.mszamla.asString(H::SZAMLASZAM), QStringLiteral("SZA2008/00005"));
}

}  // namespace
}  // namespace kavina::invoicing
