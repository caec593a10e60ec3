#pragma once
// The barcode book window ("Vonalkód-könyv") and its label dialog ("Szerkesztés"). The rules
// are BarcodeBook's (products/barcodes/); the print is the barcode sheet in the preview.

#include <QDialog>
#include <memory>

#include "products/barcodes/BarcodeBook.h"
#include "products/register/forms/TAnyagForm.h"

class QLineEdit;
class QTableView;

namespace kavina::report {
class PrintService;
}

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::products {

class BarcodeLabelDialog final : public QDialog {
    Q_OBJECT

public:
    BarcodeLabelDialog(QWidget* parent, Prompt& prompt, const BarcodeLabel& start);
    BarcodeLabel label() const;

private:
    void browse();

    Prompt& m_prompt;
    QLineEdit* m_name;
    QLineEdit* m_unit;
    QLineEdit* m_barcode;
    QLineEdit* m_picture;
};

struct BarcodeBookOptions {
    AnyagFormOptions picker;                   // the product register as it opens for the pick
    report::PrintService* printing = nullptr;  // "Nyomtatás" is disabled without it
    BarcodeWindows* windows = nullptr;         // the dialogs; the window's own when null
};

class BarcodeBookWindow final : public QDialog, private BarcodeWindows {
    Q_OBJECT

public:
    BarcodeBookWindow(QWidget* parent, TDataModule1& data, Prompt& prompt, const BarcodeBookOptions& options);
    ~BarcodeBookWindow() override;

    // "Nyomtatás": the sheet in the preview.
    void print();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pickProduct() override;
    std::optional<BarcodeLabel> editLabel(const BarcodeLabel& start) override;
    QPushButton* addButton(const QString& text, const QString& name, const QKeySequence& key);
    void run(bool (BarcodeBook::*action)());

    TDataModule1& m_data;
    Prompt& m_prompt;
    BarcodeBookOptions m_options;
    std::unique_ptr<BarcodeBook> m_book;
    QTableView* m_grid = nullptr;
    std::unique_ptr<widgets::RecordGrid> m_list;
    QWidget* m_buttons = nullptr;
};

}  // namespace kavina::products
