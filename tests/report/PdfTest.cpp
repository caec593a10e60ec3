// The PDF writer and the export of prepared pages: page order and size checked with the
// poppler tools, and that a failure leaves neither the target nor a temporary file.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <filesystem>

#include "ReportFixture.h"
#include "dbase/TestFolder.h"
#include "pdf/JpegEncoder.h"
#include "pdf/PdfError.h"
#include "pdf/PdfWriter.h"
#include "report/Layout.h"
#include "report/PdfExport.h"

namespace kavina::report {
namespace {

using testing_report::popplerAvailable;
using testing_report::runTool;
using testing_support::TestFolder;

std::vector<uint8_t> solidJpeg(const QColor& colour, int width = 40, int height = 30) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    return pdf::encodeJpeg({image.constBits(), width, height, int(image.bytesPerLine())}, 90);
}

std::vector<std::string> filesIn(const TestFolder& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().filename());
    return names;
}

// "Page    2" lines of pdfimages -list: the page of each picture, in file order.
QStringList imagePages(const QString& listing) {
    QStringList pages;
    for (const QString& line : listing.split('\n').mid(2)) {
        const QStringList cols = line.simplified().split(' ');
        if (cols.size() > 4) pages << cols[0] + ":" + cols[3] + "x" + cols[4];
    }
    return pages;
}

QColor centreColour(const QString& pdf, int page, const TestFolder& dir) {
    const QString prefix = QString::fromStdString(dir.file("page"));
    runTool("pdftoppm", {"-r", "10", "-f", QString::number(page), "-l", QString::number(page), "-png", pdf, prefix});
    QImage image;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().extension() == ".png") image.load(QString::fromStdString(entry.path()));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().extension() == ".png") std::filesystem::remove(entry.path());
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

TEST(PdfWriterTest, PagesComeInOrderEachOnePictureOfThePageSize) {
    if (!popplerAvailable()) GTEST_SKIP() << "poppler-utils are not installed";
    TestFolder dir;
    const std::string target = dir.file("szamla.pdf");
    {
        pdf::PdfWriter writer(target);
        writer.addJpegPage(40, 30, solidJpeg(Qt::red));
        writer.addJpegPage(40, 30, solidJpeg(Qt::green));
        writer.addJpegPage(40, 30, solidJpeg(Qt::blue));
        EXPECT_FALSE(std::filesystem::exists(target)) << "nothing under the name before the end";
        writer.finish();
    }
    const QString file = QString::fromStdString(target);
    const QString info = runTool("pdfinfo", {file});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+40 x 30 pts"))) << info.toStdString();
    EXPECT_EQ(imagePages(runTool("pdfimages", {"-list", file})), (QStringList{"1:40x30", "2:40x30", "3:40x30"}));
    EXPECT_GT(centreColour(file, 2, dir).green(), 200);
    EXPECT_LT(centreColour(file, 2, dir).red(), 60);
    EXPECT_GT(centreColour(file, 3, dir).blue(), 200);
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"szamla.pdf"});
}

// A writer given up on, or failing on a bad page, removes its temporary file and leaves an
// existing target as it was.
TEST(PdfWriterTest, AFailureLeavesTheTargetAsItWasAndNoTemporaryFile) {
    TestFolder dir;
    dir.write("regi.pdf", "old");
    const std::string target = dir.file("regi.pdf");
    {
        pdf::PdfWriter writer(target);
        writer.addJpegPage(40, 30, solidJpeg(Qt::red));
        EXPECT_THROW(writer.addJpegPage(40, 30, {0x00, 0x01, 0x02}), pdf::PdfError);
        EXPECT_THROW(writer.addJpegPage(20000, 30, solidJpeg(Qt::red)), pdf::PdfError);
    }
    EXPECT_EQ(dir.read("regi.pdf"), "old");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"regi.pdf"});
    EXPECT_THROW(pdf::PdfWriter(dir.file("nincs/ilyen.pdf")), pdf::PdfError);
    {
        pdf::PdfWriter empty(dir.file("ures.pdf"));
        EXPECT_THROW(empty.finish(), pdf::PdfError);
    }
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"regi.pdf"});
}

