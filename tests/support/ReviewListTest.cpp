#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "support/errorreport/ErrorReportList.h"

namespace kavina::support {
namespace {

namespace F = hibajelFields;

class RecordingDesktop : public Desktop {
public:
    QStringList opened;
    bool openFile(const QString& path) override {
        opened << path;
        return true;
    }
};

class ReviewListTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    ScriptedPrompt prompt;
    RecordingDesktop desktop;
    ErrorReportList list{QString::fromStdString(dir.path()), prompt, desktop};

    QString path(const QString& name) const { return QDir(QString::fromStdString(dir.path())).filePath(name); }
    // A report whose line 34 is the text (33 lines before it), in Windows-1250.
    void writeReport(const QString& name, const QString& line34, int linesBefore = 33) {
        QString text;
        for (int i = 0; i < linesBefore; ++i) text += QStringLiteral("line\r\n");
        text += line34 + "\r\n[x]</font></td>\r\n";
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringEncoder("windows-1250").encode(text));
    }
    void touch(const QString& name) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList shownRows() {
        QStringList rows;
        for (list.rows().first(); !list.rows().eof(); list.rows().next())
            rows << list.rows().asString(F::file).trimmed() + "|" +
                        list.rows().asDateTime(F::date).date().toString("yyyy-MM-dd") + "|" +
                        list.rows().asString(F::time).trimmed() + "|" + list.rows().asString(F::text).trimmed();
        return rows;
    }
};

TEST_F(ReviewListTest, EmptyFolderGivesAnEmptyList) {
    list.reload();
    EXPECT_TRUE(list.rows().isEmpty());
    list.deleteAll();
    list.deleteCurrent();
    EXPECT_TRUE(prompt.entries().empty());
}

TEST_F(ReviewListTest, RowsCarryDateTimeAndLine34OldestFirst) {
    writeReport("err070314153005.htm", "Hiba &lt;b&gt; &amp; ő.");
    writeReport("err061231235959.htm", "Régebbi");
    writeReport("err070314090000.htm", QString(120, QLatin1Char('x')));
    writeReport("err070315000000.htm", "rövid", 10);
    touch("errata.htm");  // not a report of the program
    list.reload();
    EXPECT_EQ(shownRows(), (QStringList{"err061231235959.htm|2006-12-31|23:59:59|Régebbi",
                                        "err070314090000.htm|2007-03-14|09:00:00|" + QString(100, QLatin1Char('x')),
                                        "err070314153005.htm|2007-03-14|15:30:05|Hiba <b> & ő.",
                                        "err070315000000.htm|2007-03-15|00:00:00|"}));
    list.rows().first();
    EXPECT_EQ(list.rows().asString(F::file).trimmed(), "err061231235959.htm");
    list.viewCurrent();
    EXPECT_EQ(desktop.opened, QStringList{path("err061231235959.htm")});
}

TEST_F(ReviewListTest, DeleteAsksAndRemovesTheReportWithItsScreenshot) {
    writeReport("err070314153005.htm", "a");
    touch("err070314153005.jpg");
    writeReport("err070314153006.htm", "b");  // its screenshot is already gone
    list.reload();
    prompt.answerYesNo(false);
    list.deleteCurrent();
    EXPECT_TRUE(QFile::exists(path("err070314153005.htm")));
    prompt.answerYesNo(true);
    list.deleteCurrent();
    EXPECT_FALSE(QFile::exists(path("err070314153005.htm")));
    EXPECT_FALSE(QFile::exists(path("err070314153005.jpg")));
    EXPECT_EQ(shownRows(), QStringList{"err070314153006.htm|2007-03-14|15:30:06|b"});
    list.rows().first();
    prompt.answerYesNo(true);
    list.deleteCurrent();
    EXPECT_FALSE(QFile::exists(path("err070314153006.htm")));
    EXPECT_TRUE(list.rows().isEmpty());
    EXPECT_EQ(prompt.transcript(),
              (QStringList{"yes/no|question|Figyelem|Biztos, hogy törölni szeretné a hibajelentést?",
                           "yes/no|question|Figyelem|Biztos, hogy törölni szeretné a hibajelentést?",
                           "yes/no|question|Figyelem|Biztos, hogy törölni szeretné a hibajelentést?"}));
}

TEST_F(ReviewListTest, DeleteAllRemovesEveryReportAfterOneQuestion) {
    writeReport("err070314153005.htm", "a");
    touch("err070314153005.jpg");
    writeReport("err070314153006.htm", "b");
    touch("err070314153006.jpg");
    touch("kavinaextra.ini");
    list.reload();
    prompt.answerYesNo(true);
    list.deleteAll();
    EXPECT_TRUE(list.rows().isEmpty());
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files), QStringList{"kavinaextra.ini"});
    EXPECT_EQ(prompt.transcript(),
              QStringList{"yes/no|question|Figyelem|Biztos, hogy törölni szeretné az összes hibajelentést?"});
}

}  // namespace
}  // namespace kavina::support
