// The settings record on a real data folder: the default record, typed access, older folders
// without the upgrade's counters, and the settings dialog's logic over the data module.
#include "foundation/SettingsRecord.h"

#include <gtest/gtest.h>
#include <memory>

#include "QtPrinters.h"
#include "common/ScriptedPrompt.h"
#include "dbase/DbError.h"
#include "dbase/TestFolder.h"
#include "foundation/DataModuleSetupData.h"
#include "foundation/NewDataFolder.h"
#include "foundation/Setup.h"
#include "foundation/TDataModule1.h"

namespace kavina {
namespace {

namespace F = fields::User;
using testing_support::TestFolder;

class SettingsRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        createDataFolder(m_dir.path());
        m_module.open(m_dir.path());
    }

    // What another workstation would read from disk.
    std::unique_ptr<TableHandle> reopened() const {
        auto handle = std::make_unique<TableHandle>(m_dir.path(), "user.dbf");
        handle->open();
        handle->first();
        return handle;
    }

    TestFolder m_dir;
    TDataModule1 m_module;
};

TEST_F(SettingsRecordTest, DefaultRecordHoldsTheStartingValues) {
    appendDefaultSettingsRecord(m_module.UserTable(), QDate(2024, 5, 6));
    const auto disk = reopened();
    SettingsRecord r(*disk);
    ASSERT_TRUE(r.exists());
    EXPECT_EQ(disk->recordCount(), 1u);
    EXPECT_EQ(r.text(F::USER1), QStringLiteral("Cég neve"));
    EXPECT_EQ(r.text(F::USER2), QString());
    EXPECT_EQ(r.text(F::CIM), QStringLiteral("1234 Város, Utca hsz."));
    EXPECT_EQ(r.text(F::TELEFON), QStringLiteral("Tel.: (42)123-456  FAX: (42)999-999"));
    EXPECT_EQ(r.text(F::ADOSZAM), QStringLiteral("Adószám: 00000000-0-00"));
    EXPECT_EQ(r.text(F::SZAMLASZAM), QStringLiteral("OTP Bankszámlaszám: 00000000-00000000"));
    EXPECT_EQ(r.text(F::VALLALK_IG), QStringLiteral("Cégjegyzék szám:"));
    EXPECT_TRUE(r.text(F::WEBLAP).startsWith(QStringLiteral("Honlap: ")));
    EXPECT_TRUE(r.text(F::EMAIL).startsWith(QStringLiteral("E-mail: ")));
    EXPECT_EQ(r.text(F::LABLEC1), QStringLiteral("Köz asz.: 00000000"));
    EXPECT_EQ(r.text(F::LABLEC2), QStringLiteral("A fenti feltételeket elfogadom !"));
    EXPECT_EQ(r.integer(F::HATARIDO), 8);
    EXPECT_EQ(r.number(F::SZORZO1), 15);
    EXPECT_EQ(r.number(F::SZORZO2), 20);
    EXPECT_EQ(r.number(F::SZORZO3), 25);
    for (const Field& counter : {F::SZAMLASZ, F::AJANLATSZ, F::MUNKASZ, F::GARLEVSZAM, F::SZLEVSZ})
        EXPECT_EQ(r.integer(counter), 1) << counter.text();
    for (const Field& counter : {F::PARTNERKOD, F::ANYAGKOD, F::VISSZA, F::PKIF}) EXPECT_EQ(r.integer(counter), 0);
    EXPECT_EQ(r.integer(F::SELOTAG), 1);
    EXPECT_EQ(r.integer(F::SUTOTAG), 2024);
    for (const Field& copies : {F::PRNSZAMLA, F::PRNAJANLAT, F::PRNMUNKA, F::PRNGARANC, F::PRNSZL})
        EXPECT_EQ(r.integer(copies), 2);
    EXPECT_EQ(r.text(F::SELO), QStringLiteral("SZA"));
    EXPECT_EQ(r.text(F::AELO), QStringLiteral("ARA"));
    EXPECT_EQ(r.text(F::GELO), QStringLiteral("GAR"));
    EXPECT_EQ(r.text(F::MELO), QStringLiteral("MUN"));
    EXPECT_EQ(r.text(F::FELO), QStringLiteral("SZL"));
    EXPECT_EQ(r.text(F::SUTO), QString());
    EXPECT_EQ(r.text(F::MEGJEGYZES), QString());
    EXPECT_EQ(r.text(F::LABSZAMLA), QString());
}

