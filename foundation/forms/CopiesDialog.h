#pragma once
// The copies dialog before a document prints ("Nyomtatás"): one box that takes digits only,
// "Nyomtatás" (also Enter) confirms, an empty box counting as 0; "&Kilépés" leaves without
// printing.
#include <QDialog>

class QLineEdit;

namespace kavina {

class CopiesDialog : public QDialog {
    Q_OBJECT
public:
    CopiesDialog(QWidget* parent, int initial);
    int copies() const;

private:
    QLineEdit* m_edit = nullptr;
};

}  // namespace kavina
