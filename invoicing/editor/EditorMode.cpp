#include "invoicing/editor/EditorMode.h"

namespace kavina::invoicing {

QString modeCaption(EditorMode mode) {
    switch (mode) {
        case EditorMode::Invoice: return QStringLiteral("Számla");
        case EditorMode::CashSale: return QStringLiteral("Pénztárgépes értékesítés");
        case EditorMode::Scrap: return QStringLiteral("Selejtezés");
        case EditorMode::Corrective: return QStringLiteral("Helyesbítő számla");
        case EditorMode::Proforma: return QStringLiteral("Proforma számla");
    }
    return {};
}

QString modeHeaderText(EditorMode mode) {
    return QStringLiteral("        ") + modeCaption(mode) + QStringLiteral(" készítése");
}

NumberKind modeNumberKind(EditorMode mode) {
    switch (mode) {
        case EditorMode::Invoice: return NumberKind::Invoice;
        case EditorMode::CashSale: return NumberKind::CashSale;
        case EditorMode::Scrap: return NumberKind::Scrap;
        case EditorMode::Corrective: return NumberKind::Corrective;
        case EditorMode::Proforma: return NumberKind::Proforma;
    }
    return NumberKind::Invoice;
}

QChar modeTypeCode(EditorMode mode) {
    return *typeCodeOf(modeNumberKind(mode));
}

bool modeHasPartner(EditorMode mode) {
    return mode != EditorMode::CashSale && mode != EditorMode::Scrap;
}

}  // namespace kavina::invoicing
