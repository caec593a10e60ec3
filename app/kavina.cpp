// kavina, the desktop program: start-up up to the sign-in, the main window, and the sign-out.
//
//   kavina [--transcript FILE [--answer igen|nem]...]
//
// With --transcript nothing is asked on screen: messages and questions go to the file, a line
// each, and questions are answered from the --answer options in order ("nem" after the last).
// The program's windows still appear.

#include <QDir>
#include <QFileInfo>
#include <deque>
#include <memory>

#include "documents/partners/forms/PartnerCommands.h"
#include "foundation/CommandBoundary.h"
#include "foundation/Desktop.h"
#include "foundation/PrinterList.h"
#include "foundation/TextFormat.h"
#include "foundation/forms/QtPrompt.h"
#include "foundation/forms/SystemPrinters.h"
#include "foundation/forms/Windows.h"
#include "invoicing/delivery/forms/DeliveryCommands.h"
#include "invoicing/editor/forms/InvoiceCommands.h"
#include "invoicing/register/forms/CancelAndPay.h"
#include "invoicing/register/forms/RegisterCommands.h"
#include "products/register/forms/ProductCommands.h"
#include "report/view/ReportPrinter.h"
#include "shell/mainwindow/Platform.h"
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

namespace {

using namespace kavina;
using namespace kavina::shell;

struct Options {
    QString transcript;
    std::deque<bool> answers;
};

Options parseOptions(const QStringList& arguments) {
    Options options;
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--transcript"))
            options.transcript = arguments[++i];
        else if (arguments[i] == QLatin1String("--answer"))
            options.answers.push_back(arguments[++i] == QLatin1String("igen"));
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

// The main window from the sign-in to the end of the run. Returns the event loop's result.
int runMainWindow(SessionState& state, SessionActions& actions, SessionWindowsQt& windows, Desktop& desktop) {
    SystemProgramStarter starter;
    Platform platform(loadPlatformSettings(*state.ini), state.programFolder, desktop, starter, state.prompt);
    TForm1 form(state.data, state.session, actions, MainWindowSettings{state.settings, platform, state.programFolder},
                state.prompt);
    std::unique_ptr<report::ReportPrinter> printer;
    const auto printerChoice = [&state] {
        const QString pdfFolder =
            pdfPrinterSetting(state.ini->readString(QString::fromLatin1(kIniSection), QStringLiteral("pdfprinter")))
                .folder;
        return report::configuredPrinter(state.settings.printer, systemPrinterNames(), systemDefaultPrinterName(),
                                         state.programFolder, pdfFolder);
    };
    const invoicing::RegisterCommandContext registerContext{
        .data = state.data,
        .prompt = state.prompt,
        .parent = [&form] { return static_cast<QWidget*>(&form); },
        .currentUser = [&state] { return state.session.currentUser; },
        .settings = [&state]() -> const IniSettings& { return state.settings; },
        .today = [&state] { return state.clock().date(); },
        .programFolder = state.programFolder,
        .printer = printerChoice};
    const auto addToMainWindow = [&form](const QString& handler, std::function<void()> command) {
        form.commands().add(handler, std::move(command));
    };
    invoicing::addRegisterCommands(addToMainWindow, registerContext);
    invoicing::addCancelAndPayCommands(addToMainWindow, registerContext);
    // The configured printer, made when a window first needs it.
    const auto printing = [&printer, printerChoice]() -> report::PrintService* {
        printer = std::make_unique<report::ReportPrinter>(printerChoice());
        return printer.get();
    };
    documents::addPartnerCommands(
        [&form](const QString& handler, std::function<void()> command) {
            form.commands().add(handler, std::move(command));
        },
        {.data = state.data,
         .prompt = state.prompt,
         .parent = [&form] { return static_cast<QWidget*>(&form); },
         .currentUser = [&state] { return state.session.currentUser; },
         .showPriceGroups = [&state] { return state.settings.tobbar != 0; },
         .printing = printing,
         .webAddress = platform.settings().makerSite,
         .documentWindows = [registerContext](QWidget* parent) -> std::unique_ptr<invoicing::DocumentWindows> {
             return invoicing::makeDocumentWindows(parent, registerContext);
         }});
    MemoryDocument document;
    const invoicing::InvoiceCommandContext editorContext{
        .data = state.data,
        .prompt = state.prompt,
        .document = document,
        .parent = [&form] { return static_cast<QWidget*>(&form); },
        .currentUser = [&state] { return state.session.currentUser; },
        .currentRights = [&state] { return state.session.currentRights; },
        .settings = [&state]() -> const IniSettings& { return state.settings; },
        .now = state.clock,
        .desktop = desktop,
        .printing = printing,
        .save = {.ini = state.ini.get(),
                 .settings = &state.settings,
                 .serviceMenuShown = [&form] { return form.serviceMenuShown(); },
                 .printer = printerChoice},
        .documentWindows =
            [registerContext](QWidget* parent) {
                return std::unique_ptr<invoicing::DocumentWindows>(
                    invoicing::makeDocumentWindows(parent, registerContext));
            }};
    invoicing::addInvoiceCommands(addToMainWindow, editorContext);
    invoicing::addDeliveryCommands(addToMainWindow, editorContext);
    products::addProductCommands(
        [&form](const QString& handler, std::function<void()> command) {
            form.commands().add(handler, std::move(command));
        },
        {.data = state.data,
         .prompt = state.prompt,
         .parent = [&form] { return static_cast<QWidget*>(&form); },
         .currentUser = [&state] { return state.session.currentUser; },
         .currentRights = [&state] { return state.session.currentRights; },
         .settings = [&state]() -> const IniSettings& { return state.settings; },
         .desktop = desktop,
         .now = state.clock});
    actions.setWindow(&form);
    windows.setParentWindow(&form);
    windows.hideSplash();
    form.show();
    form.activateWindow();
    const int result = QCoreApplication::exec();
    actions.setWindow(nullptr);
    return result;
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
        if (outcome == StartupOutcome::Run && !endRequested) result = runMainWindow(state, actions, windows, desktop);
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
