#include "shell/users/Users.h"

#include "foundation/Prompt.h"
#include "foundation/TableHandle.h"
#include "shell/startup/SessionTexts.h"
#include "shell/startup/ShellContext.h"
#include "shell/users/LoginPassword.h"
#include "shell/users/Rights.h"

namespace kavina::shell {
namespace {

constexpr int kPasswordChangeDays = 14;

int passwordWidth(const TableHandle& users) {
    return int(users.fields()[size_t(users.fieldNumber("JELSZO"))].length);
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

UserValues UserAdmin::currentUser() const {
    const QString stored = m_users.asString("JELSZO");
    return {m_users.asString("FELHASZNAL"), m_users.asString("JOGOSULT"), stored, stored,
            ticksOfRights(rightsOf(m_users))};
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
    store(values, isNew);
    result.stored = true;
    return result;
}

// Looks for another record of that name and comes back to the current one.
bool UserAdmin::nameTaken(const QString& name, bool isNew) {
    if (m_users.isEmpty()) return false;
    const CursorMark current = m_users.bookmark();
    bool taken = false;
    if (m_users.locate({{"FELHASZNAL", name}}, {.caseInsensitive = true}))
        taken = isNew || m_users.bookmark().id != current.id;
    m_users.gotoBookmark(current);
    return taken;
}

void UserAdmin::store(const UserValues& values, bool isNew) {
    const QString before = isNew ? QString() : m_users.asString("JELSZO");
    const QString previousName = isNew ? QString() : m_users.asString("FELHASZNAL");
    // Boxes left holding the stored text keep it; anything typed is stored afresh.
    const QString password =
        !isNew && values.password == before ? before : storedPassword(values.password, passwordWidth(m_users));
    if (isNew) {
        const QDate today = m_clock().date();
        m_users.append();
        m_users.setDate("DATUM", today);
        m_users.setDate("JDATUM", today.addDays(kPasswordChangeDays));
    } else {
        m_users.edit();
    }
    m_users.setString("FELHASZNAL", values.name.trimmed());
    m_users.setString("JOGOSULT", values.role);
    m_users.setString("JELSZO", password);
    if (m_users.fieldIndex("JOGOK") >= 0) m_users.setString("JOGOK", rightsFromTicks(values.rights));
    m_users.post();
    // The signed-in user's own password, changed here, is the one the lock prompt wants.
    if (!isNew && previousName == m_session.currentUser && values.name.trimmed() == previousName)
        m_session.currentPassword = password;
}

bool UserAdmin::removeCurrent() {
    if (m_users.isEmpty()) return false;
    if (!m_prompt.askYesNo(QStringLiteral("Figyelem!"),
                           QStringLiteral("Biztos, hogy törölni szeretné a kiválasztott tételt?")))
        return false;
    m_users.deleteRecord();
    return true;
}

PasswordChange::PasswordChange(TableHandle& users, Session& session, Prompt& prompt)
    : m_users(users), m_session(session), m_prompt(prompt) {}

bool PasswordChange::available() {
    return m_users.locate({{"FELHASZNAL", m_session.currentUser}});
}

bool PasswordChange::accept(const QString& oldPassword, const QString& newPassword, const QString& again) {
    if (!available()) return false;
    if (!passwordMatchesIgnoringCase(m_users.asString("JELSZO"), oldPassword)) {
        m_prompt.information(kProgramCaption, QStringLiteral("Figyelem!\n\rNem megfelelő a régi jelszó!"));
        return false;
    }
    if (newPassword != again) {
        m_prompt.information(kProgramCaption,
                             QStringLiteral("Figyelem!\n\rAz új jelszó, és a jelszóismétlés nem egyforma!"));
        return false;
    }
    const QString stored = storedPassword(newPassword, passwordWidth(m_users));
    m_users.edit();
    m_users.setString("JELSZO", stored);
    m_users.post();
    m_session.currentPassword = stored;
    m_prompt.information(kProgramCaption, QStringLiteral("A jelszó módosítás sikeresen rögzíve!"));
    return true;
}

}  // namespace kavina::shell
