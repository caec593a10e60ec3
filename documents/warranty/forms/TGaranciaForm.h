#pragma once
// TGaranciaForm, the warranty certificate editor ("Garancialevél készítése"): the customer, the
// invoice it was filled from, the four dates and the lines with their serial numbers. The
// logic is WarrantyEditor; the window shows its in-memory certificate and passes on the
// clerk's commands.

#include <QDialog>
#include <memory>

#include "documents/warranty/WarrantyEditor.h"

class QDateEdit;
class QLineEdit;
class QTableView;

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::documents {

class TGaranciaForm final : public QDialog {
    Q_OBJECT

public:
    // The editor is opened (new or on a certificate) before the window is made.
    TGaranciaForm(QWidget* parent, WarrantyEditor& editor, Prompt& prompt);
    ~TGaranciaForm() override;

    void pickPartner();
    void pickInvoice();
    void newLine();
    void editSerial();
    void deleteLine();
    void print();  // "&Nyomtatás": the save
    void preview();
    void reject() override;  // "&Kilépés" and Esc

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* headerBox();
    QWidget* linesBox();
    QWidget* buttonRow();
    void showHeader();
    void dateEdited(const Field& field, const QDate& date);
    void run(const std::function<void()>& work);

    WarrantyEditor& m_editor;
    Prompt& m_prompt;
    QLineEdit* m_partner = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_invoice = nullptr;
    QDateEdit *m_bought = nullptr, *m_start = nullptr, *m_end = nullptr, *m_repair = nullptr;
    QTableView* m_lines = nullptr;
    std::unique_ptr<widgets::RecordGrid> m_grid;
    bool m_showing = false;
};

}  // namespace kavina::documents
