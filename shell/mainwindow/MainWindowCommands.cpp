#include "shell/mainwindow/MainWindowCommands.h"

#include "foundation/DbErrorText.h"

namespace kavina::shell {

MainWindowCommands::MainWindowCommands(Prompt& prompt)
    : m_onError([&prompt](std::exception_ptr error) {
          try {
              std::rethrow_exception(error);
          } catch (const std::exception& e) {
              prompt.error(QStringLiteral("Hiba"), errorText(e));
          } catch (...) {
              prompt.error(QStringLiteral("Hiba"), QStringLiteral("Ismeretlen hiba történt."));
          }
      }) {}

void MainWindowCommands::add(const QString& handler, Command command) {
    m_commands[handler] = std::move(command);
}

void MainWindowCommands::guard(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        m_onError(std::current_exception());
    }
}

bool MainWindowCommands::run(const QString& handler) {
    const auto it = m_commands.find(handler);
    if (it == m_commands.end()) return false;
    bool done = false;
    guard([&] {
        it->second();
        done = true;
    });
    return done;
}

}  // namespace kavina::shell
