// Loading, starting and unloading real plugin libraries: good ones, and files that are not
// plugins or plugins that fail, which are skipped or contained while the others work.

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <cstdlib>
#include <filesystem>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/MemTable.h"
#include "support/plugins/PluginListFields.h"
#include "support/plugins/PluginSet.h"

namespace kavina::support {
namespace {

namespace fs = std::filesystem;

struct Entry {
    QString menu;
    QString caption;
    PluginIcon icon;
    int index;
};

class RecordingMenus : public PluginMenus {
public:
    bool hasMenu(const QString& name) const override {
        return name == "settingsMenu" || name == "fileMenu" || name == "&Árajánlat";
    }
    void addEntry(const QString& menu, const QString& caption, const PluginIcon& icon, int index) override {
        entries.push_back({menu, caption, icon, index});
    }
    void removeEntries() override { entries.clear(); }

    std::vector<Entry> entries;
};

class PluginSetTest : public ::testing::Test {
protected:
    PluginSetTest() { setenv("KAVINA_TEST_PLUGIN_LOG", program.file("calls.log").c_str(), 1); }
    ~PluginSetTest() override { unsetenv("KAVINA_TEST_PLUGIN_LOG"); }

    // Copies the built test plugins into the program folder under their names.
    void install(std::initializer_list<const char*> variants, const QString& extension = "kvp") {
        for (const char* variant : variants)
            fs::copy_file(std::string(KAVINA_TEST_PLUGIN_DIR) + "/" + variant + ".kvp",
                          program.file(std::string(variant) + "." + extension.toStdString()));
    }
    QString folder() const { return QString::fromStdString(program.path()); }
    QStringList calls() const {
        QFile f(QString::fromStdString(program.file("calls.log")));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
        lines.removeIf([](const QString& l) { return l.contains(" folders "); });
        lines.sort();  // the file system decides the loading order
        return lines;
    }

    testing_support::TestFolder program;
    ScriptedPrompt prompt;
    RecordingMenus menus;
};

TEST_F(PluginSetTest, AGoodPluginIsHookedIntoItsMenuStartedAndUnloadedOnce) {
    install({"good", "second"});
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "kvp");
    plugins.load(folder(), "kvp");  // the start-up tasks again, after a user switch

    ASSERT_EQ(plugins.count(), 2);
    ASSERT_EQ(menus.entries.size(), 2u);
    for (const Entry& e : menus.entries) {
        const QString variant = plugins.fileName(e.index).section('.', 0, 0);
        EXPECT_EQ(e.caption, "Teszt " + variant) << "the caption was copied before the plugin reused its buffer";
        EXPECT_EQ(e.menu, variant == "good" ? "settingsMenu" : "fileMenu");
        EXPECT_EQ(e.icon, (variant == "good" ? PluginIcon{12, {}} : PluginIcon{}));
    }
    EXPECT_TRUE(prompt.entries().empty());

    plugins.start(menus.entries[0].index);
    plugins.unloadAll();
    EXPECT_EQ(plugins.count(), 0);
    EXPECT_TRUE(menus.entries.empty()) << "unloading takes the entries away";
    EXPECT_EQ(calls().count("good AutoStart"), 1);
    EXPECT_EQ(calls().count("second AutoStart"), 1);
    EXPECT_EQ(calls().count("good AutoStop"), 1);
    EXPECT_EQ(calls().count("second AutoStop"), 1);
    EXPECT_EQ(calls().filter(" Start").size(), 1);
}

TEST_F(PluginSetTest, BadFilesAreSkippedWithOneWarningAndTheOthersLoad) {
    install({"good", "nostart", "refuses", "badicon", "nomenu"});
    program.write("notalibrary.kvp", "ez nem programkönyvtár\n");
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "kvp");

    ASSERT_EQ(plugins.count(), 2) << "good, and badicon without a picture";
    QStringList loaded{plugins.fileName(0), plugins.fileName(1)};
    loaded.sort();
    EXPECT_EQ(loaded, QStringList({"badicon.kvp", "good.kvp"}));
    for (const Entry& e : menus.entries)
        if (plugins.fileName(e.index) == "badicon.kvp") {
            EXPECT_EQ(e.icon, PluginIcon{});
        }

