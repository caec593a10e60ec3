#include "shell/startup/Shutdown.h"

#include <QDir>
#include <QFile>

#include "foundation/Prompt.h"
#include "shell/startup/SessionState.h"

namespace kavina::shell {

bool confirmExit(Prompt& prompt) {
    return prompt.askYesNo(QStringLiteral("Figyelem"), QStringLiteral("Biztos benne, hogy kilép a Kavina programból?"));
}

void signOut(SessionState& state) {
    if (state.log && state.data.LoginTable().isOpen()) state.log->signOut(state.session.currentUser);
    if (state.ini) state.ini->writeInteger(QString::fromLatin1(kIniSection), QStringLiteral("kilepett"), 1);
    state.settings.kilepett = 1;
}

void removeLeftoverFiles(const QString& folder) {
    const QDir dir(folder);
    for (const char* name : {"rontott.gif", "storno.gif", "version.ini"})
        QFile::remove(dir.filePath(QLatin1String(name)));
}

}  // namespace kavina::shell
