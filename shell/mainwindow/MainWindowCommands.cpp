#include "shell/mainwindow/MainWindowCommands.h"

#include "foundation/CommandBoundary.h"

namespace kavina::shell {

void MainWindowCommands::add(const QString& handler, Command command) {
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
