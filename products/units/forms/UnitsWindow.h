#pragma once
// The units window ("Mértékegységek"): the list of Egyseg.dbf and its buttons. The rules are
// Units' (products/units/); names are asked for with the text prompt.

#include <QDialog>
#include <memory>

#include "products/units/Units.h"

namespace kavina::widgets {
class RecordGrid;
}

namespace kavina::products {

class UnitsWindow final : public QDialog {
    Q_OBJECT

public:
    UnitsWindow(QWidget* parent, TDataModule1& data, Prompt& prompt);
    ~UnitsWindow() override;

private:
    void run(bool (Units::*action)());

    Prompt& m_prompt;
    Units m_units;
    std::unique_ptr<widgets::RecordGrid> m_list;
};

}  // namespace kavina::products
