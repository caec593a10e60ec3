#include "foundation/forms/Windows.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWidget>

namespace kavina {

bool isFormOpen(const QString& name) {
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->objectName().compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QTranslator* installHungarianTranslator(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_hu"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

}  // namespace kavina
