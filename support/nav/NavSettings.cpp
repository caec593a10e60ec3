#include "support/nav/NavSettings.h"

#include <QDir>
#include <QRegularExpression>

#include "foundation/IniFile.h"
#include "foundation/RuleError.h"

namespace kavina::nav {

namespace {

const QString kFile = QStringLiteral("navbeall.ini");
const QString kSection = QStringLiteral("nav");

const QString kTestUrl = QStringLiteral("https://api-test.onlineszamla.nav.gov.hu/invoiceService/v3");
const QString kProductionUrl = QStringLiteral("https://api.onlineszamla.nav.gov.hu/invoiceService/v3");

QString digitsOf(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c.isDigit()) digits += c;
    return digits;
}

}  // namespace

bool NavSettings::complete() const {
    return checkNavSettings(*this).isEmpty();
}

QString NavSettings::taxpayerId() const {
    return digitsOf(taxNumber).left(8);
}

QString NavSettings::operationUrl(const QString& operation) const {
    const QString base = !serviceUrl.isEmpty() ? serviceUrl : production ? kProductionUrl : kTestUrl;
    return base + QLatin1Char('/') + operation;
}

QString checkNavSettings(const NavSettings& s) {
    if (s.login.trimmed().isEmpty()) return QStringLiteral("Adja meg a technikai felhasználó nevét!");
    if (s.passwordHash.isEmpty()) return QStringLiteral("Adja meg a technikai felhasználó jelszavát!");
    if (s.signingKey.trimmed().isEmpty()) return QStringLiteral("Adja meg az aláírókulcsot!");
    if (s.exchangeKey.size() != 16) return QStringLiteral("A cserekulcs 16 karakter hosszú.");
    if (digitsOf(s.taxNumber).size() < 8)
        return QStringLiteral("Adja meg az adószámot (legalább az első 8 számjegyét)!");
    static const QRegularExpression softwareId(QStringLiteral("^[0-9A-Z\\-]{18}$"));
    if (!softwareId.match(s.softwareId).hasMatch())
        return QStringLiteral("A szoftverazonosító 18 karakter: számjegyek, nagybetűk és kötőjel.");
    return {};
}

NavSettings loadNavSettings(const QString& dataFolder) {
    try {
        const IniFile ini(QDir(dataFolder).filePath(kFile));
        NavSettings s;
        s.login = ini.readString(kSection, QStringLiteral("login"));
        s.passwordHash = ini.readString(kSection, QStringLiteral("jelszohash"));
        s.signingKey = ini.readString(kSection, QStringLiteral("alairokulcs"));
        s.exchangeKey = ini.readString(kSection, QStringLiteral("cserekulcs"));
        s.taxNumber = ini.readString(kSection, QStringLiteral("adoszam"));
        s.softwareId = ini.readString(kSection, QStringLiteral("szoftverazonosito"));
        s.production = ini.readInteger(kSection, QStringLiteral("eles"), 0) == 1;
        s.serviceUrl = ini.readString(kSection, QStringLiteral("szolgaltatas"));
        s.caFile = ini.readString(kSection, QStringLiteral("cafile"));
        return s;
    } catch (const IniError& e) {
        throw RuleError(QString::fromStdString(e.what()));
    }
}

void saveNavSettings(const QString& dataFolder, const NavSettings& s) {
    try {
        IniFile ini(QDir(dataFolder).filePath(kFile));
        ini.write(kSection, {{QStringLiteral("login"), s.login},
                             {QStringLiteral("jelszohash"), s.passwordHash},
                             {QStringLiteral("alairokulcs"), s.signingKey},
                             {QStringLiteral("cserekulcs"), s.exchangeKey},
                             {QStringLiteral("adoszam"), s.taxNumber},
                             {QStringLiteral("szoftverazonosito"), s.softwareId},
                             {QStringLiteral("eles"), s.production ? QStringLiteral("1") : QStringLiteral("0")}});
    } catch (const IniError& e) {
        throw RuleError(QString::fromStdString(e.what()));
    }
}

}  // namespace kavina::nav
