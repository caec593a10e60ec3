// A sample Kavina plugin: it adds "Mintaplugin" to the "Beállítások" menu, and starting it
// shows a small window with the data folder the program works on.
//
// Build it as a shared library named "<anything>.kvp" and put it in the program's folder.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "plugin/kavina_plugin.h"

namespace {

KavinaTables* g_tables = nullptr;
KavinaMainWindow* g_window = nullptr;

}  // namespace

extern "C" {

const char* PluginName(void) {
    return "Mintaplugin";
}

const char* PluginVer(void) {
    return "1.0";
}

const char* PluginAbout(void) {
    return "Minta a pluginok írásához: egy ablakot nyit az adatmappa nevével.";
}

int PluginAutoStart(KavinaMenuRecord* menu, KavinaTables* tables, KavinaMainWindow* mainWindow,
                    KavinaMenuBar* /*menuBar*/, KavinaApplication* /*application*/) {
    g_tables = tables;
    g_window = mainWindow;
    menu->menu = "settingsMenu";
    menu->caption = "Mintaplugin";
    menu->icon = "";
    return 0;
}

void PluginAutoStop(void) {
    g_tables = nullptr;
    g_window = nullptr;
}

int PluginStart(void) {
    if (!g_window) return 1;
    const KavinaHostApi* api = kavina_api(g_window);
    auto* parent = static_cast<QWidget*>(api->qtMainWindow(g_window));
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("samplePluginWindow"));
    dialog.setWindowTitle(QStringLiteral("Mintaplugin"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Adatmappa: ") + QString::fromUtf8(api->dataFolder(g_tables))));
    auto* close = new QPushButton(QStringLiteral("&Bezárás"));
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(close);
    dialog.exec();
    return 0;
}

}  // extern "C"
