#include "foundation/forms/TextPromptDialog.h"

#include "foundation/forms/DialogButtons.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kavina {

TextPromptDialog::TextPromptDialog(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& initial)
    : QDialog(parent) {
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    addDialogButtons(this, layout, QStringLiteral("Elfogad"), QStringLiteral("Mégsem"));
    // Forty-five average characters wide, as the classic input box of the desktop.
    setMinimumWidth(45 * QFontMetrics(font()).averageCharWidth());
}

QString TextPromptDialog::text() const {
    return m_edit->text();
}

void TextPromptDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* window = parentWidget() ? parentWidget()->window() : nullptr)
        move(window->frameGeometry().center() - rect().center());
    m_edit->setFocus();
}

}  // namespace kavina
