#pragma once
// Whether a stored picture path may be opened with the desktop's viewer or drawn on a label.

#include <QString>

namespace kavina::products {

// True when the file exists and both its name and its content say it is a picture Qt reads.
// The path comes from shared data: a program or script stored there must never be started.
bool isPictureFile(const QString& path);

}  // namespace kavina::products
