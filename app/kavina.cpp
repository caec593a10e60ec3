// kavina, the desktop program: start-up up to the sign-in, the main window, and the sign-out.
//
//   kavina [--transcript FILE [--answer igen|nem]...] [PLUGIN]
//
// PLUGIN, a plugin's file name in the program folder, is started right after the plugins load.
// With --transcript nothing is asked on screen: messages and questions go to the file, a line
// each, and questions are answered from the --answer options in order ("nem" after the last).
// The program's windows still appear.

#include <QDir>
#include <QFileInfo>
#include <deque>
#include <memory>

#include "app/MainWindowWiring.h"

#include "foundation/CommandBoundary.h"
#include "foundation/Desktop.h"
#include "foundation/PrinterList.h"
#include "foundation/TextFormat.h"
#include "foundation/forms/QtPrompt.h"
#include "foundation/forms/SystemPrinters.h"
#include "foundation/forms/Windows.h"
#include "shell/mainwindow/SessionActions.h"
#include "shell/mainwindow/forms/TForm1.h"
#include "shell/startup/ErrorReporter.h"
#include "shell/startup/SessionSignals.h"
#include "shell/startup/SessionState.h"
#include "shell/startup/SessionTranscript.h"
#include "shell/startup/Shutdown.h"
#include "shell/startup/Startup.h"
#include "shell/startup/forms/ErrorReporterApplication.h"
#include "shell/startup/forms/SessionWindowsQt.h"
#include "support/errorreport/ErrorReportHandler.h"
#include "support/errorreport/forms/QtErrorEnvironment.h"
#include "support/update/forms/SupportCommands.h"

namespace {

using namespace kavina;
using namespace kavina::shell;

struct Options {
    QString transcript;
    std::deque<bool> answers;
    QString plugin;  // the first argument that is no option: a plugin's file name to start
};

Options parseOptions(const QStringList& arguments) {
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const bool hasValue = i + 1 < arguments.size();
        if (arguments[i] == QLatin1String("--transcript") && hasValue)
            options.transcript = arguments[++i];
        else if (arguments[i] == QLatin1String("--answer") && hasValue)
            options.answers.push_back(arguments[++i] == QLatin1String("igen"));
        else if (options.plugin.isEmpty() && !arguments[i].startsWith(QLatin1String("--")))
            options.plugin = arguments[i];
    }
    return options;
}

std::unique_ptr<Prompt> makePrompt(const Options& options) {
    if (options.transcript.isEmpty()) return std::make_unique<QtPrompt>();
    return std::make_unique<SessionTranscript>(options.transcript, options.answers);
}

QString buildDate() {
    return dateText(QFileInfo(QCoreApplication::applicationFilePath()).lastModified().date());
}

}  // namespace

int main(int argc, char** argv) {
    ErrorReporterApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kavina"));
    installHungarianTranslator(app);
    useHungarianLocale();
    const Options options = parseOptions(QCoreApplication::arguments());
    std::unique_ptr<Prompt> prompt = makePrompt(options);
    ErrorReporter reporter(*prompt);
    const ScopedErrorReporter programWide([&reporter](std::exception_ptr error) { reporter.report(error); });
    app.setPrompt(prompt.get());

    // The program folder is the current one: the ini file's relative data folder and the files
    // the main window writes beside the program are taken from there.
    const QString programFolder = QCoreApplication::applicationDirPath();
    QDir::setCurrent(programFolder);
    SessionState state(programFolder, *prompt, systemClock());
    state.session.buildDate = buildDate();
    SystemDesktop desktop;
    // From here on an unexpected error is written up as an error report beside the program.
    support::QtErrorEnvironment errorEnvironment(
        {.openReport = [&desktop](const QString& path) { desktop.openFile(path); },
         .mailReport =
             [&state](const support::ErrorWindowContent& content) {
                 try {
                     const IniFile ini(state.iniPath());
                     return support::mailErrorReportNow(ini, state.data.dataFolder().empty() ? nullptr : &state.data,
                                                        state.prompt, content.reportPath, content.screenshotPath);
                 } catch (const IniError& e) {
                     state.prompt.warning(QStringLiteral("Figyelem!"), QString::fromUtf8(e.what()));
                     return false;
                 }
             }},
        options.transcript.isEmpty() ? nullptr : prompt.get());
    support::ErrorReportHandler errorReports(
        {.programFolder = programFolder,
         .executablePath = QCoreApplication::applicationFilePath(),
         .buildDate = [&state] { return state.session.buildDate; },
         .data = [&state] { return state.data.dataFolder().empty() ? nullptr : &state.data; }},
        errorEnvironment);
    const ScopedErrorReporter reports([&errorReports](std::exception_ptr error) { errorReports.report(error); });
    const QStringList systemPrinters = systemPrinterNames();
    SessionWindowsQt windows(state, desktop, printerList(systemPrinters));
    SessionActions actions(state, windows, [] { QCoreApplication::exit(0); });
    // Asked by the system to end: every event loop is left, and the sign-out follows once the
    // work in hand is done (it may come in the middle of a reindex).
    bool endRequested = false;
    endOnTerminationSignals([&endRequested] {
        endRequested = true;
        QCoreApplication::exit(0);
    });

    int result = 0;
    try {
        const StartupOutcome outcome = Startup(state, windows, systemPrinters, systemDefaultPrinterName()).run();
        if (outcome == StartupOutcome::Run && !endRequested)
            result = app::runMainWindow(state, actions, windows, desktop, options.plugin,
                                        [](TForm1&) { return QCoreApplication::exec(); });
        if (endRequested) signOut(state);
        if (outcome == StartupOutcome::Exit) return 0;
    } catch (...) {
        windows.hideSplash();
        handleCommandError(std::current_exception(), *prompt);
        return 1;
    }
    removeLeftoverFiles(QDir::currentPath());
    return result;
}
