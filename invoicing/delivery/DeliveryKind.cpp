#include "invoicing/delivery/DeliveryKind.h"

#include "foundation/CatalogueFields.h"
#include "invoicing/print/TSzamlar.h"

namespace kavina::invoicing {

QString deliveryCaption(DeliveryKind kind) {
    switch (kind) {
        case DeliveryKind::DeliveryNote: return QStringLiteral("Szállítólevél");
        case DeliveryKind::GoodsReceipt: return QStringLiteral("Bevételezés");
        case DeliveryKind::Return: return QStringLiteral("Visszáru");
        case DeliveryKind::SupplierOrder: return QStringLiteral("Megrendelés");
        case DeliveryKind::CashPayout: return QStringLiteral("Pénztárgépes kifizetés");
        case DeliveryKind::Offer: return QStringLiteral("Árajánlat");
    }
    return {};
}

QString deliveryHeaderText(DeliveryKind kind) {
    if (kind == DeliveryKind::DeliveryNote) return QStringLiteral("Szállítólevél készítése");
    if (kind == DeliveryKind::Offer) return QStringLiteral("Árajánlat készítése");
    return deliveryCaption(kind);
}

QChar deliveryTypeCode(DeliveryKind kind) {
    return *typeCodeOf(deliveryNumberKind(kind));
}

NumberKind deliveryNumberKind(DeliveryKind kind) {
    switch (kind) {
        case DeliveryKind::DeliveryNote: return NumberKind::DeliveryNote;
        case DeliveryKind::GoodsReceipt: return NumberKind::GoodsReceipt;
        case DeliveryKind::Return: return NumberKind::Return;
        case DeliveryKind::SupplierOrder: return NumberKind::SupplierOrder;
        case DeliveryKind::CashPayout: return NumberKind::CashPayout;
        case DeliveryKind::Offer: return NumberKind::Offer;
    }
    return NumberKind::DeliveryNote;
}

std::optional<QString> deliveryLogCode(DeliveryKind kind) {
    switch (kind) {
        case DeliveryKind::DeliveryNote: return QStringLiteral("SZL");
        case DeliveryKind::GoodsReceipt: return QStringLiteral("BEV");
        case DeliveryKind::Return: return QStringLiteral("VIS");
        default: return std::nullopt;
    }
}

int deliveryStockSign(DeliveryKind kind) {
    switch (kind) {
        case DeliveryKind::DeliveryNote:
        case DeliveryKind::Return: return -1;
        case DeliveryKind::GoodsReceipt: return 1;
        default: return 0;
    }
}

bool deliveryHasPartnerNumber(DeliveryKind kind) {
    return kind == DeliveryKind::GoodsReceipt || kind == DeliveryKind::Return || kind == DeliveryKind::CashPayout;
}

void setUpDeliveryLayout(TSzamlar& layout, DeliveryKind kind) {
    namespace H = fields::Szamla;
    namespace L = fields::Szamla2;
    layout.setNumberCaption(QStringLiteral("Bizonylat száma"));
    layout.setIssueDateCaption(QStringLiteral("Bizonylat kelte"));
    layout.setFooterField(std::nullopt);
    layout.setCopyLabel(QString());
    layout.setCopyMarksHidden(true);
    layout.setSupplierOrderForm(kind == DeliveryKind::SupplierOrder);
    switch (kind) {
        case DeliveryKind::DeliveryNote:
            layout.setTitle(QStringLiteral("SZÁLLÍTÓLEVÉL "));
            layout.setFooterField(fields::User::LABSZALL);
            break;
        case DeliveryKind::GoodsReceipt:
        case DeliveryKind::Return:
            layout.setTitle(kind == DeliveryKind::Return ? QStringLiteral("VISSZÁRU ")
                                                         : QStringLiteral("BEVÉTELEZÉS "));
            layout.setNumberField(H::AJANLSZAM);
            layout.setFirstColumn(L::cikkszam, QStringLiteral("Cikkszám"));
            break;
        case DeliveryKind::SupplierOrder:
            layout.setTitle(QStringLiteral("MEGRENDELŐ "));
            layout.setFirstColumn(L::cikkszam, QStringLiteral("Cikkszám"));
            break;
        case DeliveryKind::Offer:
            layout.setTitle(QStringLiteral("AJÁNLAT "));
            layout.setNumberCaption(QStringLiteral("Ajánlat száma"));
            layout.setIssueDateCaption(QStringLiteral("Ajánlat kelte"));
            layout.setFooterField(fields::User::LABAJANLAT);
            break;
        case DeliveryKind::CashPayout: break;
    }
}

}  // namespace kavina::invoicing
