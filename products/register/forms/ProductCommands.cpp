#include "products/register/forms/ProductCommands.h"

#include <QApplication>
#include <QWidget>
#include <memory>

#include "products/register/forms/TAnyagForm.h"
#include "products/units/forms/UnitsWindow.h"
#include "products/vat/forms/VatGroupsWindow.h"

namespace kavina::products {

namespace {

// The delivery-note editor making a goods receipt: the register's receiving then changes only
// prices, as the receipt itself moves the stock.
bool goodsReceiptOpen() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName().compare(QLatin1String("Tszlevelform"), Qt::CaseInsensitive) == 0 &&
            w->windowTitle() == QLatin1String("Bevételezés"))
            return true;
    return false;
}

}  // namespace

void addProductCommands(const AddCommand& add, const ProductCommandContext& c) {
    // The warehouse box's choice is kept from one opening of the register to the next.
    auto warehouse = std::make_shared<int>(0);
    add(QStringLiteral("Anyagok"), [c, warehouse] {
        AnyagFormOptions options;
        options.window = {.settings = &c.settings(),
                          .rights = c.currentRights(),
                          .currentUser = c.currentUser(),
                          .now = c.now,
                          .rememberedWarehouse = warehouse.get(),
                          .goodsReceiptInProgress = goodsReceiptOpen};
        options.desktop = &c.desktop;
        TAnyagForm form(c.parent(), c.data, c.prompt, options);
        form.exec();
    });
    add(QStringLiteral("mMertekegysegekClick"), [c] {
        UnitsWindow window(c.parent(), c.data, c.prompt);
        window.exec();
    });
    add(QStringLiteral("mAfaCsoportClick"), [c] {
        VatGroupsWindow window(c.parent(), c.data, c.prompt);
        window.exec();
    });
}

}  // namespace kavina::products
