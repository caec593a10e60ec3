// The shell's operations as the main window calls them: user switch, signed-in users, lock,
// sign of life, sign-out and the save indicator; and the error handler.

#include "shell/mainwindow/SessionActions.h"

#include <QFile>

#include "SessionFakes.h"
#include "SessionFixture.h"
#include "dbase/Table.h"
#include "foundation/CommandBoundary.h"
#include "foundation/ConversionError.h"
#include "foundation/NewDataFolder.h"
#include "shell/startup/ErrorReporter.h"
#include "shell/startup/SessionState.h"
#include "shell/startup/Shutdown.h"
#include "shell/users/Login.h"
#include "shell/users/LoginPassword.h"

namespace kavina::shell::testing {
namespace {

class SessionActionsTest : public ProgramFixture {
protected:
    SessionActionsTest() {
        createDataFolder(data.path());
        program.write("kavinaextra.ini", "[adatok]\nkilepett=0\n");
        state.reloadIni();
        state.session.dataFolder = QString::fromStdString(data.path());
        state.bindTables();
        for (const TableDef& def : catalogue::tables())
            if (def.location == TableLocation::DataFolder) state.data.openTable(def.id);
        appendRow(state.data.JogTable(), {{fields::Jogok::FELHASZNAL, "Kata"}, {fields::Jogok::JELSZO, "Alma"}});
        appendRow(state.data.JogTable(), {{fields::Jogok::FELHASZNAL, "Péter"}, {fields::Jogok::JOGOK, "B"}});
        Login(state.data.JogTable(), *state.log, state.session, prompt, state.clock).signIn("Kata", "alma");
        actions.setWindow(&window);
    }

    FakeWindows windows;
    FakeMainWindow window;
    int ended = 0;
    SessionActions actions{state, windows, [this] { ++ended; }};
};

TEST_F(SessionActionsTest, UserSwitchReplacesTheRowAndRedoesTheStartupTasks) {
    windows.onLogin = [this] {
        return Login(state.data.JogTable(), *state.log, state.session, prompt, state.clock).signIn("Péter", "") ==
               LoginOutcome::SignedIn;
    };
    actions.switchUser();
    EXPECT_EQ(state.log->users(), QStringList({"Péter"}));
    EXPECT_EQ(state.session.currentRights, "B");
    EXPECT_EQ(window.calls, QStringList({"restart start-up timer"}));
    EXPECT_EQ(ended, 0);
}

TEST_F(SessionActionsTest, AUserSwitchWithoutSignInEndsTheProgramSignedOut) {
    actions.switchUser();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(state.log->users().isEmpty());
    EXPECT_TRUE(ini().contains("kilepett=1"));
}

TEST_F(SessionActionsTest, ActiveUsersListEveryRow) {
    appendRow(state.data.LoginTable(), {{fields::Userlog::USER, "Anna"}});
    actions.showActiveUsers();
    EXPECT_EQ(prompt.transcript(), QStringList({"message|information|Felhasználók|Bejelentkezett felhasználók:\n"
                                                "============================\nAnna\nKata\n"}));
}

TEST_F(SessionActionsTest, LockNeedsAPasswordAndTheIdleLockAVisibleWindow) {
    actions.lockProgram();
    actions.idleLock();
    window.visible = false;
    actions.idleLock();
    state.session.currentPassword.clear();
    window.visible = true;
    actions.idleLock();
    actions.lockProgram();
    EXPECT_EQ(windows.calls, QStringList({"lock prompt", "lock prompt"}));
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|Önnek nincs beállított jelszava, ezért a zárolást nem lehet "
                           "elvégezni!"}));
}

TEST_F(SessionActionsTest, SignOfLifeOnlyWhileTheWindowIsVisible) {
    now = now.addSecs(10);
    window.visible = false;
    actions.signOfLife();
    EXPECT_EQ(column(state.data.LoginTable(), fields::Userlog::TIME), QStringList({"15:00:30"}));
    window.visible = true;
    actions.signOfLife();
    EXPECT_EQ(column(state.data.LoginTable(), fields::Userlog::TIME), QStringList({"15:00:40"}));
}

TEST_F(SessionActionsTest, ExitQuestionAndSignOut) {
    prompt.answerYesNo(false);
    EXPECT_FALSE(actions.confirmExit());
    EXPECT_EQ(prompt.transcript(),
              QStringList({"yes/no|question|Figyelem|Biztos benne, hogy kilép a Kavina programból?"}));
    actions.signOut();
    EXPECT_TRUE(state.log->users().isEmpty());
    EXPECT_TRUE(ini().contains("kilepett=1"));
    actions.signOut();  // a second sign-out changes nothing
    EXPECT_TRUE(ini().contains("kilepett=1"));
}

TEST_F(SessionActionsTest, OnlyDataModuleTablesShowTheSaveIndicator) {
    QStringList shown;
    QObject::connect(&state.data, &TDataModule1::recordWritten, [&](const QString& handle) {
        if (showsSaveIndicator(handle)) shown << handle;
    });
    appendRow(state.data.PartnerTable(), {{fields::Partner::NEV, "Kovács Kft."}});
    actions.signOfLife();
    state.data.JogTable().edit();
    state.data.JogTable().post();
    EXPECT_EQ(shown, QStringList({"PartnerTable"}));
}

TEST(Shutdown, LeftoverFilesAreRemovedWherePresent) {
    testing_support::TestFolder folder;
    folder.write("storno.gif", "x");
    folder.write("version.ini", "x");
    folder.write("kavinaextra.ini", "x");
    removeLeftoverFiles(QString::fromStdString(folder.path()));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("storno.gif"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("version.ini"))));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.file("kavinaextra.ini"))));
}

TEST(ErrorReporterTest, AnEscapedErrorIsShownAndAConversionErrorEndsSilently) {
    ScriptedPrompt prompt;
    ErrorReporter reporter(prompt);
    const ScopedErrorReporter installed([&reporter](std::exception_ptr error) { reporter.report(error); });
    EXPECT_FALSE(runCommand(prompt, [] { throw ConversionError("'12,x' is not a valid number"); }));
    EXPECT_TRUE(prompt.transcript().isEmpty());
    bool after = false;
    EXPECT_FALSE(runCommand(prompt, [&] {
        throw std::runtime_error("Szamla.dbf: Record is locked by another user.");
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_EQ(prompt.transcript(), QStringList({"message|error|Figyelem!|A program használata során hiba történt!\n"
                                                "A rendszer hibaüzenete: Szamla.dbf: Record is locked by another "
                                                "user."}));
}

TEST(ErrorReporterTest, AnEngineErrorIsToldInHungarianNamingItsTable) {
    testing_support::TestFolder dir;
    ScriptedPrompt prompt;
    ErrorReporter reporter(prompt);
    const ScopedErrorReporter installed([&reporter](std::exception_ptr error) { reporter.report(error); });
    EXPECT_FALSE(runCommand(prompt, [&] { dbase::Table(dir.path(), "Szamla.dbf").open(); }));
    EXPECT_EQ(
        prompt.transcript(),
        QStringList({QStringLiteral("message|error|Figyelem!|A program használata során hiba történt!\n"
                                    "A rendszer hibaüzenete: A(z) Szamla.dbf tábla vagy egy hozzá tartozó fájl "
                                    "hiányzik: ") +
                     QString::fromStdString(dir.file("Szamla.dbf")) + QStringLiteral(": the table does not exist")}));
}

}  // namespace
}  // namespace kavina::shell::testing
