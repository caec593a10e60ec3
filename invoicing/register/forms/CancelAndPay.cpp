#include "invoicing/register/forms/CancelAndPay.h"

#include "documents/sales/forms/CancelDialog.h"
#include "documents/sales/forms/PaymentDialog.h"
#include "foundation/CatalogueFields.h"
#include "foundation/MemTable.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/print/TSzamlar.h"

namespace kavina::invoicing {

namespace H = fields::Szamla;
using documents::CancelKind;
using documents::CancelMode;
using documents::DocumentSummary;

namespace {

const QString kCopyLabel = QStringLiteral("Másolati példány");

// The copies of a cancelled document: the layout of its kind before the cancellation, the
// storno or spoiled mark over it, every copy "Másolati példány".
class StoredCancelPrinter final : public documents::CancelCopyPrinter {
public:
    StoredCancelPrinter(TDataModule1& data, RegisterOptions options, DocumentWindows& windows)
        : m_data(data), m_options(std::move(options)), m_windows(windows) {}

    void printCopy(const DocumentSummary& document, CancelMode mode, CancelKind kind, const QString&) override {
        if (m_failed) return;  // the clerk was told at the first copy that failed
        TableHandle& docs = m_data.SzamlaTable();
        docs.refresh();
        if (!docs.gotoBookmark({document.recNo})) return;
        MemTable header;
        copyHeaderWithSerial(docs, header, docs.asInteger(H::PRINT));
        const std::unique_ptr<TSzamlar> layout = storedDocumentLayout(m_data, m_options, header);
        setUp(*layout, document.type, mode);
        layout->setOverlay(kind == CancelKind::Spoil ? m_options.overlays.spoiled : m_options.overlays.storno);
        layout->setCopyLabel(kCopyLabel);
        m_failed = !m_windows.print(layout->prepare(), document.number);
    }

private:
    void setUp(TSzamlar& layout, QChar typeBefore, CancelMode mode) {
        if (typeBefore == type::Proforma) return layout.setUp(SalesMode::Proforma);
        const QChar printedAs = mode == CancelMode::DeliveryNote ? QChar(type::DeliveryNote)
                                : mode == CancelMode::CashSale   ? QChar(type::CashSale)
                                                                 : QChar(type::Invoice);
        setUpStoredPrint(layout, printedAs, QString(), StoredPrintUse::Copy, m_options.overlays);
    }

    TDataModule1& m_data;
    RegisterOptions m_options;
    DocumentWindows& m_windows;
    bool m_failed = false;
};

DocumentSummary currentSummary(TDataModule1& data) {
    TableHandle& docs = data.SzamlaTable();
    return documents::summaryOf(docs, uint32_t(docs.bookmark().id));
}

// The register in selection mode over a list; the chosen document.
documents::DocumentPickBox::Choose chooseIn(const CancelAndPayContext& c, DocumentWindows& windows, ListKind kind) {
    return [&c, &windows, kind]() -> std::optional<DocumentSummary> {
        RegisterRequest request;
        request.kind = kind;
        request.selection = true;
        if (!openRegister(c.data, windows, request, c.options.today())) return std::nullopt;
        return currentSummary(c.data);
    };
}

ListKind listOf(CancelMode mode) {
    switch (mode) {
        case CancelMode::DeliveryNote: return ListKind::DeliveryNotes;
        case CancelMode::CashSale: return ListKind::CashSales;
        case CancelMode::Invoice: break;
    }
    return ListKind::Invoices;
}

bool runCancelDialog(QWidget* parent, const CancelAndPayContext& c, DocumentWindows& windows, CancelMode mode,
                     CancelKind kind, std::optional<DocumentSummary> handedOver) {
    documents::DocumentCancellation cancellation(c.data);
    StoredCancelPrinter printer(c.data, c.options, windows);
    documents::CancelDialog dialog(parent, cancellation, mode, kind, c.prompt, printer,
                                   chooseIn(c, windows, listOf(mode)), std::move(handedOver));
    const bool cancelled = dialog.exec() == QDialog::Accepted;
    windows.printingDone();
    return cancelled;
}

bool runPaymentDialog(QWidget* parent, const CancelAndPayContext& c, DocumentWindows& windows,
                      std::optional<DocumentSummary> handedOver) {
    documents::InvoicePayment payment(c.data);
    documents::PaymentDialog dialog(parent, payment, c.prompt, chooseIn(c, windows, ListKind::Unpaid),
                                    std::move(handedOver));
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

bool cancelCurrentDocument(QWidget* parent, const CancelAndPayContext& c, DocumentWindows& windows, bool spoil) {
    const DocumentSummary document = currentSummary(c.data);
    const CancelKind kind = spoil ? CancelKind::Spoil : CancelKind::Storno;
    const std::optional<CancelMode> mode = documents::cancelModeOf(document.type, kind);
    if (spoil && !mode) {
        c.prompt.warning(documents::kCancelCaption, documents::kCannotSpoil);
        return false;
    }
    // A storno opens in the invoice mode for any other type, which refuses it on "&Rendben".
    return runCancelDialog(parent, c, windows, mode.value_or(CancelMode::Invoice), kind, document);
}

bool payCurrentDocument(QWidget* parent, const CancelAndPayContext& c, DocumentWindows& windows) {
    return runPaymentDialog(parent, c, windows, currentSummary(c.data));
}

void addCancelAndPayCommands(const AddCommand& add, const RegisterCommandContext& c) {
    const auto cancelling = [&add, c](const char* handler, CancelMode mode, CancelKind kind) {
        add(QString::fromLatin1(handler), [c, mode, kind] {
            const std::unique_ptr<QtDocumentWindows> windows = makeDocumentWindows(c.parent(), c);
            runCancelDialog(c.parent(), {c.data, c.prompt, registerOptions(c)}, *windows, mode, kind, std::nullopt);
        });
    };
    cancelling("mStornoClick", CancelMode::Invoice, CancelKind::Storno);
    cancelling("mSzallitoStornoClick", CancelMode::DeliveryNote, CancelKind::Storno);
    cancelling("pgStornoClick", CancelMode::CashSale, CancelKind::Storno);
    cancelling("mRontottClick", CancelMode::Invoice, CancelKind::Spoil);
    add(QStringLiteral("mBefizetesClick"), [c] {
        const std::unique_ptr<QtDocumentWindows> windows = makeDocumentWindows(c.parent(), c);
        runPaymentDialog(c.parent(), {c.data, c.prompt, registerOptions(c)}, *windows, std::nullopt);
    });
}

}  // namespace kavina::invoicing
