#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QStringDecoder>
#include <stdexcept>

#include "common/OpenDataFolder.h"
#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/ConversionError.h"
#include "support/errorreport/ErrorReportHandler.h"
#include "support/errorreport/ErrorReportList.h"

namespace kavina::support {
namespace {

class RecordingEnvironment : public ErrorEnvironment {
public:
    QDateTime moment{QDate(2007, 3, 14), QTime(15, 30, 5)};
    std::vector<ErrorWindowContent> shown;

    QDateTime now() const override { return moment; }
    ErrorDetails windowDetails() const override {
        ErrorDetails d;
        d.sender = QStringLiteral("QPushButton:QAbstractButton (okButton)");
        d.activeWindow = QStringLiteral("TForm1:TForm1 (Kavina <teszt>)");
        d.activeObject = QStringLiteral("okButton:QPushButton");
        d.openWindows = {QStringLiteral("TForm1:TForm1 (Kavina <teszt>)")};
        return d;
    }
    QImage captureScreen() const override {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        return image;
    }
    void showErrorWindow(const ErrorWindowContent& content) override { shown.push_back(content); }
};

// The file's lines as the review list reads them: Windows-1250, CR LF.
QStringList fileLines(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QString text = QStringDecoder("windows-1250").decode(file.readAll());
    return text.split(QStringLiteral("\r\n"));
}

std::exception_ptr errorWith(const std::string& message) {
    return std::make_exception_ptr(std::runtime_error(message));
}

class ErrorReportTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    RecordingEnvironment environment;
    QString folder() const { return QString::fromStdString(dir.path()); }
    ErrorReportHandler handler() {
        return ErrorReportHandler({.programFolder = folder(),
                                   .executablePath = folder() + "/kavina",
                                   .buildDate = [] { return QStringLiteral("2007.03.01"); },
                                   .data = [] { return static_cast<TDataModule1*>(nullptr); }},
                                  environment);
    }
    QString reportPath() const { return QDir(folder()).filePath(QStringLiteral("err070314153005.htm")); }
};

TEST(ErrorTextTest, PeriodFollowsOnlyAMessageEndingAfterThePeriodCharacter) {
    EXPECT_EQ(composeErrorText("E", "kavina", 0x1234abcd, "Hiba"),
              "Exception E in module kavina at 1234ABCD.\r\nHiba.\r\n");
    EXPECT_EQ(composeErrorText("E", "m", 0, "Hiba."), "Exception E in module m at 00000000.\r\nHiba.\r\n");
    EXPECT_EQ(composeErrorText("E", "m", 0, "Hiba,"), "Exception E in module m at 00000000.\r\nHiba,\r\n");
    EXPECT_EQ(composeErrorText("E", "m", 0, "(x)"), "Exception E in module m at 00000000.\r\n(x)\r\n");
    EXPECT_EQ(composeErrorText("E", "m", 0, ""), "Exception E in module m at 00000000.\r\n\r\n");
}

TEST_F(ErrorReportTest, ReportAndScreenshotAreNamedByTheMomentAndTheWindowSaysWhere) {
    handler().report(errorWith("A tábla nem nyitható meg"));
    const QString shot = QDir(folder()).filePath(QStringLiteral("err070314153005.jpg"));
    ASSERT_TRUE(QFile::exists(reportPath()));
    QImageReader reader(shot);
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(64, 48));
    ASSERT_EQ(environment.shown.size(), 1u);
    const ErrorWindowContent& window = environment.shown[0];
    EXPECT_EQ(window.reportPath, reportPath());
    EXPECT_EQ(window.screenshotPath, shot);
    ASSERT_EQ(window.lines.size(), 4);
    EXPECT_EQ(window.lines[0], "A program használata során hiba történt!");
    EXPECT_EQ(window.lines[1],
              "A rendszer hibaüzenete: Exception std::runtime_error in module kavina at "
              "00000000.\r\nA tábla nem nyitható meg.\r\n");
    EXPECT_EQ(window.lines[2], "A hibajelentés a " + QDir::toNativeSeparators(reportPath()) + " fájlba lett elmentve!");
    EXPECT_EQ(window.lines[3],
              "Ha szeretné a hibajelentést email-ben továbbítani felénk, kérjük kattintson a \"hibajelentés\" gombra.");
}

