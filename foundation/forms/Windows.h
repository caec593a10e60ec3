#pragma once
// Window-level helpers: whether a window is open, and the Hungarian texts of Qt's own dialogs.
#include <QString>

class QCoreApplication;
class QTranslator;

namespace kavina {

// Whether a visible top-level window has this object name, compared without regard to case.
bool isFormOpen(const QString& name);

// Loads Qt's Hungarian translation, so that the standard file and folder dialogs speak
// Hungarian. Returns the installed translator (owned by the application), or nullptr when the
// translation is not there.
QTranslator* installHungarianTranslator(QCoreApplication& app);

// Makes Hungarian the locale of Qt's own dialogs and boxes (dates in the file dialogs,
// decimal commas in number boxes). The program's own date, time and money texts keep their
// fixed formats whatever the locale.
void useHungarianLocale();

}  // namespace kavina
