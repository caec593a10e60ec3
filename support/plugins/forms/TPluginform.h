#pragma once
// TPluginform, the plugin list ("Pluginok"): name and version of every loaded plugin, asked of
// each when the window opens; "&Indítás" starts the highlighted plugin, a double click shows
// its description.

#include <QDialog>
#include <memory>

#include "foundation/MemTable.h"

namespace kavina {
class Prompt;
struct IniSettings;
namespace widgets {
class RecordGrid;
}
}  // namespace kavina

namespace kavina::support {

class PluginSet;

class TPluginform final : public QDialog {
    Q_OBJECT

public:
    TPluginform(QWidget* parent, PluginSet& plugins, const IniSettings& settings, Prompt& prompt);
    ~TPluginform() override;

    // "&Indítás" and the grid's double click.
    void startCurrent();
    void showAboutCurrent();

private:
    bool warnWhenEmpty();

    PluginSet& m_plugins;
    Prompt& m_prompt;
    MemTable m_rows{"pluginlist"};
    std::unique_ptr<widgets::RecordGrid> m_grid;
};

}  // namespace kavina::support
