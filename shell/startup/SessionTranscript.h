#pragma once
// A Prompt that shows nothing: every message and question is written, a line each, to a
// transcript file as it happens, and questions take their answers from a list given in
// advance ("Nem" once it is used up, which the line says). kavina runs with it under
// "--transcript FILE", so that a run without anybody at the screen (a test starting real
// processes, a scripted demonstration) can be read afterwards.

#include <QFile>
#include <QString>
#include <deque>

#include "foundation/Prompt.h"

namespace kavina::shell {

class SessionTranscript : public Prompt {
public:
    // Throws std::runtime_error when the file cannot be written.
    SessionTranscript(const QString& path, std::deque<bool> answers);

    void message(const QString& caption, const QString& text, Icon icon) override;
    bool askYesNo(const QString& caption, const QString& question, Icon icon = Icon::Question) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> askCopies(int initial) override;
    std::optional<QString> chooseFile(const FileChoice& choice) override;
    std::optional<QString> chooseFolder(const FolderChoice& choice) override;

    // One transcript line: kind, caption and text with line breaks written as "\n".
    static QString line(const QString& kind, const QString& caption, const QString& text);

private:
    void write(const QString& kind, const QString& caption, const QString& text);

    QFile m_file;
    std::deque<bool> m_answers;
};

}  // namespace kavina::shell
