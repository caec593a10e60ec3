#include "foundation/Setup.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/QtPrinters.h"
#include "foundation/forms/TSetup.h"

namespace kavina {
namespace {

// The settings record and the lists as plain values, with a log of what was stored.
class MemorySetupData : public SetupData {
public:
    explicit MemorySetupData(QString folder) : m_folder(std::move(folder)) {}

    QString dataFolder() const override { return m_folder; }
    SetupRecord readRecord() override { return stored; }
    void writeRecord(const SetupRecord& record) override {
        stored = record;
        log << QStringLiteral("record");
    }
    QStringList vatGroups() override { return {QStringLiteral("27%"), QStringLiteral("5%"), QStringLiteral("AM")}; }
    QStringList paymentMethods() override { return {QStringLiteral("Készpénz"), QStringLiteral("Átutalás")}; }
    void rereadCategories() override { log << QStringLiteral("categories"); }

    SetupRecord stored;
    QStringList log;

private:
    QString m_folder;
};

SetupRecord completeRecord() {
    SetupRecord r;
    r.USER1 = QStringLiteral("Cég neve");
    r.SELO = QStringLiteral("SZA");
    r.AELO = QStringLiteral("ARA");
    r.GELO = QStringLiteral("GAR");
    r.MELO = QStringLiteral("MUN");
    r.FELO = QStringLiteral("SZL");
    r.MEGJEGYZES = QStringLiteral("3");
    r.SELOTAG = 1;
    r.SZORZO1 = 15;
    r.SZORZO2 = 20;
    r.SZORZO3 = 25;
    return r;
}

const QString kAffixWarning = QStringLiteral(
    "Bizonylat elő vagy utótagokat kötelező kitölteni! \n\rErre azért van szükség, hogy a bizonylatszámok ne "
    "ismétlődjenek.\n\rAz elő és utótagokat a \"számlázás\" lapon tudja beállítani.");

class SetupTest : public ::testing::Test {
protected:
    SetupTest() {
        m_data.stored = completeRecord();
        m_settings = loadIniSettings(m_ini, QStringLiteral("/p"), 0);
    }

    QString writtenIni() {
        m_folder.write("kavinaextra.ini", "; munkaállomás\n[adatok]\ndatabase=/adatok\nfizmod=Átutalás\n");
        return QString::fromStdString(m_folder.file("kavinaextra.ini"));
    }

    QString folder() const { return QString::fromStdString(m_folder.path()); }
    QByteArray iniBytes() const { return QByteArray::fromStdString(m_folder.read("kavinaextra.ini")); }

