#pragma once
// What the program hands its plugins: the host objects behind the handles of the plugin
// contract, and the main window's menus where their entries go.

#include <QIcon>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "support/plugins/PluginSet.h"

class QAction;
class QMainWindow;

namespace kavina {
class Prompt;
}

namespace kavina::support {

// The four host objects; they must outlive every plugin (the plugin set is destroyed first).
class QtPluginHost {
public:
    QtPluginHost(QMainWindow& window, Prompt& prompt, const QString& dataFolder, const QString& programFolder);
    ~QtPluginHost();

    PluginHostObjects objects();

private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
};

// The plugins' entries in the main window's menus. A menu is named by its object name (the
// top-level menus) or by a submenu's caption; the pictures are the main menu's picture list.
class QtPluginMenus final : public PluginMenus {
public:
    QtPluginMenus(QMainWindow& window, std::vector<QIcon> pictures);

    // What a click on a plugin's entry runs, with the plugin's index.
    void setStarter(std::function<void(int)> start) { m_start = std::move(start); }

    bool hasMenu(const QString& menuName) const override;
    void addEntry(const QString& menuName, const QString& caption, const PluginIcon& icon, int index) override;
    void removeEntries() override;

private:
    QMainWindow& m_window;
    std::vector<QIcon> m_pictures;
    std::function<void(int)> m_start;
    std::vector<QPointer<QAction>> m_entries;
};

}  // namespace kavina::support
