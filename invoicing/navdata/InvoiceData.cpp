#include "invoicing/navdata/InvoiceData.h"

#include "foundation/CatalogueFields.h"
#include "foundation/RecordCursor.h"
#include "foundation/SzamSzov.h"

namespace kavina::nav {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

QString operationText(Operation operation) {
    switch (operation) {
        case Operation::Create: return QStringLiteral("CREATE");
        case Operation::Modify: return QStringLiteral("MODIFY");
        case Operation::Storno: return QStringLiteral("STORNO");
    }
    return {};
}

std::optional<Operation> operationOf(const QString& text) {
    for (Operation op : {Operation::Create, Operation::Modify, Operation::Storno})
        if (operationText(op) == text.trimmed()) return op;
    return std::nullopt;
}

QChar effectiveBuyerStatus(const InvoiceDocument& document) {
    if (!document.buyerStatus.isNull() && document.buyerStatus != QLatin1Char(' ')) return document.buyerStatus;
    return QLatin1Char(document.buyerTax.trimmed().isEmpty() ? fields::partnerVat::PrivatePerson
                                                             : fields::partnerVat::Domestic);
}

InvoiceDocument readDocument(const RecordCursor& header, RecordCursor& lines) {
    return readDocument(header, [&lines](const LineVisitor& visit) {
        for (lines.first(); !lines.eof(); lines.next()) visit(lines);
    });
}

InvoiceDocument readDocument(const RecordCursor& header, const std::function<void(const LineVisitor&)>& walkLines) {
    InvoiceDocument d;
    const auto text = [&header](const Field& f) { return header.asString(f).trimmed(); };
    d.number = text(H::SZAMLASZAM);
    const QString type = text(H::SZAMLATIP);
    d.type = type.isEmpty() ? QChar() : type.front();
    d.issued = header.asDate(H::KIALLIT);
    d.delivered = header.asDate(H::TELJESIT);
    d.due = header.asDate(H::FIZHAT);
    d.paymentMethod = text(H::FIZMOD);
    d.name = (text(H::NEV) + QLatin1Char(' ') + text(H::NEV1)).trimmed();
    d.postalCode = text(H::IRSZAM);
    d.city = text(H::VAROS);
    d.address = text(H::CIM);
    d.buyerTax = text(H::BUYERTAX);
    d.buyerEu = text(H::BUYEREU);
    const QString status = text(H::BUYERSTAT);
    d.buyerStatus = status.isEmpty() ? QChar() : status.front();
    d.baseNumber = text(H::BASEINV);
    walkLines([&d](const RecordCursor& lines) {
        InvoiceLine line;
        line.description = lines.asString(L::MEGNEVEZES).trimmed();
        line.quantity = lines.asFloat(L::MENNYISEG);
        line.unitName = lines.asString(L::EGYSEG).trimmed();
        line.unitPrice = lines.asFloat(L::EGYSEGAR);
        line.net = lines.asFloat(L::NETTOAR);
        line.vat = lines.asFloat(L::AFAFT);
        line.gross = lines.asFloat(L::OSSZESEN);
        line.rate = lines.asFloat(L::AFA);
        line.service = lines.asLogical(L::TERMEK);
        d.lines.push_back(line);
    });
    applyDiscount(d, header.isNull(H::KEDVEZMENY) ? 0 : double(header.asInteger(H::KEDVEZMENY)));
    return d;
}

// The same rounding the document's totals take, so the invoice data adds up to them.
void applyDiscount(InvoiceDocument& document, double discountPercent) {
    if (discountPercent == 0) return;
    const long double d = discountPercent;
    const auto less = [d](double value) { return double(Kerekit(0, value - value * d / 100.0L)); };
    for (InvoiceLine& line : document.lines) {
        line.unitPrice = double(roundTo(4, line.unitPrice - line.unitPrice * d / 100.0L));
        line.net = less(line.net);
        line.vat = less(line.vat);
        line.gross = less(line.gross);
    }
}

}  // namespace kavina::nav
