// The reindex: the exclusive test and its refusal, the table order and progress, packing
// every table but garancia.dbf, optional tables, and the start-up decision.

#include "maintenance/reindex/Reindex.h"

#include <filesystem>
#include <map>

#include "dbase/DbError.h"
#include "dbase/Table.h"
#include "shell/SessionFixture.h"

namespace kavina::maintenance {
namespace {

using shell::testing::appendRow;
using shell::testing::column;
using shell::testing::SessionFixture;

namespace fs = std::filesystem;

class ReindexTest : public SessionFixture {
protected:
    std::vector<std::pair<int, QString>> progress;
    Reindex reindex{dm, prompt, [this](int position, const QString& label) { progress.emplace_back(position, label); }};

    std::map<std::string, std::string> folderBytes() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            files[entry.path().filename().string()] = fileBytes(entry.path().filename().string());
        return files;
    }
    void removeTable(const std::string& base) {
        for (const char* ext : {".dbf", ".mdx", ".dbt"}) fs::remove(dir.file(base + ext));
    }
    std::vector<int> positions() const {
        std::vector<int> out;
        for (const auto& [position, label] : progress) out.push_back(position);
        return out;
    }
};

TEST_F(ReindexTest, PacksEveryTableButGaranciaAndRebuildsTheirIndexes) {
    appendRow(dm.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, "SZA2024/00001"}});
    appendRow(dm.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, "SZA2024/00002"}});
    appendRow(dm.GaranciaTable(), {{fields::Garancia::SORSZAM, "1"}});
    appendRow(dm.GaranciaTable(), {{fields::Garancia::SORSZAM, "2"}});
    dm.SzamlaTable().first();
    dm.SzamlaTable().deleteRecord();
    dm.GaranciaTable().first();
    dm.GaranciaTable().deleteRecord();
    const auto szamlaSize = fs::file_size(dir.file("Szamla.dbf"));
    const auto garanciaSize = fs::file_size(dir.file("garancia.dbf"));
    const int szamlaRecord = dm.SzamlaTable().table().header().recordLength;
    fs::remove(dir.file("Partner.mdx"));  // a lost index file is rebuilt as well

    ASSERT_TRUE(reindex.run());
    EXPECT_EQ(fs::file_size(dir.file("Szamla.dbf")), szamlaSize - szamlaRecord);
    EXPECT_EQ(fs::file_size(dir.file("garancia.dbf")), garanciaSize);
    EXPECT_TRUE(fs::exists(dir.file("Partner.mdx")));
    EXPECT_EQ(column(dm.SzamlaTable(), fields::Szamla::SZAMLASZAM), QStringList({"SZA2024/00002"}));
    EXPECT_EQ(dm.AnyagTable().order(), "CIKKSZAM");
    EXPECT_TRUE(dm.UserTable().isOpen());
    EXPECT_TRUE(dm.LoginTable().isOpen());
    EXPECT_TRUE(prompt.transcript().isEmpty());

    // The lines follow their header again, and the highest VAT rate comes first.
    appendRow(dm.Szamla2Table(), {{fields::Szamla2::SZAMLASZAM, "SZA2024/00001"}});
    dm.SzamlaTable().first();
    EXPECT_TRUE(dm.Szamla2Table().isEmpty());
    EXPECT_EQ(column(dm.AFATable(), fields::AFA::AFA).first(), "27");
}

TEST_F(ReindexTest, ProgressFollowsTheTableOrderWithItsGroupLabels) {
    ASSERT_TRUE(reindex.run());
    const std::vector<std::pair<int, QString>> expected{{0, ""},
                                                        {1, "Rendszer"},
                                                        {1, "Rendszer"},
                                                        {2, "Rendszer"},
                                                        {3, "Partnerek"},
                                                        {4, "Termékek"},
                                                        {5, "Termékek"},
                                                        {6, "Munkalapok"},
                                                        {7, "Munkalapok"},
                                                        {7, "Munkalapok"},
                                                        {8, "Települések"},
                                                        {9, "Települések"},
                                                        {10, "Bizonylatok"},
                                                        {11, "Bizonylatok"},
                                                        {12, "Bizonylatok"},
                                                        {13, "Bizonylatok"},
                                                        {14, "Bizonylatok"},
                                                        {15, "Munkalapok"},
                                                        {16, "Vonalkódok"},
                                                        {17, "Tranzakciók"}};
    EXPECT_EQ(progress, expected);
}

