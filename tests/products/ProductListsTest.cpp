#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>

#include "ProductFolder.h"
#include "foundation/FieldFilter.h"
#include "products/lists/PriceList.h"
#include "products/lists/ProductCsv.h"
#include "products/lists/ProductHistory.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;
namespace H = fields::Szamla;
namespace L = fields::Szamla2;

class ProductListsTest : public ProductFolder {
protected:
    void setPrices(const QString& name, double ar1, double bar1, double fixar, double bfixar, bool listed = true) {
        select(name);
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setFloat(A::AR1, ar1);
        p.setFloat(A::bar1, bar1);
        p.setFloat(A::FIXAR, fixar);
        p.setFloat(A::bfixar, bfixar);
        p.setLogical(A::LISTA, listed);
        p.post();
    }
    void addDocument(const QString& number, const QString& type, const QString& partner, double code, double quantity) {
        TableHandle& h = data.SzamlaTable();
        h.append();
        h.setString(H::SZAMLASZAM, number);
        h.setString(H::SZAMLATIP, type);
        h.setString(H::NEV, partner);
        h.setString(H::TELJESCIM, QStringLiteral("1111 Budapest, Fő utca 1."));
        h.setDate(H::KIALLIT, QDate(2008, 3, 15));
        h.setString(H::UGYINTEZO, QStringLiteral("Kovács Anna"));
        h.post();
        TableHandle& l = data.Szamla2Table();
        l.append();
        l.setString(L::SZAMLASZAM, number);
        l.setFloat(L::ANYAGSZAM, code);
        l.setFloat(L::MENNYISEG, quantity);
        l.setString(L::EGYSEG, QStringLiteral("db"));
        l.post();
    }
};

TEST_F(ProductListsTest, CsvQuotesOnlyWhereItMustAndKeepsHungarianLettersInTheCodePage) {
    addRow(1, QStringLiteral("Árvíztűrő tükörfúrógép"), 2.5, QStringLiteral("Gépek"));
    addRow(2, QStringLiteral("A;B"), 1, QStringLiteral("Idéző \"jel\""));
    addRow(3, QStringLiteral("Két\nsor"), 0);
    setPrices(QStringLiteral("Árvíztűrő tükörfúrógép"), 1000.5, 1270.64, 2000, 2540);
    TableHandle& p = data.AnyagTable();
    select(QStringLiteral("A;B"));
    const QByteArray bytes = productCsv(p);
    EXPECT_EQ(currentName(), QStringLiteral("A;B")) << "the cursor returns to its record";
    const QString text = QStringDecoder("windows-1250").decode(bytes);
    EXPECT_EQ(QStringDecoder("windows-1250").decode(bytes.left(11)), QStringLiteral("MEGNEVEZÉS;"));
    EXPECT_EQ(bytes.at(8), char(0xC9)) << "É in Windows-1250";
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);  // header, three products, the empty rest after the last CR LF
    EXPECT_EQ(lines[0], kCsvHeader);
    // In the list's order, by name.
    EXPECT_EQ(lines[2], QStringLiteral("Árvíztűrő tükörfúrógép;Gépek;C-1;;2,5;db;;;1000,5;;;2000;27"));
    EXPECT_EQ(lines[1], QStringLiteral("\"A;B\";\"Idéző \"\"jel\"\"\";C-2;;1;db;;;;;;;27"));
    EXPECT_EQ(lines[3], QStringLiteral("\"Két\nsor\";Szerszám;C-3;;0;db;;;;;;;27"));
    EXPECT_TRUE(lines[4].isEmpty());
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\r]\n[^s]")))) << "every line ends with CR LF";
}

TEST_F(ProductListsTest, PythonsCsvReaderSeesThirteenFieldsAndTheLettersIntact) {
    addRow(1, QStringLiteral("A;B"), 1, QStringLiteral("Őszibarack"));
    const QString path = QString::fromStdString(dir.file("termekek"));
    prompt.answerFile(path);
    ASSERT_TRUE(exportProductCsv(data.AnyagTable(), prompt));
    ASSERT_TRUE(QFile::exists(path + ".csv")) << "the extension is added";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv,sys\n"
                                 "rows=list(csv.reader(open(sys.argv[1],encoding='cp1250',newline=''),delimiter=';'))\n"
                                 "print('|'.join(str(len(r)) for r in rows)); print(rows[1][0]+'/'+rows[1][1])"),
                  path + ".csv"});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()), QStringLiteral("13|13\nA;B/Őszibarack\n"))
        << python.readAllStandardError().toStdString();
    EXPECT_EQ(prompt.transcript(),
              QStringList{"file|none|Exportálás csv fájlba|Csv fájl (pontosvesszővel tagolt) (*.csv)"});
}

