#include "shell/users/Rights.h"

#include "foundation/RecordCursor.h"

namespace kavina::shell {
namespace {

constexpr int kOlderFormatFieldCount = 12;

}  // namespace

const std::vector<QString>& roles() {
    static const std::vector<QString> list{kRoleAdministrator, kRoleUser, kRoleSuspended};
    return list;
}

const std::vector<RightLetter>& rightLetters() {
    static const std::vector<RightLetter> letters{
        {QChar('A'), QStringLiteral("Ajánlat")},
        {QChar('B'), QStringLiteral("Számla")},
        {QChar('F'), QStringLiteral("Szállító")},
        {QChar('M'), QStringLiteral("Megrendelő")},
        {QChar('P'), QStringLiteral("Proforma")},
        {QChar('1'), QStringLiteral("Pénztárgépes értékesítés")},
        {QChar('3'), QStringLiteral("Bevételezési bizonylat")},
        {QChar('4'), QStringLiteral("Visszáru")},
        {QChar('5'), QStringLiteral("Selejt")},
        {QChar('9'), QStringLiteral("Partnertörzs")},
        {QChar('T'), QStringLiteral("Terméktörzs")},
        {QChar('U'), QStringLiteral("Termék módosítás")},
        {QChar('V'), QStringLiteral("Termék átárazás")},
        {QChar('W'), QStringLiteral("Termék törlés")},
        {QChar('G'), QStringLiteral("Garancia")},
        {QChar('H'), QStringLiteral("Munkalap")},
    };
    return letters;
}

QString rightsOf(const RecordCursor& users) {
    const int field = users.fieldIndex("jogok");
    if (field < 0) return kFullRights;
    return users.asString(field);
}

bool mainWindowRightsApply(const RecordCursor& users) {
    return users.fieldCount() > kOlderFormatFieldCount;
}

QString rightsFromTicks(const std::vector<bool>& ticked) {
    QString rights;
    const auto& letters = rightLetters();
    for (size_t i = 0; i < letters.size() && i < ticked.size(); ++i)
        if (ticked[i]) rights += letters[i].letter;
    return rights;
}

std::vector<bool> ticksOfRights(const QString& rights) {
    std::vector<bool> ticks;
    for (const RightLetter& r : rightLetters()) ticks.push_back(rights.contains(r.letter));
    return ticks;
}

}  // namespace kavina::shell
