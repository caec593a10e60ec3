#include "invoicing/register/forms/QtDocumentWindows.h"

#include <QApplication>

#include "invoicing/register/forms/AgentDialog.h"
#include "invoicing/register/forms/CancelAndPay.h"
#include "invoicing/register/forms/TSzamlak.h"
#include "report/view/PreviewWindow.h"

namespace kavina::invoicing {

QtDocumentWindows::QtDocumentWindows(QWidget* parent, DocumentWindowsContext context)
    : m_parent(parent), m_context(std::move(context)) {}

bool QtDocumentWindows::showRegister(const RegisterRequest& request) {
    TSzamlak window(m_parent, m_context.data, m_context.prompt, *this, request, m_context.options, m_context.settings);
    window.exec();
    return window.chosen();
}

std::optional<AgentData> QtDocumentWindows::editAgent(const AgentData& data) {
    AgentDialog dialog(m_parent, data, m_context.prompt);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.data();
}

void QtDocumentWindows::preview(const report::PreparedReport& pages, const QString& pdfName) {
    report::ReportPrinter printer(m_context.printer());
    report::PreviewWindow window(pages, m_context.prompt, printer, {.pdfFileName = pdfName}, m_parent);
    window.exec();
}

bool QtDocumentWindows::print(const report::PreparedReport& pages, const QString& documentName) {
    report::PrinterChoice choice = m_context.printer();
    choice.documentName = documentName;
    try {
        report::ReportPrinter printer(choice);
        m_pdfFiles << printer.print(pages, 1);
        return true;
    } catch (const report::PrintError& e) {
        m_context.prompt.error(QStringLiteral("Hiba"), QString::fromUtf8(e.what()));
        return false;
    }
}

void QtDocumentWindows::printingDone() {
    if (m_pdfFiles.isEmpty()) return;
    const QStringList files = m_pdfFiles;
    m_pdfFiles.clear();
    m_context.prompt.information(QStringLiteral("Nyomtatás"), report::pdfPrintedText(files));
}

// The dialogs open over the register window that asks for them.
bool QtDocumentWindows::cancelCurrent(bool spoil) {
    QWidget* over = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_parent;
    return cancelCurrentDocument(over, {m_context.data, m_context.prompt, m_context.options}, *this, spoil);
}

bool QtDocumentWindows::payCurrent() {
    QWidget* over = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_parent;
    return payCurrentDocument(over, {m_context.data, m_context.prompt, m_context.options}, *this);
}

}  // namespace kavina::invoicing
