#pragma once
// The search dialog of the product register ("Keresés"): what to look for and where. Both
// buttons close it; the register then searches from the first product ("&Keresés") or from
// the next one ("Köve&tkező").

#include <QDialog>

#include "products/register/ProductWindow.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kavina::products {

class ProductSearchDialog final : public QDialog {
    Q_OBJECT

public:
    enum class Choice { None, Search, Next };

    // Starts from the previous search's text and field.
    ProductSearchDialog(QWidget* parent, const QString& text, SearchIn where);

    Choice choice() const { return m_choice; }
    QString text() const;
    SearchIn where() const;

private:
    void choose(Choice choice);

    QLineEdit* m_text;
    QComboBox* m_where;
    QPushButton* m_search;
    QPushButton* m_next;
    Choice m_choice = Choice::None;
};

}  // namespace kavina::products
