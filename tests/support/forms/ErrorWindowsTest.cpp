#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "support/errorreport/forms/Terrorform.h"
#include "support/errorreport/forms/Thibajel.h"

namespace kavina::support {
namespace {

TEST(TerrorformTest, MailButtonSendsAndClosesOnlyWhenSent) {
    int mails = 0;
    bool sent = false;
    Terrorform window({{"A program használata során hiba történt!"}, "/p/err070314153005.htm", "/p/err.jpg"},
                      {.openReport = [](const QString&) {},
                       .mailReport =
                           [&](const ErrorWindowContent& content) {
                               ++mails;
                               EXPECT_EQ(content.screenshotPath, "/p/err.jpg");
                               return sent;
                           }});
    window.show();
    EXPECT_EQ(window.windowTitle(), "Figyelem!");
    EXPECT_TRUE(window.findChild<QLabel*>("reportLinkLabel")->isVisible());
    auto* mail = window.findChild<QPushButton*>("mailButton");
    ASSERT_TRUE(mail->isEnabled());
    mail->click();
    EXPECT_EQ(mails, 1);
    EXPECT_TRUE(window.isVisible());  // not sent: the window stays for another try
    sent = true;
    mail->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST(TerrorformTest, WithoutAWrittenReportTheLinkHidesAndMailIsOff) {
    Terrorform window(
        {{"A program használata során hiba történt!"}, {}, {}},
        {.openReport = [](const QString&) {}, .mailReport = [](const ErrorWindowContent&) { return true; }});
    window.show();
    EXPECT_FALSE(window.findChild<QLabel*>("reportLinkLabel")->isVisible());
    EXPECT_FALSE(window.findChild<QPushButton*>("mailButton")->isEnabled());
}

TEST(ThibajelTest, ShowsTheReportsAndDeletesTheHighlightedOne) {
    testing_support::TestFolder dir;
    const QDir folder(QString::fromStdString(dir.path()));
    for (const char* name : {"err070314153005.htm", "err070101080000.htm"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 33; ++i) file.write("x\r\n");
        file.write(QByteArray(name) + "\r\n");
    }
    ScriptedPrompt prompt;
    class NoDesktop : public Desktop {
        bool openFile(const QString&) override { return true; }
    } desktop;
    ErrorReportList list(folder.path(), prompt, desktop);
    Thibajel window(list, prompt);
    window.show();
    auto* view = window.findChild<QTableView*>("reportTableView");
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(view->model()->headerData(2, Qt::Horizontal).toString(), "Hibaüzenet");
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), "2007.01.01");
    EXPECT_EQ(view->model()->index(0, 2).data().toString(), "err070101080000.htm");
    view->selectRow(1);
    prompt.answerYesNo(true);
    window.findChild<QPushButton*>("deleteButton")->click();
    EXPECT_FALSE(QFile::exists(folder.filePath("err070314153005.htm")));
    EXPECT_TRUE(QFile::exists(folder.filePath("err070101080000.htm")));
}

}  // namespace
}  // namespace kavina::support
