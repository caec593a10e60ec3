#include "support/errorreport/ErrorMail.h"

#include "foundation/Prompt.h"
#include "foundation/TextFormat.h"

namespace kavina::support {

mail::MailMessage errorReportMail(const SupportSettings& settings, const CompanyHeader& header, const QDateTime& now,
                                  const QString& reportPath, const QString& screenshotPath) {
    mail::MailMessage m;
    m.fromName = QStringLiteral("Kavina");
    m.fromAddress = settings.mailbox;
    m.to = settings.mailbox;
    m.subject = QStringLiteral("Kavina hibajelentés");
    m.bodyLines = {QStringLiteral("Kavina hibajelentés!"),
                   QStringLiteral("====================="),
                   "Felhasználó:" + header.USER1 + " " + header.USER2,
                   "Cím:" + header.CIM,
                   "Telefon:" + header.TELEFON,
                   "E-mail:" + header.EMAIL,
                   QString(),
                   "Dátum, idő:" + dateText(now.date()) + ", " + timeText(now.time())};
    if (!reportPath.isEmpty()) m.attachments << reportPath;
    if (!screenshotPath.isEmpty()) m.attachments << screenshotPath;
    return m;
}

bool mailErrorReport(const SupportSettings& settings, const mail::MailMessage& message, Prompt& prompt,
                     const MailSender& send) {
    try {
        send(settings.smtp, message);
        return true;
    } catch (const mail::MailError& e) {
        if (e.kind() == mail::MailError::Kind::NoConnection)
            prompt.warning(
                QStringLiteral("Figyelem!"),
                QStringLiteral("Nincs elérhető internet kapcsolat, ezért a hibajelentés küldése sikertelen!"));
        else
            prompt.warning(QStringLiteral("Figyelem!"), QStringLiteral("A hibajelentés küldése sikertelen!"));
    } catch (const std::exception&) {
        prompt.warning(QStringLiteral("Figyelem!"), QStringLiteral("A hibajelentés küldése sikertelen!"));
    }
    return false;
}

}  // namespace kavina::support
