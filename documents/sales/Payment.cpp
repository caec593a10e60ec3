#include "documents/sales/Payment.h"

#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/TDataModule1.h"
#include "foundation/TextFormat.h"
#include "invoicing/document/DocumentKinds.h"

namespace kavina::documents {

namespace H = fields::Szamla;

namespace {

QString cutToField(const TableHandle& table, const Field& field, const QString& text) {
    const int width = table.fields().at(size_t(table.fieldNumber(field))).length;
    return text.left(width).trimmed();
}

}  // namespace

InvoicePayment::InvoicePayment(TDataModule1& data) : m_data(data) {}

InvoicePayment::~InvoicePayment() = default;

TableHandle& InvoicePayment::headers() {
    if (!m_headers) {
        auto h = std::make_unique<TableHandle>(m_data.dataFolder(), catalogue::table(TableId::Szamla).fileName);
        h->open();
        h->setOrder(H::SZAMLASZAM);
        m_headers = std::move(h);
    }
    return *m_headers;
}

std::optional<PayableInvoice> InvoicePayment::find(const QString& number) {
    TableHandle& h = headers();
    h.refresh();
    if (number.trimmed().isEmpty() || !h.findKey(number.trimmed().toStdString())) return std::nullopt;
    return summaryOf(h, uint32_t(h.bookmark().id));
}

std::optional<PayableInvoice> InvoicePayment::at(uint32_t recNo) {
    TableHandle& h = headers();
    h.refresh();
    if (!h.gotoBookmark({recNo})) return std::nullopt;
    return summaryOf(h, uint32_t(h.bookmark().id));
}

bool InvoicePayment::record(const PayableInvoice& invoice, const QDate& paidOn, Prompt& prompt) {
    if (!paidOn.isValid()) {
        prompt.warning(kPaymentCaption, kEmptyPaymentDate);
        return false;
    }
    TableHandle& h = headers();
    h.refresh();
    if (!h.gotoBookmark({invoice.recNo}) || h.asString(H::SZAMLASZAM).trimmed() != invoice.number) {
        prompt.warning(kPaymentCaption, kNoSuchInvoice);
        return false;
    }
    RecordEdit change = RecordEdit::edit(h);  // locked and read again
    const QString type = h.asString(H::SZAMLATIP).trimmed();
    if (type != QChar(invoicing::type::Invoice) && type != QChar(invoicing::type::Corrective)) {
        prompt.warning(kPaymentCaption, kNotPayable);
        return false;
    }
    if (h.asLogical(H::FIZETVE)) {
        const QDate stored = h.asDate(H::FIZDATUM);
        const QString question = QStringLiteral("A számla már ki van fizetve (%1). Felülírja a fizetés dátumát?")
                                     .arg(stored.isValid() ? dateText(stored) : QStringLiteral("dátum nélkül"));
        if (!prompt.askYesNo(kPaymentCaption, question)) return false;
    }
    h.setLogical(H::FIZETVE, true);
    h.setDate(H::FIZDATUM, paidOn);
    change.post();
    return true;
}

std::vector<QString> unpaidInvoicesOf(TableHandle& headers, const QString& partnerName, const QString& street) {
    const QString name = cutToField(headers, H::NEV, partnerName);
    const QString address = cutToField(headers, H::CIM, street);
    std::vector<QString> out;
    headers.refresh();
    headers.setOrder(H::NEV);
    if (name.isEmpty() || !headers.findKey(name.toStdString())) return out;
    for (; !headers.eof() && headers.asString(H::NEV).trimmed() == name; headers.next()) {
        if (headers.asString(H::CIM).trimmed() != address) continue;
        if (headers.asString(H::SZAMLATIP).trimmed() != QChar(invoicing::type::Invoice)) continue;
        if (headers.asLogical(H::FIZETVE)) continue;
        out.push_back(headers.asString(H::SZAMLASZAM).trimmed());
    }
    return out;
}

}  // namespace kavina::documents
