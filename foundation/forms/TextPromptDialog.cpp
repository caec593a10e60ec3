#include "foundation/forms/TextPromptDialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavina {

TextPromptDialog::TextPromptDialog(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& initial)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("textPromptDialog"));
    setWindowTitle(caption);
    auto* label = new QLabel(prompt, this);
    label->setObjectName(QStringLiteral("promptLabel"));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("textLineEdit"));
    m_edit->setMaxLength(kMaxLength);
    m_edit->setText(initial.left(kMaxLength));
    m_edit->selectAll();
    auto* accept = new QPushButton(QStringLiteral("Elfogad"), this);
    accept->setObjectName(QStringLiteral("acceptPushButton"));
    accept->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("cancelPushButton"));
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(accept);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    // Forty-five average characters wide, as the classic input box of the desktop.
    setMinimumWidth(45 * QFontMetrics(font()).averageCharWidth());
}

QString TextPromptDialog::text() const { return m_edit->text(); }

void TextPromptDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QWidget* window = parentWidget() ? parentWidget()->window() : nullptr)
        move(window->frameGeometry().center() - rect().center());
    m_edit->setFocus();
}

}  // namespace kavina
