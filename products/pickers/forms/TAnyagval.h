#pragma once
// The line dialog's window (TAnyagval): the unit price row, the quantity row with the unit,
// the line totals and the remark, over the LineDialog logic. Typing recomputes at once; the
// quantity box starts with the focus; Enter there accepts where the logic says so.

#include <QDialog>

#include "products/pickers/LineDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kavina::products {

class TAnyagval final : public QDialog {
    Q_OBJECT

public:
    TAnyagval(QWidget* parent, LineDialog& logic, Prompt& prompt);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showFigures();
    void acceptLine();

    LineDialog& m_logic;
    Prompt& m_prompt;
    QLineEdit *m_net, *m_gross, *m_quantity, *m_remark;
    QLabel *m_vatPerUnit, *m_netTotal, *m_vatTotal, *m_grossTotal;
    QPushButton *m_accept, *m_cancel;
};

}  // namespace kavina::products
