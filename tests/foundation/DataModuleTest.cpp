// TDataModule1 on a new data folder: handles open on their default orders, optional tables
// missing, detail handles following their headers, the hooks and the write notification.

#include <gtest/gtest.h>

#include <filesystem>

#include "dbase/DbError.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"

namespace kavina {
namespace {

namespace fs = std::filesystem;
using testing_support::TestFolder;

class DataModuleTest : public ::testing::Test {
protected:
    TestFolder dir;
    TDataModule1 dm;

    void SetUp() override { createDataFolder(dir.path()); }

    void removeTable(TableId id) {
        const std::string file = catalogue::table(id).fileName;
        const std::string base = file.substr(0, file.rfind('.'));
        fs::remove(dir.file(file));
        fs::remove(dir.file(base + ".mdx"));
    }

    static void appendRow(TableHandle& h, std::initializer_list<std::pair<Field, QString>> values) {
        h.append();
        for (const auto& [field, value] : values) h.setString(field, value);
        h.post();
    }

    static std::vector<QString> walk(TableHandle& h, const Field& field) {
        std::vector<QString> out;
        for (h.first(); !h.eof(); h.next()) out.push_back(h.asString(field));
        return out;
    }
};

TEST_F(DataModuleTest, EveryHandleOpensOnItsDefaultOrderBoundToTheFolder) {
    dm.open(dir.path());
    EXPECT_EQ(dm.dataFolder(), dir.path() + "/");
    for (const TableDef& def : catalogue::tables()) {
        if (def.location != TableLocation::DataFolder) continue;
        SCOPED_TRACE(def.handleName);
        TableHandle& h = dm.handle(def.id);
        ASSERT_TRUE(h.isOpen());
        EXPECT_EQ(h.order(), def.defaultOrder);
    }
    EXPECT_EQ(&dm.Szamla2Table(), &dm.handle(TableId::Szamla2));
    EXPECT_EQ(&dm.vonalkodTable(), &dm.handle(TableId::Vonalkod));
}

TEST_F(DataModuleTest, AFolderWithoutTheOptionalTablesOpensWithThoseHandlesClosed) {
    for (TableId id : {TableId::Raktar, TableId::Akcio, TableId::Tranzakcio, TableId::Vonalkod}) removeTable(id);
    dm.open(dir.path());
    EXPECT_FALSE(dm.raktar().isOpen());
    EXPECT_FALSE(dm.akcio().isOpen());
    EXPECT_FALSE(dm.tranzakcio().isOpen());
    EXPECT_FALSE(dm.vonalkodTable().isOpen());
    EXPECT_TRUE(dm.AnyagTable().isOpen());

    // Once the upgrade has created the file, reopening opens the handle.
    createDataFolder(dir.file("other"));
    fs::copy_file(dir.file("other/raktar.dbf"), dir.file("raktar.dbf"));
    fs::copy_file(dir.file("other/raktar.mdx"), dir.file("raktar.mdx"));
    dm.reopen(TableId::Raktar);
    ASSERT_TRUE(dm.raktar().isOpen());
    EXPECT_EQ(dm.raktar().asString(fields::Raktar::MEGNEVEZES), QStringLiteral("Törzsraktár"));
}

TEST_F(DataModuleTest, AMissingBaseTableFailsTheOpenAndLeavesNothingOpen) {
    removeTable(TableId::Szamla2);
    EXPECT_THROW(dm.open(dir.path()), dbase::DbError);
    EXPECT_THROW(dm.SzamlaTable(), std::logic_error);
}

TEST_F(DataModuleTest, BoundHandlesOpenOneByOneAndDetailsLinkWhicheverOpensFirst) {
    dm.bind(dir.path());
    EXPECT_FALSE(dm.SzamlaTable().isOpen());
    dm.openTable(TableId::Szamla2);
    dm.openTable(TableId::Szamla);
    appendRow(dm.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, "A"}});
    appendRow(dm.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, "B"}});
    appendRow(dm.Szamla2Table(), {{fields::Szamla2::SZAMLASZAM, "B"}, {fields::Szamla2::MEGNEVEZES, "line of B"}});
    dm.SzamlaTable().first();
    EXPECT_TRUE(dm.Szamla2Table().isEmpty());

    // Closing the master cuts the detail's link: the detail then shows every line.
    dm.closeTable(TableId::Szamla);
    EXPECT_FALSE(dm.SzamlaTable().isOpen());
    EXPECT_EQ(walk(dm.Szamla2Table(), fields::Szamla2::MEGNEVEZES), std::vector<QString>{"line of B"});
    dm.openTable(TableId::Szamla);
    dm.openTable(TableId::Szamla);  // already open: stays where it is
    EXPECT_TRUE(dm.Szamla2Table().isEmpty());
}

TEST_F(DataModuleTest, VatGroupsListTheHighestRateFirst) {
    dm.open(dir.path());
    appendRow(dm.AFATable(), {{fields::AFA::AFA, "12"}, {fields::AFA::MEGNEVEZES, "12%"}});
    const std::vector<QString> rates = walk(dm.AFATable(), fields::AFA::AFA);
    EXPECT_EQ(rates, (std::vector<QString>{"27", "18", "12", "5", "0"}));
}

TEST_F(DataModuleTest, TextLongerThanTheFieldIsStoredCutToItsWidth) {
    dm.open(dir.path());
    const QString town = QStringLiteral("Szentgyörgyvölgy-Őrszentmiklós-Hódmezővásárhely-Kisújszállás");
    ASSERT_EQ(town.size(), 60);
    appendRow(dm.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, "SZA2024/00001"}, {fields::Szamla::VAROS, town}});
    dm.close();
    dm.open(dir.path());
    ASSERT_TRUE(dm.SzamlaTable().locate({{fields::Szamla::SZAMLASZAM, "SZA2024/00001"}}));
    EXPECT_EQ(dm.SzamlaTable().asString(fields::Szamla::VAROS), town.left(30));
}

