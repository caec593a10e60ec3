#include "shell/mainwindow/OverlayPictures.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

// The resources of a static library are registered only when something calls their
// initialiser, which lives in the global namespace.
static void initOverlayResources() {
    Q_INIT_RESOURCE(Overlay);
}

namespace kavina::shell {

QByteArray overlayPictureBytes(const QString& name) {
    if (name != kStornoPicture && name != kSpoiledPicture) return {};
    static const bool registered = (initOverlayResources(), true);
    (void)registered;
    QFile resource(":/kavina/overlay/" + name);
    return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
}

OverlayWriteResult writeMissingOverlayPictures(const QString& folder) {
    OverlayWriteResult result;
    for (const QString& name : {kStornoPicture, kSpoiledPicture}) {
        const QString path = QDir(folder).filePath(name);
        if (QFile::exists(path)) continue;
        QSaveFile file(path);
        const QByteArray bytes = overlayPictureBytes(name);
        const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
        (ok ? result.written : result.failed) << name;
    }
    return result;
}

}  // namespace kavina::shell
