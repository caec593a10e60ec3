#pragma once
// The main window's commands of online invoice reporting and the partner dialog's look-up.

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "foundation/Prompt.h"
#include "support/nav/InvoiceQueue.h"
#include "support/nav/OnlineInvoiceReview.h"
#include "support/nav/TaxpayerLookup.h"

namespace kavina::nav {

struct NavCommandContext {
    Prompt& prompt;
    std::function<QWidget*()> parent;
    std::function<QString()> dataFolder;
    std::function<QString()> currentRole;
    // The queue of the window's thread, the invoice data built again for "Újraküldés", and the
    // sender to wake after it; without a queue and a rebuild the reconciliation window is not
    // offered.
    std::function<InvoiceQueue*()> queue = {};
    RebuildInvoiceData rebuildInvoiceData = {};
    std::function<void()> wakeSender = {};
};

// "mNavBeallitasClick": the settings dialog, for administrators; "mOnlineSzamlaClick": the
// reconciliation window, when the context has a queue.
void addNavCommands(const std::function<void(const QString& handler, std::function<void()> command)>& add,
                    const NavCommandContext& context);

// The taxpayer look-up with the data folder's settings, for the partner dialog's button.
std::optional<PartnerNameAndAddress> lookUpTaxpayer(const NavCommandContext& context, const QString& taxNumber,
                                                    const PartnerNameAndAddress& current);

}  // namespace kavina::nav
