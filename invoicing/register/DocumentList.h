#pragma once
// The lists the document register shows: which document types each kind lists, the year it
// is restricted to (this year, or every earlier year with the archive toggle down), its
// printed caption, and the colour of a row. A list opened from the partner register shows
// only that partner's documents (name and street equal, matched whole).

#include <QChar>
#include <QDate>
#include <QString>
#include <optional>
#include <string>

namespace kavina {
class RecordCursor;
}

namespace kavina::invoicing {

// The caller's list kind; the numbers are those the callers pass.
enum class ListKind {
    Invoices = 0,
    Offers = 1,
    Unpaid = 2,
    DeliveryNotes = 3,
    CashSales = 4,
    Scrap = 5,
    Returns = 6,
    CashPayouts = 7,
    Proformas = 8,
    SupplierOrders = 9,
    GoodsReceipts = 10,
    Spoiled = 11,
    // The cancelled delivery notes a new one is re-issued from.
    CancelledDeliveryNotes = 12,
};

// The partner whose documents a list opened from the partner register shows.
struct PartnerKey {
    QString name;    // NEV of the partner and of its documents
    QString street;  // UTCA of the partner, CIM of its documents
};

// The partner as its documents store it: the name and street cut to the widths of the
// documents' NEV and CIM, as a document copies them, so that a long name or street still
// finds its documents.
PartnerKey documentPartnerKey(const QString& name, const QString& street);

// The type codes the kind lists.
QString listTypes(ListKind kind);
// Whether the archive toggle changes the list (every kind but the unpaid invoices).
bool yearRestricted(ListKind kind);
// The printed list's caption, " (arhívum)" added in the archive.
QString listCaption(ListKind kind, bool archive);
// The filter expression of the list: the partner first (when given), the types, the year of
// today (issued after the last day of the previous year, or in the archive before the first
// day of this one), and for the unpaid list the paid flag.
std::string listFilter(ListKind kind, bool archive, const QDate& today, const std::optional<PartnerKey>& partner);

// A document's row colour in the register's grid (when the grid colour setting is on).
enum class DocumentTint { None, Grey, Red, Green };
DocumentTint documentTint(const RecordCursor& document);

// The type code of a header; a blank for an empty one.
QChar documentType(const RecordCursor& document);

}  // namespace kavina::invoicing
