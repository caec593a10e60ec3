#pragma once
// Recording that an invoice was paid after it was saved, and finding a partner's unpaid
// invoices. Payments are whole: an invoice is paid (FIZETVE, with the day in FIZDATUM) or not.
// An invoice is unpaid when its type is B and it is not paid; cancelled and corrective
// invoices never count as unpaid.

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "documents/sales/DocumentSummary.h"
#include "foundation/Prompt.h"

namespace kavina {
class TDataModule1;
class TableHandle;
}  // namespace kavina

namespace kavina::documents {

inline const QString kPaymentCaption = QStringLiteral("Figyelem!");
inline const QString kNoSuchInvoice = QStringLiteral("Ilyen számú számla nem készült, kérem ellenőrizze!");
inline const QString kEmptyPaymentDate = QStringLiteral("Kérem töltse ki a dátum mezőt!");
inline const QString kNotPayable = QStringLiteral("Befizetést csak számlára és helyesbítő számlára lehet rögzíteni!");

// An invoice as the payment dialog shows it; its due date is proposed as the payment date.
using PayableInvoice = DocumentSummary;

class InvoicePayment {
public:
    explicit InvoicePayment(TDataModule1& data);
    ~InvoicePayment();

    // The stored document of that number, read again from the disk; nothing when there is none.
    std::optional<PayableInvoice> find(const QString& number);
    // The document under the record number (the one the register hands over).
    std::optional<PayableInvoice> at(uint32_t recNo);

    // "&Rendben": an empty date is refused with its message; only invoices and corrective
    // invoices are paid; an invoice already paid asks before its payment date is overwritten.
    // Returns whether the payment was stored.
    bool record(const PayableInvoice& invoice, const QDate& paidOn, Prompt& prompt);

private:
    TableHandle& headers();

    TDataModule1& m_data;
    std::unique_ptr<TableHandle> m_headers;
};

// A partner's unpaid invoices: headers whose NEV and CIM equal the partner's name and street as
// the header stores them (cut to its field widths), of type B and not paid. Their numbers.
std::vector<QString> unpaidInvoicesOf(TableHandle& headers, const QString& partnerName, const QString& street);

}  // namespace kavina::documents
