// Signing in: the login window's checks and messages, the first user, the automatic sign-in,
// the lock prompt, and passwords stored as hashes.

#include "shell/users/Login.h"

#include "SessionFixture.h"
#include "shell/mainwindow/MainWindowGating.h"
#include "shell/startup/SessionLog.h"
#include "shell/startup/ShellContext.h"
#include "shell/users/LoginPassword.h"

namespace kavina::shell::testing {
namespace {

class LoginTest : public SessionFixture {
protected:
    Session session;
    SessionLog log{dm.LoginTable(), clock};
    Login login{dm.JogTable(), log, session, prompt, clock};
};

TEST(LoginPassword, HashesIgnoreCaseForSignInAndKeepItForTheLock) {
    setPasswordHashCost(PasswordHashCost::Minimum);
    const QString stored = storedPassword("TitkosÁrvíz", 200);
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_FALSE(stored.contains("Titkos", Qt::CaseInsensitive));
    EXPECT_NE(storedPassword("TitkosÁrvíz", 200), stored);  // salted
    EXPECT_TRUE(passwordMatchesIgnoringCase(stored, "titkosárvíz"));
    EXPECT_FALSE(passwordMatchesIgnoringCase(stored, "titkos"));
    EXPECT_TRUE(passwordMatchesExactly(stored, "TitkosÁrvíz"));
    EXPECT_FALSE(passwordMatchesExactly(stored, "TITKOSÁRVÍZ"));
}

TEST(LoginPassword, PlainTextKeepsWorkingAndANarrowFieldKeepsIt) {
    EXPECT_EQ(storedPassword("Alma", 40), "Alma");
    EXPECT_EQ(storedPassword("", 200), "");
    EXPECT_FALSE(isPasswordHash("Alma"));
    EXPECT_TRUE(passwordMatchesIgnoringCase("Alma", "aLMA"));
    EXPECT_FALSE(passwordMatchesExactly("Alma", "alma"));
    EXPECT_TRUE(passwordMatchesIgnoringCase("", ""));
    EXPECT_FALSE(passwordMatchesIgnoringCase("", "x"));
}

TEST_F(LoginTest, UnknownUserAndWrongPasswordKeepTheWindowOpen) {
    addUser("Kata", "Alma");
    EXPECT_EQ(login.signIn("Nóra", "Alma"), LoginOutcome::TryAgain);
    EXPECT_EQ(login.signIn("kata", "körte"), LoginOutcome::TryAgain);
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem !|Kérem válasszon felhasználót!",
                           "message|warning|Figyelem !|Ez a jelszó nem megfelelő!\n\rKérem próbálja újra!"}));
    EXPECT_TRUE(session.currentUser.isEmpty());
    EXPECT_TRUE(log.users().isEmpty());
}

TEST_F(LoginTest, SuspendedUserIsRefusedAndNeverSignedInAutomatically) {
    addUser("Kata", "", "Felfüggesztve");
    EXPECT_FALSE(login.signInAutomatically());
    EXPECT_EQ(login.signIn("Kata", ""), LoginOutcome::Refused);
    EXPECT_EQ(prompt.transcript(), QStringList({"message|warning|Figyelem !|Sajnálom, az ön jogosultsága le van "
                                                "tiltva!\n\rKeresse meg a rendszergazdát!"}));
}

