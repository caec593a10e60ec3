#include "shell/startup/SessionTranscript.h"

#include <stdexcept>

namespace kavina::shell {

SessionTranscript::SessionTranscript(const QString& path, std::deque<bool> answers)
    : m_file(path), m_answers(std::move(answers)) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        throw std::runtime_error("the transcript file cannot be written: " + path.toStdString());
}

QString SessionTranscript::line(const QString& kind, const QString& caption, const QString& text) {
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QStringLiteral("\\r")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return kind + QLatin1Char('|') + caption + QLatin1Char('|') + flat;
}

void SessionTranscript::write(const QString& kind, const QString& caption, const QString& text) {
    m_file.write((line(kind, caption, text) + QLatin1Char('\n')).toUtf8());
    m_file.flush();
}

void SessionTranscript::message(const QString& caption, const QString& text, Icon) {
    write(QStringLiteral("message"), caption, text);
}

bool SessionTranscript::askYesNo(const QString& caption, const QString& question, Icon) {
    const bool answer = !m_answers.empty() && m_answers.front();
    write(m_answers.empty() ? QStringLiteral("question, no answer given: Nem")
                            : (answer ? QStringLiteral("question: Igen") : QStringLiteral("question: Nem")),
          caption, question);
    if (!m_answers.empty()) m_answers.pop_front();
    return answer;
}

std::optional<QString> SessionTranscript::askText(const QString& caption, const QString& prompt, const QString&) {
    write(QStringLiteral("text prompt: left"), caption, prompt);
    return std::nullopt;
}

std::optional<int> SessionTranscript::askCopies(int initial) {
    write(QStringLiteral("copies: left"), QString(), QString::number(initial));
    return std::nullopt;
}

std::optional<QString> SessionTranscript::chooseFile(const FileChoice& choice) {
    write(QStringLiteral("file choice: left"), choice.caption, choice.folder);
    return std::nullopt;
}

std::optional<QString> SessionTranscript::chooseFolder(const FolderChoice& choice) {
    write(QStringLiteral("folder choice: left"), choice.caption, choice.folder);
    return std::nullopt;
}

}  // namespace kavina::shell
