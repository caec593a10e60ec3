// The user list, the user dialog's checks and the password change; rights letters and roles.

#include "shell/users/Users.h"

#include "SessionFixture.h"
#include "shell/startup/ShellContext.h"
#include "shell/users/LoginPassword.h"
#include "shell/users/Rights.h"

namespace kavina::shell::testing {
namespace {

class UsersTest : public SessionFixture {
protected:
    Session session;
    UserAdmin admin{dm.JogTable(), session, prompt, clock};
};

TEST_F(UsersTest, NewUserConfirmedUntouchedGetsEveryRightButOfferAndDeliveryNote) {
    UserValues values = admin.newUser();
    EXPECT_EQ(values.role, "Rendszergazda");
    values.name = "Kata";
    ASSERT_TRUE(admin.accept(values, true).stored);
    TableHandle& users = dm.JogTable();
    ASSERT_TRUE(users.locate({{fields::Jogok::FELHASZNAL, "Kata"}}));
    EXPECT_EQ(users.asString(fields::Jogok::JOGOK), "BMP13459TUVWGH");
    EXPECT_EQ(users.asString(fields::Jogok::JELSZO), "");
    EXPECT_EQ(users.asString(fields::Jogok::DATUM), "2024.05.17");
    EXPECT_EQ(users.asString(fields::Jogok::JDATUM), "2024.05.31");
    EXPECT_TRUE(prompt.transcript().isEmpty());
}

TEST_F(UsersTest, EveryFailingCheckSpeaksInOneClickAndNothingIsStored) {
    UserValues values = admin.newUser();
    values.role.clear();
    values.password = "a";
    values.passwordAgain = "b";
    const UserDialogResult result = admin.accept(values, true);
    EXPECT_FALSE(result.stored);
    EXPECT_TRUE(result.passwordsDiffer);
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|information|Kavina|A két beírt jelszó nem azonos, kélem ellenőrizze!",
                           "message|information|Kavina|A felhasználó nevét kötelező kitölteni!",
                           "message|information|Kavina|A felhasználó jogosultságát kötelező kitölteni!"}));
    EXPECT_TRUE(dm.JogTable().isEmpty());
}

TEST_F(UsersTest, ANameAnotherUserHasIsRefusedIgnoringCase) {
    addUser("Kata", "");
    addUser("Péter", "");
    UserValues values = admin.newUser();
    values.name = "KATA";
    EXPECT_FALSE(admin.accept(values, true).stored);

    // Renaming Péter to Kata is refused too; keeping one's own name is not.
    ASSERT_TRUE(dm.JogTable().locate({{fields::Jogok::FELHASZNAL, "Péter"}}));
    values = admin.currentUser();
    values.name = "kata";
    EXPECT_FALSE(admin.accept(values, false).stored);
    values.name = "Péter";
    EXPECT_TRUE(admin.accept(values, false).stored);
    EXPECT_EQ(prompt.transcript(), QStringList(2, "message|information|Kavina|Ilyen nevű felhasználó már létezik!"));
    EXPECT_EQ(column(dm.JogTable(), fields::Jogok::FELHASZNAL), QStringList({"Kata", "Péter"}));
}

TEST_F(UsersTest, ModifyKeepsAnUntouchedPasswordAndHashesATypedOne) {
    addUser("Kata", storedPassword("Alma", 200), "Felhasználó", "B");
    session.currentUser = "Kata";
    ASSERT_TRUE(dm.JogTable().locate({{fields::Jogok::FELHASZNAL, "Kata"}}));
    UserValues values = admin.currentUser();
    const QString before = values.password;
    EXPECT_EQ(values.passwordAgain, before);
    EXPECT_EQ(rightsFromTicks(values.rights), "B");
    values.rights = ticksOfRights("BT");
    ASSERT_TRUE(admin.accept(values, false).stored);
    EXPECT_EQ(dm.JogTable().asString(fields::Jogok::JELSZO), before);
    EXPECT_EQ(dm.JogTable().asString(fields::Jogok::JOGOK), "BT");

    values = admin.currentUser();
    values.password = values.passwordAgain = "Körte";
    ASSERT_TRUE(admin.accept(values, false).stored);
    const QString after = dm.JogTable().asString(fields::Jogok::JELSZO);
    EXPECT_TRUE(passwordMatchesExactly(after, "Körte"));
    EXPECT_EQ(session.currentPassword, after);
}

TEST_F(UsersTest, DeleteAsksAndRemovesOnlyOnYes) {
    EXPECT_FALSE(admin.removeCurrent());  // empty list: no question
    addUser("Kata", "");
    prompt.answerYesNo(false);
    EXPECT_FALSE(admin.removeCurrent());
    prompt.answerYesNo(true);
    EXPECT_TRUE(admin.removeCurrent());
    EXPECT_TRUE(dm.JogTable().isEmpty());
    EXPECT_EQ(prompt.transcript(),
              QStringList(2, "yes/no|question|Figyelem!|Biztos, hogy törölni szeretné a kiválasztott tételt?"));
}

TEST_F(UsersTest, PasswordChangeChecksOldIgnoringCaseAndNewExactly) {
    addUser("Kata", "Alma");
    session.currentUser = "Kata";
    PasswordChange change(dm.JogTable(), session, prompt);
    EXPECT_TRUE(change.available());
    EXPECT_FALSE(change.accept("körte", "Új", "Új"));
    EXPECT_FALSE(change.accept("ALMA", "Új", "új"));
    EXPECT_TRUE(change.accept("ALMA", "Új", "Új"));
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|information|Kavina|Figyelem!\n\rNem megfelelő a régi jelszó!",
                           "message|information|Kavina|Figyelem!\n\rAz új jelszó, és a jelszóismétlés nem egyforma!",
                           "message|information|Kavina|A jelszó módosítás sikeresen rögzíve!"}));
    EXPECT_TRUE(passwordMatchesExactly(session.currentPassword, "Új"));
    EXPECT_EQ(dm.JogTable().asString(fields::Jogok::JELSZO), session.currentPassword);

    session.currentUser = "Nobody";
    EXPECT_FALSE(PasswordChange(dm.JogTable(), session, prompt).available());
}

TEST_F(UsersTest, AUserIsListedByExactNameAndTheListKeepsItsRecord) {
    addUser("Anna", "");
    addUser("Kata", "");
    TableHandle& users = dm.JogTable();
    users.last();
    EXPECT_TRUE(userListed(users, "Anna"));
    EXPECT_FALSE(userListed(users, "anna"));
    EXPECT_FALSE(userListed(users, ""));
    EXPECT_EQ(users.asString(fields::Jogok::FELHASZNAL), "Kata");
    users.close();
    EXPECT_FALSE(userListed(users, "Anna"));
}

TEST(Rights, ChecklistOrder) {
    EXPECT_EQ(rightsFromTicks(std::vector<bool>(16, true)), kFullRights);
    EXPECT_EQ(rightLetters().size(), 16u);
    EXPECT_EQ(ticksOfRights("BH"), std::vector<bool>({false, true, false, false, false, false, false, false, false,
                                                      false, false, false, false, false, false, true}));
}

}  // namespace
}  // namespace kavina::shell::testing
