// "Mentés Excelbe": the workbook read back by an independent reader (openpyxl), and a failed
// write that leaves nothing behind.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <filesystem>

#include "dbase/DbError.h"
#include "dbase/TestFolder.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"
#include "shell/tableviewer/TableViewerExport.h"

namespace kavina::shell {
namespace {

using testing_support::TestFolder;

// Every cell of the first sheet as "A1=value (type)" lines, the column widths and the title.
const char* kReader = R"py(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
print("title=" + ws.title)
for row in ws.iter_rows():
    for c in row:
        if c.value is not None:
            v = c.value.strftime("%Y.%m.%d") if hasattr(c.value, "strftime") else c.value
            print("%s=%s (%s)" % (c.coordinate, v, type(c.value).__name__))
)py";

// A handle whose walk breaks down after the first record, as a table read from a network
// share that goes away in the middle of the copy.
class BreakingCursor : public RecordCursor {
public:
    explicit BreakingCursor(TableHandle& inner) : m_inner(inner) {}
    const std::vector<dbase::FieldInfo>& fields() const override { return m_inner.fields(); }
    std::string sourceName() const override { return m_inner.sourceName(); }
    void first() override { m_inner.first(); }
    void last() override { m_inner.last(); }
    void next() override { throw dbase::DbError(sourceName() + ": the share went away"); }
    void prior() override { m_inner.prior(); }
    bool eof() const override { return m_inner.eof(); }
    bool bof() const override { return m_inner.bof(); }
    bool isEmpty() const override { return m_inner.isEmpty(); }
    uint32_t recordCount() override { return m_inner.recordCount(); }
    CursorMark bookmark() const override { return m_inner.bookmark(); }
    bool gotoBookmark(const CursorMark& mark) override { return m_inner.gotoBookmark(mark); }
    bool locate(const FieldValues& v, const dbase::LocateOptions& o) override { return m_inner.locate(v, o); }
    dbase::TableState state() const override { return m_inner.state(); }
    void append() override {}
    void insert() override {}
    void edit() override {}
    void post() override {}
    void cancel() override {}
    void deleteRecord() override {}

protected:
    bool nullAt(int f) const override { return m_inner.isNull(f); }
    QString textAt(int f) const override { return m_inner.asString(f); }
    int64_t integerAt(int f) const override { return m_inner.asInteger(f); }
    double floatAt(int f) const override { return m_inner.asFloat(f); }
    bool logicalAt(int f) const override { return m_inner.asLogical(f); }
    std::optional<dbase::Date> dateAt(int) const override { return std::nullopt; }
    std::optional<dbase::DateTime> dateTimeAt(int) const override { return std::nullopt; }
    void writeNull(int) override {}
    void writeText(int, const QString&) override {}
    void writeInteger(int, int64_t) override {}
    void writeFloat(int, double) override {}
    void writeLogical(int, bool) override {}
    void writeDate(int, const dbase::Date&) override {}
    void writeDateTime(int, const dbase::DateTime&) override {}

private:
    TableHandle& m_inner;
};

class TableViewerExportTest : public ::testing::Test {
protected:
    TestFolder dir;
    TDataModule1 dm;

    void SetUp() override {
        createDataFolder(dir.path());
        dm.open(dir.path());
    }

    QStringList readBack(const QString& path) {
        QProcess python;
        python.start("/usr/bin/python3", {"-c", kReader, path});
        EXPECT_TRUE(python.waitForFinished(30000));
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    QStringList folderEntries() {
        return QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden);
    }
};

TEST_F(TableViewerExportTest, WritesAHeaderAndEveryVisibleRecordWithNumbersDatesAndLogicalsTyped) {
    TableHandle& units = dm.EgysegTable();
    const int unitCount = int(units.recordCount());
    TableHandle& partners = dm.PartnerTable();
    partners.append();
    partners.setInteger("PARTNERKOD", 7);
    partners.setString("NEV", "Árvíztűrő Tükörfúrógép Kft.");
    partners.post();
    partners.append();
    partners.setInteger("PARTNERKOD", 8);
    partners.setString("NEV", "Béta Bt.");
    partners.post();
    partners.setFilter("PARTNERKOD=7");
    partners.setFiltered(true);

    const QString path = QString::fromStdString(dir.file("partnerek.xlsx"));
    writeSpreadsheet(partners, path, "PartnerTable");
    const QStringList cells = readBack(path);
    EXPECT_TRUE(cells.contains("title=PartnerTable"));
    EXPECT_TRUE(cells.contains("A1=PARTNERKOD (str)"));
    EXPECT_TRUE(cells.contains("B1=NEV (str)"));
    EXPECT_TRUE(cells.contains("A2=7 (int)"));
    EXPECT_TRUE(cells.contains("B2=Árvíztűrő Tükörfúrógép Kft. (str)"));
    EXPECT_FALSE(cells.join('\n').contains("Béta")) << "the filter hides the second partner";
    EXPECT_EQ(partners.asString("NEV"), "Árvíztűrő Tükörfúrógép Kft.");

    TableHandle& invoices = dm.SzamlaTable();
    invoices.append();
    invoices.setString("SZAMLASZAM", "SZA2008/00001");
    invoices.setDate("KIALLIT", QDate(2008, 3, 15));
    invoices.setLogical("FIZETVE", true);
    invoices.post();
    const QString invoicePath = QString::fromStdString(dir.file("szamlak.xlsx"));
    writeSpreadsheet(invoices, invoicePath, "Szamla[1]");
    const QStringList invoiceCells = readBack(invoicePath);
    EXPECT_TRUE(invoiceCells.contains("title=Szamla_1_"));
    EXPECT_TRUE(invoiceCells.filter(QRegularExpression("^[A-Z]+2=2008.03.15 \\(datetime\\)$")).size() == 1)
        << invoiceCells.join('\n').toStdString();
    EXPECT_EQ(invoiceCells.filter(QRegularExpression("^[A-Z]+2=True \\(bool\\)$")).size(), 1);

    writeSpreadsheet(units, QString::fromStdString(dir.file("egysegek.xlsx")), "EgysegTable");
    EXPECT_EQ(readBack(QString::fromStdString(dir.file("egysegek.xlsx"))).filter(QRegularExpression("^A\\d+=")).size(),
              unitCount + 1);
}

TEST_F(TableViewerExportTest, AFailedWriteLeavesTheTargetAsItWasAndNoTemporaryFile) {
    const QString path = QString::fromStdString(dir.file("meglevo.xlsx"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    BreakingCursor units(dm.EgysegTable());
    const QStringList before = folderEntries();
    EXPECT_THROW(writeSpreadsheet(units, path, "EgysegTable"), dbase::DbError);
    EXPECT_EQ(folderEntries(), before);
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");

    const QString missingFolder = QString::fromStdString(dir.file("nincs/tabla.xlsx"));
    try {
        writeSpreadsheet(dm.EgysegTable(), missingFolder, "EgysegTable");
        FAIL() << "a missing folder must be refused";
    } catch (const SpreadsheetError& e) {
        EXPECT_TRUE(e.text().startsWith("A mappa nem írható: ")) << e.what();
    }
}

TEST(SpreadsheetPathTest, NamesTheFileAfterTheTableAndTheMoment) {
    EXPECT_EQ(spreadsheetPath("/tmp/x", "PartnerTable", QDateTime(QDate(2008, 3, 15), QTime(10, 15, 0))),
              "/tmp/x/PartnerTable_20080315_101500.xlsx");
}

}  // namespace
}  // namespace kavina::shell
