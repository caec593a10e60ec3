#include "shell/mainwindow/forms/MainWindowFocus.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QTextEdit>
#include <QWindow>

#include "shell/mainwindow/forms/MainWindowIdleLock.h"

namespace kavina::shell {

namespace {

const char* const kOwnPalette = "kavinaPaletteBeforeFocus";

bool readOnly(const QWidget* w) {
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->isReadOnly();
    if (auto* s = qobject_cast<const QAbstractSpinBox*>(w)) return s->isReadOnly();
    if (auto* c = qobject_cast<const QComboBox*>(w)) return !c->isEditable();
    if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->isReadOnly();
    if (auto* t = qobject_cast<const QPlainTextEdit*>(w)) return t->isReadOnly();
    return true;
}

bool insideGridOrPreview(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(p) || qobject_cast<const QPrintPreviewWidget*>(p)) return true;
    return false;
}

void giveBack(QWidget* w) {
    const QVariant saved = w->property(kOwnPalette);
    if (!saved.isValid()) return;
    w->setPalette(saved.value<QPalette>());
    w->setProperty(kOwnPalette, QVariant());
}

void colour(QWidget* w) {
    const QColor base = w->palette().color(QPalette::Base);
    if (base != QColor(Qt::white) && base != QApplication::palette(w).color(QPalette::Base)) return;
    w->setProperty(kOwnPalette, QVariant::fromValue(w->palette()));
    QPalette yellow = w->palette();
    yellow.setColor(QPalette::Base, QColor(Qt::yellow));
    w->setPalette(yellow);
}

}  // namespace

bool takesFocusColour(const QWidget* widget) {
    return widget && !readOnly(widget) && !insideGridOrPreview(widget);
}

void moveFocusColour(QWidget* previous, QWidget* focused) {
    // The one control coloured is remembered rather than searched for among the window's
    // children: the focus also moves while a closing window deletes its controls, and a walk of
    // them then reaches controls already half destroyed.
    static QPointer<QWidget> coloured;
    if (previous) giveBack(previous);
    if (coloured && coloured != focused) giveBack(coloured);
    coloured = nullptr;
    if (!takesFocusColour(focused)) return;
    if (!focused->property(kOwnPalette).isValid()) colour(focused);
    coloured = focused;
}

MainWindowFocus::MainWindowFocus(Keys keys, MainWindowIdleLock& idle, QObject* parent)
    : QObject(parent), m_keys(std::move(keys)), m_idle(&idle) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    connect(app, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (!m_attached) return;
        if (m_idle) m_idle->focusMoved();
        moveFocusColour(old, now);
    });
    // A newly active window of the program starts the count again, as the focus moving into
    // its first control would. Another program taking the focus (no window of ours active)
    // does not stop the count, so a program left alone behind other windows still locks.
    connect(app, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        if (m_attached && m_idle && window) m_idle->focusMoved();
    });
    app->installEventFilter(this);
    m_attached = true;
}

MainWindowFocus::~MainWindowFocus() {
    detach();
}

void MainWindowFocus::detach() {
    if (!m_attached) return;
    m_attached = false;
    QCoreApplication::instance()->removeEventFilter(this);
}

bool MainWindowFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && key->modifiers() == Qt::NoModifier) {
            if (key->key() == Qt::Key_F3 && m_keys.calculator) {
                m_keys.calculator();
                return true;
            }
            if (key->key() == Qt::Key_F9 && m_keys.lock) {
                m_keys.lock();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kavina::shell
