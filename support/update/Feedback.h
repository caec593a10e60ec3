#pragma once
// "Észrevételek küldése": the clerk's message mailed to the support mailbox with the
// company's details and the name, phone and address the clerk gave. Nothing is checked
// before sending; an empty message is sent as well.

#include <QDateTime>
#include <QString>

#include "mail/MailMessage.h"
#include "support/errorreport/CompanyHeader.h"
#include "support/errorreport/ErrorMail.h"
#include "support/errorreport/SupportSettings.h"

namespace kavina::support {

struct FeedbackInput {
    QString name;
    QString email;
    QString phone;
    QString message;
};

// What the window shows on opening: the company's name, address and phone; no message.
FeedbackInput initialFeedback(const CompanyHeader& header);

mail::MailMessage feedbackMail(const SupportSettings& settings, const CompanyHeader& header, const FeedbackInput& input,
                               const QDateTime& now);

// Sends the mail. Throws mail::MailError when it cannot be sent; the error reporter tells
// the clerk, and the window stays open with its text.
void sendFeedback(const SupportSettings& settings, const mail::MailMessage& message, const MailSender& send);

}  // namespace kavina::support
