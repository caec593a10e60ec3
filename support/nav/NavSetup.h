#pragma once
// The settings page of online invoice reporting: only an administrator opens it, the password
// is typed but only its SHA-512 is kept (an empty box keeps the stored one), and nothing is
// stored until every field is right.

#include <QString>

#include "foundation/Prompt.h"
#include "support/nav/NavSettings.h"

namespace kavina::nav {

// What the page shows and the administrator types.
struct NavSetupFields {
    QString login;
    QString password;  // typed; empty: keep the stored one
    QString signingKey;
    QString exchangeKey;
    QString taxNumber;
    QString softwareId;
    bool production = false;
    bool passwordStored = false;  // shown as a hint beside the empty password box
};

class NavSetup {
public:
    NavSetup(QString dataFolder, QString currentRole, Prompt& prompt)
        : m_dataFolder(std::move(dataFolder)), m_role(std::move(currentRole)), m_prompt(prompt) {}

    // Whether the current user may open the page; warns when not.
    bool mayOpen();
    // The stored settings, with an empty password box.
    NavSetupFields load();
    // Stores the fields; warns with the first problem and returns false when one is wrong.
    bool save(const NavSetupFields& fields);

private:
    QString m_dataFolder;
    QString m_role;
    Prompt& m_prompt;
};

}  // namespace kavina::nav
