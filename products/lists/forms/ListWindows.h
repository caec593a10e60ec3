#pragma once
// The windows of the product lists: the product history ("Termék történetiség") and the price
// list dialog ("Árlista nyomtatása"), and the register's print and export commands as the
// register's menu and the main window start them.

#include <QDialog>

#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "products/lists/PriceList.h"
#include "products/lists/ProductHistory.h"

class QButtonGroup;
class QSpinBox;
class QTableWidget;

namespace kavina::report {
class PrintService;
}

namespace kavina::products {

class ProductHistoryWindow final : public QDialog {
    Q_OBJECT

public:
    // The rows of the product; its name in the title line.
    ProductHistoryWindow(QWidget* parent, const QString& productName, const std::vector<HistoryRow>& rows);

private:
    QTableWidget* m_table;
};

class PriceListDialog final : public QDialog {
    Q_OBJECT

public:
    // printing: where "&Nyomtatás" prints and the preview's "Nyomtatás" goes.
    PriceListDialog(QWidget* parent, TDataModule1& data, Prompt& prompt, report::PrintService* printing,
                    const QString& currentUser);
    ~PriceListDialog() override;

    PriceListGroup group() const;
    int copies() const;
    // "Nyomtatási ké&p": the preview; "&Nyomtatás": the copies on the configured printer.
    void preview();
    void print();

private:
    report::PreparedReport prepare();

    TDataModule1& m_data;
    Prompt& m_prompt;
    report::PrintService* m_printing;
    QString m_user;
    QButtonGroup* m_groups;
    QSpinBox* m_copies;
};

// The register's "Történetiség" on the current product (nothing while the list is empty).
void showProductHistory(QWidget* parent, TDataModule1& data);
// The register's "Nyomtatás": the product list in the preview.
void previewProductList(QWidget* parent, TDataModule1& data, Prompt& prompt, report::PrintService& printing,
                        const IniSettings& settings, const QString& currentUser);

}  // namespace kavina::products
