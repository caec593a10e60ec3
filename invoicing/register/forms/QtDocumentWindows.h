#pragma once
// The document register's windows as Qt dialogs, modal over a parent window: the register
// itself (TSzamlak), the "Üzletkötő" dialog, the preview window, and printing on the printer
// of the settings.

#include <functional>

#include "foundation/IniSettings.h"
#include "invoicing/register/DocumentRegister.h"
#include "report/view/ReportPrinter.h"

class QWidget;

namespace kavina::invoicing {

struct DocumentWindowsContext {
    TDataModule1& data;
    Prompt& prompt;
    const IniSettings& settings;
    RegisterOptions options;
    // The printer of the settings, made when a print needs it.
    std::function<report::PrinterChoice()> printer;
};

class QtDocumentWindows final : public DocumentWindows {
public:
    QtDocumentWindows(QWidget* parent, DocumentWindowsContext context);

    bool showRegister(const RegisterRequest& request) override;
    std::optional<AgentData> editAgent(const AgentData& data) override;
    void preview(const report::PreparedReport& pages, const QString& pdfName) override;
    bool print(const report::PreparedReport& pages, const QString& documentName) override;
    void printingDone() override;
    bool cancelCurrent(bool spoil) override;
    bool payCurrent() override;

private:
    QStringList m_pdfFiles;  // written since the last printingDone()
    QWidget* m_parent;
    DocumentWindowsContext m_context;
};

}  // namespace kavina::invoicing
