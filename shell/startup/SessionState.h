#pragma once
// Everything one running instance keeps for the whole run and the shell's operations share:
// the program folder and its ini file, the workstation settings, the data module, the
// run-wide session values, this instance's userlog row, the clock and the prompt.
//
// The ini file is read by start-up; the userlog row keeper exists once the handles are bound.

#include <QString>
#include <memory>
#include <optional>

#include "foundation/IniFile.h"
#include "foundation/IniSettings.h"
#include "foundation/TDataModule1.h"
#include "shell/startup/SessionClock.h"
#include "shell/startup/SessionLog.h"
#include "shell/startup/ShellContext.h"

namespace kavina {
class Prompt;
}

namespace kavina::shell {

struct SessionState {
    SessionState(QString programFolder, Prompt& prompt, Clock clock)
        : programFolder(std::move(programFolder)), prompt(prompt), clock(std::move(clock)) {}

    QString iniPath() const { return iniFilePath(programFolder); }
    // Re-reads the ini file. Throws IniError.
    void reloadIni() { ini = std::make_unique<IniFile>(iniPath()); }
    // Binds the data module's handles to the session's data folder.
    void bindTables() {
        data.bind(session.dataFolder.toStdString());
        log.emplace(data.LoginTable(), clock);
    }

    QString programFolder;
    Prompt& prompt;
    Clock clock;
    std::unique_ptr<IniFile> ini;
    IniSettings settings;
    Session session;
    TDataModule1 data;
    std::optional<SessionLog> log;
};

}  // namespace kavina::shell
