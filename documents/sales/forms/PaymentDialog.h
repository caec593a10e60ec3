#pragma once
// The payment dialog ("Befizetés"): an invoice chosen by its number, in the register of unpaid
// invoices, or handed over by the register, is recorded as paid on the date in the box.
#include <QDialog>
#include <optional>

#include "documents/sales/Payment.h"
#include "documents/sales/forms/DocumentPickBox.h"

class QLineEdit;

namespace kavina::documents {

inline const QString kWrongPaymentDate = QStringLiteral("A megadott dátum hibás, kérem ellenőrizze!");

class PaymentDialog : public QDialog {
    Q_OBJECT

public:
    PaymentDialog(QWidget* parent, InvoicePayment& payment, Prompt& prompt, DocumentPickBox::Choose chooseInRegister,
                  std::optional<DocumentSummary> handedOver = std::nullopt);

    DocumentPickBox* pickBox() const { return m_box; }
    QLineEdit* dateBox() const { return m_date; }

private:
    void showDue(const DocumentSummary& invoice);
    void confirm();

    InvoicePayment& m_payment;
    Prompt& m_prompt;
    DocumentPickBox* m_box;
    QLineEdit* m_date;
};

}  // namespace kavina::documents
