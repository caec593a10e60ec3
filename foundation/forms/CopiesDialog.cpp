#include "foundation/forms/CopiesDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace kavina {

CopiesDialog::CopiesDialog(QWidget* parent, int initial) : QDialog(parent)
{
    setObjectName(QStringLiteral("copiesDialog"));
    setWindowTitle(QStringLiteral("Nyomtatás"));
    auto* label = new QLabel(QStringLiteral("Kérem adja meg a nyomtatás példányszámát:"), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("copiesLineEdit"));
    // Digits only: a minus sign, comma or point typed into the box is swallowed.
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), m_edit));
    m_edit->setText(QString::number(qBound(0, initial, 9999)));
    m_edit->selectAll();
    auto* print = new QPushButton(QStringLiteral("Nyomtatás"), this);
    print->setObjectName(QStringLiteral("printPushButton"));
    print->setDefault(true);
    auto* leave = new QPushButton(QStringLiteral("&Kilépés"), this);
    leave->setObjectName(QStringLiteral("leavePushButton"));
    connect(print, &QPushButton::clicked, this, &QDialog::accept);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(leave);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
}

int CopiesDialog::copies() const { return m_edit->text().isEmpty() ? 0 : m_edit->text().toInt(); }

}  // namespace kavina
