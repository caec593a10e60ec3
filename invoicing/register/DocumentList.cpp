#include "invoicing/register/DocumentList.h"

#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/RecordCursor.h"
#include "foundation/TextFormat.h"
#include "invoicing/document/DocumentKinds.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;

struct KindRow {
    ListKind kind;
    const char16_t* types;
    const char16_t* caption;
};

const KindRow kKinds[] = {
    {ListKind::Invoices, u"BJS", u"Számlák"},
    {ListKind::Offers, u"A", u"Árajánlatok"},
    {ListKind::Unpaid, u"B", u"Fizetetlen számlák"},
    {ListKind::DeliveryNotes, u"FU", u"Szállítólevelek"},
    {ListKind::CashSales, u"12", u"Pénztárgépes értékesítések"},
    {ListKind::Scrap, u"5", u"Selejtek"},
    {ListKind::Returns, u"4", u"Visszáruk"},
    {ListKind::CashPayouts, u"6", u"Kifizetések"},
    {ListKind::Proformas, u"PQ", u"Proforma számlák"},
    {ListKind::SupplierOrders, u"X", u"Megrendelések szállítótól"},
    {ListKind::GoodsReceipts, u"3", u"Bevételezések"},
    {ListKind::Spoiled, u"JS", u"Rontott számlák"},
    {ListKind::CancelledDeliveryNotes, u"U", u"Stornó szállítólevelek"},
};

const KindRow& rowOf(ListKind kind) {
    for (const KindRow& row : kKinds)
        if (row.kind == kind) return row;
    return kKinds[0];
}

}  // namespace

PartnerKey documentPartnerKey(const QString& name, const QString& street) {
    const TableDef& documents = catalogue::table(TableId::Szamla);
    const auto cut = [&](const QString& text, const Field& field) {
        const dbase::FieldDef* def = documents.field(field.name);
        return def && def->width > 0 ? text.left(def->width) : text;
    };
    return {cut(name, H::NEV), cut(street, H::CIM)};
}

QString listTypes(ListKind kind) {
    return QString::fromUtf16(rowOf(kind).types);
}

bool yearRestricted(ListKind kind) {
    return kind != ListKind::Unpaid;
}

QString listCaption(ListKind kind, bool archive) {
    const QString caption = QString::fromUtf16(rowOf(kind).caption);
    return archive && yearRestricted(kind) ? caption + QStringLiteral(" (arhívum)") : caption;
}

std::string listFilter(ListKind kind, bool archive, const QDate& today, const std::optional<PartnerKey>& partner) {
    using namespace filter;
    std::string types;
    for (const QChar type : listTypes(kind))
        types += (types.empty() ? "" : " OR ") + equals(H::SZAMLATIP, QString(type));
    const std::optional<PartnerKey> stored =
        partner ? std::optional(documentPartnerKey(partner->name, partner->street)) : std::nullopt;
    std::string expression = stored ? allOf({equals(H::NEV, stored->name), equals(H::CIM, stored->street)}) : "";
    const auto add = [&](const std::string& condition) {
        expression = expression.empty() ? condition : allOf({expression, condition});
    };
    add("(" + types + ")");
    if (yearRestricted(kind)) {
        const int year = today.year();
        add(archive ? H::KIALLIT.text() + " < " + constant(dateText(QDate(year, 1, 1)))
                    : H::KIALLIT.text() + " > " + constant(dateText(QDate(year - 1, 12, 31))));
    }
    if (kind == ListKind::Unpaid) add(isFalse(H::FIZETVE));
    return expression;
}

QChar documentType(const RecordCursor& document) {
    const QString text = document.isEmpty() ? QString() : document.asString(H::SZAMLATIP).trimmed();
    return text.isEmpty() ? QChar(u' ') : text.at(0);
}

DocumentTint documentTint(const RecordCursor& document) {
    switch (documentType(document).unicode()) {
        case type::Cancelled:
        case type::DeliveryNoteCancelled:
        case type::CashSaleCancelled:
        case type::ProformaListed: return DocumentTint::Grey;
        case type::Invoice: return document.asLogical(H::FIZETVE) ? DocumentTint::None : DocumentTint::Red;
        case type::Corrective: return DocumentTint::Green;
        default: return DocumentTint::None;
    }
}

}  // namespace kavina::invoicing
