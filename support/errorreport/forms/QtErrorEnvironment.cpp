#include "support/errorreport/forms/QtErrorEnvironment.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "foundation/Prompt.h"

namespace kavina::support {

namespace {

QString typeOf(const QObject* o) {
    return QString::fromLatin1(o->metaObject()->className());
}

QString parentTypeOf(const QObject* o) {
    const QMetaObject* super = o->metaObject()->superClass();
    return super ? QString::fromLatin1(super->className()) : QString();
}

QString windowText(const QWidget* w) {
    return w->objectName() + ":" + typeOf(w) + " (" + w->windowTitle() + ")";
}

}  // namespace

ErrorDetails QtErrorEnvironment::windowDetails() const {
    ErrorDetails d;
    const QWidget* active = QApplication::activeWindow();
    const QWidget* focus = QApplication::focusWidget();
    d.activeWindow = active ? windowText(active) : QStringLiteral("nincs");
    d.activeObject = focus ? focus->objectName() + ":" + typeOf(focus) : QStringLiteral("nincs");
    // The command's sender is not known at the boundary; the focused control started it.
    d.sender = focus ? typeOf(focus) + ":" + parentTypeOf(focus) + " (" +
                           (focus->objectName().isEmpty() ? QStringLiteral("---") : focus->objectName()) + ")"
                     : QStringLiteral("---");
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) d.openWindows << windowText(w);
    return d;
}

QImage QtErrorEnvironment::captureScreen() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0).toImage() : QImage();
}

void QtErrorEnvironment::showErrorWindow(const ErrorWindowContent& content) {
    if (m_transcript) {
        m_transcript->error(QStringLiteral("Figyelem!"), content.lines.join(QLatin1Char('\n')));
        return;
    }
    Terrorform window(content, m_actions, QApplication::activeWindow());
    window.exec();
}

}  // namespace kavina::support
