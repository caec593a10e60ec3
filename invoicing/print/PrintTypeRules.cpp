#include "invoicing/print/PrintTypeRules.h"

namespace kavina {

QString PrintTypeRules::copyLabel(const QString& setLabel) const {
    switch (copyLabelRule) {
        case CopyLabel::Empty: return {};
        case CopyLabel::AsSet: return setLabel;
        case CopyLabel::Corrective: return QStringLiteral("Számlával egy tekintet alá eső okirat! - ") + setLabel;
    }
    return setLabel;
}

PrintTypeRules printTypeRules(QChar type) {
    using Copy = PrintTypeRules::CopyLabel;
    switch (type.unicode()) {
        case 'A': return {"Az eladó adatai", "A vevő adatai", false, true, Copy::Empty};
        case 'B': return {"Az eladó adatai", "A vevő adatai", true, true, Copy::AsSet};
        case 'F': return {"Az átadó adatai", "Az átvevő adatai", false, true, Copy::Empty};
        case '3': return {"Az átvevő adatai", "Az átadó adatai", true, true, Copy::AsSet};
        case '4': return {"A szállító adatai", "A vevő adatai", false, true, Copy::Empty};
        case 'X': return {"A megrendelő adatai", "A szállító adatai", false, false, Copy::Empty};
        case 'J': return {kDefaultSellerCaption, kDefaultBuyerCaption, true, true, Copy::Corrective};
        case '1': return {kDefaultSellerCaption, kDefaultBuyerCaption, true, true, Copy::Empty};
        default: return {kDefaultSellerCaption, kDefaultBuyerCaption, true, true, Copy::AsSet};
    }
}

}  // namespace kavina
