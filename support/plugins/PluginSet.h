#pragma once
// The plugins of one program run: the libraries of the program folder loaded at start-up, each
// hooked into the main menu, started by the clerk, and stopped and unloaded when the main
// window closes.
//
// A library is used only when it loads from the program folder by its full path and exports
// all six entry points; every call into a plugin is guarded, so a plugin's error return or
// exception is reported and the program goes on. Texts a plugin hands over are copied at once.
// Loading happens once per run: a user switch runs the start-up tasks again but loads nothing.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "plugin/kavina_plugin.h"

namespace kavina {

class Prompt;
class MemTable;

namespace support {

// The picture of a plugin's menu entry, as its menu record's icon text gives it.
struct PluginIcon {
    int imageIndex = -1;  // of the main menu's picture list; -1 none
    QString imagePath;    // an image file; empty none

    bool operator==(const PluginIcon&) const = default;
};

// Reads the icon text of a menu record: blank is none, up to 3 characters a picture number
// (anything else there is none), longer the path of an image file, none when it is missing.
PluginIcon pluginIcon(const QString& iconText);

// Where the plugins' menu entries go: the main window's menus.
class PluginMenus {
public:
    virtual ~PluginMenus() = default;
    virtual bool hasMenu(const QString& menuName) const = 0;
    // Adds the entry of the plugin at index under the named menu; clicking it starts it.
    virtual void addEntry(const QString& menuName, const QString& caption, const PluginIcon& icon, int index) = 0;
    // Takes every plugin entry away again.
    virtual void removeEntries() = 0;
};

// The host objects handed to every PluginAutoStart.
struct PluginHostObjects {
    KavinaTables* tables = nullptr;
    KavinaMainWindow* mainWindow = nullptr;
    KavinaMenuBar* menuBar = nullptr;
    KavinaApplication* application = nullptr;
};

// What the list window shows of a plugin, asked of it each time.
struct PluginListRow {
    QString name;
    QString version;
    QString about;
};

class PluginSet {
public:
    PluginSet(Prompt& prompt, PluginMenus& menus, PluginHostObjects host);
    ~PluginSet();  // unloads what is still loaded
    PluginSet(const PluginSet&) = delete;
    PluginSet& operator=(const PluginSet&) = delete;

    // Loads every "*.<extension>" file of the folder, in the order the file system lists them,
    // and hooks each into its menu. The files that cannot be used are named in one warning.
    // Does nothing after the first call of a run, and then returns false.
    bool load(const QString& programFolder, const QString& extension);
    // Starts every plugin whose file name is exactly the given one (the first command-line
    // argument).
    void startNamed(const QString& fileName);
    // Starts the plugin at index (its menu entry, the list window); an error is reported.
    void start(int index);
    // Stops and unloads every plugin, in loading order, and takes their menu entries away.
    void unloadAll();

    int count() const { return int(m_plugins.size()); }
    const QString& fileName(int index) const;
    // Name, version and description of every plugin, asked of each again now.
    std::vector<PluginListRow> listRows();

private:
    struct Plugin;
    std::unique_ptr<Plugin> open(const QString& folder, const QString& fileName, QString& problem);
    bool hookIntoMenu(Plugin& plugin, int index, QString& problem);
    // Runs a call into a plugin; false, with the problem told, when it failed or threw.
    bool guarded(const QString& what, const std::function<int()>& call, QString& problem);
    QString askText(KavinaPluginTextFn entry);
    void reportStartFailure(const Plugin& plugin, const QString& problem);

    Prompt& m_prompt;
    PluginMenus& m_menus;
    PluginHostObjects m_host;
    std::vector<std::unique_ptr<Plugin>> m_plugins;
    bool m_loaded = false;
};

// The plugin list window's rows (pluginListFields): Name (text 100), Ver (text 20), name2
// (text 20, the description, not shown), each cut to its field's size, and the plugin's index.
void fillPluginList(MemTable& rows, const std::vector<PluginListRow>& plugins);

// The texts the plugin windows and warnings show.
QString noPluginsText();  // "Nincsenek pluginok telepítve!"
QString skippedPluginsText(const QStringList& problems);

}  // namespace support
}  // namespace kavina
