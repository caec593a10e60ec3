#include "shell/mainwindow/forms/MainWindowIdleLock.h"

namespace kavina::shell {

MainWindowIdleLock::MainWindowIdleLock(int minutes, std::function<void()> lock, QObject* parent)
    : QObject(parent), m_limit(minutes * 60), m_lock(std::move(lock)) {
    setObjectName("idleLock");
    m_timer.setObjectName("idleLockTimer");
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &MainWindowIdleLock::tick);
}

void MainWindowIdleLock::start() {
    m_seconds = 0;
    if (m_limit > 0) m_timer.start();
}

void MainWindowIdleLock::stop() {
    m_seconds = 0;
    m_timer.stop();
}

void MainWindowIdleLock::setMinutes(int minutes) {
    m_limit = minutes * 60;
    if (m_limit > 0)
        start();
    else
        stop();
}

void MainWindowIdleLock::tick() {
    if (m_limit <= 0) return;
    if (++m_seconds < m_limit) return;
    m_timer.stop();
    m_lock();
}

}  // namespace kavina::shell
