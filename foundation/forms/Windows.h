#pragma once
// Window-level helpers: whether a window is open, and the Hungarian texts of Qt's own dialogs.
#include <QString>

class QCoreApplication;

namespace kavina {

// Whether a visible top-level window has this object name, compared without regard to case.
bool isFormOpen(const QString& name);

// Loads Qt's Hungarian translation, so that the standard file and folder dialogs speak
// Hungarian. Returns false when the translation is not installed.
bool installHungarianTranslator(QCoreApplication& app);

}  // namespace kavina
