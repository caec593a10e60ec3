#include "support/nav/forms/NavCommands.h"

#include "foundation/CommandBoundary.h"
#include "foundation/RuleError.h"
#include "support/nav/NavSetup.h"
#include "support/nav/forms/NavSetupDialog.h"
#include "support/nav/forms/OnlineInvoiceWindow.h"

namespace kavina::nav {

void addNavCommands(const std::function<void(const QString& handler, std::function<void()> command)>& add,
                    const NavCommandContext& context) {
    add(QStringLiteral("mNavBeallitasClick"), [context] {
        runCommand(context.prompt, [&] {
            NavSetup logic(context.dataFolder(), context.currentRole(), context.prompt);
            if (!logic.mayOpen()) return;
            NavSetupDialog dialog(context.parent(), logic);
            dialog.exec();
        });
    });
    if (!context.queue || !context.rebuildInvoiceData) return;
    add(QStringLiteral("mOnlineSzamlaClick"), [context] {
        runCommand(context.prompt, [&] {
            InvoiceQueue* queue = context.queue();
            if (!queue)
                throw RuleError(QStringLiteral("Az adatmappában nincs online számla sor: frissítse az adatbázist."));
            OnlineInvoiceReview review(*queue, context.prompt, context.rebuildInvoiceData);
            OnlineInvoiceWindow window(context.parent(), review, context.prompt, QDate::currentDate());
            if (context.wakeSender) QObject::connect(&window, &OnlineInvoiceWindow::resendQueued, context.wakeSender);
            window.exec();
        });
    });
}

std::optional<PartnerNameAndAddress> lookUpTaxpayer(const NavCommandContext& context, const QString& taxNumber,
                                                    const PartnerNameAndAddress& current) {
    std::optional<PartnerNameAndAddress> found;
    runCommand(context.prompt, [&] {
        TaxpayerLookup lookup(loadNavSettings(context.dataFolder()), context.prompt, 20);
        found = lookup.lookup(taxNumber, current);
    });
    return found;
}

}  // namespace kavina::nav
