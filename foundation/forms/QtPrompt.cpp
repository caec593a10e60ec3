#include "foundation/forms/QtPrompt.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>

#include "foundation/forms/CopiesDialog.h"
#include "foundation/forms/InputGuards.h"
#include "foundation/forms/TextPromptDialog.h"

namespace kavina {
namespace {

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
        case Icon::None: return QMessageBox::NoIcon;
        case Icon::Information: return QMessageBox::Information;
        case Icon::Warning: return QMessageBox::Warning;
        case Icon::Error: return QMessageBox::Critical;
        case Icon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                                            MessageButtons buttons) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(caption);
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setIcon(boxIcon(icon));
    if (buttons == MessageButtons::Ok) {
        box->setStandardButtons(QMessageBox::Ok);
        box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        return box;
    }
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("&Igen"));
    box->button(QMessageBox::No)->setText(QStringLiteral("&Nem"));
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

void QtPrompt::message(const QString& caption, const QString& text, Icon icon) {
    makeMessageBox(m_parent, caption, text, icon, MessageButtons::Ok)->exec();
}

bool QtPrompt::askYesNo(const QString& caption, const QString& question, Icon icon) {
    return makeMessageBox(m_parent, caption, question, icon, MessageButtons::YesNo)->exec() == QMessageBox::Yes;
}

bool QtPrompt::askYesNoDefaultNo(const QString& caption, const QString& question, Icon icon) {
    const auto box = makeMessageBox(m_parent, caption, question, icon, MessageButtons::YesNo);
    box->setDefaultButton(QMessageBox::No);
    return box->exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompt::askText(const QString& caption, const QString& prompt, const QString& initial) {
    TextPromptDialog dialog(m_parent, caption, prompt, initial);
    guardInputBoxes(&dialog, *this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.text();
}

std::optional<int> QtPrompt::askCopies(int initial) {
    CopiesDialog dialog(m_parent, initial);
    guardInputBoxes(&dialog, *this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.copies();
}

std::optional<QString> QtPrompt::chooseFile(const FileChoice& choice) {
    // Without a folder of its own the dialog starts in the clerk's home folder, not in the
    // program's folder, which is the current one.
    QString start = choice.folder.isEmpty() ? QDir::homePath() : choice.folder;
    if (!choice.fileName.isEmpty()) start += QLatin1Char('/') + choice.fileName;
    const QString path = choice.save ? QFileDialog::getSaveFileName(m_parent, choice.caption, start, choice.filter)
                                     : QFileDialog::getOpenFileName(m_parent, choice.caption, start, choice.filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtPrompt::chooseFolder(const FolderChoice& choice) {
    const QString start = choice.folder.isEmpty() ? QDir::homePath() : choice.folder;
    const QString path = QFileDialog::getExistingDirectory(m_parent, choice.caption, start);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace kavina
