#include "invoicing/document/DocumentKinds.h"

namespace kavina::invoicing {

const NumberRule& numberRule(NumberKind kind) {
    // Invoices and corrective invoices share one counter, so a corrective invoice takes the
    // next invoice number.
    static const NumberRule invoice{"SZAMLASZ", nullptr, "SELO", "SUTO"};
    static const NumberRule proforma{"PROFORMA", "PRO", nullptr, nullptr};
    static const NumberRule cashSale{"DEFUSER", "PGÉ", nullptr, nullptr};
    static const NumberRule scrap{"SELEJT", "SEL", nullptr, nullptr};
    static const NumberRule offer{"AJANLATSZ", nullptr, "AELO", "AUTO"};
    static const NumberRule deliveryNote{"SZLEVSZ", nullptr, "FELO", "FUTO"};
    static const NumberRule goodsReceipt{"DEFUSERN", "BSZ", nullptr, nullptr};
    static const NumberRule returned{"VISSZA", "VIS", nullptr, nullptr};
    static const NumberRule supplierOrder{"MEGRENDELO", "MRS", nullptr, nullptr};
    static const NumberRule cashPayout{"PKIF", "PKI", nullptr, nullptr};
    static const NumberRule warranty{"GARLEVSZAM", nullptr, "GELO", "GUTO"};
    static const NumberRule worksheet{"MUNKASZ", nullptr, "MELO", "MUTO"};
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
