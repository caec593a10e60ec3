// The start-up tasks after the main window appears: the year opening, the settings record
// checks, the database upgrade below level 10, the VAT groups and the one-off fixes with their
// ini keys.

#include "shell/startup/StartupTasks.h"

#include "SessionFakes.h"
#include "SessionFixture.h"
#include "dbase/Table.h"
#include "foundation/NewDataFolder.h"
#include "foundation/SettingsRecord.h"
#include "maintenance/upgrade/DatabaseUpgrade.h"
#include "shell/startup/SessionState.h"

namespace kavina::shell::testing {
namespace {

namespace F = fields::User;

class StartupTasksTest : public ProgramFixture {
protected:
    StartupTasksTest() {
        now = QDateTime(QDate(2024, 1, 2), QTime(8, 0));
        createDataFolder(data.path(), {.demo = true, .today = QDate(2023, 6, 1)});
        program.write("kavinaextra.ini", "[adatok]\nspack=3\n");
        state.reloadIni();
        state.settings = loadIniSettings(*state.ini, state.programFolder, 0);
        state.session.dataFolder = QString::fromStdString(data.path());
        state.session.currentUser = "Kata";
        state.data.open(data.path());
        state.log.emplace(state.data.LoginTable(), state.clock);
    }
    SettingsRecord record() {
        SettingsRecord r(state.data.UserTable());
        r.reread();
        return r;
    }
    void setText(const Field& field, const QString& value) {
        SettingsRecord r = record();
        r.edit();
        r.setText(field, value);
        r.post();
    }

    FakeWindows windows;
    FakeMainWindow window;
    StartupTasks tasks{state, windows, window};
};

TEST_F(StartupTasksTest, NoAtTheYearOpeningChangesNoCounterAndAsksAgainNextTime) {
    const int64_t invoices = record().integer(F::SZAMLASZ);
    prompt.answerYesNo(false);
    EXPECT_FALSE(tasks.openYear());
    EXPECT_EQ(record().integer(F::SZAMLASZ), invoices);
    EXPECT_EQ(record().integer(F::SUTOTAG), 2023);
    EXPECT_EQ(prompt.transcript(), QStringList({"yes/no|warning|Figyelem !|" + yearOpeningQuestion()}));
    EXPECT_TRUE(yearOpeningQuestion().contains("le kell nulláznia.\r\nA program most"));
    prompt.answerYesNo(false);
    tasks.openYear();
    EXPECT_EQ(prompt.transcript().size(), 2);
}

TEST_F(StartupTasksTest, YesResetsEveryCounterButLeavesTheRoundingChoice) {
    SettingsRecord r = record();
    r.edit();
    for (const Field& f : {F::SZAMLASZ, F::AJANLATSZ, F::PROFORMA, F::JOVAIR, F::PARTNERKOD}) r.setInteger(f, 77);
    r.setInteger(F::SELOTAG, 3);
    r.post();
    prompt.answerYesNo(true);
    ASSERT_TRUE(tasks.openYear());
    r.reread();
    EXPECT_EQ(r.integer(F::SUTOTAG), 2024);
    for (const Field& f : {F::SZAMLASZ, F::AJANLATSZ, F::PROFORMA, F::JOVAIR}) EXPECT_EQ(r.integer(f), 1);
    EXPECT_EQ(r.integer(F::PARTNERKOD), 77);
    EXPECT_EQ(r.integer(F::SELOTAG), 3);
    EXPECT_FALSE(tasks.openYear());  // the year is open: no second question
}

TEST_F(StartupTasksTest, AYearOpenedByAnotherWorkstationMeanwhileIsNotResetAgain) {
    prompt.answerYesNo(true);
    // While the question is open, another workstation opens the year and issues an invoice.
    TableHandle other(data.path(), "user.dbf");
    other.open();
    other.edit();
    other.setInteger(fields::User::SUTOTAG, 2024);
    other.setInteger(fields::User::SZAMLASZ, 2);
    other.post();
    EXPECT_FALSE(tasks.openYear());
    EXPECT_EQ(record().integer(F::SZAMLASZ), 2);
}

TEST_F(StartupTasksTest, TheDefaultCompanyNameAndAMissingAffixOpenTheSettingsDialog) {
    now = QDateTime(QDate(2023, 6, 2), QTime(8, 0));
    setText(F::USER1, "Cég neve");
    setText(F::GELO, "");
    setText(F::GUTO, "");
    setText(F::FELO, "");
    tasks.checkSettingsRecord();
    EXPECT_EQ(windows.calls, QStringList({"settings owner", "settings documents"}));
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem !|Bizonylat elő vagy utótagokat kötelező kitölteni! \n\rErre "
                           "azért van szükség, hogy a bizonylatszámok ne ismétlődjenek.\n\rAz elő és utótagokat a "
                           "\"beállítások\" ablak \"számlázás\" lapján tudja beállítani."}));
}

