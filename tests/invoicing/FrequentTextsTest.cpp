// The frequently used texts: a missing file is an empty box, older files in the Windows code
// page read as such, and a changed box is written only when the clerk agrees.

#include "invoicing/editor/FrequentTexts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"

namespace kavina::invoicing {
namespace {

TEST(FrequentTextsTest, ChangedTextsAreWrittenOnlyOnYesAndReadBackInEitherCodePage) {
    testing_support::TestFolder dir;
    const QString folder = QString::fromStdString(dir.path());
    ScriptedPrompt prompt;
    EXPECT_EQ(loadFrequentTexts(folder), QString());
    leaveFrequentTexts(folder, {}, {}, prompt);  // unchanged: no question
    EXPECT_TRUE(prompt.entries().empty());
    prompt.answerYesNo(false);
    leaveFrequentTexts(folder, {}, QStringLiteral("Köszönjük a vásárlást!"), prompt);
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(kFrequentTextsFile)));
    prompt.answerYesNo(true);
    leaveFrequentTexts(folder, {}, QStringLiteral("Köszönjük a vásárlást!\nGarancia: 1 év"), prompt);
    EXPECT_EQ(loadFrequentTexts(folder), QStringLiteral("Köszönjük a vásárlást!\nGarancia: 1 év"));
    EXPECT_EQ(prompt.entries().back().caption, QStringLiteral("Figyelem!"));
    EXPECT_EQ(prompt.entries().back().text, QStringLiteral("A Tartalom megváltozott! Szeretné menteni?"));
    QFile old(QDir(folder).filePath(kFrequentTextsFile));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    QStringEncoder windows("windows-1250");
    old.write(windows.encode(QStringLiteral("Árvíztűrő tükörfúrógép")));
    old.close();
    EXPECT_EQ(loadFrequentTexts(folder), QStringLiteral("Árvíztűrő tükörfúrógép"));
    EXPECT_TRUE(prompt.failures().isEmpty());
}

}  // namespace
}  // namespace kavina::invoicing
