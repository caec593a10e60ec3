#include "foundation/forms/RichTextEditor.h"

#include <gtest/gtest.h>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include "foundation/QtPrinters.h"
#include "foundation/Rtf.h"

namespace kavina {
namespace {

QToolButton* button(const RichTextEditor& editor, const char* name) {
    return editor.findChild<QToolButton*>(QString::fromLatin1(name));
}

void selectFirstWord(QTextEdit* edit) {
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

TEST(RichTextEditorTest, ToolbarFormatsTheSelectionAndTheRtfKeepsIt) {
    RichTextEditor editor;
    editor.setMemo(QStringLiteral("Árvíztűrő tükörfúrógép"));
    selectFirstWord(editor.textEdit());
    button(editor, "boldToolButton")->click();
    button(editor, "centerToolButton")->click();

    QTextDocument back;
    readRtf(editor.rtf(), back);
    EXPECT_EQ(back.toPlainText(), QStringLiteral("Árvíztűrő tükörfúrógép"));
    const QTextBlock block = back.firstBlock();
    EXPECT_TRUE(block.blockFormat().alignment() & Qt::AlignHCenter);
    const auto first = block.begin().fragment();
    EXPECT_EQ(first.text(), QStringLiteral("Árvíztűrő"));
    EXPECT_EQ(first.charFormat().fontWeight(), QFont::Bold);
    EXPECT_NE((++block.begin()).fragment().charFormat().fontWeight(), QFont::Bold);
}

TEST(RichTextEditorTest, ToolbarShowsTheFormatAtTheCursor) {
    RichTextEditor editor;
    editor.setMemo(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\qr\\i\\fs20 d\\'f5lt\\i0  sima\\par}"));
    EXPECT_TRUE(button(editor, "rightToolButton")->isChecked());
    EXPECT_FALSE(button(editor, "leftToolButton")->isChecked());
    QTextCursor cursor = editor.textEdit()->textCursor();
    cursor.setPosition(2);
    editor.textEdit()->setTextCursor(cursor);
    EXPECT_TRUE(button(editor, "italicToolButton")->isChecked());
    cursor.movePosition(QTextCursor::End);
    editor.textEdit()->setTextCursor(cursor);
    EXPECT_FALSE(button(editor, "italicToolButton")->isChecked());
}

TEST(RichTextEditorTest, DialogHasItsCaptionAndButtons) {
    FooterEditorDialog dialog(nullptr, QStringLiteral("Számlák lábléce"), QStringLiteral("szöveg"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Számlák lábléce"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("acceptPushButton"))->text(), QStringLiteral("&Elfogad"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("rejectPushButton"))->text(), QStringLiteral("&Kilépés"));
    EXPECT_EQ(dialog.editor()->textEdit()->toPlainText(), QStringLiteral("szöveg"));
}

}  // namespace
}  // namespace kavina
