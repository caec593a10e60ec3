#pragma once
// The "Üzletkötő" dialog: the agent's name, fee and remark of a document, "&Elfogad" and
// "&Kilépés".

#include <QDialog>

#include "invoicing/register/DocumentWindows.h"

class QLineEdit;
class QSpinBox;

namespace kavina {
class Prompt;
}

namespace kavina::invoicing {

class AgentDialog final : public QDialog {
    Q_OBJECT

public:
    AgentDialog(QWidget* parent, const AgentData& data, Prompt& prompt);
    AgentData data() const;

private:
    QLineEdit* m_name;
    QSpinBox* m_fee;
    QLineEdit* m_remark;
};

}  // namespace kavina::invoicing
