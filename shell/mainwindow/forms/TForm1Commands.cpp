// The commands of the main window that this window and the shell carry out themselves; the
// entries of the business windows are registered by the features that own those windows.

#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

#include "foundation/PrinterList.h"
#include "foundation/forms/SystemPrinters.h"
#include "shell/mainwindow/forms/AboutBox.h"
#include "shell/mainwindow/forms/TForm1.h"
#include "shell/tableviewer/forms/TableViewerDialog.h"

namespace kavina::shell {

void TForm1::registerCommands() {
    MainWindowCommands& c = m_commands;
    c.add("mSelectUserClick", [this] { m_actions.switchUser(); });
    c.add("mCurrentUserClick", [this] { m_actions.showActiveUsers(); });
    c.add("TBItem14Click", [this] { m_actions.lockProgram(); });
    c.add("reindex", [this] { m_actions.reindex(); });
    c.add("Felhasznlk1Click", [this] { m_actions.openUsers(); });
    c.add("JelszoEditClick", [this] { m_actions.changePassword(); });
    c.add("SetupMenu", [this] { m_actions.openSettings(); });
    c.add("mExitApplicationClick", [this] { close(); });

    Platform& platform = m_settings.platform;
    c.add("Szamologep", [&platform] { platform.startCalculator(); });
    c.add("Sugo", [&platform] { platform.openHelp(); });
    c.add("mHomepageClick", [&platform] { platform.openProductPage(); });
    c.add("mHomepage2Click", [&platform] { platform.openMakerSite(); });
    c.add("mSendMailClick", [&platform] { platform.mailSupport(); });
    registerDialogCommands();
}

void TForm1::registerDialogCommands() {
    m_commands.add("mPrinterSetupClick", [this] { setupPrinter(); });
    m_commands.add("mAboutClick", [this] { showAbout(); });
    m_commands.add("mSzervizTablaClick", [this] { showTableViewer(); });
    m_commands.add("TBItem8Click", [this] { closeServiceMenu(); });
}

QPrinter& TForm1::documentPrinter() {
    if (!m_printer) {
        const QStringList printers = printerList(systemPrinterNames());
        const int index = m_settings.ini.printer;
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (index >= 0 && index < printers.size() && printers[index] != kPdfPrinterName)
            m_printer->setPrinterName(printers[index]);
        else
            m_printer->setOutputFormat(QPrinter::PdfFormat);
    }
    return *m_printer;
}

void TForm1::setupPrinter() {
    QPrintDialog dialog(&documentPrinter(), this);
    dialog.setObjectName("printerSetupDialog");
    dialog.setWindowTitle(QStringLiteral("Nyomtató beállítása"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    m_runDialog(dialog);
}

void TForm1::showAbout() {
    Platform& platform = m_settings.platform;
    AboutBox box(m_session.buildDate, platform.settings(),
                 {[&platform] { platform.openMakerSite(); }, [&platform] { platform.openProductPage(); },
                  [&platform] { platform.mailSupport(); }},
                 this);
    m_runDialog(box);
}

void TForm1::showTableViewer() {
    TableViewerDialog viewer(m_data, m_prompt, m_settings.platform.desktop(), m_settings.ini, this);
    m_runDialog(viewer);
}

void TForm1::closeServiceMenu() {
    m_serviceMenuClosed = true;
    m_menus[kServiceMenuName]->menuAction()->setVisible(false);
}

}  // namespace kavina::shell
