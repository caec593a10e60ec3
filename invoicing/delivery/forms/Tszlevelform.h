#pragma once
// The delivery-note editor's window (Tszlevelform) in its five kinds: the caption bar, the
// partner group, the date, the kind's own boxes ("Bizonylat:", the supplier's values, the
// payout amount), the line list with its buttons and totals, and the bottom buttons. The logic
// is DeliveryEditor; the window shows the in-memory document and forwards the clerk's keys.

#include <QDialog>
#include <memory>

#include "invoicing/delivery/DeliveryEditor.h"

class QComboBox;
class QDateEdit;
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

class Tszlevelform final : public QDialog {
    Q_OBJECT

public:
    Tszlevelform(QWidget* parent, TDataModule1& data, MemoryDocument& document, Prompt& prompt,
                 DeliveryWindows& windows, const DeliveryEditorOptions& options);
    ~Tszlevelform() override;

    // The opening steps; false when they failed (the clerk has been told).
    bool start();
    DeliveryEditor& logic() { return m_logic; }

    void reject() override;
    // "Nyomtat [F10]" / "Mentés [F10]".
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* partnerGroup();
    QWidget* linesButtons();
    QWidget* totalsRow();
    QWidget* bottomButtons();
    void buildGrid();
    void applyKind();
    void showHeader();
    void command(const std::function<void()>& action);
    bool leaveBox(QObject* box);

    TDataModule1& m_data;
    MemoryDocument& m_doc;
    Prompt& m_prompt;
    DeliveryEditor m_logic;
    std::unique_ptr<widgets::RecordGrid> m_grid;
    QLabel *m_header, *m_discountLabel, *m_priceGroupLabel, *m_dateLabel, *m_netLabel, *m_grossLabel;
    QLineEdit *m_name, *m_code, *m_postcode, *m_town, *m_street, *m_partnerNumber, *m_net, *m_gross;
    QComboBox* m_priceGroup;
    QSpinBox* m_discount;
    QDateEdit* m_issued;
    QTableView* m_lines;
    QWidget *m_linesButtons, *m_totals;
    QLabel *m_netTotal, *m_vatTotal, *m_payable;
    QPushButton *m_newLine, *m_changeLine, *m_deleteLine, *m_loadOrder, *m_print, *m_preview, *m_remark;
    QMenu* m_menu;
    bool m_refilling = false;
};

}  // namespace kavina::invoicing
