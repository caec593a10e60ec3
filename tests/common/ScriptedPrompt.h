#pragma once
// A Prompt for tests: every message and question is recorded with its caption, text and icon;
// questions take their answers from a queue filled beforehand. A question with no answer
// queued, or with an answer of another kind at the head of the queue, is a script error: it is
// recorded in failures() and thrown as ScriptError, so a test that did not expect the question
// fails even if the logic catches the exception.
#include <QString>
#include <QStringList>
#include <deque>
#include <stdexcept>
#include <variant>
#include <vector>

#include "foundation/Prompt.h"

namespace kavina {

class ScriptError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class ScriptedPrompt : public Prompt {
public:
    enum class Kind { Message, YesNo, Text, Copies, File, Folder };

    // One recorded call. For a text prompt, text is the prompt and detail the initial text; for
    // the copies dialog detail is the initial count; for file and folder choices text is the
    // filter and detail the folder shown first.
    struct Entry {
        Kind kind = Kind::Message;
        QString caption;
        QString text;
        Icon icon = Icon::None;
        QString detail;

        bool operator==(const Entry&) const = default;
        QString toString() const;
    };

    void answerYesNo(bool yes) { m_answers.emplace_back(yes); }
    void answerText(std::optional<QString> text) { m_answers.emplace_back(TextAnswer{std::move(text)}); }
    void answerCopies(std::optional<int> copies) { m_answers.emplace_back(copies); }
    void answerFile(std::optional<QString> path) { m_answers.emplace_back(FileAnswer{std::move(path)}); }
    void answerFolder(std::optional<QString> path) { m_answers.emplace_back(FolderAnswer{std::move(path)}); }

    const std::vector<Entry>& entries() const { return m_entries; }
    // Every entry as one line, for a readable comparison in a test.
    QStringList transcript() const;
    const QStringList& failures() const { return m_failures; }
    size_t pendingAnswers() const { return m_answers.size(); }

    void message(const QString& caption, const QString& text, Icon icon) override;
    bool askYesNo(const QString& caption, const QString& question, Icon icon = Icon::Question) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> askCopies(int initial) override;
    std::optional<QString> chooseFile(const FileChoice& choice) override;
    std::optional<QString> chooseFolder(const FolderChoice& choice) override;

private:
    struct TextAnswer {
        std::optional<QString> value;
    };
    struct FileAnswer {
        std::optional<QString> value;
    };
    struct FolderAnswer {
        std::optional<QString> value;
    };
    using Answer = std::variant<bool, TextAnswer, std::optional<int>, FileAnswer, FolderAnswer>;

    template <typename T>
    T take(const Entry& question);

    std::vector<Entry> m_entries;
    std::deque<Answer> m_answers;
    QStringList m_failures;
};

}  // namespace kavina
