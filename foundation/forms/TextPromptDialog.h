#pragma once
// The text prompt: a word-wrapped prompt over one edit box (at most 255 characters, pre-filled
// and selected), "Elfogad" (default) and "Mégsem". Sized from the average character width of
// its font and centred on its parent window.
#include <QDialog>

class QLineEdit;
class QLabel;
class QPushButton;

namespace kavina {

class TextPromptDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 255;

    TextPromptDialog(QWidget* parent, const QString& caption, const QString& prompt, const QString& initial);
    QString text() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_edit = nullptr;
};

}  // namespace kavina
