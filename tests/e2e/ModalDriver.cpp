#include <gtest/gtest.h>

#include "e2e/ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>

namespace kavina::e2e {

namespace {

QString className(const QWidget& w) {
    const QString name = QString::fromLatin1(w.metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

}  // namespace

ModalDriver::ModalDriver() {
    m_timer.setInterval(30);
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::look);
    m_timer.start();
    qApp->installEventFilter(this);
}

ModalDriver::~ModalDriver() {
    qApp->removeEventFilter(this);
}

// A window shown again (the product picker is one window, opened for every new line) is a new
// step once it was hidden.
bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched->isWidgetType())
        m_seen.removeAll(QPointer<QWidget>(static_cast<QWidget*>(watched)));
    return false;
}

void ModalDriver::expect(const QString& classOrObjectName, Action action) {
    m_steps.push_back({classOrObjectName, std::move(action)});
}

void ModalDriver::reset() {
    m_steps.clear();
    m_unexpected.clear();
    m_handled.clear();
}

void ModalDriver::look() {
    QWidget* modal = QApplication::activeModalWidget();
    m_seen.removeIf([](const QPointer<QWidget>& w) { return !w; });
    if (!modal || !modal->isVisible() || m_seen.contains(modal)) return;
    m_seen << modal;
    const QString cls = className(*modal);
    if (m_steps.empty() || (m_steps.front().name != cls && m_steps.front().name != modal->objectName())) {
        m_unexpected << QStringLiteral("%1 %2 \"%3\"").arg(cls, modal->objectName(), modal->windowTitle());
        qWarning("unexpected modal window: %s (expected: %s)", qPrintable(m_unexpected.last()),
                 qPrintable(m_steps.empty() ? QStringLiteral("none") : m_steps.front().name));
        if (auto* dialog = qobject_cast<QDialog*>(modal)) QTimer::singleShot(0, dialog, &QDialog::reject);
        return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    m_handled << step.name;
    if (qEnvironmentVariableIsSet("KAVINA_E2E_TRACE")) qWarning("window: %s", qPrintable(step.name));
    QPointer<QWidget> window = modal;
    QTimer::singleShot(0, this, [window, action = std::move(step.action)] {
        if (window) action(*window);
    });
}

void typeInto(QWidget& box, const QString& text) {
    box.setFocus();
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::KeyAction::Click, &box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void click(QWidget& window, const QString& button) {
    if (auto* b = child<QAbstractButton>(window, button)) b->click();
}

void settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace kavina::e2e
