#include "documents/sales/DocumentSummary.h"

#include "foundation/CatalogueFields.h"

namespace kavina::documents {

namespace H = fields::Szamla;

DocumentSummary summaryOf(const RecordCursor& h, uint32_t recNo) {
    DocumentSummary s;
    s.recNo = recNo;
    s.number = h.asString(H::SZAMLASZAM).trimmed();
    const QString type = h.asString(H::SZAMLATIP).trimmed();
    s.type = type.isEmpty() ? QChar() : type.front();
    s.state = h.asString(H::ALLAPOT).trimmed();
    s.name = h.asString(H::NEV).trimmed();
    s.place = (h.asString(H::IRSZAM).trimmed() + QLatin1Char(' ') + h.asString(H::VAROS).trimmed()).trimmed();
    s.street = h.asString(H::CIM).trimmed();
    s.issued = h.asDate(H::KIALLIT);
    s.payable = h.asFloat(H::FIZETENDO);
    s.due = h.asDate(H::FIZHAT);
    s.paid = h.asLogical(H::FIZETVE);
    s.paidOn = h.asDate(H::FIZDATUM);
    return s;
}

QString payableText(double payable) {
    return QString::number(payable, 'f', payable == double(int64_t(payable)) ? 0 : 2) + QStringLiteral(" Ft");
}

}  // namespace kavina::documents
