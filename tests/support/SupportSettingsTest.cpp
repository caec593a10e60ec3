#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "dbase/TestFolder.h"
#include "support/errorreport/SupportSettings.h"
#include "support/errorreport/Workstation.h"

namespace kavina::support {
namespace {

IniFile iniWith(const testing_support::TestFolder& dir, const QByteArray& text) {
    const QString path = QDir(QString::fromStdString(dir.path())).filePath("kavinaextra.ini");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    return IniFile(path);
}

TEST(SupportSettingsTest, DeploymentKeysOfTheIniFileWithHttpsForABareHost) {
    testing_support::TestFolder dir;
    const SupportSettings s = loadSupportSettings(
        iniWith(dir,
                "[adatok]\nsmtpserver=mail.example\nsmtpport=2525\nsmtppassword=titok12\n"
                "supportmail=help@example\nupdateserver=www.example/\nnettimeout=12\ncafile=/etc/kavina/ca.pem\n"));
    EXPECT_EQ(s.smtp.host, "mail.example");
    EXPECT_EQ(s.smtp.port, 2525);
    EXPECT_EQ(s.smtp.user, "help@example");
    EXPECT_EQ(s.smtp.password, "titok12");
    EXPECT_EQ(s.smtp.timeoutSeconds, 12);
    EXPECT_EQ(s.mailbox, "help@example");
    EXPECT_EQ(s.updateServer, "https://www.example");
    EXPECT_EQ(s.caFile, "/etc/kavina/ca.pem");
    EXPECT_EQ(s.smtp.caFile, "/etc/kavina/ca.pem");
    // Plain HTTP only when written so; nothing configured means no server at all.
    EXPECT_EQ(loadSupportSettings(iniWith(dir, "[adatok]\nupdateserver=http://www.example\n")).updateServer,
              "http://www.example");
    const SupportSettings empty = loadSupportSettings(iniWith(dir, ""));
    EXPECT_TRUE(empty.smtp.host.isEmpty());
    EXPECT_TRUE(empty.smtp.password.isEmpty());
    EXPECT_TRUE(empty.updateServer.isEmpty());
    EXPECT_EQ(empty.smtp.port, 26);
    EXPECT_EQ(empty.timeoutSeconds, 30);
}

TEST(WorkstationTest, BlockHasThreeGroupsEscapedWithGroupedMegabytes) {
    WorkstationFacts f;
    f.userName = "anna<x>";
    f.computerName = "pc";
    f.osText = "Debian 12\nLinux 6.1";
    f.processorCount = "4";
    f.architecture = "x86_64";
    f.processorName = "CPU & co";
    f.processorLevel = "6";
    f.processorRevision = "3";
    f.programDrive = "/";
    f.freeBytes = 1234567LL * 1048576 + 1048575;
    f.temp = "/tmp";
    EXPECT_EQ(workstationBlock(f),
              "USERNAME:anna&lt;x&gt;<br>COMPUTERNAME:pc<br>LOGONSERVER:<br><br>"
              "OS:Debian 12<br>Linux 6.1<br>PROCESSOR:4x86_64, CPU &amp; co, 6, 3<br><br>"
              "WINDIR:<br>SYSTEMDRIVE:<br>PROGRAMDRIVE:/<br>DISKFREE:1 234 567 MB<br>"
              "TEMP:/tmp<br>TMP:");
    f.freeBytes.reset();
    EXPECT_TRUE(workstationBlock(f).contains("<br>DISKFREE:<br>"));
}

}  // namespace
}  // namespace kavina::support
