#pragma once
// Roles and rights letters. A right is granted when its letter occurs anywhere in the user's
// rights string; the user dialog lists the letters in the order below. The main window
// applies its letters only in folders whose Jogok.dbf has more than twelve fields (upgraded);
// the product window's letters (U, V, W) apply always.

#include <QChar>
#include <QString>
#include <vector>

namespace kavina {
class RecordCursor;
}

namespace kavina::shell {

inline const QString kFullRights = QStringLiteral("ABFMP13459TUVWGH");

inline const QString kRoleAdministrator = QStringLiteral("Rendszergazda");
inline const QString kRoleUser = QStringLiteral("Felhasználó");
inline const QString kRoleSuspended = QStringLiteral("Felfüggesztve");

// The roles the user dialog offers, in its order.
const std::vector<QString>& roles();

// One letter of the user dialog's check list.
struct RightLetter {
    QChar letter;
    QString caption;
};
// Every letter in the check list's order.
const std::vector<RightLetter>& rightLetters();

// The rights string of the current Jogok.dbf record: its jogok field, or every letter when
// the table has no such field (an older folder).
QString rightsOf(const RecordCursor& users);
// Whether the main-window letters are applied: Jogok.dbf has more than twelve fields.
bool mainWindowRightsApply(const RecordCursor& users);

// The rights string a set of ticked check-list items gives, one letter each in list order.
QString rightsFromTicks(const std::vector<bool>& ticked);
// The check-list ticks of a rights string.
std::vector<bool> ticksOfRights(const QString& rights);

}  // namespace kavina::shell
