#include "foundation/forms/Windows.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

namespace kavina {

bool isFormOpen(const QString& name) {
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->objectName().compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

namespace {

// Qt's Hungarian translation was made when the file dialog's type texts ("Folder", "Drive",
// "%1 File") belonged to the file dialog; they have moved to the icon provider since, and
// would show in English. The translator answers for them with the file dialog's texts.
class HungarianQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") == 0)
            return QTranslator::translate("QFileDialog", sourceText, disambiguation, n);
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }
};

}  // namespace

QTranslator* installHungarianTranslator(QCoreApplication& app) {
    auto* translator = new HungarianQtTexts(&app);
    if (!translator->load(QStringLiteral("qtbase_hu"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

void useHungarianLocale() {
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
}

}  // namespace kavina
