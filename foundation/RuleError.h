#pragma once
// A broken business rule: the command cannot go on, and the user is told why in the message
// the behaviour gives, through the Prompt. The command boundary (CommandBoundary.h) shows it;
// nothing else catches it.
//
//     if (gone) throw RuleError(QStringLiteral("A partnert közben egy másik munkaállomás törölte."));

#include <QString>
#include <stdexcept>

namespace kavina {

class RuleError : public std::runtime_error {
public:
    explicit RuleError(const QString& message, const QString& caption = QStringLiteral("Figyelem!"))
        : std::runtime_error(message.toStdString()), m_message(message), m_caption(caption) {}

    const QString& message() const { return m_message; }
    const QString& caption() const { return m_caption; }

private:
    QString m_message;
    QString m_caption;
};

}  // namespace kavina
