#pragma once
// The main window's commands of the product and partner statistics, the invoice search by
// text and the product list in a spreadsheet. The program registers them under the main
// window's handler names.

#include <QDateTime>
#include <QString>
#include <functional>

#include "foundation/Desktop.h"
#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "reports/turnover/forms/StatisticsCommands.h"

namespace kavina::reports {

struct ProductPartnerCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    Desktop& desktop;
    std::function<QWidget*()> parent;                 // the main window
    std::function<QDateTime()> now;                   // today for the date boxes, the time printed
    std::function<QString()> currentUser;             // the printed "Kiállította: "
    std::function<report::PrintService*()> printing;  // the configured printer, made when needed
    std::function<const IniSettings&()> settings;     // the list order (tsorrend), the price groups
};

// Adds "TBItem35Click" ("Termék statisztika"), "mReszletesTermekClick" ("Részletes
// terméklista"), "TBItem36Click" ("Partner statisztika"), "mStatSzamlaSzovegClick" ("Számlák
// adott szövegrész szerint") and "TBItem49Click" ("Részletes terméklista excelbe").
void addProductPartnerCommands(const AddCommand& add, const ProductPartnerCommandContext& context);

}  // namespace kavina::reports
