#pragma once
// The Prompt of the running program: Qt message boxes and dialogs with the exact captions and
// texts the logic passes. Every box is modal to the parent window given at construction.
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "foundation/Prompt.h"

namespace kavina {

enum class MessageButtons { Ok, YesNo };

// The box QtPrompt shows, not yet opened: plain text (no markup is interpreted), "OK" or
// "Igen"/"Nem" with Esc meaning "Nem". Separate so that its wiring can be checked without
// opening it.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                                            MessageButtons buttons);

class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : m_parent(parent) {}

    void message(const QString& caption, const QString& text, Icon icon) override;
    bool askYesNo(const QString& caption, const QString& question, Icon icon = Icon::Question) override;
    bool askYesNoDefaultNo(const QString& caption, const QString& question, Icon icon = Icon::Question) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> askCopies(int initial) override;
    std::optional<QString> chooseFile(const FileChoice& choice) override;
    std::optional<QString> chooseFolder(const FolderChoice& choice) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace kavina
