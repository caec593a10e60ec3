#pragma once
// The start-up tasks the main window runs 100 ms after it first appears (and again after a
// user switch): menus and rights, the settings record checks with the year opening, the
// caption, the VAT groups the program relies on, and the one-off data fixes, each guarded by
// its ini key, and the database upgrade while the ini level (spack) is below the last step. The plugins
// load after these tasks, once per run (SessionActions::setAfterStartupTasks).

#include <QString>

namespace kavina::shell {

struct SessionState;
class SessionWindows;
class MainWindowControl;
enum class SettingsPage;

class StartupTasks {
public:
    StartupTasks(SessionState& state, SessionWindows& windows, MainWindowControl& window);

    void run();

    // Year opening: when SUTOTAG is before this year, asks and on "Igen" resets the counters.
    // True when they were reset. Another workstation that opened the year meanwhile is
    // noticed on the re-read record and nothing is reset twice.
    bool openYear();
    // The settings record checks: the default record of an empty user.dbf, the company name
    // still the default, the mandatory affixes; each may open the settings dialog.
    void checkSettingsRecord();
    // "FAD" is there, "T.A.M." and "TAM" are not.
    void fixVatGroups();
    // Runs the upgrade window while spack is below the last step and writes the level it reached.
    void upgradeDatabase();
    // pkod, nszam and rkod, each once per workstation; a fix whose fields or tables the folder
    // lacks waits, unmarked, for a later start.
    void runOneOffFixes();

private:
    void checkAffixes();
    void showSettings(SettingsPage page);
    bool copyPartnerCodes();
    bool recomputeNetPrices();
    bool fillWarehouseLabels();
    void markDone(const char* key, int& setting);

    SessionState& m_state;
    SessionWindows& m_windows;
    MainWindowControl& m_window;
};

// The question of the year opening.
QString yearOpeningQuestion();

}  // namespace kavina::shell
