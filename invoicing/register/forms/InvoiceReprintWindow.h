#pragma once
// The service reprint's window "Kérem válasszon...": the invoices of every year, "Ettől",
// "Eddig", "&Választ" and "Bezár". The logic is InvoiceReprint; choosing an invoice closes the
// window, and the caller then prints it.

#include <QDialog>
#include <memory>

#include "invoicing/register/InvoiceReprint.h"

class QLabel;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::invoicing {

class InvoiceReprintWindow final : public QDialog {
    Q_OBJECT

public:
    InvoiceReprintWindow(QWidget* parent, TDataModule1& data, Prompt& prompt, InvoiceReprint& logic);
    ~InvoiceReprintWindow() override;

    bool chosen() const { return m_chosen; }
    void done(int result) override;

private:
    void choose();

    Prompt& m_prompt;
    InvoiceReprint& m_logic;
    std::unique_ptr<widgets::RecordGrid> m_list;
    QTableView* m_grid;
    QLabel* m_start;
    bool m_chosen = false;
};

}  // namespace kavina::invoicing
