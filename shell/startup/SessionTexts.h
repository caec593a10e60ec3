#pragma once
// Captions the shell's messages share.

#include <QString>

namespace kavina::shell {

// Plain messages carry the program's name as caption.
inline const QString kProgramCaption = QStringLiteral("Kavina");

}  // namespace kavina::shell