    ASSERT_EQ(prompt.entries().size(), 1u);
    const auto& warning = prompt.entries()[0];
    EXPECT_EQ(warning.caption, "Figyelem!");
    EXPECT_EQ(warning.icon, Icon::Warning);
    EXPECT_TRUE(warning.text.startsWith("A következő pluginok nem tölthetők be, a program nélkülük fut tovább:\n"));
    EXPECT_TRUE(warning.text.contains("notalibrary.kvp: nem tölthető be programkönyvtárként"));
    EXPECT_TRUE(warning.text.contains("nostart.kvp: hiányzó belépési pont: PluginStart"));
    EXPECT_TRUE(warning.text.contains("refuses.kvp: a(z) PluginAutoStart hibát jelzett (3)"));
    EXPECT_TRUE(warning.text.contains("nomenu.kvp: a programban nincs \"nincsIlyenMenu\" nevű menü"));
    EXPECT_FALSE(warning.text.contains("good.kvp"));

    // The plugin lacking an entry point was never called; the one naming no menu was stopped.
    EXPECT_EQ(calls().filter("nostart").size(), 0);
    EXPECT_EQ(calls().filter("refuses").join('|'), "refuses AutoStart");
    EXPECT_EQ(calls().filter("nomenu").join('|'), "nomenu AutoStart|nomenu AutoStop");
}

TEST_F(PluginSetTest, AStartThatThrowsOrFailsIsReportedAndTheProgramGoesOn) {
    install({"throws", "failing"});
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "kvp");
    ASSERT_EQ(plugins.count(), 2);
    plugins.startNamed("throws.kvp");
    plugins.startNamed("failing.kvp");

    ASSERT_EQ(prompt.entries().size(), 2u);
    EXPECT_EQ(prompt.entries()[0].caption, "Hiba");
    EXPECT_EQ(prompt.entries()[0].icon, Icon::Error);
    EXPECT_EQ(prompt.entries()[0].text,
              "A(z) throws.kvp plugin futása nem sikerült: a(z) PluginStart kivételt dobott: elromlott a plugin");
    EXPECT_EQ(prompt.entries()[1].text,
              "A(z) failing.kvp plugin futása nem sikerült: a(z) PluginStart hibát jelzett (7)");
    plugins.start(0);  // and it can be started again
    EXPECT_EQ(calls().filter(" Start").size(), 3);
}

TEST_F(PluginSetTest, TheCommandLineStartsOnlyTheExactFileName) {
    install({"good"});
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "kvp");
    plugins.startNamed("GOOD.kvp");
    plugins.startNamed("good");
    EXPECT_EQ(calls().filter(" Start").size(), 0);
    plugins.startNamed("good.kvp");
    EXPECT_EQ(calls().filter(" Start").size(), 1);
}

TEST_F(PluginSetTest, OnlyFilesWithTheSetExtensionAreLoaded) {
    install({"good"});
    install({"second"}, "plg");
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "plg");
    ASSERT_EQ(plugins.count(), 1);
    EXPECT_EQ(plugins.fileName(0), "second.plg");
}

TEST_F(PluginSetTest, TheListAsksEveryPluginAndCutsItsTextsToTheFields) {
    install({"good"});
    PluginSet plugins(prompt, menus, {});
    plugins.load(folder(), "kvp");
    const std::vector<PluginListRow> rows = plugins.listRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].about, "A(z) good tesztplugin hosszú leírása, árvíztűrő tükörfúrógép");

    MemTable list("pluginlist");
    fillPluginList(list, rows);
    EXPECT_EQ(list.asString(pluginListFields::Name), "Teszt good");
    EXPECT_EQ(list.asString(pluginListFields::Ver), "2.1.good");
    EXPECT_EQ(list.asString(pluginListFields::name2), "A(z) good tesztplugi") << "20 characters";
    EXPECT_EQ(list.asInteger(pluginListFields::index), 0);
}

TEST(PluginIconTest, TheIconTextIsNonePictureNumberOrExistingImage) {
    testing_support::TestFolder folder;
    folder.write("kep.png", "x");
    const QString image = QString::fromStdString(folder.file("kep.png"));
    EXPECT_EQ(pluginIcon(""), PluginIcon{});
    EXPECT_EQ(pluginIcon("   "), PluginIcon{});
    EXPECT_EQ(pluginIcon("12"), (PluginIcon{12, {}}));
    EXPECT_EQ(pluginIcon(" 7 "), (PluginIcon{7, {}}));
    EXPECT_EQ(pluginIcon("ab"), PluginIcon{}) << "not a number: no picture, and loading goes on";
    EXPECT_EQ(pluginIcon("-1"), PluginIcon{});
    EXPECT_EQ(pluginIcon(image), (PluginIcon{-1, image}));
    EXPECT_EQ(pluginIcon(image + ".nincs"), PluginIcon{});
}

}  // namespace
}  // namespace kavina::support
