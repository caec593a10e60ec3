#include "shell/mainwindow/MainWindowCommands.h"

#include <algorithm>
#include <stdexcept>

#include "foundation/CommandBoundary.h"
#include "shell/mainwindow/MainMenu.h"

namespace kavina::shell {

void MainWindowCommands::add(const QString& handler, Command command) {
    static const std::vector<QString> known = allHandlers();
    if (std::find(known.begin(), known.end(), handler) == known.end())
        throw std::invalid_argument("no entry of the main window runs the handler " + handler.toStdString());
    m_commands[handler] = std::move(command);
}

bool MainWindowCommands::guard(const std::function<void()>& work) {
    return runCommand(m_prompt, work);
}

bool MainWindowCommands::run(const QString& handler) {
    const auto it = m_commands.find(handler);
    if (it == m_commands.end()) return false;
    return guard(it->second);
}

}  // namespace kavina::shell
