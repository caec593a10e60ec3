#pragma once
// Sends one MIME message through an SMTP server with LOGIN authentication. STARTTLS is used
// whenever the server offers it. No step waits for ever: connecting and every pause of the
// server longer than the time-out end the attempt.

#include <QDateTime>
#include <QString>

#include "mail/MailMessage.h"

namespace kavina::mail {

struct SmtpAccount {
    QString host;  // empty: no server configured, which counts as no connection
    int port = 26;
    QString user;
    QString password;
    int timeoutSeconds = 30;
    bool implicitTls = false;  // smtps: TLS from the first byte instead of STARTTLS
    QString caFile;            // certificates to trust besides the system's; empty: the system's only
};

// Sends the message to message.to, from message.fromAddress. Throws MailError: NoConnection
// when the server cannot be reached or does not answer in time, Refused when it refuses the
// login or the message, Composition when an attachment cannot be read.
void sendMail(const SmtpAccount& account, const MailMessage& message,
              const QDateTime& now = QDateTime::currentDateTime());

}  // namespace kavina::mail