TEST_F(SettingsRecordTest, FieldWidthsComeFromTheCatalogue) {
    EXPECT_EQ(fieldWidth(F::SELO), 10);
    EXPECT_EQ(fieldWidth(F::CIM), 100);
    EXPECT_EQ(fieldWidth(F::SZAMLASZ), 0);
}

TEST_F(SettingsRecordTest, AnEmptyCashSaleCopiesFieldIsFilledWithTwoAndAnyOtherTextKept) {
    EXPECT_FALSE(fillEmptyCashSaleCopies(m_module.UserTable())) << "no settings record yet";
    appendDefaultSettingsRecord(m_module.UserTable(), QDate(2024, 5, 6));
    EXPECT_TRUE(fillEmptyCashSaleCopies(m_module.UserTable()));
    EXPECT_EQ(SettingsRecord(*reopened()).text(F::MEGJEGYZES), QStringLiteral("2"));
    EXPECT_FALSE(fillEmptyCashSaleCopies(m_module.UserTable()));
    EXPECT_FALSE(m_module.UserTable().isEditing());
}

TEST_F(SettingsRecordTest, CashSaleCopiesAreReadFromText) {
    EXPECT_EQ(cashSaleCopiesOf(QStringLiteral("3")), 3);
    EXPECT_EQ(cashSaleCopiesOf(QStringLiteral(" 2,5 ")), 2);
    EXPECT_EQ(cashSaleCopiesOf(QStringLiteral("3.5")), 4);
    EXPECT_EQ(cashSaleCopiesOf(QString()), 2);
    EXPECT_EQ(cashSaleCopiesOf(QStringLiteral("két")), 2);
    EXPECT_EQ(cashSaleCopiesOf(QStringLiteral("-1")), 2);
}

TEST(OlderSettingsRecordTest, CountersOfLaterUpgradesReadAsZeroAndRefuseWrites) {
    TestFolder dir;
    dbase::Table::create(
        dir.path(), "user.dbf",
        {{F::USER1.text(), dbase::FieldType::Character, 80}, {F::SZAMLASZ.text(), dbase::FieldType::Integer}});
    TableHandle table(dir.path(), "user.dbf");
    table.open();
    table.append();
    table.setInteger(F::SZAMLASZ, 7);
    table.post();
    SettingsRecord r(table);
    r.reread();
    EXPECT_FALSE(r.has(F::VISSZA));
    EXPECT_EQ(r.integer(F::VISSZA), 0);
    EXPECT_EQ(r.text(F::SELO), QString());
    EXPECT_EQ(r.integer(F::SZAMLASZ), 7);
    r.edit();
    EXPECT_THROW(r.setInteger(F::VISSZA, 1), dbase::DbError);
    r.cancel();
}

// A code counter holds the last code given; the code is taken from what is on disk now, not
// from what this workstation read before another one took a code.
TEST_F(SettingsRecordTest, CodeCountersHoldTheLastCodeGivenAndReadAgainFirst) {
    appendDefaultSettingsRecord(m_module.UserTable(), QDate(2024, 5, 6));
    TableHandle& mine = m_module.UserTable();
    mine.first();
    const auto other = reopened();
    other->edit();
    other->setInteger(F::PARTNERKOD, 41);
    other->post();
    EXPECT_EQ(takeCode(mine, F::PARTNERKOD), 42);
    EXPECT_EQ(takeCode(mine, F::ANYAGKOD), 1) << "an empty counter starts at 1";
    const auto disk = reopened();
    EXPECT_EQ(disk->asInteger(F::PARTNERKOD), 42);
    EXPECT_EQ(disk->asInteger(F::ANYAGKOD), 1);
}

