#include "shell/users/Login.h"

#include "foundation/CatalogueFields.h"
#include "foundation/Prompt.h"
#include "foundation/RecordEdit.h"
#include "foundation/TableHandle.h"
#include "shell/startup/SessionLog.h"
#include "shell/startup/SessionTexts.h"
#include "shell/startup/ShellContext.h"
#include "shell/users/LoginPassword.h"
#include "shell/users/Rights.h"

namespace kavina::shell {
namespace {

namespace J = fields::Jogok;

const QString kCaption = QStringLiteral("Figyelem !");
constexpr int kPasswordChangeDays = 14;

int fieldWidth(const TableHandle& table, const Field& field) {
    const int index = table.fieldIndex(field);
    return index < 0 ? 0 : int(table.fields()[size_t(index)].length);
}

}  // namespace

Login::Login(TableHandle& users, SessionLog& log, Session& session, Prompt& prompt, Clock clock)
    : m_users(users), m_log(log), m_session(session), m_prompt(prompt), m_clock(std::move(clock)) {}

LoginOutcome Login::signIn(const QString& userName, const QString& password) {
    if (!m_users.locate({{J::FELHASZNAL, userName}}, {.caseInsensitive = true})) {
        m_prompt.warning(kCaption, QStringLiteral("Kérem válasszon felhasználót!"));
        return LoginOutcome::TryAgain;
    }
    if (m_users.asString(J::JOGOSULT) == kRoleSuspended) {
        m_prompt.warning(kCaption, QStringLiteral("Sajnálom, az ön jogosultsága le van tiltva!\n\r"
                                                  "Keresse meg a rendszergazdát!"));
        return LoginOutcome::Refused;
    }
    if (!passwordMatchesIgnoringCase(m_users.asString(J::JELSZO), password)) {
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
    if (!m_users.asString(J::JELSZO).isEmpty() || m_users.asString(J::JOGOSULT) == kRoleSuspended) return false;
    complete();
    return true;
}

std::optional<QString> Login::createFirstUser() {
    m_users.refresh();
    if (!m_users.isEmpty()) return std::nullopt;
    const QDate today = m_clock().date();
    RecordEdit added = RecordEdit::append(m_users);
    m_users.setString(J::FELHASZNAL, kRoleAdministrator);
    m_users.setString(J::JELSZO, QString());
    m_users.setString(J::JOGOSULT, kRoleAdministrator);
    for (const Field& field : {J::ajanlat, J::szamla, J::arlista, J::partner, J::anyag, J::garancia, J::szerviz})
        if (m_users.has(field)) m_users.setLogical(field, true);
    m_users.setDate(J::DATUM, today);
    m_users.setDate(J::JDATUM, today.addDays(kPasswordChangeDays));
    if (m_users.has(J::JOGOK)) m_users.setString(J::JOGOK, kFullRights);
    added.post();
    return kRoleAdministrator;
}

void Login::takeRights() {
    m_session.currentRights = rightsOf(m_users);
    m_session.mainWindowRightsApply = mainWindowRightsApply(m_users);
}

// The session takes the user of the current record and this instance gets its userlog row.
void Login::complete() {
    m_session.currentUser = m_users.asString(J::FELHASZNAL);
    m_session.currentPassword = m_users.asString(J::JELSZO);
    m_session.currentRole = m_users.asString(J::JOGOSULT);
    takeRights();
    m_log.signIn(m_session.currentUser);
}

// A password stored before hashing is replaced by its hashes now that it has been confirmed;
// the hashes are made from the stored text, whose letter case the lock prompt wants.
void Login::replacePlainPassword() {
    const QString stored = m_users.asString(J::JELSZO);
    if (stored.isEmpty() || isPasswordHash(stored)) return;
    const QString hashed = storedPassword(stored, fieldWidth(m_users, J::JELSZO));
    if (hashed == stored) return;
    RecordEdit change = RecordEdit::edit(m_users);
    m_users.setString(J::JELSZO, hashed);
    change.post();
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
