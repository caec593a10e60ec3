// The shell's windows under the offscreen platform: their wiring to the logic, found by
// object name; no real modal dialog is opened.

#include <QComboBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "foundation/Desktop.h"
#include "foundation/NewDataFolder.h"
#include "maintenance/reindex/forms/Tindexform.h"
#include "shell/SessionFixture.h"
#include "shell/startup/forms/Tfoldselect.h"
#include "shell/users/Rights.h"
#include "shell/users/Users.h"
#include "shell/users/forms/TLogo.h"
#include "shell/users/forms/TUserSzerk.h"
#include "shell/users/forms/Tfelhasznalokform.h"
#include "shell/users/forms/Tjelszo2.h"

namespace kavina::shell::testing {
namespace {

class RecordingDesktop : public Desktop {
public:
    QStringList opened;
    bool openFile(const QString& pathOrAddress) override { return opened << pathOrAddress, true; }
};

template <typename T>
T* child(QWidget& parent, const char* name) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

class SessionFormsTest : public ProgramFixture {
protected:
    SessionFormsTest() {
        createDataFolder(data.path());
        state.session.dataFolder = QString::fromStdString(data.path());
        state.session.buildDate = "2024.05.01";
        state.bindTables();
        for (TableId id : {TableId::User, TableId::Jogok, TableId::Userlog}) state.data.openTable(id);
    }
    void addUser(const QString& name, const QString& password) {
        appendRow(state.data.JogTable(), {{fields::Jogok::FELHASZNAL, name},
                                          {fields::Jogok::JELSZO, password},
                                          {fields::Jogok::JOGOSULT, "Rendszergazda"}});
    }
    RecordingDesktop desktop;
};

TEST_F(SessionFormsTest, LoginWindowSignsInWithTheTypedPasswordAndStaysOnAWrongOne) {
    addUser("Kata", "Alma");
    addUser("Péter", "");
    TLogo logo(state, desktop, QUrl("https://www.example.hu/"));
    logo.show();
    EXPECT_EQ(logo.windowTitle(), "Jogosultság ellenőrzése");
    EXPECT_EQ(child<QLabel>(logo, "buildLabel")->text(), "build: 2024.05.01");
    EXPECT_FALSE(child<QProgressBar>(logo, "splashProgressBar")->isVisible());
    auto* users = child<QComboBox>(logo, "userComboBox");
    EXPECT_EQ(users->count(), 2);
    EXPECT_EQ(users->currentText(), "Kata");
    auto* password = child<QLineEdit>(logo, "passwordLineEdit");
    QTest::keyClicks(password, "korte");
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_TRUE(logo.isVisible());
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem !|Ez a jelszó nem megfelelő!\n\rKérem próbálja újra!"}));
    password->setText("ALMA");
    child<QPushButton>(logo, "loginPushButton")->click();
    EXPECT_TRUE(logo.signedIn());
    EXPECT_FALSE(logo.isVisible());
    EXPECT_EQ(state.session.currentUser, "Kata");
    QTest::mouseClick(child<QLabel>(logo, "pictureLabel"), Qt::LeftButton);
    EXPECT_EQ(desktop.opened, QStringList({"https://www.example.hu/"}));
}

TEST_F(SessionFormsTest, AnEmptyUserTableGetsItsFirstUserSignedInAfterASecond) {
    TLogo logo(state, desktop, QUrl());
    logo.show();
    QTest::qWait(TLogo::kFirstUserDelayMs / 2);
    EXPECT_FALSE(logo.signedIn());
    EXPECT_TRUE(QTest::qWaitFor([&] { return logo.signedIn(); }, 2000));
    EXPECT_EQ(state.session.currentUser, "Rendszergazda");
    EXPECT_EQ(state.log->users(), QStringList({"Rendszergazda"}));
}

TEST_F(SessionFormsTest, SplashHidesTheButtonsAndStepsItsBarToTheEnd) {
    addUser("Kata", "");
    state.session.currentUser = "Kata";
    TLogo splash(state, desktop, QUrl());
    QElapsedTimer timer;
    timer.start();
    splash.runSplash();
    EXPECT_GE(timer.elapsed(), 100 * TLogo::kSplashStepMs);
    EXPECT_TRUE(splash.isVisible());
    EXPECT_FALSE(child<QPushButton>(splash, "loginPushButton")->isVisible());
    EXPECT_FALSE(child<QPushButton>(splash, "leavePushButton")->isVisible());
    EXPECT_EQ(child<QProgressBar>(splash, "splashProgressBar")->value(), 100);
    EXPECT_EQ(child<QComboBox>(splash, "userComboBox")->currentText(), "Kata");
}

TEST_F(SessionFormsTest, UserDialogConfirmedUntouchedStoresTheDefaultRightsAndMarksDifferentPasswords) {
    UserAdmin admin(state.data.JogTable(), state.session, prompt, state.clock);
    {
        TUserSzerk dialog(admin, admin.newUser(), true);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Felhasználó adatai");
        EXPECT_EQ(child<QListWidget>(dialog, "rightsListWidget")->count(), 16);
        EXPECT_EQ(child<QListWidget>(dialog, "rightsListWidget")->item(0)->text(), "Ajánlat");
        child<QLineEdit>(dialog, "passwordLineEdit")->setText("a");
        child<QPushButton>(dialog, "acceptPushButton")->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(child<QLineEdit>(dialog, "passwordLineEdit")->styleSheet().contains("red"));
        EXPECT_TRUE(child<QLineEdit>(dialog, "againLineEdit")->styleSheet().contains("red"));
        EXPECT_EQ(prompt.transcript().size(), 2);  // the passwords, and the empty name
    }
    TUserSzerk dialog(admin, admin.newUser(), true);
    dialog.show();
    child<QLineEdit>(dialog, "nameLineEdit")->setText("Kata");
    child<QPushButton>(dialog, "acceptPushButton")->click();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(state.data.JogTable().locate({{fields::Jogok::FELHASZNAL, "Kata"}}));
    EXPECT_EQ(state.data.JogTable().asString(fields::Jogok::JOGOK), "BMP13459TUVWGH");
}

TEST_F(SessionFormsTest, UserListShowsTheUsersAndDeletesTheSelectedOneOnYes) {
    addUser("Anna", "");
    addUser("Kata", "");
    UserAdmin admin(state.data.JogTable(), state.session, prompt, state.clock);
    Tfelhasznalokform list(admin, state.data.JogTable());
    int dialogs = 0;
    list.setDialogRunner([&](QDialog& dialog) {
        ++dialogs;
        EXPECT_EQ(dialog.objectName(), "TUserSzerk");
        return int(QDialog::Rejected);
    });
    list.show();
    auto* grid = child<QTableView>(list, "usersGrid");
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "Jogosultság");
    grid->selectRow(1);
    EXPECT_EQ(state.data.JogTable().asString(fields::Jogok::FELHASZNAL), "Kata");
    prompt.answerYesNo(true);
    child<QPushButton>(list, "deletePushButton")->click();
    QCoreApplication::processEvents();  // the list follows the table once the command is done
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), "Anna");
    child<QPushButton>(list, "addPushButton")->click();  // cancelled: nothing stored
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(grid->model()->rowCount(), 1);
}

