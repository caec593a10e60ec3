// Text the tables' code page cannot hold: the letters named, and a table handle that refuses
// them instead of storing "?".

#include "foundation/StorableText.h"

#include <gtest/gtest.h>

#include "dbase/TestFolder.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"

namespace kavina {
namespace {

TEST(StorableTextTest, LettersOutsideTheCodePageAreNamedOnceInOrder) {
    EXPECT_EQ(unstorableLetters(QStringLiteral("Árvíztűrő tükörfúrógép Łódź")), QString());
    EXPECT_EQ(unstorableLetters(QStringLiteral("señor")), QStringLiteral("ñ"));
    EXPECT_EQ(unstorableLetters(QStringLiteral("Æsir señor Æ ñ €")), QStringLiteral("Æñ"));
    EXPECT_EQ(unstorableLetters(QStringLiteral("kép 🙂")), QStringLiteral("🙂"));
    EXPECT_EQ(unstorableTextMessage(QStringLiteral("Kovács")), std::nullopt);
    EXPECT_EQ(unstorableTextMessage(QStringLiteral("señor")),
              QStringLiteral("Ezt a betűt az adatbázis nem tudja tárolni: ñ\nKérem, javítsa a szöveget: „señor”"));
    EXPECT_EQ(unstorableTextMessage(QStringLiteral("Æsir señor")),
              QStringLiteral(
                  "Ezeket a betűket az adatbázis nem tudja tárolni: Æ, ñ\nKérem, javítsa a szöveget: „Æsir señor”"));
}

TEST(StorableTextTest, ATableHandleRefusesTheTextAndKeepsTheField) {
    testing_support::TestFolder dir;
    createDataFolder(dir.path());
    TDataModule1 dm;
    dm.open(dir.path());
    TableHandle& units = dm.EgysegTable();
    units.append();
    units.setString("EGYSEG", QStringLiteral("darab"));
    EXPECT_THROW(
        {
            try {
                units.setString("EGYSEG", QStringLiteral("señor"));
            } catch (const UnstorableTextError& e) {
                EXPECT_EQ(QString::fromUtf8(e.what()), *unstorableTextMessage(QStringLiteral("señor")));
                throw;
            }
        },
        UnstorableTextError);
    EXPECT_EQ(units.asString("EGYSEG"), "darab");
    units.setString("EGYSEG", QStringLiteral("köbméter"));
    units.post();
    units.refresh();
    EXPECT_EQ(units.asString("EGYSEG"), "köbméter");
}

}  // namespace
}  // namespace kavina
