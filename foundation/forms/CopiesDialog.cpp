#include "foundation/forms/CopiesDialog.h"

#include "foundation/forms/DialogButtons.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace kavina {

CopiesDialog::CopiesDialog(QWidget* parent, int initial) : QDialog(parent) {
    setObjectName(QStringLiteral("copiesDialog"));
    setWindowTitle(QStringLiteral("Nyomtatás"));
    auto* label = new QLabel(QStringLiteral("Kérem adja meg a nyomtatás példányszámát:"), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("copiesLineEdit"));
    // Digits only: a minus sign, comma or point typed into the box is swallowed.
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), m_edit));
    m_edit->setText(QString::number(qBound(0, initial, 9999)));
    m_edit->selectAll();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    addDialogButtons(this, layout, QStringLiteral("Nyomtatás"), QStringLiteral("&Kilépés"));
}

int CopiesDialog::copies() const {
    return m_edit->text().isEmpty() ? 0 : m_edit->text().toInt();
}

}  // namespace kavina
