#include "common/ScriptedPrompt.h"

namespace kavina {
namespace {

QString kindName(ScriptedPrompt::Kind kind) {
    switch (kind) {
        case ScriptedPrompt::Kind::Message: return QStringLiteral("message");
        case ScriptedPrompt::Kind::YesNo: return QStringLiteral("yes/no");
        case ScriptedPrompt::Kind::Text: return QStringLiteral("text");
        case ScriptedPrompt::Kind::Copies: return QStringLiteral("copies");
        case ScriptedPrompt::Kind::File: return QStringLiteral("file");
        case ScriptedPrompt::Kind::Folder: return QStringLiteral("folder");
    }
    return QString();
}

QString iconName(Icon icon) {
    switch (icon) {
        case Icon::None: return QStringLiteral("none");
        case Icon::Information: return QStringLiteral("information");
        case Icon::Warning: return QStringLiteral("warning");
        case Icon::Error: return QStringLiteral("error");
        case Icon::Question: return QStringLiteral("question");
    }
    return QString();
}

}  // namespace

QString ScriptedPrompt::Entry::toString() const {
    QString line =
        kindName(kind) + QLatin1Char('|') + iconName(icon) + QLatin1Char('|') + caption + QLatin1Char('|') + text;
    if (!detail.isEmpty()) line += QLatin1Char('|') + detail;
    return line;
}

QStringList ScriptedPrompt::transcript() const {
    QStringList lines;
    for (const Entry& entry : m_entries) lines << entry.toString();
    return lines;
}

template <typename T>
T ScriptedPrompt::take(const Entry& question) {
    m_entries.push_back(question);
    if (m_answers.empty() || !std::holds_alternative<T>(m_answers.front())) {
        const QString why = m_answers.empty() ? QStringLiteral("no answer queued for ")
                                              : QStringLiteral("another kind of answer queued for ");
        m_failures << why + question.toString();
        throw ScriptError(m_failures.back().toStdString());
    }
    T answer = std::get<T>(m_answers.front());
    m_answers.pop_front();
    return answer;
}

void ScriptedPrompt::message(const QString& caption, const QString& text, Icon icon) {
    m_entries.push_back({Kind::Message, caption, text, icon, {}});
}

bool ScriptedPrompt::askYesNo(const QString& caption, const QString& question, Icon icon) {
    return take<bool>({Kind::YesNo, caption, question, icon, {}});
}

std::optional<QString> ScriptedPrompt::askText(const QString& caption, const QString& prompt, const QString& initial) {
    return take<TextAnswer>({Kind::Text, caption, prompt, Icon::None, initial}).value;
}

std::optional<int> ScriptedPrompt::askCopies(int initial) {
    return take<std::optional<int>>({Kind::Copies, {}, {}, Icon::None, QString::number(initial)});
}

std::optional<QString> ScriptedPrompt::chooseFile(const FileChoice& choice) {
    return take<FileAnswer>({Kind::File, choice.caption, choice.filter, Icon::None, choice.folder}).value;
}

std::optional<QString> ScriptedPrompt::chooseFolder(const FolderChoice& choice) {
    return take<FolderAnswer>({Kind::Folder, choice.caption, {}, Icon::None, choice.folder}).value;
}

}  // namespace kavina
