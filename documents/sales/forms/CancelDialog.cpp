#include "documents/sales/forms/CancelDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/forms/DialogButtons.h"

namespace kavina::documents {

QString CancelDialog::headerText(CancelMode mode, CancelKind kind, bool fromRegister) {
    if (kind == CancelKind::Spoil) return QStringLiteral("        Rontott");
    switch (mode) {
        case CancelMode::Invoice:
            return fromRegister ? QStringLiteral("Számla stornó") : QStringLiteral("Számla stornózása");
        case CancelMode::DeliveryNote: return QStringLiteral("Szállitólevél stornó");
        case CancelMode::CashSale: return QStringLiteral("Pénztárgépes eladás stornó");
    }
    return QStringLiteral("Számla stornózása");
}

CancelDialog::CancelDialog(QWidget* parent, DocumentCancellation& cancellation, CancelMode mode, CancelKind kind,
                           Prompt& prompt, CancelCopyPrinter& printer, DocumentPickBox::Choose chooseInRegister,
                           std::optional<DocumentSummary> handedOver)
    : QDialog(parent), m_cancellation(cancellation), m_mode(mode), m_kind(kind), m_prompt(prompt), m_printer(printer) {
    const bool storno = kind == CancelKind::Storno;
    setObjectName(storno ? QStringLiteral("stornoDialog") : QStringLiteral("spoilDialog"));
    setWindowTitle(storno ? QStringLiteral("Stornó") : QStringLiteral("Rontott"));
    QLabel* header = dialogHeader(headerText(mode, kind, handedOver.has_value()));
    m_box = new DocumentPickBox(
        QStringLiteral("Bizonylat sorszáma:"), [this](const QString& number) { return m_cancellation.find(number); },
        std::move(chooseInRegister));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addSpacing(8);
    layout->addWidget(m_box);
    layout->addStretch();
    const DialogButtons buttons =
        addDialogButtons(this, layout, QStringLiteral("&Rendben"), QStringLiteral("&Kilépés"));
    disconnect(buttons.accept, nullptr, this, nullptr);
    connect(buttons.accept, &QPushButton::clicked, this, [this] { confirm(); });
    connect(m_box, &DocumentPickBox::notFound, this, [this] {
        m_prompt.warning(kCancelCaption, kNoSuchDocument);
        m_box->numberBox()->selectAll();
        m_box->numberBox()->setFocus();
    });
    if (handedOver) m_box->show(*handedOver);
}

void CancelDialog::confirm() {
    if (!m_box->chosen()) return;  // works only on a chosen document
    bool done = false;
    runCommand(m_prompt, [&] { done = m_cancellation.run(*m_box->chosen(), m_mode, m_kind, m_prompt, m_printer); });
    if (done) accept();
}

}  // namespace kavina::documents
