#pragma once
// The main window's warranty commands: "Új garancialevél" (GaranciaNew), "Módosítás"
// (mModGaranciaClick) and "&Garancia levelek" (GaranciakMenu), with the windows they open.
// The invoice register and the product picker belong to other subsystems: the program hands
// them in.

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "documents/warranty/WarrantyEditor.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "report/view/ReportPrinter.h"

class QWidget;

namespace kavina::documents {

struct WarrantyCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    std::function<QWidget*()> parent;  // the main window
    std::function<QString()> currentUser;
    std::function<QDate()> today;
    std::function<bool()> showPriceGroups;
    std::function<report::PrintService*()> printing;
    std::function<report::PrinterChoice()> printer;
    QString webAddress;
    // This year's invoices in the register, in selection mode: the number chosen.
    std::function<std::optional<QString>(QWidget* parent)> pickInvoice;
    // The product picker in the warranty editor's mode over the certificate's lines.
    std::function<bool(QWidget* parent, WarrantyDocument& certificate)> pickLines;
};

using AddWarrantyCommand = std::function<void(const QString& handler, std::function<void()> command)>;

void addWarrantyCommands(const AddWarrantyCommand& add, const WarrantyCommandContext& context);

// The editor on a new certificate, or on the stored one of that number.
void runWarrantyEditor(const WarrantyCommandContext& context, QWidget* parent, const QString& number = {});

// Prints the stored certificate copies times on the workstation's printer. Throws
// report::PrintError.
void printWarranty(const WarrantyCommandContext& context, const QString& number, int copies);

}  // namespace kavina::documents
