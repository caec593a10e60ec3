#include "documents/partners/forms/PartnerCommands.h"

#include <QApplication>
#include <QWidget>

#include "documents/partners/forms/LookupWindows.h"
#include "documents/partners/forms/TPartnerForm.h"

namespace kavina::documents {

namespace {

// The open windows' names tell which editor, if any, opened the register as a picker.
QStringList openWindowNames() {
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) names << w->objectName();
    return names;
}

}  // namespace

void addPartnerCommands(const AddCommand& add, const PartnerCommandContext& c) {
    add(QStringLiteral("Partnerek"), [c] {
        PartnerFormOptions options;
        options.caller = callerFromOpenWindows(openWindowNames());
        options.showPriceGroups = c.showPriceGroups();
        options.printing = c.printing();
        options.currentUser = c.currentUser();
        options.webAddress = c.webAddress;
        const std::unique_ptr<invoicing::DocumentWindows> documents =
            c.documentWindows ? c.documentWindows(c.parent()) : nullptr;
        options.documents = documents.get();
        TPartnerForm form(c.parent(), c.data, c.prompt, options);
        form.exec();
    });
    add(QStringLiteral("mPartnerKategoriaClick"), [c] {
        Tpcsopform groups(c.parent(), c.data, c.prompt);
        groups.exec();
    });
    add(QStringLiteral("TBItem5Click"), [c] {
        Ttelepulesform towns(c.parent(), c.data, c.prompt);
        towns.exec();
    });
}

}  // namespace kavina::documents
