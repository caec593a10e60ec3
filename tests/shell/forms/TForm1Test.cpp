// TForm1 under the offscreen platform: the menus and toolbars with their switches and gates,
// the entries without a registered command shown disabled, the keys, the status bar and the caption, the
// timers, the first showing and closing.

#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "MainWindowTestSupport.h"
#include "foundation/CommandBoundary.h"
#include "foundation/SettingsRecord.h"
#include "shell/mainwindow/OverlayPictures.h"
#include "shell/mainwindow/forms/MainWindowIdleLock.h"

namespace kavina::shell::testing {
namespace {

void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitFor(const std::function<bool()>& done, int ms = 3000) {
    for (int waited = 0; waited < ms && !done(); waited += 20) pump(20);
    return done();
}

QString panel(TForm1& w, int i) {
    return w.findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(i))->text();
}

void press(QWidget* target, Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
}

TEST_F(MainWindowTest, TheMenuBarHoldsEveryMenuAndTheServiceMenuOnlyWithZirma) {
    TForm1& w = makeWindow();
    QStringList captions;
    for (QAction* a : w.menuBar()->actions()) captions << a->text();
    EXPECT_EQ(captions, QStringList({"&Fájl", "&Műveletek", "&Törzsadatok", "&Listák", "St&atisztika", "&Beállítások",
                                     "&Súgó", "Szervíz funkciók"}));
    EXPECT_FALSE(menu(kServiceMenuName)->menuAction()->isVisible()) << "zirma is missing from the ini file";
    EXPECT_EQ(w.windowTitle(), "Kavina");

    ini.zirma = 1;
    w.applyMenusAndRights();
    EXPECT_TRUE(menu(kServiceMenuName)->menuAction()->isVisible());
    action("TBItem8Click")->trigger();  // "Szervízmenü bezárása"
    EXPECT_FALSE(menu(kServiceMenuName)->menuAction()->isVisible());
    w.applyMenusAndRights();
    EXPECT_FALSE(menu(kServiceMenuName)->menuAction()->isVisible()) << "closed until the next start";
}

TEST_F(MainWindowTest, HiddenEntriesExistWithoutBeingShownAndEntriesShowTheirKeys) {
    makeWindow();
    for (const QStringList& path : {QStringList{"&Műveletek", "&Számla", "&Befizetés rögzítése"},
                                    {"&Műveletek", "&Számla", "Sto&rnó számla"},
                                    {"&Műveletek", "&Számla", "R&ontott számla"},
                                    {"&Műveletek", "&Pénztárgépes értékesítés"},
                                    {"&Műveletek", "&Garancialevél"},
                                    {"&Műveletek", "&Bevételezés"},
                                    {"&Műveletek", "S&zállítólevél"},
                                    {"&Műveletek", "&Munkalap"},
                                    {"&Műveletek", "Leltár", "Jegyzőkönyv nyomtatása"}}) {
        QAction* a = entry(path);
        ASSERT_NE(a, nullptr) << path.join(" > ").toStdString();
        EXPECT_FALSE(a->isVisible()) << path.join(" > ").toStdString();
    }
    for (const QStringList& path : {QStringList{"&Műveletek", "Garancialevél"},
                                    {"&Műveletek", "&Számla", "Számla sablon", "Számla stornó számlából"},
                                    {"&Műveletek", "Megrendelés szálítótól"},
                                    {"&Műveletek", "Leltár", "Leltárfelvételi ív"}})
        EXPECT_TRUE(entry(path) && entry(path)->isVisible()) << path.join(" > ").toStdString();
    EXPECT_TRUE(action("mRaktarClick")->isVisible()) << "\"&Törzsadatok\" > \"Raktárak\"";
    EXPECT_FALSE(action("mRaktarClick_2")->isVisible()) << "the toolbar's \" Raktárak \" entry";

    EXPECT_EQ(action("TBItem14Click")->text(), "Program zárolása\tF9");
    EXPECT_EQ(action("Szamologep")->text(), "Számológép\tF3");
    EXPECT_EQ(action("Sugo")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(action("bSzamla")->menu()->actions().last()->menu()->actions()[2]->text(), "Számla rontott számlából");
}

TEST_F(MainWindowTest, AToolbarSwitchAtZeroHidesOnlyItsButton) {
    ini.bEladas = 0;
    TForm1& w = makeWindow();
    EXPECT_FALSE(action("bEladas")->isVisible());
    EXPECT_EQ(w.findChild<QToolButton*>("bSzamla")->text(), "   Számla   ");
    for (const char* other : {"bAjanlat", "bSzamla", "bKifizetes", "bGarancia", "bBevetel", "bMegrendeles", "bSzallito",
                              "bVisszaru", "bSelejt", "bMunkalap", "partnersButton"})
        EXPECT_TRUE(action(other)->isVisible()) << other;
    EXPECT_TRUE(entry({"&Műveletek", "Pénztárgépes értékesítés"})->isVisible());
    EXPECT_TRUE(entry({"&Listák", "&Pénztárgépes értékesítések"})->isVisible());
}

class MainWindowRightsTest : public MainWindowTest {
protected:
    // Every command exists, as when all Parts are there, so that only the gates decide.
    void registerEverything(TForm1& w) {
        for (const QString& h : allHandlers())
            if (!w.commands().has(h)) w.commands().add(h, [] {});
        w.applyMenusAndRights();
    }

    bool enabled(const QStringList& path) { return entry(path)->isEnabled(); }
};

TEST_F(MainWindowRightsTest, RightsBEnableTheInvoiceCommandsAndDisableTheOtherGroups) {
    session.currentRights = "B";
    TForm1& w = makeWindow();
    registerEverything(w);
    EXPECT_TRUE(action("bSzamla")->isEnabled());
    EXPECT_TRUE(enabled({"&Műveletek", "&Számla"}));
    EXPECT_TRUE(enabled({"&Műveletek", "&Számla", "Új számla"}));
    EXPECT_TRUE(enabled({"&Listák", "&Számlák"}));
    EXPECT_TRUE(enabled({"&Listák", "&Fizetetlen számlák"}));

    for (const char* button : {"bAjanlat", "bEladas", "bGarancia", "bBevetel", "bSzallito", "bVisszaru", "bSelejt",
                               "bMunkalap", "partnersButton", "productsButton"})
        EXPECT_FALSE(action(button)->isEnabled()) << button;
    for (const QStringList& path : {QStringList{"&Műveletek", "&Árajánlat"},
                                    {"&Műveletek", "&Pénztárgépes értékesítés"},
                                    {"&Műveletek", "Pénztárgépes értékesítés"},
                                    {"&Műveletek", "&Garancialevél"},
                                    {"&Műveletek", "Garancialevél"},
                                    {"&Műveletek", "Bevételezés"},
                                    {"&Műveletek", "S&zállítólevél"},
                                    {"&Műveletek", "Szállítólevél"},
                                    {"&Műveletek", "Visszáru"},
                                    {"&Műveletek", "Selejt"},
                                    {"&Műveletek", "Munkalap"},
                                    {"&Listák", "&Árajánlatok"},
                                    {"&Listák", "Szállítólevelek"},
                                    {"&Listák", "Visszáruk"},
                                    {"&Listák", "&Garancia levelek"},
                                    {"&Listák", "&Munkalapok"},
                                    {"&Törzsadatok", "&Partnerek"},
                                    {"&Törzsadatok", "Partner &csoportok"},
                                    {"&Törzsadatok", "&Termékek"},
                                    {"&Törzsadatok", "Termék kategóriák"}})
        EXPECT_FALSE(enabled(path)) << path.join(" > ").toStdString();
    for (const QStringList& path : {QStringList{"&Műveletek", "Pénztárgépes kifizetés"},
                                    {"&Műveletek", "Megrendelés szálítótól"},
                                    {"&Listák", "Proforma számlák"},
                                    {"&Törzsadatok", "Raktárak"},
                                    {"St&atisztika", "Partner statisztika"}})
        EXPECT_TRUE(enabled(path)) << path.join(" > ").toStdString();
}

TEST_F(MainWindowRightsTest, LettersApplyOnlyToUpgradedFoldersAndRolesGateTheAdministration) {
    session.currentRights = "B";
    session.mainWindowRightsApply = false;
    session.currentRole = "Felhasználó";
    TForm1& w = makeWindow();
    registerEverything(w);
    EXPECT_TRUE(action("bAjanlat")->isEnabled());
    EXPECT_TRUE(enabled({"&Törzsadatok", "&Partnerek"}));
    EXPECT_FALSE(enabled({"&Beállítások", "&Felhasználók"}));
    EXPECT_FALSE(enabled({"&Fájl", "Adatok mentése"}));
    EXPECT_FALSE(enabled({"&Fájl", "Adatok visszatöltése"}));
    EXPECT_FALSE(enabled({"&Beállítások", "&Jelszó módosítása"})) << "Rendszergazda is not in Jogok.dbf yet";

    session.currentRole = "Rendszergazda";
    dm.JogTable().append();
    dm.JogTable().setString(fields::Jogok::FELHASZNAL, "Rendszergazda");
    dm.JogTable().post();
    w.applyMenusAndRights();
    EXPECT_TRUE(enabled({"&Beállítások", "&Felhasználók"}));
    EXPECT_TRUE(enabled({"&Fájl", "Adatok mentése"}));
    EXPECT_TRUE(enabled({"&Beállítások", "&Jelszó módosítása"}));
}

TEST_F(MainWindowTest, ACommandOfALaterPartIsShownDisabledUntilItIsRegistered) {
    TForm1& w = makeWindow();
    QAction* invoice = entry({"&Műveletek", "&Számla", "Új számla"});
    EXPECT_TRUE(invoice->isVisible());
    EXPECT_FALSE(invoice->isEnabled());
    EXPECT_FALSE(action("bEladas")->isEnabled());
    EXPECT_TRUE(entry({"&Fájl", "Aktív felhasználók"})->isEnabled());

    int runs = 0;
    w.commands().add("SzamlaNew", [&] {
        if (++runs == 2) throw std::runtime_error("A számla nem menthető.");
    });
    w.applyMenusAndRights();
    ASSERT_TRUE(invoice->isEnabled());
    invoice->trigger();
    invoice->trigger();
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(prompt.transcript(), QStringList({"message|error|Hiba|A számla nem menthető."}));
}

TEST_F(MainWindowTest, ErrorsOfCommandsAndTimersGoToTheProgramsErrorReporterWhenOneIsSet) {
    TForm1& w = makeWindow();
    QStringList reported;
    const ScopedErrorReporter reporter([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            reported << e.what();
        }
    });
    w.commands().add("mPluginClick", [] { throw std::runtime_error("plugin"); });
    w.applyMenusAndRights();
    EXPECT_FALSE(w.commands().run("mPluginClick"));
    w.commands().guard([] { throw std::runtime_error("timer"); });
    EXPECT_EQ(reported, QStringList({"plugin", "timer"}));
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(MainWindowTest, EntriesRunTheShellsOperationsAndF3AndF9WorkFromAnyWindow) {
    starter.onPath = {"kcalc", "galculator"};
    makeWindow();
    entry({"&Fájl", "Felhasználó váltása"})->trigger();
    entry({"&Fájl", "Aktív felhasználók"})->trigger();
    entry({"&Fájl", "Táblák újraindexelése"})->trigger();
    entry({"&Beállítások", "&Felhasználók"})->trigger();
    entry({"&Beállítások", "&Beállítások"})->trigger();
    action("settingsButton")->trigger();
    EXPECT_EQ(actions.calls,
              QStringList({"switchUser", "showActiveUsers", "reindex", "openUsers", "openSettings", "openSettings"}));

    QDialog other;
    auto* box = new QLineEdit(&other);
    press(box, Qt::Key_F9);
    press(box, Qt::Key_F3);
    EXPECT_EQ(actions.calls.last(), "lockProgram");
    EXPECT_EQ(starter.started, QStringList({"/usr/bin/kcalc"}));

    entry({"&Súgó", "&Kavina a Weben"})->trigger();
    action("supportMailLink")->trigger();
    EXPECT_EQ(desktop.opened,
              QStringList({"https://www.lumetra.hu/kavina/", "mailto:kavina@lumetra.hu?subject=Kavina"}));
}

TEST_F(MainWindowTest, StatusBarShowsClerkVersionAndFolderAndTheCaptionTheCompany) {
    TForm1& w = makeWindow();
    EXPECT_EQ(panel(w, 0), "Ügyintéző: Rendszergazda");
    EXPECT_EQ(panel(w, 1), "Verzió: 1.0.080301");
    EXPECT_EQ(panel(w, 2), "");
    EXPECT_EQ(panel(w, 3), "adatbázis: " + session.dataFolder);
    w.refreshCaption();
    EXPECT_EQ(w.windowTitle(), "Kavina - Minta Barkács Kft. Barkács- és szerszámáruház");
    EXPECT_EQ(w.findChild<QTimer*>("statusTimer")->interval(), 10000);
    EXPECT_TRUE(w.findChild<QTimer*>("statusTimer")->isActive());
}

TEST_F(MainWindowTest, APostShowsTheSaveIndicatorForHalfASecondAndClearsTheFolderPanel) {
    TForm1& w = makeWindow();
    w.show();
    auto* indicator = w.findChild<QLabel*>("saveIndicator");
    EXPECT_FALSE(indicator->isVisible());
    // The sign-in table's sign of life is no save of the user's.
    dm.LoginTable().append();
    dm.LoginTable().post();
    EXPECT_FALSE(indicator->isVisible());
    dm.EgysegTable().first();
    dm.EgysegTable().edit();
    dm.EgysegTable().post();
    EXPECT_TRUE(indicator->isVisible());
    pump(250);
    EXPECT_TRUE(indicator->isVisible());
    EXPECT_TRUE(waitFor([&] { return !indicator->isVisible(); }, 1000));
    EXPECT_EQ(panel(w, 3), "  ");
    QMetaObject::invokeMethod(w.findChild<QTimer*>("statusTimer"), "timeout");
    EXPECT_EQ(panel(w, 3), "adatbázis: " + session.dataFolder);
}

TEST_F(MainWindowTest, TheStatusTickRefreshesThePanelsAndGivesASignOfLifeOnlyWhileVisible) {
    TForm1& w = makeWindow();
    auto* status = w.findChild<QTimer*>("statusTimer");
    session.currentUser = "Pénztáros";
    ASSERT_TRUE(QMetaObject::invokeMethod(status, "timeout"));
    EXPECT_EQ(panel(w, 0), "Ügyintéző: Pénztáros");
    EXPECT_FALSE(actions.calls.contains("signOfLife"));
    w.show();
    ASSERT_TRUE(QMetaObject::invokeMethod(status, "timeout"));
    EXPECT_EQ(actions.calls.count("signOfLife"), 1);
}

TEST_F(MainWindowTest, StartupTasksRunAbout100msAfterTheFirstShowingAndAgainWhenRestarted) {
    TForm1& w = makeWindow();
    pump(200);
    EXPECT_FALSE(actions.calls.contains("runStartupTasks")) << "not before the window shows";
    w.show();
    EXPECT_FALSE(actions.calls.contains("runStartupTasks"));
    EXPECT_TRUE(waitFor([&] { return actions.calls.count("runStartupTasks") == 1; }, 1000));
    w.hide();
    w.show();
    pump(200);
    EXPECT_EQ(actions.calls.count("runStartupTasks"), 1);
    w.restartStartupTimer();
    EXPECT_TRUE(waitFor([&] { return actions.calls.count("runStartupTasks") == 2; }, 1000));
}

TEST_F(MainWindowTest, ASystemDateBeforeTheLastInvoiceWarnsOnceAboutASecondAfterStart) {
    ini.szamDate = QDate(2008, 3, 16);
    makeWindow();
    pump(600);
    EXPECT_TRUE(prompt.entries().empty());
    EXPECT_TRUE(waitFor([&] { return !prompt.entries().empty(); }, 1500));
    pump(1200);
    EXPECT_EQ(
        prompt.transcript(),
        QStringList({"message|warning|Figyelem!|A rendszerdátum korábbi az utolsó számla készítésének dátumánál!"}));
}

TEST_F(MainWindowTest, NoDateWarningOnTheDayOfTheLastInvoice) {
    ini.szamDate = today;
    makeWindow();
    pump(1300);
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(MainWindowTest, TheFirstShowingWritesTheOverlayPicturesAndFillsTheCashSaleCopies) {
    ini.datumkeres = 1;
    starter.onPath = {"systemsettings"};
    QFile own(programFolder() + "/rontott.gif");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("own picture");
    own.close();
    SettingsRecord record(dm.UserTable());
    record.reread();
    record.edit();
    record.setText(fields::User::MEGJEGYZES, "");
    record.post();

    TForm1& w = makeWindow();
    w.show();
    QFile storno(programFolder() + "/storno.gif");
    ASSERT_TRUE(storno.open(QIODevice::ReadOnly));
    EXPECT_EQ(storno.readAll(), overlayPictureBytes(kStornoPicture));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), "own picture");
    EXPECT_FALSE(w.stornoPicture().isNull());
    EXPECT_TRUE(w.stornoPicture().hasAlphaChannel());
    EXPECT_EQ(qAlpha(w.stornoPicture().pixel(2, 2)), 0) << "the corner is transparent";

    record.reread();
    EXPECT_EQ(record.text(fields::User::MEGJEGYZES), "2");
    EXPECT_EQ(starter.started, QStringList({"/usr/bin/systemsettings kcm_clock"}));
}

TEST_F(MainWindowTest, ClosingAsksAndOnlyYesSignsOut) {
    TForm1& w = makeWindow();
    w.show();
    actions.exitAnswer = false;
    action("escapeAction")->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(actions.calls, QStringList({"confirmExit"}));

    actions.exitAnswer = true;
    entry({"&Fájl", "&Kilépés"})->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(actions.calls, QStringList({"confirmExit", "confirmExit", "signOut"}));
}

TEST_F(MainWindowTest, TheIdleCountLocksAfterTheSetMinutesWhileTheWindowIsVisible) {
    ini.jelszokeres = 1;
    TForm1& w = makeWindow();
    w.show();
    auto* idle = w.findChild<MainWindowIdleLock*>("idleLock");
    ASSERT_NE(idle, nullptr);
    EXPECT_TRUE(idle->counting());
    for (int s = 0; s < 59; ++s) idle->tick();
    idle->focusMoved();
    for (int s = 0; s < 59; ++s) idle->tick();
    EXPECT_FALSE(actions.calls.contains("idleLock"));
    idle->tick();
    EXPECT_EQ(actions.calls.count("idleLock"), 1);
    EXPECT_FALSE(idle->counting());
    idle->focusMoved();
    EXPECT_TRUE(idle->counting());
    EXPECT_EQ(idle->idleSeconds(), 0);
}

TEST_F(MainWindowTest, WithoutLockMinutesNothingIsCounted) {
    TForm1& w = makeWindow();
    w.show();
    auto* idle = w.findChild<MainWindowIdleLock*>("idleLock");
    idle->focusMoved();
    EXPECT_FALSE(idle->counting());
    for (int s = 0; s < 3600; ++s) idle->tick();
    EXPECT_FALSE(actions.calls.contains("idleLock"));
}

}  // namespace
}  // namespace kavina::shell::testing
