#include "shell/MainWindowCommands.h"

#include <exception>

namespace kavina::shell {

void MainWindowCommands::add(const QString& handler, Command command)
{
    m_commands[handler] = std::move(command);
}

bool MainWindowCommands::run(const QString& handler)
{
    const auto it = m_commands.find(handler);
    if (it == m_commands.end())
        return false;
    try {
        it->second();
        return true;
    } catch (const std::exception& e) {
        m_prompt.error(QStringLiteral("Hiba"), QString::fromUtf8(e.what()));
    } catch (...) {
        m_prompt.error(QStringLiteral("Hiba"), QStringLiteral("Ismeretlen hiba történt."));
    }
    return false;
}

}  // namespace kavina::shell
