#pragma once
// The main window's product commands: the product register ("Termékek", handler Anyagok),
// the units ("Mértékegységek", mMertekegysegekClick), the VAT groups ("ÁFA csoportok",
// mAfaCsoportClick), the warehouses ("Raktárak", mRaktarClick), the stock report ("Készlet" and
// "Leltárfelvételi ív", bKeszletClick), the barcode book ("Vonalkód-könyv", mVonalkodClick),
// the categories ("Termék kategóriák", mAnyagKategoriaClick), the low-stock list ("&Elfogyóban
// levő anyagok", FogyoAnyaglista) and the price list ("&Árlista nyomtatása", Arlistak).
// The program registers them under the main window's handler names.

#include <QDateTime>
#include <QString>
#include <functional>

#include "foundation/Desktop.h"
#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"

class QWidget;

namespace kavina::report {
class PrintService;
}

namespace kavina::products {

struct ProductCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    std::function<QWidget*()> parent;        // the main window
    std::function<QString()> currentUser;    // for the stock log
    std::function<QString()> currentRights;  // the letters U, V and W gate the register
    std::function<const IniSettings&()> settings;
    Desktop& desktop;  // opens product pictures
    std::function<QDateTime()> now;
    // The configured printer, made when needed: the lists' previews print through it.
    std::function<report::PrintService*()> printing;
};

using AddCommand = std::function<void(const QString& handler, std::function<void()> command)>;

// Adds every command named above.
void addProductCommands(const AddCommand& add, const ProductCommandContext& context);

}  // namespace kavina::products
