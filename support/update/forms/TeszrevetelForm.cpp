#include "support/update/forms/TeszrevetelForm.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"

namespace kavina::support {

TeszrevetelForm::TeszrevetelForm(const FeedbackInput& initial, std::function<void(const FeedbackInput&)> send,
                                 Prompt& prompt, QWidget* parent)
    : QDialog(parent), m_send(std::move(send)), m_prompt(prompt) {
    setObjectName(QStringLiteral("TeszrevetelForm"));
    setWindowTitle(QStringLiteral("Észrevételek küldése"));
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QStringLiteral("Észrevételek küldése"), this);
    QFont big = header->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    header->setFont(big);
    layout->addWidget(header);
    auto* form = new QFormLayout;
    const auto line = [this](const char* name, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(QString::fromLatin1(name));
        return edit;
    };
    m_name = line("nameLineEdit", initial.name);
    m_email = line("emailLineEdit", initial.email);
    m_phone = line("phoneLineEdit", initial.phone);
    m_message = new QPlainTextEdit(initial.message, this);
    m_message->setObjectName(QStringLiteral("messagePlainTextEdit"));
    m_message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    form->addRow(QStringLiteral("Név:"), m_name);
    form->addRow(QStringLiteral("E-mail:"), m_email);
    form->addRow(QStringLiteral("Telefon:"), m_phone);
    form->addRow(QStringLiteral("Üzenet:"), m_message);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* sendButton = new QPushButton(QStringLiteral("&Küldés"), this);
    sendButton->setObjectName(QStringLiteral("sendButton"));
    auto* exitButton = new QPushButton(QStringLiteral("&Kilépés"), this);
    exitButton->setObjectName(QStringLiteral("exitButton"));
    buttons->addWidget(sendButton);
    buttons->addWidget(exitButton);
    layout->addLayout(buttons);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(sendButton, &QPushButton::clicked, this, [this] {
        if (runCommand(m_prompt, [this] { m_send(input()); })) accept();
    });
    m_message->setFocus();
    resize(480, 380);
}

FeedbackInput TeszrevetelForm::input() const {
    return {.name = m_name->text(),
            .email = m_email->text(),
            .phone = m_phone->text(),
            .message = m_message->toPlainText()};
}

}  // namespace kavina::support
