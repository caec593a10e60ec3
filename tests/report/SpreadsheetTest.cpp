// A report's table saved as a workbook, read back by an independent reader (openpyxl), and the
// refusals that leave the target as it was and no file behind.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "dbase/TestFolder.h"
#include "report/Spreadsheet.h"

namespace kavina::report {
namespace {

using testing_support::TestFolder;

// Every cell of the first sheet as "A1=value (type) [bold]", then the widths of the columns
// written and the frozen panes.
const char* kReader = R"py(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
print("title=" + ws.title)
for row in ws.iter_rows():
    for c in row:
        if c.value is not None:
            print("%s=%s (%s)%s" % (c.coordinate, c.value, type(c.value).__name__, " bold" if c.font.b else ""))
for letter, dim in sorted(ws.column_dimensions.items()):
    print("width %s=%d" % (letter, round(dim.width)))
print("freeze=%s" % ws.freeze_panes)
)py";

class SpreadsheetTest : public ::testing::Test {
protected:
    TestFolder dir;

    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

    QStringList readBack(const QString& file) {
        QProcess python;
        python.start("/usr/bin/python3", {"-c", kReader, file});
        EXPECT_TRUE(python.waitForFinished(30000));
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    QStringList entries() const {
        return QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden);
    }

    static SheetTable table() {
        return {QStringLiteral("Haszon: 2008/03"),
                {QStringLiteral("Cikkszám"), QStringLiteral("Megnevezés"), QStringLiteral("Haszon")},
                {{QStringLiteral("A1"), QStringLiteral("=SUM(C1:C9)"), 1250.5},
                 {QStringLiteral("Ő2"), QStringLiteral("Fűrészelt bükk deszka, gyalult, 25 mm"), -10.0},
                 {QStringLiteral("A3"), {}, 0.0}},
                {{QStringLiteral("Összesen:"), {}, 1240.5}}};
    }

    void write(const QString& file, const QByteArray& content) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    QByteArray read(const QString& file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    // Writes and expects a refusal whose text starts so; nothing else is left in the folder.
    void expectRefused(const QString& file, const QString& start) {
        const QStringList before = entries();
        try {
            writeSheetTable(table(), file);
            ADD_FAILURE() << "written despite the refusal expected: " << start.toStdString();
        } catch (const SpreadsheetError& e) {
            EXPECT_TRUE(e.text().startsWith(start)) << e.what();
        }
        EXPECT_EQ(entries(), before);
    }
};

TEST_F(SpreadsheetTest, HoldsTheCellsTypedWithBoldHeadingsAndTotalsAndTextsNeverFormulas) {
    const QString file = path("statisztika.xlsx");
    write(file, "an older workbook");
    writeSheetTable(table(), file);
    const QStringList cells = readBack(file);
    EXPECT_EQ(cells.mid(0, 17),
              (QStringList{"title=Haszon_ 2008_03", "A1=Cikkszám (str) bold", "B1=Megnevezés (str) bold",
                           "C1=Haszon (str) bold", "A2=A1 (str)", "B2==SUM(C1:C9) (str)", "C2=1250.5 (float)",
                           "A3=Ő2 (str)", "B3=Fűrészelt bükk deszka, gyalult, 25 mm (str)", "C3=-10 (int)",
                           "A4=A3 (str)", "C4=0 (int)", "A5=Összesen: (str) bold", "C5=1240.5 (float) bold",
                           // the longest text and two more; the format
                           // stores the width with its padding
                           "width A=12", "width B=40", "width C=12"}));
    EXPECT_EQ(cells.last(), QStringLiteral("freeze=A2"));
    EXPECT_EQ(entries(), QStringList{"statisztika.xlsx"});
}

TEST_F(SpreadsheetTest, ARefusedOrFailedSaveNamesItsCauseAndLeavesTheTargetAsItWas) {
    expectRefused(path("nincs/statisztika.xlsx"), QStringLiteral("A mappa nem írható: "));
    try {
        writeSheetTable(table(), path("nincs/statisztika.xlsx"));
    } catch (const SpreadsheetError& e) {
        EXPECT_TRUE(e.text().endsWith(QStringLiteral("(a mappa nem létezik)"))) << e.what();
    }

    // A spreadsheet program has the workbook open: its lock file stands beside it.
    const QString open = path("nyitott.xlsx");
    write(open, "being edited");
    write(path(".~lock.nyitott.xlsx#"), "lock");
    expectRefused(open, QStringLiteral("A munkafüzet nem menthető, mert egy táblázatkezelő program megnyitotta: "));
    EXPECT_EQ(read(open), "being edited");

    ASSERT_TRUE(QDir(QString::fromStdString(dir.path())).mkdir("mappa.xlsx"));
    expectRefused(path("mappa.xlsx"), QStringLiteral("A munkafüzet nem menthető ide: "));

    // The superuser writes over read-only files: the refusal is for the clerk's own account.
    if (geteuid() != 0) {
        const QString locked = path("vedett.xlsx");
        write(locked, "kept");
        QFile::setPermissions(locked, QFileDevice::ReadOwner);
        expectRefused(locked, QStringLiteral("A munkafüzet nem menthető, mert a fájl írásvédett: "));
    }

    // A table that fails while it is being written leaves no temporary file.
    const QStringList before = entries();
    EXPECT_THROW(writeReplacing(path("fele.xlsx"),
                                [](const QString& temporary) {
                                    QFile partial(temporary);
                                    ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
                                    partial.write("PK half");
                                    throw SpreadsheetError("megszakadt");
                                }),
                 SpreadsheetError);
    EXPECT_EQ(entries(), before);
}

TEST(SheetNameTest, ForbiddenCharactersAndLengthFollowTheWorkbookRules) {
    EXPECT_EQ(sheetNameOf(QStringLiteral("a[b]:c*d?e/f\\g")), QStringLiteral("a_b__c_d_e_f_g"));
    EXPECT_EQ(sheetNameOf(QString(40, 'x')).size(), 31);
    EXPECT_EQ(sheetNameOf(QString()), QStringLiteral("Tábla"));
}

}  // namespace
}  // namespace kavina::report
