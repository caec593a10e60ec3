#pragma once
// Signing in: the login window's "&Belépés", the first user of an empty Jogok.dbf, the
// automatic sign-in of a single password-less user, and the lock prompt's password check.
// A successful sign-in fills the session's user values and appends this instance's
// userlog.dbf row. A plain-text password that signs in is replaced by its hashes.

#include <QDate>
#include <QString>
#include <optional>

#include "shell/startup/SessionClock.h"

namespace kavina {
class Prompt;
class TableHandle;
}  // namespace kavina

namespace kavina::shell {

struct Session;
class SessionLog;

enum class LoginOutcome {
    SignedIn,
    TryAgain,  // the window stays open
    Refused,   // the window closes without a sign-in, which ends the program
};

class Login {
public:
    Login(TableHandle& users, SessionLog& log, Session& session, Prompt& prompt, Clock clock);

    // "&Belépés" with the picker's text and the typed password.
    LoginOutcome signIn(const QString& userName, const QString& password);

    // The automatic sign-in of start-up: when Jogok.dbf holds exactly one user and that
    // user's password is empty, signs that user in without asking and returns true. The
    // session's role stays empty, so the role "Felhasználó" closes nothing to a sole user.
    bool signInAutomatically();

    // When Jogok.dbf is empty: appends the user "Rendszergazda" with an empty password, every
    // right and role "Rendszergazda", and returns the name for the picker; else nothing.
    std::optional<QString> createFirstUser();

    // Sets the session's rights from the current Jogok.dbf record.
    void takeRights();

private:
    void complete();
    void replacePlainPassword();

    TableHandle& m_users;
    SessionLog& m_log;
    Session& m_session;
    Prompt& m_prompt;
    Clock m_clock;
};

// The lock prompt's check: the typed text must equal the session's password exactly, letter
// case included. A wrong text shows "Hibás jelszó! Kérem, próbálja újra!".
bool unlock(const Session& session, const QString& typed, Prompt& prompt);

// Whether the program may be locked: the user has a password.
bool canLock(const Session& session);
// "Program zárolása" and F9 without a password: the warning that the lock cannot be done.
void warnNoPasswordForLock(Prompt& prompt);

// The idle lock's condition: the main window is visible, no lock prompt is open and the user
// has a password.
bool idleLockDue(const Session& session, bool mainWindowVisible, bool lockPromptOpen);

}  // namespace kavina::shell
