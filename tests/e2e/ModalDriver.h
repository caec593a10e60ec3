#pragma once
// Drives the modal windows a main-window command opens, as a clerk would: each expected
// window is named by its class (or object name) with what to do in it. A timer looks at the
// active modal window; a new one that matches the next expectation gets its action run from
// the event loop, so that a window the action opens in turn is driven the same way. A modal
// window nobody expected is recorded and closed, so that a wrong turn fails the test instead
// of hanging it.

#include <gtest/gtest.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace kavina::e2e {

class ModalDriver : public QObject {
public:
    using Action = std::function<void(QWidget& window)>;

    ModalDriver();
    ~ModalDriver() override;

    // The next modal window must be of this class (its metaObject's class name without the
    // namespace) or carry this object name; the action runs once it is shown.
    void expect(const QString& classOrObjectName, Action action);
    // Windows still expected.
    size_t pending() const { return m_steps.size(); }
    // Every modal window that came without an expectation: class, object name and title.
    const QStringList& unexpected() const { return m_unexpected; }
    // The windows handled, in order, by the name they were expected under.
    const QStringList& handled() const { return m_handled; }
    // Forgets what is left and what was recorded, for the next step of the day.
    void reset();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Step {
        QString name;
        Action action;
    };
    void look();

    QTimer m_timer;
    std::deque<Step> m_steps;
    QList<QPointer<QWidget>> m_seen;  // windows already handled or turned away
    QStringList m_unexpected;
    QStringList m_handled;
};

// A child widget of a window by object name; fails the current test when missing.
template <typename T>
T* child(QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found) ADD_FAILURE() << "no " << name.toStdString() << " in " << window.objectName().toStdString();
    return found;
}

// Types text into a box key by key (letters outside ASCII included), as a clerk would.
void typeInto(QWidget& box, const QString& text);
// Clicks a push button found by object name.
void click(QWidget& window, const QString& button);
// Lets the event loop run for a while.
void settle(int ms = 50);

}  // namespace kavina::e2e