TEST_F(ProductListsTest, AnUnwritableCsvIsToldAndCancellingWritesNothing) {
    addRow(1, QStringLiteral("Szeg"), 1);
    prompt.answerFile(std::nullopt);
    EXPECT_FALSE(exportProductCsv(data.AnyagTable(), prompt));
    const QString bad = QString::fromStdString(dir.file("nincs/ilyen/mappa.csv"));
    prompt.answerFile(bad);
    EXPECT_FALSE(exportProductCsv(data.AnyagTable(), prompt));
    ASSERT_EQ(prompt.entries().size(), 3u);
    EXPECT_TRUE(prompt.entries()[2].text.startsWith(QStringLiteral("A fájl nem írható: ") + bad));
    EXPECT_FALSE(QFile::exists(bad));
}

TEST_F(ProductListsTest, TheHistoryListsMovingDocumentsOnlyInHeaderOrder) {
    addRow(7, QStringLiteral("Szeg"), 1);
    addRow(8, QStringLiteral("Más"), 1);
    const QStringList types{"B", "F", "1", "3", "4", "5", "A", "P", "M", "J", "S"};
    for (int i = 0; i < types.size(); ++i)
        addDocument(QStringLiteral("D%1").arg(i), types[i], QStringLiteral("Partner %1").arg(i), 7, i + 1);
    addDocument(QStringLiteral("X"), QStringLiteral("B"), QStringLiteral("Másé"), 8, 9);
    const std::vector<HistoryRow> rows = productHistory(data, 7);
    QStringList seen;
    for (const HistoryRow& r : rows) seen << r.document + ":" + QString::number(r.quantity) + (r.received ? "+" : "");
    EXPECT_EQ(seen, (QStringList{"D0:1", "D1:2", "D2:3", "D3:4+", "D4:5", "D5:6"}));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].partner, QStringLiteral("Partner 0"));
    EXPECT_EQ(rows[0].address, QStringLiteral("1111 Budapest, Fő utca 1."));
    EXPECT_EQ(rows[0].issued, QDate(2008, 3, 15));
    EXPECT_EQ(rows[0].unit, QStringLiteral("db"));
    EXPECT_EQ(rows[0].clerk, QStringLiteral("Kovács Anna"));
    EXPECT_TRUE(productHistory(data, 9).empty());
}

TEST_F(ProductListsTest, ThePriceListShowsListedGoodsByNameWithTheChosenGroupsPrices) {
    addRow(1, QStringLiteral("Zsák"), 1, QStringLiteral("Kert"));
    addRow(2, QStringLiteral("Alma"), 1, QStringLiteral("Kert"));
    addRow(3, QStringLiteral("Csavar"), 1, QStringLiteral("Vasáru"));
    addRow(4, QStringLiteral("Dinnye"), 1, QStringLiteral("Kert"));
    addRow(5, QStringLiteral("Munkadíj"), 0, QStringLiteral("Munka"), QString(), true);
    addRow(6, QStringLiteral("Kidobott"), 1, QStringLiteral("Lomtár"));
    addRow(7, QStringLiteral("Nem listás"), 1, QStringLiteral("Kert"));
    for (const char* n : {"Zsák", "Alma", "Csavar", "Dinnye", "Munkadíj", "Kidobott"})
        setPrices(QString::fromUtf8(n), 1000, 1270, 1234.5, 1567.82);
    setPrices(QStringLiteral("Nem listás"), 1, 1, 1, 1, false);
    select(QStringLiteral("Nem listás"));
    openPriceList(data);
    EXPECT_EQ(listed(), (QStringList{"Alma", "Csavar", "Dinnye", "Zsák"}));
    const report::PreparedReport fixed =
        priceListLayout(data.AnyagTable(), PriceListGroup::Fixed, companyHeader(data), {QString(), "Kovács Anna"})
            ->prepare();
    QStringList groups;
    for (const report::PlacedBand* b : fixed.bands(0, "GroupHeader"))
        groups << fixed.text(fixed.page(0), *b, "category");
    EXPECT_EQ(groups, (QStringList{"Kert", "Vasáru", "Kert"})) << "a heading wherever the category changes";
    const auto rows = fixed.bands(0, "Detail");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(fixed.text(fixed.page(0), *rows[0], "net"), QStringLiteral("1 234,50"));
    EXPECT_EQ(fixed.text(fixed.page(0), *rows[0], "gross"), QStringLiteral("1 567,82"));
    EXPECT_TRUE(fixed.texts(0, "PageHeader").contains(QStringLiteral(" Árlista ")));
    const report::PreparedReport first =
        priceListLayout(data.AnyagTable(), PriceListGroup::Level1, {}, {QString(), "Kovács Anna"})->prepare();
    EXPECT_EQ(first.text(first.page(0), *first.bands(0, "Detail")[0], "gross"), QStringLiteral("1 270,00"));
    select(QStringLiteral("Dinnye"));
    closePriceList(data);
    EXPECT_FALSE(data.AnyagTable().filtered());
    EXPECT_EQ(data.AnyagTable().order(), "MEGNEVEZES");
    EXPECT_EQ(currentName(), QStringLiteral("Dinnye"));
    EXPECT_EQ(priceListMoney(-5), QStringLiteral("-5,00"));
}

}  // namespace
}  // namespace kavina::products
