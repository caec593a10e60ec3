#pragma once
// The storno, spoil and payment dialogs as the register and the main window open them: over
// the register's current document ("Stornó", "Rontott", "Befizetve"), or empty, with the
// register in selection mode behind a double click on the number box. Cancelled copies print
// through the register's layout of a stored document with the storno or spoiled mark.

#include <QString>

#include "invoicing/register/forms/RegisterCommands.h"

namespace kavina::invoicing {

// What the dialogs need of the run.
struct CancelAndPayContext {
    TDataModule1& data;
    Prompt& prompt;
    RegisterOptions options;  // today, the user and the print settings, the marks
};

// "Stornó" (spoil false) or "Rontott" over the documents handle's current document. A
// document the spoil dialog cannot take is refused at once. True when it was cancelled.
bool cancelCurrentDocument(QWidget* parent, const CancelAndPayContext& context, DocumentWindows& windows, bool spoil);
// "Befizetve" over the documents handle's current document. True when a payment was stored.
bool payCurrentDocument(QWidget* parent, const CancelAndPayContext& context, DocumentWindows& windows);

// Adds "mStornoClick", "mSzallitoStornoClick", "pgStornoClick", "mRontottClick" and
// "mBefizetesClick".
void addCancelAndPayCommands(const AddCommand& add, const RegisterCommandContext& context);

}  // namespace kavina::invoicing
