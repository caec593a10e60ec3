#pragma once
// Pictures of a few demo products, drawn when the demo folder is made (no file is carried or
// fetched): simple shapes on a light background, so the product register's picture pane has
// something to show. Drawn without text, so no font is needed where the folder is made.
#include <QString>

namespace kavina {

enum class DemoPicture { Hammer, Drill, Bulb, Hose, PaintBucket };

// Writes the picture as a PNG file. Returns false when the file cannot be written.
bool drawDemoPicture(DemoPicture picture, const QString& path);

}  // namespace kavina
