#include "support/nav/NavSetup.h"

#include "support/nav/NavCrypto.h"

namespace kavina::nav {

namespace {
const QString kCaption = QStringLiteral("Online számla beállítások");
// The role the user administration gives its plain users.
const QString kPlainUser = QStringLiteral("Felhasználó");
}  // namespace

bool NavSetup::mayOpen() {
    if (m_role != kPlainUser) return true;
    m_prompt.warning(kCaption, QStringLiteral("Az online számla beállításait csak rendszergazda módosíthatja."));
    return false;
}

NavSetupFields NavSetup::load() {
    const NavSettings s = loadNavSettings(m_dataFolder);
    return {s.login,     QString(),    s.signingKey, s.exchangeKey,
            s.taxNumber, s.softwareId, s.production, !s.passwordHash.isEmpty()};
}

bool NavSetup::save(const NavSetupFields& fields) {
    NavSettings s = loadNavSettings(m_dataFolder);
    s.login = fields.login.trimmed();
    if (!fields.password.isEmpty()) s.passwordHash = sha512Hex(fields.password.toUtf8());
    s.signingKey = fields.signingKey.trimmed();
    s.exchangeKey = fields.exchangeKey.trimmed();
    s.taxNumber = fields.taxNumber.trimmed();
    s.softwareId = fields.softwareId.trimmed().toUpper();
    s.production = fields.production;
    const QString problem = checkNavSettings(s);
    if (!problem.isEmpty()) {
        m_prompt.warning(kCaption, problem);
        return false;
    }
    saveNavSettings(m_dataFolder, s);
    return true;
}

}  // namespace kavina::nav
