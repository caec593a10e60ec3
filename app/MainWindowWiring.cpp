#include "app/MainWindowWiring.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <memory>
#include <vector>

#include "documents/partners/forms/PartnerCommands.h"
#include "documents/partners/forms/TaxpayerLookupHook.h"
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
#include "invoicing/navdata/InvoiceDataQueue.h"
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
#include "reports/products/forms/ProductPartnerCommands.h"
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
#include "support/nav/TableInvoiceQueue.h"
#include "support/nav/forms/NavCommands.h"
#include "support/nav/forms/NavReporting.h"
#include "support/plugins/PluginSet.h"
#include "support/plugins/forms/QtPluginHost.h"
#include "support/plugins/forms/TPluginform.h"
#include "support/update/forms/SupportCommands.h"

namespace kavina::app {

using namespace kavina::shell;

int runMainWindow(SessionState& state, SessionActions& actions, SessionWindowsQt& windows, Desktop& desktop,
                  const QString& pluginToStart, const MainWindowLoop& loop) {
    SystemProgramStarter starter;
    Platform platform(loadPlatformSettings(*state.ini), state.programFolder, desktop, starter, state.prompt);
    TForm1 form(state.data, state.session, actions, MainWindowSettings{state.settings, platform, state.programFolder},
                state.prompt);
    // Every printer made stays until the main window goes: a window may still hold the one it got
    // when a later command asks for the printer again.
    std::vector<std::unique_ptr<report::ReportPrinter>> printers;
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
    // The configured printer, made when a window needs it, so that a changed setting counts.
    const auto printing = [&printers, printerChoice]() -> report::PrintService* {
        printers.push_back(std::make_unique<report::ReportPrinter>(printerChoice()));
        return printers.back().get();
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
    reports::addProductPartnerCommands(addToMainWindow,
                                       {.data = state.data,
                                        .prompt = state.prompt,
                                        .desktop = desktop,
                                        .parent = [&form] { return static_cast<QWidget*>(&form); },
                                        .now = state.clock,
                                        .currentUser = [&state] { return state.session.currentUser; },
                                        .printing = printing,
                                        .settings = [&state]() -> const IniSettings& { return state.settings; }});
    // The plugins, loaded once after the first start-up tasks; they are stopped and unloaded
    // before the main window goes.
    support::QtPluginHost pluginHost(form, state.prompt, state.session.dataFolder, state.programFolder);
    support::QtPluginMenus pluginMenus(form, menuPictures());
    support::PluginSet plugins(state.prompt, pluginMenus, pluginHost.objects());
    pluginMenus.setStarter([&plugins](int index) { plugins.start(index); });
    // Online invoice reporting: the sender beside the window with its line in the status bar.
    nav::NavReporting navReporting(*form.statusBar(), state.session.dataFolder, [folder = state.session.dataFolder] {
        return std::unique_ptr<nav::InvoiceQueue>(std::make_unique<nav::TableInvoiceQueue>(folder));
    });
    // A stored invoice, corrective invoice or storno is reported at once.
    nav::setQueuedListener([&navReporting] { navReporting.wake(); });
    const auto forgetListener = qScopeGuard([] { nav::setQueuedListener({}); });
    actions.setAfterStartupTasks([&plugins, &state, pluginToStart, &navReporting] {
        // After the start-up tasks: an upgrade among them may have just made the queue.
        navReporting.start();
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
    // Online invoice reporting: its settings, the reconciliation window, and the partner dialog's
    // look-up by tax number.
    const nav::NavCommandContext navContext{.prompt = state.prompt,
                                            .parent = [&form] { return static_cast<QWidget*>(&form); },
                                            .dataFolder = [&state] { return state.session.dataFolder; },
                                            .currentRole = [&state] { return state.session.currentRole; },
                                            .queue = [&navReporting] { return navReporting.queue(); },
                                            .rebuildInvoiceData =
                                                [&state](const nav::QueuedInvoice& e) {
                                                    nav::InvoiceDataBuilder builder(state.data.dataFolder());
                                                    return nav::rebuildQueued(builder, e.invoiceNumber, e.operation,
                                                                              e.baseNumber, e.modificationIndex);
                                                },
                                            .wakeSender = [&navReporting] { navReporting.wake(); }};
    nav::addNavCommands(addToMainWindow, navContext);
    documents::setTaxpayerLookup(
        [navContext](QWidget*, const QString& taxNumber,
                     const documents::TaxpayerDetails& current) -> std::optional<documents::TaxpayerDetails> {
            const auto found = nav::lookUpTaxpayer(navContext, taxNumber,
                                                   {current.name, current.postcode, current.town, current.street});
            if (!found) return std::nullopt;
            return documents::TaxpayerDetails{found->name, found->postalCode, found->city, found->street};
        });
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
    const int result = loop(form);
    actions.setWindow(nullptr);
    actions.setAfterStartupTasks(nullptr);
    plugins.unloadAll();
    return result;
}

}  // namespace kavina::app
