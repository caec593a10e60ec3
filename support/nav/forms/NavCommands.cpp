#include "support/nav/forms/NavCommands.h"

#include "foundation/CommandBoundary.h"
#include "support/nav/NavSetup.h"
#include "support/nav/forms/NavSetupDialog.h"

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
