#include "products/register/PictureFile.h"

#include <QFileInfo>
#include <QImageReader>

namespace kavina::products {

bool isPictureFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return false;
    const QByteArray suffix = info.suffix().toLower().toLatin1();
    if (suffix.isEmpty() || !QImageReader::supportedImageFormats().contains(suffix)) return false;
    return !QImageReader::imageFormat(path).isEmpty();
}

}  // namespace kavina::products
