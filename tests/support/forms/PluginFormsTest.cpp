// The plugins on real windows: their entries in the main window's menus, the host objects
// they receive, and the plugin list acting on the highlighted row.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <cstdlib>
#include <filesystem>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/IniSettings.h"
#include "support/plugins/PluginSet.h"
#include "support/plugins/forms/QtPluginHost.h"
#include "support/plugins/forms/TPluginform.h"

namespace kavina::support {
namespace {

namespace fs = std::filesystem;

// A main window with the menus plugins name: a top-level one and a submenu.
class PluginFormsTest : public ::testing::Test {
protected:
    PluginFormsTest() {
        setenv("KAVINA_TEST_PLUGIN_LOG", program.file("calls.log").c_str(), 1);
        settingsMenu = window.menuBar()->addMenu("&Beállítások");
        settingsMenu->setObjectName("settingsMenu");
        QMenu* file = window.menuBar()->addMenu("&Fájl");
        file->setObjectName("fileMenu");
        offerMenu = file->addMenu("&Árajánlat");
        offerMenu->setObjectName("&Árajánlat");
        for (int i = 0; i < 13; ++i) {
            QImage picture(16, 16, QImage::Format_RGB32);
            picture.fill(QColor(i * 10, 0, 0));
            pictures.push_back(QIcon(QPixmap::fromImage(picture)));
        }
    }
    ~PluginFormsTest() override { unsetenv("KAVINA_TEST_PLUGIN_LOG"); }

    void install(std::initializer_list<const char*> variants) {
        for (const char* variant : variants)
            fs::copy_file(std::string(KAVINA_TEST_PLUGIN_DIR) + "/" + variant + ".kvp",
                          program.file(std::string(variant) + ".kvp"));
    }
    QString folder() const { return QString::fromStdString(program.path()); }
    QString calls() const {
        QFile f(QString::fromStdString(program.file("calls.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // The plugin entries of a menu.
    static std::vector<QAction*> entries(QMenu* menu) {
        std::vector<QAction*> found;
        for (QAction* a : menu->actions())
            if (a->objectName().startsWith("plugin")) found.push_back(a);
        return found;
    }

    testing_support::TestFolder program;
    testing_support::TestFolder data;
    ScriptedPrompt prompt;
    QMainWindow window;
    QMenu* settingsMenu = nullptr;
    QMenu* offerMenu = nullptr;
    std::vector<QIcon> pictures;
};

TEST_F(PluginFormsTest, EntriesGoUnderTheNamedMenuWithTheirPictureAndStartTheirPlugin) {
    QtPluginMenus menus(window, pictures);
    std::vector<int> started;
    menus.setStarter([&started](int index) { started.push_back(index); });
    EXPECT_TRUE(menus.hasMenu("settingsMenu"));
    EXPECT_TRUE(menus.hasMenu("&Árajánlat"));
    EXPECT_FALSE(menus.hasMenu("Beállítások"));
    EXPECT_FALSE(menus.hasMenu(""));

    const QString image = QString::fromStdString(program.file("kep.png"));
    ASSERT_TRUE(pictures[0].pixmap(16).toImage().save(image));
    menus.addEntry("settingsMenu", "Backup tool", PluginIcon{12, {}}, 0);
    menus.addEntry("&Árajánlat", "Képes", PluginIcon{-1, image}, 1);
    menus.addEntry("settingsMenu", "Túl nagy szám", PluginIcon{40, {}}, 2);

    ASSERT_EQ(entries(settingsMenu).size(), 2u);
    QAction* backup = entries(settingsMenu)[0];
    EXPECT_EQ(backup->text(), "Backup tool");
    EXPECT_EQ(backup->icon().pixmap(16).toImage(), pictures[12].pixmap(16).toImage());
    EXPECT_TRUE(entries(settingsMenu)[1]->icon().isNull()) << "a number beyond the list: no picture";
    ASSERT_EQ(entries(offerMenu).size(), 1u);
    EXPECT_FALSE(entries(offerMenu)[0]->icon().isNull());

    entries(offerMenu)[0]->trigger();
    backup->trigger();
    EXPECT_EQ(started, (std::vector<int>{1, 0}));

    menus.removeEntries();
    EXPECT_TRUE(entries(settingsMenu).empty());
    EXPECT_TRUE(entries(offerMenu).empty());
}

TEST_F(PluginFormsTest, APluginGetsTheHostObjectsAndItsEntryStartsIt) {
    install({"good"});
    QtPluginHost host(window, prompt, QString::fromStdString(data.path()), folder());
    QtPluginMenus menus(window, pictures);
    PluginSet plugins(prompt, menus, host.objects());
    menus.setStarter([&plugins](int index) { plugins.start(index); });
    ASSERT_TRUE(plugins.load(folder(), "kvp"));

    EXPECT_TRUE(calls().contains("good folders " + QString::fromStdString(data.path()) + " " + folder()));
    const KavinaHostApi* api = kavina_api(host.objects().mainWindow);
    EXPECT_EQ(api->version, unsigned(KAVINA_PLUGIN_API_VERSION));
    EXPECT_EQ(api->qtMainWindow(host.objects().mainWindow), static_cast<void*>(&window));
    EXPECT_EQ(api->qtMenuBar(host.objects().menuBar), static_cast<void*>(window.menuBar()));
    api->message(host.objects().mainWindow, "Plugin üzenet", "Kész a mentés");
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption, "Plugin üzenet");
    EXPECT_EQ(prompt.entries()[0].text, "Kész a mentés");
    EXPECT_EQ(prompt.entries()[0].icon, Icon::Information);

    ASSERT_EQ(entries(settingsMenu).size(), 1u);
    entries(settingsMenu)[0]->trigger();
    EXPECT_TRUE(calls().contains("good Start"));
    plugins.unloadAll();
    EXPECT_TRUE(entries(settingsMenu).empty());
    EXPECT_TRUE(calls().endsWith("good AutoStop\n"));
}

TEST_F(PluginFormsTest, TheListStartsTheHighlightedPluginAndShowsItsDescription) {
    install({"good", "second"});
    QtPluginMenus menus(window, pictures);
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "kvp");
    IniSettings settings;
    TPluginform list(&window, plugins, settings, prompt);
    EXPECT_EQ(list.windowTitle(), "Pluginok");
    auto* grid = list.findChild<QTableView*>("pluginGrid");
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "Plugin");
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "Verzió");

