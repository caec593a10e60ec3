#pragma once
// The program's main sequence up to the main window: the ini file (made through the folder
// dialog on a first start), the data folder and printer checks, the tables bound and opened
// one by one with the repair of lost index files, the stale-row purge of userlog.dbf, the
// sign-in, the splash, the crash flag and the reindex decision, the remaining tables and the
// data fix. Every refusal ends the program with its message and changes no table.

#include <QString>
#include <QStringList>

namespace kavina::shell {

struct SessionState;
class SessionWindows;

enum class StartupOutcome { Run, Exit };

class Startup {
public:
    // systemPrinters: the printers the operating system offers (the program adds its PDF
    // printer to them unless the ini key pdfprinter is 0).
    Startup(SessionState& state, SessionWindows& windows, QStringList systemPrinters, QString systemDefaultPrinter);

    // Runs the sequence. Exit: the program is to end (a refusal shown, or no sign-in).
    // Throws what a table or the ini file throws beyond the refusals handled here.
    StartupOutcome run();

private:
    bool ensureIniFile();
    void readIni();
    bool checkDataFolder();
    bool checkTablesInFolder(const QString& folder);
    bool checkPrinter();
    bool openSettingsTable();
    void reportDamagedJournal();
    void openUserTables();
    bool signIn();
    void afterSignIn();
    void markRunning();
    void reindexWhereNeeded();
    void finishInterruptedRestore();
    void openRemainingTables();
    void fixCashSaleTypes();

    SessionState& m_state;
    SessionWindows& m_windows;
    QStringList m_systemPrinters;
    QString m_systemDefault;
    bool m_lastRunEndedCleanly = true;
    bool m_autoindex = false;
};

// Tfoldselect's "Ok": a new ini file of exactly the section line and the data folder, which
// ends in a path separator. Written through a temporary file. Throws IniError.
void writeNewIniFile(const QString& path, const QString& dataFolder);

// The crash box's text.
QString crashBoxText();

// The warning of every start while a journal that could not be rolled back in full is kept.
QString damagedJournalText(const QString& keptJournal);

}  // namespace kavina::shell
