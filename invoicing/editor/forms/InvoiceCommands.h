#pragma once
// The main window's commands that open the invoice editor on a new document: "Új számla",
// "Proforma számla", the cash-register sale and "Selejt". The commands that start from a
// stored document choose it in the document register and come with it.

#include <QDate>
#include <QString>
#include <functional>

#include "foundation/Desktop.h"
#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "invoicing/document/MemoryDocument.h"

class QWidget;

namespace kavina::report {
class PrintService;
}

namespace kavina::invoicing {

struct InvoiceCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    MemoryDocument& document;  // the main window's, shared by every document editor
    std::function<QWidget*()> parent;
    std::function<QString()> currentUser;
    std::function<QString()> currentRights;
    std::function<const IniSettings&()> settings;
    std::function<QDateTime()> now;
    Desktop& desktop;
    std::function<report::PrintService*()> printing;
};

using AddCommand = std::function<void(const QString& handler, std::function<void()> command)>;

// Adds "SzamlaNew", "bProformaClick", "bEladasClick" and "bSelejtClick".
void addInvoiceCommands(const AddCommand& add, const InvoiceCommandContext& context);

}  // namespace kavina::invoicing
