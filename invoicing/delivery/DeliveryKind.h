#pragma once
// The kinds of document the delivery-note editor (Tszlevelform) makes, fixed by the command
// that opens it: delivery notes, goods receipts, returns to a supplier, orders placed with a
// supplier, cash-register payouts and price offers (the offer editor, TAjanlatForm). Each has its captions, its stored
// type code, the counter its number comes from, the stock it moves and how it prints.

#include <QChar>
#include <QDate>
#include <QString>
#include <optional>

#include "invoicing/document/DocumentKinds.h"

namespace kavina {
class TSzamlar;
}

namespace kavina::invoicing {

enum class DeliveryKind { DeliveryNote, GoodsReceipt, Return, SupplierOrder, CashPayout, Offer };

// The stored offer a modification replaces: its number, and the save time (GARANCIASZ) and
// date it carried when the editor opened it, so that a version another workstation stored in
// the meantime is noticed.
struct ReplacedOffer {
    QString number;
    QString savedAt;
    QDate issued;
};

// "Szállítólevél", "Bevételezés", "Visszáru", "Megrendelés", "Pénztárgépes kifizetés", "Árajánlat".
QString deliveryCaption(DeliveryKind kind);
// The caption bar: "Szállítólevél készítése", "Árajánlat készítése", the caption for the others.
QString deliveryHeaderText(DeliveryKind kind);
QChar deliveryTypeCode(DeliveryKind kind);
NumberKind deliveryNumberKind(DeliveryKind kind);
// "SZL", "BEV" or "VIS": the kinds that move stock write a log row per line; none for the others.
std::optional<QString> deliveryLogCode(DeliveryKind kind);
// The stock a line quantity moves: -1 out, +1 in, 0 none.
int deliveryStockSign(DeliveryKind kind);
// The kinds whose "Bizonylat:" box holds the other party's own number (AJANLSZAM).
bool deliveryHasPartnerNumber(DeliveryKind kind);

// Sets the print layout up for the kind: title, captions, the printed number field, the first
// line column, the footer, no copy label or serial, and the priceless form of supplier orders.
// Requires: not a cash payout, which is never printed.
void setUpDeliveryLayout(TSzamlar& layout, DeliveryKind kind);

}  // namespace kavina::invoicing
