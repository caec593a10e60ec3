#pragma once
// The status bar's line about online invoice reporting: how many invoices wait, and the
// warnings the law's deadlines call for. An invoice must reach the authority within 24 hours
// of the connection returning, and an outage of over 48 hours must be reported to it.

#include <QDateTime>
#include <QString>
#include <vector>

#include "support/nav/InvoiceQueue.h"

namespace kavina::nav {

enum class StatusLevel { Normal, Warning, Alarm };

struct NavStatusLine {
    QString text;
    StatusLevel level = StatusLevel::Normal;
};

// The line for the queue as it stands. problem: why the last round stopped short (empty when
// it did not).
NavStatusLine navStatus(const std::vector<QueuedInvoice>& entries, bool setUp, const QDateTime& now,
                        const QString& problem = {});

}  // namespace kavina::nav