TEST_F(StartupTasksTest, AnEmptySettingsTableGetsTheDefaultRecordAndTheDialog) {
    state.data.UserTable().first();
    state.data.UserTable().deleteRecord();
    tasks.checkSettingsRecord();
    EXPECT_EQ(record().text(F::USER1), "Cég neve");
    EXPECT_EQ(record().integer(F::SUTOTAG), 2024);
    EXPECT_EQ(windows.calls, QStringList({"settings owner"}));
    EXPECT_TRUE(prompt.transcript().isEmpty());
}

TEST_F(StartupTasksTest, SettingsAcceptedDuringTheChecksTakeEffectAtOnce) {
    now = QDateTime(QDate(2023, 6, 2), QTime(8, 0));
    setText(F::USER1, "Cég neve");
    tasks.checkSettingsRecord();
    EXPECT_FALSE(window.calls.contains("apply settings")) << "left with \"&Kilépés\"";
    windows.settingsAccepted = true;
    tasks.checkSettingsRecord();
    EXPECT_EQ(window.calls.count("apply settings"), 1);
}

TEST_F(StartupTasksTest, VatGroupsGainFadAndLoseTheOldTaxFreeNames) {
    TableHandle& groups = state.data.AFATable();
    appendRow(groups, {{fields::AFA::MEGNEVEZES, "T.A.M."}});
    appendRow(groups, {{fields::AFA::MEGNEVEZES, "TAM"}});
    appendRow(groups, {{fields::AFA::MEGNEVEZES, "TAM"}});
    tasks.fixVatGroups();
    QStringList names = column(groups, fields::AFA::MEGNEVEZES);
    EXPECT_EQ(names.count("FAD"), 1);
    EXPECT_EQ(names.count("T.A.M."), 0);
    EXPECT_EQ(names.count("TAM"), 1);  // only the first of each goes
    tasks.fixVatGroups();
    EXPECT_EQ(column(groups, fields::AFA::MEGNEVEZES).count("FAD"), 1);
}

