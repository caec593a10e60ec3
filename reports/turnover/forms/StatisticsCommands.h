#pragma once
// The main window's statistics commands: the turnover and profit windows and the financial
// statistics. The program registers them under the main window's handler names.

#include <QDate>
#include <QString>
#include <functional>

#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

class QWidget;

namespace kavina::report {
class PrintService;
}

namespace kavina::reports {

struct StatisticsCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    std::function<QWidget*()> parent;                 // the main window
    std::function<QDate()> today;                     // the dates the windows start at
    std::function<QString()> currentUser;             // the printed "Kiállította: "
    std::function<report::PrintService*()> printing;  // the configured printer, made when needed
};

using AddCommand = std::function<void(const QString& handler, std::function<void()> command)>;

// Adds "TBItem21Click" (also the toolbar's "Napi forgalom"), "TBItem34Click", "TBItem31Click",
// "TBItem32Click", "TBItem38Click" and "TBItem6Click".
void addStatisticsCommands(const AddCommand& add, const StatisticsCommandContext& context);

}  // namespace kavina::reports
