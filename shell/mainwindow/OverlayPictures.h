#pragma once
// The overlay pictures "storno.gif" and "rontott.gif": rubber stamps the invoice print layout
// lays over cancelled and spoiled documents. The program carries them as resources (drawn by
// scripts/draw-overlays.py) and writes them into the program folder, where the print layout
// and older tools look for them.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kavina::shell {

inline const QString kStornoPicture = QStringLiteral("storno.gif");
inline const QString kSpoiledPicture = QStringLiteral("rontott.gif");

// The carried picture of that name; empty for an unknown name.
QByteArray overlayPictureBytes(const QString& name);

struct OverlayWriteResult {
    QStringList written;  // the pictures that were missing and are there now
    QStringList failed;   // the pictures that were missing and could not be written
};

// Writes each picture the folder lacks, through a temporary file, so that a failed write
// leaves no partial picture. A file already there is kept as it is.
OverlayWriteResult writeMissingOverlayPictures(const QString& folder);

}  // namespace kavina::shell
