#pragma once
// The user administration over Jogok.dbf: the list's "Hozzáadás", "Módosítá&s" and
// "&Törlés", the user dialog's "Elf&ogad" with its checks, and the password change.
// Passwords are stored through LoginPassword (hashed when the field is wide enough).

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "foundation/OpenedRecord.h"
#include "foundation/RecordCursor.h"
#include "shell/startup/SessionClock.h"

namespace kavina {
class Prompt;
class TableHandle;
}  // namespace kavina

namespace kavina::shell {

struct Session;

// What the user dialog shows and edits.
struct UserValues {
    QString name;              // "Felhasználó :"
    QString role;              // "Jogosultság :"
    QString password;          // "Jelszó :"
    QString passwordAgain;     // "Jelszó ismét:"
    std::vector<bool> rights;  // "Jogok:", in the order of rightLetters()
};

// The outcome of "Elf&ogad".
struct UserDialogResult {
    bool stored = false;
    bool passwordsDiffer = false;  // both boxes turn red, the first gets the focus
};

class UserAdmin {
public:
    UserAdmin(TableHandle& users, Session& session, Prompt& prompt, Clock clock);

    // "Hozzáadás": the dialog's values for a new user (role "Rendszergazda", empty
    // passwords, every right but "Ajánlat" and "Szállító"). Nothing is stored until the
    // dialog is accepted.
    UserValues newUser() const;
    // "Módosítá&s": the current user's values; both password boxes hold the stored text,
    // which is kept as it is when they are left untouched. The user's record is remembered:
    // accept() stores into it, wherever the list has moved meanwhile.
    UserValues currentUser();

    // "Elf&ogad" for a new user (append) or the current one (edit). Every failing check shows
    // its message, in order: the passwords differ, the name is empty, the role is empty, the
    // name belongs to another user (names are unique, ignoring case, as sign-in finds them).
    // Only when none fails are the values stored; a user another workstation deleted
    // meanwhile is refused (RuleError), one it changed is overwritten only when the clerk
    // says so.
    UserDialogResult accept(const UserValues& values, bool isNew);

    // "&Törlés": asks, and on "Igen" deletes the current user. False when nothing was deleted.
    bool removeCurrent();

    // The prompt the windows' commands report through.
    Prompt& prompt() const { return m_prompt; }

private:
    bool nameTaken(const QString& name, bool isNew);
    bool store(const UserValues& values, bool isNew);

    TableHandle& m_users;
    Session& m_session;
    Prompt& m_prompt;
    Clock m_clock;
    std::optional<OpenedRecord> m_opened;  // the user "Módosítá&s" opened
    QString m_openedPassword;
    QString m_openedName;
};

// The names of the users, in the order of the handle, for the sign-in's list; the handle ends
// on its first record, where the sign-in starts.
QStringList userNames(TableHandle& users);

// Whether a user of that name is in Jogok.dbf (exact name); the handle stays on its record.
// False when the table cannot be read, so the entries that need the user stay disabled.
bool userListed(TableHandle& users, const QString& name) noexcept;

// The password change "Jelszó módosítása" of the signed-in user.
class PasswordChange {
public:
    PasswordChange(TableHandle& users, Session& session, Prompt& prompt);

    // The menu entry is enabled only when the signed-in user is in Jogok.dbf.
    bool available();
    // "&Rendben": true when the new password was stored (the window then closes).
    bool accept(const QString& oldPassword, const QString& newPassword, const QString& again);

    Prompt& prompt() const { return m_prompt; }

private:
    TableHandle& m_users;
    Session& m_session;
    Prompt& m_prompt;
};

}  // namespace kavina::shell
