#pragma once
// The main window's commands that open the delivery-note editor: a new delivery note, goods
// receipt, return, supplier order or cash payout, and a delivery note re-issued from a
// cancelled one chosen in the register.

#include "invoicing/editor/forms/InvoiceCommands.h"

namespace kavina::invoicing {

// Adds "mUjSzallitoClick", "bBevetelClick", "bVisszaruClick", "bMegrendelesClick",
// "bKifizetesClick" and "mSzallitoStornobolClick".
void addDeliveryCommands(const AddCommand& add, const InvoiceCommandContext& context);

}  // namespace kavina::invoicing
