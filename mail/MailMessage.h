#pragma once
// One mail as the program sends it: a sender with a display name, one recipient, a subject, a
// plain-text body of lines and any number of attached files, composed as a MIME message.
//
// Headers that hold letters beyond ASCII are encoded as RFC 2047 words (UTF-8, base64); an
// attachment's name beyond ASCII goes into filename*= as RFC 2231 asks. The body is UTF-8,
// quoted-printable, with CR LF line ends. Attachments are base64 in lines of 76 characters.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace kavina::mail {

struct MailMessage {
    QString fromName;
    QString fromAddress;
    QString to;
    QString subject;
    QStringList bodyLines;
    QStringList attachments;  // paths of files
};

// A mail that could not be composed or sent; the text is Hungarian, for the user.
class MailError : public std::runtime_error {
public:
    enum class Kind {
        NoConnection,  // the server could not be reached (or did not answer in time)
        Refused,       // the server was reached but refused the login or the message
        Composition,   // an attachment could not be read
    };
    MailError(Kind kind, const QString& text) : std::runtime_error(text.toStdString()), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// "=?UTF-8?B?...?=" for a text with letters beyond printable ASCII, the text itself otherwise.
QByteArray encodeHeaderText(const QString& text);

// The whole message with its headers (Date and Message-ID included), lines ending in CR LF.
// Throws MailError (Composition) when an attachment cannot be read.
QByteArray composeMime(const MailMessage& message, const QDateTime& now);

}  // namespace kavina::mail