TEST_F(LoginTest, MixedCasePasswordSignsInWithCaseChangedButUnlocksOnlyExactly) {
    addUser("Kata", "AlMa", "Felhasználó", "B");
    EXPECT_EQ(login.signIn("KATA", "alma"), LoginOutcome::SignedIn);
    EXPECT_EQ(session.currentUser, "Kata");
    EXPECT_EQ(session.currentRole, "Felhasználó");
    EXPECT_EQ(session.currentRights, "B");
    EXPECT_TRUE(session.mainWindowRightsApply);
    EXPECT_EQ(log.users(), QStringList({"Kata"}));
    EXPECT_EQ(dm.LoginTable().asString("TIME"), "15:00:30");

    // The plain-text password was replaced by its hashes at this sign-in.
    dm.JogTable().refresh();
    const QString stored = dm.JogTable().asString("JELSZO");
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_EQ(fileBytes("Jogok.dbf").find("AlMa"), std::string::npos);
    EXPECT_EQ(session.currentPassword, stored);

    EXPECT_FALSE(unlock(session, "alma", prompt));
    EXPECT_FALSE(unlock(session, "ALMA", prompt));
    EXPECT_TRUE(unlock(session, "AlMa", prompt));
    EXPECT_EQ(prompt.transcript(), QStringList(2, "message|warning|Kavina|Hibás jelszó! Kérem, próbálja újra!"));

    // The next sign-in checks the hashes, again ignoring case.
    EXPECT_EQ(login.signIn("kata", "ALMA"), LoginOutcome::SignedIn);
    EXPECT_EQ(dm.JogTable().asString("JELSZO"), stored);
}

TEST_F(LoginTest, AutomaticSignInNeedsExactlyOneUserWithoutPassword) {
    addUser("Kata", "");
    EXPECT_TRUE(login.signInAutomatically());
    EXPECT_EQ(session.currentUser, "Kata");
    EXPECT_EQ(session.currentRights, "ABFMP13459TUVWGH");
    EXPECT_EQ(log.users(), QStringList({"Kata"}));
    EXPECT_FALSE(canLock(session));

    addUser("Péter", "x");
    Session other;
    Login second(dm.JogTable(), log, other, prompt, clock);
    EXPECT_FALSE(second.signInAutomatically());
    EXPECT_TRUE(other.currentUser.isEmpty());
}

TEST_F(LoginTest, SolePlainUserSignedInAutomaticallyKeepsUserAdministration) {
    addUser("Kata", "", "Felhasználó", "B");
    ASSERT_TRUE(login.signInAutomatically());
    EXPECT_EQ(session.currentUser, "Kata");
    EXPECT_EQ(session.currentRights, "B");
    EXPECT_TRUE(session.currentRole.isEmpty());
    EXPECT_TRUE(gateOpen(Gate::NotPlainUser, QChar(), {session, true}));

    // Signing in through the login window takes the role as stored.
    EXPECT_EQ(login.signIn("Kata", ""), LoginOutcome::SignedIn);
    EXPECT_EQ(session.currentRole, "Felhasználó");
    EXPECT_FALSE(gateOpen(Gate::NotPlainUser, QChar(), {session, true}));
}

TEST_F(LoginTest, FirstUserIsCreatedOnlyInAnEmptyTable) {
    ASSERT_EQ(login.createFirstUser(), std::optional<QString>("Rendszergazda"));
    TableHandle& users = dm.JogTable();
    users.first();
    EXPECT_EQ(users.asString("JOGOSULT"), "Rendszergazda");
    EXPECT_EQ(users.asString("JELSZO"), "");
    EXPECT_EQ(users.asString("JOGOK"), "ABFMP13459TUVWGH");
    EXPECT_EQ(users.asString("DATUM"), "2024.05.17");
    EXPECT_EQ(users.asString("JDATUM"), "2024.05.31");
    EXPECT_TRUE(users.asLogical("szerviz"));
    EXPECT_EQ(login.createFirstUser(), std::nullopt);
    EXPECT_EQ(login.signIn("Rendszergazda", ""), LoginOutcome::SignedIn);
}

TEST_F(LoginTest, LockWithoutPasswordWarnsAndIdleLockNeedsAVisibleWindow) {
    warnNoPasswordForLock(prompt);
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|Önnek nincs beállított jelszava, ezért a zárolást nem lehet "
                           "elvégezni!"}));
    session.currentPassword = "x";
    EXPECT_TRUE(idleLockDue(session, true, false));
    EXPECT_FALSE(idleLockDue(session, false, false));
    EXPECT_FALSE(idleLockDue(session, true, true));
    session.currentPassword.clear();
    EXPECT_FALSE(idleLockDue(session, true, false));
}

}  // namespace
}  // namespace kavina::shell::testing
