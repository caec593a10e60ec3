// A plugin the tests build in several variants (compile definitions): it writes every call
// into the file named by the environment variable KAVINA_TEST_PLUGIN_LOG, one line each,
// prefixed with its variant's name.

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "plugin/kavina_plugin.h"

#ifndef PLUGIN_MENU
#define PLUGIN_MENU "settingsMenu"
#endif
#ifndef PLUGIN_ICON
#define PLUGIN_ICON ""
#endif
#ifndef PLUGIN_AUTOSTART_RESULT
#define PLUGIN_AUTOSTART_RESULT 0
#endif

namespace {

void logCall(const char* call) {
    const char* path = std::getenv("KAVINA_TEST_PLUGIN_LOG");
    if (!path) return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s %s\n", PLUGIN_VARIANT, call);
        std::fclose(f);
    }
}

}  // namespace

extern "C" {

const char* PluginName(void) {
    return "Teszt " PLUGIN_VARIANT;
}

const char* PluginVer(void) {
    return "2.1." PLUGIN_VARIANT;
}

const char* PluginAbout(void) {
    return "A(z) " PLUGIN_VARIANT " tesztplugin hosszú leírása, árvíztűrő tükörfúrógép";
}

int PluginAutoStart(KavinaMenuRecord* menu, KavinaTables* tables, KavinaMainWindow*, KavinaMenuBar*,
                    KavinaApplication* application) {
    logCall("AutoStart");
    const char* path = std::getenv("KAVINA_TEST_PLUGIN_LOG");
    if (tables && application && path) {
        const KavinaHostApi* api = kavina_api(tables);
        if (FILE* f = std::fopen(path, "a")) {
            std::fprintf(f, "%s folders %s %s\n", PLUGIN_VARIANT, api->dataFolder(tables),
                         api->programFolder(application));
            std::fclose(f);
        }
    }
    // Texts the plugin owns only for this call: the host must copy them at once.
    static char caption[64];
    std::snprintf(caption, sizeof caption, "%s", "Teszt " PLUGIN_VARIANT);
    menu->menu = PLUGIN_MENU;
    menu->caption = caption;
    menu->icon = PLUGIN_ICON;
    return PLUGIN_AUTOSTART_RESULT;
}

void PluginAutoStop(void) {
    logCall("AutoStop");
}

#ifndef PLUGIN_OMIT_START
int PluginStart(void) {
    logCall("Start");
#ifdef PLUGIN_START_THROWS
    throw std::runtime_error("elromlott a plugin");
#endif
#ifdef PLUGIN_START_RESULT
    return PLUGIN_START_RESULT;
#else
    return 0;
#endif
}
#endif
}
