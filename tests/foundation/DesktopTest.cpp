#include "foundation/Desktop.h"

#include <gtest/gtest.h>
#include <QDir>

#include "QtPrinters.h"

namespace kavina {
namespace {

struct Recorder {
    QStringList started;  // program|argument|folder
    QList<QUrl> urls;
    bool startWorks = true;

    SystemDesktop desktop() {
        return SystemDesktop(
            QStringLiteral("opener"),
            [this](const QString& program, const QStringList& arguments, const QString& folder) {
                started << program + QLatin1Char('|') + arguments.join(QLatin1Char(',')) + QLatin1Char('|') + folder;
                return startWorks;
            },
            [this](const QUrl& url) {
                urls << url;
                return true;
            });
    }
};

TEST(DesktopTest, FileStartsInItsOwnFolder) {
    Recorder recorder;
    SystemDesktop desktop = recorder.desktop();
    EXPECT_TRUE(desktop.openFile(QStringLiteral("/tmp/lista/árlista.csv")));
    EXPECT_EQ(recorder.started, QStringList{QStringLiteral("opener|/tmp/lista/árlista.csv|/tmp/lista")});
    EXPECT_TRUE(recorder.urls.isEmpty());
}

TEST(DesktopTest, RelativeFileIsMadeAbsolute) {
    const OpenRequest request = resolveOpenRequest(QStringLiteral("err080315.htm"));
    EXPECT_EQ(request.kind, OpenRequest::Kind::File);
    EXPECT_EQ(request.filePath, QDir::current().absoluteFilePath(QStringLiteral("err080315.htm")));
    EXPECT_EQ(request.workingFolder, QDir::currentPath());
}

TEST(DesktopTest, AddressesGoToTheUrlHandler) {
    Recorder recorder;
    SystemDesktop desktop = recorder.desktop();
    desktop.openFile(QStringLiteral("https://example.com/kavina"));
    desktop.openFile(QStringLiteral("www.example.com"));
    desktop.openFile(QStringLiteral("mailto:info@example.com"));
    ASSERT_EQ(recorder.urls.size(), 3);
    EXPECT_EQ(recorder.urls[0], QUrl(QStringLiteral("https://example.com/kavina")));
    EXPECT_EQ(recorder.urls[1].host(), QStringLiteral("www.example.com"));
    EXPECT_EQ(recorder.urls[2].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(recorder.started.isEmpty());
}

TEST(DesktopTest, FailedOpenerFallsBackAndEmptyPathOpensNothing) {
    Recorder recorder;
    recorder.startWorks = false;
    SystemDesktop desktop = recorder.desktop();
    EXPECT_TRUE(desktop.openFile(QStringLiteral("/tmp/a.pdf")));
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls[0], QUrl::fromLocalFile(QStringLiteral("/tmp/a.pdf")));
    EXPECT_FALSE(desktop.openFile(QStringLiteral("  ")));
    EXPECT_EQ(recorder.started.size(), 1);
}

}  // namespace
}  // namespace kavina
