#include "support/plugins/PluginSet.h"

#include <dlfcn.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <exception>

#include "foundation/MemTable.h"
#include "foundation/Prompt.h"
#include "support/plugins/PluginListFields.h"

namespace kavina::support {

namespace {

const QString kWarningCaption = QStringLiteral("Figyelem!");

QString fromPlugin(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// The address of an entry point, or null.
template <typename Fn>
Fn entryPoint(void* library, const char* name) {
    return reinterpret_cast<Fn>(dlsym(library, name));
}

}  // namespace

struct PluginSet::Plugin {
    QString fileName;
    void* library = nullptr;
    KavinaPluginTextFn name = nullptr;
    KavinaPluginTextFn version = nullptr;
    KavinaPluginTextFn about = nullptr;
    KavinaPluginAutoStartFn autoStart = nullptr;
    KavinaPluginAutoStopFn autoStop = nullptr;
    KavinaPluginStartFn start = nullptr;
    QString menuName;
    QString caption;
    QString iconText;
    bool started = false;  // PluginAutoStart succeeded: PluginAutoStop is due

    ~Plugin() {
        if (library) dlclose(library);
    }
};

PluginIcon pluginIcon(const QString& iconText) {
    const QString text = iconText.trimmed();
    if (text.isEmpty()) return {};
    if (iconText.size() <= 3) {
        bool number = false;
        const int index = text.toInt(&number);
        return number && index >= 0 ? PluginIcon{index, {}} : PluginIcon{};
    }
    return QFileInfo(iconText).isFile() ? PluginIcon{-1, iconText} : PluginIcon{};
}

PluginSet::PluginSet(Prompt& prompt, PluginMenus& menus, PluginHostObjects host)
    : m_prompt(prompt), m_menus(menus), m_host(host) {}

PluginSet::~PluginSet() {
    unloadAll();
}

bool PluginSet::load(const QString& programFolder, const QString& extension) {
    if (m_loaded) return false;
    m_loaded = true;
    const QDir folder(programFolder);
    const QStringList files =
        folder.entryList({QStringLiteral("*.") + extension}, QDir::Files | QDir::Hidden, QDir::Unsorted);
    QStringList problems;
    for (const QString& file : files) {
        QString problem;
        std::unique_ptr<Plugin> plugin = open(folder.absolutePath(), file, problem);
        if (plugin && !hookIntoMenu(*plugin, int(m_plugins.size()), problem)) plugin.reset();
        if (plugin)
            m_plugins.push_back(std::move(plugin));
        else
            problems << file + QStringLiteral(": ") + problem;
    }
    if (!problems.isEmpty()) m_prompt.warning(kWarningCaption, skippedPluginsText(problems));
    return true;
}

std::unique_ptr<PluginSet::Plugin> PluginSet::open(const QString& folder, const QString& fileName, QString& problem) {
    // The full path keeps the loader from looking anywhere but the program folder.
    const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + fileName);
    auto plugin = std::make_unique<Plugin>();
    plugin->fileName = fileName;
    plugin->library = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!plugin->library) {
        problem = QStringLiteral("nem tölthető be programkönyvtárként (%1)").arg(QString::fromLocal8Bit(dlerror()));
        return nullptr;
    }
    plugin->name = entryPoint<KavinaPluginTextFn>(plugin->library, "PluginName");
    plugin->version = entryPoint<KavinaPluginTextFn>(plugin->library, "PluginVer");
    plugin->about = entryPoint<KavinaPluginTextFn>(plugin->library, "PluginAbout");
    plugin->autoStart = entryPoint<KavinaPluginAutoStartFn>(plugin->library, "PluginAutoStart");
    plugin->autoStop = entryPoint<KavinaPluginAutoStopFn>(plugin->library, "PluginAutoStop");
    plugin->start = entryPoint<KavinaPluginStartFn>(plugin->library, "PluginStart");
    const std::pair<const char*, bool> entries[] = {
        {"PluginName", plugin->name != nullptr},         {"PluginVer", plugin->version != nullptr},
        {"PluginAbout", plugin->about != nullptr},       {"PluginAutoStart", plugin->autoStart != nullptr},
        {"PluginAutoStop", plugin->autoStop != nullptr}, {"PluginStart", plugin->start != nullptr}};
    QStringList missing;
    for (const auto& [name, found] : entries)
        if (!found) missing << QString::fromLatin1(name);
    if (!missing.isEmpty()) {
        problem = QStringLiteral("hiányzó belépési pont: %1").arg(missing.join(QStringLiteral(", ")));
        return nullptr;
    }
    return plugin;
}

