#pragma once
// The main window's partner commands: the register ("Partnerek"), the partner groups and the
// settlements. The program registers them under the main window's handler names.

#include <QString>
#include <functional>
#include <memory>

#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "invoicing/register/DocumentWindows.h"

class QWidget;

namespace kavina::report {
class PrintService;
}

namespace kavina::documents {

struct PartnerCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    std::function<QWidget*()> parent;                 // the main window
    std::function<QString()> currentUser;             // for the printed list
    std::function<bool()> showPriceGroups;            // the "tobbar" setting
    std::function<report::PrintService*()> printing;  // the configured printer, made when needed
    QString webAddress;
    // The document register's windows over a parent, for "Számlák" and "Tartozások".
    std::function<std::unique_ptr<invoicing::DocumentWindows>(QWidget* parent)> documentWindows;
};

using AddCommand = std::function<void(const QString& handler, std::function<void()> command)>;

// Adds "Partnerek", "mPartnerKategoriaClick" and "TBItem5Click".
void addPartnerCommands(const AddCommand& add, const PartnerCommandContext& context);

}  // namespace kavina::documents