class DataModuleSetupTest : public SettingsRecordTest {
protected:
    void SetUp() override {
        SettingsRecordTest::SetUp();
        appendDefaultSettingsRecord(m_module.UserTable(), QDate(2024, 5, 6));
        m_dir.write("kavinaextra.ini", "[adatok]\ndatabase=adatok\n");
    }

    DataModuleSetupData m_data{m_module};
};

TEST_F(DataModuleSetupTest, RecordRoundTripsThroughTheTable) {
    SetupRecord r = m_data.readRecord();
    EXPECT_EQ(r.USER1, QStringLiteral("Cég neve"));
    EXPECT_EQ(r.PRNSZL, 2);
    EXPECT_EQ(r.SZORZO3, 25);
    r.USER2 = QStringLiteral("Árvíztűrő Kft.");
    r.SUTO = QStringLiteral("/B");
    r.LABSZAMLA = QStringLiteral("{\\rtf1\\ansi \\'e1rv\\'edzt\\'fbr\\'f5\\par}");
    r.SZORZO1 = 12.5;
    r.SELOTAG = 3;
    r.MEGJEGYZES = QStringLiteral("4");
    m_data.writeRecord(r);
    EXPECT_EQ(m_data.readRecord(), r);
    const auto disk = reopened();
    SettingsRecord onDisk(*disk);
    EXPECT_EQ(onDisk.text(F::USER2), QStringLiteral("Árvíztűrő Kft."));
    EXPECT_EQ(onDisk.integer(F::SELOTAG), 3);
    EXPECT_EQ(onDisk.cashSaleCopies(), 4);
    EXPECT_EQ(onDisk.integer(F::SZAMLASZ), 1) << "fields the dialog does not show stay";
}

TEST_F(DataModuleSetupTest, ListsKeepTheSharedHandlesWhereTheyWere) {
    TableHandle& afa = m_module.AFATable();
    afa.last();
    const QString current = afa.asString(fields::AFA::MEGNEVEZES);
    const QStringList groups = m_data.vatGroups();
    EXPECT_EQ(groups.size(), 4);
    EXPECT_TRUE(groups.contains(QStringLiteral("27%")) && groups.contains(QStringLiteral("FAD")));
    EXPECT_EQ(afa.asString(fields::AFA::MEGNEVEZES), current);
    const QStringList methods = m_data.paymentMethods();
    EXPECT_EQ(methods.size(), 3);
    EXPECT_TRUE(methods.contains(QStringLiteral("Átutalás")));
    EXPECT_EQ(m_data.dataFolder(), QString::fromStdString(m_dir.path() + "/"));
}

TEST_F(DataModuleSetupTest, ChoosingHundredForintsStoresThreeInSelotag) {
    IniFile ini(QString::fromStdString(m_dir.file("kavinaextra.ini")));
    IniSettings settings = loadIniSettings(ini, QString::fromStdString(m_dir.path()), 0);
    ScriptedPrompt prompt;
    SetupLogic logic(m_data, settings, ini, prompt, {QStringLiteral("PDF")});
    SetupValues values = logic.open();
    const QString first = m_data.paymentMethods().value(0);
    EXPECT_EQ(values.settings.fizmod, first) << "no payment method set: the first of the list";
    values.record.SELOTAG = 3;
    ASSERT_EQ(logic.accept(values), SetupLogic::Outcome::Closed);
    const auto disk = reopened();
    EXPECT_EQ(SettingsRecord(*disk).integer(F::SELOTAG), 3);
    EXPECT_EQ(SettingsRecord(*disk).text(F::MEGJEGYZES), QStringLiteral("2"));
    EXPECT_EQ(IniFile(ini.path()).readString("adatok", "fizmod"), first);
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(DataModuleSetupTest, AnEmptyTableGetsTheRecordAppended) {
    TableHandle& user = m_module.UserTable();
    user.first();
    user.deleteRecord();
    EXPECT_EQ(m_data.readRecord(), SetupRecord());
    SetupRecord r;
    r.SELO = QStringLiteral("SZA");
    m_data.writeRecord(r);
    EXPECT_EQ(m_data.readRecord().SELO, QStringLiteral("SZA"));
    EXPECT_EQ(user.recordCount(), 1u);
}

}  // namespace
}  // namespace kavina
