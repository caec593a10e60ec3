#include "support/plugins/forms/QtPluginHost.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "foundation/Prompt.h"

namespace kavina::support {

namespace {

// Each handle begins with the contract's part (the function table) and goes on with the
// host's; a plugin's handle points at the first member, so it converts back.
struct TablesHandle {
    KavinaTables base;
    QByteArray dataFolder;
};
struct WindowHandle {
    KavinaMainWindow base;
    QMainWindow* window;
    Prompt* prompt;
};
struct MenuBarHandle {
    KavinaMenuBar base;
    QMenuBar* bar;
};
struct ApplicationHandle {
    KavinaApplication base;
    QByteArray programFolder;
};

template <typename Handle, typename Base>
Handle* outer(Base* base) {
    static_assert(std::is_standard_layout_v<Handle>);
    return reinterpret_cast<Handle*>(base);
}

const char* dataFolderOf(KavinaTables* tables) {
    return outer<TablesHandle>(tables)->dataFolder.constData();
}

const char* programFolderOf(KavinaApplication* application) {
    return outer<ApplicationHandle>(application)->programFolder.constData();
}

void showMessage(KavinaMainWindow* window, const char* caption, const char* text) {
    outer<WindowHandle>(window)->prompt->information(QString::fromUtf8(caption), QString::fromUtf8(text));
}

void* qtMainWindowOf(KavinaMainWindow* window) {
    return outer<WindowHandle>(window)->window;
}

void* qtMenuBarOf(KavinaMenuBar* menuBar) {
    return outer<MenuBarHandle>(menuBar)->bar;
}

void* qtApplicationOf(KavinaApplication*) {
    return QCoreApplication::instance();
}

const KavinaHostApi kHostApi{KAVINA_PLUGIN_API_VERSION,
                             dataFolderOf,
                             programFolderOf,
                             showMessage,
                             qtMainWindowOf,
                             qtMenuBarOf,
                             qtApplicationOf};

QMenu* menuNamed(const QMainWindow& window, const QString& name) {
    if (name.isEmpty()) return nullptr;
    return window.menuBar()->findChild<QMenu*>(name);
}

}  // namespace

struct QtPluginHost::Handles {
    TablesHandle tables;
    WindowHandle window;
    MenuBarHandle menuBar;
    ApplicationHandle application;
};

QtPluginHost::QtPluginHost(QMainWindow& window, Prompt& prompt, const QString& dataFolder, const QString& programFolder)
    : m_handles(std::make_unique<Handles>(Handles{{{&kHostApi}, dataFolder.toUtf8()},
                                                  {{&kHostApi}, &window, &prompt},
                                                  {{&kHostApi}, window.menuBar()},
                                                  {{&kHostApi}, programFolder.toUtf8()}})) {}

QtPluginHost::~QtPluginHost() = default;

PluginHostObjects QtPluginHost::objects() {
    return {&m_handles->tables.base, &m_handles->window.base, &m_handles->menuBar.base, &m_handles->application.base};
}

QtPluginMenus::QtPluginMenus(QMainWindow& window, std::vector<QIcon> pictures)
    : m_window(window), m_pictures(std::move(pictures)) {}

bool QtPluginMenus::hasMenu(const QString& menuName) const {
    return menuNamed(m_window, menuName) != nullptr;
}

void QtPluginMenus::addEntry(const QString& menuName, const QString& caption, const PluginIcon& icon, int index) {
    QMenu* menu = menuNamed(m_window, menuName);
    if (!menu) return;
    QAction* action = menu->addAction(caption);
    action->setObjectName(QStringLiteral("plugin%1").arg(index));
    if (icon.imageIndex >= 0 && size_t(icon.imageIndex) < m_pictures.size())
        action->setIcon(m_pictures[size_t(icon.imageIndex)]);
    else if (!icon.imagePath.isEmpty())
        action->setIcon(QIcon(icon.imagePath));
    QObject::connect(action, &QAction::triggered, action, [this, index] {
        if (m_start) m_start(index);
    });
    m_entries.emplace_back(action);
}

void QtPluginMenus::removeEntries() {
    for (const QPointer<QAction>& entry : m_entries) delete entry.data();
    m_entries.clear();
}

}  // namespace kavina::support
