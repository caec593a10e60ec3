// The database upgrade: a hand-made folder of the oldest layout brought to the catalogue with
// every record and value kept, a current folder left byte for byte as it was whatever the
// workstation's level, a failed step recorded as not done and resumed, and a rebuild that
// fails while writing its copy leaving the table as it was.

#include "maintenance/upgrade/DatabaseUpgrade.h"

#include <filesystem>
#include <fstream>
#include <map>

#include "dbase/FolderCheck.h"
#include "dbase/Table.h"
#include "dbase/Transaction.h"
#include "maintenance/reindex/Reindex.h"
#include "maintenance/upgrade/TableRebuild.h"
#include "shell/SessionFixture.h"

namespace kavina::maintenance {
namespace {

using shell::testing::SessionFixture;
namespace fs = std::filesystem;

std::map<std::string, std::string> imageOf(const std::string& folder) {
    std::map<std::string, std::string> image;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        image[entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    image.erase(dbase::kFolderLockName);
    return image;
}

// The fields the oldest folders lack, written out here by hand from the older layouts.
const std::map<TableId, std::vector<std::string>> kLaterFields{
    {TableId::Szamla, {"TELJESCIM", "szlnetto", "szlbrutto", "BUYERTAX", "BUYEREU", "BUYERSTAT", "BASEINV"}},
    {TableId::Szamla2, {"bar1", "bar2", "bar3", "bfixar", "begysegar", "bruttoar", "cikkszam", "nbesz", "haszon"}},
    {TableId::Anyag, {"bar1", "bar2", "bar3", "bfixar", "bbesz", "szavatossag", "VONALKOD"}},
    {TableId::Partner, {"VONALKOD", "VATSTATUS", "EUVATNUM"}},
    {TableId::AFA, {"VATKIND", "VATCASE", "VATREASON"}},
    {TableId::Egyseg, {"NAVUNIT"}},
    {TableId::Fizmod, {"NAVPAYMENT"}},
    {TableId::User, {"VISSZA", "SELEJT", "MEGRENDELO", "IDEIGLENES", "ELOLEG", "PROFORMA", "PKIF", "JOVAIR"}},
    {TableId::Jogok, {"JOGOK"}},
};

class UpgradeTest : public SessionFixture {
protected:
    std::vector<int> levels;
    QStringList logLines;
    int backups = 0;
    int reindexes = 0;
    UpgradeHooks hooks{.log = [this](const QString& line) { logLines << line; },
                       .progress = {},
                       .backup =
                           [this] {
                               ++backups;
                               return BackupOutcome::Done;
                           },
                       .reindex =
                           [this] {
                               ++reindexes;
                               ASSERT_TRUE(Reindex(dm, prompt, {}).run());
                           },
                       .recordLevel = [this](int level) { levels.push_back(level); }};

    int upgrade(int iniLevel) { return DatabaseUpgrade(dm, prompt, hooks).run(iniLevel); }

    // The folder of the oldest layout: the catalogue's tables without the later fields, without
    // the four tables the steps create, each with the tags its fields allow.
    void makeOldestFolder() {
        dm.close();
        for (TableId id : {TableId::Raktar, TableId::Akcio, TableId::Tranzakcio, TableId::Vonalkod, TableId::NavQueue})
            dbase::Table::drop(dir.path(), catalogue::table(id).fileName);
        rebuildWithout(kLaterFields);
    }
    // Rebuilds each table empty without the fields listed, with the tags its fields allow.
    void rebuildWithout(const std::map<TableId, std::vector<std::string>>& laterFields) {
        for (const auto& [id, later] : laterFields) {
            const TableDef& def = catalogue::table(id);
            std::vector<dbase::FieldDef> fields;
            for (const dbase::FieldDef& f : def.fields)
                if (std::find(later.begin(), later.end(), f.name) == later.end()) fields.push_back(f);
            std::vector<dbase::MdxFile::TagDefinition> tags;
            for (const TagDef& tag : def.tags)
                if (std::find(later.begin(), later.end(), tag.field) == later.end())
                    tags.push_back({tag.name, tag.field, tag.descending});
            dbase::Table::drop(dir.path(), def.fileName);
            dbase::Table::create(dir.path(), def.fileName, fields, catalogue::kTableLevel);
            dbase::Table::reindex(dir.path(), def.fileName, tags);
        }
    }
    void add(TableId id, std::initializer_list<std::pair<const char*, std::string>> values) {
        dbase::Table t(dir.path(), catalogue::table(id).fileName);
        t.open();
        t.append();
        for (const auto& [field, value] : values) {
            const int i = t.fieldNumber(field);
            switch (t.fields()[static_cast<std::size_t>(i)].logical) {
                case dbase::FieldType::Logical: t.setLogical(i, value == "T"); break;
                case dbase::FieldType::Float: t.setFloat(i, std::stod(value)); break;
                case dbase::FieldType::Integer:
                case dbase::FieldType::Short: t.setInteger(i, std::stoll(value)); break;
                case dbase::FieldType::Date: t.setDate(i, *dbase::Date::parse(value)); break;
                default: t.setString(i, value);
            }
        }
        t.post();
    }
    std::vector<std::string> values(TableId id, const char* field) {
        dbase::Table t(dir.path(), catalogue::table(id).fileName);
        t.open({.readOnly = true});
        std::vector<std::string> out;
        for (t.first(); !t.eof(); t.next()) out.push_back(t.asString(field));
        return out;
    }
    void fillOldestFolder() {
        add(TableId::User, {{"USER1", "Minta Bt."}, {"SELOTAG", "1"}, {"SZAMLASZ", "17"}});
        add(TableId::Jogok, {{"FELHASZNAL", "Kata"}, {"szamla", "T"}});
        add(TableId::Jogok, {{"FELHASZNAL", "Admin"},
                             {"ajanlat", "T"},
                             {"szamla", "T"},
                             {"arlista", "T"},
                             {"partner", "T"},
                             {"anyag", "T"},
                             {"garancia", "T"},
                             {"szerviz", "T"}});
        add(TableId::Partner, {{"PARTNERKOD", "7"}, {"NEV", "Kovács Kft."}, {"VAROS", "Győr"}, {"UTCA", "Fő u. 1."}});
        add(TableId::Anyag, {{"ANYAGKOD", "3"},
                             {"MEGNEVEZES", "Csavar"},
                             {"MENNYISEG", "12.5"},
                             {"AR1", "1000"},
                             {"AR2", "999.9"},
                             {"BESZERZAR", "500"},
                             {"AFAKULCS", "27"},
                             {"MEGJEGYZES", "polc 3"}});
        add(TableId::Szamla, {{"SZAMLASZAM", "SZA2007/00002"},
                              {"SZAMLATIP", "1"},
                              {"VAROS", "Pécs"},
                              {"CIM", "Kossuth u. 2."},
                              {"KIALLIT", "2007.03.15"}});
        add(TableId::Szamla, {{"SZAMLASZAM", "BSZ2007/00001"}, {"SZAMLATIP", "B"}});
        add(TableId::Szamla, {{"SZAMLASZAM", "VIS2007/00003"}, {"SZAMLATIP", "V"}});
        add(TableId::Szamla2, {{"SZAMLASZAM", "SZA2007/00002"},
                               {"MEGNEVEZES", "munkadíj"},
                               {"TERMEK", "F"},
                               {"NETTOAR", "200"},
                               {"AR1", "100"},
                               {"AFA", "27"}});
        add(TableId::Szamla2, {{"SZAMLASZAM", "BSZ2007/00001"}, {"MEGNEVEZES", "anya"}, {"TERMEK", "T"}});
        add(TableId::Szamla2, {{"SZAMLASZAM", "SZA2007/00002"},
                               {"MEGNEVEZES", "csavar"},
                               {"TERMEK", "T"},
                               {"NETTOAR", "1000.5"},
                               {"AFA", "27"}});
    }
};

TEST_F(UpgradeTest, TheOldestFolderEndsWithTheCatalogueAndKeepsEveryValue) {
    makeOldestFolder();
    fillOldestFolder();
    dm.open(dir.path());
    EXPECT_EQ(detectedLevel(dir.path()), 0);

    EXPECT_EQ(upgrade(0), 11);
    EXPECT_EQ(levels, std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(backups, 1);
    EXPECT_EQ(reindexes, 1);
    EXPECT_EQ(logLines.first(), "Adatbázis mentése...");
    EXPECT_EQ(logLines[1], "1. javítócsomag telepítése...");
    EXPECT_EQ(logLines.last(), "Telepítés kész!");
    EXPECT_TRUE(prompt.transcript().isEmpty()) << prompt.transcript().join('\n').toStdString();

    for (const TableDef& def : catalogue::tables()) {
        if (def.location != TableLocation::DataFolder) continue;
        SCOPED_TRACE(def.fileName);
        const std::vector<dbase::FieldDef> now = currentFields(dir.path(), def.fileName);
        ASSERT_EQ(now.size(), def.fields.size());
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_EQ(now[i].name, def.fields[i].name);
            EXPECT_EQ(now[i].type, def.fields[i].type);
        }
    }
    EXPECT_EQ(values(TableId::Partner, "VONALKOD"), std::vector<std::string>({"4770148115002"}));
    EXPECT_EQ(values(TableId::Partner, "TELJESCIM"), std::vector<std::string>({"Győr Fő u. 1."}));
    EXPECT_EQ(values(TableId::Anyag, "MENNYISEG"), std::vector<std::string>({"12.5"}));
    EXPECT_EQ(values(TableId::Anyag, "bar1"), std::vector<std::string>({"1270"}));
    EXPECT_EQ(values(TableId::Anyag, "bar2"), std::vector<std::string>({"1270"}));  // 1269.873 to whole forints
    EXPECT_EQ(values(TableId::Anyag, "bbesz"), std::vector<std::string>({"635"}));
    EXPECT_EQ(values(TableId::Anyag, "MEGJEGYZES"), std::vector<std::string>({"Törzsraktár"}));
    EXPECT_EQ(values(TableId::Raktar, "MEGNEVEZES"), std::vector<std::string>({"Törzsraktár"}));
    EXPECT_EQ(values(TableId::Jogok, "JOGOK"), std::vector<std::string>({"BMP1", "ABFMP19TUVW345GH"}));
    EXPECT_EQ(values(TableId::User, "LABLEC1"), std::vector<std::string>({"Köz. asz.:"}));
    EXPECT_EQ(values(TableId::User, "SZAMLASZ"), std::vector<std::string>({"17"}));
    EXPECT_EQ(values(TableId::User, "MEGRENDELO"), std::vector<std::string>({"1"}));
    EXPECT_EQ(values(TableId::User, "VISSZA"), std::vector<std::string>({""}));
    EXPECT_EQ(values(TableId::Szamla, "SZAMLATIP"), std::vector<std::string>({"1", "3", "4"}));
    EXPECT_EQ(values(TableId::Szamla, "TELJESCIM")[0], "Pécs Kossuth u. 2.");
    EXPECT_EQ(values(TableId::Szamla, "KIALLIT")[0], "2007.03.15");
    // Grouped by document, product lines first; gross values to two decimals.
    EXPECT_EQ(values(TableId::Szamla2, "MEGNEVEZES"), std::vector<std::string>({"anya", "csavar", "munkadíj"}));
    EXPECT_EQ(values(TableId::Szamla2, "bruttoar"), std::vector<std::string>({"0", "1270.64", "254"}));
    EXPECT_EQ(values(TableId::Szamla2, "bar1")[2], "127");
    EXPECT_EQ(values(TableId::Partner, "VATSTATUS"), std::vector<std::string>({"P"}));
    EXPECT_EQ(detectedLevel(dir.path()), 11);
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
    EXPECT_TRUE(dm.tranzakcio().isOpen());
}

// A folder of the previous version: every table at level 10 with records, no queue table.
TEST_F(UpgradeTest, ThePreviousVersionsFolderGainsTheInvoiceDataFieldsAndKeepsEveryRecord) {
    dm.close();
    dbase::Table::drop(dir.path(), catalogue::table(TableId::NavQueue).fileName);
    std::map<TableId, std::vector<std::string>> step11;
    for (TableId id : {TableId::Partner, TableId::Szamla, TableId::AFA, TableId::Egyseg, TableId::Fizmod})
        step11[id] = fieldsAddedBy(11, id);
    rebuildWithout(step11);
    add(TableId::Partner, {{"PARTNERKOD", "1"}, {"NEV", "Mérleg Kft."}, {"ADOSZAM", "12345676-2-41"}});
    add(TableId::Partner, {{"PARTNERKOD", "2"}, {"NEV", "Kiss Éva"}});
    add(TableId::AFA, {{"AFA", "27"}, {"MEGNEVEZES", "27%"}});
    add(TableId::AFA, {{"AFA", "0"}, {"MEGNEVEZES", "FAD"}});
    add(TableId::Egyseg, {{"EGYSEG", "db"}});
    add(TableId::Egyseg, {{"EGYSEG", "zsák"}});
    add(TableId::Fizmod, {{"FIZMOD", "Átutalás"}});
    add(TableId::Fizmod, {{"FIZMOD", "Készpénz"}});
    add(TableId::Szamla, {{"SZAMLASZAM", "SZA2025/00001"}, {"SZAMLATIP", "B"}, {"NEV", "Mérleg Kft."}});
    dm.open(dir.path());
    EXPECT_EQ(detectedLevel(dir.path()), 10);

    EXPECT_EQ(upgrade(10), 11);
    EXPECT_EQ(levels, std::vector<int>({11}));
    EXPECT_TRUE(prompt.transcript().isEmpty()) << prompt.transcript().join('\n').toStdString();
    for (const TableDef& def : catalogue::tables()) {
        if (def.location != TableLocation::DataFolder) continue;
        SCOPED_TRACE(def.fileName);
        const std::vector<dbase::FieldDef> now = currentFields(dir.path(), def.fileName);
        ASSERT_EQ(now.size(), def.fields.size());
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_EQ(now[i].name, def.fields[i].name);
            EXPECT_EQ(now[i].type, def.fields[i].type);
            EXPECT_EQ(now[i].width, def.fields[i].width);
        }
    }
    EXPECT_EQ(values(TableId::Partner, "NEV"), std::vector<std::string>({"Mérleg Kft.", "Kiss Éva"}));
    EXPECT_EQ(values(TableId::Partner, "ADOSZAM"), std::vector<std::string>({"12345676-2-41", ""}));
    EXPECT_EQ(values(TableId::Partner, "VATSTATUS"), std::vector<std::string>({"D", "P"}));
    EXPECT_EQ(values(TableId::AFA, "VATKIND"), std::vector<std::string>({"P", ""}));
    EXPECT_EQ(values(TableId::Egyseg, "NAVUNIT"), std::vector<std::string>({"PIECE", "OWN"}));
    EXPECT_EQ(values(TableId::Fizmod, "NAVPAYMENT"), std::vector<std::string>({"TRANSFER", "CASH"}));
    EXPECT_EQ(values(TableId::Szamla, "SZAMLASZAM"), std::vector<std::string>({"SZA2025/00001"}));
    EXPECT_EQ(values(TableId::Szamla, "BUYERTAX"), std::vector<std::string>({""}));
    EXPECT_EQ(detectedLevel(dir.path()), 11);
    EXPECT_TRUE(dm.handle(TableId::NavQueue).isOpen());
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
}

TEST_F(UpgradeTest, ACurrentFolderStaysByteForByteWhateverTheWorkstationsLevel) {
    shell::testing::appendRow(dm.PartnerTable(), {{fields::Partner::NEV, "Kovács Kft."}});
    shell::testing::appendRow(dm.AnyagTable(), {{fields::Anyag::MEGNEVEZES, "Csavar"}, {fields::Anyag::AR1, "10"}});
    const auto before = imageOf(dir.path());
    for (int iniLevel : {0, 3, 9}) {
        EXPECT_EQ(upgrade(iniLevel), 11);
        EXPECT_EQ(imageOf(dir.path()), before);
    }
    EXPECT_EQ(backups, 0);
    EXPECT_TRUE(levels.empty());
    EXPECT_TRUE(prompt.transcript().isEmpty());
}

TEST_F(UpgradeTest, AFailedStepIsNotRecordedAndTheNextRunResumes) {
    makeOldestFolder();
    fillOldestFolder();
    dm.open(dir.path());
    const std::string headers = dir.read("Szamla.dbf");
    auto other = std::make_unique<dbase::Table>(dir.path(), "Szamla.dbf");
    other->open();

    EXPECT_EQ(upgrade(0), 1);
    EXPECT_EQ(levels, std::vector<int>({1}));
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption, "Javítócsomag telepítése...");
    EXPECT_TRUE(prompt.entries()[0].text.startsWith("A(z) 2. javítócsomag telepítése nem sikerült:\n"));
    EXPECT_TRUE(prompt.entries()[0].text.endsWith("\nA program a következő indításkor folytatja a telepítést."));
    EXPECT_EQ(dir.read("Szamla.dbf"), headers);
    EXPECT_FALSE(fs::exists(dir.file("upg_Szamla.dbf")));

