#include "foundation/DbErrorText.h"

#include "dbase/DbError.h"

namespace kavina {
namespace {

using dbase::DbErrorKind;

QString aboutTable(DbErrorKind kind, const QString& table) {
    switch (kind) {
        case DbErrorKind::Busy:
            return QStringLiteral("A(z) %1 táblát most egy másik munkaállomás vagy ablak használja").arg(table);
        case DbErrorKind::RecordLocked:
            return QStringLiteral("A(z) %1 tábla rekordját egy másik felhasználó szerkeszti").arg(table);
        case DbErrorKind::Damaged: return QStringLiteral("A(z) %1 tábla sérült").arg(table);
        case DbErrorKind::Missing:
            return QStringLiteral("A(z) %1 tábla vagy egy hozzá tartozó fájl hiányzik").arg(table);
        case DbErrorKind::Io:
            return QStringLiteral("A(z) %1 tábla olvasása vagy írása nem sikerült (lemez- vagy hálózati hiba)")
                .arg(table);
        case DbErrorKind::Invalid:
            return QStringLiteral("A(z) %1 tábla nem fogadta el a kért műveletet vagy értéket").arg(table);
        case DbErrorKind::Other: break;
    }
    return QStringLiteral("Hiba történt a(z) %1 tábla kezelése közben").arg(table);
}

QString aboutDatabase(DbErrorKind kind) {
    switch (kind) {
        case DbErrorKind::Busy: return QStringLiteral("Az adatbázist most egy másik munkaállomás használja");
        case DbErrorKind::RecordLocked: return QStringLiteral("Egy rekordot egy másik felhasználó szerkeszt");
        case DbErrorKind::Damaged: return QStringLiteral("Az adatbázis egy fájlja sérült");
        case DbErrorKind::Missing: return QStringLiteral("Az adatbázis egy fájlja hiányzik");
        case DbErrorKind::Io:
            return QStringLiteral("Az adatbázis olvasása vagy írása nem sikerült (lemez- vagy hálózati hiba)");
        case DbErrorKind::Invalid: return QStringLiteral("Az adatbázis nem fogadta el a kért műveletet vagy értéket");
        case DbErrorKind::Other: break;
    }
    return QStringLiteral("Hiba történt az adatbázis kezelése közben");
}

}  // namespace

QString dbErrorText(const dbase::DbError& error) {
    const std::string table = error.tableName();
    const QString sentence =
        table.empty() ? aboutDatabase(error.kind()) : aboutTable(error.kind(), QString::fromStdString(table));
    return sentence + QStringLiteral(": ") + QString::fromUtf8(error.what());
}

QString errorText(const std::exception& error) {
    if (const auto* engine = dynamic_cast<const dbase::DbError*>(&error)) return dbErrorText(*engine);
    return QString::fromUtf8(error.what());
}

}  // namespace kavina
