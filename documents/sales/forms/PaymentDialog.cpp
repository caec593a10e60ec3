#include "documents/sales/forms/PaymentDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/TextFormat.h"
#include "foundation/forms/DialogButtons.h"

namespace kavina::documents {

PaymentDialog::PaymentDialog(QWidget* parent, InvoicePayment& payment, Prompt& prompt,
                             DocumentPickBox::Choose chooseInRegister, std::optional<DocumentSummary> handedOver)
    : QDialog(parent), m_payment(payment), m_prompt(prompt) {
    setObjectName(QStringLiteral("paymentDialog"));
    setWindowTitle(QStringLiteral("Befizetés"));
    QLabel* header = dialogHeader(QStringLiteral("        Befizetés"));
    // A choice in the register proposes the invoice's due date; a typed number keeps the date.
    DocumentPickBox::Choose choose = [this, chooseInRegister = std::move(chooseInRegister)]() {
        std::optional<DocumentSummary> chosen = chooseInRegister ? chooseInRegister() : std::nullopt;
        if (chosen) showDue(*chosen);
        return chosen;
    };
    m_box = new DocumentPickBox(
        QStringLiteral("A számla sorszáma:"), [this](const QString& number) { return m_payment.find(number); },
        std::move(choose));
    m_date = new QLineEdit;
    m_date->setObjectName(QStringLiteral("paymentDateLineEdit"));
    m_date->setInputMask(QStringLiteral("9999.99.99; "));
    m_date->setMaximumWidth(110);
    m_box->addRow(QStringLiteral("Fizetés dátuma:"), m_date);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addSpacing(8);
    layout->addWidget(m_box);
    layout->addStretch();
    const DialogButtons buttons =
        addDialogButtons(this, layout, QStringLiteral("&Rendben"), QStringLiteral("&Kilépés"));
    disconnect(buttons.accept, nullptr, this, nullptr);
    connect(buttons.accept, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_box, &DocumentPickBox::notFound, this, [this] { m_prompt.warning(kPaymentCaption, kNoSuchInvoice); });
    if (handedOver) {
        m_box->show(*handedOver);
        showDue(*handedOver);
    }
}

void PaymentDialog::showDue(const DocumentSummary& invoice) {
    m_date->setText(invoice.due.isValid() ? dateText(invoice.due) : QString());
}

void PaymentDialog::confirm() {
    if (!m_box->chosen()) return;  // works only on a chosen invoice
    const QString typed = m_date->text();
    const QDate date = QDate::fromString(typed, QStringLiteral("yyyy.MM.dd"));
    if (!date.isValid() && !typed.trimmed().remove(QLatin1Char('.')).isEmpty()) {
        m_prompt.warning(kPaymentCaption, kWrongPaymentDate);
        return;
    }
    bool stored = false;
    runCommand(m_prompt, [&] { stored = m_payment.record(*m_box->chosen(), date, m_prompt); });
    if (stored) accept();
}

}  // namespace kavina::documents