    other.reset();
    levels.clear();
    EXPECT_EQ(upgrade(1), 11);
    EXPECT_EQ(levels, std::vector<int>({2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(values(TableId::Szamla, "SZAMLATIP"), std::vector<std::string>({"1", "3", "4"}));
    EXPECT_EQ(testing_support::checkAllTables(dir.path()), std::vector<std::string>());
}

TEST_F(UpgradeTest, CancelledBackupAsksAndFailedBackupStopsBeforeAnyStep) {
    makeOldestFolder();
    dm.open(dir.path());
    hooks.backup = [] { return BackupOutcome::Failed; };
    EXPECT_EQ(upgrade(0), 0);
    hooks.backup = [] { return BackupOutcome::Cancelled; };
    prompt.answerYesNo(false);
    EXPECT_EQ(upgrade(0), 0);
    EXPECT_TRUE(levels.empty());
    EXPECT_EQ(prompt.entries(), std::vector<ScriptedPrompt::Entry>({{ScriptedPrompt::Kind::YesNo,
                                                                     "Javítócsomag telepítése...",
                                                                     "Biztonsági mentés nélkül folytatja?",
                                                                     Icon::Warning,
                                                                     {}}}));
    EXPECT_EQ(detectedLevel(dir.path()), 0);
}

TEST_F(UpgradeTest, ARebuildFailingWhileWritingItsCopyLeavesTheTableAsItWas) {
    for (int i = 0; i < 5; ++i)
        shell::testing::appendRow(dm.PartnerTable(), {{fields::Partner::NEV, QString("Partner %1").arg(i)}});
    const auto before = imageOf(dir.path());
    int copied = 0;
    RebuildSpec spec{TableId::Partner,
                     catalogue::table(TableId::Partner).fields,
                     [&copied](const dbase::Table&, dbase::Table&) {
                         if (++copied == 3) throw dbase::DbError("the disk is full", dbase::DbErrorKind::Io);
                     },
                     {}};
    EXPECT_THROW(rebuildBeside(dm, spec), dbase::DbError);
    EXPECT_EQ(imageOf(dir.path()), before);
    EXPECT_TRUE(dm.PartnerTable().isOpen());
    EXPECT_EQ(dm.PartnerTable().recordCount(), 5u);
}

TEST_F(UpgradeTest, AStoppedSwapIsFinishedAndLeftoverCopiesAreRemoved) {
    shell::testing::appendRow(dm.PartnerTable(), {{fields::Partner::NEV, "Kovács Kft."}});
    dm.close();
    // A swap stopped after the old files stepped aside: the copy takes the table's place.
    fs::copy_file(dir.file("Partner.DBF"), dir.file("upg_Partner.DBF"));
    fs::copy_file(dir.file("Partner.mdx"), dir.file("upg_Partner.mdx"));
    fs::rename(dir.file("Partner.DBF"), dir.file("old_Partner.DBF"));
    fs::rename(dir.file("Partner.mdx"), dir.file("old_Partner.mdx"));
    dir.write(kRebuildMarker, "Partner.DBF\n");
    dir.write("upg_Anyag.dbf", "a copy that never reached its swap");
    dir.write("old_mentes.txt", "a file of the clerk");
    recoverRebuilds(dir.path() + "/");
    EXPECT_TRUE(fs::exists(dir.file("Partner.DBF")));
    EXPECT_FALSE(fs::exists(dir.file("old_Partner.DBF")));
    EXPECT_FALSE(fs::exists(dir.file("upg_Anyag.dbf")));
    EXPECT_FALSE(fs::exists(dir.file(kRebuildMarker)));
    EXPECT_TRUE(fs::exists(dir.file("old_mentes.txt")));
    dbase::Table partners(dir.path(), "Partner.DBF");
    partners.open({.readOnly = true});
    EXPECT_EQ(partners.recordCount(), 1u);
}

}  // namespace
}  // namespace kavina::maintenance
