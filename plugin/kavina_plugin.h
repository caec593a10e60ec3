/* kavina_plugin.h: the contract between Kavina and a plugin library.
 *
 * A plugin is a shared library in the program's folder whose name ends in "." followed by the
 * ini key pluginext of the [adatok] section ("kvp" unless set). The program loads every such
 * file at start-up, once per run, by its full path (never through the library search path),
 * and uses it only when it exports all six entry points below; a file that is not a library,
 * or lacks an entry point, is skipped and named in one warning.
 *
 * Calling convention: plain C (declare the entry points extern "C" in C++), the platform's
 * default C calling convention, no name mangling.
 *
 * Texts: zero-terminated UTF-8. A text a plugin returns or writes into the menu record stays
 * the plugin's: the program copies it at once and never frees it. A text the host hands out
 * stays the host's and is valid while the plugin is loaded.
 *
 * Errors: PluginAutoStart and PluginStart return 0 on success and anything else on failure;
 * the program reports a failure, and an exception escaping a C++ plugin, to the clerk and goes
 * on. A plugin whose PluginAutoStart fails is stopped and unloaded.
 *
 * Host objects reach the plugin as handles. Their content is the host's; the one member a
 * plugin may read is the host's function table, the same for every handle: kavina_api(h).
 *
 * The order of calls: PluginName, PluginVer, PluginAbout may be called at any time while the
 * plugin is loaded (the plugin list asks them each time it opens). PluginAutoStart is called
 * once, right after loading; PluginStart when the clerk starts the plugin (its menu entry, the
 * plugin list, or the plugin's file name as the program's first command-line argument);
 * PluginAutoStop once, before the library is unloaded when the main window closes.
 */
#ifndef KAVINA_PLUGIN_H
#define KAVINA_PLUGIN_H

#ifdef __cplusplus
extern "C" {
#endif

/* The version of this contract; the host's function table carries the one it implements. */
#define KAVINA_PLUGIN_API_VERSION 1

typedef struct KavinaHostApi KavinaHostApi;

/* Every host handle starts with its function table; nothing else of it is the plugin's. */
typedef struct KavinaTables {
    const KavinaHostApi* api;
} KavinaTables; /* the shared table holder of the data folder */
typedef struct KavinaMainWindow {
    const KavinaHostApi* api;
} KavinaMainWindow;
typedef struct KavinaMenuBar {
    const KavinaHostApi* api;
} KavinaMenuBar;
typedef struct KavinaApplication {
    const KavinaHostApi* api;
} KavinaApplication;

struct KavinaHostApi {
    unsigned version; /* KAVINA_PLUGIN_API_VERSION of the host */
    /* The data folder's path. */
    const char* (*dataFolder)(KavinaTables* tables);
    /* The program's folder, where the plugins are. */
    const char* (*programFolder)(KavinaApplication* application);
    /* Shows an information box over the main window and returns when the clerk closed it. */
    void (*message)(KavinaMainWindow* window, const char* caption, const char* text);
    /* The Qt objects behind the handles (QMainWindow*, QMenuBar*, QApplication*), for a
     * plugin built against the same Qt 6 as the program that wants to parent its windows. */
    void* (*qtMainWindow)(KavinaMainWindow* window);
    void* (*qtMenuBar)(KavinaMenuBar* menuBar);
    void* (*qtApplication)(KavinaApplication* application);
};

#define kavina_api(handle) ((handle)->api)

/* The menu record PluginAutoStart fills, three texts in this order:
 *   menu    the name of the main-menu entry the plugin's entry goes under: one of "fileMenu"
 *           ("Fájl"), "registersMenu" ("Törzsadatok"), "listsMenu" ("Listák"),
 *           "statisticsMenu" ("Statisztika"), "settingsMenu" ("Beállítások"), "helpMenu"
 *           ("Súgó"), or the caption of one of their submenus as shown, "&" included. A
 *           name the main window does not have skips the plugin with a warning.
 *   caption the caption of the plugin's entry.
 *   icon    empty or blank for none; at most 3 characters: the number of a picture of the
 *           main menu's picture list (anything but a number there means no picture); longer:
 *           the path of an image file (no picture when it does not exist). */
typedef struct KavinaMenuRecord {
    const char* menu;
    const char* caption;
    const char* icon;
} KavinaMenuRecord;

/* The six entry points, by these names. */
const char* PluginName(void);
const char* PluginVer(void);
const char* PluginAbout(void);
int PluginAutoStart(KavinaMenuRecord* menu, KavinaTables* tables, KavinaMainWindow* mainWindow, KavinaMenuBar* menuBar,
                    KavinaApplication* application);
void PluginAutoStop(void);
int PluginStart(void);

/* Their types, for the host. */
typedef const char* (*KavinaPluginTextFn)(void);
typedef int (*KavinaPluginAutoStartFn)(KavinaMenuRecord*, KavinaTables*, KavinaMainWindow*, KavinaMenuBar*,
                                       KavinaApplication*);
typedef void (*KavinaPluginAutoStopFn)(void);
typedef int (*KavinaPluginStartFn)(void);

#ifdef __cplusplus
}
#endif

#endif /* KAVINA_PLUGIN_H */
