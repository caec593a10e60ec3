#pragma once
// The frequently used texts (F6): a plain text file of the workstation, "kavina_gyhsz.ini" in
// the program's working folder, shown in an editable box for copying by hand. A missing file
// is an empty box; a changed box is written back when the clerk agrees.

#include <QString>

#include "foundation/Prompt.h"

namespace kavina::invoicing {

inline const QString kFrequentTextsFile = QStringLiteral("kavina_gyhsz.ini");

// The texts of the file in the folder; empty when there is none. Files written by older
// versions in the Windows code page are read as such.
QString loadFrequentTexts(const QString& folder);

// Leaving the box: when the text differs from what was loaded, asks "A Tartalom megváltozott!
// Szeretné menteni?" and on Yes writes it (through a temporary file, renamed into place).
// Throws RuleError when the file cannot be written.
void leaveFrequentTexts(const QString& folder, const QString& loaded, const QString& edited, Prompt& prompt);

}  // namespace kavina::invoicing
