#include "foundation/forms/RichTextEditor.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "foundation/Rtf.h"
#include "foundation/forms/DialogButtons.h"

namespace kavina {

RichTextEditor::RichTextEditor(QWidget* parent) : QWidget(parent) {
    m_font = new QFontComboBox(this);
    m_font->setObjectName(QStringLiteral("fontComboBox"));
    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("sizeComboBox"));
    m_size->setEditable(true);
    for (int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36}) m_size->addItem(QString::number(size));
    m_bold = addToggle(QStringLiteral("F"), QStringLiteral("boldToolButton"), QStringLiteral("Félkövér"));
    m_italic = addToggle(QStringLiteral("D"), QStringLiteral("italicToolButton"), QStringLiteral("Dőlt"));
    m_underline = addToggle(QStringLiteral("A"), QStringLiteral("underlineToolButton"), QStringLiteral("Aláhúzott"));
    QFont font = m_bold->font();
    font.setBold(true);
    m_bold->setFont(font);
    font = m_italic->font();
    font.setItalic(true);
    m_italic->setFont(font);
    font = m_underline->font();
    font.setUnderline(true);
    m_underline->setFont(font);
    m_left = addToggle(QStringLiteral("Balra"), QStringLiteral("leftToolButton"), QStringLiteral("Balra igazítás"));
    m_center =
        addToggle(QStringLiteral("Középre"), QStringLiteral("centerToolButton"), QStringLiteral("Középre igazítás"));
    m_right = addToggle(QStringLiteral("Jobbra"), QStringLiteral("rightToolButton"), QStringLiteral("Jobbra igazítás"));
    m_justify =
        addToggle(QStringLiteral("Sorkizárt"), QStringLiteral("justifyToolButton"), QStringLiteral("Sorkizárás"));

    m_edit = new QTextEdit(this);
    m_edit->setObjectName(QStringLiteral("footerTextEdit"));
    m_edit->setAcceptRichText(false);  // pasted text comes without foreign formatting

    auto* tools = new QHBoxLayout;
    tools->addWidget(m_font);
    tools->addWidget(m_size);
    for (QToolButton* button : {m_bold, m_italic, m_underline, m_left, m_center, m_right, m_justify})
        tools->addWidget(button);
    tools->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(tools);
    layout->addWidget(m_edit);

    connect(m_font, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat format;
        format.setFontFamilies(QStringList{family});
        mergeFormat(format);
    });
    connect(m_size, &QComboBox::textActivated, this, [this](const QString& text) {
        const double size = text.toDouble();
        if (size <= 0) return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        mergeFormat(format);
    });
    connect(m_bold, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(format);
    });
    connect(m_italic, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        mergeFormat(format);
    });
    connect(m_underline, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        mergeFormat(format);
    });
    connect(m_left, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignLeft); });
    connect(m_center, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignHCenter); });
    connect(m_right, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignRight); });
    connect(m_justify, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignJustify); });
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &RichTextEditor::showFormat);
    connect(m_edit, &QTextEdit::currentCharFormatChanged, this, &RichTextEditor::showFormat);
}

QToolButton* RichTextEditor::addToggle(const QString& text, const QString& objectName, const QString& toolTip) {
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setObjectName(objectName);
    button->setToolTip(toolTip);
    button->setCheckable(true);
    return button;
}

void RichTextEditor::setMemo(const QString& memo) {
    readFooterText(memo, *m_edit->document());
    m_edit->moveCursor(QTextCursor::Start);
    showFormat();
}

QString RichTextEditor::rtf() const {
    return writeRtf(*m_edit->document());
}

void RichTextEditor::mergeFormat(const QTextCharFormat& format) {
    QTextCursor cursor = m_edit->textCursor();
    if (!cursor.hasSelection()) cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    m_edit->mergeCurrentCharFormat(format);
    m_edit->setFocus();
}

void RichTextEditor::setAlignment(Qt::Alignment alignment) {
    m_edit->setAlignment(alignment);
    showFormat();
}

void RichTextEditor::showFormat() {
    const QTextCharFormat format = m_edit->currentCharFormat();
    const QString family = format.fontFamilies().toStringList().value(0);
    if (!family.isEmpty()) m_font->setCurrentFont(QFont(family));
    const double size = format.fontPointSize() > 0 ? format.fontPointSize() : m_edit->font().pointSizeF();
    m_size->setCurrentText(QString::number(size));
    m_bold->setChecked(format.fontWeight() >= QFont::Bold);
    m_italic->setChecked(format.fontItalic());
    m_underline->setChecked(format.fontUnderline());
    const Qt::Alignment alignment = m_edit->alignment() & Qt::AlignHorizontal_Mask;
    m_center->setChecked(alignment & Qt::AlignHCenter);
    m_justify->setChecked(alignment & Qt::AlignJustify);
    m_right->setChecked((alignment & Qt::AlignRight) && !(alignment & Qt::AlignJustify));
    m_left->setChecked(!m_center->isChecked() && !m_justify->isChecked() && !m_right->isChecked());
}

FooterEditorDialog::FooterEditorDialog(QWidget* parent, const QString& caption, const QString& memo) : QDialog(parent) {
    setObjectName(QStringLiteral("footerEditorDialog"));
    setWindowTitle(caption);
    m_editor = new RichTextEditor(this);
    m_editor->setMemo(memo);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_editor);
    addDialogButtons(this, layout, QStringLiteral("&Elfogad"), QStringLiteral("&Kilépés"));
    resize(640, 360);
}

std::optional<QString> FooterEditorDialog::edit(QWidget* parent, const QString& caption, const QString& memo) {
    FooterEditorDialog dialog(parent, caption, memo);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.editor()->rtf();
}

}  // namespace kavina
