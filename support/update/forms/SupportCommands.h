#pragma once
// The main window's commands of error reporting and outside communication:
// "Hibajelentések áttekintése" (mHibajelentesekClick), "Frissítés keresése..." (InternetFriss),
// "Észrevételek küldése" (mEszrevetelClick) and "Szándékos hiba okozása" (TBItem1Click).

#include <QDate>
#include <QString>
#include <functional>

#include "foundation/Desktop.h"
#include "foundation/IniFile.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

class QMainWindow;
class QWidget;

namespace kavina::support {

struct SupportCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    std::function<QMainWindow*()> mainWindow;
    QString programFolder;
    // The settings file, read again for each command, so a changed deployment setting counts.
    std::function<IniFile()> ini;
    std::function<QDate()> buildDate;
    Desktop& desktop;
    // Signs off and ends the program, without the exit question.
    std::function<void()> endProgram;
};

void addSupportCommands(const std::function<void(const QString& handler, std::function<void()> command)>& add,
                        const SupportCommandContext& context);

// Mails a report from the error window; for the program's error reporter.
bool mailErrorReportNow(const IniFile& ini, TDataModule1* data, Prompt& prompt, const QString& reportPath,
                        const QString& screenshotPath);

}  // namespace kavina::support
