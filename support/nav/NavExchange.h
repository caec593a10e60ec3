#pragma once
// One request to the authority and its answer, with the settings' address and certificates.

#include <QByteArray>
#include <QString>

#include "mail/HttpPost.h"
#include "support/nav/NavRequests.h"
#include "support/nav/NavSettings.h"

namespace kavina::nav {

struct ExchangeResult {
    mail::PostResult::Outcome outcome = mail::PostResult::Outcome::NotSent;
    QByteArray answer;
    QString error;  // why no answer came, for the clerk
};

ExchangeResult exchange(const NavSettings& settings, const BuiltRequest& request, int connectTimeoutSeconds,
                        int answerTimeoutSeconds);

}  // namespace kavina::nav
