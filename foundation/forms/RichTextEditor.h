#pragma once
// The formatted-text editor of the footer texts: a small toolbar (font, size, bold, italic,
// underline, alignment) over a text box. Takes a memo as RTF or plain text and gives RTF back
// (foundation/Rtf.h).
#include <QDialog>
#include <QWidget>
#include <optional>

class QComboBox;
class QFontComboBox;
class QTextCharFormat;
class QTextEdit;
class QToolButton;

namespace kavina {

class RichTextEditor : public QWidget {
    Q_OBJECT
public:
    explicit RichTextEditor(QWidget* parent = nullptr);

    void setMemo(const QString& memo);
    QString rtf() const;
    QTextEdit* textEdit() const { return m_edit; }

private:
    QToolButton* addToggle(const QString& text, const QString& objectName, const QString& toolTip);
    void mergeFormat(const QTextCharFormat& format);
    void setAlignment(Qt::Alignment alignment);
    void showFormat();

    QTextEdit* m_edit = nullptr;
    QFontComboBox* m_font = nullptr;
    QComboBox* m_size = nullptr;
    QToolButton* m_bold = nullptr;
    QToolButton* m_italic = nullptr;
    QToolButton* m_underline = nullptr;
    QToolButton* m_left = nullptr;
    QToolButton* m_center = nullptr;
    QToolButton* m_right = nullptr;
    QToolButton* m_justify = nullptr;
};

// The editor in a dialog with "&Elfogad" and "&Kilépés".
class FooterEditorDialog : public QDialog {
    Q_OBJECT
public:
    FooterEditorDialog(QWidget* parent, const QString& caption, const QString& memo);
    RichTextEditor* editor() const { return m_editor; }

    // Opens the dialog modally; the edited text as RTF, or nothing when left with "&Kilépés".
    static std::optional<QString> edit(QWidget* parent, const QString& caption, const QString& memo);

private:
    RichTextEditor* m_editor = nullptr;
};

}  // namespace kavina
