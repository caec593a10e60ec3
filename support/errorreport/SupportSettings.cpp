#include "support/errorreport/SupportSettings.h"

#include "foundation/IniSettings.h"
#include "shell/mainwindow/Platform.h"

namespace kavina::support {

SupportSettings loadSupportSettings(const IniFile& ini) {
    const QString section = QString::fromLatin1(kIniSection);
    SupportSettings s;
    s.mailbox = shell::loadPlatformSettings(ini).supportMail;
    s.timeoutSeconds = std::max(1, ini.readInteger(section, QStringLiteral("nettimeout"), 30));
    s.smtp.host = ini.readString(section, QStringLiteral("smtpserver"));
    s.smtp.port = ini.readInteger(section, QStringLiteral("smtpport"), 26);
    s.smtp.user = s.mailbox;
    s.smtp.password = ini.readString(section, QStringLiteral("smtppassword"));
    s.smtp.timeoutSeconds = s.timeoutSeconds;
    QString server = ini.readString(section, QStringLiteral("updateserver"));
    while (server.endsWith(QLatin1Char('/'))) server.chop(1);
    if (!server.isEmpty() && !server.contains(QLatin1String("://"))) server = "https://" + server;
    s.updateServer = server;
    s.caFile = ini.readString(section, QStringLiteral("cafile"));
    s.smtp.caFile = s.caFile;
    return s;
}

}  // namespace kavina::support
