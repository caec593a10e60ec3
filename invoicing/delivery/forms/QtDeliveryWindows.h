#pragma once
// The delivery-note editor's windows on the screen: the invoice editor's partner, product and
// remark windows opened as the delivery-note editor opens them, the register over the
// supplier orders, and the save with its copies on the workstation's printer.

#include <functional>
#include <memory>

#include "invoicing/delivery/DeliveryWindows.h"
#include "invoicing/editor/forms/QtEditorWindows.h"
#include "invoicing/register/DocumentWindows.h"

namespace kavina::invoicing {

struct QtDeliveryWindowsOptions {
    QtEditorWindowsOptions editor;
    std::function<QDate()> today;
    // The document register's windows over a parent, for choosing a supplier order.
    std::function<std::unique_ptr<DocumentWindows>(QWidget*)> documentWindows;
};

class QtDeliveryWindows final : public DeliveryWindows {
public:
    QtDeliveryWindows(QWidget* parent, TDataModule1& data, MemoryDocument& document, Prompt& prompt,
                      const QtDeliveryWindowsOptions& options);

    bool pickPartner() override { return m_editor.pickPartner(); }
    bool findPartnerByCode(const QString& code) override { return m_editor.findPartnerByCode(code); }
    bool pickLine(int priceGroup) override { return m_editor.pickLine(priceGroup); }
    bool editLine() override { return m_editor.editLine(); }
    std::optional<QString> editRemark(const QString& remark) override { return m_editor.editRemark(remark); }
    void preview(const report::PreparedReport& pages) override { m_editor.preview(pages); }
    bool chooseSupplierOrder() override;
    bool saveDocument(DeliveryKind kind, EditorFocus& focus, const std::optional<ReplacedOffer>& replaced) override;

    void setParent(QWidget* parent);

private:
    QWidget* m_parent;
    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;
    QtDeliveryWindowsOptions m_options;
    QtEditorWindows m_editor;
};

}  // namespace kavina::invoicing