    // The clerk highlights the second row: that plugin starts, and its description shows.
    const QString secondName = grid->model()->index(1, 0).data().toString();
    const QString secondVariant = secondName.section(' ', 1);
    grid->setCurrentIndex(grid->model()->index(1, 0));
    list.findChild<QPushButton*>("startPushButton")->click();
    EXPECT_EQ(calls().count(" Start"), 1);
    EXPECT_TRUE(calls().contains(secondVariant + " Start"));
    list.showAboutCurrent();
    ASSERT_EQ(prompt.entries().size(), 1u);
    EXPECT_EQ(prompt.entries()[0].caption, "Információk");
    EXPECT_EQ(prompt.entries()[0].text,
              "A(z) " + secondVariant + " tesztplugin hosszú leírása, árvíztűrő tükörfúrógép");
}

TEST_F(PluginFormsTest, AnEmptyListWarnsAtBothCommands) {
    QtPluginMenus menus(window, pictures);
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "kvp");
    IniSettings settings;
    TPluginform list(&window, plugins, settings, prompt);
    list.findChild<QPushButton*>("startPushButton")->click();
    list.showAboutCurrent();
    ASSERT_EQ(prompt.entries().size(), 2u);
    for (const auto& e : prompt.entries()) {
        EXPECT_EQ(e.caption, "Figyelem!");
        EXPECT_EQ(e.text, "Nincsenek pluginok telepítve!");
        EXPECT_EQ(e.icon, Icon::Warning);
    }
}

TEST_F(PluginFormsTest, TheSamplePluginLoadsAndAddsItsEntry) {
    fs::copy_file(KAVINA_SAMPLE_PLUGIN, program.file("sample.kvp"));
    QtPluginMenus menus(window, pictures);
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "kvp");
    ASSERT_EQ(plugins.count(), 1) << prompt.transcript().join('\n').toStdString();
    ASSERT_EQ(entries(settingsMenu).size(), 1u);
    EXPECT_EQ(entries(settingsMenu)[0]->text(), "Mintaplugin");
    EXPECT_EQ(plugins.listRows()[0].version, "1.0");
}

}  // namespace
}  // namespace kavina::support
