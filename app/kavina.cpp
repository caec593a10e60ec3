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

#include "documents/partners/forms/PartnerCommands.h"
#include "documents/warranty/forms/WarrantyCommands.h"
#include "documents/worksheets/forms/WorksheetCommands.h"
#include "foundation/CommandBoundary.h"
#include "foundation/Desktop.h"
#include "foundation/PrinterList.h"
#include "foundation/TextFormat.h"
#include "foundation/forms/QtPrompt.h"
#include "foundation/forms/SystemPrinters.h"
#include "foundation/forms/Windows.h"
#include "invoicing/delivery/forms/DeliveryCommands.h"
#include "invoicing/editor/forms/InvoiceCommands.h"
#include "invoicing/navdata/forms/TaxAuditDialog.h"
#include "invoicing/register/DocumentRegister.h"
#include "invoicing/register/forms/CancelAndPay.h"
#include "invoicing/register/forms/RegisterCommands.h"
#include "maintenance/backup/forms/MaintenanceCommands.h"
#include "products/pickers/forms/ProductPicker.h"
#include "products/pickers/forms/QtPickerWindows.h"
#include "products/register/forms/ProductCommands.h"
#include "products/register/forms/TAnyagForm.h"
#include "report/view/ReportPrinter.h"
#include "reports/turnover/forms/StatisticsCommands.h"
#include "shell/mainwindow/Platform.h"
#include "shell/mainwindow/SessionActions.h"
#include "shell/mainwindow/forms/TForm1.h"
#include "shell/mainwindow/forms/ToolbarIcons.h"
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
#include "support/plugins/PluginSet.h"
#include "support/plugins/forms/QtPluginHost.h"
#include "support/plugins/forms/TPluginform.h"
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

// The main window from the sign-in to the end of the run. Returns the event loop's result.
int runMainWindow(SessionState& state, SessionActions& actions, SessionWindowsQt& windows, Desktop& desktop,
                  const QString& pluginToStart) {
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
    invoicing::addTaxAuditCommand(addToMainWindow, registerContext);
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
    documents::addWorksheetCommands(addToMainWindow,
                                    {.data = state.data,
                                     .prompt = state.prompt,
                                     .parent = [&form] { return static_cast<QWidget*>(&form); },
                                     .currentUser = [&state] { return state.session.currentUser; },
                                     .today = [&state] { return state.clock().date(); },
                                     .showPriceGroups = [&state] { return state.settings.tobbar != 0; },
                                     .printing = printing,
                                     .printer = printerChoice,
                                     .webAddress = platform.settings().makerSite});
    documents::addWarrantyCommands(
        addToMainWindow,
        {.data = state.data,
         .prompt = state.prompt,
         .parent = [&form] { return static_cast<QWidget*>(&form); },
         .currentUser = [&state] { return state.session.currentUser; },
         .today = [&state] { return state.clock().date(); },
         .showPriceGroups = [&state] { return state.settings.tobbar != 0; },
         .printing = printing,
         .printer = printerChoice,
         .webAddress = platform.settings().makerSite,
         .pickInvoice = [&state, registerContext](QWidget* parent) -> std::optional<QString> {
             const auto windows = invoicing::makeDocumentWindows(parent, registerContext);
             invoicing::RegisterRequest request;
             request.caption = QStringLiteral("Számlák");
             request.selection = true;
             if (!invoicing::openRegister(state.data, *windows, request,
                                          documents::warrantyInvoiceFilter(state.clock().date())))
                 return std::nullopt;
             return state.data.SzamlaTable().asString(fields::Szamla::SZAMLASZAM).trimmed();
         },
         .pickLines =
             [&state, &desktop](QWidget* parent, documents::WarrantyDocument& certificate) {
                 products::QtPickerWindows pickWindows(parent, state.prompt, state.data.dataFolder(),
                                                       &certificate.gari2,
                                                       certificate.gari.asString(fields::Garancia::SORSZAM).trimmed());
                 int warehouse = 0;
                 products::AnyagFormOptions options;
                 options.window = {.settings = &state.settings,
                                   .rights = state.session.currentRights,
                                   .currentUser = state.session.currentUser,
                                   .now = state.clock,
                                   .rememberedWarehouse = &warehouse,
                                   .goodsReceiptInProgress = {}};
                 options.desktop = &desktop;
                 products::ProductPicker picker(parent, state.data, state.prompt, options, pickWindows);
                 picker.request().mode = products::CallerMode::Warranty;
                 picker.request().priceGroup = products::pickPriceGroup(1, state.settings.tobbar);
                 return picker.pick();
             }});
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
         .now = state.clock,
         .printing = printing});
    reports::addStatisticsCommands(addToMainWindow, {.data = state.data,
                                                     .prompt = state.prompt,
                                                     .parent = [&form] { return static_cast<QWidget*>(&form); },
                                                     .today = [&state] { return state.clock().date(); },
                                                     .currentUser = [&state] { return state.session.currentUser; },
                                                     .printing = printing});
    // The plugins, loaded once after the first start-up tasks; they are stopped and unloaded
    // before the main window goes.
    support::QtPluginHost pluginHost(form, state.prompt, state.session.dataFolder, state.programFolder);
    support::QtPluginMenus pluginMenus(form, menuPictures());
    support::PluginSet plugins(state.prompt, pluginMenus, pluginHost.objects());
    pluginMenus.setStarter([&plugins](int index) { plugins.start(index); });
    actions.setAfterStartupTasks([&plugins, &state, pluginToStart] {
        if (plugins.load(state.programFolder, state.settings.pluginext) && !pluginToStart.isEmpty())
            plugins.startNamed(pluginToStart);
    });
    form.commands().add(QStringLiteral("mPluginClick"), [&form, &plugins, &state] {
        support::TPluginform list(&form, plugins, state.settings, state.prompt);
        list.exec();
    });
    support::addSupportCommands(
        addToMainWindow, {.data = state.data,
                          .prompt = state.prompt,
                          .mainWindow = [&form] { return static_cast<QMainWindow*>(&form); },
                          .programFolder = state.programFolder,
                          .ini = [&state] { return IniFile(state.iniPath()); },
                          .buildDate = [&state] { return parseDateText(state.session.buildDate).value_or(QDate()); },
                          .desktop = desktop,
                          .endProgram =
                              [&state] {
                                  signOut(state);
                                  QCoreApplication::exit(0);
                              }});
    maintenance::addMaintenanceCommands(addToMainWindow, {.data = state.data,
                                                          .prompt = state.prompt,
                                                          .parent = [&form] { return static_cast<QWidget*>(&form); },
                                                          .saveFolder = [&state] { return state.settings.savepath; },
                                                          .now = state.clock});
    actions.setWindow(&form);
    windows.setParentWindow(&form);
    windows.hideSplash();
    form.show();
    form.activateWindow();
    const int result = QCoreApplication::exec();
    actions.setWindow(nullptr);
    actions.setAfterStartupTasks(nullptr);
    plugins.unloadAll();
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
            result = runMainWindow(state, actions, windows, desktop, options.plugin);
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
