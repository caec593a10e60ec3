#pragma once
// The invoice editor's window (TSzamlaForm): the header bar, the partner panel, the dates and
// payment panel, the line grid, the totals with the cash handed over and the change, and the
// buttons. The logic is InvoiceEditor; the window shows the in-memory document and forwards
// the clerk's typing, keys and clicks. Every element works from the keyboard: the focus runs
// partner, code, price group, discount, payment, dates, lines, handed-over amount.

#include <QDialog>
#include <memory>

#include "invoicing/editor/InvoiceEditor.h"

class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::invoicing {

class TSzamlaForm final : public QDialog {
    Q_OBJECT

public:
    TSzamlaForm(QWidget* parent, TDataModule1& data, MemoryDocument& document, Prompt& prompt, EditorWindows& windows,
                const InvoiceEditorOptions& options);
    ~TSzamlaForm() override;

    // The opening steps; false when the editor must not open (its source was refused).
    bool start();
    InvoiceEditor& logic() { return m_logic; }

    void reject() override;
    // "Nyomtat [F10]".
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QFrame* partnerPanel();
    QFrame* datesPanel();
    QWidget* totalsPanel();
    QWidget* buttonsRow();
    void buildGrid();
    void fillSelectors();
    void showHeader();
    void showTotals();
    void orderFocus();
    // Runs a command of the window at the boundary, then shows the document as it stands.
    void command(const std::function<void()>& action);
    bool leaveBox(QObject* box);
    void sortLines(int column);
    void showFrequentTexts();

    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;
    InvoiceEditor m_logic;
    std::unique_ptr<widgets::RecordGrid> m_grid;
    QLabel* m_header;
    QFrame *m_partnerPanel, *m_datesPanel;
    QLineEdit *m_name, *m_code, *m_postcode, *m_town, *m_street, *m_handedOver;
    QComboBox *m_priceGroup, *m_payment;
    QLabel* m_priceGroupLabel;
    QSpinBox* m_discount;
    QDateEdit *m_issued, *m_delivered, *m_due;
    QTableView* m_lines;
    QLabel *m_net, *m_vat, *m_payable, *m_change;
    QPushButton *m_newLine, *m_changeLine, *m_deleteLine, *m_print;
    QMenu* m_menu;
    bool m_refilling = false;
    bool m_clickHitRow = false;
};

}  // namespace kavina::invoicing
