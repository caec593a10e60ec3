#include "reports/turnover/forms/StatisticsCommands.h"

#include "foundation/CommandBoundary.h"
#include "reports/finance/forms/FinancialStatisticsWindow.h"
#include "reports/turnover/forms/TurnoverWindows.h"

namespace kavina::reports {

void addStatisticsCommands(const AddCommand& add, const StatisticsCommandContext& context) {
    const auto turnover = [context](TurnoverStatistic statistic) {
        return [context, statistic] {
            runCommand(context.prompt, [&] {
                TurnoverWindow window(statistic, context.prompt,
                                      {.dataFolder = context.data.dataFolder(),
                                       .today = context.today(),
                                       .printing = context.printing(),
                                       .show = {}},
                                      context.parent());
                window.exec();
            });
        };
    };
    add(QStringLiteral("TBItem21Click"), turnover(TurnoverStatistic::DailyTurnover));
    add(QStringLiteral("TBItem34Click"), turnover(TurnoverStatistic::DailyArticles));
    add(QStringLiteral("TBItem31Click"), turnover(TurnoverStatistic::DailyProfit));
    add(QStringLiteral("TBItem32Click"), turnover(TurnoverStatistic::ProfitPerDay));
    add(QStringLiteral("TBItem38Click"), turnover(TurnoverStatistic::ProfitPerProduct));
    add(QStringLiteral("TBItem6Click"), [context] {
        runCommand(context.prompt, [&] {
            FinancialStatisticsWindow window(context.prompt,
                                             {.dataFolder = context.data.dataFolder(),
                                              .today = context.today(),
                                              .currentUser = context.currentUser(),
                                              .printing = context.printing(),
                                              .show = {}},
                                             context.parent());
            window.exec();
        });
    });
}

}  // namespace kavina::reports
