#include "invoicing/document/DocumentKinds.h"

namespace kavina::invoicing {

const NumberRule& numberRule(NumberKind kind) {
    namespace U = fields::User;
    // Invoices and corrective invoices share one counter, so a corrective invoice takes the
    // next invoice number.
    static const NumberRule invoice{U::SZAMLASZ, nullptr, &U::SELO, &U::SUTO};
    static const NumberRule proforma{U::PROFORMA, "PRO", nullptr, nullptr};
    static const NumberRule cashSale{U::DEFUSER, "PGÉ", nullptr, nullptr};
    static const NumberRule scrap{U::SELEJT, "SEL", nullptr, nullptr};
    static const NumberRule offer{U::AJANLATSZ, nullptr, &U::AELO, &U::AUTO};
    static const NumberRule deliveryNote{U::SZLEVSZ, nullptr, &U::FELO, &U::FUTO};
    static const NumberRule goodsReceipt{U::DEFUSERN, "BSZ", nullptr, nullptr};
    static const NumberRule returned{U::VISSZA, "VIS", nullptr, nullptr};
    static const NumberRule supplierOrder{U::MEGRENDELO, "MRS", nullptr, nullptr};
    static const NumberRule cashPayout{U::PKIF, "PKI", nullptr, nullptr};
    static const NumberRule warranty{U::GARLEVSZAM, nullptr, &U::GELO, &U::GUTO};
    static const NumberRule worksheet{U::MUNKASZ, nullptr, &U::MELO, &U::MUTO};
    switch (kind) {
        case NumberKind::Invoice:
        case NumberKind::Corrective: return invoice;
        case NumberKind::Proforma: return proforma;
        case NumberKind::CashSale: return cashSale;
        case NumberKind::Scrap: return scrap;
        case NumberKind::Offer: return offer;
        case NumberKind::DeliveryNote: return deliveryNote;
        case NumberKind::GoodsReceipt: return goodsReceipt;
        case NumberKind::Return: return returned;
        case NumberKind::SupplierOrder: return supplierOrder;
        case NumberKind::CashPayout: return cashPayout;
        case NumberKind::Warranty: return warranty;
        case NumberKind::Worksheet: return worksheet;
    }
    return invoice;
}

std::optional<QChar> typeCodeOf(NumberKind kind) {
    switch (kind) {
        case NumberKind::Invoice: return QChar(type::Invoice);
        case NumberKind::Corrective: return QChar(type::Corrective);
        case NumberKind::Proforma: return QChar(type::Proforma);
        case NumberKind::CashSale: return QChar(type::CashSale);
        case NumberKind::Scrap: return QChar(type::Scrap);
        case NumberKind::Offer: return QChar(type::Offer);
        case NumberKind::DeliveryNote: return QChar(type::DeliveryNote);
        case NumberKind::GoodsReceipt: return QChar(type::GoodsReceipt);
        case NumberKind::Return: return QChar(type::Return);
        case NumberKind::SupplierOrder: return QChar(type::SupplierOrder);
        case NumberKind::CashPayout: return QChar(type::CashPayout);
        case NumberKind::Warranty:
        case NumberKind::Worksheet: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace kavina::invoicing
