#include "foundation/IniFile.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QStringEncoder>

#include "QtPrinters.h"
#include "dbase/TestFolder.h"
#include "foundation/IniSettings.h"

namespace kavina {
namespace {

QByteArray cp1250(const QString& text) {
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

class IniFileTest : public ::testing::Test {
protected:
    QString path() const { return QString::fromStdString(m_folder.file("kavinaextra.ini")); }
    void put(const QByteArray& bytes) const { m_folder.write("kavinaextra.ini", bytes.toStdString()); }
    QByteArray bytes() const { return QByteArray::fromStdString(m_folder.read("kavinaextra.ini")); }

    testing_support::TestFolder m_folder;
};

TEST_F(IniFileTest, ReadingFollowsTheDesktopRules) {
    put("; megjegyzés\n"
        "[ADATOK]\n"
        "Database = '/srv/kavina/adatok/'\n"
        "fizmod=\"Készpénz\"\n"
        "csak egy sor egyenlőségjel nélkül\n"
        "=érték kulcs nélkül\n"
        "zebracolor=$FF\n"
        "gridfontsize=tíz\n"
        "gridfontsize=12\n"
        "szamDate=2008.03.15\n"
        "proDate=2008.02.30\n"
        "[toolbar\n"
        "bSzamla=0\n"
        "[toolbar]\n"
        "bSelejt=0\n");
    const IniFile ini(path());
    EXPECT_EQ(ini.value("adatok", "database"), QStringLiteral("/srv/kavina/adatok/"));
    EXPECT_EQ(ini.readString("adatok", "fizmod"), QStringLiteral("Készpénz"));
    EXPECT_EQ(ini.readInteger("adatok", "zebracolor", 0), 255);
    EXPECT_EQ(ini.readInteger("adatok", "gridfontsize", 8), 8) << "the first occurrence wins, even when unreadable";
    EXPECT_EQ(ini.readDate("adatok", "szamDate", {}), QDate(2008, 3, 15));
    EXPECT_EQ(ini.readDate("adatok", "proDate", QDate(2000, 1, 1)), QDate(2000, 1, 1));
    EXPECT_EQ(ini.readInteger("adatok", "bSzamla", 1), 0) << "a damaged header does not open a section";
    EXPECT_EQ(ini.readInteger("toolbar", "bSelejt", 1), 0);
    EXPECT_FALSE(ini.value("adatok", "nincs"));
}

TEST_F(IniFileTest, OnlyTheDatabaseKeyGivesEveryOtherDefault) {
    put("[adatok]\r\ndatabase=adatok2\r\n");
    const IniSettings settings = loadIniSettings(IniFile(path()), QStringLiteral("/opt/kavina"), 3);
    IniSettings expected;
    expected.database = QStringLiteral("adatok2");
    expected.databaseGiven = true;
    expected.printer = 3;
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(settings.zebracolor, QColor(253, 255, 210));
    EXPECT_EQ(settings.graycolor, QColor(128, 128, 128));
    EXPECT_EQ(settings.pluginext, QStringLiteral("kvp"));
    EXPECT_EQ(settings.szamDate, QDate(2000, 1, 1));
    EXPECT_EQ(settings.dataFolder(QStringLiteral("/opt/kavina")), QStringLiteral("/opt/kavina/adatok2"));
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndNoDatabase) {
    const IniFile ini(path());
    EXPECT_FALSE(ini.exists());
    const IniSettings settings = loadIniSettings(ini, QStringLiteral("/opt/kavina"), 0);
    EXPECT_FALSE(settings.databaseGiven);
    EXPECT_EQ(settings.database, QStringLiteral("/opt/kavina/adatok"));
    EXPECT_EQ(settings.zebragrid, 1);
    EXPECT_EQ(settings.bMunkalap, 1);
}

TEST_F(IniFileTest, ValuesOfEveryKindAreRead) {
    put("[adatok]\ndatabase=/d\nzebracolor=13828093\nredcolor=-16777211\ntsorrend=2\ncikk_max=8\n"
        "savepath='/mentés'\nszamDate=2009.01.02.\n[toolbar]\nbVisszaru=0\n");
    const IniSettings s = loadIniSettings(IniFile(path()), QStringLiteral("/p"), 0);
    EXPECT_EQ(s.zebracolor, QColor(253, 255, 210));
    EXPECT_EQ(s.redcolor, QColor(255, 0, 0)) << "a symbolic system colour keeps the default";
    EXPECT_EQ(s.tsorrend, 2);
    EXPECT_EQ(s.cikk_max, 8);
    EXPECT_EQ(s.savepath, QStringLiteral("/mentés"));
    EXPECT_EQ(s.szamDate, QDate(2009, 1, 2));
    EXPECT_EQ(s.bVisszaru, 0);
    EXPECT_EQ(s.bSelejt, 1);
}

TEST_F(IniFileTest, WritingOneKeyKeepsEveryOtherByteOfAWindows1250File) {
    const QByteArray before =
        cp1250(QStringLiteral("; Kavina beállítások – árvíztűrő tükörfúrógép\r\n"
                              "[adatok]\r\n"
                              "database='C:\\Kavina\\adatok\\'\r\n"
                              "fizmod = Átutalás\r\n"
                              "szlistmode=1\r\n"
                              "  hibás sor\r\n"
                              "\r\n"
                              "[toolbar]\r\n"
                              "bSzamla=1"));
    ASSERT_TRUE(before.contains('\xe1') && before.contains('\xfb'));  // á and ű as single bytes
    put(before);
    IniFile ini(path());
    ini.writeString("adatok", "fizmod", QStringLiteral("Készpénz"));
    const QByteArray expected = QByteArray(before).replace(cp1250(QStringLiteral("fizmod = Átutalás")),
                                                           cp1250(QStringLiteral("fizmod = Készpénz")));
    EXPECT_EQ(bytes(), expected);
    EXPECT_EQ(IniFile(path()).readString("adatok", "fizmod"), QStringLiteral("Készpénz"));
    EXPECT_EQ(IniFile(path()).readString("adatok", "database"), QStringLiteral("C:\\Kavina\\adatok\\"));
}

TEST_F(IniFileTest, NewKeysGoAfterTheLastKeyOfTheirSection) {
    put("[adatok]\r\ndatabase=/d\r\n\r\n[toolbar]\r\nbSzamla=1");
    IniFile ini(path());
    ini.write("adatok",
              {{QStringLiteral("tobbar"), QStringLiteral("0")}, {QStringLiteral("savepath"), QStringLiteral(" /m ")}});
    ini.writeInteger("toolbar", "bSelejt", 0);
    ini.writeDate("uj", "szamDate", QDate(2008, 3, 15));
    EXPECT_EQ(bytes(), QByteArray("[adatok]\r\ndatabase=/d\r\ntobbar=0\r\nsavepath=\" /m \"\r\n\r\n"
                                  "[toolbar]\r\nbSzamla=1\r\nbSelejt=0\r\n[uj]\r\nszamDate=2008.03.15\r\n"));
    EXPECT_EQ(IniFile(path()).readString("adatok", "savepath"), QStringLiteral(" /m "));
}

TEST_F(IniFileTest, QuotedValuesStayQuoted) {
    put("[adatok]\ndatabase='/régi/'\n");
    IniFile ini(path());
    ini.writeString("adatok", "database", QStringLiteral("/új/"));
    EXPECT_EQ(QString::fromUtf8(bytes()), QStringLiteral("[adatok]\ndatabase='/új/'\n"));
}

TEST_F(IniFileTest, UnwritableValuesChangeNothing) {
    const QByteArray before = cp1250(QStringLiteral("[adatok]\r\nfizmod=Átutalás\r\n"));
    put(before);
    IniFile ini(path());
    EXPECT_THROW(ini.writeString("adatok", "fizmod", QStringLiteral("日本")), IniError);
    EXPECT_THROW(ini.write("adatok", {{QStringLiteral("tobbar"), QStringLiteral("0")},
                                      {QStringLiteral("savepath"), QStringLiteral("a\nb")}}),
                 IniError);
    EXPECT_THROW(ini.writeString("adatok", "a=b", QStringLiteral("x")), IniError);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(ini.readString("adatok", "fizmod"), QStringLiteral("Átutalás"));
}

TEST_F(IniFileTest, WritingKeepsWhatAnotherProgramWroteMeanwhile) {
    put("[adatok]\nkilepett=0\n");
    IniFile ini(path());
    put("[adatok]\nkilepett=0\nspack=10\n");
    ini.writeInteger("adatok", "kilepett", 1);
    EXPECT_EQ(bytes(), QByteArray("[adatok]\nkilepett=1\nspack=10\n"));
    EXPECT_EQ(ini.readInteger("adatok", "spack", 0), 10);
}

TEST_F(IniFileTest, WritingIntoAMissingFolderIsAnError) {
    const QString folder = QString::fromStdString(m_folder.file("nincs-ilyen"));
    IniFile ini(folder + QStringLiteral("/kavinaextra.ini"));
    EXPECT_THROW(ini.writeInteger("adatok", "kilepett", 1), IniError);
    EXPECT_FALSE(QFile::exists(folder));
}

TEST_F(IniFileTest, SetupKeysAreWrittenTogether) {
    put("[adatok]\ndatabase=/d\n");
    IniFile ini(path());
    IniSettings s;
    s.szlistmode = 0;
    s.tobbar = 0;
    s.afakulcs = QStringLiteral("27%");
    s.fizmod = QStringLiteral("Készpénz");
    s.tsorrend = 2;
    s.printer = 1;
    s.jelszokeres = 15;
    s.savepath = QStringLiteral("/mentés");
    s.automataar = 1;
    writeSetupKeys(ini, s);
    const IniSettings back = loadIniSettings(IniFile(path()), QStringLiteral("/p"), 0);
    EXPECT_EQ(back.szlistmode, 0);
    EXPECT_EQ(back.tobbar, 0);
    EXPECT_EQ(back.afakulcs, QStringLiteral("27%"));
    EXPECT_EQ(back.fizmod, QStringLiteral("Készpénz"));
    EXPECT_EQ(back.tsorrend, 2);
    EXPECT_EQ(back.printer, 1);
    EXPECT_EQ(back.jelszokeres, 15);
    EXPECT_EQ(back.savepath, QStringLiteral("/mentés"));
    EXPECT_EQ(back.automataar, 1);
    EXPECT_EQ(back.database, QStringLiteral("/d"));
}

TEST(ArticleNumberTest, LengthMessageFollowsTheLimits) {
    IniSettings s;
    EXPECT_FALSE(s.articleNumberLengthMessage(QString(40, QLatin1Char('x'))));
    s.cikk_min = s.cikk_max = 8;
    EXPECT_EQ(s.articleNumberLengthMessage(QStringLiteral("1234567")),
              QStringLiteral("A cikkszám mező hosszának 8 karakternek kell lennie!"));
    EXPECT_FALSE(s.articleNumberLengthMessage(QStringLiteral("12345678")));
    s.cikk_min = 4;
    EXPECT_EQ(s.articleNumberLengthMessage(QStringLiteral("123456789")),
              QStringLiteral("A cikkszám mező hosszának 4 és 8 közé kell esnie!"));
    EXPECT_FALSE(s.articleNumberLengthMessage(QStringLiteral("ÁÉ12")));
}

}  // namespace
}  // namespace kavina
