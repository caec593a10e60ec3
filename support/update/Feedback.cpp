#include "support/update/Feedback.h"

#include "foundation/TextFormat.h"

namespace kavina::support {

FeedbackInput initialFeedback(const CompanyHeader& header) {
    return {.name = header.USER1 + " " + header.USER2, .email = header.EMAIL, .phone = header.TELEFON, .message = {}};
}

mail::MailMessage feedbackMail(const SupportSettings& settings, const CompanyHeader& header, const FeedbackInput& input,
                               const QDateTime& now) {
    mail::MailMessage m;
    m.fromName = QStringLiteral("Kavina");
    m.fromAddress = settings.mailbox;
    m.to = settings.mailbox;
    m.subject = QStringLiteral("Kavina üzenetküldés");
    m.bodyLines = {QStringLiteral("Kavina üzenetküldés"),
                   QString(20, QLatin1Char('=')),
                   "Felhasználó:" + header.USER1 + " " + header.USER2,
                   "Cím:" + header.CIM,
                   "Telefon:" + header.TELEFON,
                   "E-mail:" + header.EMAIL,
                   QString(),
                   "Megadott felhasználó:" + input.name,
                   "Megadott telefon:" + input.phone,
                   "Megadott e-mail:" + input.email,
                   QString(),
                   "Dátum, idő:" + dateText(now.date()) + ", " + timeText(now.time()),
                   QString(),
                   QStringLiteral("Üzenet:"),
                   input.message};
    return m;
}

void sendFeedback(const SupportSettings& settings, const mail::MailMessage& message, const MailSender& send) {
    send(settings.smtp, message);
}

}  // namespace kavina::support
