#include "invoicing/delivery/forms/QtDeliveryWindows.h"

#include "invoicing/delivery/forms/DeliveryLayoutPrinter.h"
#include "invoicing/register/DocumentRegister.h"

namespace kavina::invoicing {

QtDeliveryWindows::QtDeliveryWindows(QWidget* parent, TDataModule1& data, MemoryDocument& document, Prompt& prompt,
                                     const QtDeliveryWindowsOptions& options)
    : m_parent(parent),
      m_data(data),
      m_doc(document),
      m_prompt(prompt),
      m_options(options),
      m_editor(parent, data, document, prompt, options.editor) {}

void QtDeliveryWindows::setParent(QWidget* parent) {
    m_parent = parent;
    m_editor.setParent(parent);
}

bool QtDeliveryWindows::chooseSupplierOrder() {
    if (!m_options.documentWindows) return false;
    const std::unique_ptr<DocumentWindows> windows = m_options.documentWindows(m_parent);
    RegisterRequest request;
    request.kind = ListKind::SupplierOrders;
    request.caption = QStringLiteral("Megrendelések");
    request.selection = true;
    return openRegister(m_data, *windows, request, m_options.today());
}

bool QtDeliveryWindows::saveDocument(DeliveryKind kind, EditorFocus& focus,
                                     const std::optional<ReplacedOffer>& replaced) {
    const EditorSaveSetup& setup = m_options.editor.save;
    if (!setup.settings || !setup.printer) return false;
    documents::DeliveryStore store({.data = m_data, .user = m_options.editor.currentUser});
    TSzamlarEnvironment environment{&m_data.UserTable(), QString::fromStdString(m_data.dataFolder()),
                                    m_options.editor.currentUser, setup.settings->szlistmode, setup.settings->bfont};
    DeliveryLayoutPrinter printer(m_data.dataFolder(), environment, setup.printer());
    std::optional<documents::SaveFocus> refused;
    const bool stored = store.save(m_doc, kind, m_prompt, printer, &refused, replaced).has_value();
    if (refused) focus = EditorFocus::PartnerName;
    if (!printer.pdfFiles().isEmpty())
        m_prompt.information(QStringLiteral("Nyomtatás"), report::pdfPrintedText(printer.pdfFiles()));
    return stored;
}

}  // namespace kavina::invoicing
