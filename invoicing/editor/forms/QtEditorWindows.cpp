#include "invoicing/editor/forms/QtEditorWindows.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "documents/partners/PartnerWindow.h"
#include "documents/partners/forms/TPartnerForm.h"
#include "documents/sales/forms/LayoutCopyPrinter.h"
#include "foundation/forms/DialogButtons.h"
#include "products/pricing/PriceRules.h"
#include "report/view/PreviewWindow.h"

namespace kavina::invoicing {

QtEditorWindows::QtEditorWindows(QWidget* parent, TDataModule1& data, MemoryDocument& document, Prompt& prompt,
                                 const QtEditorWindowsOptions& options)
    : m_parent(parent),
      m_data(data),
      m_doc(document),
      m_prompt(prompt),
      m_options(options),
      m_pickWindows(parent, prompt, data.dataFolder()),
      m_picker(std::make_unique<products::ProductPicker>(parent, data, prompt, options.products, m_pickWindows)) {}

QtEditorWindows::~QtEditorWindows() = default;

void QtEditorWindows::setParent(QWidget* parent) {
    m_parent = parent;
    m_pickWindows.setParent(parent);
    m_picker->setParent(parent);
}

bool QtEditorWindows::pickPartner() {
    documents::PartnerFormOptions options;
    options.caller = m_options.offerPartner          ? documents::PartnerCaller::Offer
                     : m_options.deliveryNotePartner ? documents::PartnerCaller::DeliveryNote
                                                     : documents::PartnerCaller::Invoice;
    options.showPriceGroups = m_options.showPriceGroups;
    options.printing = m_options.printing;
    options.currentUser = m_options.currentUser;
    documents::TPartnerForm form(m_parent, m_data, m_prompt, options);
    return form.exec() == QDialog::Accepted;
}

bool QtEditorWindows::findPartnerByCode(const QString& code) {
    return documents::choosePartnerByCode(m_data.PartnerTable(), m_prompt, code);
}

bool QtEditorWindows::pickLine(int priceGroup) {
    products::PickerRequest& request = m_picker->request();
    request.mode = m_options.pickerMode;
    request.priceGroup = products::pickPriceGroup(priceGroup, m_options.products.window.settings->tobbar);
    request.lines = &m_doc.mszamla2;
    request.lineSetup = m_options.lineSetup;
    request.promotions = &m_data.akcio();
    request.today = m_options.products.window.now ? m_options.products.window.now().date() : QDate::currentDate();
    return m_picker->pick();
}

bool QtEditorWindows::editLine() {
    products::LineDialogSetup setup = m_options.lineSetup;
    setup.afterPick = false;
    return m_pickWindows.editLine(m_doc.mszamla2, setup);
}

std::optional<QString> QtEditorWindows::editRemark(const QString& remark) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("remarkDialog"));
    dialog.setWindowTitle(QStringLiteral("Megjegyzés"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("(megj.: max. 3 sor)")));
    auto* box = new QPlainTextEdit(remark);
    box->setObjectName(QStringLiteral("remarkPlainTextEdit"));
    layout->addWidget(box);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return box->toPlainText();
}

void QtEditorWindows::preview(const report::PreparedReport& pages) {
    if (!m_options.printing) return;
    report::PreviewWindow window(pages, m_prompt, *m_options.printing, {.printEnabled = false}, m_parent);
    window.exec();
}

double QtEditorWindows::grossOf(double net, double vatRate) {
    return products::grossOf(net, vatRate);
}

namespace {

EditorFocus editorFocus(documents::SaveFocus focus) {
    switch (focus) {
        case documents::SaveFocus::IssueDate: return EditorFocus::IssueDate;
        case documents::SaveFocus::PaymentMethod: return EditorFocus::PaymentMethod;
        case documents::SaveFocus::PartnerName: return EditorFocus::PartnerName;
    }
    return EditorFocus::None;
}

}  // namespace

bool saveEditorDocument(MemoryDocument& document, Prompt& prompt, const documents::SalesSaveContext& context,
                        documents::SalesCopyPrinter& printer, SalesMode mode, SourceKind source,
                        const QString& sourceNumber, EditorFocus& focus) {
    documents::SalesStore store(context);
    std::optional<documents::SaveFocus> refused;
    const bool stored = store.save(document, mode, {source, sourceNumber}, prompt, printer, &refused).has_value();
    if (refused) focus = editorFocus(*refused);
    return stored;
}

bool QtEditorWindows::saveDocument(SalesMode mode, SourceKind source, const QString& sourceNumber, EditorFocus& focus) {
    const EditorSaveSetup& setup = m_options.save;
    if (!setup.ini || !setup.settings || !setup.printer) return false;
    documents::SalesSaveContext context{m_data, *setup.ini, *setup.settings, m_options.currentUser,
                                        setup.serviceMenuShown && setup.serviceMenuShown()};
    TSzamlarEnvironment environment{&m_data.UserTable(), QString::fromStdString(m_data.dataFolder()),
                                    m_options.currentUser, setup.settings->szlistmode, setup.settings->bfont};
    documents::LayoutCopyPrinter printer(m_data.dataFolder(), environment, setup.printer());
    const bool stored = saveEditorDocument(m_doc, m_prompt, context, printer, mode, source, sourceNumber, focus);
    if (!printer.pdfFiles().isEmpty())
        m_prompt.information(QStringLiteral("Nyomtatás"), report::pdfPrintedText(printer.pdfFiles()));
    return stored;
}

}  // namespace kavina::invoicing
