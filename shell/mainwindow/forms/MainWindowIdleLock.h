#pragma once
// The idle-time count of the program lock: a one-second timer counts the seconds since the
// focused control last changed in any window; when the count reaches the ini minutes
// (jelszokeres) the timer stops and the lock is asked for. With 0 minutes nothing is counted.

#include <QObject>
#include <QTimer>
#include <functional>

namespace kavina::shell {

class MainWindowIdleLock : public QObject {
    Q_OBJECT

public:
    MainWindowIdleLock(int minutes, std::function<void()> lock, QObject* parent = nullptr);

    // Starts counting from 0.
    void start();
    void stop();
    // The lock setting changed: counting restarts under the new minutes (0: no lock).
    void setMinutes(int minutes);
    // The focused control or the active window changed: the count restarts.
    void focusMoved() { start(); }
    // One second of idleness; the timer calls it.
    void tick();

    int idleSeconds() const { return m_seconds; }
    bool counting() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
    int m_seconds = 0;
    int m_limit;
    std::function<void()> m_lock;
};

}  // namespace kavina::shell
