#pragma once
// The printer dialog of "Nyomtatás": the printers the settings list (the system's printers and
// the built-in PDF printer), the one of the settings chosen first, and the number of copies.
#include <QDialog>
#include <QStringList>

class QComboBox;
class QSpinBox;

namespace kavina::report {

class PrinterDialog : public QDialog {
    Q_OBJECT

public:
    PrinterDialog(const QStringList& printers, const QString& current, QWidget* parent = nullptr);

    QString printerName() const;
    int copies() const;

private:
    QComboBox* m_printers;
    QSpinBox* m_copies;
};

}  // namespace kavina::report
