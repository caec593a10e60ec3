#pragma once
// The invoice editor's windows on the screen: the partner register as picker, the partner
// look-up by card code, the product register as picker with the line dialog, the line dialog
// alone, the remark dialog and the preview.

#include <functional>
#include <memory>

#include "documents/sales/SalesSave.h"
#include "foundation/IniFile.h"
#include "foundation/IniSettings.h"
#include "invoicing/document/MemoryDocument.h"
#include "invoicing/editor/EditorWindows.h"
#include "products/pickers/forms/ProductPicker.h"
#include "products/pickers/forms/QtPickerWindows.h"
#include "report/view/ReportPrinter.h"

namespace kavina::report {
class PrintService;
}

namespace kavina::invoicing {

// What the save needs of the workstation.
struct EditorSaveSetup {
    IniFile* ini = nullptr;           // the workstation's ini: the last invoice and proforma dates
    IniSettings* settings = nullptr;  // the settings in force, which hold the same dates
    std::function<bool()> serviceMenuShown;
    std::function<report::PrinterChoice()> printer;  // where the copies go
};

struct QtEditorWindowsOptions {
    products::AnyagFormOptions products;       // the register's settings, rights and desktop
    products::LineDialogSetup lineSetup;       // how the line dialog opens in this editor
    report::PrintService* printing = nullptr;  // for the preview's window; none: no preview
    bool showPriceGroups = true;               // the "tobbar" setting, for the partner dialog
    QString currentUser;
    EditorSaveSetup save;
    // Who picks: the invoice editor, or the delivery-note editor (its own partner tab and
    // picker caller mode).
    products::CallerMode pickerMode = products::CallerMode::InvoiceEditor;
    bool deliveryNotePartner = false;
    bool offerPartner = false;  // the offer editor: the partner register on its "Vevő" tab
};

// The save of an editor's document through the program's store, with the copies printed by the
// printer given: what saveDocument does once it has its context and printer.
bool saveEditorDocument(MemoryDocument& document, Prompt& prompt, const documents::SalesSaveContext& context,
                        documents::SalesCopyPrinter& printer, SalesMode mode, SourceKind source,
                        const QString& sourceNumber, EditorFocus& focus);

class QtEditorWindows final : public EditorWindows {
public:
    QtEditorWindows(QWidget* parent, TDataModule1& data, MemoryDocument& document, Prompt& prompt,
                    const QtEditorWindowsOptions& options);
    ~QtEditorWindows() override;

    bool pickPartner() override;
    bool findPartnerByCode(const QString& code) override;
    bool pickLine(int priceGroup) override;
    bool editLine() override;
    std::optional<QString> editRemark(const QString& remark) override;
    void preview(const report::PreparedReport& pages) override;
    double grossOf(double net, double vatRate) override;
    bool saveDocument(SalesMode mode, SourceKind source, const QString& sourceNumber, EditorFocus& focus) override;

    // The editor's window, over which the registers and dialogs are shown.
    void setParent(QWidget* parent);

private:
    QWidget* m_parent;
    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;
    QtEditorWindowsOptions m_options;
    products::QtPickerWindows m_pickWindows;
    std::unique_ptr<products::ProductPicker> m_picker;
};

}  // namespace kavina::invoicing
