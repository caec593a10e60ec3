#pragma once
// The VAT groups window ("ÁFA csoportok") and its "Szerkesztés" dialog. The rules are
// VatGroups' (products/vat/).

#include <QDialog>
#include <memory>

#include "products/vat/VatGroups.h"

class QLineEdit;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::products {

class VatGroupDialog final : public QDialog {
    Q_OBJECT

public:
    VatGroupDialog(QWidget* parent, Prompt& prompt, const VatGroup& start);

    const std::optional<VatGroup>& group() const { return m_group; }
    void accept() override;

private:
    Prompt& m_prompt;
    QLineEdit* m_name;
    QLineEdit* m_rate;
    std::optional<VatGroup> m_group;
};

class VatGroupsWindow final : public QDialog, private VatGroupWindows {
    Q_OBJECT

public:
    // windows: the dialog's; this window's own when none.
    VatGroupsWindow(QWidget* parent, TDataModule1& data, Prompt& prompt, VatGroupWindows* windows = nullptr);
    ~VatGroupsWindow() override;

private:
    std::optional<VatGroup> editVatGroup(const VatGroup& start) override;
    void run(bool (VatGroups::*action)());

    Prompt& m_prompt;
    std::unique_ptr<VatGroups> m_groups;
    std::unique_ptr<widgets::RecordGrid> m_list;
};

}  // namespace kavina::products
