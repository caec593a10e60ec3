#include "invoicing/register/forms/AgentDialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "foundation/forms/DialogButtons.h"
#include "foundation/forms/InputGuards.h"

namespace kavina::invoicing {

AgentDialog::AgentDialog(QWidget* parent, const AgentData& data, Prompt& prompt) : QDialog(parent) {
    setObjectName(QStringLiteral("AgentDialog"));
    setWindowTitle(QStringLiteral("Üzletkötő"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(data.name.trimmed());
    m_name->setObjectName(QStringLiteral("agentNameLineEdit"));
    m_name->setMaxLength(80);
    m_fee = new QSpinBox;
    m_fee->setObjectName(QStringLiteral("feeSpinBox"));
    m_fee->setRange(0, 999999999);
    m_fee->setGroupSeparatorShown(true);
    m_fee->setSuffix(QStringLiteral(" Ft"));
    m_fee->setValue(int(data.fee));
    m_remark = new QLineEdit(data.remark.trimmed());
    m_remark->setObjectName(QStringLiteral("remarkLineEdit"));
    m_remark->setMaxLength(80);
    form->addRow(QStringLiteral("Üzletkötő neve:"), m_name);
    form->addRow(QStringLiteral("Járadék:"), m_fee);
    form->addRow(QStringLiteral("Megjegyzés:"), m_remark);
    layout->addLayout(form);
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Kilépés"));
    guardInputBoxes(this, prompt);
    resize(420, height());
}

AgentData AgentDialog::data() const {
    return {m_name->text(), m_fee->value(), m_remark->text()};
}

}  // namespace kavina::invoicing