TEST_F(ReindexTest, AFolderWithoutTheOptionalTablesSkipsTheirPositions) {
    dm.close();
    for (const char* base : {"raktar", "vonalkod", "tranzakcio"}) removeTable(base);
    dm.open(dir.path());
    ASSERT_TRUE(reindex.run());
    EXPECT_EQ(positions(), (std::vector<int>{0, 1, 1, 2, 3, 4, 5, 7, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_FALSE(fs::exists(dir.file("raktar.dbf")));
    EXPECT_FALSE(dm.raktar().isOpen());
}

TEST_F(ReindexTest, AnotherInstanceRunningRefusesWithTheMessageAndChangesNothing) {
    TDataModule1 other;
    other.open(dir.path());
    const auto before = folderBytes();
    EXPECT_FALSE(reindex.run());
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|error|Hiba|Az adatbázis használatban van, ezért nem lehet kizárólagos "
                           "használatra megnyitni!\n\rKérem próbálja meg később elindítani az újraindexelést."}));
    EXPECT_EQ(folderBytes(), before);
    EXPECT_TRUE(dm.LoginTable().isOpen());
    EXPECT_TRUE(dm.UserTable().isOpen());

    other.close();
    EXPECT_TRUE(reindex.run());
}

TEST_F(ReindexTest, ATableHeldElsewhereIsRefusedBeforeItsIndexIsTouched) {
    TableHandle holder(dir.path(), "Partner.DBF");
    holder.open();
    const std::string index = fileBytes("Partner.mdx");
    EXPECT_THROW(rebuildTable(dm, TableId::Partner), dbase::DbError);
    EXPECT_EQ(fileBytes("Partner.mdx"), index);
    EXPECT_TRUE(dm.PartnerTable().isOpen());
}

// A workstation that died between writing document lines and the header's count leaves them
// past the count; the reindex after the crash counts them again instead of cutting them off.
TEST_F(ReindexTest, LinesPastTheHeaderCountSurviveTheReindex) {
    appendRow(dm.Szamla2Table(), {{fields::Szamla2::SZAMLASZAM, "SZA2024/00001"}});
    const std::string indexOfOne = fileBytes("Szamla2.mdx");
    std::string lines = fileBytes("Szamla2.dbf");
    for (const char* number : {"SZA2024/00002", "SZA2024/00003"})
        appendRow(dm.Szamla2Table(), {{fields::Szamla2::SZAMLASZAM, QString::fromLatin1(number)}});
    // The records were written, but neither the count nor the index learnt of them.
    lines = fileBytes("Szamla2.dbf");
    lines[4] = 1;
    dir.write("Szamla2.dbf", lines);
    dir.write("Szamla2.mdx", indexOfOne);

    ASSERT_TRUE(reindex.run());
    dbase::Table check(dir.path(), "Szamla2.dbf");  // the shared handle follows its header
    check.open({.readOnly = true});
    check.setOrder("SZAMLASZAM");
    std::vector<std::string> numbers;
    for (check.first(); !check.eof(); check.next()) numbers.push_back(check.asString("SZAMLASZAM"));
    EXPECT_EQ(numbers, (std::vector<std::string>{"SZA2024/00001", "SZA2024/00002", "SZA2024/00003"}));
    EXPECT_TRUE(check.checkIntegrity().empty());
}

TEST_F(ReindexTest, ATableThatCannotBeReadKeepsItsIndex) {
    std::string partners = fileBytes("Partner.DBF");
    partners[10] = 99;  // the record length
    dir.write("Partner.DBF", partners);
    const std::string index = fileBytes("Partner.mdx");
    EXPECT_THROW(rebuildTable(dm, TableId::Partner), dbase::DbError);
    EXPECT_TRUE(fileBytes("Partner.mdx") == index) << "the index was deleted or written to";
    EXPECT_TRUE(fileBytes("Partner.DBF") == partners) << "the table was written to";
}

TEST_F(ReindexTest, StartupDecision) {
    EXPECT_FALSE(fullReindexNeeded(dir.path(), true, false));
    EXPECT_TRUE(fullReindexNeeded(dir.path(), true, true));    // autoindex
    EXPECT_TRUE(fullReindexNeeded(dir.path(), false, false));  // the last run did not end cleanly
    fs::remove(dir.file("garancia2.mdx"));
    EXPECT_TRUE(fullReindexNeeded(dir.path(), true, false));

    EXPECT_FALSE(optionalIndexMissing(dir.path(), TableId::Vonalkod));
    dm.close();
    fs::remove(dir.file("vonalkod.mdx"));
    EXPECT_TRUE(optionalIndexMissing(dir.path(), TableId::Vonalkod));
    fs::remove(dir.file("vonalkod.dbf"));  // neither file: nothing to do
    EXPECT_FALSE(optionalIndexMissing(dir.path(), TableId::Vonalkod));
    fs::remove(dir.file("raktar.mdx"));
    EXPECT_TRUE(optionalIndexMissing(dir.path(), TableId::Raktar));
}

}  // namespace
}  // namespace kavina::maintenance
