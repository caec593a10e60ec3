#include "shell/users/Users.h"

#include "foundation/CatalogueFields.h"
#include "foundation/Prompt.h"
#include "foundation/RecordEdit.h"
#include "foundation/TableHandle.h"
#include "shell/startup/SessionTexts.h"
#include "shell/startup/ShellContext.h"
#include "shell/users/LoginPassword.h"
#include "shell/users/Rights.h"

namespace kavina::shell {
namespace {

namespace J = fields::Jogok;

constexpr int kPasswordChangeDays = 14;

OpenedRecordTexts userTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A felhasználót közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A felhasználót közben egy másik munkaállomás módosította:");
    texts.labels = {{J::FELHASZNAL, QStringLiteral("Felhasználó")},
                    {J::JELSZO, QStringLiteral("Jelszó")},
                    {J::JOGOSULT, QStringLiteral("Jogosultság")},
                    {J::JOGOK, QStringLiteral("Jogok")}};
    texts.hidden = {J::JELSZO};
    return texts;
}

int passwordWidth(const TableHandle& users) {
    return int(users.fields()[size_t(users.fieldNumber(J::JELSZO))].length);
}

// The rights a new user starts with: all but "Ajánlat" and "Szállító".
std::vector<bool> newUserRights() {
    std::vector<bool> ticks = ticksOfRights(kFullRights);
    const auto& letters = rightLetters();
    for (size_t i = 0; i < letters.size(); ++i)
        if (letters[i].letter == QChar('A') || letters[i].letter == QChar('F')) ticks[i] = false;
    return ticks;
}

}  // namespace

UserAdmin::UserAdmin(TableHandle& users, Session& session, Prompt& prompt, Clock clock)
    : m_users(users), m_session(session), m_prompt(prompt), m_clock(std::move(clock)) {}

UserValues UserAdmin::newUser() const {
    return {QString(), kRoleAdministrator, QString(), QString(), newUserRights()};
}

UserValues UserAdmin::currentUser() {
    const QString stored = m_users.asString(J::JELSZO);
    m_opened.emplace(m_users, std::nullopt, userTexts());
    m_openedPassword = stored;
    m_openedName = m_users.asString(J::FELHASZNAL);
    return {m_openedName, m_users.asString(J::JOGOSULT), stored, stored, ticksOfRights(rightsOf(m_users))};
}

UserDialogResult UserAdmin::accept(const UserValues& values, bool isNew) {
    UserDialogResult result;
    bool failed = false;
    if (values.password != values.passwordAgain) {
        m_prompt.information(kProgramCaption, QStringLiteral("A két beírt jelszó nem azonos, kélem ellenőrizze!"));
        result.passwordsDiffer = true;
        failed = true;
    }
    if (values.name.trimmed().isEmpty()) {
        m_prompt.information(kProgramCaption, QStringLiteral("A felhasználó nevét kötelező kitölteni!"));
        failed = true;
    }
    if (values.role.trimmed().isEmpty()) {
        m_prompt.information(kProgramCaption, QStringLiteral("A felhasználó jogosultságát kötelező kitölteni!"));
        failed = true;
    }
    if (!values.name.trimmed().isEmpty() && nameTaken(values.name.trimmed(), isNew)) {
        m_prompt.information(kProgramCaption, QStringLiteral("Ilyen nevű felhasználó már létezik!"));
        failed = true;
    }
    if (failed) return result;
    result.stored = store(values, isNew);
    return result;
}

// Looks for another record of that name than the user being changed, and comes back to the
// current one.
bool UserAdmin::nameTaken(const QString& name, bool isNew) {
    if (m_users.isEmpty()) return false;
    if (!isNew && !m_opened) currentUser();
    const CursorMark current = m_users.bookmark();
    bool taken = false;
    if (m_users.locate({{J::FELHASZNAL, name}}, {.caseInsensitive = true}))
        taken = isNew || m_users.bookmark().id != m_opened->mark().id;
    m_users.gotoBookmark(current);
    return taken;
}

bool UserAdmin::store(const UserValues& values, bool isNew) {
    if (!isNew && !m_opened) currentUser();  // accepted without the list: the current user
    const QString before = isNew ? QString() : m_openedPassword;
    // Boxes left holding the stored text keep it; anything typed is stored afresh.
    const QString password =
        !isNew && values.password == before ? before : storedPassword(values.password, passwordWidth(m_users));
    const auto write = [&] {
        m_users.setString(J::FELHASZNAL, values.name.trimmed());
        m_users.setString(J::JOGOSULT, values.role);
        m_users.setString(J::JELSZO, password);
        if (m_users.has(J::JOGOK)) m_users.setString(J::JOGOK, rightsFromTicks(values.rights));
    };
    if (isNew) {
        RecordEdit added = RecordEdit::append(m_users);
        const QDate today = m_clock().date();
        m_users.setDate(J::DATUM, today);
        m_users.setDate(J::JDATUM, today.addDays(kPasswordChangeDays));
        write();
        added.post();
        return true;
    }
    if (!m_opened->save(m_prompt, write)) return false;
    // The signed-in user's own password, changed here, is the one the lock prompt wants.
    if (m_openedName == m_session.currentUser && values.name.trimmed() == m_openedName)
        m_session.currentPassword = password;
    return true;
}

bool UserAdmin::removeCurrent() {
    if (m_users.isEmpty()) return false;
    if (!m_prompt.askYesNo(QStringLiteral("Figyelem!"),
                           QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott tételt?")))
        return false;
    m_users.deleteRecord();
    return true;
}

QStringList userNames(TableHandle& users) {
    QStringList names;
    for (users.first(); !users.eof(); users.next()) names << users.asString(J::FELHASZNAL);
    users.first();
    return names;
}

bool userListed(TableHandle& users, const QString& name) noexcept {
    try {
        if (!users.isOpen() || name.isEmpty()) return false;
        const auto mark = users.isEmpty() ? std::nullopt : std::optional<CursorMark>(users.bookmark());
        const bool found = users.locate({{J::FELHASZNAL, name}});
        if (mark) users.gotoBookmark(*mark);
        return found;
    } catch (const std::exception&) {
        return false;
    }
}

PasswordChange::PasswordChange(TableHandle& users, Session& session, Prompt& prompt)
    : m_users(users), m_session(session), m_prompt(prompt) {}

bool PasswordChange::available() {
    return m_users.locate({{J::FELHASZNAL, m_session.currentUser}});
}

bool PasswordChange::accept(const QString& oldPassword, const QString& newPassword, const QString& again) {
    if (!available()) return false;
    if (!passwordMatchesIgnoringCase(m_users.asString(J::JELSZO), oldPassword)) {
        m_prompt.information(kProgramCaption, QStringLiteral("Figyelem!\n\rNem megfelelő a régi jelszó!"));
        return false;
    }
    if (newPassword != again) {
        m_prompt.information(kProgramCaption,
                             QStringLiteral("Figyelem!\n\rAz új jelszó, és a jelszóismétlés nem egyforma!"));
        return false;
    }
    const QString stored = storedPassword(newPassword, passwordWidth(m_users));
    RecordEdit change = RecordEdit::edit(m_users);
    m_users.setString(J::JELSZO, stored);
    change.post();
    m_session.currentPassword = stored;
    m_prompt.information(kProgramCaption, QStringLiteral("A jelszó módosítás sikeresen rögzíve!"));
    return true;
}

}  // namespace kavina::shell
