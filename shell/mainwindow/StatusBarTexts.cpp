#include "shell/mainwindow/StatusBarTexts.h"

namespace kavina::shell {

QString clerkPanelText(const Session& session) {
    return QStringLiteral("Ügyintéző: ") + session.currentUser;
}

QString versionPanelText(const QString& buildDate) {
    QString digits;
    for (const QChar c : buildDate.mid(2))
        if (c.isDigit()) digits += c;
    return QStringLiteral("Verzió: %1.%2.%3").arg("1", "0", digits);
}

QString databasePanelText(const Session& session) {
    return QStringLiteral("adatbázis: ") + session.dataFolder;
}

}  // namespace kavina::shell
