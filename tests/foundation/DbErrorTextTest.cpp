#include "foundation/DbErrorText.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "dbase/DbError.h"

namespace kavina {
namespace {

using dbase::DbError;
using dbase::DbErrorKind;

QString textOf(DbErrorKind kind, const std::string& file, const std::string& cause) {
    return dbErrorText(DbError(file + ": " + cause, kind, file));
}

TEST(DbErrorTextTest, EachKindNamesTheTableInHungarianBeforeTheEngineText) {
    EXPECT_EQ(textOf(DbErrorKind::Damaged, "/adat/Szamla.dbf", "the header is truncated"),
              QStringLiteral("A(z) Szamla.dbf tábla sérült: /adat/Szamla.dbf: the header is truncated"));
    EXPECT_EQ(textOf(DbErrorKind::Busy, "/adat/Anyag.dbf", "Table is busy."),
              QStringLiteral("A(z) Anyag.dbf táblát most egy másik munkaállomás vagy ablak használja: "
                             "/adat/Anyag.dbf: Table is busy."));
    EXPECT_EQ(textOf(DbErrorKind::RecordLocked, "/adat/Anyag.dbf", "record 3: Record is locked by another user."),
              QStringLiteral("A(z) Anyag.dbf tábla rekordját egy másik felhasználó szerkeszti: /adat/Anyag.dbf: "
                             "record 3: Record is locked by another user."));
    EXPECT_EQ(textOf(DbErrorKind::Missing, "/adat/Partner.DBF", "the table does not exist"),
              QStringLiteral("A(z) Partner.DBF tábla vagy egy hozzá tartozó fájl hiányzik: /adat/Partner.DBF: the "
                             "table does not exist"));
    EXPECT_EQ(textOf(DbErrorKind::Io, "/adat/Szamla2.dbf", "write failed: No space left on device"),
              QStringLiteral("A(z) Szamla2.dbf tábla olvasása vagy írása nem sikerült (lemez- vagy hálózati hiba): "
                             "/adat/Szamla2.dbf: write failed: No space left on device"));
    EXPECT_EQ(textOf(DbErrorKind::Invalid, "/adat/Anyag.dbf", "the table has no field X"),
              QStringLiteral("A(z) Anyag.dbf tábla nem fogadta el a kért műveletet vagy értéket: /adat/Anyag.dbf: "
                             "the table has no field X"));
    EXPECT_EQ(textOf(DbErrorKind::Other, "/adat/Anyag.dbf", "something else"),
              QStringLiteral("Hiba történt a(z) Anyag.dbf tábla kezelése közben: /adat/Anyag.dbf: something else"));
}

TEST(DbErrorTextTest, MemoAndIndexFilesNameTheirTableAndFolderErrorsTheDatabase) {
    EXPECT_TRUE(textOf(DbErrorKind::Damaged, "/adat/Szamla.dbt", "memo block 9 lies outside the memo file")
                    .startsWith(QStringLiteral("A(z) Szamla.dbf tábla sérült: /adat/Szamla.dbt: ")));
    EXPECT_TRUE(textOf(DbErrorKind::Damaged, "/adat/ANYAG.MDX", "x")
                    .startsWith(QStringLiteral("A(z) ANYAG.dbf tábla sérült: ")));
    EXPECT_EQ(textOf(DbErrorKind::Busy, "/adat", "Table is busy."),
              QStringLiteral("Az adatbázist most egy másik munkaállomás használja: /adat: Table is busy."));
    EXPECT_EQ(textOf(DbErrorKind::Io, "/adat/kavina.jnl", "cannot write to disk: Input/output error"),
              QStringLiteral("Az adatbázis olvasása vagy írása nem sikerült (lemez- vagy hálózati hiba): "
                             "/adat/kavina.jnl: cannot write to disk: Input/output error"));
    // An error raised without a file (by code outside the engine's tables) still reads well.
    EXPECT_EQ(dbErrorText(DbError("lock refused")),
              QStringLiteral("Hiba történt az adatbázis kezelése közben: lock refused"));
}

TEST(DbErrorTextTest, AnyErrorOfAMessageBoxIsToldTheSameWay) {
    const DbError engine("/adat/Szamla.dbf: Table is busy.", DbErrorKind::Busy, "/adat/Szamla.dbf");
    const std::exception& asException = engine;
    EXPECT_EQ(errorText(asException), dbErrorText(engine));
    EXPECT_EQ(errorText(std::runtime_error("A számla nem menthető.")), QStringLiteral("A számla nem menthető."));
}

}  // namespace
}  // namespace kavina
