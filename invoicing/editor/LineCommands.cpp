#include "invoicing/editor/LineCommands.h"

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"

namespace kavina::invoicing {

void addPickedLines(const RecordCursor& header, MemTable& lines, const std::function<bool(int priceGroup)>& pick,
                    bool scanning, const std::function<void()>& recalculate) {
    bool again = true;
    while (again) {
        const int group = int(header.asInteger(fields::Szamla::ARCSOPORT));
        RecordEdit line = RecordEdit::append(lines);
        lines.setInteger(fields::Szamla2::ARCSOPORT, group);
        line.post();
        const CursorMark added = lines.bookmark();
        const bool accepted = pick(group);
        if (!accepted && lines.gotoBookmark(added)) lines.deleteRecord();
        recalculate();
        // A barcode scanner enters product after product.
        again = accepted && scanning;
    }
}

void deleteCurrentLine(MemTable& lines, Prompt& prompt) {
    if (!lines.isEmpty() && prompt.askYesNo(QStringLiteral("Figyelem !"), kDeleteLineQuestion)) lines.deleteRecord();
}

}  // namespace kavina::invoicing