TEST_F(ErrorReportTest, HeadIsFixedLineByLineAndEveryInsertedTextIsEscaped) {
    handler().report(errorWith("a<b&c <script>alert(1)</script>"));
    const QStringList lines = fileLines(reportPath());
    ASSERT_GT(lines.size(), 60);
    EXPECT_EQ(lines[0], "<html>");
    EXPECT_EQ(lines[2], "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">");
    EXPECT_EQ(lines[3], " <title>Hibajelentés</title>");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "<body style=\"font-family: arial, verdana; font-size: 10pt;\">");
    EXPECT_EQ(lines[11], "\t\t<p align=\"center\"><b><font size=\"4\">Hibajelentés</font></b></td>");
    EXPECT_EQ(lines[14], "\t\t<td nowrap>Alkalmazás:</td>");
    EXPECT_EQ(lines[15], "\t\t<td> <b>" + folder() + "/kavina</b></td>");
    EXPECT_EQ(lines[19], "\t\t<td> <b>1.0.2007.03.01</b></td>");
    EXPECT_EQ(lines[23], "\t\t<td> <b>2007.03.14 15:30:05</b></td>");
    EXPECT_EQ(lines[26], "\t\t<td nowrap>&nbsp;</td>");
    EXPECT_EQ(lines[29], "");
    EXPECT_EQ(lines[31], "\t\t<td nowrap>Hibaüzenet:</td>");
    EXPECT_EQ(lines[32], "\t\t<td><font color=\"#FF0000\">Exception std::runtime_error in module kavina at 00000000.");
    EXPECT_EQ(lines[33], "a&lt;b&amp;c &lt;script&gt;alert(1)&lt;/script&gt;.");
    EXPECT_EQ(lines[34], "[a&lt;b&amp;c &lt;script&gt;alert(1)&lt;/script&gt;]</font></td>");
    EXPECT_EQ(lines[35], "\t</tr>");
    const QString whole = lines.join('\n');
    EXPECT_FALSE(whole.contains("<script>"));
    EXPECT_TRUE(whole.contains("<td>TForm1:TForm1 (Kavina &lt;teszt&gt;)</td>"));
    EXPECT_TRUE(whole.contains("\t\t<td>TForm1:TForm1 (Kavina &lt;teszt&gt;)<br>\n<br></td></tr>"));
    EXPECT_TRUE(whole.contains("USERNAME:"));
    EXPECT_TRUE(whole.contains("<img src=\"err070314153005.jpg\">"));
    EXPECT_EQ(lines.last(), "");  // the last line ends in CR LF as well
    EXPECT_EQ(lines[lines.size() - 2], "</html>");
}

TEST_F(ErrorReportTest, SecondErrorOfTheSameSecondIsAppendedAfterTheFirst) {
    handler().report(errorWith("első"));
    handler().report(errorWith("második"));
    const QStringList lines = fileLines(reportPath());
    EXPECT_EQ(lines.count("<html>"), 2);
    EXPECT_EQ(lines[33], "első.");
    const qsizetype second = lines.indexOf("<html>", 1);
    EXPECT_EQ(lines[second + 33], "második.");
    EXPECT_EQ(environment.shown.size(), 2u);
}

TEST_F(ErrorReportTest, ConversionErrorWritesNothingAndShowsNothing) {
    handler().report(std::make_exception_ptr(ConversionError("'abc' is not a valid integer value")));
    EXPECT_TRUE(QDir(folder()).entryList({"err*"}).isEmpty());
    EXPECT_TRUE(environment.shown.empty());
}

