#include "shell/users/Login.h"

#include "foundation/Prompt.h"
#include "foundation/TableHandle.h"
#include "shell/startup/SessionLog.h"
#include "shell/startup/SessionTexts.h"
#include "shell/startup/ShellContext.h"
#include "shell/users/LoginPassword.h"
#include "shell/users/Rights.h"

namespace kavina::shell {
namespace {

const QString kCaption = QStringLiteral("Figyelem !");
constexpr int kPasswordChangeDays = 14;

int fieldWidth(const TableHandle& table, const char* field) {
    const int index = table.fieldIndex(field);
    return index < 0 ? 0 : int(table.fields()[size_t(index)].length);
}

}  // namespace

Login::Login(TableHandle& users, SessionLog& log, Session& session, Prompt& prompt, Clock clock)
    : m_users(users), m_log(log), m_session(session), m_prompt(prompt), m_clock(std::move(clock)) {}

LoginOutcome Login::signIn(const QString& userName, const QString& password) {
    if (!m_users.locate({{"FELHASZNAL", userName}}, {.caseInsensitive = true})) {
        m_prompt.warning(kCaption, QStringLiteral("Kérem válasszon felhasználót!"));
        return LoginOutcome::TryAgain;
    }
    if (m_users.asString("JOGOSULT") == kRoleSuspended) {
        m_prompt.warning(kCaption, QStringLiteral("Sajnálom, az ön jogosultsága le van tiltva!\n\r"
                                                  "Keresse meg a rendszergazdát!"));
        return LoginOutcome::Refused;
    }
    if (!passwordMatchesIgnoringCase(m_users.asString("JELSZO"), password)) {
        m_prompt.warning(kCaption, QStringLiteral("Ez a jelszó nem megfelelő!\n\rKérem próbálja újra!"));
        return LoginOutcome::TryAgain;
    }
    replacePlainPassword();
    complete();
    return LoginOutcome::SignedIn;
}

bool Login::signInAutomatically() {
    if (m_users.recordCount() != 1) return false;
    m_users.first();
    // A suspended user is never let in unasked: the login window refuses them.
    if (!m_users.asString("JELSZO").isEmpty() || m_users.asString("JOGOSULT") == kRoleSuspended) return false;
    complete();
    // The sole user takes no role here: were it "Felhasználó", user administration would be
    // closed to the only person who could ever open it again.
    m_session.currentRole.clear();
    return true;
}

std::optional<QString> Login::createFirstUser() {
    m_users.refresh();
    if (!m_users.isEmpty()) return std::nullopt;
    const QDate today = m_clock().date();
    m_users.append();
    m_users.setString("FELHASZNAL", kRoleAdministrator);
    m_users.setString("JELSZO", QString());
    m_users.setString("JOGOSULT", kRoleAdministrator);
    for (const char* field : {"ajanlat", "szamla", "arlista", "partner", "anyag", "garancia", "szerviz"})
        if (m_users.fieldIndex(field) >= 0) m_users.setLogical(field, true);
    m_users.setDate("DATUM", today);
    m_users.setDate("JDATUM", today.addDays(kPasswordChangeDays));
    if (m_users.fieldIndex("JOGOK") >= 0) m_users.setString("JOGOK", kFullRights);
    m_users.post();
    return kRoleAdministrator;
}

void Login::takeRights() {
    m_session.currentRights = rightsOf(m_users);
    m_session.mainWindowRightsApply = mainWindowRightsApply(m_users);
}

// The session takes the user of the current record and this instance gets its userlog row.
void Login::complete() {
    m_session.currentUser = m_users.asString("FELHASZNAL");
    m_session.currentPassword = m_users.asString("JELSZO");
    m_session.currentRole = m_users.asString("JOGOSULT");
    takeRights();
    m_log.signIn(m_session.currentUser);
}

// A password stored before hashing is replaced by its hashes now that it has been confirmed;
// the hashes are made from the stored text, whose letter case the lock prompt wants.
void Login::replacePlainPassword() {
    const QString stored = m_users.asString("JELSZO");
    if (stored.isEmpty() || isPasswordHash(stored)) return;
    const QString hashed = storedPassword(stored, fieldWidth(m_users, "JELSZO"));
    if (hashed == stored) return;
    m_users.edit();
    m_users.setString("JELSZO", hashed);
    m_users.post();
}

bool unlock(const Session& session, const QString& typed, Prompt& prompt) {
    if (passwordMatchesExactly(session.currentPassword, typed)) return true;
    prompt.warning(kProgramCaption, QStringLiteral("Hibás jelszó! Kérem, próbálja újra!"));
    return false;
}

bool canLock(const Session& session) {
    return !session.currentPassword.isEmpty();
}

void warnNoPasswordForLock(Prompt& prompt) {
    prompt.warning(QStringLiteral("Figyelem!"),
                   QStringLiteral("Önnek nincs beállított jelszava, ezért a zárolást nem lehet elvégezni!"));
}

bool idleLockDue(const Session& session, bool mainWindowVisible, bool lockPromptOpen) {
    return mainWindowVisible && !lockPromptOpen && canLock(session);
}

}  // namespace kavina::shell
