#pragma once
// The categories window ("Termék kategóriák"): the list of Kategoria.dbf and its buttons. The
// rules are Categories' (products/lists/); names are asked for with the text prompt.

#include <QDialog>
#include <memory>

#include "products/lists/Categories.h"

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::products {

class CategoriesWindow final : public QDialog {
    Q_OBJECT

public:
    CategoriesWindow(QWidget* parent, TDataModule1& data, Prompt& prompt);
    ~CategoriesWindow() override;

private:
    void run(bool (Categories::*action)());

    Prompt& m_prompt;
    Categories m_categories;
    std::unique_ptr<widgets::RecordGrid> m_list;
};

}  // namespace kavina::products
