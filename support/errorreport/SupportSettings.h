#pragma once
// Where the program reaches its maker: the mail account that error reports and feedback are
// sent through, and the update server. They are deployment settings of the ini section
// adatok, never values of the program:
//
//   smtpserver    host name of the mail server; empty: no mail can be sent
//   smtpport      its port (26)
//   smtppassword  the password of the support mailbox's account
//   supportmail   the support mailbox: recipient, sender and the account's user name
//   updateserver  the update server, "https://host" ("http://" only when written so; a bare
//                 host name means HTTPS); empty: no update check
//   cafile        certificates the mail and update servers' may be signed with, besides the
//                 system's
//   nettimeout    seconds a server may stay silent before the attempt is given up (30)

#include <QString>

#include "foundation/IniFile.h"
#include "mail/SmtpSender.h"

namespace kavina::support {

struct SupportSettings {
    mail::SmtpAccount smtp;  // user is the support mailbox
    QString mailbox;
    QString updateServer;  // with its scheme, without a trailing "/"
    QString caFile;
    int timeoutSeconds = 30;
};

SupportSettings loadSupportSettings(const IniFile& ini);

}  // namespace kavina::support