TEST(PdfWriterTest, JpegEncoderRejectsAnEmptyPictureAndABadQuality) {
    QImage image(8, 8, QImage::Format_RGB888);
    image.fill(Qt::white);
    EXPECT_THROW(pdf::encodeJpeg({nullptr, 8, 8, 24}, 80), pdf::PdfError);
    EXPECT_THROW(pdf::encodeJpeg({image.constBits(), 8, 8, int(image.bytesPerLine())}, 0), pdf::PdfError);
    const std::vector<uint8_t> jpeg = pdf::encodeJpeg({image.constBits(), 8, 8, int(image.bytesPerLine())}, 80);
    QImage back;
    ASSERT_TRUE(back.loadFromData(jpeg.data(), int(jpeg.size()), "JPG"));
    EXPECT_EQ(back.size(), QSize(8, 8));
}

class PdfExportTest : public ::testing::Test {
protected:
    Layout layout;

    PreparedReport threePages() { return testing_report::numberedPages(layout, 3); }
};

// The MediaBox entries of a written file, in file order: "0 0 595 842".
QStringList mediaBoxes(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromLatin1(in.readAll());
    QStringList boxes;
    const QRegularExpression box("/MediaBox\\s*\\[\\s*([^\\]]*?)\\s*\\]");
    for (auto it = box.globalMatch(text); it.hasNext();) boxes << it.next().captured(1).simplified();
    return boxes;
}

TEST_F(PdfExportTest, PagesHaveThePapersSizeWithThePictureAtFullResolution) {
    TestFolder dir;
    const QString file = QString::fromStdString(dir.file("a4.pdf"));
    exportPdf(threePages(), file);
    EXPECT_EQ(mediaBoxes(file), QStringList(3, "0 0 595 842"));

    Layout landscape;
    landscape.pageSetup().orientation = QPageLayout::Landscape;
    const QString turned = QString::fromStdString(dir.file("fekvo.pdf"));
    exportPdf(testing_report::numberedPages(landscape, 1), turned);
    EXPECT_EQ(mediaBoxes(turned), QStringList({"0 0 842 595"}));
}

TEST(PdfWriterTest, APictureIsScaledOntoItsPage) {
    TestFolder dir;
    const std::string target = dir.file("lap.pdf");
    {
        pdf::PdfWriter writer(target);
        writer.addJpegPage(pdf::PageImage{80, 60, 40, 30}, solidJpeg(Qt::red, 80, 60));
        EXPECT_THROW(writer.addJpegPage(pdf::PageImage{80, 60, 0, 30}, solidJpeg(Qt::red, 80, 60)), pdf::PdfError);
        writer.finish();
    }
    const QString file = QString::fromStdString(target);
    EXPECT_EQ(mediaBoxes(file), QStringList({"0 0 40 30"}));
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    EXPECT_TRUE(bytes.contains("/Width 80 /Height 60"));
    EXPECT_TRUE(bytes.contains("q 40 0 0 30 0 0 cm /Im1 Do Q"));
}

TEST_F(PdfExportTest, ThreePagesGiveThreePicturePagesInOrderAtTwiceThePictureSize) {
    if (!popplerAvailable()) GTEST_SKIP() << "poppler-utils are not installed";
    TestFolder dir;
    const PreparedReport report = threePages();
    ASSERT_EQ(report.pageCount(), 3);
    std::vector<int> progress;
    PdfExportOptions options;
    options.progress = [&](int done, int total) {
        EXPECT_EQ(total, 3);
        progress.push_back(done);
    };
    const QString file = QString::fromStdString(dir.file("export.pdf"));
    exportPdf(report, file, options);

    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(exportPictureSize(report.setup()), QSize(1588, 2246));
    const QString info = runTool("pdfinfo", {file});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595 x 842 pts \\(A4\\)"))) << info.toStdString();
    EXPECT_EQ(imagePages(runTool("pdfimages", {"-list", file})),
              (QStringList{"1:1588x2246", "2:1588x2246", "3:1588x2246"}));
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"export.pdf"});
}

TEST_F(PdfExportTest, AnExportThatFailsHalfwayLeavesNoFile) {
    TestFolder dir;
    const PreparedReport report = threePages();
    PdfExportOptions options;
    options.progress = [](int done, int) {
        if (done == 2) throw pdf::PdfError("lemez megtelt");
    };
    EXPECT_THROW(exportPdf(report, QString::fromStdString(dir.file("export.pdf")), options), pdf::PdfError);
    EXPECT_TRUE(filesIn(dir).empty());
}

}  // namespace
}  // namespace kavina::report
