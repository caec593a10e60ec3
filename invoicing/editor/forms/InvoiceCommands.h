#pragma once
// The main window's commands that open the invoice editor: on a new document ("Új számla",
// "Proforma számla", the cash-register sale, "Selejt"), and on a document chosen first in the
// document register ("Helyesbítő számla" and the invoice templates).

#include <QDate>
#include <QString>
#include <functional>
#include <memory>

#include "foundation/Desktop.h"
#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "invoicing/document/MemoryDocument.h"
#include "invoicing/editor/forms/QtEditorWindows.h"
#include "invoicing/register/DocumentWindows.h"

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
    EditorSaveSetup save;  // the ini and settings the save updates, the service menu, the printer
    // The document register's windows over a parent, for choosing the source document.
    std::function<std::unique_ptr<DocumentWindows>(QWidget*)> documentWindows;
};

using AddCommand = std::function<void(const QString& handler, std::function<void()> command)>;

// Adds "SzamlaNew", "bProformaClick", "bEladasClick", "bSelejtClick", "mJovairClick",
// "Szamlaajanlat", "Szamlaszallito", "mSzamlaStornobolClick" and "mSzamlaKorabbibolClick".
void addInvoiceCommands(const AddCommand& add, const InvoiceCommandContext& context);

}  // namespace kavina::invoicing