TEST_F(ErrorReportTest, ErrorLogAndSettingsFileAreCarriedAndTheLogIsDeleted) {
    QFile log(QDir(folder()).filePath("error.log"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("régi hiba <1>\r\nmásodik sor\r\n");
    log.close();
    QFile ini(QDir(folder()).filePath("kavinaextra.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[adatok]\nadatkonyvtar=/adat & co\nSmtpPassword = Tit0k!7\n");
    ini.close();
    handler().report(errorWith("x"));
    const QString whole = fileLines(reportPath()).join('\n');
    EXPECT_TRUE(whole.contains("error.log fájl:"));
    EXPECT_TRUE(whole.contains("\t\t<td>régi hiba &lt;1&gt;<br>\nmásodik sor<br>\n<br></td></tr>"));
    EXPECT_TRUE(whole.contains("[adatok]<br>\nadatkonyvtar=/adat &amp; co<br>\nSmtpPassword =*****<br>"));
    EXPECT_FALSE(whole.contains("Tit0k"));
    EXPECT_FALSE(QFile::exists(log.fileName()));
    // The next report has no error.log section.
    environment.moment = environment.moment.addSecs(1);
    handler().report(errorWith("y"));
    EXPECT_FALSE(fileLines(QDir(folder()).filePath("err070314153006.htm")).join('\n').contains("error.log fájl:"));
}

TEST_F(ErrorReportTest, WindowIsShownAndSaysSoWhenTheReportCannotBeWritten) {
    const QString missing = folder() + "/nincs/ilyen";
    ErrorReportHandler h({.programFolder = missing, .executablePath = missing + "/kavina"}, environment);
    h.report(errorWith("x"));
    ASSERT_EQ(environment.shown.size(), 1u);
    EXPECT_TRUE(environment.shown[0].reportPath.isEmpty());
    EXPECT_TRUE(environment.shown[0].screenshotPath.isEmpty());
    EXPECT_EQ(environment.shown[0].lines.last(), "A hibajelentést nem sikerült a " +
                                                     QDir::toNativeSeparators(missing + "/err070314153005.htm") +
                                                     " fájlba menteni!");
}

TEST_F(ErrorReportTest, LettersOutsideTheCodePageBecomeCharacterReferencesAndReadBack) {
    handler().report(errorWith("Hiba € ✓ ő"));
    EXPECT_EQ(fileLines(reportPath())[33], "Hiba € &#10003; ő.");
    ScriptedPrompt prompt;
    class NoDesktop : public Desktop {
        bool openFile(const QString&) override { return true; }
    } desktop;
    ErrorReportList list(folder(), prompt, desktop);
    list.reload();
    EXPECT_EQ(list.rows().asString(hibajelFields::text), "Hiba € ? ő.");  // a record set keeps Windows-1250
}

class ErrorReportDataTest : public OpenDataFolder {};

TEST_F(ErrorReportDataTest, TableInEditShowsItsStateAndTheEditedValues) {
    namespace P = fields::Partner;
    TableHandle& partners = data.PartnerTable();
    partners.append();
    partners.setString(P::NEV, QStringLiteral("Kovács <és> Tsa"));
    partners.post();
    partners.edit();
    partners.setString(P::NEV, QStringLiteral("Szerkesztett Bt."));
    RecordingEnvironment environment;
    testing_support::TestFolder programFolder;
    const QString folder = QString::fromStdString(programFolder.path());
    ErrorReportHandler(
        {.programFolder = folder, .executablePath = folder + "/kavina", .data = [this] { return &data; }}, environment)
        .report(errorWith("x"));
    const QString whole = fileLines(folder + "/err070314153005.htm").join('\n');
    const qsizetype at = whole.indexOf("<b>Partner.DBF</b>");
    ASSERT_GE(at, 0);
    const QString block = whole.mid(at, whole.indexOf("</table>", at) - at);
    EXPECT_TRUE(block.contains(".active=Igen"));
    EXPECT_TRUE(block.contains(".statusz= edit"));
    EXPECT_TRUE(block.contains(".recno=1"));
    EXPECT_TRUE(block.contains("<td>Szerkesztett Bt.</td>"));
    EXPECT_EQ(partners.state(), dbase::TableState::Edit);  // the report leaves the record as it was
    partners.cancel();
}

}  // namespace
}  // namespace kavina::support
