#pragma once
// The editor's temporary save and its reload: the document in the making written to a pair
// of dBASE tables outside the data folder (the header in the chosen ".dbf" file, the lines in
// the file of the same name with ".dbx"), and read back later into an editor. Neither touches
// the counters or the document tables.
//
// The pair is written under temporary names and renamed into place, so an interrupted save
// never leaves half a pair under the chosen name. The reload copies fields by name, so pairs
// written by older versions with another field order load correctly, and it checks the whole
// pair before it changes anything in the editor.

#include <QString>
#include <optional>

#include "foundation/Prompt.h"
#include "invoicing/document/MemoryDocument.h"

namespace kavina::invoicing {

inline const QString kTemporarySaved =
    QStringLiteral("A mentés elkészült, most már bezárhatja a bizonylat szerkesztését.");
inline const QString kTemporaryLoaded =
    QStringLiteral("A betöltés elkészült, most már folytathatja a bizonylat szerkesztését.");
inline const QString kTemporaryInDataFolder =
    QStringLiteral("Az ideiglenes mentés nem kerülhet az adatbázis könyvtárába, mert felülírhatná az adatokat!");
inline const QString kNotATemporarySave =
    QStringLiteral("A kiválasztott fájl nem ideiglenesen mentett bizonylat, ezért nem tölthető be.");

// The file pair of a chosen name: ".dbf" added when the name has no such ending.
struct TemporaryFiles {
    QString header;  // ....dbf
    QString lines;   // ....dbx
};
TemporaryFiles temporaryFiles(const QString& chosen);

// "Ideiglenes mentés": asks for the file (starting in the data folder's parent), refuses a
// place inside the data folder, writes the pair and says so. False when nothing was written.
bool saveTemporary(MemoryDocument& document, Prompt& prompt, const QString& dataFolder);

// "Mentés visszatöltése": asks for the file, checks that it and its ".dbx" are a document's
// header and lines, and replaces the editor's header and lines with them. False when nothing
// was loaded (the document is then as it was).
bool reloadTemporary(MemoryDocument& document, Prompt& prompt, const QString& dataFolder);

}  // namespace kavina::invoicing
