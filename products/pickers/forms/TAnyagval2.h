#pragma once
// The warranty pick dialog's window (TAnyagval2): the unit price row and the quantity row
// with the totals, to fillér, over the WarrantyPick logic.

#include <QDialog>

#include "products/pickers/WarrantyPick.h"

class QLabel;
class QLineEdit;

namespace kavina::products {

class TAnyagval2 final : public QDialog {
    Q_OBJECT

public:
    TAnyagval2(QWidget* parent, WarrantyPick& logic, Prompt& prompt, RecordCursor& warrantyLines,
               const QString& warrantyNumber);

private:
    void showFigures();

    WarrantyPick& m_logic;
    Prompt& m_prompt;
    QLineEdit *m_net, *m_gross, *m_quantity;
    QLabel *m_vatPerUnit, *m_netTotal, *m_vatTotal, *m_grossTotal;
};

}  // namespace kavina::products