TEST_F(StartupTasksTest, OneOffFixesRunOnceAndMarkTheirKeys) {
    TableHandle& products = state.data.AnyagTable();
    products.first();
    const QString name = products.asString(fields::Anyag::MEGNEVEZES);
    products.edit();
    products.setFloat(fields::Anyag::AFAKULCS, 27);
    products.setFloat(fields::Anyag::bar1, 127);
    products.setFloat(fields::Anyag::bbesz, 100);
    products.setString(fields::Anyag::MEGJEGYZES, "");
    products.post();
    appendRow(state.data.SzamlaTable(),
              {{fields::Szamla::SZAMLASZAM, "SZA2019/00001"}, {fields::Szamla::NEV, "Nincs Ilyen Bt."}});
    TableHandle& partners = state.data.PartnerTable();
    partners.first();
    appendRow(state.data.SzamlaTable(), {{fields::Szamla::SZAMLASZAM, "SZA2019/00002"},
                                         {fields::Szamla::NEV, partners.asString(fields::Partner::NEV)},
                                         {fields::Szamla::IRSZAM, partners.asString(fields::Partner::IRSZAM)}});

    tasks.runOneOffFixes();
    ASSERT_TRUE(products.locate({{fields::Anyag::MEGNEVEZES, name}}));
    EXPECT_DOUBLE_EQ(products.asFloat(fields::Anyag::AR1), 100);
    EXPECT_DOUBLE_EQ(products.asFloat(fields::Anyag::BESZERZAR), 78.7402);
    state.data.raktar().first();
    EXPECT_EQ(products.asString(fields::Anyag::MEGJEGYZES), (state.data.raktar().asString(fields::Raktar::AZON) + " " +
                                                             state.data.raktar().asString(fields::Raktar::MEGNEVEZES))
                                                                .trimmed());
    // The two documents added here: the demo's own already carry their partners' codes.
    TableHandle& documents = state.data.SzamlaTable();
    const auto codeOf = [&](const char* number) {
        EXPECT_TRUE(documents.locate({{fields::Szamla::SZAMLASZAM, QString::fromLatin1(number)}})) << number;
        return documents.asString(fields::Szamla::PARTNERKOD);
    };
    EXPECT_EQ(codeOf("SZA2019/00001"), QString());
    EXPECT_EQ(codeOf("SZA2019/00002"), QString::number(partners.asInteger(fields::Partner::PARTNERKOD)));
    for (const char* key : {"pkod=1", "nszam=1", "rkod=1"}) EXPECT_TRUE(ini().contains(key)) << key;
    EXPECT_TRUE(ini().contains("spack=3"));

    // Marked: a second run leaves the data alone.
    products.edit();
    products.setString(fields::Anyag::MEGJEGYZES, "");
    products.post();
    tasks.runOneOffFixes();
    EXPECT_EQ(products.asString(fields::Anyag::MEGJEGYZES), "");
}

TEST_F(StartupTasksTest, WithoutAWarehouseTheLabelFixWaitsUnmarked) {
    state.data.close();
    for (const char* file : {"raktar.dbf", "raktar.mdx"}) std::remove(data.file(file).c_str());
    state.data.open(data.path());
    tasks.runOneOffFixes();
    EXPECT_TRUE(ini().contains("pkod=1"));
    EXPECT_FALSE(ini().contains("rkod"));
}

TEST_F(StartupTasksTest, RunSetsUpTheWindowThenChecksAndUpgradesBelowLevelTen) {
    // A folder of level 8: no barcode book, lines without the last step's fields.
    state.data.close();
    dbase::Table::drop(data.path(), "NavQueue.dbf");
    dbase::Table::drop(data.path(), "vonalkod.dbf");
    dbase::Table::drop(data.path(), "Szamla2.dbf");
    dbase::Table::create(data.path(), "Szamla2.dbf", maintenance::fieldsAtLevel(TableId::Szamla2, 9),
                         catalogue::kTableLevel);
    dbase::Table::reindex(data.path(), "Szamla2.dbf", catalogue::tagDefinitions(catalogue::table(TableId::Szamla2)));
    state.data.open(data.path());

    prompt.answerYesNo(false);
    windows.onUpgrade = [](int) { return 9; };  // a step failed: the level reached stays
    tasks.run();
    EXPECT_EQ(window.calls, QStringList({"menus and rights", "caption"}));
    EXPECT_TRUE(windows.calls.contains("upgrade 8")) << windows.calls.join(',').toStdString();
    EXPECT_TRUE(ini().contains("spack=9"));
    EXPECT_EQ(state.settings.spack, 9);

    prompt.answerYesNo(false);
    windows.onUpgrade = [](int) { return 11; };
    tasks.run();
    EXPECT_TRUE(windows.calls.contains("upgrade 9"));
    EXPECT_TRUE(ini().contains("spack=11"));

    prompt.answerYesNo(false);
    windows.calls.clear();
    tasks.run();
    EXPECT_FALSE(windows.calls.join(' ').contains("upgrade"));
}

TEST_F(StartupTasksTest, ANewWorkstationOnACurrentFolderWritesTheLevelWithoutTheWindow) {
    prompt.answerYesNo(false);
    tasks.run();
    EXPECT_FALSE(windows.calls.join(' ').contains("upgrade"));
    EXPECT_TRUE(ini().contains("spack=11"));
}

}  // namespace
}  // namespace kavina::shell::testing
