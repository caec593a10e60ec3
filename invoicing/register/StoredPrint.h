#pragma once
// How the register sets up the print layout for a stored document: the copy reprint
// ("&Másolat") and the preview ("&Nyomt.kép") per document type, the question the reprint
// asks, and whether a printed copy raises the serial a second time. Types without a set-up
// print and preview nothing.

#include <QChar>
#include <QImage>
#include <QString>
#include <optional>

namespace kavina {
class TSzamlar;
}

namespace kavina::invoicing {

// The storno and spoiled marks laid over cancelled documents.
struct OverlayPictures {
    QImage storno;
    QImage spoiled;
};

// The pictures "storno.gif" and "rontott.gif" of the program folder; a missing one is null.
OverlayPictures loadOverlayPictures(const QString& programFolder);

enum class StoredPrintUse { Copy, Preview };

// Sets the layout up for the document of the type and state (ALLAPOT), with the copy label
// "Másolat". False, leaving the layout as it was, when that use prints nothing of the type.
bool setUpStoredPrint(TSzamlar& layout, QChar type, const QString& state, StoredPrintUse use,
                      const OverlayPictures& overlays);

// The reprint's question ("Figyelem!", Yes/No) for the type; none for cash-register sales,
// which reprint at once, and for types the reprint does not print.
std::optional<QString> copyQuestion(QChar type);

// Whether a printed copy of the type raises PRINT once more (offers, invoices, corrective
// invoices and delivery notes).
bool copyRaisesSerialTwice(QChar type);

}  // namespace kavina::invoicing
