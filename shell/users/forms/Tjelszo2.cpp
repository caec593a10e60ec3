#include "shell/users/forms/Tjelszo2.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "shell/users/Login.h"
#include "shell/users/forms/SessionPasswordBox.h"

namespace kavina::shell {

Tjelszo2::Tjelszo2(const Session& session, Prompt& prompt, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_session(session),
      m_prompt(prompt) {
    setObjectName(QStringLiteral("Tjelszo2"));
    setWindowTitle(QStringLiteral("Jelszó kérés"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("passwordLineEdit"));
    makePasswordBox(m_password);
    auto* button = new QPushButton(QStringLiteral("Belépés"), this);
    button->setObjectName(QStringLiteral("loginPushButton"));
    button->setDefault(true);
    connect(button, &QPushButton::clicked, this, &Tjelszo2::tryUnlock);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Jelszó:"), m_password);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(row);
}

void Tjelszo2::tryUnlock() {
    if (unlock(m_session, m_password->text(), m_prompt)) {
        m_unlocked = true;
        accept();
        return;
    }
    m_password->clear();
    m_password->setFocus();
}

// Every way of closing a dialog ends here; only the right password gets through.
void Tjelszo2::done(int result) {
    if (m_unlocked) QDialog::done(result);
}

void Tjelszo2::closeEvent(QCloseEvent* event) {
    if (!m_unlocked) event->ignore();
}

}  // namespace kavina::shell
