#include "report/view/PrinterDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kavina::report {

PrinterDialog::PrinterDialog(const QStringList& printers, const QString& current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("printerDialog"));
    setWindowTitle(QStringLiteral("Nyomtatás"));
    m_printers = new QComboBox(this);
    m_printers->setObjectName(QStringLiteral("printerComboBox"));
    m_printers->addItems(printers);
    m_printers->setCurrentIndex(std::max(0, int(printers.indexOf(current))));
    m_printers->setMinimumContentsLength(28);
    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("copiesSpinBox"));
    m_copies->setRange(1, 99);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nyomtató:"), m_printers);
    form->addRow(QStringLiteral("Példányszám:"), m_copies);
    auto* print = new QPushButton(QStringLiteral("Nyomtatás"), this);
    print->setObjectName(QStringLiteral("printPushButton"));
    print->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Mégse"), this);
    cancel->setObjectName(QStringLiteral("cancelPushButton"));
    connect(print, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

QString PrinterDialog::printerName() const {
    return m_printers->currentText();
}

int PrinterDialog::copies() const {
    return m_copies->value();
}

}  // namespace kavina::report
