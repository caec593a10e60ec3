#pragma once
// The shell's own windows as its logic opens them. Each call shows its window modally and
// returns when it closes; the Qt implementation is in forms/, tests use a recording fake.

#include <QString>
#include <optional>

namespace kavina::shell {

enum class SettingsPage { Owner, Documents };

class SessionWindows {
public:
    virtual ~SessionWindows() = default;

    // Tfoldselect, the data folder of a first start: the folder typed or chosen with "Ok", or
    // nothing for "Kilépés".
    virtual std::optional<QString> chooseDataFolder() = 0;
    // TLogo: true when a user signed in, false when it closed without a sign-in.
    virtual bool login() = 0;
    // The login window without its buttons, as a splash: shown, its progress bar stepping
    // from 1 to 100, then left open until hideSplash().
    virtual void showSplash() = 0;
    virtual void hideSplash() = 0;
    // Tindexform: the reindex, which it starts by itself and closes when done.
    virtual void reindex() = 0;
    // Tservicepack: the database upgrade from the level given, which it starts by itself and
    // closes when done. The level reached (each step's level is written to the ini as it ends).
    virtual int upgrade(int level) = 0;
    // TSetup on a page: true when "&Elfogad" stored the settings.
    virtual bool settings(SettingsPage page) = 0;
    // Tfelhasznalokform, the user list.
    virtual void users() = 0;
    // TJelszoForm, the password change.
    virtual void passwordChange() = 0;
    // Tjelszo2, the lock prompt: returns only once the right password was typed.
    virtual void lockPrompt() = 0;
    virtual bool lockPromptOpen() const = 0;
};

}  // namespace kavina::shell
