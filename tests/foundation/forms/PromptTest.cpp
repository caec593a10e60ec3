#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>

#include "foundation/QtPrinters.h"

#include "common/ScriptedPrompt.h"
#include "foundation/forms/CopiesDialog.h"
#include "foundation/forms/QtPrompt.h"
#include "foundation/forms/TextPromptDialog.h"
#include "foundation/forms/Windows.h"

namespace kavina {
namespace {

TEST(ScriptedPromptTest, RecordsEveryCallAndAnswersInOrder) {
    ScriptedPrompt prompt;
    prompt.answerYesNo(false);
    prompt.answerText(QStringLiteral("új szöveg"));
    prompt.answerCopies(3);
    prompt.answerFolder(std::nullopt);

    prompt.warning(QStringLiteral("Figyelem !"), QStringLiteral("Első"));
    EXPECT_FALSE(prompt.askYesNo(QStringLiteral("Figyelem"), QStringLiteral("Kilép?")));
    EXPECT_EQ(prompt.askText(QStringLiteral("Cím"), QStringLiteral("Név:"), QStringLiteral("régi")),
              QStringLiteral("új szöveg"));
    EXPECT_EQ(prompt.askCopies(2), 3);
    EXPECT_EQ(prompt.chooseFolder({QStringLiteral("Válasszon mappát"), QStringLiteral("/tmp")}), std::nullopt);

    EXPECT_EQ(prompt.transcript(), (QStringList{
                                       QStringLiteral("message|warning|Figyelem !|Első"),
                                       QStringLiteral("yes/no|question|Figyelem|Kilép?"),
                                       QStringLiteral("text|none|Cím|Név:|régi"),
                                       QStringLiteral("copies|none|||2"),
                                       QStringLiteral("folder|none|Válasszon mappát||/tmp"),
                                   }));
    EXPECT_TRUE(prompt.failures().isEmpty());
    EXPECT_EQ(prompt.pendingAnswers(), 0u);
}

TEST(ScriptedPromptTest, UnexpectedQuestionsAreScriptErrors) {
    ScriptedPrompt prompt;
    EXPECT_THROW(prompt.askYesNo(QStringLiteral("Figyelem!"), QStringLiteral("Töröl?")), ScriptError);
    prompt.answerText(QStringLiteral("x"));
    EXPECT_THROW(prompt.askCopies(1), ScriptError);
    ASSERT_EQ(prompt.failures().size(), 2);
    EXPECT_TRUE(prompt.failures()[0].startsWith(QStringLiteral("no answer queued for yes/no")));
    EXPECT_TRUE(prompt.failures()[1].startsWith(QStringLiteral("another kind of answer queued for copies")));
    EXPECT_EQ(prompt.pendingAnswers(), 1u);
}

TEST(QtPromptTest, QuestionBoxesSayIgenAndNem) {
    auto box = makeMessageBox(nullptr, QStringLiteral("Figyelem !"), QStringLiteral("Biztos <b>benne</b>?"),
                              Icon::Warning, MessageButtons::YesNo);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Figyelem !"));
    EXPECT_EQ(box->text(), QStringLiteral("Biztos <b>benne</b>?"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    ASSERT_EQ(box->buttons().size(), 2);
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("&Igen"));
    EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("&Nem"));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
}

TEST(QtPromptTest, MessageBoxesHaveOneOkButtonAndTheirIcon) {
    auto box =
        makeMessageBox(nullptr, QStringLiteral("Hiba"), QStringLiteral("Szöveg"), Icon::Error, MessageButtons::Ok);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
}

TEST(QtPromptTest, TextPromptIsPrefilledSelectedAndLimited) {
    TextPromptDialog dialog(nullptr, QStringLiteral("Új kategória"), QStringLiteral("Kérem írja be:"),
                            QStringLiteral("Lomtár"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Új kategória"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("promptLabel"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("Kérem írja be:"));
    EXPECT_TRUE(label->wordWrap());
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("textLineEdit"));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->maxLength(), 255);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("Lomtár"));
    auto* accept = dialog.findChild<QPushButton*>(QStringLiteral("acceptPushButton"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("rejectPushButton"));
    ASSERT_TRUE(accept && cancel);
    EXPECT_EQ(accept->text(), QStringLiteral("Elfogad"));
    EXPECT_TRUE(accept->isDefault());
    EXPECT_EQ(cancel->text(), QStringLiteral("Mégsem"));
    accept->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.text(), QStringLiteral("Lomtár"));
}

TEST(QtPromptTest, CopiesBoxSwallowsSignsAndSeparators) {
    CopiesDialog dialog(nullptr, 2);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Nyomtatás"));
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("copiesLineEdit"));
    ASSERT_TRUE(edit);
    EXPECT_EQ(dialog.copies(), 2);
    edit->clear();
    for (const QChar ch : QStringLiteral("-1,2.3")) edit->insert(QString(ch));
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    edit->clear();
    EXPECT_EQ(dialog.copies(), 0);
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("rejectPushButton"))->text(), QStringLiteral("&Kilépés"));
}

TEST(WindowsTest, FormOpenComparesNamesWithoutCase) {
    QWidget window;
    window.setObjectName(QStringLiteral("SzamlaForm"));
    EXPECT_FALSE(isFormOpen(QStringLiteral("szamlaform")));
    window.show();
    EXPECT_TRUE(isFormOpen(QStringLiteral("szamlaform")));
    EXPECT_FALSE(isFormOpen(QStringLiteral("PartnerForm")));
}

// The standard file and folder dialogs speak Hungarian only with Qt's translation installed.
TEST(WindowsTest, HungarianTranslationOfQtIsThere) {
    QTranslator* translator = installHungarianTranslator(*QCoreApplication::instance());
    ASSERT_TRUE(translator);
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Megnyitás"));
    // The file dialog's type column: a folder is "Mappa", not "Folder".
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
              QStringLiteral("Mappa"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

}  // namespace
}  // namespace kavina
