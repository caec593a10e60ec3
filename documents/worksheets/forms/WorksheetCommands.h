#pragma once
// The main window's worksheet commands: "Új munkalap" (MunkalapNew), "Módosítás"
// (mModMunkalapClick) and "&Munkalapok" (MunkalapokMenu), with the windows they open.

#include <QDate>
#include <QString>
#include <functional>

#include "documents/worksheets/WorksheetEditor.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "report/view/ReportPrinter.h"

class QWidget;

namespace kavina::documents {

struct WorksheetCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    std::function<QWidget*()> parent;  // the main window
    std::function<QString()> currentUser;
    std::function<QDate()> today;
    std::function<bool()> showPriceGroups;            // the "tobbar" setting, for the partner window
    std::function<report::PrintService*()> printing;  // the preview's printers, made when needed
    std::function<report::PrinterChoice()> printer;   // the workstation's printer for the copies
    QString webAddress;
};

using AddWorksheetCommand = std::function<void(const QString& handler, std::function<void()> command)>;

void addWorksheetCommands(const AddWorksheetCommand& add, const WorksheetCommandContext& context);

// Prints the worksheet copies times on the workstation's printer, telling the clerk the files
// the built-in PDF printer wrote. Throws report::PrintError.
void printWorksheets(const WorksheetCommandContext& context, const WorksheetValues& worksheet, int copies);

// The editor on a new worksheet, or (current) on the one the worksheet handle stands on.
void runWorksheetEditor(const WorksheetCommandContext& context, QWidget* parent, bool current);

}  // namespace kavina::documents