bool PluginSet::hookIntoMenu(Plugin& plugin, int index, QString& problem) {
    KavinaMenuRecord record{"", "", ""};
    const bool started = guarded(
        QStringLiteral("PluginAutoStart"),
        [&] { return plugin.autoStart(&record, m_host.tables, m_host.mainWindow, m_host.menuBar, m_host.application); },
        problem);
    if (!started) return false;
    plugin.started = true;
    plugin.menuName = fromPlugin(record.menu);
    plugin.caption = fromPlugin(record.caption);
    plugin.iconText = fromPlugin(record.icon);
    if (!m_menus.hasMenu(plugin.menuName)) {
        problem = QStringLiteral("a programban nincs \"%1\" nevű menü").arg(plugin.menuName);
        QString stopProblem;
        guarded(
            QStringLiteral("PluginAutoStop"), [&] { return plugin.autoStop(), 0; }, stopProblem);
        plugin.started = false;
        return false;
    }
    m_menus.addEntry(plugin.menuName, plugin.caption, pluginIcon(plugin.iconText), index);
    return true;
}

bool PluginSet::guarded(const QString& what, const std::function<int()>& call, QString& problem) {
    try {
        const int result = call();
        if (result == 0) return true;
        problem = QStringLiteral("a(z) %1 hibát jelzett (%2)").arg(what).arg(result);
    } catch (const std::exception& e) {
        problem = QStringLiteral("a(z) %1 kivételt dobott: %2").arg(what, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        problem = QStringLiteral("a(z) %1 ismeretlen kivételt dobott").arg(what);
    }
    return false;
}

void PluginSet::startNamed(const QString& fileName) {
    for (int i = 0; i < count(); ++i)
        if (m_plugins[size_t(i)]->fileName == fileName) start(i);
}

void PluginSet::start(int index) {
    if (index < 0 || index >= count()) return;
    const Plugin& plugin = *m_plugins[size_t(index)];
    QString problem;
    if (!guarded(
            QStringLiteral("PluginStart"), [&] { return plugin.start(); }, problem))
        reportStartFailure(plugin, problem);
}

void PluginSet::reportStartFailure(const Plugin& plugin, const QString& problem) {
    m_prompt.error(QStringLiteral("Hiba"),
                   QStringLiteral("A(z) %1 plugin futása nem sikerült: %2").arg(plugin.fileName, problem));
}

void PluginSet::unloadAll() {
    m_menus.removeEntries();
    QStringList problems;
    for (const std::unique_ptr<Plugin>& plugin : m_plugins) {
        QString problem;
        if (plugin->started && !guarded(
                                   QStringLiteral("PluginAutoStop"), [&] { return plugin->autoStop(), 0; }, problem))
            problems << plugin->fileName + QStringLiteral(": ") + problem;
    }
    m_plugins.clear();
    if (!problems.isEmpty())
        m_prompt.warning(kWarningCaption,
                         QStringLiteral("A következő pluginok leállítása nem sikerült:\n") + problems.join('\n'));
}

const QString& PluginSet::fileName(int index) const {
    return m_plugins.at(size_t(index))->fileName;
}

QString PluginSet::askText(KavinaPluginTextFn entry) {
    QString text;
    QString problem;
    guarded(
        QStringLiteral("szövegkérés"), [&] { return text = fromPlugin(entry()), 0; }, problem);
    return text;
}

std::vector<PluginListRow> PluginSet::listRows() {
    std::vector<PluginListRow> rows;
    for (const std::unique_ptr<Plugin>& plugin : m_plugins)
        rows.push_back({askText(plugin->name), askText(plugin->version), askText(plugin->about)});
    return rows;
}

void fillPluginList(MemTable& rows, const std::vector<PluginListRow>& plugins) {
    if (rows.fields().empty())
        rows.setFields({{"Name", dbase::FieldType::Character, 100},
                        {"Ver", dbase::FieldType::Character, 20},
                        {"name2", dbase::FieldType::Character, 20},
                        {"index", dbase::FieldType::Integer, 4}});
    rows.emptyTable();
    for (size_t i = 0; i < plugins.size(); ++i) {
        const PluginListRow& plugin = plugins[i];
        rows.append();
        rows.setInteger(pluginListFields::index, int64_t(i));
        rows.setString(pluginListFields::Name, plugin.name);
        rows.setString(pluginListFields::Ver, plugin.version);
        rows.setString(pluginListFields::name2, plugin.about);
        rows.post();
    }
    rows.first();
}

QString noPluginsText() {
    return QStringLiteral("Nincsenek pluginok telepítve!");
}

QString skippedPluginsText(const QStringList& problems) {
    return QStringLiteral("A következő pluginok nem tölthetők be, a program nélkülük fut tovább:\n") +
           problems.join('\n');
}

}  // namespace kavina::support
