#pragma once
// The invoice editor's windows on the screen: the partner register as picker, the partner
// look-up by card code, the product register as picker with the line dialog, the line dialog
// alone, the remark dialog and the preview.

#include <memory>

#include "invoicing/document/MemoryDocument.h"
#include "invoicing/editor/EditorWindows.h"
#include "products/pickers/forms/ProductPicker.h"
#include "products/pickers/forms/QtPickerWindows.h"

namespace kavina::report {
class PrintService;
}

namespace kavina::invoicing {

struct QtEditorWindowsOptions {
    products::AnyagFormOptions products;       // the register's settings, rights and desktop
    products::LineDialogSetup lineSetup;       // how the line dialog opens in this editor
    report::PrintService* printing = nullptr;  // for the preview's window; none: no preview
    bool showPriceGroups = true;               // the "tobbar" setting, for the partner dialog
    QString currentUser;
};

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