TEST_F(SessionFormsTest, LockPromptCannotBeClosedUntilThePasswordIsExactlyRight) {
    state.session.currentPassword = "AlMa";
    Tjelszo2 lock(state.session, prompt);
    lock.show();
    lock.reject();
    lock.close();
    QTest::keyClick(&lock, Qt::Key_Escape);
    EXPECT_TRUE(lock.isVisible());
    auto* password = child<QLineEdit>(lock, "passwordLineEdit");
    password->setText("alma");
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_TRUE(lock.isVisible());
    EXPECT_TRUE(password->text().isEmpty());
    password->setText("AlMa");
    child<QPushButton>(lock, "loginPushButton")->click();
    EXPECT_FALSE(lock.isVisible());
    EXPECT_EQ(prompt.transcript(), QStringList({"message|warning|Kavina|Hibás jelszó! Kérem, próbálja újra!"}));
}

TEST_F(SessionFormsTest, ReindexWindowRunsOnceShownAndClosesItself) {
    for (const TableDef& def : catalogue::tables())
        if (def.location == TableLocation::DataFolder) state.data.openTable(def.id);
    maintenance::Tindexform window(state.data, prompt);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Indexelés");
    EXPECT_EQ(child<QLabel>(window, "titleLabel")->text(), "Indexelés folyamatban:");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 10000));
    EXPECT_TRUE(window.done());
    EXPECT_EQ(child<QProgressBar>(window, "indexProgressBar")->value(), 17);
    EXPECT_EQ(child<QLabel>(window, "groupLabel")->text(), "Tranzakciók");
    EXPECT_NO_THROW(window.rethrowError());
}

TEST_F(SessionFormsTest, FolderDialogTakesTheTreesChoiceAndRefusesAnEmptyBox) {
    Tfoldselect dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Adatbázis");
    child<QPushButton>(dialog, "okPushButton")->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.setFolder(QString::fromStdString(data.path()));
    EXPECT_EQ(dialog.folder(), QString::fromStdString(data.path()));
    child<QPushButton>(dialog, "okPushButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(SessionFonts, AFontDrawsTheLongHungarianVowels) {
    const QFontMetrics metrics(QFont(QStringLiteral("DejaVu Sans")));
    EXPECT_TRUE(metrics.inFont(QChar(0x0151)));  // ő
    EXPECT_TRUE(metrics.inFont(QChar(0x0171)));  // ű
}

}  // namespace
}  // namespace kavina::shell::testing