// Lines are appended mixed over three documents; the detail shows exactly the current
// header's lines, in the SZAMLASZAM tag's order (its equal keys in record order), and follows
// the header as it moves.
TEST_F(DataModuleTest, TheDetailHandleWalksExactlyTheLinesOfTheCurrentHeader) {
    dm.open(dir.path());
    for (const char* number : {"SZA2024/00002", "SZA2024/00001", "SZA2024/00003"})
        appendRow(dm.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, number}});
    const std::vector<std::pair<const char*, const char*>> lines = {
        {"SZA2024/00002", "a"}, {"SZA2024/00001", "b"}, {"SZA2024/00002", "c"},
        {"SZA2024/00003", "d"}, {"SZA2024/00002", "e"}, {"SZA2024/000021", "not this"}};
    TableHandle lineWriter(dir.path(), "Szamla2.dbf");
    lineWriter.open();
    for (const auto& [number, name] : lines)
        appendRow(lineWriter, {{fields::Szamla2::SZAMLASZAM, number}, {fields::Szamla2::MEGNEVEZES, name}});

    TableHandle& header = dm.SzamlaTable();
    ASSERT_TRUE(header.locate({{fields::Szamla::SZAMLASZAM, "SZA2024/00002"}}));
    dm.Szamla2Table().refresh();
    EXPECT_EQ(walk(dm.Szamla2Table(), fields::Szamla2::MEGNEVEZES), (std::vector<QString>{"a", "c", "e"}));
    EXPECT_EQ(dm.Szamla2Table().recordCount(), 3u);
    header.next();  // SZAMLASZAM order: ...00002 is followed by ...00003
    EXPECT_EQ(walk(dm.Szamla2Table(), fields::Szamla2::MEGNEVEZES), std::vector<QString>{"d"});

    appendRow(dm.GaranciaTable(), {{fields::Garancia::SORSZAM, "GAR2024/00001"}});
    appendRow(dm.Garancia2Table(),
              {{fields::Garancia2::SORSZAM, "GAR2024/00001"}, {fields::Garancia2::GYARISZAM, "X1"}});
    appendRow(dm.GaranciaTable(), {{fields::Garancia::SORSZAM, "GAR2024/00002"}});
    EXPECT_TRUE(dm.Garancia2Table().isEmpty());
    dm.GaranciaTable().first();
    EXPECT_EQ(walk(dm.Garancia2Table(), fields::Garancia2::GYARISZAM), std::vector<QString>{"X1"});
}

TEST_F(DataModuleTest, PostsAndDeletesAreReportedWithTheHandleName) {
    dm.open(dir.path());
    std::vector<QString> written;
    QObject::connect(&dm, &TDataModule1::recordWritten, [&](const QString& name) { written.push_back(name); });
    TableHandle& units = dm.EgysegTable();
    appendRow(units, {{fields::Egyseg::EGYSEG, "doboz"}});
    units.append();
    units.setString(fields::Egyseg::EGYSEG, "pár");
    units.cancel();
    units.edit();
    units.setString(fields::Egyseg::EGYSEG, "tekercs");
    units.next();  // moving on posts the change
    units.deleteRecord();
    EXPECT_EQ(written, std::vector<QString>(3, QStringLiteral("EgysegTable")));
}

// Another workstation's change reaches a shared handle when it starts a new record, even if
// the new record is cancelled.
TEST_F(DataModuleTest, ASharedHandleReReadsBeforeItStartsANewRecord) {
    dm.open(dir.path());
    TableHandle& groups = dm.ArTable();
    groups.first();
    ASSERT_EQ(groups.asString(fields::Arcsoport::ARCSOPORT), QStringLiteral("1. árcsoport"));
    TableHandle other(dir.path(), "arcsoport.dbf");
    other.open();
    other.first();
    other.edit();
    other.setString(fields::Arcsoport::ARCSOPORT, "Kisker");
    other.post();

    groups.append();
    groups.cancel();
    EXPECT_EQ(groups.asString(fields::Arcsoport::ARCSOPORT), QStringLiteral("Kisker"));
}

TEST_F(DataModuleTest, AfterAReindexHandlesReopenOnTheirOrderAndKeepTheirLinks) {
    dm.open(dir.path());
    dm.reopen(TableId::Anyag, TDataModule1::Order::AfterReindex);
    EXPECT_EQ(dm.AnyagTable().order(), "CIKKSZAM");
    dm.reopen(TableId::Raktar, TDataModule1::Order::AfterReindex);
    EXPECT_EQ(dm.raktar().order(), "MEGNEVEZES");

    appendRow(dm.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, "A"}});
    appendRow(dm.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, "B"}});
    appendRow(dm.Szamla2Table(), {{fields::Szamla2::SZAMLASZAM, "B"}, {fields::Szamla2::MEGNEVEZES, "line of B"}});
    dm.reopen(TableId::Szamla);
    dm.SzamlaTable().first();  // A: no lines
    EXPECT_TRUE(dm.Szamla2Table().isEmpty());
    dm.SzamlaTable().next();
    EXPECT_EQ(walk(dm.Szamla2Table(), fields::Szamla2::MEGNEVEZES), std::vector<QString>{"line of B"});
}

}  // namespace
}  // namespace kavina
