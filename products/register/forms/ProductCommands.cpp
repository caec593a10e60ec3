#include "products/register/forms/ProductCommands.h"

#include <QApplication>
#include <QWidget>
#include <memory>

#include "products/barcodes/forms/BarcodeBookWindow.h"
#include "products/lists/forms/CategoriesWindow.h"
#include "products/lists/forms/ListWindows.h"
#include "products/register/forms/TAnyagForm.h"
#include "products/units/forms/UnitsWindow.h"
#include "products/vat/forms/VatGroupsWindow.h"
#include "products/warehouses/StockReports.h"
#include "products/warehouses/forms/WarehousesWindow.h"
#include "report/view/PreviewWindow.h"

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
    const auto registerOptions = [c, warehouse] {
        AnyagFormOptions options;
        options.window = {.settings = &c.settings(),
                          .rights = c.currentRights(),
                          .currentUser = c.currentUser(),
                          .now = c.now,
                          .rememberedWarehouse = warehouse.get(),
                          .goodsReceiptInProgress = goodsReceiptOpen};
        options.desktop = &c.desktop;
        options.printing = c.printing ? c.printing() : nullptr;
        return options;
    };
    add(QStringLiteral("Anyagok"), [c, registerOptions] {
        TAnyagForm form(c.parent(), c.data, c.prompt, registerOptions());
        form.exec();
    });
    add(QStringLiteral("mRaktarClick"), [c] {
        WarehousesWindow window(c.parent(), c.data, c.prompt);
        window.exec();
    });
    add(QStringLiteral("mAnyagKategoriaClick"), [c] {
        CategoriesWindow window(c.parent(), c.data, c.prompt);
        window.exec();
    });
    add(QStringLiteral("mVonalkodClick"), [c, registerOptions] {
        BarcodeBookWindow window(c.parent(), c.data, c.prompt,
                                 {.picker = registerOptions(), .printing = c.printing ? c.printing() : nullptr});
        window.exec();
    });
    add(QStringLiteral("bKeszletClick"), [c] {
        report::PrintService* printing = c.printing ? c.printing() : nullptr;
        if (!printing) return;
        const report::PreparedReport pages = prepareStockReport(c.data, c.settings().tsorrend, c.now());
        report::PreviewWindow preview(pages, c.prompt, *printing, {.pdfFileName = QStringLiteral("keszlet.pdf")},
                                      c.parent());
        preview.exec();
    });
    add(QStringLiteral("FogyoAnyaglista"), [c] {
        report::PrintService* printing = c.printing ? c.printing() : nullptr;
        if (!printing) return;
        const report::PreparedReport pages = prepareLowStockList(c.data, listFooter(c.data, c.currentUser()));
        report::PreviewWindow preview(pages, c.prompt, *printing, {.pdfFileName = QStringLiteral("elfogyo.pdf")},
                                      c.parent());
        preview.exec();
    });
    add(QStringLiteral("Arlistak"), [c] {
        PriceListDialog dialog(c.parent(), c.data, c.prompt, c.printing ? c.printing() : nullptr, c.currentUser());
        dialog.exec();
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
