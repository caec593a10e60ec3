// Deleting old documents: the cut-off day's boundary for headers, lines and log rows, what
// stays untouched (stock, certificates, worksheets), the refused dates, the backup's
// outcomes, and a pack that another workstation prevents.

#include "maintenance/olddocs/OldDocuments.h"

#include <filesystem>

#include "dbase/FolderCheck.h"
#include "dbase/Table.h"
#include "shell/SessionFixture.h"

namespace kavina::maintenance {
namespace {

using shell::testing::appendRow;
using shell::testing::column;
using shell::testing::SessionFixture;
namespace fs = std::filesystem;
namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace T = fields::Tranzakcio;

class OldDocumentsTest : public SessionFixture {
protected:
    BackupOutcome backupOutcome = BackupOutcome::Done;
    int backups = 0;
    OldDocumentDeletion deletion{dm, prompt, QDate(2024, 5, 17), [this] {
                                     ++backups;
                                     return backupOutcome;
                                 }};

    void document(const QString& number, const QDate& issued, int lines) {
        TableHandle& headers = dm.SzamlaTable();
        headers.append();
        headers.setString(H::SZAMLASZAM, number);
        headers.setDate(H::KIALLIT, issued);
        headers.post();
        for (int i = 0; i < lines; ++i)
            appendRow(dm.Szamla2Table(), {{L::SZAMLASZAM, number}, {L::MEGNEVEZES, QString("tétel %1").arg(i)}});
    }
    void logRow(const QString& document, const QDateTime& stamped) {
        TableHandle& log = dm.tranzakcio();
        log.append();
        log.setString(T::bizonylat, document);
        log.setDateTime(T::datum, stamped);
        log.post();
    }
    // Every line's document number, read from the file itself.
    QStringList lineNumbers() {
        dbase::Table lines(dir.path(), "Szamla2.dbf");
        lines.open();
        QStringList numbers;
        for (lines.first(); !lines.eof(); lines.next()) numbers << QString::fromStdString(lines.asString("SZAMLASZAM"));
        return numbers;
    }
    QStringList headerNumbers() {
        dm.SzamlaTable().refresh();
        dm.SzamlaTable().setFiltered(false);
        return column(dm.SzamlaTable(), H::SZAMLASZAM);
    }
    QStringList stock() { return column(dm.AnyagTable(), fields::Anyag::MENNYISEG); }
    ScriptedPrompt::Entry warning(const QString& text) {
        return {ScriptedPrompt::Kind::Message, "Figyelem!", text, Icon::Warning, {}};
    }
};

TEST_F(OldDocumentsTest, DeletesWhatCameBeforeTheCutOffDayAndKeepsEverythingElse) {
    appendRow(dm.AnyagTable(), {{fields::Anyag::MEGNEVEZES, "Csavar"}, {fields::Anyag::MENNYISEG, "17.5"}});
    appendRow(dm.AnyagTable(), {{fields::Anyag::MEGNEVEZES, "Anya"}, {fields::Anyag::MENNYISEG, "-3"}});
    document("SZ2007/00001", QDate(2007, 6, 1), 3);
    document("SZ2007/00002", QDate(2007, 12, 31), 2);
    document("SZ2008/00001", QDate(2008, 1, 1), 2);
    document("SZ2008/00002", QDate(2008, 3, 15), 1);
    logRow("SZ2007/00002", QDateTime(QDate(2007, 12, 31), QTime(23, 59)));
    logRow("SZ2008/00001", QDateTime(QDate(2008, 1, 1), QTime(10, 15)));
    appendRow(dm.GaranciaTable(), {{fields::Garancia::SORSZAM, "1"}});
    dm.GaranciaTable().edit();
    dm.GaranciaTable().setDate(fields::Garancia::VASARLAS, QDate(2006, 1, 1));
    dm.GaranciaTable().post();
    const QStringList stockBefore = stock();
    const auto linesSize = fs::file_size(dir.file("Szamla2.dbf"));

    prompt.answerYesNo(true);
    ASSERT_TRUE(deletion.run(" 2008.01.01 "));

    EXPECT_EQ(headerNumbers(), QStringList({"SZ2008/00001", "SZ2008/00002"}));
    EXPECT_EQ(lineNumbers(), QStringList({"SZ2008/00001", "SZ2008/00001", "SZ2008/00002"}));
    EXPECT_EQ(column(dm.tranzakcio(), T::bizonylat), QStringList({"SZ2008/00001"}));
    EXPECT_EQ(column(dm.GaranciaTable(), fields::Garancia::SORSZAM), QStringList({"1"}));
    EXPECT_EQ(stock(), stockBefore);
    EXPECT_LT(fs::file_size(dir.file("Szamla2.dbf")), linesSize);  // packed
    EXPECT_EQ(backups, 1);
    EXPECT_EQ(prompt.entries(),
              std::vector<ScriptedPrompt::Entry>({{ScriptedPrompt::Kind::YesNo,
                                                   "Figyelem!",
                                                   "A 2008.01.01 előtt kiállított 2 bizonylat a tételeivel együtt és 1 "
                                                   "készletmozgás végleg törlődik.\nBiztosan törli őket?",
                                                   Icon::Warning,
                                                   {}}}));
    // The lines of a remaining document still follow it through the shared handles.
    dm.SzamlaTable().first();
    EXPECT_EQ(column(dm.Szamla2Table(), L::MEGNEVEZES), QStringList({"tétel 0", "tétel 1"}));
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
}

TEST_F(OldDocumentsTest, ManyDocumentsGoInSeveralTransactions) {
    const int count = OldDocumentDeletion::kDocumentsPerTransaction * 2 + 7;
    for (int i = 0; i < count; ++i)
        document(QString("SZ2007/%1").arg(i, 5, 10, QChar('0')), QDate(2007, 1, 1).addDays(i), i % 3);
    document("SZ2024/00001", QDate(2024, 1, 2), 2);
    std::vector<std::pair<int, int>> bars;
    prompt.answerYesNo(true);
    ASSERT_TRUE(deletion.run("2024.01.01", {.headers = [&bars](int done, int all) { bars.emplace_back(done, all); }}));
    EXPECT_EQ(headerNumbers(), QStringList({"SZ2024/00001"}));
    EXPECT_EQ(lineNumbers(), QStringList({"SZ2024/00001", "SZ2024/00001"}));
    EXPECT_EQ(bars.front(), std::make_pair(0, count + 1));
    EXPECT_EQ(bars.back(), std::make_pair(count + 1, count + 1));
    EXPECT_FALSE(fs::exists(dir.file("kavina.jnl")) && fs::file_size(dir.file("kavina.jnl")) > 0);
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
}

TEST_F(OldDocumentsTest, EmptyMalformedOrFutureCutOffIsRefusedBeforeAnything) {
    document("SZ2007/00001", QDate(2007, 6, 1), 1);
    EXPECT_FALSE(deletion.run("  "));
    EXPECT_FALSE(deletion.run("2008.13.01"));
    EXPECT_FALSE(deletion.run("2024.05.18"));
    EXPECT_EQ(prompt.entries(),
              std::vector<ScriptedPrompt::Entry>(
                  {warning("Adja meg a dátumot, amely előtt kiállított bizonylatokat törölni szeretné!"),
                   warning("A megadott dátum hibás: 2008.13.01\nA dátumot éééé.hh.nn alakban adja meg (például "
                           "2008.01.01)."),
                   warning("A dátum nem lehet későbbi a mai napnál!")}));
    EXPECT_EQ(backups, 0);
    EXPECT_EQ(headerNumbers(), QStringList({"SZ2007/00001"}));
}

TEST_F(OldDocumentsTest, CancelledBackupAsksAgainAndFailedBackupStops) {
    document("SZ2007/00001", QDate(2007, 6, 1), 1);
    backupOutcome = BackupOutcome::Failed;
    prompt.answerYesNo(true);
    EXPECT_FALSE(deletion.run("2008.01.01"));
    EXPECT_EQ(prompt.entries().size(), 1u);  // only the confirmation

    backupOutcome = BackupOutcome::Cancelled;
    prompt.answerYesNo(true);
    prompt.answerYesNo(false);
    EXPECT_FALSE(deletion.run("2008.01.01"));
    EXPECT_EQ(prompt.entries().back(),
              (ScriptedPrompt::Entry{
                  ScriptedPrompt::Kind::YesNo, "Figyelem!", "Biztonsági mentés nélkül folytatja?", Icon::Warning, {}}));
    EXPECT_EQ(headerNumbers(), QStringList({"SZ2007/00001"}));

    prompt.answerYesNo(true);
    prompt.answerYesNo(true);
    EXPECT_TRUE(deletion.run("2008.01.01"));
    EXPECT_TRUE(headerNumbers().isEmpty());
    EXPECT_EQ(backups, 3);
}

TEST_F(OldDocumentsTest, NothingToDeleteSaysSo) {
    document("SZ2024/00001", QDate(2024, 1, 2), 1);
    EXPECT_FALSE(deletion.run("2008.01.01"));
    EXPECT_EQ(prompt.transcript(), QStringList({prompt.entries().front().toString()}));
    EXPECT_EQ(prompt.entries().front().text,
              "Nincs 2008.01.01 előtti bizonylat vagy készletmozgás, nincs mit törölni.");
    EXPECT_EQ(backups, 0);
}

TEST_F(OldDocumentsTest, TablesAnotherWorkstationHoldsAreReportedUnpacked) {
    document("SZ2007/00001", QDate(2007, 6, 1), 2);
    document("SZ2024/00001", QDate(2024, 1, 2), 1);
    dbase::Table other(dir.path(), "Szamla.dbf");
    other.open();
    prompt.answerYesNo(true);
    ASSERT_TRUE(deletion.run("2008.01.01"));
    EXPECT_EQ(prompt.entries().back(),
              warning("A törölt bizonylatok helye nem szabadult fel, mert más munkaállomás is használja a "
                      "következő táblákat:\nSzamla.dbf\nA hely a következő újraindexeléskor szabadul fel."));
    EXPECT_EQ(headerNumbers(), QStringList({"SZ2024/00001"}));
    EXPECT_EQ(lineNumbers(), QStringList({"SZ2024/00001"}));
    other.close();
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
}

}  // namespace
}  // namespace kavina::maintenance
