#pragma once
// "Hibajelentés" of the error window: the report and its screenshot mailed to the support
// mailbox with the company's details. A failure is told with the Prompt and leaves the report
// on disk, so the clerk may try again.

#include <QDateTime>
#include <QString>
#include <functional>

#include "mail/MailMessage.h"
#include "support/errorreport/CompanyHeader.h"
#include "support/errorreport/SupportSettings.h"

namespace kavina {
class Prompt;
}

namespace kavina::support {

using MailSender = std::function<void(const mail::SmtpAccount&, const mail::MailMessage&)>;

// The mail of a report; an empty path is not attached.
mail::MailMessage errorReportMail(const SupportSettings& settings, const CompanyHeader& header, const QDateTime& now,
                                  const QString& reportPath, const QString& screenshotPath);

// Sends it; true when sent. A failure is told with the prompt ("Nincs elérhető internet
// kapcsolat, ezért a hibajelentés küldése sikertelen!" when the server cannot be reached,
// "A hibajelentés küldése sikertelen!" when it refused), and nothing is thrown.
bool mailErrorReport(const SupportSettings& settings, const mail::MailMessage& message, Prompt& prompt,
                     const MailSender& send);

}  // namespace kavina::support
