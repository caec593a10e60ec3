// The barcode book printed on the built-in PDF printer, the page rendered as a scanner's
// camera would see it, and every symbol read back with zbarimg: the bars the program draws
// are EAN-13 symbols of exactly the label's digits.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "foundation/PrinterList.h"
#include "products/ProductFolder.h"
#include "products/barcodes/BarcodeLabels.h"
#include "report/view/ReportPrinter.h"

namespace kavina::products {
namespace {

namespace B = fields::Vonalkod;

QString run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

class BarcodePrintTest : public ProductFolder {};

TEST_F(BarcodePrintTest, ThePrintedSymbolsScanBackToTheirDigits) {
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_FAIL() << "zbarimg (zbar-tools) and pdftoppm (poppler-utils) are needed: scripts/setup.sh";
    TableHandle& labels = data.vonalkodTable();
    const QStringList stored{"5901234123457", "400638133393", "5999999999998", "5901234123458"};
    for (const QString& code : stored) {
        labels.append();
        labels.setString(B::megnevezes, QStringLiteral("Árvíztűrő ") + code);
        labels.setString(B::me, QStringLiteral("db"));
        labels.setString(B::vonalkod, code);
        labels.post();
    }
    BarcodeSheet sheet = barcodeSheet(labels);
    const report::PreparedReport pages = sheet.layout->prepare();
    const QString folder = QString::fromStdString(dir.file("nyomtatas"));
    report::ReportPrinter printer({kPdfPrinterName, folder, QStringLiteral("vonalkodok")});
    const QStringList files = printer.print(pages);
    ASSERT_EQ(files.size(), 1);
    const QString png = QDir(folder).filePath(QStringLiteral("lap"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                     QStringLiteral("-singlefile"), files[0], png});
    const QString scanned = run(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"),
                                                            QStringLiteral("-Sean13.enable"), png + ".png"});
    if (const char* folder = std::getenv("KAVINA_SCREENSHOTS"))
        QFile::copy(png + ".png", QString::fromLocal8Bit(folder) + QStringLiteral("/barcode-page-scanned.png"));
    QStringList found = scanned.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    found.sort();
    // The 12 digits got their check digit; the wrong check digit printed no symbol at all.
    EXPECT_EQ(found, (QStringList{"4006381333931", "5901234123457", "5999999999998"})) << scanned.toStdString();
}

}  // namespace
}  // namespace kavina::products
