#pragma once
// Program-wide behaviour that follows the keyboard focus and the keys of every window:
// the focused edit box shows yellow, F3 starts the calculator and F9 locks the program from
// any window, and each focus change restarts the idle-lock count.

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace kavina::shell {

class MainWindowIdleLock;

// Whether the focus highlighting colours this control: an edit, number, date, editable list
// or text box that is not read-only and is not part of a grid, list or preview.
bool takesFocusColour(const QWidget* widget);

// Colours the newly focused control yellow when it shows the plain white (or the default)
// colour, and gives every control it coloured before its own colours back. A control given
// another colour by its window (a red box marking an error) keeps it.
void moveFocusColour(QWidget* previous, QWidget* focused);

class MainWindowFocus : public QObject {
    Q_OBJECT

public:
    struct Keys {
        std::function<void()> calculator;  // F3
        std::function<void()> lock;        // F9
    };

    // Hooks the application: its focus changes and every key press of every window.
    MainWindowFocus(Keys keys, MainWindowIdleLock& idle, QObject* parent = nullptr);
    ~MainWindowFocus() override;

    // Removes the hooks (when the program ends from the login window).
    void detach();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Keys m_keys;
    QPointer<MainWindowIdleLock> m_idle;
    bool m_attached = false;
};

}  // namespace kavina::shell