    testing_support::TestFolder m_folder;
    MemorySetupData m_data{folder()};
    IniFile m_ini{writtenIni()};
    IniSettings m_settings;
    ScriptedPrompt m_prompt;
    SetupLogic m_logic{m_data, m_settings, m_ini, m_prompt, {QStringLiteral("Nyomtató A"), QStringLiteral("PDF")}};
};

TEST_F(SetupTest, OpeningLocatesTheListsAndFillsAnEmptyCashCopiesCount) {
    m_data.stored.MEGJEGYZES.clear();
    m_settings.afakulcs = QStringLiteral("nincs ilyen");
    const SetupValues v = m_logic.open();
    EXPECT_EQ(v.settings.fizmod, QStringLiteral("Átutalás"));
    EXPECT_EQ(v.settings.afakulcs, QStringLiteral("27%"));
    EXPECT_EQ(v.cashCopies, 2);
    EXPECT_EQ(m_data.stored.MEGJEGYZES, QStringLiteral("2"));
    EXPECT_EQ(m_data.log, QStringList{QStringLiteral("record")});
    EXPECT_EQ(v.printers, (QStringList{QStringLiteral("Nyomtató A"), QStringLiteral("PDF")}));
    EXPECT_TRUE(m_prompt.entries().empty());
}

TEST_F(SetupTest, AcceptStoresTheRecordThenTheWorkstationKeys) {
    SetupValues v = m_logic.open();
    v.record.SELOTAG = 3;
    v.record.LOGOKEP = QStringLiteral("logo.png");
    v.useLogo = false;
    v.cashCopies = 4;
    v.settings.tobbar = 0;
    v.settings.fizmod = QStringLiteral("Készpénz");
    v.settings.savepath = QStringLiteral("/mentés");
    EXPECT_EQ(m_logic.accept(v), SetupLogic::Outcome::Closed);
    EXPECT_EQ(m_data.log, (QStringList{QStringLiteral("categories"), QStringLiteral("record")}));
    EXPECT_EQ(m_data.stored.SELOTAG, 3);
    EXPECT_EQ(m_data.stored.LOGOKEP, QString());
    EXPECT_EQ(m_data.stored.MEGJEGYZES, QStringLiteral("4"));
    EXPECT_EQ(m_settings.tobbar, 0);
    EXPECT_EQ(m_settings.fizmod, QStringLiteral("Készpénz"));
    EXPECT_EQ(iniBytes(), QByteArray("; munkaállomás\n[adatok]\ndatabase=/adatok\nfizmod=Készpénz\nszlistmode=1\n"
                                     "tobbar=0\nafakulcs=27%\ntsorrend=0\nprinter=0\njelszokeres=0\n"
                                     "savepath=/mentés\nautomataar=0\n"));
    EXPECT_TRUE(m_prompt.entries().empty());
}

TEST_F(SetupTest, AnEmptyAffixPairKeepsTheDialogOpenAndStoresNothing) {
    SetupValues v = m_logic.open();
    v.record.MELO = QStringLiteral("  ");
    const QByteArray before = iniBytes();
    EXPECT_EQ(m_logic.accept(v), SetupLogic::Outcome::ShowDocumentsPage);
    EXPECT_EQ(m_prompt.transcript(), QStringList{QStringLiteral("message|warning|Figyelem !|") + kAffixWarning});
    EXPECT_TRUE(m_data.log.isEmpty());
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(SetupTest, LeavingChecksTheStoredRecordAndWritesNothing) {
    SetupValues v = m_logic.open();
    v.settings.tobbar = 0;
    EXPECT_EQ(m_logic.leave(), SetupLogic::Outcome::Closed);
    m_data.stored.FUTO.clear();
    m_data.stored.FELO.clear();
    EXPECT_EQ(m_logic.leave(), SetupLogic::Outcome::ShowDocumentsPage);
    EXPECT_EQ(m_prompt.transcript(), QStringList{QStringLiteral("message|warning|Figyelem !|") + kAffixWarning});
    EXPECT_EQ(m_settings.tobbar, 1);
    EXPECT_TRUE(m_data.log.isEmpty());
}

TEST_F(SetupTest, LettersTheTablesCannotHoldAreRefused) {
    SetupValues v = m_logic.open();
    v.record.USER2 = QStringLiteral("Łódź 東京");
    EXPECT_EQ(m_logic.accept(v), SetupLogic::Outcome::StayOpen);
    EXPECT_EQ(m_prompt.transcript(),
              QStringList{QStringLiteral("message|warning|Figyelem!|Ezeket a betűket az adatbázis nem tudja tárolni: "
                                         "東, 京\nKérem, javítsa a szöveget: „Łódź 東京”")});
    EXPECT_TRUE(m_data.log.isEmpty());
    v.record.USER2 = QStringLiteral("Łódź");  // Polish letters are in the tables' code page
    EXPECT_EQ(m_logic.accept(v), SetupLogic::Outcome::Closed);
}

TEST_F(SetupTest, AFailedIniWriteIsShownAndKeepsTheDialogOpen) {
    SetupValues v = m_logic.open();
    v.settings.savepath = QStringLiteral("/mentés\n");
    EXPECT_EQ(m_logic.accept(v), SetupLogic::Outcome::StayOpen);
    EXPECT_EQ(
        m_prompt.transcript(),
        QStringList{QStringLiteral("message|error|Figyelem!|A(z) savepath kulcs értéke nem tartalmazhat sortörést.")});
    EXPECT_EQ(m_settings.savepath, QString());
}

TEST_F(SetupTest, ChosenLogoIsCopiedIntoTheDataFolder) {
    testing_support::TestFolder pictures;
    QImage(210, 100, QImage::Format_RGB32).save(QString::fromStdString(pictures.file("cég logó.png")));
    SetupValues v = m_logic.open();
    m_prompt.answerFile(QString::fromStdString(pictures.file("cég logó.png")));
    EXPECT_TRUE(m_logic.chooseLogo(v));
    EXPECT_EQ(v.record.LOGOKEP, QStringLiteral("cég logó.png"));
    EXPECT_TRUE(v.useLogo);
    EXPECT_EQ(QImage(folder() + QStringLiteral("/cég logó.png")).size(), QSize(210, 100));
    EXPECT_EQ(m_prompt.transcript(),
              QStringList{QStringLiteral("file|none|Logó választása|Képek (*.bmp *.jpg *.jpeg *.png *.gif)")});

    // Choosing the copy in the data folder again leaves it whole.
    m_prompt.answerFile(folder() + QStringLiteral("/cég logó.png"));
    EXPECT_TRUE(m_logic.chooseLogo(v));
    EXPECT_EQ(QImage(folder() + QStringLiteral("/cég logó.png")).size(), QSize(210, 100));
}

TEST_F(SetupTest, ALogoNameLongerThanItsFieldIsRefused) {
    SetupValues v = m_logic.open();
    const QString name = QString(101, QLatin1Char('x')) + QStringLiteral(".png");
    m_prompt.answerFile(QStringLiteral("/kepek/") + name);
    EXPECT_FALSE(m_logic.chooseLogo(v));
    EXPECT_EQ(m_prompt.entries().back().toString(),
              QStringLiteral("message|error|Figyelem!|A kép fájlneve legfeljebb 100 karakter lehet: ") + name);
    EXPECT_EQ(v.record.LOGOKEP, QString());
}

TEST_F(SetupTest, TickingTheLogoWithoutOneAsksAndUnticksWhenNoneIsChosen) {
    SetupValues v = m_logic.open();
    m_prompt.answerFile(std::nullopt);
    m_logic.logoTicked(v);
    EXPECT_FALSE(v.useLogo);
    m_prompt.answerFile(QStringLiteral("/nincs/ilyen.png"));
    m_logic.logoTicked(v);
    EXPECT_FALSE(v.useLogo);
    ASSERT_EQ(m_prompt.entries().size(), 3u);
    EXPECT_EQ(m_prompt.entries()[2].toString(),
              QStringLiteral("message|error|Figyelem!|A kép nem olvasható: /nincs/ilyen.png"));
    v.record.LOGOKEP = QStringLiteral("van.png");
    m_logic.logoTicked(v);
    EXPECT_TRUE(v.useLogo);
    EXPECT_EQ(m_prompt.entries().size(), 3u);
}

TEST_F(SetupTest, BackupFolderIsChosenWithItsCaption) {
    SetupValues v = m_logic.open();
    v.settings.savepath = QStringLiteral("/régi");
    m_prompt.answerFolder(QStringLiteral("/új"));
    m_logic.chooseBackupFolder(v);
    EXPECT_EQ(v.settings.savepath, QStringLiteral("/új"));
    m_prompt.answerFolder(std::nullopt);
    m_logic.chooseBackupFolder(v);
    EXPECT_EQ(v.settings.savepath, QStringLiteral("/új"));
    EXPECT_EQ(m_prompt.transcript(), (QStringList{QStringLiteral("folder|none|Válasszon mappát||/régi"),
                                                  QStringLiteral("folder|none|Válasszon mappát||/új")}));
}

TEST(LogoSizeTest, TheLargerRatioScalesThePicture) {
    EXPECT_EQ(logoDisplaySize(QSize(210, 100)), QSize(105, 50));
    EXPECT_EQ(logoDisplaySize(QSize(100, 400)), QSize(25, 100));
    EXPECT_EQ(logoDisplaySize(QSize(21, 20)), QSize(105, 100));
    EXPECT_EQ(logoDisplaySize(QSize()), QSize());
}

class TSetupFormTest : public SetupTest {
protected:
    template <typename T>
    T* find(const char* name) {
        T* widget = m_form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }

    TSetup m_form{nullptr, m_logic};
};

TEST_F(TSetupFormTest, PagesAndCaptionsAreThoseOfTheSettingsDialog) {
    m_form.prepare(TSetup::Page::Other);
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Beállítások"));
    auto* pages = find<QTabWidget>("pagesTabWidget");
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Program tulajdonosa"));
    EXPECT_EQ(pages->tabText(1), QStringLiteral("Bizonylatok"));
    EXPECT_EQ(pages->tabText(2), QStringLiteral("Nyomtatás"));
    EXPECT_EQ(pages->tabText(3), QStringLiteral("Egyéb"));
    EXPECT_EQ(pages->currentIndex(), 3);
    EXPECT_EQ(find<QLabel>("cashSaleLabel")->text(), QStringLiteral("Pénztárgépes értékesítések:"));
    EXPECT_EQ(find<QLabel>("lablec1Label")->text(), QStringLiteral("Közösségi adósz.:"));
    EXPECT_EQ(find<QPushButton>("laplablecPushButton")->text(), QStringLiteral("Minden lap"));
    EXPECT_EQ(find<QPushButton>("acceptPushButton")->text(), QStringLiteral("&Elfogad"));
    EXPECT_EQ(find<QPushButton>("leavePushButton")->text(), QStringLiteral("&Kilépés"));
    EXPECT_EQ(find<QComboBox>("paymentMethodComboBox")->currentText(), QStringLiteral("Átutalás"));
    EXPECT_EQ(find<QComboBox>("vatGroupComboBox")->currentText(), QStringLiteral("27%"));
    EXPECT_EQ(find<QComboBox>("roundingComboBox")->currentText(), QStringLiteral("1 ft"));
    EXPECT_EQ(find<QLineEdit>("seloLineEdit")->text(), QStringLiteral("SZA"));
}

TEST_F(TSetupFormTest, BoxesTakeNoMoreThanTheirFieldsHold) {
    EXPECT_EQ(find<QLineEdit>("seloLineEdit")->maxLength(), 10);
    EXPECT_EQ(find<QLineEdit>("cimLineEdit")->maxLength(), 100);
}

TEST_F(TSetupFormTest, HidingTheMultipliersGreysAllThreeAtOnce) {
    m_form.prepare(TSetup::Page::Other);
    auto* hide = find<QCheckBox>("hideMultipliersCheckBox");
    const char* boxes[] = {"szorzo1SpinBox", "szorzo2SpinBox", "szorzo3SpinBox"};
    for (const char* box : boxes) EXPECT_TRUE(find<QDoubleSpinBox>(box)->isEnabled());
    hide->setChecked(true);
    for (const char* box : boxes) EXPECT_FALSE(find<QDoubleSpinBox>(box)->isEnabled());
    EXPECT_EQ(m_form.values().settings.tobbar, 0);
    hide->setChecked(false);
    for (const char* box : boxes) EXPECT_TRUE(find<QDoubleSpinBox>(box)->isEnabled());
}

TEST_F(TSetupFormTest, ChoosingHundredForintsStoresThree) {
    m_form.prepare(TSetup::Page::Other);
    find<QComboBox>("roundingComboBox")->setCurrentText(QStringLiteral("100 ft"));
    find<QLineEdit>("cimLineEdit")->setText(QStringLiteral("1234 Város, Fő utca 1."));
    find<QPushButton>("acceptPushButton")->click();
    EXPECT_EQ(m_form.result(), QDialog::Accepted);
    EXPECT_EQ(m_data.stored.SELOTAG, 3);
    EXPECT_EQ(m_data.stored.CIM, QStringLiteral("1234 Város, Fő utca 1."));
    EXPECT_DOUBLE_EQ(m_data.stored.SZORZO2, 20);
}

TEST_F(TSetupFormTest, BoxesRefuseLettersTheTablesCannotHoldAndMinutesOverTheLimit) {
    m_form.prepare(TSetup::Page::Owner);
    auto* name = find<QLineEdit>("user1LineEdit");
    name->clear();
    for (const QChar c : QStringLiteral("Señor Kft.")) {
        QTest::sendKeyEvent(QTest::Press, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    auto* minutes = find<QSpinBox>("idleMinutesSpinBox");
    minutes->selectAll();
    const QString tooMany = QString::number(minutes->maximum()) + QStringLiteral("0");
    for (const QChar c : tooMany) QTest::keyClick(minutes, c.toLatin1());
    QCoreApplication::processEvents();
    EXPECT_EQ(name->text(), QStringLiteral("Seor Kft."));
    EXPECT_EQ(minutes->value(), minutes->maximum());
    EXPECT_EQ(m_prompt.transcript(),
              QStringList({QStringLiteral("message|warning|Figyelem!|Ezt a betűt az adatbázis nem tudja tárolni: ñ\n"
                                          "Kérem, javítsa a szöveget: „Señ”"),
                           QStringLiteral("message|warning|Figyelem!|A beírt érték (%1) túl nagy: legfeljebb %2 lehet!")
                               .arg(tooMany)
                               .arg(minutes->maximum())}));
}

TEST_F(TSetupFormTest, EmptyAffixesSwitchToTheDocumentsPage) {
    m_form.prepare(TSetup::Page::Owner);
    find<QLineEdit>("geloLineEdit")->clear();
    find<QPushButton>("acceptPushButton")->click();
    EXPECT_EQ(find<QTabWidget>("pagesTabWidget")->currentIndex(), 1);
    EXPECT_EQ(m_prompt.transcript(), QStringList{QStringLiteral("message|warning|Figyelem !|") + kAffixWarning});
    EXPECT_EQ(m_data.stored.GELO, QStringLiteral("GAR"));
}

TEST_F(TSetupFormTest, LeavingDiscardsWhatWasTyped) {
    m_form.prepare(TSetup::Page::Owner);
    find<QLineEdit>("user1LineEdit")->setText(QStringLiteral("Más cég"));
    const QByteArray before = iniBytes();
    find<QPushButton>("leavePushButton")->click();
    EXPECT_EQ(m_form.result(), QDialog::Rejected);
    EXPECT_EQ(m_data.stored.USER1, QStringLiteral("Cég neve"));
    EXPECT_EQ(iniBytes(), before);
}

}  // namespace
}  // namespace kavina
