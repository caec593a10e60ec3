#pragma once
// The product dialog (TAnyagSzerk, "Anyag" retitled per use) and the service dialog
// (TSzolgszerk, "Szolgáltatás"). They show and return ProductFields; the checks of each box
// and of "&Elfogad" are ProductDialog's, and the register stores what they return.

#include <QDialog>
#include <array>

#include "products/register/ProductDialog.h"
#include "products/register/ProductWindows.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;

namespace kavina::products {

class TAnyagSzerk final : public QDialog {
    Q_OBJECT

public:
    // windows: opens the units and VAT groups windows on a double click of their boxes; none,
    // no window opens.
    TAnyagSzerk(QWidget* parent, ProductDialog& logic, Prompt& prompt, const QString& title, const ProductFields& start,
                ProductWindows* windows = nullptr);

    void setFields(const ProductFields& fields);
    // What the boxes hold; numbers that do not read as such count as 0 (accept refuses them).
    ProductFields fields() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkBox(QComboBox* box, BoxCheck (ProductDialog::*check)(const QString&), const QStringList& items);
    void checkArticleNumber();
    void fillFromName();
    void browsePicture();

    ProductDialog& m_logic;
    Prompt& m_prompt;
    ProductWindows* m_windows;
    QLineEdit *m_name, *m_statNumber, *m_articleNumber, *m_barcode, *m_minimum, *m_warranty, *m_picture;
    QComboBox *m_warehouse, *m_category, *m_unit, *m_vat;
    QCheckBox* m_onPriceList;
};

class TSzolgszerk final : public QDialog {
    Q_OBJECT

public:
    TSzolgszerk(QWidget* parent, ProductDialog& logic, Prompt& prompt, const QString& title,
                const ProductFields& start);

    void setFields(const ProductFields& fields);
    ProductFields fields() const;

    void accept() override;

private:
    ProductDialog& m_logic;
    Prompt& m_prompt;
    QLineEdit *m_name, *m_statNumber, *m_articleNumber;
    QComboBox *m_category, *m_unit, *m_vat;
    std::array<QLineEdit*, 4> m_prices{};
    QCheckBox* m_onPriceList;
};

}  // namespace kavina::products
