#pragma once
// The main window's actions on the desktop around the program: the calculator, the help file,
// the date and time settings, the maker's web pages and the support mail. Programs are started
// and files opened through interfaces, so tests record what would have run.
//
// Workstation keys of the ini section adatok that this module reads (all optional):
//   calculator   the calculator to start (a command line) instead of the first desktop
//                calculator found on the PATH
//   datecommand  the command line that opens the date and time settings
//   makersite, productpage, supportmail   the addresses behind the web links

#include <QString>
#include <QStringList>

#include "foundation/Desktop.h"
#include "foundation/IniFile.h"
#include "foundation/Prompt.h"

namespace kavina::shell {

struct PlatformSettings {
    QString calculator;
    QString dateCommand;
    QString makerSite = QStringLiteral("https://www.lumetra.hu/");
    QString productPage = QStringLiteral("https://www.lumetra.hu/kavina/");
    QString supportMail = QStringLiteral("kavina@lumetra.hu");
};

// The keys above; a missing or empty key keeps its default.
PlatformSettings loadPlatformSettings(const IniFile& ini);

// The desktop calculators tried in order, and the commands that open the date settings.
const QStringList& desktopCalculators();
const QStringList& dateSettingsCommands();

inline const QString kHelpFileName = QStringLiteral("kavina.chm");

class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // The full path of a program on the PATH (or the path itself when it names an executable
    // file), or empty.
    virtual QString findProgram(const QString& name) const = 0;
    // Starts the program without waiting for it; false when it could not be started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};

class SystemProgramStarter : public ProgramStarter {
public:
    QString findProgram(const QString& name) const override;
    bool start(const QString& program, const QStringList& arguments) override;
};

class Platform {
public:
    Platform(PlatformSettings settings, QString programFolder, Desktop& desktop, ProgramStarter& starter,
             Prompt& prompt);

    const PlatformSettings& settings() const { return m_settings; }
    Desktop& desktop() { return m_desktop; }

    // "Számológép" and F3.
    void startCalculator();
    // "&A program leírása" and F1: kavina.chm of the program folder.
    void openHelp();
    // The date and time settings (ini key datumkeres).
    void openDateSettings();
    void openMakerSite();
    void openProductPage();
    // A new mail to the support address.
    void mailSupport();

private:
    // Starts the first command line whose program is found; false when none could start.
    bool startFirst(const QStringList& commandLines);
    void openAddress(const QString& address);

    PlatformSettings m_settings;
    QString m_programFolder;
    Desktop& m_desktop;
    ProgramStarter& m_starter;
    Prompt& m_prompt;
};

}  // namespace kavina::shell
