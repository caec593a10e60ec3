#include "reports/products/forms/ProductPartnerCommands.h"

#include <QDialog>
#include <QDir>

#include "documents/partners/PartnerWindow.h"
#include "documents/partners/forms/TPartnerForm.h"
#include "foundation/CommandBoundary.h"
#include "reports/export/forms/ProductWorkbookWindow.h"
#include "reports/partners/forms/PartnerStatisticsWindow.h"
#include "reports/products/ProductReports.h"
#include "reports/products/forms/ProductStatisticsWindow.h"
#include "reports/search/forms/TextSearchWindow.h"

namespace kavina::reports {

namespace {

StatisticsWindowOptions windowOptions(const ProductPartnerCommandContext& context) {
    return {.dataFolder = context.data.dataFolder(),
            .today = context.now().date(),
            .currentUser = context.currentUser(),
            .printing = context.printing(),
            .show = {}};
}

// The partner register as the picker of the partner statistics. It prints on the statistics'
// printer: asking the context for one makes a new printer, which would leave the window's
// preview on a printer that is gone.
PickPartner partnerPicker(const ProductPartnerCommandContext& context, QWidget* parent,
                          report::PrintService* printing) {
    return [context, parent, printing](PartnerPage page) -> std::optional<ChosenPartner> {
        documents::PartnerFormOptions options;
        options.caller = documents::PartnerCaller::PartnerStatistics;
        options.statisticsPage = int(page);
        options.showPriceGroups = context.settings().tobbar != 0;
        options.printing = printing;
        options.currentUser = context.currentUser();
        documents::TPartnerForm picker(parent, context.data, context.prompt, options);
        if (picker.exec() != QDialog::Accepted) return std::nullopt;
        return chosenPartner(context.data.PartnerTable());
    };
}

}  // namespace

void addProductPartnerCommands(const AddCommand& add, const ProductPartnerCommandContext& context) {
    add(QStringLiteral("TBItem35Click"), [context] {
        runCommand(context.prompt, [&] {
            ProductStatisticsWindow window(context.prompt, windowOptions(context), context.parent());
            window.exec();
        });
    });
    add(QStringLiteral("mReszletesTermekClick"), [context] {
        runCommand(context.prompt, [&] {
            MemTable rows(std::string(productlist::kTable));
            const ProductOrder order =
                context.settings().tsorrend == 0 ? ProductOrder::ByName : ProductOrder::ByArticle;
            const ProductListTotals totals = collectProductList(context.data.dataFolder(), order, rows);
            previewStatistics(productListReport(rows, totals, context.now())->prepare(), context.prompt,
                              context.printing(), context.parent());
        });
    });
    add(QStringLiteral("TBItem36Click"), [context] {
        runCommand(context.prompt, [&] {
            StatisticsWindowOptions options = windowOptions(context);
            report::PrintService* printing = options.printing;
            PartnerStatisticsWindow window(context.prompt, std::move(options), {}, context.parent());
            // The picker opens over the statistics window.
            window.setPartnerPicker(partnerPicker(context, &window, printing));
            window.exec();
        });
    });
    add(QStringLiteral("mStatSzamlaSzovegClick"), [context] {
        runCommand(context.prompt, [&] {
            TextSearchWindow window(context.prompt, windowOptions(context), {}, context.parent());
            window.exec();
        });
    });
    add(QStringLiteral("TBItem49Click"), [context] {
        runCommand(context.prompt, [&] {
            exportProductList(context.data.dataFolder(), QDir::homePath(), context.now(), context.prompt,
                              context.desktop, context.parent());
        });
    });
}

}  // namespace kavina::reports
